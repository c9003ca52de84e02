// The list dialogs through the host, with the dialog driver as the user.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dialog_test.h"

namespace {

using e2e::Args;

class ListDialogs : public e2e::DialogTest {};

// `count` cells "row 1", "row 2", ... each followed by '|'; `per` cells a row.
std::wstring numberedCells(int count, int per = 1) {
    std::wstring cells;
    for (int n = 1; n <= count; ++n) {
        for (int k = 0; k < per; ++k) cells += L"row " + std::to_wstring(n) + L"|";
    }
    return cells;
}

// The columns of list view `id` lie inside what the list shows: no
// sideways scroll bar, no column under the vertical one, and widths that
// add up to 100 percent fill the list but for the pixels they are cut by.
void expectColumnsFit(driver::Dialog &d, int id, bool overflowing) {
    const driver::ControlInfo list = d.control(id);
    ASSERT_TRUE(list.exists());
    EXPECT_FALSE(list.style & WS_HSCROLL) << "list " << id;
    EXPECT_EQ(bool(list.style & WS_VSCROLL), overflowing) << "list " << id;
    RECT client{};
    GetClientRect(list.hwnd, &client);
    const std::vector<int> widths = d.listColumnWidths(id);
    int right = 0;
    for (int w : widths) right += w;
    EXPECT_LE(right, client.right) << "list " << id;
    EXPECT_GE(right, client.right - int(widths.size())) << "list " << id;
}

int checkedRows(driver::Dialog &d, int id) {
    int checked = 0;
    for (int row = 0; row < d.listRowCount(id); ++row) checked += d.listRowChecked(id, row) ? 1 : 0;
    return checked;
}

} // namespace

TEST_F(ListDialogs, CheckedRowsAndTheInputRowComeBack) {
    std::wstring result = show(
        L"Tessary_DoList",
        {L"multi b1ns", L"3", L"Fruit|Count|Origin", L"50|20|30", L"LRC", L"Fruit", L"Pick some fruit:",
         L"Apple|1|Norway|Pear|2|\u65e5\u672c|Plum|3|Chile", L"Pear", L"Take", L"Cancel", L"", L"", L"", L"edit",
         L"Note", L""},
        [](driver::Dialog &d) {
            EXPECT_EQ(d.listColumnCount(36), 4);
            EXPECT_EQ(d.listCell(36, 1, 3), L"\u65e5\u672c");
            EXPECT_TRUE(d.listRowChecked(36, 1));
            // The first checked row is the current one.
            EXPECT_EQ(SendMessageW(d.control(36).hwnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 1);
            // A row checked at start does not count as a click: "b1ns" waits.
            EXPECT_FALSE(d.control(4).enabled);
            d.clickListCheckbox(36, 2);
            EXPECT_TRUE(d.control(4).enabled);
            // Unticked again, and ticked once more: the button follows.
            d.clickListCheckbox(36, 2);
            d.clickListCheckbox(36, 1);
            EXPECT_FALSE(d.control(4).enabled);
            d.clickListCheckbox(36, 1);
            d.clickListCheckbox(36, 2);
            EXPECT_TRUE(d.control(4).enabled);
            d.click(37);
            d.typeText(L"ripe \u00e9");
            d.click(4);
        });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"Pear|2|\u65e5\u672c|\rPlum|3|Chile|");
    EXPECT_EQ(input(L"text2"), L"ripe \u00e9");
}

