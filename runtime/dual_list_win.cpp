#include "runtime/dual_list.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "model/dialog_definition.h"
#include "runtime/dialog_proc.h"
#include "runtime/dual_list_rules.h"
#include "runtime/list_view_win.h"
#include "runtime/readback_rules.h"

namespace {

constexpr TextUnit kSeparator = TextUnit('|');


// A list view as the move rules see it.
class ListViewRows : public DualListRows {
public:
    explicit ListViewRows(HWND list) : list_(list), reader_(list) {}
    int count() const override { return rowCount(list_); }
    WideText text(int row) const override { return reader_.text(row, 0); }
    bool holds(const WideText &text) const override { return holdsRow(list_, text); }
    // The list's search compares as lstrcmpiW does: the user's locale,
    // ignoring case. Its sort key is equal for exactly the texts it matches.
    std::string matchKey(const WideText &text) const override {
        const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
        const int length = int(text.length());
        const int bytes = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0);
        std::string key(size_t(bytes > 0 ? bytes : 0), '\0');
        if (bytes > 0) {
            LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, reinterpret_cast<LPWSTR>(&key[0]), bytes);
        }
        return key;
    }
    void append(const WideText &text) override { appendRow(list_, text); }
    void erase(int row) override { SendMessageW(list_, LVM_DELETEITEM, WPARAM(row), 0); }
    void clear() override { SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0); }

private:
    HWND list_;
    mutable CellReader reader_; // its buffer is only a cache
};

// Disabling first: a button that loses its enabled state hands the focus
// on, and the button enabled after it must not be skipped.
void applyButtonChanges(HWND dialogWindow, const ButtonChange (&after)[4]) {
    for (ButtonChange wanted : {ButtonChange::kDisable, ButtonChange::kEnable}) {
        for (int k = 0; k < 4; ++k) {
            if (after[k] == wanted) enableDialogItem(dialogWindow, kMoveOneSlot + k, wanted == ButtonChange::kEnable);
        }
    }
}

bool onCommand(WindowHandle dialogWindow, int slot) {
    const DualMove *move = dualMoveOf(slot);
    if (move == nullptr || wideCompareNarrow(slotAt(slot).value.data(), move->caption) != 0) return false;
    ListViewRows source(GetDlgItem(dialogWindow, kDualSourceSlot));
    ListViewRows target(GetDlgItem(dialogWindow, kDualTargetSlot));
    const bool moving = dualListMoves(slotAt(kDualSourceSlot)) == 1;
    // Thousands of rows move at once: the lists draw once, afterwards.
    HWND lists[] = {GetDlgItem(dialogWindow, kDualSourceSlot), GetDlgItem(dialogWindow, kDualTargetSlot)};
    for (HWND list : lists) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const bool appended = runDualMove(*move, moving, listChosenRow(slotAt(kDualSourceSlot)),
                                      listChosenRow(slotAt(kDualTargetSlot)), source, target);
    for (HWND list : lists) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    if (appended) enableDialogItem(dialogWindow, kMoveAllBackSlot, true);
    applyButtonChanges(dialogWindow, move->after);
    // No row stays chosen after a move, as the buttons say: the row left
    // selected would take no click or key that chooses it again.
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED;
    for (HWND list : lists) SendMessageW(list, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&none));
    return true;
}

// Choosing a row of one list, by a click or by the keyboard, forgets the
// other list's, and lets only the matching move button act on it.
void choose(HWND dialogWindow, bool left, int row) {
    setListChosenRow(slotAt(kDualSourceSlot), left ? row : -1);
    setListChosenRow(slotAt(kDualTargetSlot), left ? -1 : row);
    // The other list shows no row as chosen that a key would not move.
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(GetDlgItem(dialogWindow, left ? kDualTargetSlot : kDualSourceSlot), LVM_SETITEMSTATE, WPARAM(-1),
                 LPARAM(&none));
    enableDialogItem(dialogWindow, left ? kMoveOneSlot : kMoveBackSlot, row >= 0);
    enableDialogItem(dialogWindow, left ? kMoveBackSlot : kMoveOneSlot, false);
}

// A row no longer chosen (a click on empty space, a move of the
// selection): the button that would move it is disabled, so nothing stale
// can be moved.
void forget(HWND dialogWindow, bool left, int row) {
    ControlSpec &list = slotAt(left ? kDualSourceSlot : kDualTargetSlot);
    if (listChosenRow(list) < 0 || (row >= 0 && row != listChosenRow(list))) return;
    setListChosenRow(list, -1);
    enableDialogItem(dialogWindow, left ? kMoveOneSlot : kMoveBackSlot, false);
}

// Moves the row of a list as its move button does ("<" or ">").
void moveRow(HWND dialogWindow, bool left, int row) {
    HWND list = GetDlgItem(dialogWindow, left ? kDualSourceSlot : kDualTargetSlot);
    LVITEMW chosen = {};
    chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    chosen.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&chosen));
    choose(dialogWindow, left, row);
    onCommand(dialogWindow, left ? kMoveOneSlot : kMoveBackSlot);
}

RECT firstRowRect(HWND list) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, 0, LPARAM(&row));
    return row;
}

