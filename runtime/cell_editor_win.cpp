#include "runtime/cell_editor.h"

// Cells are not editable yet: the table shows its cells and reads them back
// unchanged. The notifications arrive here so that editing slots in without
// touching the dialog procedure.
LRESULT cellEditorHandler(HWND, UINT, WPARAM, NMHDR *) {
    return 0;
}
