#include <gtest/gtest.h>

#include "model/options.h"

TEST(Options, PresenceIsACaseSensitiveSubstringTest) {
    struct Case {
        const char *options;
        const char *keyword;
        long position;
    } cases[] = {
        {"noresize timer=5", "noresize", 1}, {"noresize timer=5", "timer", 10}, {"smaller", "small", 1},
        {"desktop", "top", 5},               {"notimer", "timer", 3},           {"WIDTH=300", "width", -1},
        {"", "width", -1},                   {"width", "", -1},
    };
    for (const Case &c : cases) {
        OptionSet options(c.options);
        EXPECT_EQ(options.find(c.keyword), c.position) << c.options << " / " << c.keyword;
        EXPECT_EQ(options.has(c.keyword), c.position > 0);
    }
}

TEST(Options, ValueSkipsOneCharacterAndStopsAtASpace) {
    struct Case {
        const char *options;
        const char *keyword;
        const char *value;
        int number;
    } cases[] = {
        {"width=300 height=200", "width", "300", 300},
        {"width=300 height=200", "height", "200", 200},
        {"noresize timer=5", "timer", "5", 5},
        {"timer", "timer", "", 0},
        {"width=", "width", "", 0},
        {"widthX300", "width", "300", 300},
        {"left=-40", "left", "-40", -40},
        {"top=12px", "top", "12px", 12},
        {"width=3\t00 x", "width", "3\t00", 3},
        {"timer=abc", "timer", "abc", 0},
        // Numeric values read at most nine characters, so this one is cut.
        {"width=12345678901", "width", "12345678901", 123456789},
        {"height=99999999999999", "height", "99999999999999", 999999999},
        {"width=absent", "height", "", 0},
    };
    for (const Case &c : cases) {
        OptionSet options(c.options);
        EXPECT_EQ(options.valueOf(c.keyword), c.value) << c.options;
        EXPECT_EQ(options.numericValue(c.keyword), c.number) << c.options;
    }
}

TEST(Options, OverlongValuesAreCutNotWrittenPast) {
    std::string options = "title=" + std::string(500, 'x') + " width=10";
    OptionSet set(options.c_str());
    EXPECT_EQ(set.valueOf("title"), std::string(kMaxKeywordValue, 'x'));
    EXPECT_EQ(set.numericValue("width"), 10);
}

TEST(Options, DecimalValueFollowsAtoiAndSaturates) {
    struct Case {
        const char *text;
        int value;
    } cases[] = {{"  42", 42},      {"-7x", -7},  {"+3", 3},     {"x1", 0}, {"", 0},
                 {"2147483647", 2147483647}, {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const Case &c : cases) EXPECT_EQ(decimalValue(c.text), c.value) << c.text;
    EXPECT_EQ(decimalValue(nullptr), 0);
}
