// Tessary_CustomDialog through the host: a dialog built from markup, filled
// in by the dialog driver with real input, its values read back by name with
// Tessary_GetInput.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "dialog_test.h"

namespace {

// Text outside the ANSI code page: Greek, Japanese and a character beyond
// the 16-bit range.
const wchar_t kWorldText[] = L"\u0396\u03c9\u03ae \u65e5\u672c \U0001F600";

std::wstring object(const std::wstring &attributes) {
    return L"<object>" + attributes + L"</object>";
}

std::wstring place(int left, int top, int width, int height) {
    return L"<left>" + std::to_wstring(left) + L"</left><top>" + std::to_wstring(top) + L"</top><width>" +
           std::to_wstring(width) + L"</width><height>" + std::to_wstring(height) + L"</height>";
}

// Slots of the objects below: object n sits in slot n + 2.
enum Slot { kCaption = 3, kName, kColour, kNews, kSize, kVolume, kWhen, kPlainList, kFruit, kOk };
constexpr int kColourId = kColour + 4000;
constexpr int kFirstSizeId = kSize * 100 + 1;

const std::wstring kFormMarkup =
    L"<title>\u0396\u03c9\u03ae order</title><width>420</width><height>330</height>" +
    object(L"<type>static</type><text>\u65e5\u672c name:</text>" + place(10, 12, 90, 20)) +
    object(L"<type>edit</type><name>who</name><hasfocus>true</hasfocus>" + place(110, 10, 200, 22)) +
    object(L"<type>combobox</type><name>colour</name><text>red|green|blue|=green</text>" + place(110, 40, 120, 120)) +
    object(L"<type>checkbox</type><name>news</name><text>Newsletter</text>" + place(250, 40, 120, 22)) +
    object(L"<type>radio</type><name>size</name><text>S|M|L|</text><columns>3</columns><selected>1</selected>" +
           place(110, 70, 50, 22)) +
    object(L"<type>slider</type><name>volume</name><totalsteps>100</totalsteps><startstep>30</startstep>" +
           place(110, 100, 200, 30)) +
    object(L"<type>datedd</type><name>when</name><text>12/24/2024</text>" + place(110, 140, 150, 22)) +
    object(L"<type>listbox</type><name>letters</name><text>a|b|c|</text>" + place(10, 175, 120, 80)) +
    object(L"<type>listbox</type><name>fruit</name><text>Apple|Pear|Plum</text><setcheckbox>true</setcheckbox>" +
           place(140, 175, 150, 80)) +
    object(L"<type>button</type><name>ok</name><text>OK</text><defaultbutton>true</defaultbutton>" +
           place(220, 265, 75, 23));

class CustomDialog : public e2e::DialogTest {};

} // namespace

TEST_F(CustomDialog, EveryObjectIsFilledInAndReadBackByName) {
    std::wstring result = show(L"Tessary_CustomDialog", {kFormMarkup}, [](driver::Dialog &d) {
        EXPECT_EQ(d.caption(), L"\u0396\u03c9\u03ae order");
        RECT window = d.windowRect();
        EXPECT_EQ(window.right - window.left, 420);
        EXPECT_EQ(d.defaultButtonId(), kOk);
        driver::ControlInfo caption = d.control(kCaption);
        EXPECT_EQ(caption.text, L"\u65e5\u672c name:");
        const RECT &r = caption.rect;
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}), (std::vector<LONG>{10, 12, 100, 32}));
        // Three radio buttons side by side, the first checked.
        EXPECT_EQ(d.control(kFirstSizeId).checked, 1);
        EXPECT_EQ(d.control(kFirstSizeId + 2).rect.left, 210);
        EXPECT_EQ(d.control(kFirstSizeId + 2).rect.top, 70);
        EXPECT_EQ(d.trackbarPos(kVolume), 30);
        EXPECT_TRUE(d.control(kName).focused);

        d.typeText(kWorldText);
        d.clickComboItem(kColourId, 2);
        d.click(kNews);
        d.click(kFirstSizeId + 2);
        EXPECT_TRUE(d.setSliderPos(kVolume, 75));
        EXPECT_TRUE(d.setDate(kWhen, 2025, 3, 9));
        // Choosing rows of a plain list changes nothing it reads back.
        d.clickListCell(kPlainList, 0, 0);
        d.clickListCell(kPlainList, 1, 0);
        // The list allows one checked row: the second check takes the first.
        d.clickListCheckbox(kFruit, 0);
        d.clickListCheckbox(kFruit, 2);
        EXPECT_FALSE(d.listRowChecked(kFruit, 0));
        d.click(kOk);
    });
    EXPECT_EQ(result, L"ok");
    SYSTEMTIME when = {2025, 3, 0, 9, 0, 0, 0, 0};
    wchar_t date[64] = {0};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, 64);
    const std::vector<std::pair<std::wstring, std::wstring>> values = {
        {L"who", kWorldText}, {L"colour", L"blue"}, {L"news", L"1"},         {L"size", L"3"},
        {L"volume", L"75"},   {L"when", date},      {L"letters", L"a|b|c|"}, {L"fruit", L"Plum"}};
    for (const auto &v : values) EXPECT_EQ(input(v.first), v.second) << e2e::narrow(v.first);
}

