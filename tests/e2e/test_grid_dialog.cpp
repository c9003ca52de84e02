// Tessary_DoListView through the host: the dialog driver edits the grid's
// cells as a user does, with real clicks and keystrokes, and the grid comes
// back through Tessary_GetInput("text1").
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "dialog_test.h"

namespace {

using e2e::Args;

constexpr int kGrid = 36;
constexpr int kCellEditor = 41111; // the drop-down list over a choice cell
constexpr int kOk = 4;
constexpr int kSecondButton = 5;

// Outside the ANSI code page: Japanese, and a character beyond 16 bits.
const wchar_t kTea[] = L"\u65e5\u672c\u8336";
const wchar_t kTyped[] = L"Zo\u00eb \u65e5\u672c \U0001F600";

// The label editor of the grid while one is open.
driver::ControlInfo textEditor(driver::Dialog &d) {
    driver::ControlInfo focused = d.focusedControl();
    return focused.hasClass(L"Edit") && focused.parent == d.control(kGrid).hwnd ? focused : driver::ControlInfo{};
}

class GridDialog : public e2e::DialogTest {
protected:
    std::wstring show(const Args &args, std::function<void(driver::Dialog &)> act) {
        return DialogTest::show(L"Tessary_DoListView", args, std::move(act), 60000);
    }

    std::wstring grid() { return input(L"text1"); }
};

// Columns: Name typed, Fruit chosen, Id read-only ('e'), Note not editable
// (a letter of no kind). Only the second line of choices is Fruit's.
const Args kFruitGrid = {L"b2ns", L"ECex", L"Name|Fruit|Id|Note", L"30|30|20|",
                         std::wstring(L"x|\rpear|Apple|banana|") + kTea + L"|\r", L"LLR", L"Fruit",
                         L"Edit the cells:", L"Ann|Pear|1|n1|Bob|kiwi|2|n2|Cy|banana|3|n3", L"OK", L"Cancel"};

} // namespace

