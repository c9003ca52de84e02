#include "runtime/dialog_proc.h"

#include <commctrl.h>

#include <algorithm>

#include "model/dialog_definition.h"
#include "model/fields.h"
#include "model/options.h"
#include "runtime/cell_editor.h"
#include "runtime/control_factory.h"
#include "runtime/dialog_hooks.h"
#include "runtime/fonts.h"
#include "runtime/grid_rules.h"
#include "runtime/list_view_win.h"
#include "runtime/readback.h"

namespace {

// Window styles that replace the template's when a dialog opens.
constexpr LONG kStyleNoCaption = 0x800800C8; // popup, system menu, modal frame
constexpr LONG kStyleSizable = 0x00C400C8;   // caption and sizing border
constexpr LONG kStyleFixed = 0x00C000C8;     // caption only

constexpr int kListCheckColumnWidth = 25;

ControlSpec &slotAt(int index) {
    return dialog().controls[index];
}

bool kindIs(int index, const char *kind) {
    return index >= 0 && index < kSlotCount && equals(slotAt(index).kind, kind);
}

int controlIdOf(int index) {
    return kindIs(index, "combobox") ? index + kComboIdOffset : index;
}

// ---- WM_INITDIALOG -----------------------------------------------------

void createDefaultButton(HWND dialogWindow) {
    DialogDefinition &d = dialog();
    int index = d.defaultButton;
    if (index < 0 || index >= kSlotCount || !kindIs(index, "button")) return;
    ControlSpec &s = slotAt(index);
    HWND button = CreateWindowExW(0, L"BUTTON", L"", 0x50010000, s.x, s.y, s.width, s.height, dialogWindow,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(index)), GetModuleHandleW(nullptr),
                                  nullptr);
    SetDlgItemTextW(dialogWindow, index, s.text.data());
    if (button != nullptr) applyControlFont(button, s.font);
    s.window = button;
    if (s.requiresSelection == 1) s.disabled = 1;
}

void focusFirstRequested(bool &focusSet) {
    for (int i = 0; i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (s.initialFocus != 1) continue;
        if (s.window != nullptr) {
            SetFocus(s.window);
            // Caret after the last character, nothing selected.
            SendMessageW(s.window, EM_SETSEL, 0, -1);
            SendMessageW(s.window, EM_SETSEL, WPARAM(-1), -1);
            focusSet = true;
        }
        return;
    }
}

void CALLBACK closeTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    HWND running = dialog().dialogWindow;
    if (running == nullptr) return;
    KillTimer(running, kCloseTimerId);
    EndDialog(running, 0);
}