TEST_F(CustomDialog, ClosedByItsCloseBoxItReturnsNothingAndReadsNothing) {
    // An earlier dialog closed by a button.
    EXPECT_EQ(show(L"Tessary_Dialog", {L"", L"T", L"M", L"A", L"B"}, [](driver::Dialog &d) { d.click(5); }), L"2");
    const std::wstring markup = object(L"<type>edit</type><name>who</name><text>before\r\nline</text>" + place(10, 10, 200, 22)) +
                                object(L"<type>button</type><name>ok</name><text>OK</text>" + place(10, 40, 75, 23));
    std::wstring result = show(L"Tessary_CustomDialog", {markup}, [](driver::Dialog &d) {
        d.click(3);
        d.typeText(L" and after");
        d.close();
    });
    EXPECT_EQ(result, L"");
    EXPECT_EQ(input(L"who"), L"before\r\nline") << "the given text, as it was given";
}

// A one-line edit narrower than its text, in a large font: typing into it
// (where the click put the caret) inserts what was typed and loses nothing,
// and neither faults nor hangs the edit control.
TEST_F(CustomDialog, TypingIntoANarrowEditKeepsItsTextWhole) {
    const std::wstring original = L"42 xx Anna Norway";
    const std::wstring markup =
        L"<width>300</width><height>160</height>" +
        object(L"<type>edit</type><name>who</name><text>" + original + L"</text><fontsize>17</fontsize>" +
               place(10, 10, 68, 30)) +
        object(L"<type>button</type><name>go</name><text>GO</text>" + place(10, 60, 75, 23));
    std::wstring result = show(L"Tessary_CustomDialog", {markup}, [](driver::Dialog &d) {
        EXPECT_TRUE(d.control(3).style & ES_AUTOHSCROLL);
        d.click(3);
        d.typeText(L"Jonas");
        d.click(4);
    });
    EXPECT_EQ(result, L"go");
    const std::wstring typed = input(L"who");
    const size_t at = typed.find(L"Jonas");
    ASSERT_NE(at, std::wstring::npos) << e2e::narrow(typed);
    EXPECT_EQ(typed.substr(0, at) + typed.substr(at + 5), original) << e2e::narrow(typed);
}

// A tab asked to take the focus gives it to the tab control, never to its
// hidden page: with the focus on a page, a space (looked up as a mnemonic)
// kept the dialog walking its controls for ever.
TEST_F(CustomDialog, AFocusedTabHandsTheKeyboardToTheTabControl) {
    const std::wstring markup =
        L"<width>438</width><height>200</height>" +
        object(L"<type>tabcontrol</type><name>page</name><text>Page</text><hasfocus>true</hasfocus>" +
               place(72, 81, 176, 44)) +
        object(L"<type>button</type><name>go</name><text>GO</text>" + place(65, 9, 116, 30));
    std::wstring result = show(L"Tessary_CustomDialog", {markup}, [](driver::Dialog &d) {
        EXPECT_TRUE(d.focusedControl().hasClass(WC_TABCONTROLW)) << e2e::narrow(d.focusedControl().className);
        d.pressKey(VK_SPACE);
        d.click(4);
    });
    EXPECT_EQ(result, L"go");
}
