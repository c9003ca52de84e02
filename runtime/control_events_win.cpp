// What the lists and the grid do with their notifications, keys and on a
// resize: the event steps of their kind rows.
#include "runtime/control_kinds.h"

#include "runtime/cell_editor.h"
#include "runtime/control_factory.h"
#include "runtime/dialog_proc.h"
#include "runtime/list_view_win.h"
#include "runtime/owner_data_win.h"

namespace {


// Keeps the chosen rows of a check-box list consistent with what the user
// checks, by a click or by Space: in a single-choice list the row checked
// before is unchecked; in a list of several choices the chosen count goes
// up or down. The buttons that wait for a chosen row follow.
void onUserCheck(HWND dialogWindow, int slot, HWND list, int row, bool checked) {
    ControlSpec &s = slotAt(slot);
    int chosen = listChosenRow(s);
    if (listMultiple(s)) {
        chosen = checked ? chosen + 1 : chosen - 1;
        if (chosen < -1) chosen = -1;
    } else if (!checked) {
        if (chosen == row) chosen = -1;
    } else {
        if (chosen >= 0 && chosen != row) setOwnRowCheck(list, chosen, kUncheckedImage);
        chosen = row;
    }
    setListChosenRow(s, chosen);
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).requiresSelection == 1) enableDialogItem(dialogWindow, i, chosen != -1);
    }
}

int stateImageOf(UINT state) {
    return int((state & LVIS_STATEIMAGEMASK) >> 12);
}

// Column widths follow the dialog, not the user's drag.
bool keepColumnWidths(NMHDR *header, LRESULT &answer) {
    if (header->code != UINT(HDN_ITEMCHANGINGA) && header->code != UINT(HDN_ITEMCHANGINGW)) return false;
    answer = 1;
    return true;
}

} // namespace

bool onPlainListNotify(HWND, int, NMHDR *header, LRESULT &answer) {
    return keepColumnWidths(header, answer);
}

bool onCheckListNotify(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer) {
    if (header->code == UINT(LVN_ITEMCHANGED)) {
        const NMLISTVIEW *change = reinterpret_cast<const NMLISTVIEW *>(header);
        if (!(change->uChanged & LVIF_STATE) || change->iItem < 0 || settingOwnCheck(header->hwndFrom)) return false;
        takeListCheckChange(header->hwndFrom, *change);
        const int before = stateImageOf(change->uOldState);
        const int after = stateImageOf(change->uNewState);
        if (before == kUncheckedImage && after == kCheckedImage) {
            onUserCheck(dialogWindow, slot, header->hwndFrom, change->iItem, true);
        } else if (before == kCheckedImage && after == kUncheckedImage) {
            onUserCheck(dialogWindow, slot, header->hwndFrom, change->iItem, false);
        }
        return false;
    }
    if (header->code == UINT(NM_CLICK)) {
        onCheckBoxClick(header->hwndFrom, *reinterpret_cast<const NMITEMACTIVATE *>(header));
        return false;
    }
    return keepColumnWidths(header, answer);
}

bool onGridNotify(HWND, int slot, NMHDR *header, LRESULT &answer) {
    switch (header->code) {
    case UINT(NM_CLICK):
    case UINT(NM_DBLCLK):
    case UINT(LVN_BEGINLABELEDITA):
    case UINT(LVN_ENDLABELEDITA):
    case UINT(LVN_BEGINLABELEDITW):
    case UINT(LVN_ENDLABELEDITW):
        // The answer decides whether a label edit may begin and whether its
        // text replaces the hidden label.
        answer = cellEditorHandler(header->hwndFrom, WM_NOTIFY, WPARAM(slot), header);
        return true;
    default:
        return false;
    }
}

// Space checks or unchecks the focused row as a click on its box would;
// the list's own handling is left out, which on some systems toggles every
// selected row.
bool onCheckListKey(HWND, int, const MSG &message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_SPACE) return false;
    const HWND list = message.hwnd;
    const int row = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    if (row >= 0) setHeldCheck(list, row, heldCheck(list, row) == kCheckedImage ? kUncheckedImage : kCheckedImage);
    return true;
}

void relayoutListColumns(HWND list, const ControlSpec &s) {
    fitSlotColumns(list, s);
}

void relayoutGridColumns(HWND grid, const ControlSpec &s) {
    fitSlotColumns(grid, s);
    cellEditorFollowLayout(grid);
}