BOOL onInitDialog(HWND dialogWindow) {
    DialogDefinition &d = dialog();
    d.dialogWindow = dialogWindow;

    EnableMenuItem(GetSystemMenu(dialogWindow, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    SetWindowTextW(dialogWindow, d.title.data());
    LONG style = d.noCaption ? kStyleNoCaption : (d.resizable ? kStyleSizable : kStyleFixed);
    SetWindowLongW(dialogWindow, GWL_STYLE, style);

    createDefaultButton(dialogWindow);
    for (int i = 0; i < kSlotCount; ++i) {
        if (kindIs(i, "tabcontrol")) createControl(dialogWindow, i);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (!kindIs(i, "tabcontrol") && slotAt(i).ownerIndex < 1) createControl(dialogWindow, i);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (kindIs(i, "tabcontrol") && tabShownFirst(s) == 1) {
            SendMessageW(d.tabControlWindow, TCM_SETCURSEL, WPARAM(tabPosition(s)), 0);
            if (s.window != nullptr) ShowWindow(s.window, SW_SHOW);
        }
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).disabled == 1 && slotAt(i).window != nullptr) EnableWindow(slotAt(i).window, FALSE);
    }
    if (d.timerEnabled == 1) SetTimer(dialogWindow, kCloseTimerId, d.timerInterval, closeTimerProc);
    if (d.defaultButton != 0) SendMessageW(dialogWindow, DM_SETDEFID, WPARAM(d.defaultButton), 0);

    // The new style takes effect with the frame recomputed here.
    SetWindowPos(dialogWindow, HWND_NOTOPMOST, d.left, d.top, d.width, d.height,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    InvalidateRect(dialogWindow, nullptr, TRUE);

    // Only once the window is shown: focusing a control of the hidden window
    // activated it early, and the shown window kept an inactive caption.
    bool focusSet = false;
    focusFirstRequested(focusSet);
    return focusSet ? FALSE : TRUE;
}

// ---- WM_COMMAND --------------------------------------------------------

void captureValuesAndEnd(HWND dialogWindow, int pressed) {
    for (int i = 0; i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (equals(s.kind, "button")) continue;
        HWND parent = dialogWindow;
        if (s.ownerIndex >= 0 && s.ownerIndex < kSlotCount) parent = slotAt(s.ownerIndex).window;
        WideText value = parent != nullptr ? readControlValue(parent, s.kind.data(), i) : WideText();
        storeReadValue(s, value);
    }
    dialog().resultIndex = pressed;
    EndDialog(dialogWindow, 0);
}

BOOL onCommand(HWND dialogWindow, int id, int code) {
    if (id >= kSlotCount || id == kCancelId || !kindIs(id, "button") || code != BN_CLICKED) return TRUE;
    const DialogHooks &hooks = dialogHooks();
    if (hooks.onCommand != nullptr && hooks.onCommand(dialogWindow, id)) return TRUE;
    captureValuesAndEnd(dialogWindow, id);
    return TRUE;
}

// ---- WM_NOTIFY ---------------------------------------------------------

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

void showPageOfCurrentTab() {
    DialogDefinition &d = dialog();
    int current = int(SendMessageW(d.tabControlWindow, TCM_GETCURSEL, 0, 0));
    HWND shown = nullptr;
    for (int i = 0; i < kSlotCount; ++i) {
        if (!kindIs(i, "tabcontrol")) continue;
        if (slotAt(i).window != nullptr) ShowWindow(slotAt(i).window, SW_HIDE);
        if (tabPosition(slotAt(i)) == current) shown = slotAt(i).window;
    }
    if (shown != nullptr) ShowWindow(shown, SW_SHOW);
}

BOOL onNotify(HWND dialogWindow, int slot, NMHDR *header) {
    DialogDefinition &d = dialog();
    if (header->code == UINT(LVN_GETDISPINFOW) && answerCellText(reinterpret_cast<NMLVDISPINFOW *>(header))) {
        return TRUE;
    }
    if (slot >= 0 && slot < d.controlCount && slot < kSlotCount) {
        const DialogHooks &hooks = dialogHooks();
        intptr_t result = 0;
        if (hooks.onNotify != nullptr && hooks.onNotify(dialogWindow, slot, header, result)) {
            SetWindowLongPtrW(dialogWindow, DWLP_MSGRESULT, LONG_PTR(result));
            return TRUE;
        }
        if (kindIs(slot, "listbox")) {
            if (header->code == UINT(NM_CLICK)) {
                NMITEMACTIVATE *click = reinterpret_cast<NMITEMACTIVATE *>(header);
                // A plain list has no check boxes to keep in step: marking its
                // rows unchecked would drop them from what it reads back.
                if (click->iSubItem == 0 && listHasCheckBoxes(slotAt(slot)) == 1) {
                    onCheckListClick(dialogWindow, slot, header->hwndFrom, click->iItem);
                }
            } else if (header->code == UINT(HDN_ITEMCHANGINGA) || header->code == UINT(HDN_ITEMCHANGINGW)) {
                // Column widths follow the dialog, not the user's drag.
                SetWindowLongPtrW(dialogWindow, DWLP_MSGRESULT, 1);
                return TRUE;
            }
        } else if (kindIs(slot, "listboxview")) {
            switch (header->code) {
            case UINT(NM_CLICK):
            case UINT(NM_DBLCLK):
            case UINT(LVN_BEGINLABELEDITA):
            case UINT(LVN_ENDLABELEDITA):
            case UINT(LVN_BEGINLABELEDITW):
            case UINT(LVN_ENDLABELEDITW):
                // The answer decides whether a label edit may begin and
                // whether its text replaces the hidden label.
                SetWindowLongPtrW(dialogWindow, DWLP_MSGRESULT,
                                  LONG_PTR(cellEditorHandler(header->hwndFrom, WM_NOTIFY, WPARAM(slot), header)));
                return TRUE;
            default:
                break;
            }
        }
    }
    if (header->code == UINT(TCN_SELCHANGE)) showPageOfCurrentTab();
    return TRUE;
}

// ---- WM_SIZE -----------------------------------------------------------

// A table's columns keep the widths they were made with, for its new width:
// laid out by one rule, the widths a caller gives look the same before and
// after the user resizes the dialog.
void relayoutTableColumns(HWND table, const ControlSpec &s) {
    // Thousands of columns are laid out in one go; a column that keeps its
    // width is left alone, so the first sizing of the window costs nothing.
    RedrawPause pause(table);
    SendMessageW(table, LVM_SETCOLUMNWIDTH, 0, 0);
    const int columns = listColumnCount(s);
    const NarrowText &widths = listColumnWidths(s);
    const NarrowFields widthFields(widths.data(), std::min(widths.length(), kMaxWidthTextUnits));
    for (int k = 1; k <= columns; ++k) {
        const int width = dataColumnWidth(widthFields, k, columns, s.width);
        if (SendMessageW(table, LVM_GETCOLUMNWIDTH, WPARAM(k), 0) == width) continue;
        SendMessageW(table, LVM_SETCOLUMNWIDTH, WPARAM(k), LPARAM(width));
    }
}

void relayoutListColumns(HWND list, const ControlSpec &s) {
    if (!listHasCheckBoxes(s)) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(s.width, 0));
        return;
    }
    const int first = kListCheckColumnWidth;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(first, 0));
    int columns = listColumnCount(s);
    if (columns == 0) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(s.width - first, 0));
        return;
    }
    const NarrowFields widths(listColumnWidths(s));
    for (int k = 1; k <= columns; ++k) {
        // An empty or missing width takes an even share, as when the list
        // was made; a width of 0 would hide the column's text.
        const NarrowText field = widths.text(size_t(k - 1));
        const int width = field.empty() ? (s.width - first) / columns
                                        : (s.width - first) * decimalValue(field.data()) / 100;
        SendMessageW(list, LVM_SETCOLUMNWIDTH, WPARAM(k), MAKELPARAM(width, 0));
    }
}

