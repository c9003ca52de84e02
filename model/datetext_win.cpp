// The system's answers for the date texts: the user's date order and the
// clock.
#include "model/datetext.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

static_assert(sizeof(DateTimeRecord) == sizeof(SYSTEMTIME), "layout of SYSTEMTIME");
static_assert(offsetof(DateTimeRecord, year) == offsetof(SYSTEMTIME, wYear), "wYear");
static_assert(offsetof(DateTimeRecord, month) == offsetof(SYSTEMTIME, wMonth), "wMonth");
static_assert(offsetof(DateTimeRecord, dayOfWeek) == offsetof(SYSTEMTIME, wDayOfWeek), "wDayOfWeek");
static_assert(offsetof(DateTimeRecord, day) == offsetof(SYSTEMTIME, wDay), "wDay");
static_assert(offsetof(DateTimeRecord, hour) == offsetof(SYSTEMTIME, wHour), "wHour");
static_assert(offsetof(DateTimeRecord, minute) == offsetof(SYSTEMTIME, wMinute), "wMinute");
static_assert(offsetof(DateTimeRecord, second) == offsetof(SYSTEMTIME, wSecond), "wSecond");
static_assert(offsetof(DateTimeRecord, milliseconds) == offsetof(SYSTEMTIME, wMilliseconds),
              "wMilliseconds");

int localeDateOrder() {
    // LOCALE_IDATE is one digit; the buffer holds it and its terminator. The
    // digit is read directly so a failed call cannot leave atoi an
    // unterminated buffer; the order then falls back to month/day/year.
    char buffer[2] = {0, 0};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, buffer, static_cast<int>(sizeof buffer)) == 0)
        return kDateOrderMonthDayYear;
    if (buffer[0] < '0' || buffer[0] > '9') return kDateOrderMonthDayYear;
    return buffer[0] - '0';
}

DateTimeRecord currentUtcTime() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    DateTimeRecord r;
    std::memcpy(&r, &now, sizeof r);
    return r;
}

void copyToSystemTime(const DateTimeRecord &record, SYSTEMTIME *out) {
    std::memcpy(out, &record, sizeof record);
}
