// The colour text that Tessary_ColorPicker and Tessary_CreateColor share:
// nine decimal digits, three for each of red, green and blue ("255128000" is
// orange).
#ifndef TESSARY_FUNCTIONS_COLOR_TEXT_H
#define TESSARY_FUNCTIONS_COLOR_TEXT_H

#include <cstdint>
#include <string>

struct Rgb {
    uint8_t red, green, blue;
};

// Each group of three is read the way atoi reads it and keeps its low 8
// bits, so "999" is 231. Any other length than nine is black.
Rgb parseColorText(const std::string &text);

// The colour as nine digits, each component zero-padded to three.
std::string colorText(Rgb color);

#endif
