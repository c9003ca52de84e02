// Tessary_DoDialog and Tessary_DoTabDialog through the host: rows staged as a
// script stages them, filled in by the dialog driver with real input, and
// read back with Tessary_GetInput.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "dialog_test.h"

namespace {

using e2e::Args;

// Text outside the ANSI code page: Greek, Japanese and a character beyond
// the 16-bit range.
const wchar_t kWorldText[] = L"\u0396\u03c9\u03ae \u65e5\u672c \U0001F600";

class FormDialogs : public e2e::DialogTest {
protected:
    void stage(const Args &labels, const Args &kinds, const Args &defaults) {
        host.call(L"Tessary_SetLabels", labels);
        host.call(L"Tessary_SetInputTypes", kinds);
        host.call(L"Tessary_SetDefaultInputs", defaults);
    }

    using DialogTest::input;
    std::wstring input(int row) { return input(L"text" + std::to_wstring(row)); }
};

} // namespace

TEST_F(FormDialogs, EveryKindOfRowIsFilledInAndReadBack) {
    stage({L"Name", L"Password", L"Colour", L"Subscribe|Newsletter|Offers|", L"Small|Medium|Large|", L"Volume",
           L"When", L"Price|to"},
          {L"edit", L"password", L"combobox", L"checkbox", L"radio", L"slider", L"datetime", L"range"},
          {L"", L"", L"red|green|blue|=green", L"101", L"2", L"30|100", L"1:30 PM|12/24/2024", L"10|20"});
    std::wstring result = show(L"Tessary_DoDialog", {L"", L"Order", L"Please fill in the form.", L"OK", L"Cancel"},
                               [](driver::Dialog &d) {
        EXPECT_EQ(d.caption(), L"Order");
        EXPECT_EQ(d.control(36).rect.top, 43);
        EXPECT_EQ(d.control(43).rect.top, 274);
        EXPECT_EQ(d.control(4).rect.top, 307);
        // Three boxes from the label's captions, the default's states.
        EXPECT_EQ(d.control(39).text, L"Subscribe");
        EXPECT_EQ(d.control(87).text, L"Offers");
        EXPECT_EQ(d.control(63).checked, 0);
        EXPECT_EQ(d.trackbarPos(41), 30);
        EXPECT_EQ(d.trackbarRange(41).second, 100);
        EXPECT_EQ(d.comboSelection(4038), 1);
        EXPECT_EQ(d.control(67).text, L"to");

        d.click(36);
        d.typeText(kWorldText);
        d.click(37);
        d.typeText(L"s3cret");
        d.clickComboItem(4038, 2);
        d.click(63);   // Newsletter on
        d.click(39);   // Subscribe off
        d.click(4003); // Large
        EXPECT_TRUE(d.setSliderPos(41, 75));
        EXPECT_TRUE(d.setTime(42, 16, 45));
        EXPECT_TRUE(d.setDate(66, 2025, 3, 9));
        d.click(91);
        d.pressKey(VK_END);
        d.typeText(L"5");
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(1), kWorldText);
    EXPECT_EQ(input(2), L"s3cret");
    EXPECT_EQ(input(3), L"blue");
    EXPECT_EQ(input(4), L"011");
    EXPECT_EQ(input(5), L"3");
    EXPECT_EQ(input(6), L"75");
    // The pickers read back what they show, in the user's formats.
    SYSTEMTIME when = {2025, 3, 0, 9, 16, 45, 0, 0};
    wchar_t date[64] = {0};
    wchar_t time[64] = {0};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &when, L"h:mm tt", time, 64);
    EXPECT_EQ(input(7), std::wstring(time) + L"|" + date);
    EXPECT_EQ(input(8), L"10|205");
}

TEST_F(FormDialogs, AFormClosedByItsCloseBoxReturnsNothingAndReadsNothing) {
    stage({L"Name"}, {L"edit"}, {L"before"});
    // An earlier dialog closed by its second button.
    EXPECT_EQ(show(L"Tessary_Dialog", {L"", L"T", L"M", L"A", L"B"}, [](driver::Dialog &d) { d.click(5); }), L"2");
    stage({L"Name"}, {L"edit"}, {L"before"});
    std::wstring result = show(L"Tessary_DoDialog", {L"", L"T", L"", L"OK", L"Cancel"}, [](driver::Dialog &d) {
        d.click(36);
        d.typeText(L" and after");
        d.close();
    });
    EXPECT_EQ(result, L"");
    EXPECT_EQ(input(1), L"before");
}

