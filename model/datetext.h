// Date and time texts of the date and time picker inputs: a default text
// becomes the record that the picker gets as its initial value.
//
// Both parsers start from a given "now" and overwrite only the fields that the
// text supplies, so a field the text does not mention keeps the current UTC
// value. They never fail: a part that is missing or not a number gives a
// value the picker refuses, and the picker then shows today.
#ifndef TESSARY_MODEL_DATETEXT_H
#define TESSARY_MODEL_DATETEXT_H

#include <cstddef>
#include <cstdint>

#include "model/text.h"

// Field for field the layout of the Windows SYSTEMTIME, so the Windows side
// can hand it to a date and time picker as it is.
struct DateTimeRecord {
    uint16_t year;         // 1601..30827 for the picker; 0 when a date text gave none
    uint16_t month;        // 1..12
    uint16_t dayOfWeek;    // 0 = Sunday .. 6; taken from the clock, never from a text
    uint16_t day;          // 1..31
    uint16_t hour;         // 0..23
    uint16_t minute;       // 0..59
    uint16_t second;       // 0..59
    uint16_t milliseconds; // 0..999
};
static_assert(sizeof(DateTimeRecord) == 16, "DateTimeRecord must match SYSTEMTIME");

// Field value for a number that cannot be a date or time part (negative or
// past 65535): every picker refuses it.
constexpr uint16_t kDateFieldOutOfRange = 0xFFFF;

// Order of the three numbers of a date text, as the user's locale has it.
enum DateOrder {
    kDateOrderMonthDayYear = 0,
    kDateOrderDayMonthYear = 1,
    kDateOrderYearMonthDay = 2
};

// The user's short-date order (0, 1 or 2 as DateOrder), asked of the system
// on every call. The native build answers what setLocaleDateOrder set,
// 0 until then.
int localeDateOrder();
#ifndef _WIN32
void setLocaleDateOrder(int order);
#endif

// The current date and time in UTC.
DateTimeRecord currentUtcTime();

// Decimal value of a text of digits "0".."9", reading at most 63 units and
// stopping early at a zero unit. The empty text gives 0. Returns -1 when a
// unit read is not a digit or the value passes 2147483647.
int digitsToInteger(const TextUnit *text);
// The same for the first `length` units (and still at most 63).
int digitsToInteger(const TextUnit *text, size_t length);

// Reads a date text of `length` units (fewer when a zero unit comes first):
// three numbers separated by "/", each part cut to 10 units, the third part
// running to the end; only year, month and day are replaced. `order` says
// which number is day, month and year; any other order returns `now`
// unchanged. A part that is missing gives 0, one that is not a number or
// passes 65535 gives kDateFieldOutOfRange.
DateTimeRecord parseDateText(const TextUnit *text, size_t length, int order,
                             const DateTimeRecord &now);
// The same against the current UTC time.
DateTimeRecord parseDateText(const TextUnit *text, size_t length, int order);

// Reads a zero-terminated time text "hour:minute suffix" into hour and
// minute; all other fields stay those of `now`. The hour runs to ":", the
// minute from there to the next blank, the suffix is the rest; each is cut to
// 10 units, and a part after a missing separator is empty. Hour and minute
// are read like the C library's atoi (leading white space, a sign, digits up
// to the first other unit, 0 without digits); only ASCII units count. The
// suffix "AM" turns hour 12 into 0, "PM" adds 12 to any other hour; any other
// suffix, lower case included, changes nothing. An hour or minute that is
// negative or passes 65535 gives kDateFieldOutOfRange. A null text reads as
// empty.
DateTimeRecord parseTimeText(const TextUnit *text, const DateTimeRecord &now);
// The same against the current UTC time.
DateTimeRecord parseTimeText(const TextUnit *text);

#if defined(_WIN32)
struct _SYSTEMTIME;
// Copies the record into the SYSTEMTIME a date and time picker takes.
void copyToSystemTime(const DateTimeRecord &record, struct _SYSTEMTIME *out);
#endif

#endif
