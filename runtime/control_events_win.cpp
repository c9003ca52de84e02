// What the lists, the grid and the tabs do with their notifications and on a
// resize: the event steps of their kind rows.
#include "runtime/control_kinds.h"

#include "runtime/cell_editor.h"
#include "runtime/control_factory.h"
#include "runtime/dialog_proc.h"
#include "runtime/list_view_win.h"

namespace {

ControlSpec &slotAt(int index) {
    return dialog().controls[index];
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
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).requiresSelection == 1) enableDialogItem(dialogWindow, i, chosen != -1);
    }
}

int stateImageOf(UINT state) {
    return int((state & LVIS_STATEIMAGEMASK) >> 12);
}

} // namespace

bool onListNotify(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer) {
    if (header->code == UINT(LVN_ITEMCHANGED)) {
        // A plain list has no check boxes to keep in step: marking its rows
        // unchecked would drop them from what it reads back.
        const NMLISTVIEW *change = reinterpret_cast<const NMLISTVIEW *>(header);
        if (listHasCheckBoxes(slotAt(slot)) != 1 || !(change->uChanged & LVIF_STATE) || change->iItem < 0 ||
            settingOwnCheck(header->hwndFrom)) {
            return false;
        }
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
    if (header->code == UINT(NM_CLICK) && listHasCheckBoxes(slotAt(slot)) == 1) {
        onCheckBoxClick(header->hwndFrom, *reinterpret_cast<const NMITEMACTIVATE *>(header));
        return false;
    }
    if (header->code == UINT(HDN_ITEMCHANGINGA) || header->code == UINT(HDN_ITEMCHANGINGW)) {
        // Column widths follow the dialog, not the user's drag.
        answer = 1;
        return true;
    }
    return false;
}

bool onTableNotify(HWND, int slot, NMHDR *header, LRESULT &answer) {
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
bool onListKey(HWND, int slot, const MSG &message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_SPACE || listHasCheckBoxes(slotAt(slot)) != 1) {
        return false;
    }
    const HWND list = message.hwnd;
    const int row = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    if (row >= 0) setRowStateImage(list, row, rowStateImage(list, row) == kCheckedImage ? kUncheckedImage : kCheckedImage);
    return true;
}

// The tab control notifies for all its tabs: the page of the chosen tab is
// shown, every other one hidden.
bool onTabNotify(HWND, int, NMHDR *header, LRESULT &) {
    if (header->code != UINT(TCN_SELCHANGE)) return false;
    DialogDefinition &d = dialog();
    int current = int(SendMessageW(d.tabControlWindow, TCM_GETCURSEL, 0, 0));
    HWND shown = nullptr;
    for (int i = 0; i < kSlotCount; ++i) {
        const ControlSpec &s = slotAt(i);
        if (s.kind.control() != ControlKind::kTabControl) continue;
        if (s.window != nullptr) ShowWindow(s.window, SW_HIDE);
        if (tabPosition(s) == current) shown = s.window;
    }
    if (shown != nullptr) ShowWindow(shown, SW_SHOW);
    return true;
}

void showFirstTabPage(HWND, int slot) {
    const ControlSpec &s = slotAt(slot);
    if (tabShownFirst(s) != 1) return;
    SendMessageW(dialog().tabControlWindow, TCM_SETCURSEL, WPARAM(tabPosition(s)), 0);
    if (s.window != nullptr) ShowWindow(s.window, SW_SHOW);
}

// A page is a container, never a place for the keyboard: with the focus on
// a page, a key the dialog looks up as a mnemonic walks the dialog's
// controls for ever, since no walk from the dialog reaches into a page.
// The tab control takes the focus instead.
HWND tabFocusWindow(const ControlSpec &) {
    return dialog().tabControlWindow;
}

void relayoutListColumns(HWND list, const ControlSpec &s) {
    fitSlotColumns(list, s);
}

void relayoutTableColumns(HWND table, const ControlSpec &s) {
    fitSlotColumns(table, s);
    cellEditorFollowLayout(table);
}
