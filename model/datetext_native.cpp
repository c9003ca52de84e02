// Native stand-ins for the system's locale and clock, so the date texts can
// be tested without Windows.
#include "model/datetext.h"

#include <chrono>

namespace {

int nativeDateOrder = kDateOrderMonthDayYear;

int64_t floorDiv(int64_t a, int64_t b) {
    return (a >= 0 ? a : a - (b - 1)) / b;
}

} // namespace

int localeDateOrder() {
    return nativeDateOrder;
}

void setLocaleDateOrder(int order) {
    nativeDateOrder = order;
}

DateTimeRecord currentUtcTime() {
    using namespace std::chrono;
    const int64_t msPerDay = 86400000;
    int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    int64_t days = floorDiv(ms, msPerDay);
    int64_t msOfDay = ms - days * msPerDay;

    // Days since 1970-01-01 to the proleptic Gregorian calendar, counted in
    // 400-year eras that start on 1 March so the leap day ends a year.
    int64_t z = days + 719468;
    int64_t era = floorDiv(z, 146097);
    int64_t dayOfEra = z - era * 146097;                                   // 0..146096
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100); // 0..365
    int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;                    // 0..11
    int64_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    int64_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    DateTimeRecord r;
    r.year = static_cast<uint16_t>(year);
    r.month = static_cast<uint16_t>(month);
    r.dayOfWeek = static_cast<uint16_t>(days - floorDiv(days + 4, 7) * 7 + 4); // 1970-01-01 was a Thursday
    r.day = static_cast<uint16_t>(day);
    r.hour = static_cast<uint16_t>(msOfDay / 3600000);
    r.minute = static_cast<uint16_t>(msOfDay / 60000 % 60);
    r.second = static_cast<uint16_t>(msOfDay / 1000 % 60);
    r.milliseconds = static_cast<uint16_t>(msOfDay % 1000);
    return r;
}
