// The few list view operations that the lists, the grid and the dual list
// share, each one message to the control.
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
int rowStateImage(HWND list, int row);
void setRowStateImage(HWND list, int row, int image);

void insertColumn(HWND list, int index, const TextUnit *title, int width, int format);
// Inserts a row whose first cell is `label` (LPSTR_TEXTCALLBACKW: asked for
// when needed); with a check box it starts unchecked.
void insertRow(HWND list, int row, const TextUnit *label, bool withCheckBox);
void appendRow(HWND list, const WideText &label);
void setCellText(HWND list, int row, int column, const TextUnit *text);
// True when some row's first cell is exactly `label`.
bool holdsRow(HWND list, const WideText &label);

// Reads cells through one buffer, which grows to the longest cell read, so
// every cell comes back whole.
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

// Cell texts that a list view asks for as it draws them, instead of a copy
// in every cell: a long list then fills with one message a row. The list
// gets `columns` cells a row of the '|'-separated `text` (its dialog keeps a
// copy) for its columns 1..columns, until the dialog that holds it is gone.
// With `heldRows` of 0 or more the list holds no rows of its own
// (LVS_OWNERDATA): it shows that many, their check marks (unchecked at
// first, with `checkBoxes`) and edited cells kept with the texts, and the
// functions here read and change them there, telling the dialog of a change
// of a check mark as a list that holds its rows would.
void lendCellTexts(HWND list, const WideText &text, int columns, int heldRows = -1, bool checkBoxes = false);
// True for a list that holds no rows of its own.
bool holdsNoRows(HWND list);
// A change of a check mark that such a list made itself (a click on the
// box, on systems whose list views do so) taken into its record; false
// when the change is none of that.
bool takeListCheckChange(HWND list, const NMLISTVIEW &change);
// A click on a row's check box of such a list: the mark turns over, unless
// the list turned it itself during the click.
void onCheckBoxClick(HWND list, const NMITEMACTIVATE &click);
// The row a list that holds no rows finds as the user types (LVN_ODFINDITEM),
// by the start of its first cell; -1 when none.
int answerFindRow(const NMLVFINDITEMW *request);
// Answers a list view's request for a cell's text. False when the list has
// no lent texts and the request is someone else's. A row's own text (column
// 0, hidden or a check box) is its first data cell, which the list's search
// as the user types and a screen reader take; the list draws it empty.
bool answerCellText(NMLVDISPINFOW *request);
// Follows a list with lent texts through its painting (NM_CUSTOMDRAW), so
// that a row's own text is drawn empty. False when the notification is no
// such list's; `answer` is then untouched.
bool followListPainting(const NMHDR *header, LRESULT &answer);

// Sets a row's check mark as the program, not the user: the list's
// notifications of the change are not taken for a click.
void setOwnRowCheck(HWND list, int row, int image);
// True while the program sets a check mark of `list`.
bool settingOwnCheck(HWND list);

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
