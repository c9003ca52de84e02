#include <gtest/gtest.h>

#include "text_helpers.h"

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "model/carry_over.h"
#include "runtime/readback_rules.h"
#include "runtime/screen_rules.h"
#include "runtime/slider_rules.h"

namespace {

// A check-box list slot with `columns` data columns (titled, so the factory
// lays out that many cells per row), its cells and an optional hidden key
// column.
ControlSpec checkList(int columns, const char16_t *cells, int returnColumn = 0, const char16_t *hidden = u"") {
    ControlSpec s;
    s.kind = NarrowText("listbox");
    s.text = W(cells);
    setListHasCheckBoxes(s, 1);
    setListColumnCount(s, columns);
    setListReturnColumn(s, returnColumn);
    setListColumnTitles(s, columns > 1 ? W(u"A|B|C") : W(u""));
    setListHiddenKeys(s, W(hidden));
    return s;
}

} // namespace

TEST(ReadbackRules, ChosenRowsOfAList) {
    struct Case {
        const char *name;
        ControlSpec slot;
        std::vector<int> chosen;
        const char16_t *expected;
    } cases[] = {
        {"one column, two rows", checkList(1, u"a|b|c|d"), {1, 3}, u"b|d|"},
        {"one column, one row", checkList(1, u"a|b|c|d"), {3}, u"d"},
        {"one column, none", checkList(1, u"a|b|c|d"), {}, u""},
        {"return column 2 of 3", checkList(3, u"f0|f1|f2|f3|f4|f5|f6|f7|f8", 2), {0, 2}, u"f1|f7"},
        {"whole rows skip empty cells", checkList(3, u"x||z|p|q|r"), {0, 1}, u"x|z|\rp|q|r|"},
        {"whole row of one", checkList(3, u"x||z"), {0}, u"x|z|"},
        {"a row ending empty stays apart", checkList(3, u"1|2||4|5|6"), {0, 1}, u"1|2|\r4|5|6|"},
        {"an empty row adds nothing", checkList(3, u"|||4|5|6"), {0, 1}, u"4|5|6|"},
        {"hidden keys win", checkList(3, u"a|b|c|d|e|f", 2, u"k0|k1"), {0, 1}, u"k0|k1|"},
        {"hidden keys, one column", checkList(1, u"a|b|c", 0, u"k0|k1|k2"), {2}, u"k2"},
        {"rows past the text read empty", checkList(1, u"a"), {0, 4}, u"a||"},
        {"return column -1 with hidden keys", checkList(2, u"a|b|c|d", -1, u"k0|k1"), {0, 1}, u"k0|k1"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(U(chosenRowsValue(c.slot, c.chosen)), c.expected) << c.name;
    }
}

TEST(ReadbackRules, PreselectedRowsMatchWholeKeys) {
    struct Case {
        const char *name;
        ControlSpec slot;
        const char16_t *wanted;
        bool firstOnly;
        std::vector<int> expected;
    } cases[] = {
        {"first cells", checkList(1, u"a|b|ab|b"), u"b|ab", false, {1, 2, 3}},
        {"only the first in single mode", checkList(1, u"a|b|ab|b"), u"b|ab", true, {1}},
        {"first cell of each row", checkList(2, u"a|b|b|a"), u"b", false, {1}},
        {"hidden keys, not cells", checkList(1, u"a|b|c", 0, u"k0|a|k2"), u"a|k2", false, {1, 2}},
        {"a closing bar adds no empty key", checkList(1, u"a||c"), u"c|", false, {2}},
        {"an empty value inside matches an empty key", checkList(1, u"a||c"), u"x||y", false, {1}},
        {"case counts", checkList(1, u"A|a"), u"a", false, {1}},
        {"nothing wanted", checkList(1, u"a|b"), u"", false, {}},
    };
    for (Case &c : cases) {
        setListPreselected(c.slot, W(c.wanted));
        const WideFields cells(c.slot.text);
        const int columns = listColumnCount(c.slot);
        const int rows = listRowCount(cells.itemCount(), columns);
        EXPECT_EQ(preselectedRows(c.slot, cells, columns, rows, c.firstOnly), c.expected) << c.name;
    }
}

TEST(ReadbackRules, ResultsStopAtTheirLimit) {
    std::u16string cells;
    for (int i = 0; i < 100; ++i) cells += std::u16string(999, u'x') + u"|";
    ControlSpec list = checkList(1, cells.c_str());
    // A list's value holds every chosen row, however long: rows chosen more
    // than once stand for a list longer than any other value may be.
    std::vector<int> chosen;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 100; ++i) chosen.push_back(i);
    }
    WideText all = chosenRowsValue(list, chosen);
    EXPECT_EQ(all.length(), 300u * 1000u);
    EXPECT_EQ(all[all.length() - 2], TextUnit('x'));
    // The same for a list text past the old scanning limit: its last row counts.
    std::u16string many;
    for (int i = 0; i < 30000; ++i) many += u"row" + std::u16string(1, char16_t(u'a' + i % 26)) + u"|";
    ControlSpec big = checkList(1, many.c_str());
    EXPECT_EQ(U(chosenRowsValue(big, {29999})), u"rowv");

    // The cut never leaves half a surrogate pair at the end.
    std::u16string pairs = u"x";
    for (int i = 0; i < 150000; ++i) pairs += u"\U0001F600";
    constexpr size_t kLimit = 200000;
    ResultText result(kLimit);
    result.append(reinterpret_cast<const TextUnit *>(pairs.data()), pairs.size());
    result.append(TextUnit('|'));
    EXPECT_EQ(result.text().length(), kLimit - 1);
    EXPECT_EQ(result.text()[kLimit - 2], TextUnit(0xDE00));
}

