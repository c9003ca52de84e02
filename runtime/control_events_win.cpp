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

// Keeps the chosen rows of a check-box list consistent with the clicks.
void onCheckListClick(HWND dialogWindow, int slot, HWND list, int row) {
    ControlSpec &s = slotAt(slot);
    int chosen = listChosenRow(s);
    if (listMultiple(s)) {
        bool checking = row >= 0 && rowStateImage(list, row) == kUncheckedImage;
        chosen = checking ? chosen + 1 : chosen - 1;
        if (chosen < -1) chosen = -1;
    } else if (chosen == row) {
        chosen = -1;
    } else {
        if (chosen >= 0) setRowStateImage(list, chosen, kUncheckedImage);
        chosen = row;
    }
    setListChosenRow(s, chosen);
    if (row < 0) return;
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).requiresSelection == 1) enableDialogItem(dialogWindow, i, chosen != -1);
    }
}

} // namespace

bool onListNotify(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer) {
    if (header->code == UINT(NM_CLICK)) {
        NMITEMACTIVATE *click = reinterpret_cast<NMITEMACTIVATE *>(header);
        // A plain list has no check boxes to keep in step: marking its rows
        // unchecked would drop them from what it reads back.
        if (click->iSubItem == 0 && listHasCheckBoxes(slotAt(slot)) == 1) {
            onCheckListClick(dialogWindow, slot, header->hwndFrom, click->iItem);
        }
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
