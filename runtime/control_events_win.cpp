// What the lists and the grid do with their notifications, keys and on a
// resize: the event steps of their kind rows.
#include "runtime/control_kinds.h"

#include "runtime/cell_editor.h"
#include "runtime/control_factory.h"
#include "runtime/dialog_proc.h"
#include "runtime/list_view_win.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"

#include <algorithm>

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
    // The chosen row is the record's, which a sorted list shows elsewhere.
    row = dataRowOf(list, row);
    if (listMultiple(s)) {
        chosen = checked ? chosen + 1 : chosen - 1;
        if (chosen < -1) chosen = -1;
    } else if (!checked) {
        if (chosen == row) chosen = -1;
    } else {
        if (chosen >= 0 && chosen != row) setOwnRowCheck(list, viewRowOf(list, chosen), kUncheckedImage);
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

// Menu items of a list's context menu; "sort by" column n is
// kSortCommand + n.
enum ListCommand : UINT { kCheckAllCommand = 1, kUncheckAllCommand, kInvertCommand, kSortCommand = 100 };
// A menu longer than this is of no use; a grid may have thousands of
// columns, which the titles still sort.
constexpr int kMostSortItems = 30;

// Sorts the list of `slot` by data column `column`. A grid's open editor
// keeps what it holds first: the cell it covers moves with its row.
void sortList(int slot, HWND list, int column) {
    if (slotKind(slotAt(slot)) == ControlKind::kGrid) {
        if (GetFocus() != list && IsChild(list, GetFocus())) SetFocus(list);
        cellEditorFollowLayout(list);
    }
    sortHeldRows(list, column);
}

void addSortItems(HMENU menu, const ControlSpec &s) {
    // A check-box list without titles shows one cell a row.
    const bool oneCell = slotKind(s) == ControlKind::kCheckList && listColumnTitles(s).empty();
    const int columns = oneCell ? 1 : std::min(std::max(listColumnCount(s), 1), kMostSortItems);
    const WideFields titles(listColumnTitles(s));
    for (int column = 1; column <= columns; ++column) {
        WideText title = titles.text(size_t(column - 1));
        WideText item(TEXT16("Sort by "));
        if (title.empty()) {
            item.append(WideText(TEXT16("column ")));
            item.append(integerToText(column, 10));
        } else {
            item.append(title);
        }
        AppendMenuW(menu, MF_STRING, kSortCommand + UINT(column), item.data());
    }
}

// Where a menu opened by a key shows: under the current row, else at the
// list's top.
POINT menuPlace(HWND list) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    const int focused = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    if (focused < 0 || !SendMessageW(list, LVM_GETITEMRECT, WPARAM(focused), LPARAM(&row))) {
        GetClientRect(list, &row);
        row.bottom = row.top;
    }
    POINT at{row.left + 20, row.bottom};
    ClientToScreen(list, &at);
    return at;
}

// The list's context menu, at the mouse for a click or under the current
// row for a key, and what the user chose from it: every row at once in a
// check-box list of several choices, and the order of the rows.
void showListMenu(HWND dialogWindow, int slot, HWND list, POINT at, bool byKey) {
    const ControlSpec &s = slotAt(slot);
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return;
    if (slotKind(s) == ControlKind::kCheckList && listMultiple(s)) {
        AppendMenuW(menu, MF_STRING, kCheckAllCommand, TEXT16("&Check all\tCtrl+A"));
        AppendMenuW(menu, MF_STRING, kUncheckAllCommand, TEXT16("&Uncheck all\tCtrl+Shift+A"));
        AppendMenuW(menu, MF_STRING, kInvertCommand, TEXT16("&Invert"));
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    addSortItems(menu, s);
    if (byKey) at = menuPlace(list);
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
        if (chosen > kSortCommand) sortList(slot, list, int(chosen - kSortCommand));
        break;
    }
}

// A right click on a list opens its menu at the mouse.
bool openMenuByClick(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer) {
    if (header->code != UINT(NM_RCLICK)) return false;
    POINT at{};
    GetCursorPos(&at);
    showListMenu(dialogWindow, slot, header->hwndFrom, at, false);
    answer = 1;
    return true;
}

// A click on a column's title sorts by it; the check-box column sorts
// nothing.
bool sortByTitle(int slot, NMHDR *header) {
    if (header->code != UINT(LVN_COLUMNCLICK)) return false;
    const int column = reinterpret_cast<const NMLISTVIEW *>(header)->iSubItem;
    if (column >= 1) sortList(slot, header->hwndFrom, column);
    return true;
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
    if (openMenuByClick(dialogWindow, slot, header, answer)) return true;
    if (sortByTitle(slot, header)) return false;
    return keepColumnWidths(header, answer);
}

bool onGridNotify(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer) {
    if (openMenuByClick(dialogWindow, slot, header, answer)) return true;
    if (sortByTitle(slot, header)) return false;
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

// Shift+F10 and the menu key open the grid's menu; every other key goes to
// its cell editor.
bool onGridKey(HWND dialogWindow, int slot, const MSG &message) {
    const OpenDialog *open = openDialogOf(dialogWindow);
    if (open != nullptr && message.hwnd == open->windowOf(slot) && isMenuKey(message)) {
        showListMenu(dialogWindow, slot, message.hwnd, POINT{}, true);
        return true;
    }
    return cellEditorKey(dialogWindow, slot, message);
}

void relayoutListColumns(HWND list, const ControlSpec &s) {
    fitSlotColumns(list, s);
}

void relayoutGridColumns(HWND grid, const ControlSpec &s) {
    fitSlotColumns(grid, s);
    cellEditorFollowLayout(grid);
}