TEST(ReadbackRules, LinksAppendReplaceOrKeep) {
    DialogDefinition &d = dialog();
    for (int i = 0; i < kSlotCount; ++i) resetSlot(i, true, true);
    ControlSpec &time = d.controls[40];
    time.text = W(u"9:30 AM");
    time.linkSeparator = W(u"|");
    ControlSpec &date = d.controls[64];
    date.linkIndex = 40;
    date.linkMode = 1;

    EXPECT_TRUE(passValueOn(64, W(u"12/24/2024")).empty());
    EXPECT_EQ(U(time.text), u"9:30 AM|12/24/2024");

    // An empty value leaves the target alone and stays with the slot.
    EXPECT_TRUE(passValueOn(64, W(u"")).empty());
    EXPECT_EQ(U(time.text), u"9:30 AM|12/24/2024");
    // Unless the slot passes empty values on: a range given as "from|".
    date.linksEmptyValue = 1;
    EXPECT_TRUE(passValueOn(64, W(u"")).empty());
    EXPECT_EQ(U(time.text), u"9:30 AM|12/24/2024|");

    date.linkMode = 2;
    EXPECT_TRUE(passValueOn(64, W(u"a\rb")).empty());
    EXPECT_EQ(U(time.text), u"a\rb") << "the target's text is stored as it came";

    date.linkMode = 7;
    EXPECT_TRUE(passValueOn(64, W(u"dropped")).empty());
    EXPECT_EQ(U(time.text), u"a\rb");

    struct Keep {
        int linkIndex;
        const char *why;
    } keeps[] = {{-1, "no link"}, {0, "below 1"}, {64, "itself"}, {120, "outside the table"}};
    for (const Keep &k : keeps) {
        date.linkIndex = k.linkIndex;
        date.linkMode = 1;
        EXPECT_EQ(U(passValueOn(64, W(u"kept"))), u"kept") << k.why;
    }
    EXPECT_EQ(U(passValueOn(500, W(u"x"))), u"x");
}

