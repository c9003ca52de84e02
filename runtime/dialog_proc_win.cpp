#include "runtime/dialog_proc.h"

#include <commctrl.h>

#include <algorithm>

#include "model/dialog_definition.h"
#include "model/fields.h"
#include "model/options.h"
#include "runtime/cell_editor.h"
#include "runtime/cell_tips_win.h"
#include "runtime/control_factory.h"
#include "runtime/control_kinds.h"
#include "runtime/dialog_hooks.h"
#include "runtime/dialog_signs_win.h"
#include "runtime/entry_guard_win.h"
#include "runtime/fit_rules.h"
#include "runtime/fonts.h"
#include "runtime/grid_rules.h"
#include "runtime/keyboard_win.h"
#include "runtime/list_view_win.h"
#include "runtime/message_copy_win.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"
#include "runtime/readback.h"
#include "runtime/screen_rules.h"

namespace {

// Window styles that replace the template's when a dialog opens.
constexpr DWORD kDialogFrame = DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;
constexpr LONG kStyleNoCaption = LONG(WS_POPUP | WS_SYSMENU | kDialogFrame);
constexpr LONG kStyleSizable = LONG(WS_CAPTION | WS_THICKFRAME | kDialogFrame);
constexpr LONG kStyleFixed = LONG(WS_CAPTION | kDialogFrame);


const KindRow &rowOf(int index) {
    return index >= 0 && index < kSlotCount ? kindRow(slotAt(index)) : kindRow(ControlKind::kNone);
}

// ---- WM_INITDIALOG -----------------------------------------------------

// The slot a script asked to have the focus; false when none asked or its
// control is missing.
bool focusFirstRequested(const OpenDialog &open) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).initialFocus != 1) continue;
        const KindRow &row = rowOf(i);
        HWND target = row.focusWindow != nullptr ? row.focusWindow(open, i) : open.windowOf(i);
        if (target == nullptr) return false;
        SetFocus(target);
        // Caret after the last character, nothing selected.
        SendMessageW(target, EM_SETSEL, 0, -1);
        SendMessageW(target, EM_SETSEL, WPARAM(-1), -1);
        return true;
    }
    return false;
}

void CALLBACK closeTimerProc(HWND dialogWindow, UINT, UINT_PTR, DWORD) {
    guardEntry(dialogWindow, 0, [&] {
        KillTimer(dialogWindow, kCloseTimerId);
        EndDialog(dialogWindow, 0);
        return 0;
    });
}

void createControls(HWND dialogWindow) {
    const DialogDefinition &d = dialog();
    // Kinds that host others (the tabs and their pages) come first, then the
    // rest in the dialog's reading order: each control is made after the
    // ones before it, which is the order Tab walks them.
    for (int i = 0; i < kSlotCount; ++i) {
        if (rowOf(i).options & kMadeFirst) createControl(dialogWindow, i);
    }
    for (int place = 0; place < kSlotCount; ++place) {
        const int i = slotMadeAt(d, place);
        if (!(rowOf(i).options & kMadeFirst) && slotAt(i).ownerIndex < 1) createControl(dialogWindow, i);
    }
}

