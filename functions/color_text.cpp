#include "functions/color_text.h"

#include <cstdio>

#include "model/numbers.h"
#include "model/options.h"

namespace {
constexpr size_t kColorTextLength = 9; // "RRRGGGBBB"
constexpr size_t kComponentDigits = 3;
} // namespace

Rgb parseColorText(const std::string &text) {
    if (text.size() != kColorTextLength) return Rgb{0, 0, 0};
    uint8_t component[3];
    for (size_t i = 0; i < 3; ++i) {
        // Read where it stands; a NUL inside ends the number as it would a
        // copy's C string.
        component[i] = static_cast<uint8_t>(leadingInteger(text.data() + i * kComponentDigits, kComponentDigits) & 0xFF);
    }
    return Rgb{component[0], component[1], component[2]};
}

std::string colorText(Rgb color) {
    char text[kColorTextLength + 1];
    std::snprintf(text, sizeof text, "%03u%03u%03u", unsigned(color.red), unsigned(color.green), unsigned(color.blue));
    return text;
}
