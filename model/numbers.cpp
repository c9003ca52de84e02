#include "model/numbers.h"

double leadingDecimal(const char *text, size_t length) {
    size_t i = 0;
    while (i < length && text[i] == ' ') ++i;
    double value = 0;
    for (; i < length && numbers::isDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
    if (i < length && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < length && numbers::isDigit(text[i]); ++i, scale /= 10) value += (text[i] - '0') * scale;
    }
    return value;
}