BOOL onInitDialog(OpenDialog &open) {
    DialogDefinition &d = dialog();
    HWND dialogWindow = open.window;
    // The dialog manager made the dialog's font for this window's scale;
    // every control is placed at the same.
    open.scale = Scale{dpiOfWindow(dialogWindow)};
    if (d.copiesMessage == 1) watchCopyKey(dialogWindow);

    // Only a dialog that names a button for Esc has a close box, which
    // presses that button; elsewhere closing would answer nothing.
    const bool closes = d.cancelButton > 0;
    if (!closes) EnableMenuItem(GetSystemMenu(dialogWindow, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    SetWindowTextW(dialogWindow, d.title.data());
    LONG style = d.noCaption ? kStyleNoCaption : (d.resizable ? kStyleSizable : kStyleFixed);
    if (closes) style |= WS_SYSMENU;
    SetWindowLongW(dialogWindow, GWL_STYLE, style);

    fitToContent(open, DWORD(style));
    createControls(dialogWindow);
    finishFitting(open);
    for (int i = 0; i < kSlotCount; ++i) {
        if (rowOf(i).opened != nullptr) rowOf(i).opened(dialogWindow, i);
    }
    if (open.hooks->onOpened != nullptr) open.hooks->onOpened(dialogWindow);
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).disabled == 1 && open.windowOf(i) != nullptr) EnableWindow(open.windowOf(i), FALSE);
    }
    const bool modal = !open.hooks->modeless;
    if (modal) {
        markControlGroups(dialogWindow);
        watchKeys(dialogWindow);
    }
    if (d.timerEnabled == 1) SetTimer(dialogWindow, kCloseTimerId, d.timerInterval, closeTimerProc);
    if (d.defaultButton != 0) SendMessageW(dialogWindow, DM_SETDEFID, WPARAM(d.defaultButton), 0);

    // The new style takes effect with the frame recomputed here.
    const ScreenRect placed = placeOpening(dialogWindow, open.scale);
    open.placed = placed;
    SetWindowPos(dialogWindow, HWND_NOTOPMOST, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    InvalidateRect(dialogWindow, nullptr, TRUE);

    showDialogSigns(open);

    // Only once the window is shown: focusing a control of the hidden window
    // activated it early, and the shown window kept an inactive caption.
    // Without a field asked for, the first field takes the focus, so that
    // a user types straight away; a dialog without one leaves it on its
    // default button.
    bool focusSet = focusFirstRequested(open);
    if (!focusSet && modal) focusSet = focusFirstField(dialogWindow);
    return focusSet ? FALSE : TRUE;
}

// ---- WM_COMMAND --------------------------------------------------------

void captureValuesAndEnd(const OpenDialog &open, int pressed) {
    for (int i = 0; i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (rowOf(i).options & kPressable) continue;
        HWND parent = open.window;
        if (s.ownerIndex >= 0) parent = open.windowOf(s.ownerIndex);
        s.text = parent != nullptr ? readControlValue(parent, i) : WideText();
    }
    dialog().resultIndex = pressed;
    EndDialog(open.window, 0);
}

BOOL onCommand(OpenDialog &open, int id, int code) {
    const DialogHooks &hooks = *open.hooks;
    if (id == kCancelId) {
        // Esc, from the dialog manager.
        if (hooks.onEscape != nullptr && hooks.onEscape(open.window)) return TRUE;
        if (dialog().cancelButton > 0) pressDialogButton(open.window, dialog().cancelButton);
        return TRUE;
    }
    if (id >= kSlotCount || !(rowOf(id).options & kPressable) || code != BN_CLICKED) return TRUE;
    if (hooks.onCommand != nullptr && hooks.onCommand(open.window, id)) return TRUE;
    captureValuesAndEnd(open, id);
    return TRUE;
}

// ---- WM_NOTIFY ---------------------------------------------------------

BOOL answer(const OpenDialog &open, LRESULT result) {
    SetWindowLongPtrW(open.window, DWLP_MSGRESULT, LONG_PTR(result));
    return TRUE;
}

