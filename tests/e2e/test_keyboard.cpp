// The dialogs with the keyboard alone, through the host: Tab walks every
// field in the order it stands on the screen, each field follows the text
// that names it (which is where a screen reader looks for its name), and
// what a user fills in with keys alone comes back as it does from the mouse.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dialog_test.h"

namespace {

using e2e::Args;

constexpr int kTabs = 1043; // the tab dialog's tab control

int idOf(HWND window) {
    return window != nullptr ? GetDlgCtrlID(window) : 0;
}

// The ids of the controls that hold the focus as Tab (or Shift+Tab) is
// pressed from the one that has it, until the focus is back there.
std::vector<int> walk(driver::Dialog &d, bool backwards) {
    const HWND start = GetFocus();
    std::vector<int> ids = {idOf(start)};
    for (int i = 0; i < 40; ++i) {
        d.pressKey(VK_TAB, backwards ? VK_SHIFT : 0);
        if (GetFocus() == start) return ids;
        ids.push_back(idOf(GetFocus()));
    }
    ADD_FAILURE() << "Tab never came back to where it started";
    return ids;
}

bool hasClass(HWND window, const wchar_t *name) {
    wchar_t found[64] = {0};
    GetClassNameW(window, found, 64);
    return lstrcmpiW(found, name) == 0;
}

// A control a user fills in: every one of them must be a stop of Tab (a
// radio group once, at one of its buttons).
bool isInput(HWND window) {
    if (hasClass(window, L"Button")) {
        const DWORD type = DWORD(GetWindowLongW(window, GWL_STYLE)) & BS_TYPEMASK;
        return type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON;
    }
    for (const wchar_t *name : {L"Edit", L"ComboBox", WC_LISTVIEWW, TRACKBAR_CLASSW, DATETIMEPICK_CLASSW}) {
        if (hasClass(window, name)) return true;
    }
    return false;
}

struct Walk {
    const char *what;
    std::function<void(hostcore::PluginHost &)> stage; // staging calls before the dialog
    const wchar_t *function;
    Args args;
    std::vector<int> stops;               // every stop of Tab, in reading order
    int focus;                            // the stop that has the focus at opening
    std::vector<std::pair<int, int>> named; // a field and the text made just before it
};

using e2e::stageRows;

const std::vector<Walk> kWalks = {
    {"message dialog: the buttons left to right, the default one first",
     nullptr, L"Tessary_Dialog", {L"", L"T", L"Save the changes?", L"Yes", L"No", L"Cancel"},
     {6, 5, 4}, 4, {}},
    {"form dialog: row by row, each part of a row left to right, then the buttons",
     e2e::stageEveryKind,
     L"Tessary_DoDialog", {L"", L"Order", L"Please fill in the form.", L"OK", L"Cancel"},
     {36, 37, 4038, 39, 63, 87, 4002, 41, 42, 66, 43, 91, 5, 4}, 36,
     {{36, 12}, {37, 13}, {4038, 14}, {41, 17}, {42, 18}, {43, 19}, {91, 67}}},
    {"form dialog: focus=N names the field that has the focus",
     [](hostcore::PluginHost &host) { stageRows(host, {L"A", L"B"}, {L"edit", L"edit"}, {L"", L""}); },
     L"Tessary_DoDialog", {L"focus=2", L"T", L"", L"OK"},
     {36, 37, 4}, 37, {{36, 12}, {37, 13}}},
    {"tab dialog: the tabs, the fields of the page shown, the buttons",
     [](hostcore::PluginHost &host) {
         stageRows(host, {L"Name", L"Notes", L"Kind", L"", L"", L"", L"", L"", L"City"},
                   {L"edit", L"edit3", L"radio", L"", L"", L"", L"", L"", L"combobox"},
                   {L"", L"", L"", L"", L"", L"", L"", L"", L"Oslo|Bergen|"});
     },
     L"Tessary_DoTabDialog", {L"", L"Customer", L"Person", L"Who is it?", L"More", L"", L"", L"", L"OK", L"Cancel"},
     {kTabs, 36, 37, 3801, 5, 4}, 36, {{36, 12}, {37, 13}}},
    {"login dialog: with a name chosen the password has the focus",
     nullptr, L"Tessary_DoLogin",
     {L"", L"Sign in", L"Please sign in.", L"User", L"Password", L"ann|bob|", L"bob", L"OK", L"Cancel"},
     {4036, 37, 5, 4}, 37, {{4036, 12}, {37, 13}}},
    {"login dialog: with none chosen the user name has it, so no password is typed there",
     nullptr, L"Tessary_DoLogin",
     {L"", L"Sign in", L"Please sign in.", L"User", L"Password", L"ann|bob|", L"", L"OK", L"Cancel"},
     {4036, 37, 5, 4}, 4036, {{4036, 12}, {37, 13}}},
    {"big edit box: the field, then the buttons",
     nullptr, L"Tessary_BigEditBox", {L"", L"Notes", L"Write it down:", L"text", L"OK", L"Cancel"},
     {36, 5, 4}, 36, {{36, 1}}},
    {"list dialog: the list, the input row, the buttons",
     nullptr, L"Tessary_DoList",
     {L"", L"1", L"", L"", L"", L"Fruit", L"Pick one:", L"Apple|Pear|", L"", L"Take", L"Cancel", L"", L"", L"",
      L"edit", L"Note", L""},
     {36, 37, 5, 4}, 36, {{36, 1}, {37, 13}}},
    {"grid dialog: the grid, then the buttons",
     nullptr, L"Tessary_DoListView",
     {L"", L"EC", L"Name|Fruit", L"", L"pear|", L"", L"Fruit", L"Edit the cells:", L"Ann|pear|Bob|pear", L"OK",
      L"Cancel"},
     {36, 5, 4}, 36, {{36, 1}}},
    {"dual list: a list under its title, the move buttons between the lists, the buttons",
     nullptr, L"Tessary_DoDualListDialog",
     {L"", L"Team", L"Who comes?", L"Everyone", L"Ann|Bob|Cy", L"Coming", L"Dan", L"OK", L"Cancel"},
     {36, 10, 11, 37, 5, 4}, 36, {{36, 12}, {37, 13}}},
};

class Keyboard : public e2e::DialogTest {};

} // namespace

