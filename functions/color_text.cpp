#include "functions/color_text.h"

#include <cstdio>

#include "model/options.h"

namespace {
constexpr size_t kColorTextLength = 9; // "RRRGGGBBB"
constexpr size_t kComponentDigits = 3;
} // namespace

Rgb parseColorText(const std::string &text) {
    if (text.size() != kColorTextLength) return Rgb{0, 0, 0};
    uint8_t component[3];
    for (size_t i = 0; i < 3; ++i) {
        std::string group = text.substr(i * kComponentDigits, kComponentDigits);
        component[i] = static_cast<uint8_t>(decimalValue(group.c_str()) & 0xFF);
    }
    return Rgb{component[0], component[1], component[2]};
}

std::string colorText(Rgb color) {
    char text[kColorTextLength + 1];
    std::snprintf(text, sizeof text, "%03u%03u%03u", unsigned(color.red), unsigned(color.green), unsigned(color.blue));
    return text;
}
