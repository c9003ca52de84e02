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

// Window layout of the lists as the window is resized (pixels).
constexpr int kListInset = 44;      // half the window width minus a list's width
constexpr int kTargetOffset = 19;   // the right list's x past the middle
constexpr int kMoveButtonOffset = 19; // the move buttons' x before the middle
constexpr TextUnit kSeparator = TextUnit('|');

ControlSpec &slotAt(int index) {
    return dialog().controls[index];
}

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
    return true;
}

// A click chooses the row of one list and forgets the other's, and lets
// only the matching move button act on it.
bool onNotify(WindowHandle dialogWindow, int slot, tagNMHDR *header, intptr_t &) {
    if (header->code != UINT(NM_CLICK) || (slot != kDualSourceSlot && slot != kDualTargetSlot)) return false;
    int row = reinterpret_cast<NMITEMACTIVATE *>(header)->iItem;
    bool left = slot == kDualSourceSlot;
    setListChosenRow(slotAt(kDualSourceSlot), left ? row : -1);
    setListChosenRow(slotAt(kDualTargetSlot), left ? -1 : row);
    // A click on empty space chooses nothing: the button that would move
    // the clicked row is disabled, so nothing stale can be moved.
    enableDialogItem(dialogWindow, left ? kMoveOneSlot : kMoveBackSlot, row >= 0);
    enableDialogItem(dialogWindow, left ? kMoveBackSlot : kMoveOneSlot, false);
    return true;
}

// The lists share the width; the move buttons stay in the middle.
bool onSize(WindowHandle, int width, int) {
    int half = width / 2;
    for (int i : {kDualSourceSlot, kDualTargetSlot, kSourceTitleSlot, kTargetTitleSlot}) {
        slotAt(i).width = half - kListInset;
    }
    slotAt(kDualTargetSlot).x = half + kTargetOffset;
    slotAt(kTargetTitleSlot).x = half + kTargetOffset;
    for (int i = kMoveOneSlot; i <= kMoveAllBackSlot; ++i) slotAt(i).x = half - kMoveButtonOffset;
    return false;
}

// The source list reads as empty; the other gives every row's text followed
// by '|', and with replace mode that text goes to its link target instead.
bool readValue(WindowHandle parent, int slot, WideText &value) {
    if (slotAt(slot).kind.control() != ControlKind::kList) return false;
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
        storeReadValue(dialog().controls[s.linkIndex], result.text());
        return true;
    }
    value = result.text();
    return true;
}

} // namespace

const DialogHooks &dualListHooks() {
    static const DialogHooks hooks = {"dual list", false, onCommand, onNotify, onSize, readValue, nullptr, false};
    return hooks;
}
