// Editing the cells of a grid ("listboxview"): the main dialog procedure
// hands the grid's click and label-edit notifications here. A click on a
// text cell holds the list view's own label editor over that cell; a click
// on a choice cell lays a drop-down list of the column's choices over it.
// One cell of one grid is edited at a time.
#ifndef TESSARY_RUNTIME_CELL_EDITOR_H
#define TESSARY_RUNTIME_CELL_EDITOR_H

#include <windows.h>

// Handles NM_CLICK, NM_DBLCLK, LVN_BEGINLABELEDIT and LVN_ENDLABELEDIT of
// the grid `listView`, whose slot is `slot`. Returns the dialog's answer to
// the notification: TRUE refuses a label edit the list view wants to begin,
// FALSE lets it begin, and keeps the hidden label unchanged when it ends.
LRESULT cellEditorHandler(HWND listView, UINT message, WPARAM slot, NMHDR *header);

// Every control exists: the grid's cell cursor starts at its first data
// column (the opened step of the "listboxview" kind).
void startCellCursor(HWND dialogWindow, int slot);

// A key for the grid of `slot` or for the editor open over one of its
// cells, before the dialog manager sees it. On the grid, Left and Right
// move the cell cursor along the focused row; F2, or Enter, opens the
// cell's editor, its choice list or (for a cell that opens nothing) a
// read-only box of its text; F4 or Alt+Down opens a choice cell's list;
// typing a character opens the editor with it. In an editor or choice list
// Tab and Shift+Tab keep what it holds and open the next or previous cell
// that opens anything. True when the key was taken.
bool cellEditorKey(HWND dialogWindow, int slot, const MSG &message);

// Draws the cell cursor on the focused row of a grid that has the focus
// (NM_CUSTOMDRAW). False when the notification is no such grid's.
bool paintCellCursor(const NMHDR *header, LRESULT &answer);

// The grid's columns or place changed: a drop-down list over a cell goes
// (the cell keeps its text), and an open text editor moves over its cell.
void cellEditorFollowLayout(HWND listView);

#endif
