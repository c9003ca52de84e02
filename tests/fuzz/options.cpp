// The options keywords: with a fuzzed options text and keyword, find, valueOf
// and numericValue agree with one another, a value is never longer than 35
// units and never holds a blank, and a numeric value reads only its first 9.
// Input: keyword bytes, a zero byte, then the options text.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *bytes = reinterpret_cast<const char *>(data);
    const char *split = static_cast<const char *>(std::memchr(bytes, 0, size));
    std::string keyword = split ? std::string(bytes, split) : std::string("timer");
    std::string text = split ? std::string(split + 1, bytes + size) : std::string(bytes, size);
    // The options arrive as a C string: whatever follows a zero byte is gone.
    text = text.c_str();

    OptionSet options(text.c_str());
    long position = options.find(keyword.c_str());
    std::string value = options.valueOf(keyword.c_str());
    int number = options.numericValue(keyword.c_str());

    if (value.size() > kMaxKeywordValue) abort();
    if (value.find(' ') != std::string::npos) abort();
    if (keyword.empty()) {
        if (position != -1 || !value.empty() || number != 0) abort();
        return 0;
    }
    size_t expected = text.find(keyword);
    if (expected == std::string::npos) {
        if (position != -1 || !value.empty() || number != 0) abort();
        return 0;
    }
    if (position != long(expected) + 1) abort();
    // The value starts one character after the keyword and is a prefix of
    // what follows there.
    size_t start = expected + keyword.size() + 1;
    if (start > text.size()) {
        if (!value.empty()) abort();
    } else if (text.compare(start, value.size(), value) != 0) {
        abort();
    }
    if (number != decimalValue(value.substr(0, kMaxNumericValue).c_str())) abort();
    // Nine characters hold at most nine digits, so the value never saturates.
    if (number == INT_MAX || number == INT_MIN) abort();
    return 0;
}
