#include "runtime/sort_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Key bytes that mark what follows, below every byte of a locale's key but
// its level separator (1) and end (0): a run of digits sorts before a
// letter, as the system's lists sort them.
constexpr char kDigitRun = 2;
constexpr char kTextRun = 3;

bool isDigit(TextUnit unit) {
    return unit >= '0' && unit <= '9';
}

bool isBlank(TextUnit unit) {
    return unit == ' ' || unit == '\t' || unit == 0xA0;
}

} // namespace

bool cellNumber(const TextUnit *text, size_t length, double &value) {
    size_t at = 0;
    while (at < length && isBlank(text[at])) ++at;
    while (length > at && isBlank(text[length - 1])) --length;
    bool negative = false;
    if (at < length && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    double whole = 0, scale = 1;
    bool digits = false, point = false;
    for (; at < length; ++at) {
        const TextUnit unit = text[at];
        if (isDigit(unit)) {
            digits = true;
            if (point) {
                scale /= 10;
                whole += (unit - '0') * scale;
            } else {
                whole = whole * 10 + (unit - '0');
            }
        } else if ((unit == '.' || unit == ',') && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (!digits) return false;
    value = negative ? -whole : whole;
    return true;
}

void appendNaturalKey(const TextUnit *text, size_t length, const TextSortKey &textKey, std::string &key) {
    size_t at = 0;
    while (at < length) {
        size_t end = at;
        if (isDigit(text[at])) {
            while (end < length && isDigit(text[end])) ++end;
            size_t first = at;
            while (first + 1 < end && text[first] == '0') ++first;
            // The count of digits first, so a longer number is the larger;
            // runs of more than 254 digits compare by their first 254.
            const size_t count = std::min<size_t>(end - first, 254);
            key += kDigitRun;
            key += char(count + 1);
            for (size_t i = first; i < first + count; ++i) key += char(text[i]);
        } else {
            while (end < length && !isDigit(text[end])) ++end;
            key += kTextRun;
            textKey(text + at, end - at, key);
        }
        at = end;
    }
}

std::vector<int> sortedRows(int rows, const SortCell &cell, const TextSortKey &textKey, bool descending) {
    std::vector<int> order(size_t(std::max(rows, 0)));
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);

    // Numbers first: a column of them needs no text keys at all.
    std::vector<double> numbers(order.size());
    std::vector<unsigned char> empty(order.size());
    bool numeric = false;
    bool allNumbers = true;
    for (size_t row = 0; row < order.size() && allNumbers; ++row) {
        size_t length = 0;
        const TextUnit *units = cell(int(row), length);
        if (length == 0) {
            empty[row] = 1;
            continue;
        }
        allNumbers = cellNumber(units, length, numbers[row]);
        numeric = numeric || allNumbers;
    }
    if (numeric && allNumbers) {
        auto before = [&](int a, int b) {
            if (empty[size_t(a)] || empty[size_t(b)]) return empty[size_t(a)] > empty[size_t(b)];
            return numbers[size_t(a)] < numbers[size_t(b)];
        };
        if (descending) {
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return before(b, a); });
        } else {
            std::stable_sort(order.begin(), order.end(), before);
        }
        return order;
    }

    // Every key in one buffer: a million rows would otherwise make a
    // million strings.
    std::string keys;
    std::vector<size_t> starts(order.size() + 1, 0);
    for (size_t row = 0; row < order.size(); ++row) {
        size_t length = 0;
        const TextUnit *units = cell(int(row), length);
        appendNaturalKey(units, length, textKey, keys);
        starts[row + 1] = keys.size();
    }
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(keys.data());
    auto before = [&](int a, int b) {
        const size_t aStart = starts[size_t(a)], aLength = starts[size_t(a) + 1] - aStart;
        const size_t bStart = starts[size_t(b)], bLength = starts[size_t(b) + 1] - bStart;
        const int c = std::memcmp(bytes + aStart, bytes + bStart, std::min(aLength, bLength));
        return c != 0 ? c < 0 : aLength < bLength;
    };
    if (descending) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return before(b, a); });
    } else {
        std::stable_sort(order.begin(), order.end(), before);
    }
    return order;
}
