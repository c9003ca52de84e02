// What the lists and the grid do with their notifications, keys and on a
// resize: the event steps of their kind rows.
#include "runtime/control_kinds.h"

#include "runtime/cell_editor.h"
#include "runtime/control_factory.h"
#include "runtime/dialog_proc.h"
#include "runtime/list_view_win.h"
#include "runtime/owner_data_win.h"

namespace {


// The buttons that wait for a chosen row follow whether there is one.
void followChosenRow(HWND dialogWindow, int chosen) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).requiresSelection == 1) enableDialogItem(dialogWindow, i, chosen != -1);
    }
}

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
    followChosenRow(dialogWindow, chosen);
}

// Every row of a list of several choices at once: checked, unchecked or
// turned over. The chosen count and the buttons follow as after clicks.
void markRows(HWND dialogWindow, int slot, HWND list, EveryRow how) {
    const int checked = markEveryRow(list, how);
    setListChosenRow(slotAt(slot), checked - 1);
    followChosenRow(dialogWindow, checked - 1);
}

// Menu items of a list's context menu.
enum ListCommand : UINT { kCheckAllCommand = 1, kUncheckAllCommand, kInvertCommand };

// The list's context menu, at the mouse for a click or under the current
// row for a key, and what the user chose from it.
void showListMenu(HWND dialogWindow, int slot, HWND list, POINT at, bool byKey) {
    if (!listMultiple(slotAt(slot))) return;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_STRING, kCheckAllCommand, TEXT16("&Check all\tCtrl+A"));
    AppendMenuW(menu, MF_STRING, kUncheckAllCommand, TEXT16("&Uncheck all\tCtrl+Shift+A"));
    AppendMenuW(menu, MF_STRING, kInvertCommand, TEXT16("&Invert"));
    if (byKey) {
        RECT row{};
        row.left = LVIR_BOUNDS;
        const int focused = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
        if (focused < 0 || !SendMessageW(list, LVM_GETITEMRECT, WPARAM(focused), LPARAM(&row))) {
            GetClientRect(list, &row);
            row.bottom = row.top;
        }
        at = POINT{row.left + 20, row.bottom};
        ClientToScreen(list, &at);
    }
    const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                            at.x, at.y, 0, dialogWindow, nullptr));
    DestroyMenu(menu);
    switch (chosen) {
    case kCheckAllCommand:
        markRows(dialogWindow, slot, list, EveryRow::kCheck);
        break;
    case kUncheckAllCommand:
        markRows(dialogWindow, slot, list, EveryRow::kUncheck);
        break;
    case kInvertCommand:
        markRows(dialogWindow, slot, list, EveryRow::kInvert);
        break;
    default:
        break;
    }
}

bool isMenuKey(const MSG &message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    return message.wParam == VK_APPS || (message.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0);
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
    if (header->code == UINT(NM_RCLICK)) {
        POINT at{};
        GetCursorPos(&at);
        showListMenu(dialogWindow, slot, header->hwndFrom, at, false);
        answer = 1;
        return true;
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
// selected row. Ctrl+A checks every row of a list of several choices,
// Ctrl+Shift+A unchecks them; Shift+F10 and the menu key open the list's
// menu.
bool onCheckListKey(HWND dialogWindow, int slot, const MSG &message) {
    const HWND list = message.hwnd;
    if (isMenuKey(message)) {
        showListMenu(dialogWindow, slot, list, POINT{}, true);
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == 'A' && GetKeyState(VK_CONTROL) < 0 &&
        listMultiple(slotAt(slot))) {
        markRows(dialogWindow, slot, list, GetKeyState(VK_SHIFT) < 0 ? EveryRow::kUncheck : EveryRow::kCheck);
        return true;
    }
    if (message.message != WM_KEYDOWN || message.wParam != VK_SPACE) return false;
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
