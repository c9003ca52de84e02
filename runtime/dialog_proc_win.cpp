#include "runtime/dialog_proc.h"

#include <commctrl.h>

#include "model/dialog_definition.h"
#include "model/options.h"
#include "resources/resource_ids.h"
#include "runtime/cell_editor.h"
#include "runtime/control_factory.h"
#include "runtime/fonts.h"
#include "runtime/readback.h"

namespace {

// Window styles that replace the template's when a dialog opens.
constexpr LONG kStyleNoCaption = 0x800800C8; // popup, system menu, modal frame
constexpr LONG kStyleSizable = 0x00C400C8;   // caption and sizing border
constexpr LONG kStyleFixed = 0x00C000C8;     // caption only

// Slots of the dual-list dialog.
constexpr int kSourceListSlot = 36;
constexpr int kTargetListSlot = 37;
constexpr int kMoveOneSlot = 8;       // ">"
constexpr int kMoveBackSlot = 9;      // "<"
constexpr int kMoveAllSlot = 10;      // ">>"
constexpr int kMoveAllBackSlot = 11;  // "<<"
constexpr int kSourceTitleSlot = 12;
constexpr int kTargetTitleSlot = 13;
constexpr int kRowTextUnits = 10000;  // longest row text moved between the lists

constexpr int kUncheckedImage = 1;    // state image of an unchecked list row
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

void enableSlotButton(HWND dialogWindow, int index, bool enable) {
    HWND button = GetDlgItem(dialogWindow, index);
    if (button == nullptr) return;
    // A control that loses its enabled state while it has the focus would
    // leave the keyboard stranded.
    if (!enable && GetFocus() == button) SendMessageW(dialogWindow, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(button, enable ? TRUE : FALSE);
}

int rowStateImage(HWND list, int row) {
    return int((SendMessageW(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12);
}

void setRowStateImage(HWND list, int row, int image) {
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
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
        if (kindIs(i, "tabcontrol") && flag(s, 1) == 1) {
            SendMessageW(d.tabControlWindow, TCM_SETCURSEL, WPARAM(param(s, 1)), 0);
            if (s.window != nullptr) ShowWindow(s.window, SW_SHOW);
        }
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).disabled == 1 && slotAt(i).window != nullptr) EnableWindow(slotAt(i).window, FALSE);
    }
    if (d.timerEnabled == 1) SetTimer(dialogWindow, kCloseTimerId, d.timerInterval, closeTimerProc);
    if (d.defaultButton != 0) SendMessageW(dialogWindow, DM_SETDEFID, WPARAM(d.defaultButton), 0);

    bool focusSet = false;
    focusFirstRequested(focusSet);

    // The new style takes effect with the frame recomputed here.
    SetWindowPos(dialogWindow, HWND_NOTOPMOST, d.left, d.top, d.width, d.height,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    InvalidateRect(dialogWindow, nullptr, TRUE);
    return focusSet ? FALSE : TRUE;
}

// ---- WM_COMMAND --------------------------------------------------------

WideText rowText(HWND list, int row) {
    TextUnit buffer[kRowTextUnits] = {0};
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = kRowTextUnits;
    SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
    return WideText(buffer);
}

bool listHolds(HWND list, const WideText &text) {
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = text.data();
    return SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)) != -1;
}

void appendRow(HWND list, const WideText &text) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<TextUnit *>(text.data());
    SendMessageW(list, LVM_INSERTITEMW, 0, LPARAM(&item));
}

