// The rules of the editable grid ("listboxview") that need no window: how a
// column's cells are edited, which choices a drop-down column offers and in
// what order, and how wide the data columns of a list are. The cell editor
// (cell_editor_win.cpp), the control factory and the dialog procedure build
// on these; the native build tests them directly.
#ifndef TESSARY_RUNTIME_GRID_RULES_H
#define TESSARY_RUNTIME_GRID_RULES_H

#include <cstddef>
#include <vector>

#include "model/fields.h"
#include "model/text.h"

constexpr int kListWidthAllowance = 28;     /* px: border and scroll bar kept free of data columns */
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


// Width in pixels of data column `column` (from 1) of `count` in a list
// `listWidth` pixels wide: piece `column` of the widths text in percent of
// the usable width (listWidth - kListWidthAllowance), cut to whole pixels;
// an empty or missing piece gives an even share, usable / count. Never
// negative and never past 32,767, the widest a list view column takes.
int dataColumnWidth(const NarrowFields &widths, int column, int count, int listWidth);

#endif
