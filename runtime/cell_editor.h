// Editing the cells of a table ("listboxview"): the main dialog procedure
// hands the table's click and label-edit notifications here. A click on a
// text cell holds the list view's own label editor over that cell; a click
// on a choice cell lays a drop-down list of the column's choices over it.
// One cell of one table is edited at a time.
#ifndef TESSARY_RUNTIME_CELL_EDITOR_H
#define TESSARY_RUNTIME_CELL_EDITOR_H

#include <windows.h>

// Handles NM_CLICK, NM_DBLCLK, LVN_BEGINLABELEDIT and LVN_ENDLABELEDIT of
// the table `listView`, whose slot is `slot`. Returns the dialog's answer to
// the notification: TRUE refuses a label edit the list view wants to begin,
// FALSE lets it begin, and keeps the hidden label unchanged when it ends.
LRESULT cellEditorHandler(HWND listView, UINT message, WPARAM slot, NMHDR *header);

// The table's columns or place changed: a drop-down list over a cell goes
// (the cell keeps its text), and an open text editor moves over its cell.
void cellEditorFollowLayout(HWND listView);

#endif
