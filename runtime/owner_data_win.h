// The rows of a list that holds none of its own (LVS_OWNERDATA): the
// check-box list and the grid. The list asks for what it draws, so it opens
// in the same time at any length; its cell texts (lent from the slot's text,
// one copy for the whole list), check marks and the cells a user edited stay
// in its dialog's record, and are read and changed here without a message.
#ifndef TESSARY_RUNTIME_OWNER_DATA_WIN_H
#define TESSARY_RUNTIME_OWNER_DATA_WIN_H

#include <windows.h>
#include <commctrl.h>

#include "model/text.h"

// Gives `list` `rows` rows of `columns` cells each of the '|'-separated
// `text` (a last row may be short), for its columns 1..columns, until the
// dialog that holds it is gone; with `checkBoxes` each row has a check mark,
// unchecked at first.
void holdRows(HWND list, const WideText &text, int columns, int rows, bool checkBoxes);
// True for a list whose rows are held here.
bool holdsNoRows(HWND list);

// Every row below is a row as the list shows it, which a user may have
// sorted; the dialog's record keeps the rows in the script's order.

// ---- the order shown ----------------------------------------------------------

// The row of the record that list row `row` shows, and the list row that
// shows row `dataRow` of the record; the same number while the list is not
// sorted, -1 for no such row.
int dataRowOf(HWND list, int row);
int viewRowOf(HWND list, int dataRow);
// Shows the rows in the order of data column `column` (from 1): ascending,
// or descending when they are in its ascending order already. Texts compare
// as the user's locale sorts them, case aside, digits as numbers; a column
// of numbers by value; equal cells keep their order. The column's title
// shows the arrow of the order, and the focused row stays focused. False
// for a list that holds rows of its own or no such column.
bool sortHeldRows(HWND list, int column);

// ---- check marks ----------------------------------------------------------

// The state image of `row`: kCheckedImage or kUncheckedImage, 0 for no row
// or a list without check marks.
int heldCheck(HWND list, int row);
// Sets the mark of `row` and tells the dialog of the change as a list that
// holds its rows would (LVN_ITEMCHANGED), so the same rules follow it.
void setHeldCheck(HWND list, int row, int image);
// The same as the program, not the user: the dialog takes the notification
// of the change for no click.
void setOwnRowCheck(HWND list, int row, int image);
// True while the program sets a check mark of `list`.
bool settingOwnCheck(HWND list);
// A change of a check mark that the list made itself (a click on the box,
// on systems whose list views do so) taken into the record; false when the
// change is none of that.
bool takeListCheckChange(HWND list, const NMLISTVIEW &change);
// A click on a row's check box: the mark turns over, unless the list turned
// it itself during the click.
void onCheckBoxClick(HWND list, const NMITEMACTIVATE &click);

// What a user does to every row at once.
enum class EveryRow { kCheck, kUncheck, kInvert };
// Changes the mark of every row of a list with check marks in one go, with
// one repaint and no notification a row: a list of a million rows takes it
// at once. Returns how many rows are checked afterwards; 0 for a list
// without check marks.
int markEveryRow(HWND list, EveryRow how);

// ---- cells ------------------------------------------------------------------

// A cell as the list shows it: what a user put there, else the lent text.
// Column 0 is the row's first data cell. Empty for no such cell; the units
// stay valid until the cell is changed.
const TextUnit *heldCell(HWND list, int row, int column, size_t &length);
WideText heldCellText(HWND list, int row, int column);
// What a user put into a cell; it holds its own text from then on.
void setHeldCell(HWND list, int row, int column, const TextUnit *text);

// ---- the list's requests --------------------------------------------------

// Answers a list's request for a cell's text or a row's check mark
// (LVN_GETDISPINFO). False when the list holds rows of its own. A row's own
// text (column 0, hidden or a check box) is its first data cell, which the
// list's search as the user types and a screen reader take; the list draws
// it empty.
bool answerCellText(NMLVDISPINFOW *request);
// The row the list finds as the user types (LVN_ODFINDITEM), by the start
// of its first cell; -1 when none.
int answerFindRow(const NMLVFINDITEMW *request);
// Follows the list through its painting (NM_CUSTOMDRAW), so that a row's
// own text is drawn empty. False when the notification is no such list's;
// `answer` is then untouched.
bool followListPainting(const NMHDR *header, LRESULT &answer);

#endif
