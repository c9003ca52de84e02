// Reading numbers out of texts: one reader per contract, for 8-bit and
// 16-bit texts alike. Each states where it stops and what a number too
// large for it becomes; none ever overflows, whatever the text. Only the
// ASCII digits, signs and blanks count: a 16-bit unit outside ASCII is no
// digit and no blank, whatever its low byte.
#ifndef TESSARY_MODEL_NUMBERS_H
#define TESSARY_MODEL_NUMBERS_H

#include <cstddef>
#include <cstdint>

namespace numbers {

template <typename Ch>
bool isDigit(Ch unit) {
    return unit >= Ch('0') && unit <= Ch('9');
}

// The C library's white space.
template <typename Ch>
bool isBlank(Ch unit) {
    return unit == Ch(' ') || (unit >= Ch('\t') && unit <= Ch('\r'));
}

} // namespace numbers

// C's atoi, bounded: blanks, an optional sign, then digits, up to the first
// unit that is none of these or the end of `length` units. The magnitude
// stops growing at `cap` (the sign applies after), so a long run of digits
// reads as +-cap.
template <typename Ch>
int64_t cappedInteger(const Ch *text, size_t length, int64_t cap) {
    size_t i = 0;
    while (i < length && numbers::isBlank(text[i])) ++i;
    bool negative = false;
    if (i < length && (text[i] == Ch('+') || text[i] == Ch('-'))) {
        negative = text[i] == Ch('-');
        ++i;
    }
    int64_t value = 0;
    for (; i < length && numbers::isDigit(text[i]); ++i) {
        value = value * 10 + int64_t(text[i] - Ch('0'));
        if (value > cap) value = cap;
    }
    return negative ? -value : value;
}

// The same reading into 32 bits: past the range it saturates at
// INT32_MIN or INT32_MAX.
template <typename Ch>
int32_t leadingInteger(const Ch *text, size_t length) {
    const int64_t value = cappedInteger(text, length, int64_t(INT32_MAX) + 1);
    if (value > INT32_MAX) return INT32_MAX;
    return int32_t(value);
}

// Digits from the very first unit, no blank and no sign, up to the first
// unit that is no digit; the value stops growing at `cap`.
template <typename Ch>
int64_t leadingDigits(const Ch *text, size_t length, int64_t cap) {
    int64_t value = 0;
    for (size_t i = 0; i < length && numbers::isDigit(text[i]); ++i) {
        value = value * 10 + int64_t(text[i] - Ch('0'));
        if (value > cap) return cap;
    }
    return value;
}

// A text of digits only: its value, or -1 when any unit is no digit or the
// value passes `cap`. The empty text reads 0.
template <typename Ch>
int64_t onlyDigits(const Ch *text, size_t length, int64_t cap) {
    int64_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        if (!numbers::isDigit(text[i])) return -1;
        value = value * 10 + int64_t(text[i] - Ch('0'));
        if (value > cap) return -1;
    }
    return value;
}

// A decimal as written in a widths text: spaces, digits, then an optional
// fraction after '.', whatever the user's locale says; reading stops at the
// first unit that does not fit, so anything else reads as what came before.
double leadingDecimal(const char *text, size_t length);

#endif