TEST_F(GridDialog, TextCellsAreTypedAndChoiceCellsPicked) {
    std::wstring result = show(kFruitGrid, [](driver::Dialog &d) {
        // 339 pixels less the border's pixel on each side: three rows need
        // no scroll bar. The empty piece takes what the others leave.
        EXPECT_EQ(d.listColumnWidths(kGrid), (std::vector<int>{0, 101, 101, 67, 67}));
        EXPECT_FALSE(d.control(kSecondButton).enabled) << "b2ns waits for a chosen row";

        // A text cell: the editor covers exactly the cell and holds its text.
        ASSERT_TRUE(d.clickListCell(kGrid, 0, 1));
        driver::ControlInfo editor = textEditor(d);
        ASSERT_TRUE(editor.exists());
        const RECT cell = d.listCellRect(kGrid, 0, 1);
        EXPECT_EQ(editor.rect.left, cell.left);
        EXPECT_EQ(editor.rect.right, cell.right);
        EXPECT_EQ(editor.text, L"Ann");
        EXPECT_FALSE(editor.style & ES_READONLY);
        EXPECT_TRUE(d.control(kSecondButton).enabled);
        d.typeText(kTyped);
        d.pressKey(VK_RETURN);
        EXPECT_FALSE(textEditor(d).exists());
        EXPECT_EQ(d.listCell(kGrid, 0, 1), kTyped);
        EXPECT_EQ(d.listCell(kGrid, 0, 0), kTyped) << "a row's name is its first cell, as edited";

        // Esc leaves the cell as it was.
        ASSERT_TRUE(d.clickListCell(kGrid, 1, 1));
        d.typeText(L"lost");
        d.pressKey(VK_ESCAPE);
        EXPECT_EQ(d.listCell(kGrid, 1, 1), L"Bob");

        // A choice cell whose text is no choice: the sorted choices, none
        // chosen; a click on one writes it and takes the list away.
        ASSERT_TRUE(d.clickListCell(kGrid, 1, 2));
        driver::ControlInfo choices = d.control(kCellEditor);
        ASSERT_TRUE(choices.exists());
        EXPECT_EQ(choices.rect.left, d.listCellRect(kGrid, 1, 2).left);
        EXPECT_EQ(choices.rect.right, d.listCellRect(kGrid, 1, 2).right);
        EXPECT_EQ(d.comboItems(kCellEditor), (std::vector<std::wstring>{L"Apple", L"banana", L"pear", kTea}));
        EXPECT_EQ(d.comboSelection(kCellEditor), -1);
        EXPECT_TRUE(d.clickComboItem(kCellEditor, 3));
        EXPECT_FALSE(d.control(kCellEditor).exists());
        EXPECT_EQ(d.listCell(kGrid, 1, 2), kTea);

        // The cell's own text is chosen; the keyboard moves and Enter picks.
        ASSERT_TRUE(d.clickListCell(kGrid, 2, 2));
        EXPECT_EQ(d.comboSelection(kCellEditor), 1);
        d.pressKey(VK_DOWN);
        EXPECT_EQ(d.listCell(kGrid, 2, 2), L"banana") << "moving through the list chooses nothing yet";
        d.pressKey(VK_RETURN);
        EXPECT_FALSE(d.control(kCellEditor).exists());
        EXPECT_EQ(d.listCell(kGrid, 2, 2), L"pear");

        // Read-only and unknown columns: a click opens nothing, and an edit
        // the list view starts by itself on a second click only shows the text.
        for (int column : {3, 4}) {
            SCOPED_TRACE(column);
            const std::wstring before = d.listCell(kGrid, 0, column);
            ASSERT_TRUE(d.clickListCell(kGrid, 0, column));
            EXPECT_FALSE(d.control(kCellEditor).exists());
            ASSERT_TRUE(d.clickListCell(kGrid, 0, column));
            d.waitMs(2 * GetDoubleClickTime());
            driver::ControlInfo shown = textEditor(d);
            if (shown.exists()) {
                EXPECT_TRUE(shown.style & ES_READONLY);
            }
            d.typeText(L"9");
            d.pressKey(VK_RETURN);
            EXPECT_EQ(d.listCell(kGrid, 0, column), before);
        }
        // A click below the rows chooses none, and b2ns waits again.
        const RECT table = d.control(kGrid).rect;
        ASSERT_TRUE(d.clickClient(POINT{table.left + 40, table.bottom - 20}));
        EXPECT_EQ(d.listSelectedRow(kGrid), -1);
        EXPECT_FALSE(d.control(kSecondButton).enabled);
        d.click(kOk);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(grid(), std::wstring(kTyped) + L"|Pear|1|n1|\rBob|" + kTea + L"|2|n2|\rCy|pear|3|n3|");
}

TEST_F(GridDialog, ResizingKeepsTheEditorOverItsCell) {
    std::wstring result = show(kFruitGrid, [](driver::Dialog &d) {
        ASSERT_TRUE(d.clickListCell(kGrid, 1, 1));
        d.typeText(L"Dee");
        ASSERT_TRUE(d.resize(600, 420));
        driver::ControlInfo editor = textEditor(d);
        ASSERT_TRUE(editor.exists()) << "the editor stays open";
        const RECT cell = d.listCellRect(kGrid, 1, 1);
        EXPECT_EQ(cell.right - cell.left, (600 - 44 - 2) * 30 / 100);
        EXPECT_EQ(editor.rect.left, cell.left);
        EXPECT_EQ(editor.rect.right, cell.right);
        EXPECT_EQ(editor.text, L"Dee");
        d.savePng(L"grid_editing.png");

        // So does a drag of the column's divider in the header.
        const RECT table = d.control(kGrid).rect;
        const int header = table.top + 1 + (d.listCellRect(kGrid, 0, 1).top - table.top - 1) / 2;
        ASSERT_TRUE(d.drag(POINT{cell.right, header}, POINT{cell.right + 40, header}));
        const RECT wider = d.listCellRect(kGrid, 1, 1);
        EXPECT_EQ(wider.right - wider.left, cell.right - cell.left + 40);
        editor = textEditor(d);
        ASSERT_TRUE(editor.exists()) << "the editor stays open";
        EXPECT_EQ(editor.rect.right, wider.right);
        d.pressKey(VK_RETURN);
        EXPECT_EQ(d.listCell(kGrid, 1, 1), L"Dee");

        // A drop-down list goes with a resize; its cell keeps its text.
        ASSERT_TRUE(d.clickListCell(kGrid, 0, 2));
        ASSERT_TRUE(d.control(kCellEditor).exists());
        ASSERT_TRUE(d.resize(500, 400));
        EXPECT_FALSE(d.control(kCellEditor).exists());
        EXPECT_EQ(d.listCell(kGrid, 0, 2), L"Pear");
        d.click(kSecondButton);
    });
    EXPECT_EQ(result, L"2");
    EXPECT_EQ(grid(), L"Ann|Pear|1|n1|\rDee|kiwi|2|n2|\rCy|banana|3|n3|");
}

TEST_F(GridDialog, ClosedByItsCloseBoxItReadsNothing) {
    std::wstring result = show(kFruitGrid, [](driver::Dialog &d) {
        ASSERT_TRUE(d.clickListCell(kGrid, 0, 1));
        d.typeText(L"changed");
        d.pressKey(VK_RETURN);
        EXPECT_EQ(d.listCell(kGrid, 0, 1), L"changed");
        d.close();
    });
    EXPECT_EQ(result, L"");
    EXPECT_EQ(grid(), L"");
}

TEST_F(GridDialog, RowsAndColumnsOfTheListText) {
    struct Case {
        const char *what;
        const wchar_t *kinds;
        const wchar_t *listText;
        int rows, dataColumns;
        const wchar_t *text1;
    } cases[] = {
        {"a short last row", L"eee", L"a|b|c|d|e|f|g", 3, 3, L"a|b|c|\rd|e|f|\rg|||"},
        {"no list text", L"E", L"", 0, 1, L""},
        {"no column kinds", L"", L"x|y|", 2, 1, L"x|\ry|"},
        {"a closing bar and empty cells", L"EE", L"|b|c||", 2, 2, L"|b|\rc||"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring result = show({L"", c.kinds, L"", L"", L"", L"", L"T", L"", c.listText, L"OK", L"No"},
                                   [&](driver::Dialog &d) {
                                       EXPECT_EQ(d.listRowCount(kGrid), c.rows);
                                       EXPECT_EQ(d.listColumnCount(kGrid), c.dataColumns + 1);
                                       d.click(kSecondButton);
                                   });
        EXPECT_EQ(result, L"2");
        EXPECT_EQ(grid(), c.text1);
    }
}

TEST_F(GridDialog, HostileInputOpensAndReadsBackWhole) {
    std::wstring megabyte;
    while (megabyte.size() < 1000000) megabyte += L"cell|";
    std::wstring manyChoices;
    for (int i = 0; i < 100000; ++i) manyChoices += L"c" + std::to_wstring(i) + L"|";
    struct Case {
        const char *what;
        std::wstring kinds, choices, listText;
        int dataColumns;
        const wchar_t *typedAtEnd = L""; // typed at the end of the first cell
    } cases[] = {
        // The column kinds are read into a buffer of 10242 bytes. (A grid of
        // many thousand rows takes Wine's list view seconds to destroy, so
        // many rows come from the bars.)
        {"a million columns and a megabyte of cells", std::wstring(1000000, L'E'), L"", megabyte, 10241},
        {"ten thousand bars", L"E", L"", std::wstring(10000, L'|'), 1},
        {"a cell of thirty thousand characters", L"E", L"", std::wstring(30000, L'x') + L"|y|", 1, L"zz"},
        {"a hundred thousand choices", L"C", manyChoices, L"c5|", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // Every cell of the list text in its row, each followed by '|', rows
        // apart by CR, a short last row filled up with empty cells.
        std::vector<std::wstring> cells;
        for (size_t at = 0, bar; at < c.listText.size(); at = bar + 1) {
            bar = c.listText.find(L'|', at);
            if (bar == std::wstring::npos) bar = c.listText.size();
            cells.push_back(c.listText.substr(at, bar - at));
        }
        cells[0] += c.typedAtEnd;
        const size_t rows = (cells.size() + c.dataColumns - 1) / c.dataColumns;
        std::wstring expected;
        for (size_t i = 0; i < rows * c.dataColumns; ++i) {
            if (i > 0 && i % c.dataColumns == 0) expected += L'\r';
            expected += (i < cells.size() ? cells[i] : L"") + L"|";
        }

        const DWORD start = GetTickCount();
        DWORD opened = 0;
        std::wstring result = show({L"", c.kinds, L"", L"", c.choices, L"", L"T", L"", c.listText, L"OK", L""},
                                   [&](driver::Dialog &d) {
                                       opened = GetTickCount();
                                       EXPECT_EQ(d.listRowCount(kGrid), int(rows));
                                       EXPECT_EQ(d.listColumnCount(kGrid), c.dataColumns + 1);
                                       if (!c.choices.empty()) {
                                           ASSERT_TRUE(d.clickListCell(kGrid, 0, 1));
                                           EXPECT_EQ(d.comboItems(kCellEditor).size(), 100000u);
                                           // Sorted as text: c0, then 11111 numbers
                                           // beginning with each of 1 to 4.
                                           EXPECT_EQ(d.comboSelection(kCellEditor), 1 + 4 * 11111);
                                           d.pressKey(VK_ESCAPE);
                                       }
                                       if (*c.typedAtEnd != 0) {
                                           ASSERT_TRUE(d.clickListCell(kGrid, 0, 1));
                                           ASSERT_TRUE(textEditor(d).exists());
                                           d.pressKey(VK_END);
                                           d.typeText(c.typedAtEnd);
                                           d.pressKey(VK_RETURN);
                                       }
                                       d.click(kOk);
                                   });
        EXPECT_LT(opened - start, 10000u) << "opening took too long";
        EXPECT_EQ(result, L"1");
        const std::wstring text1 = grid();
        EXPECT_EQ(text1.size(), expected.size());
        EXPECT_TRUE(text1 == expected) << "the grid did not come back whole";
    }
}

// A click on a title sorts the rows the grid shows, a second click the
// other way; a cell edited in the sorted grid is its row's, and the grid
// comes back in the script's order.
TEST_F(GridDialog, ATitleClickSortsTheRowsShownOnly) {
    auto column = [](driver::Dialog &d, int c) {
        std::wstring shown;
        for (int row = 0; row < d.listRowCount(kGrid); ++row) shown += d.listCell(kGrid, row, c) + L";";
        return shown;
    };
    std::wstring result = show(kFruitGrid, [&](driver::Dialog &d) {
        ASSERT_TRUE(d.clickListTitle(kGrid, 2));
        EXPECT_EQ(column(d, 2), L"banana;kiwi;Pear;");
        EXPECT_EQ(e2e::sortArrow(d, kGrid, 2), HDF_SORTUP);
        d.clickListTitle(kGrid, 3);
        d.clickListTitle(kGrid, 3);
        EXPECT_EQ(column(d, 3), L"3;2;1;");
        EXPECT_EQ(e2e::sortArrow(d, kGrid, 3), HDF_SORTDOWN);
        EXPECT_EQ(e2e::sortArrow(d, kGrid, 2), 0);
        ASSERT_TRUE(d.clickListCell(kGrid, 0, 1));
        ASSERT_TRUE(textEditor(d).exists());
        EXPECT_EQ(textEditor(d).text, L"Cy");
        d.typeText(L"Cyd");
        d.pressKey(VK_RETURN);
        EXPECT_EQ(d.listCell(kGrid, 0, 1), L"Cyd");
        d.click(kOk);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(grid(), L"Ann|Pear|1|n1|\rBob|kiwi|2|n2|\rCyd|banana|3|n3|");
}