int rowCount(HWND list) {
    return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// The dual-list dialog's move buttons; true when the press was one of them.
bool onDualListMove(HWND dialogWindow, int id) {
    if (dialog().templateId != IDD_DUAL_LIST) return false;
    const WideText &value = slotAt(id).value;
    HWND source = GetDlgItem(dialogWindow, kSourceListSlot);
    HWND target = GetDlgItem(dialogWindow, kTargetListSlot);
    bool moving = flag(slotAt(kSourceListSlot), 2) == 1;

    if (id == kMoveOneSlot && wideCompareNarrow(value.data(), ">") == 0) {
        int row = param(slotAt(kSourceListSlot), 1);
        WideText text = rowText(source, row);
        if (moving) SendMessageW(source, LVM_DELETEITEM, WPARAM(row), 0);
        if (!listHolds(target, text)) {
            appendRow(target, text);
            enableSlotButton(dialogWindow, kMoveAllBackSlot, true);
        }
        enableSlotButton(dialogWindow, kMoveOneSlot, false);
        enableSlotButton(dialogWindow, kMoveBackSlot, false);
        return true;
    }
    if (id == kMoveBackSlot && wideCompareNarrow(value.data(), "<") == 0) {
        int row = param(slotAt(kTargetListSlot), 1);
        WideText text = rowText(target, row);
        SendMessageW(target, LVM_DELETEITEM, WPARAM(row), 0);
        if (!listHolds(source, text)) appendRow(source, text);
        enableSlotButton(dialogWindow, kMoveOneSlot, false);
        enableSlotButton(dialogWindow, kMoveBackSlot, false);
        enableSlotButton(dialogWindow, kMoveAllSlot, true);
        return true;
    }
    if (id == kMoveAllSlot && wideCompareNarrow(value.data(), ">>") == 0) {
        for (int row = 0; row < rowCount(source); ++row) {
            WideText text = rowText(source, row);
            if (!listHolds(target, text)) appendRow(target, text);
        }
        if (moving) SendMessageW(source, LVM_DELETEALLITEMS, 0, 0);
        enableSlotButton(dialogWindow, kMoveOneSlot, false);
        enableSlotButton(dialogWindow, kMoveBackSlot, false);
        enableSlotButton(dialogWindow, kMoveAllSlot, false);
        enableSlotButton(dialogWindow, kMoveAllBackSlot, true);
        return true;
    }
    if (id == kMoveAllBackSlot && wideCompareNarrow(value.data(), "<<") == 0) {
        if (moving) {
            for (int row = 0; row < rowCount(target); ++row) {
                WideText text = rowText(target, row);
                if (!listHolds(source, text)) appendRow(source, text);
            }
        }
        SendMessageW(target, LVM_DELETEALLITEMS, 0, 0);
        enableSlotButton(dialogWindow, kMoveOneSlot, false);
        enableSlotButton(dialogWindow, kMoveBackSlot, false);
        enableSlotButton(dialogWindow, kMoveAllBackSlot, false);
        enableSlotButton(dialogWindow, kMoveAllSlot, true);
        return true;
    }
    return false;
}

void captureValuesAndEnd(HWND dialogWindow, int pressed) {
    for (int i = 0; i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (equals(s.kind, "button")) continue;
        HWND parent = dialogWindow;
        if (s.ownerIndex >= 0 && s.ownerIndex < kSlotCount) parent = slotAt(s.ownerIndex).window;
        WideText value = parent != nullptr ? readControlValue(parent, s.kind.data(), i) : WideText();
        setTextWithoutLineFeeds(s, value.data());
    }
    dialog().resultIndex = pressed;
    EndDialog(dialogWindow, 0);
}

BOOL onCommand(HWND dialogWindow, int id, int code) {
    if (id >= kSlotCount || id == kCancelId || !kindIs(id, "button") || code != BN_CLICKED) return TRUE;
    if (onDualListMove(dialogWindow, id)) return TRUE;
    captureValuesAndEnd(dialogWindow, id);
    return TRUE;
}

// ---- WM_NOTIFY ---------------------------------------------------------

void onDualListClick(HWND dialogWindow, int slot, int row) {
    if (slot == kSourceListSlot) {
        setParam(slotAt(kSourceListSlot), 1, row);
        setParam(slotAt(kTargetListSlot), 1, -1);
        if (row >= 0) enableSlotButton(dialogWindow, kMoveOneSlot, true);
        enableSlotButton(dialogWindow, kMoveBackSlot, false);
    } else {
        setParam(slotAt(kSourceListSlot), 1, -1);
        setParam(slotAt(kTargetListSlot), 1, row);
        if (row >= 0) enableSlotButton(dialogWindow, kMoveBackSlot, true);
        enableSlotButton(dialogWindow, kMoveOneSlot, false);
    }
}

// Keeps the chosen rows of a check-box list consistent with the clicks.
void onCheckListClick(HWND dialogWindow, int slot, HWND list, int row) {
    ControlSpec &s = slotAt(slot);
    int chosen = param(s, 1);
    if (flag(s, 2)) {
        bool checking = row >= 0 && rowStateImage(list, row) == kUncheckedImage;
        chosen = checking ? chosen + 1 : chosen - 1;
        if (chosen < -1) chosen = -1;
    } else if (chosen == row) {
        chosen = -1;
    } else {
        if (chosen >= 0) setRowStateImage(list, chosen, kUncheckedImage);
        chosen = row;
    }
    setParam(s, 1, chosen);
    if (row < 0) return;
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).requiresSelection == 1) enableSlotButton(dialogWindow, i, chosen != -1);
    }
}

