// Date and time texts of the picker inputs.
#include "model/datetext.h"

#include "model/numbers.h"

namespace {

const size_t kMaxPartUnits = 10;   // longest date or time part that is read
const size_t kMaxDigitUnits = 63;  // longest text digitsToInteger reads
const int64_t kReadCap = 0x7FFFFFFF; // numbers are capped here while read

// Units before the first zero unit, at most `length`.
size_t boundedLength(const TextUnit *text, size_t length) {
    if (text == nullptr) return 0;
    size_t n = 0;
    while (n < length && text[n] != 0) ++n;
    return n;
}

// Units before the zero terminator.
size_t terminatedLength(const TextUnit *text) {
    if (text == nullptr) return 0;
    size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

// Index of the first `separator` in [from, end), or end.
size_t findUnit(const TextUnit *text, size_t from, size_t end, TextUnit separator) {
    while (from < end && text[from] != separator) ++from;
    return from;
}

// A span of a text: where a part starts and how many units it keeps.
struct Part {
    size_t start;
    size_t length;
};

Part cutPart(size_t start, size_t end) {
    Part part = {start, end - start < kMaxPartUnits ? end - start : kMaxPartUnits};
    return part;
}

// atoi over a part, its magnitude capped so a ten-digit part cannot overflow.
int64_t readInteger(const TextUnit *text, Part part) {
    return cappedInteger(text + part.start, part.length, kReadCap);
}

uint16_t toField(int64_t value) {
    if (value < 0 || value > 0xFFFF) return kDateFieldOutOfRange;
    return static_cast<uint16_t>(value);
}

bool partIs(const TextUnit *text, Part part, char first, char second) {
    return part.length == 2 && text[part.start] == TextUnit(first) &&
           text[part.start + 1] == TextUnit(second);
}

} // namespace

int digitsToInteger(const TextUnit *text, size_t length) {
    const size_t n = boundedLength(text, length < kMaxDigitUnits ? length : kMaxDigitUnits);
    return static_cast<int>(onlyDigits(text, n, kReadCap));
}

int digitsToInteger(const TextUnit *text) {
    return digitsToInteger(text, kMaxDigitUnits);
}

DateTimeRecord parseDateText(const TextUnit *text, size_t length, int order,
                             const DateTimeRecord &now) {
    if (order < kDateOrderMonthDayYear || order > kDateOrderYearMonthDay) return now;

    // A part the text does not reach starts and ends at n: empty, read as 0.
    size_t n = boundedLength(text, length);
    size_t slash1 = findUnit(text, 0, n, TextUnit('/'));
    size_t start2 = slash1 < n ? slash1 + 1 : n;
    size_t slash2 = findUnit(text, start2, n, TextUnit('/'));
    size_t start3 = slash2 < n ? slash2 + 1 : n;
    const Part parts[3] = {cutPart(0, slash1), cutPart(start2, slash2), cutPart(start3, n)};

    uint16_t numbers[3];
    for (int i = 0; i < 3; ++i) {
        int value = digitsToInteger(text + parts[i].start, parts[i].length);
        numbers[i] = toField(value);
    }

    DateTimeRecord r = now;
    switch (order) {
    case kDateOrderMonthDayYear:
        r.month = numbers[0];
        r.day = numbers[1];
        r.year = numbers[2];
        break;
    case kDateOrderDayMonthYear:
        r.day = numbers[0];
        r.month = numbers[1];
        r.year = numbers[2];
        break;
    default: // kDateOrderYearMonthDay
        r.year = numbers[0];
        r.month = numbers[1];
        r.day = numbers[2];
        break;
    }
    return r;
}

DateTimeRecord parseDateText(const TextUnit *text, size_t length, int order) {
    return parseDateText(text, length, order, currentUtcTime());
}

DateTimeRecord parseTimeText(const TextUnit *text, const DateTimeRecord &now) {
    size_t n = terminatedLength(text);
    size_t colon = findUnit(text, 0, n, TextUnit(':'));
    size_t minuteStart = colon < n ? colon + 1 : n;
    size_t blank = findUnit(text, minuteStart, n, TextUnit(' '));
    size_t suffixStart = blank < n ? blank + 1 : n;

    int64_t hour = readInteger(text, cutPart(0, colon));
    int64_t minute = readInteger(text, cutPart(minuteStart, blank));
    Part suffix = cutPart(suffixStart, n);

    // A negative hour stays out of range: adding 12 must not turn "-5" into 7.
    if (hour >= 0) {
        if (partIs(text, suffix, 'A', 'M') && hour == 12)
            hour = 0;
        else if (partIs(text, suffix, 'P', 'M') && hour != 12)
            hour += 12;
    }

    DateTimeRecord r = now;
    r.hour = toField(hour);
    r.minute = toField(minute);
    return r;
}

DateTimeRecord parseTimeText(const TextUnit *text) {
    return parseTimeText(text, currentUtcTime());
}
