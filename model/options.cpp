#include "model/options.h"

#include <climits>
#include <cstring>

#include "model/numbers.h"

long OptionSet::find(const char *keyword) const {
    if (keyword == nullptr || *keyword == 0) return -1;
    const char *hit = std::strstr(text_.data(), keyword);
    return hit ? long(hit - text_.data()) + 1 : -1;
}

std::string OptionSet::valueOf(const char *keyword) const {
    long position = find(keyword);
    if (position < 1) return std::string();
    // position counts from 1, so this skips exactly one character after the
    // keyword, whatever it is ("=", ":" or anything else).
    size_t p = size_t(position) + std::strlen(keyword);
    std::string value;
    while (p < text_.length() && text_[p] != ' ' && value.size() < kMaxKeywordValue) {
        value += text_[p];
        ++p;
    }
    return value;
}

int OptionSet::numericValue(const char *keyword) const {
    std::string value = valueOf(keyword).substr(0, kMaxNumericValue);
    return decimalValue(value.c_str());
}

int decimalValue(const char *text) {
    if (text == nullptr) return 0;
    return leadingInteger(text, std::strlen(text));
}
