// Tips over the lists of a dialog (the check-box list, the grid, the plain
// lists of the dual list): a cell that its column cuts short shows its
// whole text while the mouse rests on it. A list gets its tip at the
// mouse's first move over it, from the dialog's loop, so a list nobody
// points at makes no window for it.
#ifndef TESSARY_RUNTIME_CELL_TIPS_WIN_H
#define TESSARY_RUNTIME_CELL_TIPS_WIN_H

#include <windows.h>
#include <commctrl.h>

// A mouse message of the dialog's loop: over a list of the dialog, it goes
// to the list's tip, made at the first.
void followListMouse(const MSG &message);
// Answers a tip's request for its text (TTN_GETDISPINFO): the cell under
// the mouse when it does not fit its column, else nothing, so no tip
// shows. False when the notification is no list tip's.
bool answerCellTip(NMHDR *header);

#endif