// Every scale a script can ask for stays within what a track bar computes
// with and holds the position it reads back.
TEST(SliderScaleRule, KeepsThePositionInsideABoundedSpan) {
    const int32_t extremes[] = {INT32_MIN, -1, 0, 1, 32767, 65536, kMaxSliderSpan, kMaxSliderSpan + 1,
                                1000000, INT32_MAX - 1, INT32_MAX};
    for (int32_t maximum : extremes) {
        for (int32_t position : extremes) {
            SCOPED_TRACE(testing::Message() << maximum << "|" << position);
            const SliderScale s = sliderScale(maximum, position);
            EXPECT_LE(0, s.minimum);
            EXPECT_LE(s.minimum, s.position);
            EXPECT_LE(s.position, s.maximum);
            EXPECT_LE(int64_t(s.maximum) - s.minimum, kMaxSliderSpan);
            EXPECT_LE((int64_t(s.maximum) - s.minimum) / s.tickFrequency, kMaxSliderTicks);
            // A position the script may ask for comes back as it was given.
            if (position >= 0 && position <= maximum) {
                EXPECT_EQ(position, s.position);
            }
            // Short scales are what they always were: 0 to the maximum, a tick a step.
            if (maximum >= 0 && maximum <= kMaxSliderTicks) {
                EXPECT_EQ(0, s.minimum);
                EXPECT_EQ(maximum, s.maximum);
                EXPECT_EQ(1, s.tickFrequency);
            }
        }
    }
}

// A dialog opened partly off the screen moves inside, never shrinks; one
// inside stays where the script put it.
TEST(ScreenRule, KeepsAWindowInsideTheWorkArea) {
    const ScreenRect work{0, 0, 1280, 994}; // a task bar below
    struct Case {
        ScreenRect wanted, expected;
    } cases[] = {
        {{100, 50, 500, 350}, {100, 50, 500, 350}},
        {{0, 0, 383, 280}, {0, 0, 383, 280}},
        {{5000, 5000, 5400, 5300}, {880, 694, 1280, 994}},
        {{-3000, 40, -2600, 340}, {0, 40, 400, 340}},
        {{1000, 900, 1400, 1200}, {880, 694, 1280, 994}},
        {{-10, -10, 1390, 1110}, {0, 0, 1400, 1120}},      // larger: the top-left corner wins
        {{-2147483647, 0, -2147483247, 300}, {0, 0, 400, 300}},
    };
    for (const Case &c : cases) {
        const ScreenRect got = keepInside(c.wanted, work);
        EXPECT_EQ(std::vector<int32_t>({got.left, got.top, got.right, got.bottom}),
                  std::vector<int32_t>({c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}))
            << c.wanted.left << "," << c.wanted.top;
    }
}

// Script units are 96-dpi pixels: drawn at the screen's scale, and read
// back from it as the same number, so that a size a script fed back through
// Tessary_GetPosition gives the same window.
TEST(ScreenRule, ScalesScriptUnitsToTheScreenAndBack) {
    struct Case {
        int dpi;
        int32_t units, pixels;
    } cases[] = {
        {96, 339, 339},   {120, 339, 424},  {144, 339, 509}, {144, 25, 38},   {144, -3, -5},
        {192, 500, 1000}, {144, 0, 0},      {0, 77, 77},     {144, 2000000000, INT32_MAX},
    };
    for (const Case &c : cases) {
        const Scale scale{c.dpi};
        EXPECT_EQ(scale.pixels(c.units), c.pixels) << c.dpi << " dpi, " << c.units;
        if (c.pixels != INT32_MAX) {
            EXPECT_EQ(scale.units(c.pixels), c.units) << c.dpi << " dpi, " << c.pixels;
        }
    }
    for (int dpi : {96, 120, 144, 168, 192, 288}) {
        for (int32_t units = 0; units < 2000; ++units) ASSERT_EQ(Scale{dpi}.units(Scale{dpi}.pixels(units)), units) << dpi;
    }
    // The window keeps its place in screen pixels; only its size scales.
    const ScreenRect drawn = drawnAt(Scale{144}, ScreenRect{-3000, 50, -2500, 450});
    EXPECT_EQ(std::vector<int32_t>({drawn.left, drawn.top, drawn.right, drawn.bottom}),
              std::vector<int32_t>({-3000, 50, -2250, 650}));
}