void showPageOfCurrentTab() {
    DialogDefinition &d = dialog();
    int current = int(SendMessageW(d.tabControlWindow, TCM_GETCURSEL, 0, 0));
    HWND shown = nullptr;
    for (int i = 0; i < kSlotCount; ++i) {
        if (!kindIs(i, "tabcontrol")) continue;
        if (slotAt(i).window != nullptr) ShowWindow(slotAt(i).window, SW_HIDE);
        if (param(slotAt(i), 1) == current) shown = slotAt(i).window;
    }
    if (shown != nullptr) ShowWindow(shown, SW_SHOW);
}

BOOL onNotify(HWND dialogWindow, int slot, NMHDR *header) {
    DialogDefinition &d = dialog();
    if (slot >= 0 && slot < d.controlCount && slot < kSlotCount) {
        if (kindIs(slot, "listbox")) {
            if (header->code == UINT(NM_CLICK)) {
                NMITEMACTIVATE *click = reinterpret_cast<NMITEMACTIVATE *>(header);
                if (d.templateId == IDD_DUAL_LIST) {
                    onDualListClick(dialogWindow, slot, click->iItem);
                } else if (click->iSubItem == 0) {
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
                cellEditorHandler(header->hwndFrom, WM_NOTIFY, WPARAM(slot), header);
                break;
            default:
                break;
            }
        }
    }
    if (header->code == UINT(TCN_SELCHANGE)) showPageOfCurrentTab();
    return TRUE;
}

// ---- WM_SIZE -----------------------------------------------------------

void relayoutListColumns(HWND list, const ControlSpec &s, bool table) {
    HWND editor = GetDlgItem(list, kCellEditorId);
    if (editor != nullptr) DestroyWindow(editor);
    if (!flag(s, 1)) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(s.width, 0));
        return;
    }
    int first = table ? 0 : kListCheckColumnWidth;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(first, 0));
    int columns = param(s, 3);
    if (columns == 0) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(s.width - first, 0));
        return;
    }
    for (int k = 1; k <= columns; ++k) {
        int percent = decimalValue(pipeFieldNarrow(extraNarrow(s, 2).data(), size_t(k - 1)).data());
        SendMessageW(list, LVM_SETCOLUMNWIDTH, WPARAM(k), MAKELPARAM((s.width - first) * percent / 100, 0));
    }
}

void centreDualListColumns(int outerWidth) {
    int half = outerWidth / 2;
    for (int i : {kSourceListSlot, kTargetListSlot, kSourceTitleSlot, kTargetTitleSlot}) slotAt(i).width = half - 44;
    slotAt(kTargetListSlot).x = half + 19;
    slotAt(kTargetTitleSlot).x = half + 19;
    for (int i = kMoveOneSlot; i <= kMoveAllBackSlot; ++i) slotAt(i).x = half - 19;
}

BOOL onSize(HWND dialogWindow) {
    DialogDefinition &d = dialog();
    if (d.templateId == IDD_PROGRESS) return TRUE;
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
    int dw = w - d.width;
    int dh = h - d.height;
    if (d.templateId == IDD_DUAL_LIST) centreDualListColumns(w);
    for (int i = 0; i < d.controlCount && i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (s.growHeight > 0) s.height = int(s.growHeight * dh + s.height);
        if (s.growWidth > 0) s.width = int(s.growWidth * dw + s.width);
        if (s.followRight == 1) s.x += dw;
        if (s.followBottom == 1) s.y += dh;
        HWND control = GetDlgItem(dialogWindow, controlIdOf(i));
        if (control == nullptr) continue;
        if (kindIs(i, "listbox") || kindIs(i, "listboxview")) relayoutListColumns(control, s, kindIs(i, "listboxview"));
        MoveWindow(control, s.x, s.y, s.width, s.height, TRUE);
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
        return FALSE;
    default:
        return FALSE;
    }
}
