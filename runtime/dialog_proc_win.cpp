#include "runtime/dialog_proc.h"

#include <commctrl.h>

#include <algorithm>

#include "model/dialog_definition.h"
#include "model/fields.h"
#include "model/options.h"
#include "runtime/cell_editor.h"
#include "runtime/control_factory.h"
#include "runtime/control_kinds.h"
#include "runtime/dialog_hooks.h"
#include "runtime/entry_guard_win.h"
#include "runtime/fonts.h"
#include "runtime/grid_rules.h"
#include "runtime/keyboard_win.h"
#include "runtime/list_view_win.h"
#include "runtime/message_copy_win.h"
#include "runtime/open_dialog.h"
#include "runtime/readback.h"
#include "runtime/screen_rules.h"

namespace {

// Window styles that replace the template's when a dialog opens.
constexpr DWORD kDialogFrame = DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;
constexpr LONG kStyleNoCaption = LONG(WS_POPUP | WS_SYSMENU | kDialogFrame);
constexpr LONG kStyleSizable = LONG(WS_CAPTION | WS_THICKFRAME | kDialogFrame);
constexpr LONG kStyleFixed = LONG(WS_CAPTION | kDialogFrame);

ControlSpec &slotAt(int index) {
    return dialog().controls[index];
}

const KindRow &rowOf(int index) {
    return kindRow(index >= 0 && index < kSlotCount ? slotAt(index).kind.control() : ControlKind::kNone);
}

// ---- WM_INITDIALOG -----------------------------------------------------

void focusFirstRequested(bool &focusSet) {
    for (int i = 0; i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (s.initialFocus != 1) continue;
        const KindRow &row = rowOf(i);
        HWND target = row.focusWindow != nullptr ? row.focusWindow(s) : s.window;
        if (target != nullptr) {
            SetFocus(target);
            // Caret after the last character, nothing selected.
            SendMessageW(target, EM_SETSEL, 0, -1);
            SendMessageW(target, EM_SETSEL, WPARAM(-1), -1);
            focusSet = true;
        }
        return;
    }
}

void CALLBACK closeTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    HWND running = dialog().dialogWindow;
    if (running == nullptr) return;
    guardEntry(running, 0, [&] {
        KillTimer(running, kCloseTimerId);
        EndDialog(running, 0);
        return 0;
    });
}

// The hooks of the dialog; a window still without its record (messages
// before WM_INITDIALOG) has none.
const DialogHooks &hooksOf(HWND dialogWindow) {
    const OpenDialog *open = openDialogOf(dialogWindow);
    return open != nullptr ? *open->hooks : kPlainDialog;
}