TEST_F(ListDialogs, ColumnsFitInsideEveryListKind) {
    for (int rows : {4, 30}) {
        SCOPED_TRACE(std::to_string(rows) + " rows");
        const bool overflowing = rows == 30;
        auto check = [&](driver::Dialog &d, std::initializer_list<int> lists) {
            for (int id : lists) expectColumnsFit(d, id, overflowing);
            // Every resize lays the columns out by the same rule.
            d.resize(520, 420);
            for (int id : lists) expectColumnsFit(d, id, overflowing);
            d.click(4);
        };
        show(L"Tessary_DoList",
             {L"", L"2", L"Name|Note", L"40|60", L"", L"T", L"Pick:", numberedCells(rows, 2), L"", L"OK", L""},
             [&](driver::Dialog &d) { check(d, {36}); });
        // Without titles each cell is a row of one column, which fills the list.
        show(L"Tessary_DoList", {L"", L"", L"", L"", L"", L"T", L"", numberedCells(rows), L"", L"OK", L""},
             [&](driver::Dialog &d) { check(d, {36}); });
        show(L"Tessary_DoListView",
             {L"", L"EE", L"Name|Note", L"30|70", L"", L"", L"T", L"Edit:", numberedCells(rows, 2), L"OK", L""},
             [&](driver::Dialog &d) { check(d, {36}); });
        show(L"Tessary_DoDualListDialog",
             {L"", L"T", L"", L"All", numberedCells(rows), L"Chosen", numberedCells(rows), L"OK"},
             [&](driver::Dialog &d) { check(d, {36, 37}); });
    }
}

TEST_F(ListDialogs, DualListMovesCopiesAndReturnsTheChoice) {
    // Copy mode: the left list stays a fixed source.
    std::wstring result = show(L"Tessary_DoDualListDialog",
                               {L"", L"Team", L"Who comes?", L"Everyone", L"Ann|Bob|\u0396\u03c9\u03ae", L"Coming",
                                L"bob", L"OK", L"Cancel"},
                               [](driver::Dialog &d) {
        EXPECT_FALSE(d.control(8).enabled);
        EXPECT_TRUE(d.control(10).enabled);
        // "Bob" is held already as "bob": the search ignores case.
        d.clickListCell(36, 1, 0);
        EXPECT_TRUE(d.control(8).enabled);
        d.click(8);
        EXPECT_EQ(d.listRowCount(37), 1);
        EXPECT_FALSE(d.control(8).enabled);
        // The row moved is chosen again by a click of its own.
        d.clickListCell(36, 1, 0);
        EXPECT_TRUE(d.control(8).enabled);
        d.click(10); // >>
        EXPECT_EQ(d.listRowCount(37), 3);
        EXPECT_EQ(d.listRowCount(36), 3);
        EXPECT_FALSE(d.control(10).enabled);
        d.clickListCell(37, 0, 0);
        d.click(9); // < removes "bob" and adds no second "Bob" on the left
        EXPECT_EQ(d.listRowCount(36), 3);
        EXPECT_EQ(d.listRowCount(37), 2);
        // The lists share the width as the window grows.
        d.resize(600, 400);
        EXPECT_EQ(d.control(37).rect.left, 600 / 2 + 19);
        EXPECT_EQ(d.control(8).rect.left, 600 / 2 - 19);
        // One column fills a list: nothing to scroll sideways.
        EXPECT_FALSE(d.control(36).style & WS_HSCROLL);
        EXPECT_FALSE(d.control(37).style & WS_HSCROLL);
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"Ann|\u0396\u03c9\u03ae|");
    EXPECT_EQ(input(L"text2"), L"");

    // Move mode: items leave the list they come from.
    result = show(L"Tessary_DoDualListDialog", {L"moveText", L"Team", L"", L"", L"a|b|c", L"", L"", L"OK"},
                  [](driver::Dialog &d) {
        d.click(10);
        EXPECT_EQ(d.listRowCount(36), 0);
        EXPECT_EQ(d.listRowCount(37), 3);
        d.clickListCell(37, 2, 0);
        d.click(9);
        EXPECT_EQ(d.listRowCount(36), 1);
        // A click on empty space leaves no row to move.
        d.clickListCell(37, 0, 0);
        EXPECT_TRUE(d.control(9).enabled);
        d.clickAt(37, POINT{20, d.control(37).height() - 30});
        EXPECT_FALSE(d.control(9).enabled);
        // A double click moves its row as the button does.
        d.clickListCell(37, 1, 0, 2);
        EXPECT_EQ(d.listRowCount(36), 2);
        d.click(4);
    });
    EXPECT_EQ(input(L"text1"), L"a|");

    // Move mode shows an item the right list starts with on that side only,
    // case aside as the moves compare.
    result = show(L"Tessary_DoDualListDialog", {L"moveText", L"T", L"", L"", L"a|B|c|b", L"", L"b", L"OK"},
                  [](driver::Dialog &d) {
        EXPECT_EQ(d.listRowCount(36), 2);
        EXPECT_EQ(d.listCell(36, 1, 0), L"c");
        d.click(10);
        EXPECT_EQ(d.listRowCount(37), 3);
        d.click(4);
    });
    EXPECT_EQ(input(L"text1"), L"b|a|c|");
    show(L"Tessary_DoDualListDialog", {L"moveText", L"T", L"", L"", L"x", L"", L"X", L"OK"}, [](driver::Dialog &d) {
        EXPECT_EQ(d.listRowCount(36), 0);
        EXPECT_FALSE(d.control(10).enabled) << "nothing left to move right";
        d.click(4);
    });

    // Items with line breaks of every kind come back as they were given.
    const std::wstring items = L"a\rb|c\r\nd|e\nf|";
    result = show(L"Tessary_DoDualListDialog", {L"", L"T", L"", L"L", L"x", L"R", items, L"OK", L""},
                  [](driver::Dialog &d) { d.click(4); });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), items);
}

