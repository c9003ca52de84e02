// Editing the cells of a table ("listboxview"): the main dialog procedure
// hands the table's click and label-edit notifications here.
#ifndef TESSARY_RUNTIME_CELL_EDITOR_H
#define TESSARY_RUNTIME_CELL_EDITOR_H

#include <windows.h>

LRESULT cellEditorHandler(HWND listView, UINT message, WPARAM wParam, NMHDR *header);

#endif
