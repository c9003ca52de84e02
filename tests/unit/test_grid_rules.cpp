// The window-free rules of the editable grid: edit kinds of columns, the
// choices of a drop-down column, and column widths.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "runtime/grid_rules.h"

namespace {

std::vector<std::u16string> texts(const std::vector<WideText> &list) {
    std::vector<std::u16string> out;
    for (const WideText &t : list) out.push_back(U(t));
    return out;
}

} // namespace

TEST(GridRules, EditKindOfAColumn) {
    const NarrowText kinds("ECexE");
    struct Case {
        int column;
        CellEdit expected;
    } cases[] = {
        {1, CellEdit::kText},  {2, CellEdit::kChoice}, {3, CellEdit::kFixed}, {4, CellEdit::kFixed},
        {5, CellEdit::kText},  {6, CellEdit::kFixed},  {0, CellEdit::kFixed}, {-1, CellEdit::kFixed},
    };
    for (const Case &c : cases) EXPECT_EQ(cellEditOf(kinds, c.column), c.expected) << "column " << c.column;
    // No fixed limit on letters: column 100 of 100 'C's is a choice column.
    EXPECT_EQ(cellEditOf(NarrowText(std::string(100, 'C').c_str()), 100), CellEdit::kChoice);
    EXPECT_EQ(cellEditOf(NarrowText(""), 1), CellEdit::kFixed);
}

