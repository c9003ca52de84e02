// Literal texts into the model's WideText and back, for test tables.
#ifndef TESSARY_TESTS_TEXT_HELPERS_H
#define TESSARY_TESTS_TEXT_HELPERS_H

#include <string>

#include "model/text.h"

inline WideText W(const char16_t *s) {
    WideText out;
    for (size_t i = 0; s[i]; ++i) out.push_back(TextUnit(s[i]));
    return out;
}

inline std::u16string U(const WideText &t) {
    return std::u16string(t.data(), t.data() + t.length());
}

#endif