bool noCurrentRow(HWND list) {
    return rowCount(list) > 0 && SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED) < 0;
}

// A list that has the keyboard focus but no current row yet draws no mark
// at all; the first row, where Down or Space starts, is framed instead, so
// a user who tabs into a list sees where the focus went.
bool markFocusWithoutRow(NMHDR *header, intptr_t &result) {
    HWND list = header->hwndFrom;
    if (header->code == UINT(NM_SETFOCUS) || header->code == UINT(NM_KILLFOCUS)) {
        if (noCurrentRow(list)) {
            const RECT row = firstRowRect(list);
            InvalidateRect(list, &row, TRUE);
        }
        return false;
    }
    if (header->code != UINT(NM_CUSTOMDRAW)) return false;
    NMCUSTOMDRAW *draw = reinterpret_cast<NMCUSTOMDRAW *>(header);
    if (draw->dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYPOSTPAINT;
        return true;
    }
    if (draw->dwDrawStage == CDDS_POSTPAINT) {
        if (GetFocus() == list && noCurrentRow(list)) {
            const RECT row = firstRowRect(list);
            DrawFocusRect(draw->hdc, &row);
        }
        result = CDRF_DODEFAULT;
        return true;
    }
    return false;
}

bool onNotify(WindowHandle dialogWindow, int slot, tagNMHDR *header, intptr_t &result) {
    if (slot != kDualSourceSlot && slot != kDualTargetSlot) return false;
    const bool left = slot == kDualSourceSlot;
    if (markFocusWithoutRow(header, result)) return true;
    if (header->code == UINT(LVN_ITEMCHANGED)) {
        const NMLISTVIEW *change = reinterpret_cast<const NMLISTVIEW *>(header);
        if (!(change->uChanged & LVIF_STATE) || !((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) return false;
        if (change->uNewState & LVIS_SELECTED) {
            choose(dialogWindow, left, change->iItem);
        } else {
            forget(dialogWindow, left, change->iItem);
        }
        return false;
    }
    if (header->code == UINT(NM_DBLCLK)) {
        const int row = reinterpret_cast<NMITEMACTIVATE *>(header)->iItem;
        if (row >= 0) moveRow(dialogWindow, left, row);
        return true;
    }
    return false;
}

// Enter in a list moves its focused row, rather than pressing the default
// button; a list without rows takes it all the same.
bool onKey(WindowHandle dialogWindow, const MSG &message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
    const int slot = GetDlgCtrlID(message.hwnd);
    if ((slot != kDualSourceSlot && slot != kDualTargetSlot) || GetDlgItem(dialogWindow, slot) != message.hwnd) {
        return false;
    }
    const int row = int(SendMessageW(message.hwnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    if (row >= 0) moveRow(dialogWindow, slot == kDualSourceSlot, row);
    return true;
}

// The lists share the width; the move buttons stay in the middle.
bool onSize(WindowHandle, int width, int) {
    int half = width / 2;
    for (int i : {kDualSourceSlot, kDualTargetSlot, kSourceTitleSlot, kTargetTitleSlot}) {
        slotAt(i).width = half - kDualListInset;
    }
    slotAt(kDualTargetSlot).x = half + kDualTargetOffset;
    slotAt(kTargetTitleSlot).x = half + kDualTargetOffset;
    for (int i = kMoveOneSlot; i <= kMoveAllBackSlot; ++i) slotAt(i).x = half - kDualMoveButtonOffset;
    return false;
}

// The source list reads as empty; the other gives every row's text followed
// by '|', and with replace mode that text goes to its link target instead.
bool readValue(WindowHandle parent, int slot, WideText &value) {
    if (slot != kDualSourceSlot && slot != kDualTargetSlot) return false;
    value.clear();
    HWND list = GetDlgItem(parent, slot);
    if (list == nullptr || slot == kDualSourceSlot) return true;
    ResultText result(ResultText::kNoLimit);
    CellReader labels(list);
    const int rows = rowCount(list);
    for (int row = 0; row < rows && !result.full(); ++row) {
        size_t length = 0;
        const TextUnit *label = labels.read(row, 0, length);
        result.append(label, length);
        result.append(kSeparator);
    }
    const ControlSpec &s = slotAt(slot);
    if (s.linkMode == 2 && s.linkIndex >= 1 && s.linkIndex < kSlotCount) {
        dialog().controls[s.linkIndex].text = result.text();
        return true;
    }
    value = result.text();
    return true;
}

// An item the right list starts with is not offered again on the left when
// a move takes it away from there.
void onOpened(WindowHandle dialogWindow) {
    if (dualListMoves(slotAt(kDualSourceSlot)) != 1) return;
    HWND list = GetDlgItem(dialogWindow, kDualSourceSlot);
    RedrawPause pause(list);
    ListViewRows source(list);
    ListViewRows target(GetDlgItem(dialogWindow, kDualTargetSlot));
    leaveOutTargetRows(source, target);
    if (source.count() == 0) slotAt(kMoveAllSlot).disabled = 1;
}

} // namespace

const DialogHooks &dualListHooks() {
    static const DialogHooks hooks = {"dual list", false, onCommand, onNotify, onSize,  readValue,
                                      onKey,       nullptr, false,   onOpened};
    return hooks;
}