BOOL onSize(HWND dialogWindow) {
    DialogDefinition &d = dialog();
    RECT outer;
    GetWindowRect(dialogWindow, &outer);
    int w = outer.right - outer.left;
    int h = outer.bottom - outer.top;
    if (w < d.minWidth) {
        SetWindowPos(dialogWindow, nullptr, 0, 0, d.minWidth, h, SWP_NOMOVE | SWP_NOZORDER);
        d.width = d.minWidth;
        return TRUE;
    }
    if (h < d.minHeight) {
        SetWindowPos(dialogWindow, nullptr, 0, 0, w, d.minHeight, SWP_NOMOVE | SWP_NOZORDER);
        d.height = d.minHeight;
        return TRUE;
    }
    const DialogHooks &hooks = dialogHooks();
    if (hooks.onSize != nullptr && hooks.onSize(dialogWindow, w, h)) return TRUE;
    int dw = w - d.width;
    int dh = h - d.height;
    for (int i = 0; i < d.controlCount && i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (s.growHeight > 0) s.height = int(s.growHeight * dh + s.height);
        if (s.growWidth > 0) s.width = int(s.growWidth * dw + s.width);
        if (s.followRight == 1) s.x += dw;
        if (s.followBottom == 1) s.y += dh;
        HWND control = GetDlgItem(dialogWindow, controlIdOf(i));
        if (control == nullptr) continue;
        const bool table = kindIs(i, "listboxview");
        if (kindIs(i, "listbox")) relayoutListColumns(control, s);
        if (table) relayoutTableColumns(control, s);
        MoveWindow(control, s.x, s.y, s.width, s.height, TRUE);
        // The one column of a plain list fills what lies inside the border
        // and beside the scroll bar, so no horizontal scroll bar appears
        // for a list that has nothing to scroll sideways.
        if (kindIs(i, "listbox") && !listHasCheckBoxes(s)) {
            SendMessageW(control, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
        }
        if (table) cellEditorFollowLayout(control);
    }
    d.width = w;
    d.height = h;
    InvalidateRect(dialogWindow, nullptr, TRUE);
    return TRUE;
}

// ---- WM_TIMER, WM_CLOSE ------------------------------------------------

BOOL onTimer(HWND dialogWindow, UINT_PTR id) {
    if (id == kCloseTimerId) {
        KillTimer(dialogWindow, kCloseTimerId);
        ShowWindow(dialogWindow, SW_HIDE);
    }
    return FALSE;
}

BOOL onClose(HWND dialogWindow) {
    KillTimer(dialogWindow, kCloseTimerId);
    KillTimer(dialogWindow, kSpareTimerId);
    EndDialog(dialogWindow, 0);
    return FALSE;
}

} // namespace

void enableDialogItem(HWND dialogWindow, int slot, bool enable) {
    HWND item = GetDlgItem(dialogWindow, slot);
    if (item == nullptr) return;
    if (!enable && GetFocus() == item) SendMessageW(dialogWindow, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(item, enable ? TRUE : FALSE);
}

INT_PTR CALLBACK mainDialogProc(HWND dialogWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialogWindow);
    case WM_COMMAND:
        return onCommand(dialogWindow, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return onNotify(dialogWindow, int(LOWORD(wParam)), reinterpret_cast<NMHDR *>(lParam));
    case WM_SIZE:
        return onSize(dialogWindow);
    case WM_TIMER:
        return onTimer(dialogWindow, UINT_PTR(wParam));
    case WM_CLOSE:
        return onClose(dialogWindow);
    case WM_NCDESTROY:
        // Children are gone by now, so their fonts can go too.
        releaseDialogFonts(dialogWindow);
        releaseCellTexts(dialogWindow);
        // A destroyed modeless window must not be driven through a handle
        // that the system may give to another window.
        if (dialog().dialogWindow == dialogWindow) dialog().dialogWindow = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}