TEST_F(ListDialogs, ALongListShowsAndReturnsEveryRow) {
    // 200,000 rows of three cells: the list holds none of them itself and
    // asks for the rows it draws, so it opens and closes as a short one does.
    constexpr int kRows = 200000;
    std::wstring cells;
    cells.reserve(size_t(kRows) * 3 * 10);
    for (int row = 0; row < kRows; ++row) {
        wchar_t cell[16];
        for (int column = 0; column < 3; ++column) {
            swprintf(cell, 16, L"r%06dc%d", row, column);
            cells += cell;
            cells += L"|";
        }
    }
    std::wstring result = show(L"Tessary_DoList",
                               {L"multi", L"3", L"A|B|C", L"", L"", L"Long", L"", cells, L"", L"OK", L""},
                               [&](driver::Dialog &d) {
        const HWND list = d.control(36).hwnd;
        EXPECT_TRUE(d.control(36).style & LVS_OWNERDATA);
        EXPECT_EQ(d.listRowCount(36), kRows);
        EXPECT_EQ(d.listCell(36, kRows - 1, 3), L"r199999c2");
        // No widths given: the three columns share the list, as the window
        // was sized when it opened.
        const std::vector<int> widths = d.listColumnWidths(36);
        ASSERT_EQ(widths.size(), 4u);
        EXPECT_GT(widths[1], 80);
        EXPECT_EQ(widths[1], widths[2]);
        EXPECT_EQ(widths[2], widths[3]);
        // The last row, scrolled into view and ticked.
        EXPECT_TRUE(d.clickListCheckbox(36, kRows - 1));
        EXPECT_TRUE(d.listRowChecked(36, kRows - 1));
        // The list's search, which typing uses, finds a row by the start of
        // its first cell (the list asks the dialog). Asked directly: whether
        // typed keys join into one search depends on the half second the
        // list allows between them, which a loaded machine can take up.
        LVFINDINFOW find = {};
        find.flags = LVFI_STRING | LVFI_PARTIAL;
        find.psz = L"r15000";
        EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)), 150000);
        find.psz = L"R1999";
        EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)), 199900) << "case aside";
        find.psz = L"r2";
        EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)), -1);
        // Space ticks the focused row.
        ListView_SetItemState(list, 150000, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 150000);
        d.pressKey(VK_SPACE);
        EXPECT_TRUE(d.listRowChecked(36, 150000));
        d.click(4);
    }, 60000);
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"r150000c0|r150000c1|r150000c2|\rr199999c0|r199999c1|r199999c2|");
}

