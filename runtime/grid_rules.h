// The rules of the editable grid ("listboxview") that need no window: how a
// column's cells are edited, which choices a drop-down column offers and in
// what order, and how wide the columns of every list are. The cell editor
// (cell_editor_win.cpp), the control factory and the dialog procedure build
// on these; the native build tests them directly.
#ifndef TESSARY_RUNTIME_GRID_RULES_H
#define TESSARY_RUNTIME_GRID_RULES_H

#include <cstddef>
#include <vector>

#include "model/fields.h"
#include "model/text.h"

constexpr int kCheckColumnWidth = 25;       /* script units: the check-box column of a check-box list */
constexpr size_t kMaxWidthTextUnits = 1023; // a column widths text is read up to this

// How the cells of one column are edited.
enum class CellEdit {
    kText,    // 'E': an edit box over the cell
    kChoice,  // 'C': a drop-down list of the column's choices
    kFixed    // 'e', any other letter or none: not editable
};

// The edit kind of data column `column` (from 1): letter `column` of the
// kinds text. Every letter counts, however many columns there are.
CellEdit cellEditOf(const NarrowText &kinds, int column);

// The choices that drop-down column `column` (from 1) offers, sorted for the
// list. `values` holds one line per data column, lines apart by CR (an LF
// right after a CR belongs to the line break); a text without CR is one line
// that serves every column. A line lists choices each ended by '|'; the end
// of the line ends a last choice that lacks it. A column beyond the last
// line has no choices. The order ignores the case of A to Z and puts equal
// texts of different case capitals first, so it never depends on the order
// the choices were written in.
std::vector<WideText> columnChoices(const WideText &values, int column);

// A cell of the grid: row from 0, data column from 1.
struct GridCell {
    int row;
    int column;
};

// The cell that Tab (step 1) or Shift+Tab (step -1) goes to from `from` in
// a grid of `rows` x `columns`: the next one, row by row and round the
// end, that opens anything, a text cell or a choice cell with choices in
// `values`. `from` itself when no other cell does; {-1, 0} when none does.
GridCell nextEditableCell(const NarrowText &kinds, const WideText &values, int rows, int columns, GridCell from,
                          int step);

// Index of the choice that is exactly `current` (unit by unit); -1 when no
// choice is, so that an empty or unknown cell text preselects nothing.
int choiceIndex(const std::vector<WideText> &choices, const WideText &current);


// What decides the room a list leaves its data columns, in pixels.
struct ListRoom {
    int insideWidth;    // the list's width inside its borders
    int viewHeight;     // its height inside the borders, less the column header's
    int rows;
    int rowHeight;
    int scrollBarWidth; // of a vertical scroll bar
    int fixedWidth;     // the columns before the data columns (a check-box column)
};

// The width the data columns share: the width inside the borders, less the
// vertical scroll bar's when the rows are taller than the view (the list
// then shows the bar inside its borders), less the fixed columns. Columns
// that share exactly this width leave nothing to scroll sideways and none
// lies under the scroll bar. Never negative.
int dataColumnsRoom(const ListRoom &list);

// Widths in pixels of data columns 1..`count` that share `room` pixels, at
// index column - 1: piece `column` of the widths text is that column's
// percent of the room. Pieces that add up to more than 100 are scaled down to
// 100 together; empty or missing pieces share evenly what the others leave
// (without any given piece, room / count each). Cut to whole pixels, so the
// columns never need more than the room. Never negative and never past
// 32,767, the widest a list view column takes. Empty for no room or columns.
std::vector<int> dataColumnWidths(const NarrowFields &widths, int count, int room);

#endif
