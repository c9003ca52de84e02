// Date and time texts of the picker inputs, against a fixed clock.
#include "model/datetext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

namespace {

typedef std::basic_string<TextUnit> Units;

// Builds a text from a UTF-16 literal; `length` lets a case carry zero units.
Units units(const char16_t *s, size_t length = std::u16string::npos) {
    std::u16string source = length == std::u16string::npos ? std::u16string(s)
                                                            : std::u16string(s, length);
    return Units(source.begin(), source.end());
}

// Wednesday 7 June 2023, 14:09:08.654 UTC.
const DateTimeRecord kNow = {2023, 6, 3, 7, 14, 9, 8, 654};

const uint16_t kBad = kDateFieldOutOfRange;

void expectClockFieldsKept(const DateTimeRecord &r) {
    EXPECT_EQ(kNow.dayOfWeek, r.dayOfWeek);
    EXPECT_EQ(kNow.second, r.second);
    EXPECT_EQ(kNow.milliseconds, r.milliseconds);
}

} // namespace

TEST(DateText, DigitsToInteger) {
    const struct {
        Units text;
        int expected;
    } cases[] = {
        {units(u""), 0},
        {units(u"0"), 0},
        {units(u"7"), 7},
        {units(u"2024"), 2024},
        {units(u"0042"), 42},
        {units(u"2147483647"), 2147483647},
        {units(u"2147483648"), -1},
        {units(u"99999999999999999999"), -1},
        {units(u"12a"), -1},
        {units(u" 1"), -1},
        {units(u"-1"), -1},
        {units(u"+1"), -1},
        {units(u"1.5"), -1},
        {units(u"\uFF11"), -1},             // full-width digit one
        {units(u"1\u0131"), -1},             // its low byte is "1"
        {Units(62, '0') + units(u"5"), 5},   // 63 units: all read
        {Units(63, '0') + units(u"5"), 0},   // the 64th unit is not read
        {Units(1000, '1'), -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, digitsToInteger(c.text.c_str())) << "text of " << c.text.size() << " units";

    const Units digits = units(u"12345");
    const Units embeddedZero = units(u"12\0" u"34", 5);
    EXPECT_EQ(123, digitsToInteger(digits.c_str(), 3));
    EXPECT_EQ(0, digitsToInteger(digits.c_str(), 0));
    EXPECT_EQ(12, digitsToInteger(embeddedZero.c_str(), 5));
    EXPECT_EQ(0, digitsToInteger(nullptr));
    EXPECT_EQ(0, digitsToInteger(nullptr, 5));
}

TEST(DateText, ParseDateInEachOrder) {
    const struct {
        Units text;
        size_t length; // npos: the whole text
        int order;
        uint16_t year, month, day;
    } cases[] = {
        {units(u"24/12/2024"), Units::npos, 1, 2024, 12, 24},
        {units(u"24/12/2024"), Units::npos, 0, 2024, 24, 12}, // the picker refuses month 24
        {units(u"12/24/2024"), Units::npos, 0, 2024, 12, 24},
        {units(u"2024/12/24"), Units::npos, 2, 2024, 12, 24},
        {units(u"1/2/3"), Units::npos, 0, 3, 1, 2},
        {units(u"1/2/3"), Units::npos, 1, 3, 2, 1},
        {units(u"1/2/3"), Units::npos, 2, 1, 2, 3},
        {units(u"0024/0012/00002024"), Units::npos, 1, 2024, 12, 24},
        // Missing parts read as 0.
        {units(u""), Units::npos, 0, 0, 0, 0},
        {units(u""), Units::npos, 1, 0, 0, 0},
        {units(u""), Units::npos, 2, 0, 0, 0},
        {units(u"24/12"), Units::npos, 1, 0, 12, 24},
        {units(u"24"), Units::npos, 1, 0, 0, 24},
        {units(u"//"), Units::npos, 0, 0, 0, 0},
        {units(u"1//3"), Units::npos, 1, 3, 0, 1},
        {units(u"24/12/"), Units::npos, 1, 0, 12, 24},
        // The length and a zero unit end the text.
        {units(u"12/24/2024"), 5, 0, 0, 12, 24},
        {units(u"12/24/2024"), 0, 0, 0, 0, 0},
        {units(u"12/24/20\0" u"99", 11), 11, 0, 20, 12, 24},
        // Not numbers: a value every picker refuses.
        {units(u"24.12.2024"), Units::npos, 1, 0, 0, kBad},
        {units(u"1/2/2024/5"), Units::npos, 1, kBad, 2, 1}, // a third "/" belongs to the year
        {units(u" 1/2/3"), Units::npos, 1, 3, 2, kBad},
        {units(u"1/x/3"), Units::npos, 1, 3, kBad, 1},
        {units(u"\uFF11/2/3"), Units::npos, 1, 3, 2, kBad},
        // Too large for a field: refused instead of wrapping into a valid date.
        {units(u"12/24/67560"), Units::npos, 0, kBad, 12, 24},
        {units(u"99999/1/1"), Units::npos, 1, 1, 1, kBad},
        {units(u"65535/1/1"), Units::npos, 1, 1, 1, 65535},
        // Parts are cut to 10 units; separators still split where they are.
        {units(u"12345678901/5/2024"), Units::npos, 0, 2024, kBad, 5},
        {units(u"00000000001/5/2024"), Units::npos, 0, 2024, 0, 5},
        {units(u"1/2/00000000002024"), Units::npos, 1, 0, 2, 1},
        {units(u"1/000000000007/3"), Units::npos, 1, 3, 0, 1},
    };
    for (const auto &c : cases) {
        const size_t length = c.length == Units::npos ? c.text.size() : c.length;
        SCOPED_TRACE(testing::Message() << "text of " << c.text.size() << " units, length "
                                        << length << ", order " << c.order);
        const DateTimeRecord r = parseDateText(c.text.data(), length, c.order, kNow);
        EXPECT_EQ(c.year, r.year);
        EXPECT_EQ(c.month, r.month);
        EXPECT_EQ(c.day, r.day);
        EXPECT_EQ(kNow.hour, r.hour);
        EXPECT_EQ(kNow.minute, r.minute);
        expectClockFieldsKept(r);
    }
}

TEST(DateText, ParseDateWithUnknownOrderKeepsNow) {
    const Units text = units(u"24/12/2024");
    const int orders[] = {-1, 3, 10, 1000000};
    for (int order : orders) {
        const DateTimeRecord r = parseDateText(text.c_str(), text.size(), order, kNow);
        EXPECT_EQ(0, std::memcmp(&kNow, &r, sizeof r)) << "order " << order;
    }
}

TEST(DateText, ParseDateHostileInput) {
    // Long texts without separators, or of separators only, stay bounded and
    // read only the first 10 units of each part.
    const Units longDigits(100000, '9');
    DateTimeRecord r = parseDateText(longDigits.c_str(), longDigits.size(), 1, kNow);
    EXPECT_EQ(kBad, r.day);
    EXPECT_EQ(0, r.month);
    EXPECT_EQ(0, r.year);

    const Units slashes(100000, '/');
    r = parseDateText(slashes.c_str(), slashes.size(), 1, kNow);
    EXPECT_EQ(0, r.day);
    EXPECT_EQ(0, r.month);
    EXPECT_EQ(kBad, r.year);

    r = parseDateText(nullptr, 10, 1, kNow);
    EXPECT_EQ(0, r.day);
    EXPECT_EQ(0, r.month);
    EXPECT_EQ(0, r.year);

    // A text that is not terminated is read up to its length and no further.
    const TextUnit exact[] = {'3', '/', '4', '/', '5'};
    r = parseDateText(exact, 5, 2, kNow);
    EXPECT_EQ(3, r.year);
    EXPECT_EQ(4, r.month);
    EXPECT_EQ(5, r.day);
}

TEST(DateText, ParseTime) {
    const struct {
        Units text;
        uint16_t hour, minute;
    } cases[] = {
        {units(u"12:30 AM"), 0, 30},
        {units(u"12:30 PM"), 12, 30},
        {units(u"1:30 PM"), 13, 30},
        {units(u"1:30 pm"), 1, 30},
        {units(u"14:45"), 14, 45},
        {units(u"7:05 AM"), 7, 5},
        {units(u"11:59 PM"), 23, 59},
        {units(u"0:15 PM"), 12, 15},
        {units(u"13:00 PM"), 25, 0},        // refused by the picker
        {units(u"12:30 Am"), 12, 30},
        {units(u"12:30 AM "), 12, 30},      // the suffix is "AM ", not "AM"
        {units(u"12:30  AM"), 12, 30},      // the suffix is " AM"
        {units(u"12:30 AMPM"), 12, 30},
        {units(u"8:30 PM extra"), 8, 30},
        {units(u"10:30xyz PM"), 22, 30},    // the minute reads up to "x"
        // Parts the text does not reach are empty.
        {units(u""), 0, 0},
        {units(u"9"), 9, 0},
        {units(u"12 PM"), 12, 0},           // no ":", so no suffix either
        {units(u":45"), 0, 45},
        {units(u"5:"), 5, 0},
        // atoi rules: white space and a sign before the digits.
        {units(u"\t7:30"), 7, 30},
        {units(u" 8: 5"), 8, 0},            // the blank ends the minute
        {units(u"+7:08"), 7, 8},
        {units(u"x7:08"), 0, 8},
        // Out of range: refused rather than wrapped or folded by PM.
        {units(u"-5:30 PM"), kBad, 30},
        {units(u"7:-3"), 7, kBad},
        {units(u"65536:65566"), kBad, kBad},
        {units(u"65535:0"), 65535, 0},
        {units(u"12345678901:30"), kBad, 30},
        {units(u"2:123456789012 PM"), 14, kBad},
        // Units outside ASCII are not digits, whatever their low byte.
        {units(u"\u0131\u0132:\u0133\u0130"), 0, 0},
        {units(u"\uFF11\uFF12:30"), 0, 30},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "text of " << c.text.size() << " units");
        const DateTimeRecord r = parseTimeText(c.text.c_str(), kNow);
        EXPECT_EQ(c.hour, r.hour);
        EXPECT_EQ(c.minute, r.minute);
        EXPECT_EQ(kNow.year, r.year);
        EXPECT_EQ(kNow.month, r.month);
        EXPECT_EQ(kNow.day, r.day);
        expectClockFieldsKept(r);
    }

    const DateTimeRecord r = parseTimeText(nullptr, kNow);
    EXPECT_EQ(0, r.hour);
    EXPECT_EQ(0, r.minute);

    const Units longHour(100000, '1');
    EXPECT_EQ(kBad, parseTimeText(longHour.c_str(), kNow).hour);
    const Units longSuffix = units(u"3:04 ") + Units(100000, 'P');
    EXPECT_EQ(3, parseTimeText(longSuffix.c_str(), kNow).hour);
}