BOOL onNotify(OpenDialog &open, int slot, NMHDR *header) {
    const DialogDefinition &d = dialog();
    if (header->code == UINT(LVN_GETDISPINFOW) && answerCellText(reinterpret_cast<NMLVDISPINFOW *>(header))) {
        return TRUE;
    }
    // A list's tip names the list, not a slot, as the one it serves.
    if (answerCellTip(header)) return TRUE;
    if (header->code == UINT(LVN_ODFINDITEMW) && holdsNoRows(header->hwndFrom)) {
        return answer(open, answerFindRow(reinterpret_cast<const NMLVFINDITEMW *>(header)));
    }
    LRESULT result = 0;
    if (paintCellCursor(header, result) || followListPainting(header, result)) return answer(open, result);
    if (header->hwndFrom != nullptr && header->hwndFrom == open.tabs) {
        // One tab control serves every tab slot; it is no slot's control.
        return kindRow(ControlKind::kTabControl).notify(open.window, -1, header, result) ? answer(open, result) : TRUE;
    }
    if (slot < 0 || slot >= d.controlCount || slot >= kSlotCount) return TRUE;
    intptr_t hookResult = 0;
    if (open.hooks->onNotify != nullptr && open.hooks->onNotify(open.window, slot, header, hookResult)) {
        return answer(open, LRESULT(hookResult));
    }
    if (rowOf(slot).notify != nullptr && rowOf(slot).notify(open.window, slot, header, result)) {
        return answer(open, result);
    }
    return TRUE;
}

// ---- WM_SIZE, WM_DPICHANGED ---------------------------------------------

// The record keeps the window's size in script units, as scripts read it
// back; the window has it in pixels.
BOOL onSize(OpenDialog &open) {
    DialogDefinition &d = dialog();
    HWND dialogWindow = open.window;
    const Scale scale = open.scale;
    RECT outer;
    GetWindowRect(dialogWindow, &outer);
    const int pixelWidth = outer.right - outer.left;
    const int pixelHeight = outer.bottom - outer.top;
    if (pixelWidth < scale.pixels(d.minWidth)) {
        SetWindowPos(dialogWindow, nullptr, 0, 0, scale.pixels(d.minWidth), pixelHeight, SWP_NOMOVE | SWP_NOZORDER);
        d.width = d.minWidth;
        return TRUE;
    }
    if (pixelHeight < scale.pixels(d.minHeight)) {
        SetWindowPos(dialogWindow, nullptr, 0, 0, pixelWidth, scale.pixels(d.minHeight), SWP_NOMOVE | SWP_NOZORDER);
        d.height = d.minHeight;
        return TRUE;
    }
    const int w = scale.units(pixelWidth);
    const int h = scale.units(pixelHeight);
    placeDialogSigns(open);
    if (open.hooks->onSize != nullptr && open.hooks->onSize(dialogWindow, w, h)) return TRUE;
    followResize(d, w - d.width, h - d.height);
    for (int i = 0; i < d.controlCount && i < kSlotCount; ++i) placeSlotControl(dialogWindow, i);
    InvalidateRect(dialogWindow, nullptr, TRUE);
    return TRUE;
}

