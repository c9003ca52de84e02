#include "runtime/grid_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include "model/dialog_definition.h"
#include "runtime/dialog_proc.h"

namespace {

// A button that waits for a chosen row ("b1ns") is usable while a row of the
// grid is selected: the grid has no check boxes, and a click on any cell
// selects its row.
bool onNotify(WindowHandle dialogWindow, int slot, tagNMHDR *header, intptr_t &result) {
    if (header->code != UINT(LVN_ITEMCHANGED) || slot != kGridSlot) return false;
    const NMLISTVIEW *change = reinterpret_cast<const NMLISTVIEW *>(header);
    if (!(change->uChanged & LVIF_STATE) || !((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) return false;
    const bool chosen = SendMessageW(header->hwndFrom, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    for (int i = 0; i < kSlotCount; ++i) {
        if (dialog().controls[i].requiresSelection == 1) enableDialogItem(dialogWindow, i, chosen);
    }
    result = 0;
    return true;
}

} // namespace

const DialogHooks &gridDialogHooks() {
    static const DialogHooks hooks = {"grid", false, nullptr, onNotify, nullptr, nullptr, nullptr, nullptr, false};
    return hooks;
}
