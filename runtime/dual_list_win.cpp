#include "runtime/dual_list.h"

#include <windows.h>
#include <commctrl.h>

#include "model/dialog_definition.h"
#include "runtime/dialog_proc.h"
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

struct Lists {
    HWND dialogWindow;
    HWND source;
    HWND target;
    bool moving; // items leave the list they come from
};

// What a move does to one of the four move buttons afterwards.
enum ButtonChange { kKeep, kEnable, kDisable };

struct MoveRow {
    int slot;
    const char *caption;            // the button moves only while it shows this
    void (*move)(const Lists &lists);
    ButtonChange after[4];          // for slots kMoveOneSlot .. kMoveAllBackSlot
};

// A move button left enabled from an earlier click acts on no row once a
// click on empty space has forgotten the row: it moves nothing, rather than
// an empty item.
void moveChosenRight(const Lists &lists) {
    int row = listChosenRow(slotAt(kDualSourceSlot));
    if (row < 0) return;
    WideText text = CellReader(lists.source).text(row, 0);
    if (lists.moving) SendMessageW(lists.source, LVM_DELETEITEM, WPARAM(row), 0);
    if (holdsRow(lists.target, text)) return;
    appendRow(lists.target, text);
    enableDialogItem(lists.dialogWindow, kMoveAllBackSlot, true);
}

void moveChosenLeft(const Lists &lists) {
    int row = listChosenRow(slotAt(kDualTargetSlot));
    if (row < 0) return;
    WideText text = CellReader(lists.target).text(row, 0);
    SendMessageW(lists.target, LVM_DELETEITEM, WPARAM(row), 0);
    if (!holdsRow(lists.source, text)) appendRow(lists.source, text);
}

// Rows of `from` that `to` does not hold yet go to the end of `to`.
void appendMissingRows(HWND from, HWND to) {
    CellReader reader(from);
    for (int row = 0; row < rowCount(from); ++row) {
        WideText text = reader.text(row, 0);
        if (!holdsRow(to, text)) appendRow(to, text);
    }
}

void moveAllRight(const Lists &lists) {
    appendMissingRows(lists.source, lists.target);
    if (lists.moving) SendMessageW(lists.source, LVM_DELETEALLITEMS, 0, 0);
}

void moveAllLeft(const Lists &lists) {
    if (lists.moving) appendMissingRows(lists.target, lists.source);
    SendMessageW(lists.target, LVM_DELETEALLITEMS, 0, 0);
}

const MoveRow kMoves[] = {
    {kMoveOneSlot, ">", moveChosenRight, {kDisable, kDisable, kKeep, kKeep}},
    {kMoveBackSlot, "<", moveChosenLeft, {kDisable, kDisable, kEnable, kKeep}},
    {kMoveAllSlot, ">>", moveAllRight, {kDisable, kDisable, kDisable, kEnable}},
    {kMoveAllBackSlot, "<<", moveAllLeft, {kDisable, kDisable, kEnable, kDisable}},
};

// Disabling first: a button that loses its enabled state hands the focus
// on, and the button enabled after it must not be skipped.
void applyButtonChanges(HWND dialogWindow, const ButtonChange (&after)[4]) {
    for (ButtonChange wanted : {kDisable, kEnable}) {
        for (int k = 0; k < 4; ++k) {
            if (after[k] == wanted) enableDialogItem(dialogWindow, kMoveOneSlot + k, wanted == kEnable);
        }
    }
}

bool onCommand(WindowHandle dialogWindow, int slot) {
    for (const MoveRow &row : kMoves) {
        if (row.slot != slot) continue;
        if (wideCompareNarrow(slotAt(slot).value.data(), row.caption) != 0) return false;
        Lists lists{dialogWindow, GetDlgItem(dialogWindow, kDualSourceSlot), GetDlgItem(dialogWindow, kDualTargetSlot),
                    dualListMoves(slotAt(kDualSourceSlot)) == 1};
        row.move(lists);
        applyButtonChanges(dialogWindow, row.after);
        return true;
    }
    return false;
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
    if (!equals(slotAt(slot).kind, "listbox")) return false;
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
        setListText(dialog().controls[s.linkIndex], result.text());
        return true;
    }
    value = result.text();
    return true;
}

} // namespace

const DialogHooks &dualListHooks() {
    static const DialogHooks hooks = {"dual list", false, onCommand, onNotify, onSize, readValue};
    return hooks;
}