// Every row at once in a list of several choices: Ctrl+A, Ctrl+Shift+A and
// the list's menu, reached by keys; the buttons that wait for a checked row
// follow. A list of one choice offers none of it. Space right after opening
// checks the first row.
TEST_F(ListDialogs, EveryRowIsCheckedAtOnceInAListOfSeveral) {
    const Args args = {L"multi b1ns", L"1", L"Fruit", L"", L"", L"Fruit", L"", numberedCells(500), L"", L"OK", L""};
    std::wstring result = show(L"Tessary_DoList", args, [](driver::Dialog &d) {
        d.pressKey(VK_SPACE);
        EXPECT_TRUE(d.listRowChecked(36, 0));
        EXPECT_TRUE(d.control(4).enabled);
        d.pressKey('A', VK_CONTROL);
        EXPECT_EQ(checkedRows(d, 36), 500);
        d.pressKey(VK_SPACE);
        EXPECT_EQ(checkedRows(d, 36), 499) << "the count follows a click after Ctrl+A";
        e2e::chooseFromListMenu(d, {'I'});
        EXPECT_EQ(checkedRows(d, 36), 1);
        EXPECT_TRUE(d.listRowChecked(36, 0));
        // Ctrl+Shift+A: nothing checked, the button waits again.
        std::vector<INPUT> keys(6);
        const WORD order[] = {VK_CONTROL, VK_SHIFT, 'A', 'A', VK_SHIFT, VK_CONTROL};
        for (size_t k = 0; k < keys.size(); ++k) {
            keys[k].type = INPUT_KEYBOARD;
            keys[k].ki.wVk = order[k];
            if (k >= 3) keys[k].ki.dwFlags = KEYEVENTF_KEYUP;
        }
        SendInput(UINT(keys.size()), keys.data(), sizeof(INPUT));
        d.waitMs(300);
        EXPECT_EQ(checkedRows(d, 36), 0);
        EXPECT_FALSE(d.control(4).enabled);
        e2e::chooseFromListMenu(d, {'C'});
        EXPECT_EQ(checkedRows(d, 36), 500);
        EXPECT_TRUE(d.control(4).enabled);
        e2e::chooseFromListMenu(d, {'U'});
        EXPECT_EQ(checkedRows(d, 36), 0);
        d.clickListCheckbox(36, 2);
        d.clickListCheckbox(36, 4);
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"row 3|row 5|");

    Args single = args;
    single[0] = L"b1ns";
    show(L"Tessary_DoList", single, [](driver::Dialog &d) {
        d.pressKey('A', VK_CONTROL);
        EXPECT_EQ(checkedRows(d, 36), 0);
        // Its menu only sorts: no item takes the letter, Esc closes it.
        e2e::chooseFromListMenu(d, {'C', VK_ESCAPE});
        EXPECT_EQ(checkedRows(d, 36), 0);
        EXPECT_FALSE(d.control(4).enabled);
        d.pressKey(VK_SPACE);
        EXPECT_TRUE(d.listRowChecked(36, 0));
        d.click(4);
    });
    EXPECT_EQ(input(L"text1"), L"row 1");
}

// A click on a column's title sorts the rows by it, a second click the
// other way, and the title shows the arrow; texts with digits sort as
// numbers, case aside, and a column of numbers by value. The menu sorts
// too. What the list returns keeps the script's order.
TEST_F(ListDialogs, AClickOnATitleSortsTheRowsShownOnly) {
    const Args args = {L"multi", L"3", L"Name|Qty|Note", L"", L"", L"Sort", L"",
                       L"Item 10|5|x|item 2|40|y|Item 1|100|z|Item 2|-3|w", L"", L"OK", L""};
    auto column = [](driver::Dialog &d, int c) {
        std::wstring shown;
        for (int row = 0; row < d.listRowCount(36); ++row) shown += d.listCell(36, row, c) + L";";
        return shown;
    };
    std::wstring result = show(L"Tessary_DoList", args, [&](driver::Dialog &d) {
        ASSERT_TRUE(d.clickListTitle(36, 1));
        EXPECT_EQ(column(d, 1), L"Item 1;item 2;Item 2;Item 10;");
        EXPECT_EQ(e2e::sortArrow(d, 36, 1), HDF_SORTUP);
        d.clickListTitle(36, 1);
        EXPECT_EQ(column(d, 1), L"Item 10;item 2;Item 2;Item 1;") << "equal rows keep their order";
        EXPECT_EQ(e2e::sortArrow(d, 36, 1), HDF_SORTDOWN);
        d.clickListTitle(36, 2);
        EXPECT_EQ(column(d, 2), L"-3;5;40;100;");
        EXPECT_EQ(e2e::sortArrow(d, 36, 1), 0);
        EXPECT_EQ(e2e::sortArrow(d, 36, 2), HDF_SORTUP);
        // Checked where they are shown: "Item 2" and "Item 1".
        d.clickListCheckbox(36, 0);
        d.clickListCheckbox(36, 3);
        EXPECT_TRUE(d.listRowChecked(36, 0));
        // By the menu: past the three that check rows, the third column.
        d.click(36);
        e2e::chooseFromListMenu(d, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
        EXPECT_EQ(column(d, 3), L"w;x;y;z;");
        EXPECT_TRUE(d.listRowChecked(36, 0)) << "the marks go with their rows";
        EXPECT_TRUE(d.listRowChecked(36, 3));
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"Item 1|100|z|\rItem 2|-3|w|");
}

namespace {

struct TipSearch {
    HWND owner, found;
};

BOOL CALLBACK findTip(HWND w, LPARAM p) {
    TipSearch &s = *reinterpret_cast<TipSearch *>(p);
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == s.owner) {
        s.found = w;
        return FALSE;
    }
    return TRUE;
}

// The visible tip window of this thread's dialog `owner`; null when none.
HWND shownTip(HWND owner) {
    TipSearch search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), findTip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Rests the mouse on the middle of a cell of list `id`.
void restOnCell(driver::Dialog &d, int id, int row, int column) {
    const RECT cell = d.listCellRect(id, row, column);
    POINT at{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(d.hwnd(), &at);
    SetCursorPos(at.x, at.y);
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
}

} // namespace

// A cell its column cuts shows whole in a tip while the mouse rests on
// it, in the check-box list and the dual list; one that fits shows none.
TEST_F(ListDialogs, ACutCellShowsWholeInATip) {
    const std::wstring cut = L"Cherries from the south of Spain, picked ripe in June";
    const Args args = {L"", L"2", L"Fruit|Price", L"30|70", L"", L"Tips", L"", cut + L"|4|Figs|5", L"", L"OK", L""};
    show(L"Tessary_DoList", args, [&](driver::Dialog &d) {
        restOnCell(d, 36, 0, 1);
        ASSERT_TRUE(d.waitUntil([&] { return shownTip(d.hwnd()) != nullptr; }, 5000)) << "no tip for the cut cell";
        RECT tip{};
        GetWindowRect(shownTip(d.hwnd()), &tip);
        EXPECT_GT(tip.right - tip.left, d.listColumnWidths(36)[1]) << "the tip is wider than the column";
        restOnCell(d, 36, 1, 1);
        d.waitMs(1500);
        EXPECT_EQ(shownTip(d.hwnd()), nullptr) << "\"Figs\" fits its column";
        d.click(4);
    });
    // The lists of the dual list hold their rows themselves: the same.
    show(L"Tessary_DoDualListDialog", {L"", L"Tips", L"", L"", cut + L"|Figs", L"", L"", L"OK"},
         [&](driver::Dialog &d) {
        restOnCell(d, 36, 0, 0);
        EXPECT_TRUE(d.waitUntil([&] { return shownTip(d.hwnd()) != nullptr; }, 5000)) << "no tip for the cut item";
        restOnCell(d, 36, 1, 0);
        d.waitMs(1500);
        EXPECT_EQ(shownTip(d.hwnd()), nullptr);
        d.click(4);
    });
}