TEST(GridRules, TabGoesToTheNextCellThatOpens) {
    // Columns: text, choice without choices, fixed, choice with choices.
    const NarrowText kinds("ECeC");
    const WideText values(u"\r\r\ra|b|");
    struct Case {
        const char *what;
        int rows;
        GridCell from;
        int step;
        GridCell expected;
    } cases[] = {
        {"past a column without choices and a fixed one", 3, {0, 1}, 1, {0, 4}},
        {"on to the next row", 3, {0, 4}, 1, {1, 1}},
        {"back to the row before", 3, {1, 1}, -1, {0, 4}},
        {"round the end", 3, {2, 4}, 1, {0, 1}},
        {"round the start", 3, {0, 1}, -1, {2, 4}},
        {"from a fixed cell", 3, {1, 3}, 1, {1, 4}},
        {"a row beyond the grid counts as its last", 3, {7, 1}, 1, {2, 4}},
        {"one row: round to its start", 1, {0, 4}, 1, {0, 1}},
        {"no rows", 0, {0, 1}, 1, {-1, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const GridCell next = nextEditableCell(kinds, values, c.rows, 4, c.from, c.step);
        EXPECT_EQ(next.row, c.expected.row);
        EXPECT_EQ(next.column, c.expected.column);
    }
    const GridCell none = nextEditableCell(NarrowText("eC"), WideText(u""), 2, 2, GridCell{0, 1}, 1);
    EXPECT_EQ(none.row, -1) << "nothing opens";
    const GridCell alone = nextEditableCell(NarrowText("Ee"), WideText(u""), 1, 2, GridCell{0, 1}, 1);
    EXPECT_EQ(alone.row, 0);
    EXPECT_EQ(alone.column, 1) << "the only cell that opens";
}

TEST(GridRules, ChoicesOfAColumn) {
    struct Case {
        const char *what;
        const char16_t *values;
        int column;
        std::vector<std::u16string> expected;
    } cases[] = {
        {"one line serves every column", u"pear|Apple|banana|", 3, {u"Apple", u"banana", u"pear"}},
        {"line of the column", u"x|\rpear|Apple|\r", 2, {u"Apple", u"pear"}},
        {"first line", u"x|\rpear|Apple|\r", 1, {u"x"}},
        {"an empty line", u"x|\rpear|Apple|\r", 3, {}},
        {"beyond the last line", u"x|\rpear|Apple|\r", 4, {}},
        {"CR LF breaks a line once", u"a|\r\nb|c|", 2, {u"b", u"c"}},
        {"a last choice without its bar", u"p|q\rr", 1, {u"p", u"q"}},
        {"the last line without its bar", u"p|q\rr", 2, {u"r"}},
        {"case is ignored, capitals first", u"b|B|a|A|", 1, {u"A", u"a", u"B", u"b"}},
        {"a prefix sorts first", u"ab|a|", 1, {u"a", u"ab"}},
        {"beyond ASCII by code", u"\u00e9|z|\u65e5|", 1, {u"z", u"\u00e9", u"\u65e5"}},
        {"an empty choice clears the cell", u"a||b|", 1, {u"", u"a", u"b"}},
        {"no text", u"", 1, {}},
        {"only a bar", u"|", 1, {u""}},
        {"the hidden column", u"a|", 0, {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(texts(columnChoices(W(c.values), c.column)), c.expected) << c.what;
    }
}

TEST(GridRules, TheCellsOwnTextIsChosen) {
    const std::vector<WideText> choices = {W(u"Apple"), W(u"banana"), W(u"")};
    EXPECT_EQ(choiceIndex(choices, W(u"banana")), 1);
    EXPECT_EQ(choiceIndex(choices, W(u"apple")), -1) << "exact, not by case";
    EXPECT_EQ(choiceIndex(choices, W(u"Ap")), -1) << "whole, not a prefix";
    EXPECT_EQ(choiceIndex(choices, W(u"")), 2);
    EXPECT_EQ(choiceIndex({}, W(u"")), -1);
}

TEST(GridRules, ColumnWidths) {
    struct Case {
        const char *widths;
        int count, room;
        std::vector<int> expected;
    } cases[] = {
        {"", 3, 312, {104, 104, 104}},                 // none given: an even share each
        {"", 3, 310, {103, 103, 103}},
        {"50|20|30", 3, 200, {100, 40, 60}},
        {"33.3|33.3|33.4", 3, 300, {99, 99, 100}},      // fractions that add up to 100 stay as given
        {"50||", 3, 312, {156, 78, 78}},                // empty pieces share what is left
        {"50|25.5|| x|200000|12abc| 7", 8, 200, {0, 0, 0, 0, 199, 0, 0, 0}}, // over 100: scaled down
        {"60|60", 2, 200, {100, 100}},
        {"80|40|", 3, 300, {200, 100, 0}},              // nothing left for the empty one
        {"10|10|10", 4, 400, {40, 40, 40, 280}},        // a missing piece counts as empty
        {"25|12abc| 7", 3, 200, {50, 24, 14}},          // digits up to the first other character; blanks
        {"100000", 1, 40000, {32767}},                  // the widest column a list view takes
        {"-20|50", 2, 100, {0, 50}},
        {"50", 1, 0, {}},
        {"50", 1, -18, {}},
        {"50", 0, 200, {}},
    };
    for (const Case &c : cases) {
        const NarrowText text(c.widths);
        EXPECT_EQ(dataColumnWidths(NarrowFields(text), c.count, c.room), c.expected)
            << '"' << c.widths << "\" for " << c.count << " columns in " << c.room;
    }
}

TEST(GridRules, ColumnsShareTheRoomInsideTheList) {
    struct Case {
        const char *what;
        ListRoom list;
        int room;
    } cases[] = {
        // inside width, view height, rows, row height, scroll bar, fixed columns
        {"rows that fit keep the whole width", {335, 200, 4, 17, 16, 25}, 310},
        {"rows that fill the view exactly", {335, 204, 12, 17, 16, 25}, 310},
        {"one row more shows the scroll bar", {335, 204, 13, 17, 16, 25}, 294},
        {"thirty rows", {335, 200, 30, 17, 16, 0}, 319},
        {"no rows", {335, 0, 0, 17, 16, 0}, 335},
        {"a row height not known", {335, 200, 30, 0, 16, 0}, 335},
        {"a list narrower than its fixed columns", {20, 200, 30, 17, 16, 25}, 0},
        {"rows past any pixel count", {335, 200, 2000000000, 2000, 16, 0}, 319},
    };
    for (const Case &c : cases) EXPECT_EQ(dataColumnsRoom(c.list), c.room) << c.what;

    // Percentages that add up to 100, fractions among them, never need more
    // than the room, whatever its width.
    const NarrowText thirdsText("33.3|33.3|33.4"), unevenText("12.5|37.5|50");
    const NarrowFields thirds(thirdsText), uneven(unevenText);
    for (int room = 0; room <= 400; ++room) {
        for (const NarrowFields *widths : {&thirds, &uneven}) {
            int sum = 0;
            for (int width : dataColumnWidths(*widths, 3, room)) sum += width;
            ASSERT_LE(sum, room);
            ASSERT_GE(sum, room - 3) << "the columns fill the room";
        }
    }
}
