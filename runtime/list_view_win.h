// The few list view operations that the lists, the grid and the dual list
// share, each one message to the control. A list that holds no rows of its
// own keeps them in owner_data_win.h.
#ifndef TESSARY_RUNTIME_LIST_VIEW_WIN_H
#define TESSARY_RUNTIME_LIST_VIEW_WIN_H

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "model/fields.h"
#include "model/text.h"

// State images of a row in a list with check boxes; 0 is a list without.
constexpr int kUncheckedImage = 1;
constexpr int kCheckedImage = 2;

// Units a cell reader asks for first; a longer cell is read again whole.
constexpr size_t kFirstCellUnits = 10000;

int rowCount(HWND list);

void insertColumn(HWND list, int index, const TextUnit *title, int width, int format);
// Inserts a row whose first cell is `label` (LPSTR_TEXTCALLBACKW: asked for
// when needed); with a check box it starts unchecked.
void insertRow(HWND list, int row, const TextUnit *label, bool withCheckBox);
void appendRow(HWND list, const WideText &label);
// True when some row's first cell is exactly `label`.
bool holdsRow(HWND list, const WideText &label);

// Leaves no row of the list selected.
void clearSelection(HWND list);
// Makes `row` the list's focused and only selected row, in view.
void makeCurrentRow(HWND list, int row);

// Reads the cells of a list that holds its rows through one buffer, which
// grows to the longest cell read, so every cell comes back whole.
class CellReader {
public:
    explicit CellReader(HWND list);
    // The cell's units; valid until the next read.
    const TextUnit *read(int row, int column, size_t &length);
    WideText text(int row, int column);

private:
    HWND list_;
    std::vector<TextUnit> buffer_;
};

// Column 0 of fitListColumns that takes the whole room: a plain list's one
// column.
constexpr int kWholeRoom = -1;

// Moves a list to `place` (in its parent's coordinates) and sizes its
// columns for that size by the rule of grid_rules.h: column 0 `first`
// pixels wide (kWholeRoom: the room itself), data columns 1..count by
// `widths` in percent of the room. A column that keeps its width is not
// touched, so a list of thousands of columns that did not change size costs
// nothing.
void fitListColumns(HWND list, const RECT &place, int first, const NarrowFields &widths, int count);

// Stops a list view from repainting while it is filled row by row, and
// repaints it once at the end.
class RedrawPause {
public:
    explicit RedrawPause(HWND window);
    ~RedrawPause();
    RedrawPause(const RedrawPause &) = delete;
    RedrawPause &operator=(const RedrawPause &) = delete;

private:
    HWND window_;
};

#endif