TEST_F(Keyboard, TabWalksEveryFieldInReadingOrderAndEachFollowsItsName) {
    for (const Walk &w : kWalks) {
        SCOPED_TRACE(w.what);
        if (w.stage) w.stage(host);
        show(w.function, w.args, [&](driver::Dialog &d) {
            EXPECT_EQ(idOf(GetFocus()), w.focus);
            std::vector<int> expected = w.stops;
            const auto at = std::find(expected.begin(), expected.end(), w.focus);
            ASSERT_NE(at, expected.end());
            std::rotate(expected.begin(), at, expected.end());
            const std::vector<int> forwards = walk(d, false);
            EXPECT_EQ(forwards, expected);
            std::vector<int> back = walk(d, true);
            std::reverse(back.begin() + 1, back.end());
            EXPECT_EQ(back, expected) << "Shift+Tab walks the same stops backwards";

            // Every field of the dialog is a stop; a radio group is one.
            const std::set<int> stops(forwards.begin(), forwards.end());
            std::set<int> groups;
            for (const driver::ControlInfo &c : d.controls()) {
                if (!c.visible || !c.enabled || !isInput(c.hwnd)) continue;
                if (hasClass(c.hwnd, L"Button") && (c.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
                    if (stops.count(c.id)) {
                        EXPECT_TRUE(groups.insert(c.id / 100).second) << c.id;
                    }
                    continue;
                }
                EXPECT_EQ(stops.count(c.id), 1u) << "field " << c.id << " is no stop";
            }

            for (const std::pair<int, int> &field : w.named) {
                const HWND window = d.control(field.first).hwnd;
                EXPECT_EQ(idOf(GetWindow(window, GW_HWNDPREV)), field.second) << "the text before " << field.first;
            }
            d.close();
        });
    }
}

// Rows of the form test that the mouse fills in, filled in with keys alone:
// the same choices come back the same.
TEST_F(Keyboard, AFormIsFilledInWithKeysAlone) {
    const wchar_t kWorldText[] = L"\u0396\u03c9\u03ae \u65e5\u672c \U0001F600";
    stageRows(host, {L"Name", L"Colour", L"Subscribe|Newsletter|Offers|", L"Small|Medium|Large|", L"When"},
              {L"edit", L"combobox", L"checkbox", L"radio", L"datetime"},
              {L"", L"red|green|blue|=green", L"101", L"2", L"1:30 PM|12/24/2024"});
    SYSTEMTIME time = {};
    SYSTEMTIME date = {};
    std::wstring result = show(L"Tessary_DoDialog", {L"", L"Order", L"Please fill in the form.", L"OK", L"Cancel"},
                               [&](driver::Dialog &d) {
        auto next = [&](int id) {
            d.pressKey(VK_TAB);
            EXPECT_EQ(idOf(GetFocus()), id);
        };
        d.typeText(kWorldText);
        next(4037);
        d.pressKey(VK_DOWN); // blue
        next(38);
        d.pressKey(VK_SPACE); // Subscribe off
        next(62);
        d.pressKey(VK_SPACE); // Newsletter on
        next(86);
        // The arrows go round the radio group and never leave it.
        next(3902);
        d.pressKey(VK_DOWN);
        EXPECT_EQ(idOf(GetFocus()), 3903);
        d.pressKey(VK_DOWN);
        EXPECT_EQ(idOf(GetFocus()), 3901);
        d.pressKey(VK_UP); // Large
        EXPECT_EQ(idOf(GetFocus()), 3903);
        // Wine's picker, unlike the system's, selects no field of its own
        // when Tab brings the focus: an arrow key selects one.
        next(40);
        d.pressKey(VK_RIGHT);
        d.pressKey(VK_UP);
        time = d.dateTime(40).value_or(SYSTEMTIME{});
        EXPECT_FALSE(time.wHour == 13 && time.wMinute == 30) << "Up changed the time";
        next(64);
        d.pressKey(VK_RIGHT);
        d.pressKey(VK_UP);
        date = d.dateTime(64).value_or(SYSTEMTIME{});
        EXPECT_FALSE(date.wYear == 2024 && date.wMonth == 12 && date.wDay == 24) << "Up changed the date";
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), kWorldText);
    EXPECT_EQ(input(L"text2"), L"blue");
    EXPECT_EQ(input(L"text3"), L"011");
    EXPECT_EQ(input(L"text4"), L"3");
    wchar_t shownDate[64] = {0};
    wchar_t shownTime[64] = {0};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, shownDate, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, L"h:mm tt", shownTime, 64);
    EXPECT_EQ(input(L"text5"), std::wstring(shownTime) + L"|" + shownDate);
}