// A per-monitor host's dialog dragged to a screen of another scale: the
// dialog takes the new scale, the rectangle the system suggests, and lays
// its controls out again. The fonts it made grow or shrink with it; the
// dialog's own font is the system's to change.
BOOL onDpiChanged(OpenDialog &open, int dpi, const RECT &suggested) {
    if (dpi <= 0) return FALSE;
    const int before = open.scale.dpi;
    open.scale = Scale{dpi};
    rescaleOwnedFonts(open, before, dpi);
    SetWindowPos(open.window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Also when the size in script units stays, and no WM_SIZE came.
    onSize(open);
    placeTabs(open, before);
    return TRUE;
}

// ---- WM_TIMER, WM_CLOSE ------------------------------------------------

BOOL onTimer(const OpenDialog &open, UINT_PTR id) {
    if (id == kTimerBarTimerId) stepTimerBar(open);
    if (id == kCloseTimerId) {
        KillTimer(open.window, kCloseTimerId);
        ShowWindow(open.window, SW_HIDE);
    }
    return FALSE;
}

// Handled here in full: left to the system, a close would also send the
// command that Esc sends, and press a progress window's cancel button.
BOOL onClose(const OpenDialog &open) {
    if (dialog().cancelButton > 0) {
        pressDialogButton(open.window, dialog().cancelButton);
        return TRUE;
    }
    KillTimer(open.window, kCloseTimerId);
    EndDialog(open.window, 0);
    return TRUE;
}

// ---- WM_EXITSIZEMOVE -------------------------------------------------------

// A dialog the user moved: later dialogs open where this one was left.
BOOL onMovedByUser(const OpenDialog &open) {
    RECT now{};
    if (!GetWindowRect(open.window, &now) || (now.left == open.placed.left && now.top == open.placed.top)) {
        return FALSE;
    }
    DialogDefinition &d = dialog();
    d.left = now.left;
    d.top = now.top;
    d.positionGiven = 1;
    return FALSE;
}

// ---- WM_NCHITTEST --------------------------------------------------------

// A point of the client area answers as the caption would, so the system
// drags the window from there. A control under the point answers for
// itself and the point never gets here, but for a text, which lets it
// through: the window is dragged by its texts too.
BOOL onHitTest(const OpenDialog &open, LPARAM point) {
    if (!open.hooks->dragsByClientArea) return FALSE;
    if ((GetWindowLongW(open.window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) return FALSE;
    if (DefWindowProcW(open.window, WM_NCHITTEST, 0, point) != HTCLIENT) return FALSE;
    return answer(open, HTCAPTION);
}

} // namespace

void enableDialogItem(HWND dialogWindow, int slot, bool enable) {
    HWND item = GetDlgItem(dialogWindow, slot);
    if (item == nullptr) return;
    if (!enable && GetFocus() == item) SendMessageW(dialogWindow, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(item, enable ? TRUE : FALSE);
}

void pressDialogButton(HWND dialogWindow, int slot) {
    HWND button = GetDlgItem(dialogWindow, slot);
    if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button)) return;
    // A click takes the focus first, and a cell being edited is written as
    // the focus leaves it; that may also have disabled the button.
    SendMessageW(dialogWindow, WM_NEXTDLGCTL, WPARAM(button), TRUE);
    if (!IsWindowEnabled(button)) return;
    SendMessageW(dialogWindow, WM_COMMAND, MAKEWPARAM(slot, BN_CLICKED), LPARAM(button));
}

// A flat switch: each message goes to its handler with the dialog's record,
// which the window has from WM_INITDIALOG (the runner hands over the hooks
// there) until WM_NCDESTROY; a message before or after that is the system's.
static INT_PTR dialogProcBody(HWND dialogWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const DialogHooks *hooks = reinterpret_cast<const DialogHooks *>(lParam);
        return onInitDialog(openDialogRecord(dialogWindow, hooks != nullptr ? *hooks : kPlainDialog));
    }
    OpenDialog *open = openDialogOf(dialogWindow);
    if (open == nullptr || open->window != dialogWindow) return FALSE;
    switch (message) {
    case WM_COMMAND:
        return onCommand(*open, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return onNotify(*open, int(LOWORD(wParam)), reinterpret_cast<NMHDR *>(lParam));
    case WM_SIZE:
        return onSize(*open);
    case WM_DPICHANGED:
        return onDpiChanged(*open, int(HIWORD(wParam)), *reinterpret_cast<const RECT *>(lParam));
    case WM_TIMER:
        return onTimer(*open, UINT_PTR(wParam));
    case WM_CLOSE:
        return onClose(*open);
    case WM_NCHITTEST:
        return onHitTest(*open, lParam);
    case WM_EXITSIZEMOVE:
        return onMovedByUser(*open);
    case WM_NCDESTROY:
        // Children are gone by now, so their fonts and lent texts can go too.
        stopWatchingKeys(dialogWindow);
        closeDialogRecord(dialogWindow);
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK mainDialogProc(HWND dialogWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardEntry(dialogWindow, INT_PTR(FALSE),
                      [&] { return dialogProcBody(dialogWindow, message, wParam, lParam); });
}