TEST_F(FormDialogs, TabPagesAreSwitchedAndEveryPageIsReadBack) {
    e2e::stageTabPages(host);
    std::wstring result = show(L"Tessary_DoTabDialog", e2e::tabDialogArgs(), [](driver::Dialog &d) {
        // Two pages; the second is shown first, as asked.
        EXPECT_EQ(d.tabTitles(1043), (std::vector<std::wstring>{L"Person", L"More"}));
        EXPECT_EQ(d.selectedTab(1043), 1);
        EXPECT_TRUE(d.control(44).visible);
        EXPECT_FALSE(d.control(36).visible);
        d.click(68);   // Extras
        d.clickComboItem(4045, 1);
        d.clickTab(1043, 0);
        EXPECT_TRUE(d.control(36).visible);
        // The three-line edit keeps its line breaks.
        EXPECT_EQ(d.control(37).text, L"Line one\r\nLine two");
        EXPECT_EQ(d.control(37).height(), 95);
        d.click(36);
        d.typeText(L"\u65e5\u672c");
        d.click(37);
        d.pressKey(VK_END, VK_CONTROL);
        d.typeText(L"\nLine three");
        d.click(5);
    });
    EXPECT_EQ(result, L"2");
    EXPECT_EQ(input(1), L"\u65e5\u672c");
    EXPECT_EQ(input(2), L"Line one\rLine two\rLine three");
    EXPECT_EQ(input(9), L"01");
    EXPECT_EQ(input(10), L"Bergen");
}

// Every kind of one-line field takes all that is typed into it, however much
// wider than the field, and a default already wider than the field keeps
// every character when the user types on at its end.
TEST_F(FormDialogs, OneLineFieldsKeepEverythingTyped) {
    std::wstring typed;
    for (int i = 0; i < 8; ++i) typed += L"word" + std::to_wstring(i) + L" \u00e9\u03b1 ";
    ASSERT_EQ(typed.size(), 72u);
    const std::wstring wide = L"42 xx Anna Norway 42 xx Anna Norway 42 xx Anna Norway";
    stage({L"Name", L"Half", L"Secret", L"Long"}, {L"edit", L"hedit", L"password", L"edit"}, {L"", L"", L"", wide});
    std::wstring result = show(L"Tessary_DoDialog", {L"", L"T", L"", L"OK", L"Cancel"}, [&](driver::Dialog &d) {
        for (int id : {36, 37, 38}) {
            d.click(id);
            d.typeText(typed);
        }
        d.click(39);
        d.pressKey(VK_END);
        d.typeText(L"Jonas");
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
    for (int row : {1, 2, 3}) EXPECT_EQ(input(row), typed) << row;
    EXPECT_EQ(input(4), wide + L"Jonas");
}

// Texts that nobody touched come back exactly as they were given, whatever
// line breaks and bars they hold: through OK, and through the close box,
// which reads nothing back.
TEST_F(FormDialogs, UntouchedTextsComeBackAsGiven) {
    const Args defaults = {L"a\rb|c", L"x|y\r\nz", L"|", L"a|b|c", L"a|", L"\n|\r\n", L"a\r\nb\rc\nd", L"p\r\nq"};
    const Args kinds = {L"range", L"rangeR", L"rangeC", L"range", L"range", L"rangeC", L"editBox", L"edit"};
    for (bool pressOk : {true, false}) {
        SCOPED_TRACE(pressOk ? "OK" : "close box");
        stage({L"a|to", L"b|to", L"c|to", L"d|to", L"e|to", L"f|to", L"Notes", L"Line"}, kinds, defaults);
        show(L"Tessary_DoDialog", {L"", L"T", L"", L"OK", L"Cancel"}, [&](driver::Dialog &d) {
            // A range shows its two values in two fields.
            EXPECT_EQ(d.control(39).text, L"a");
            EXPECT_EQ(d.control(39 + 48).text, L"b|c");
            if (pressOk) d.click(4);
            else d.close();
        });
        for (size_t row = 0; row < defaults.size(); ++row) {
            EXPECT_EQ(input(int(row) + 1), defaults[row]) << "row " << row + 1 << ", " << e2e::narrow(kinds[row]);
        }
    }
    // Never shown at all.
    stage({L"Line"}, {L"edit"}, {L"a\r\nb"});
    EXPECT_EQ(input(1), L"a\r\nb");
}