TEST(DateText, LocaleOrderStandIn) {
    const Units text = units(u"01/02/2003");
    const struct {
        int order;
        uint16_t year, month, day;
    } cases[] = {{1, 2003, 2, 1}, {2, 1, 2, 2003}, {0, 2003, 1, 2}};
    for (const auto &c : cases) {
        setLocaleDateOrder(c.order);
        ASSERT_EQ(c.order, localeDateOrder());
        const DateTimeRecord r = parseDateText(text.c_str(), text.size(), localeDateOrder(), kNow);
        EXPECT_EQ(c.year, r.year) << "order " << c.order;
        EXPECT_EQ(c.month, r.month) << "order " << c.order;
        EXPECT_EQ(c.day, r.day) << "order " << c.order;
    }
}

TEST(DateText, ClockIsUtc) {
    // The clock agrees with the C library's UTC calendar (either side of a
    // second that may tick during the call).
    const std::time_t before = std::time(nullptr);
    const DateTimeRecord now = currentUtcTime();
    const std::time_t after = std::time(nullptr);
    bool matched = false;
    for (std::time_t t : {before, after}) {
        const std::tm *tm = std::gmtime(&t);
        ASSERT_NE(nullptr, tm);
        matched = matched || (now.year == tm->tm_year + 1900 && now.month == tm->tm_mon + 1 &&
                              now.day == tm->tm_mday && now.dayOfWeek == tm->tm_wday &&
                              now.hour == tm->tm_hour && now.minute == tm->tm_min &&
                              now.second == tm->tm_sec);
    }
    EXPECT_TRUE(matched) << now.year << "-" << now.month << "-" << now.day << " " << now.hour
                         << ":" << now.minute << ":" << now.second << " weekday "
                         << now.dayOfWeek;
    EXPECT_LT(now.milliseconds, 1000);

    // The overloads without a clock take the date (or time) from today.
    const Units time = units(u"1:30 PM");
    const DateTimeRecord t = parseTimeText(time.c_str());
    EXPECT_EQ(13, t.hour);
    EXPECT_EQ(30, t.minute);
    EXPECT_GE(t.year, now.year);
    const Units date = units(u"24/12/2024");
    const DateTimeRecord d = parseDateText(date.c_str(), date.size(), 1);
    EXPECT_EQ(2024, d.year);
    EXPECT_EQ(12, d.month);
    EXPECT_EQ(24, d.day);
    EXPECT_LE(d.hour, 23);
    EXPECT_LE(d.minute, 59);
}