BOOL onInitDialog(HWND dialogWindow, const DialogHooks *hooks) {
    DialogDefinition &d = dialog();
    d.dialogWindow = dialogWindow;
    OpenDialog &open = openDialogRecord(dialogWindow, hooks != nullptr ? *hooks : kPlainDialog);
    // The dialog manager made the dialog's font for this window's scale;
    // every control is placed at the same.
    open.scale = Scale{dpiOfWindow(dialogWindow)};
    if (d.copiesMessage == 1) watchCopyKey(dialogWindow);

    EnableMenuItem(GetSystemMenu(dialogWindow, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    SetWindowTextW(dialogWindow, d.title.data());
    LONG style = d.noCaption ? kStyleNoCaption : (d.resizable ? kStyleSizable : kStyleFixed);
    SetWindowLongW(dialogWindow, GWL_STYLE, style);

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
    for (int i = 0; i < kSlotCount; ++i) {
        if (rowOf(i).opened != nullptr) rowOf(i).opened(dialogWindow, i);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (slotAt(i).disabled == 1 && slotAt(i).window != nullptr) EnableWindow(slotAt(i).window, FALSE);
    }
    const bool modal = hooks == nullptr || !hooks->modeless;
    if (modal) {
        markControlGroups(dialogWindow);
        watchKeys(dialogWindow);
    }
    if (d.timerEnabled == 1) SetTimer(dialogWindow, kCloseTimerId, d.timerInterval, closeTimerProc);
    if (d.defaultButton != 0) SendMessageW(dialogWindow, DM_SETDEFID, WPARAM(d.defaultButton), 0);

    // The new style takes effect with the frame recomputed here.
    const ScreenRect placed = keepOnNearestScreen(drawnAt(open.scale, d.windowRect()));
    SetWindowPos(dialogWindow, HWND_NOTOPMOST, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    InvalidateRect(dialogWindow, nullptr, TRUE);

    // Only once the window is shown: focusing a control of the hidden window
    // activated it early, and the shown window kept an inactive caption.
    // Without a field asked for, the first field takes the focus, so that
    // a user types straight away; a dialog without one leaves it on its
    // default button.
    bool focusSet = false;
    focusFirstRequested(focusSet);
    if (!focusSet && modal) focusSet = focusFirstField(dialogWindow);
    return focusSet ? FALSE : TRUE;
}

// ---- WM_COMMAND --------------------------------------------------------

void captureValuesAndEnd(HWND dialogWindow, int pressed) {
    for (int i = 0; i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (rowOf(i).options & kPressable) continue;
        HWND parent = dialogWindow;
        if (s.ownerIndex >= 0 && s.ownerIndex < kSlotCount) parent = slotAt(s.ownerIndex).window;
        WideText value = parent != nullptr ? readControlValue(parent, i) : WideText();
        s.text = value;
    }
    dialog().resultIndex = pressed;
    EndDialog(dialogWindow, 0);
}

BOOL onCommand(HWND dialogWindow, int id, int code) {
    const DialogHooks &hooks = hooksOf(dialogWindow);
    if (id == kCancelId) {
        // Esc, from the dialog manager.
        if (hooks.onEscape != nullptr) hooks.onEscape(dialogWindow);
        return TRUE;
    }
    if (id >= kSlotCount || !(rowOf(id).options & kPressable) || code != BN_CLICKED) return TRUE;
    if (hooks.onCommand != nullptr && hooks.onCommand(dialogWindow, id)) return TRUE;
    captureValuesAndEnd(dialogWindow, id);
    return TRUE;
}

// ---- WM_NOTIFY ---------------------------------------------------------

BOOL onNotify(HWND dialogWindow, int slot, NMHDR *header) {
    DialogDefinition &d = dialog();
    if (header->code == UINT(LVN_GETDISPINFOW) && answerCellText(reinterpret_cast<NMLVDISPINFOW *>(header))) {
        return TRUE;
    }
    if (header->code == UINT(LVN_ODFINDITEMW) && holdsNoRows(header->hwndFrom)) {
        SetWindowLongPtrW(dialogWindow, DWLP_MSGRESULT,
                          LONG_PTR(answerFindRow(reinterpret_cast<const NMLVFINDITEMW *>(header))));
        return TRUE;
    }
    LRESULT answer = 0;
    if (paintCellCursor(header, answer) || followListPainting(header, answer)) {
        SetWindowLongPtrW(dialogWindow, DWLP_MSGRESULT, LONG_PTR(answer));
        return TRUE;
    }
    bool handled = false;
    if (slot >= 0 && slot < d.controlCount && slot < kSlotCount) {
        const DialogHooks &hooks = hooksOf(dialogWindow);
        intptr_t result = 0;
        if (hooks.onNotify != nullptr && hooks.onNotify(dialogWindow, slot, header, result)) {
            answer = LRESULT(result);
            handled = true;
        } else if (rowOf(slot).notify != nullptr) {
            handled = rowOf(slot).notify(dialogWindow, slot, header, answer);
        }
    } else if (header->hwndFrom != nullptr && header->hwndFrom == d.tabControlWindow) {
        // One tab control serves every tab slot; it is no slot's control.
        handled = kindRow(ControlKind::kTabControl).notify(dialogWindow, -1, header, answer);
    }
    if (handled) SetWindowLongPtrW(dialogWindow, DWLP_MSGRESULT, LONG_PTR(answer));
    return TRUE;
}

// ---- WM_SIZE, WM_DPICHANGED ---------------------------------------------

// The record keeps the window's size in script units, as scripts read it
// back; the window has it in pixels.
BOOL onSize(HWND dialogWindow) {
    DialogDefinition &d = dialog();
    const Scale scale = scaleOf(dialogWindow);
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
    const DialogHooks &hooks = hooksOf(dialogWindow);
    if (hooks.onSize != nullptr && hooks.onSize(dialogWindow, w, h)) return TRUE;
    int dw = w - d.width;
    int dh = h - d.height;
    for (int i = 0; i < d.controlCount && i < kSlotCount; ++i) {
        ControlSpec &s = slotAt(i);
        if (s.growHeight > 0) s.height = int(s.growHeight * dh + s.height);
        if (s.growWidth > 0) s.width = int(s.growWidth * dw + s.width);
        if (s.followRight == 1) s.x += dw;
        if (s.followBottom == 1) s.y += dh;
        placeSlotControl(dialogWindow, i);
    }
    d.width = w;
    d.height = h;
    InvalidateRect(dialogWindow, nullptr, TRUE);
    return TRUE;
}

// A per-monitor host's dialog dragged to a screen of another scale: the
// dialog takes the new scale, the rectangle the system suggests, and lays
// its controls out again. The fonts it made grow or shrink with it; the
// dialog's own font is the system's to change.
BOOL onDpiChanged(HWND dialogWindow, int dpi, const RECT &suggested) {
    OpenDialog *open = openDialogOf(dialogWindow);
    if (open == nullptr || dpi <= 0) return FALSE;
    const int before = open->scale.dpi;
    open->scale = Scale{dpi};
    rescaleOwnedFonts(*open, before, dpi);
    SetWindowPos(dialogWindow, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Also when the size in script units stays, and no WM_SIZE came.
    onSize(dialogWindow);
    placeTabs(dialogWindow, before);
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

// Handled here in full: left to the system, a close would also send the
// command that Esc sends, and press a progress window's cancel button.
BOOL onClose(HWND dialogWindow) {
    KillTimer(dialogWindow, kCloseTimerId);
    KillTimer(dialogWindow, kSpareTimerId);
    EndDialog(dialogWindow, 0);
    return TRUE;
}

// ---- WM_NCHITTEST --------------------------------------------------------

// A point of the client area answers as the caption would, so the system
// drags the window from there. A control under the point answers for
// itself and the point never gets here, but for a text, which lets it
// through: the window is dragged by its texts too.
BOOL onHitTest(HWND dialogWindow, LPARAM point) {
    if (!hooksOf(dialogWindow).dragsByClientArea) return FALSE;
    if ((GetWindowLongW(dialogWindow, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) return FALSE;
    if (DefWindowProcW(dialogWindow, WM_NCHITTEST, 0, point) != HTCLIENT) return FALSE;
    SetWindowLongPtrW(dialogWindow, DWLP_MSGRESULT, LONG_PTR(HTCAPTION));
    return TRUE;
}

} // namespace

void enableDialogItem(HWND dialogWindow, int slot, bool enable) {
    HWND item = GetDlgItem(dialogWindow, slot);
    if (item == nullptr) return;
    if (!enable && GetFocus() == item) SendMessageW(dialogWindow, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(item, enable ? TRUE : FALSE);
}

static INT_PTR dialogProcBody(HWND dialogWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // The runner hands over the dialog's hooks at creation.
        return onInitDialog(dialogWindow, reinterpret_cast<const DialogHooks *>(lParam));
    case WM_COMMAND:
        return onCommand(dialogWindow, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return onNotify(dialogWindow, int(LOWORD(wParam)), reinterpret_cast<NMHDR *>(lParam));
    case WM_SIZE:
        return onSize(dialogWindow);
    case WM_DPICHANGED:
        return onDpiChanged(dialogWindow, int(HIWORD(wParam)), *reinterpret_cast<const RECT *>(lParam));
    case WM_TIMER:
        return onTimer(dialogWindow, UINT_PTR(wParam));
    case WM_CLOSE:
        return onClose(dialogWindow);
    case WM_NCHITTEST:
        return onHitTest(dialogWindow, lParam);
    case WM_NCDESTROY:
        // Children are gone by now, so their fonts and lent texts can go too.
        stopWatchingKeys(dialogWindow);
        closeDialogRecord(dialogWindow);
        // A destroyed modeless window must not be driven through a handle
        // that the system may give to another window.
        if (dialog().dialogWindow == dialogWindow) dialog().dialogWindow = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK mainDialogProc(HWND dialogWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardEntry(dialogWindow, INT_PTR(FALSE),
                      [&] { return dialogProcBody(dialogWindow, message, wParam, lParam); });
}
