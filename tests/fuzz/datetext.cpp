// The date and time texts of the picker inputs. Each text lies in a heap
// buffer of exactly its size, so a read past the given length is caught;
// a parser replaces only the fields its text supplies, a field is a number
// it read or kDateFieldOutOfRange, and a plain "m/d/y" or "h:m" text of
// short numbers reads as those numbers.
// Input: one byte choosing the date order (3 is an invalid one), then the
// text as UTF-16 units.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "model/datetext.h"

static const DateTimeRecord kNow = {2024, 2, 4, 29, 13, 45, 30, 500};

// The numbers of a text made only of digits and two '/', each part of one
// to four digits; false for anything else.
static bool plainNumbers(const TextUnit *text, size_t length, TextUnit separator, int count, int *numbers) {
    int part = 0, digits = 0;
    numbers[0] = 0;
    for (size_t i = 0; i < length; ++i) {
        TextUnit unit = text[i];
        if (unit == separator) {
            if (digits == 0 || ++part >= count) return false;
            numbers[part] = 0;
            digits = 0;
        } else if (unit >= '0' && unit <= '9' && digits < 4) {
            numbers[part] = numbers[part] * 10 + (unit - '0');
            ++digits;
        } else {
            return false;
        }
    }
    return part == count - 1 && digits > 0;
}

static void checkDate(const TextUnit *text, size_t length, int order) {
    DateTimeRecord r = parseDateText(text, length, order, kNow);
    if (r.dayOfWeek != kNow.dayOfWeek || r.hour != kNow.hour || r.minute != kNow.minute ||
        r.second != kNow.second || r.milliseconds != kNow.milliseconds)
        abort();
    if (order < 0 || order > 2) {
        if (std::memcmp(&r, &kNow, sizeof r) != 0) abort();
        return;
    }
    int numbers[3];
    if (plainNumbers(text, length, TextUnit('/'), 3, numbers)) {
        static const int kYear[3] = {2, 2, 0}, kMonth[3] = {0, 1, 1}, kDay[3] = {1, 0, 2};
        if (r.year != numbers[kYear[order]] || r.month != numbers[kMonth[order]] || r.day != numbers[kDay[order]])
            abort();
    }
}

static void checkTime(const TextUnit *text, size_t length) {
    DateTimeRecord r = parseTimeText(text, kNow);
    if (r.year != kNow.year || r.month != kNow.month || r.dayOfWeek != kNow.dayOfWeek || r.day != kNow.day ||
        r.second != kNow.second || r.milliseconds != kNow.milliseconds)
        abort();
    int numbers[2];
    if (plainNumbers(text, length, TextUnit(':'), 2, numbers)) {
        if (r.hour != numbers[0] || r.minute != numbers[1]) abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    int order = data[0] % 4;
    size_t units = (size - 1) / 2;

    std::unique_ptr<TextUnit[]> exact(new TextUnit[units ? units : 1]);
    if (units > 0) std::memcpy(exact.get(), data + 1, units * 2);
    TextUnit *text = units ? exact.get() : nullptr;

    checkDate(text, units, order);
    int number = digitsToInteger(text, units);
    if (number < -1) abort();

    // The zero-terminated forms get the terminator as the buffer's last unit.
    std::unique_ptr<TextUnit[]> terminated(new TextUnit[units + 1]);
    if (units > 0) std::memcpy(terminated.get(), data + 1, units * 2);
    terminated[units] = 0;
    size_t length = 0;
    while (terminated[length] != 0) ++length;
    checkTime(terminated.get(), length);
    if (digitsToInteger(terminated.get()) < -1) abort();
    if (length == units && length <= 63 && digitsToInteger(terminated.get()) != number) abort();
    return 0;
}