// The tab dialog's pages switched with Ctrl+Tab and Ctrl+Page Down/Up, each
// filled in with keys: the choices of the mouse test come back the same.
TEST_F(Keyboard, TabPagesAreSwitchedAndFilledInWithKeysAlone) {
    e2e::stageTabPages(host);
    std::wstring result = show(L"Tessary_DoTabDialog", e2e::tabDialogArgs(), [](driver::Dialog &d) {
        // The page shown first has the focus on its first field.
        EXPECT_EQ(d.selectedTab(kTabs), 1);
        EXPECT_EQ(idOf(GetFocus()), 44);
        // Round the end and back again; the focus follows to the page shown.
        d.pressKey(VK_NEXT, VK_CONTROL);
        EXPECT_EQ(d.selectedTab(kTabs), 0);
        EXPECT_TRUE(d.control(36).visible);
        EXPECT_EQ(idOf(GetFocus()), 36);
        d.pressKey(VK_TAB, VK_CONTROL, 1);
        EXPECT_EQ(d.selectedTab(kTabs), 1);
        EXPECT_EQ(idOf(GetFocus()), 44);
        d.pressKey(VK_TAB);
        d.pressKey(VK_SPACE); // Extras
        d.pressKey(VK_TAB);
        EXPECT_EQ(idOf(GetFocus()), 4045);
        d.typeText(L"B"); // Bergen
        d.pressKey(VK_PRIOR, VK_CONTROL);
        EXPECT_EQ(d.selectedTab(kTabs), 0);
        EXPECT_EQ(idOf(GetFocus()), 36);
        d.typeText(L"\u65e5\u672c");
        d.pressKey(VK_TAB);
        d.pressKey(VK_END, VK_CONTROL);
        d.typeText(L"\nLine three");
        // Out of the many-line field, past the other page's fields, to the
        // buttons.
        d.pressKey(VK_TAB);
        EXPECT_EQ(idOf(GetFocus()), 5);
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(result, L"2");
    EXPECT_EQ(input(L"text1"), L"\u65e5\u672c");
    EXPECT_EQ(input(L"text2"), L"Line one\rLine two\rLine three");
    EXPECT_EQ(input(L"text9"), L"01");
    EXPECT_EQ(input(L"text10"), L"Bergen");
}

// A check-box list by keys: a row's first cell is its name, which typing
// finds; Space checks as a click does, one row at a time without "multi";
// Enter presses button 1 once "b1ns" lets it.
TEST_F(Keyboard, AListIsCheckedWithKeysAlone) {
    std::wstring result = show(L"Tessary_DoList",
                               {L"b1ns", L"2", L"Fruit|Origin", L"", L"", L"Fruit", L"Pick one:",
                                L"Apple|Norway|Pear|Chile|Plum|Japan", L"", L"Take", L"Cancel"},
                               [](driver::Dialog &d) {
        EXPECT_EQ(idOf(GetFocus()), 36);
        EXPECT_EQ(d.listCell(36, 1, 0), L"Pear");
        EXPECT_EQ(d.defaultButtonId(), 4);
        d.pressKey(VK_RETURN);
        EXPECT_TRUE(d.isOpen()) << "button 1 waits for a checked row";
        // The first row is current from the start, marked as selected.
        EXPECT_EQ(SendMessageW(d.control(36).hwnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 0);
        EXPECT_EQ(d.listSelectedRow(36), 0);
        d.typeText(L"p");
        EXPECT_EQ(SendMessageW(d.control(36).hwnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 1);
        d.pressKey(VK_SPACE);
        EXPECT_TRUE(d.listRowChecked(36, 1));
        EXPECT_TRUE(d.control(4).enabled);
        d.pressKey(VK_DOWN);
        d.pressKey(VK_SPACE);
        EXPECT_TRUE(d.listRowChecked(36, 2));
        EXPECT_FALSE(d.listRowChecked(36, 1)) << "one row at a time";
        EXPECT_TRUE(d.control(4).enabled);
        d.pressKey(VK_SPACE);
        EXPECT_FALSE(d.listRowChecked(36, 2));
        EXPECT_FALSE(d.control(4).enabled);
        d.pressKey(VK_SPACE);
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"Plum|Japan|");
}

// The dual list by keys: a row chosen with the arrows wakes its move button
// as a click does, and Enter moves it; the choice comes back as from the
// mouse.
TEST_F(Keyboard, ADualListIsChosenWithKeysAlone) {
    std::wstring result = show(L"Tessary_DoDualListDialog",
                               {L"", L"Team", L"Who comes?", L"Everyone", L"Ann|Bob|Cy", L"Coming", L"", L"OK",
                                L"Cancel"},
                               [](driver::Dialog &d) {
        EXPECT_EQ(idOf(GetFocus()), 36);
        EXPECT_FALSE(d.control(8).enabled);
        d.pressKey(VK_DOWN);
        EXPECT_EQ(d.listSelectedRow(36), 0);
        EXPECT_TRUE(d.control(8).enabled) << "\">\" wakes for a row chosen by key";
        d.pressKey(VK_RETURN); // Ann
        d.pressKey(VK_DOWN);
        d.pressKey(VK_RETURN); // Bob
        EXPECT_TRUE(d.isOpen()) << "Enter in a list moves, it presses no button";
        EXPECT_EQ(d.listRowCount(37), 2);
        // On to the right list past the buttons that move all.
        d.pressKey(VK_TAB);
        EXPECT_EQ(idOf(GetFocus()), 10);
        d.pressKey(VK_TAB);
        EXPECT_EQ(idOf(GetFocus()), 11);
        d.pressKey(VK_TAB);
        EXPECT_EQ(idOf(GetFocus()), 37);
        d.pressKey(VK_DOWN);
        EXPECT_TRUE(d.control(9).enabled);
        EXPECT_FALSE(d.control(8).enabled) << "the left list's row is forgotten";
        EXPECT_EQ(d.listSelectedRow(36), -1);
        d.pressKey(VK_RETURN); // Ann back
        EXPECT_EQ(d.listRowCount(37), 1);
        d.pressKey(VK_TAB);
        d.pressKey(VK_TAB);
        EXPECT_EQ(idOf(GetFocus()), 4);
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"Bob|");
}

// The grid by keys: a cell cursor that Left and Right move along the row,
// F2, Enter, Alt+Down and typing to open a cell, Tab to go on to the next
// cell that opens anything. The grid comes back as the mouse leaves it.
TEST_F(Keyboard, AGridIsEditedWithKeysAlone) {
    // Columns: Name typed, Fruit chosen, Id read-only, Note not editable.
    std::wstring result = show(L"Tessary_DoListView",
                               {L"b2ns", L"ECex", L"Name|Fruit|Id|Note", L"30|30|20|",
                                L"x|\rpear|Apple|banana|\r", L"LLR", L"Fruit", L"Edit the cells:",
                                L"Ann|Pear|1|n1|Bob|kiwi|2|n2|Cy|banana|3|n3", L"OK", L"Cancel"},
                               [](driver::Dialog &d) {
        const HWND grid = d.control(36).hwnd;
        auto editor = [&]() -> HWND {
            HWND focus = GetFocus();
            return focus != grid && GetParent(focus) == grid ? focus : nullptr;
        };
        auto text = [](HWND window) {
            wchar_t buffer[64] = {0};
            GetWindowTextW(window, buffer, 64);
            return std::wstring(buffer);
        };
        EXPECT_EQ(GetFocus(), grid);
        d.pressKey(VK_DOWN);
        EXPECT_TRUE(d.control(5).enabled) << "a row chosen by key wakes \"b2ns\"";
        // Typing opens the text cell under the cursor with what is typed.
        d.typeText(L"Zoe");
        ASSERT_NE(editor(), nullptr);
        EXPECT_EQ(text(editor()), L"Zoe");
        d.pressKey(VK_RETURN);
        EXPECT_EQ(GetFocus(), grid);
        EXPECT_EQ(d.listCell(36, 0, 1), L"Zoe");
        // Enter on the choice cell to the right drops its choices down.
        d.pressKey(VK_RIGHT);
        d.pressKey(VK_RETURN);
        ASSERT_NE(editor(), nullptr);
        d.pressKey(VK_DOWN);
        d.pressKey(VK_RETURN);
        EXPECT_EQ(d.listCell(36, 0, 2), L"Apple");
        // The cursor keeps its column on the next row, where typing opens
        // the choices at the first that begins with what was typed.
        d.pressKey(VK_DOWN);
        d.typeText(L"b");
        ASSERT_NE(editor(), nullptr);
        d.pressKey(VK_RETURN);
        EXPECT_EQ(d.listCell(36, 1, 2), L"banana");
        d.pressKey(VK_DOWN);
        d.pressKey(VK_DOWN, VK_MENU);
        ASSERT_NE(editor(), nullptr) << "Alt+Down drops the choices down";
        d.pressKey(VK_DOWN);
        d.pressKey(VK_RETURN);
        EXPECT_EQ(d.listCell(36, 2, 2), L"pear");
        d.pressKey(VK_UP);
        // F2 opens the name; Tab keeps it and opens the next cell that opens
        // anything: the choice, then past the fixed ones the next row's name.
        d.pressKey(VK_LEFT);
        d.pressKey(VK_F2);
        ASSERT_NE(editor(), nullptr);
        d.pressKey(VK_END);
        d.typeText(L"by");
        d.pressKey(VK_TAB);
        EXPECT_EQ(d.listCell(36, 1, 1), L"Bobby");
        ASSERT_NE(editor(), nullptr);
        d.pressKey(VK_TAB);
        ASSERT_NE(editor(), nullptr);
        EXPECT_EQ(text(editor()), L"Cy");
        EXPECT_EQ(d.listSelectedRow(36), 2);
        // Shift+Tab goes back; Esc leaves the cell as it was.
        d.pressKey(VK_TAB, VK_SHIFT);
        EXPECT_EQ(d.listSelectedRow(36), 1);
        d.pressKey(VK_ESCAPE);
        EXPECT_EQ(GetFocus(), grid);
        EXPECT_EQ(d.listCell(36, 1, 2), L"banana");
        // A cell that opens nothing shows its text for copying.
        d.pressKey(VK_RIGHT);
        d.pressKey(VK_F2);
        ASSERT_NE(editor(), nullptr);
        EXPECT_EQ(text(editor()), L"2");
        EXPECT_TRUE(GetWindowLongW(editor(), GWL_STYLE) & ES_READONLY);
        d.pressKey(VK_ESCAPE);
        d.pressKey(VK_TAB);
        d.pressKey(VK_TAB);
        EXPECT_EQ(idOf(GetFocus()), 4);
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"Zoe|Apple|1|n1|\rBobby|banana|2|n2|\rCy|pear|3|n3|");
}

// A multi-line field takes Esc without closing its dialog, wherever it
// stands: what the user wrote there stays, and comes back with the button.
TEST_F(Keyboard, EscInAMultiLineFieldKeepsTheDialogAndTheText) {
    const std::wstring given = L"line1\rline2";
    struct Case {
        const char *what;
        std::function<void(hostcore::PluginHost &)> stage;
        const wchar_t *function;
        Args args;
        int field;           // the multi-line field's id
        const wchar_t *name; // its value's name for Tessary_GetInput
    } cases[] = {
        {"big edit box", nullptr, L"Tessary_BigEditBox", {L"", L"Big", L"label", given, L"OK", L"Cancel"}, 36,
         L"text1"},
        {"form row", [&](hostcore::PluginHost &host) { stageRows(host, {L"Notes"}, {L"editBox"}, {given}); },
         L"Tessary_DoDialog", {L"", L"T", L"", L"OK", L"Cancel"}, 36, L"text1"},
        {"markup object", nullptr, L"Tessary_CustomDialog",
         {L"<width>300</width><height>200</height>"
          L"<object><type>editBox</type><name>notes</name><text>line1\rline2</text><hasfocus>true</hasfocus>"
          L"<left>10</left><top>10</top><width>200</width><height>80</height></object>"
          L"<object><type>button</type><name>ok</name><text>OK</text>"
          L"<left>10</left><top>100</top><width>75</width><height>23</height></object>"},
         3, L"notes"},
        {"list input row", nullptr, L"Tessary_DoList",
         {L"", L"1", L"", L"", L"", L"Fruit", L"Pick:", L"Apple|Pear|", L"", L"OK", L"Cancel", L"", L"", L"",
          L"editBox", L"Note", given},
         37, L"text2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.stage) c.stage(host);
        const std::wstring shown = L"line1\r\nline2 more";
        show(c.function, c.args, [&](driver::Dialog &d) {
            d.click(c.field);
            d.pressKey(VK_END, VK_CONTROL);
            d.typeText(L" more");
            d.pressKey(VK_ESCAPE);
            d.waitMs(200);
            ASSERT_TRUE(d.isOpen()) << "Esc closed the dialog";
            EXPECT_EQ(d.control(c.field).text, shown);
            EXPECT_EQ(idOf(GetFocus()), c.field);
            d.click(4); // OK in each of them
        });
        EXPECT_EQ(input(c.name), L"line1\rline2 more");
    }
}

// "cancel=N": Esc (from a many-line field too), Alt+F4 and the close box,
// which the dialog shows only then, press button N as a click would: its
// number comes back and the fields are read. A button that a click could
// not press (one waiting for a chosen row) Esc does not press either.
// Without the option Esc does nothing and there is no close box.
TEST_F(Keyboard, EscAltF4AndTheCloseBoxPressTheButtonTheScriptNames) {
    enum Way { kEsc, kAltF4, kCloseBox };
    struct Case {
        const char *what;
        const wchar_t *function;
        Args args;
        Way way;
        int focus;               // the control to click first; 0: none
        const wchar_t *result;   // null: the dialog stays open
        const wchar_t *text1;    // what Tessary_GetInput("text1") then answers; null: not asked
    } cases[] = {
        {"message, Esc", L"Tessary_Dialog", {L"cancel=2", L"T", L"Delete it?", L"Delete", L"Cancel"}, kEsc, 0, L"2",
         nullptr},
        {"message, Alt+F4, button 3 where an empty button 2 left its place", L"Tessary_Dialog",
         {L"cancel=3", L"T", L"M", L"A", L"", L"C"}, kAltF4, 0, L"3", nullptr},
        {"message, the close box", L"Tessary_Dialog", {L"cancel=1", L"T", L"M", L"OK", L"No"}, kCloseBox, 0, L"1",
         nullptr},
        {"message without the option: Esc does nothing", L"Tessary_Dialog", {L"", L"T", L"M", L"OK", L"Cancel"},
         kEsc, 0, nullptr, nullptr},
        {"big edit box, Esc in the field, which is read as a click reads it", L"Tessary_BigEditBox",
         {L"cancel=2", L"Notes", L"label", L"kept", L"OK", L"Cancel"}, kEsc, 36, L"2", L"kept typed"},
        {"list, Esc while the button waits for a chosen row", L"Tessary_DoList",
         {L"cancel=2 b2ns", L"1", L"", L"", L"", L"Fruit", L"Pick:", L"Apple|Pear|", L"", L"OK", L"Cancel"}, kEsc, 0,
         nullptr, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        bool stayed = false;
        const std::wstring result = show(c.function, c.args, [&](driver::Dialog &d) {
            const bool named = c.args[0].find(L"cancel=") != std::wstring::npos;
            EXPECT_EQ((d.style() & WS_SYSMENU) != 0, named) << "a close box only with the option";
            if (named) {
                const UINT state = GetMenuState(GetSystemMenu(d.hwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND);
                EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED), 0u);
            }
            if (c.focus != 0) {
                d.click(c.focus);
                d.pressKey(VK_END, VK_CONTROL);
                d.typeText(L" typed");
            }
            if (c.way == kEsc) d.pressKey(VK_ESCAPE);
            if (c.way == kAltF4) d.pressKey(VK_F4, VK_MENU);
            if (c.way == kCloseBox) d.close();
            if (c.result != nullptr) {
                EXPECT_TRUE(d.waitForClose(3000));
                return;
            }
            d.waitMs(300);
            stayed = d.isOpen();
            d.click(4);
        });
        if (c.result == nullptr) {
            EXPECT_TRUE(stayed) << "the dialog closed";
            EXPECT_EQ(result, L"1");
            continue;
        }
        EXPECT_EQ(result, c.result);
        if (c.text1 != nullptr) {
            EXPECT_EQ(input(L"text1"), c.text1);
        }
    }
}

// Ctrl+Enter presses the default button from controls where Enter has a
// meaning of its own: a many-line field (a new line), the grid (opens the
// chosen row's cell), the dual list (moves the focused row). A cell being
// edited is written first, as a click on the button would write it.
TEST_F(Keyboard, CtrlEnterPressesTheDefaultButtonFromAnywhere) {
    struct Case {
        const char *what;
        std::function<void(hostcore::PluginHost &)> stage;
        const wchar_t *function;
        Args args;
        int field;
        const wchar_t *typed; // typed after a click on the field
        const wchar_t *result;
        const wchar_t *text1; // what the field reads as then
    } cases[] = {
        {"big edit box", nullptr, L"Tessary_BigEditBox",
         {L"defaultButton2", L"Notes", L"label", L"line", L"OK", L"Save"}, 36, L" typed", L"2", L"line typed"},
        {"many-line row of a form", [](hostcore::PluginHost &host) { stageRows(host, {L"Notes"}, {L"editBox"}, {L"line"}); },
         L"Tessary_DoDialog", {L"", L"T", L"", L"OK", L"Cancel"}, 36, L" typed", L"1", L"line typed"},
        {"grid, a row chosen", nullptr, L"Tessary_DoListView",
         {L"defaultButton2", L"E", L"Name", L"", L"", L"", L"T", L"Edit:", L"Ann|Bob|", L"OK", L"Save"}, 36, L"",
         L"2", nullptr},
        {"grid, a cell being edited", nullptr, L"Tessary_DoListView",
         {L"defaultButton2", L"E", L"Name", L"", L"", L"", L"T", L"Edit:", L"Ann|Bob|", L"OK", L"Save"}, 36, L"Zed",
         L"2", L"Zed|\rBob|"},
        {"dual list", nullptr, L"Tessary_DoDualListDialog",
         {L"", L"Team", L"Who comes?", L"Everyone", L"Ann|Bob|Cy", L"Coming", L"", L"OK", L"Cancel"}, 36, L"",
         L"1", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.stage) c.stage(host);
        const std::wstring result = show(c.function, c.args, [&](driver::Dialog &d) {
            if (d.control(c.field).hasClass(L"Edit")) {
                d.click(c.field);
                d.pressKey(VK_END, VK_CONTROL);
            } else {
                // In the grid the click opens the row's first cell; with
                // nothing to type, Esc leaves it and the row stays chosen.
                ASSERT_TRUE(d.clickListCell(c.field, 0, c.function == std::wstring(L"Tessary_DoListView") ? 1 : 0));
                if (*c.typed == 0) d.pressKey(VK_ESCAPE);
            }
            d.typeText(c.typed);
            d.pressKey(VK_RETURN, VK_CONTROL);
            EXPECT_TRUE(d.waitForClose(3000));
        });
        EXPECT_EQ(result, c.result);
        if (c.text1 != nullptr) {
            EXPECT_EQ(input(L"text1"), c.text1);
        }
    }
}
