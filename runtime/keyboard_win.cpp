#include "runtime/keyboard_win.h"

#include <commctrl.h>

#include "model/dialog_definition.h"
#include "runtime/cell_tips_win.h"
#include "runtime/control_factory.h"
#include "runtime/control_kinds.h"
#include "runtime/dialog_proc.h"
#include "runtime/entry_guard_win.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"

namespace {

DWORD styleOf(HWND window) {
    return DWORD(GetWindowLongW(window, GWL_STYLE));
}

// What the row of the slot that made `window` says of it; nothing for a
// window no slot made (the tab control, a page's own text, a cell editor).
bool madeWith(const OpenDialog &open, HWND window, KindOption option) {
    const int slot = window != nullptr ? open.slotOf(window) : -1;
    return slot >= 0 && (kindRow(dialog().controls[slot]).options & option) != 0;
}

bool isPushButton(const OpenDialog &open, HWND window) {
    return madeWith(open, window, kPressable);
}

// Buttons of one group share the slot that made them.
bool sameButtonGroup(const OpenDialog &open, HWND a, HWND b) {
    return madeWith(open, a, kButtonGroup) && madeWith(open, b, kButtonGroup) && open.slotOf(a) == open.slotOf(b);
}

bool isControlParent(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
}

void markGroupsIn(const OpenDialog &open, HWND parent) {
    HWND before = nullptr;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool follows =
            sameButtonGroup(open, before, child) || (isPushButton(open, before) && isPushButton(open, child));
        const DWORD style = styleOf(child);
        const DWORD wanted = follows ? style & ~DWORD(WS_GROUP) : style | WS_GROUP;
        if (wanted != style) SetWindowLongW(child, GWL_STYLE, LONG(wanted));
        if (isControlParent(child)) markGroupsIn(open, child);
        before = child;
    }
}

// A field takes what is typed; the tabs and push buttons only act, and a
// long message shown in a field that scrolls is only read.
bool isField(const OpenDialog &open, HWND window) {
    const int slot = open.slotOf(window);
    const bool readOnly = slot >= 0 && open.scrollingTexts.test(size_t(slot));
    return !isPushButton(open, window) && window != open.tabs && !readOnly;
}

// The first stop of Tab under `parent` (a page shown, or the dialog) that
// is a field; null when there is none.
HWND firstField(const OpenDialog &open, HWND parent) {
    HWND first = GetNextDlgTabItem(parent, nullptr, FALSE);
    for (HWND stop = first; stop != nullptr;) {
        if (isField(open, stop) && IsChild(parent, stop)) return stop;
        stop = GetNextDlgTabItem(parent, stop, FALSE);
        if (stop == first) break;
    }
    return nullptr;
}

// ---- keys before the dialog manager -------------------------------------

constexpr WPARAM kEscapeCharacter = 0x1B; // WM_CHAR of Esc

bool controlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

bool shiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

// Ctrl+Tab and Ctrl+Page Down show the next page, with Shift or Page Up
// the one before, as in the system's property sheets.
bool switchTabPage(const OpenDialog &open, const MSG &message) {
    if (message.message != WM_KEYDOWN || !controlDown() || open.tabs == nullptr) return false;
    int step = 0;
    if (message.wParam == VK_TAB) step = shiftDown() ? -1 : 1;
    if (message.wParam == VK_NEXT) step = 1;
    if (message.wParam == VK_PRIOR) step = -1;
    if (step == 0) return false;
    showNextTabPage(open.window, step);
    return true;
}

// A multi-line field passes Tab to its parent, which for a field on a tab
// page is the page: the walk would go round that page for ever. The dialog
// walks on itself.
bool leaveMultiLineField(const OpenDialog &open, const MSG &message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || controlDown()) return false;
    if (!madeWith(open, message.hwnd, kTakesEveryKey) || GetParent(message.hwnd) == open.window) return false;
    SendMessageW(open.window, WM_NEXTDLGCTL, WPARAM(shiftDown() ? 1 : 0), 0);
    return true;
}

// A multi-line field takes every key, Esc included, and answers Esc by
// closing its dialog as the close box would: what the user wrote there would
// be gone. Esc goes to the dialog instead, as from any other control.
bool escapeFromMultiLineField(const OpenDialog &open, const MSG &message) {
    const bool escape = (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) ||
                        (message.message == WM_CHAR && message.wParam == kEscapeCharacter);
    if (!escape || !madeWith(open, message.hwnd, kTakesEveryKey)) return false;
    if (message.message == WM_KEYDOWN) SendMessageW(open.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    return true;
}

// Ctrl+Enter presses the default button from any control, also from one
// where Enter has a meaning of its own: a many-line field, the grid, a list.
bool pressDefaultButton(const OpenDialog &open, const MSG &message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN || !controlDown()) return false;
    const LRESULT found = SendMessageW(open.window, DM_GETDEFID, 0, 0);
    if (HIWORD(found) != DC_HASDEFID) return false;
    pressDialogButton(open.window, int(LOWORD(found)));
    return true;
}

bool handleKey(const MSG &message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN && message.message != WM_CHAR) {
        return false;
    }
    if (message.hwnd == nullptr) return false;
    const HWND dialogWindow = GetAncestor(message.hwnd, GA_ROOT);
    const OpenDialog *open = openDialogOf(dialogWindow);
    if (open == nullptr || open->keyWatch == nullptr || open->window != dialogWindow) return false;
    if (pressDefaultButton(*open, message)) return true;
    if (open->hooks->onKey != nullptr && open->hooks->onKey(dialogWindow, message)) return true;
    // A control's own child (a grid's cell editor) goes with the control.
    int slot = open->slotOf(message.hwnd);
    if (slot < 0 && GetParent(message.hwnd) != dialogWindow) slot = open->slotOf(GetParent(message.hwnd));
    if (slot >= 0) {
        const KindRow &row = kindRow(dialog().controls[slot]);
        if (row.key != nullptr && row.key(dialogWindow, slot, message)) return true;
    }
    return switchTabPage(*open, message) || leaveMultiLineField(*open, message) ||
           escapeFromMultiLineField(*open, message);
}

// The system calls this for each message of a dialog's modal loop before
// the dialog manager takes it; TRUE keeps the message from going on.
LRESULT CALLBACK keyFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && lParam != 0) {
        const MSG &message = *reinterpret_cast<const MSG *>(lParam);
        guardEntry(message.hwnd, false, [&] {
            followListMouse(message);
            return false;
        });
        if (guardEntry(message.hwnd, false, [&] { return handleKey(message); })) return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void markControlGroups(HWND dialogWindow) {
    if (const OpenDialog *open = openDialogOf(dialogWindow)) markGroupsIn(*open, dialogWindow);
}

bool focusFirstField(HWND dialogWindow) {
    const OpenDialog *open = openDialogOf(dialogWindow);
    if (open == nullptr) return false;
    HWND target = firstField(*open, dialogWindow);
    if (target == nullptr) {
        const int slot = dialog().defaultButton;
        HWND button = slot >= 0 && slot < kSlotCount ? GetDlgItem(dialogWindow, slot) : nullptr;
        if (button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button)) target = button;
    }
    if (target == nullptr) return false;
    SendMessageW(dialogWindow, WM_NEXTDLGCTL, WPARAM(target), TRUE);
    return true;
}

void watchKeys(HWND dialogWindow) {
    OpenDialog *open = openDialogOf(dialogWindow);
    if (open == nullptr || open->keyWatch != nullptr) return;
    open->keyWatch = SetWindowsHookExW(WH_MSGFILTER, keyFilter, nullptr, GetCurrentThreadId());
}

void stopWatchingKeys(HWND dialogWindow) {
    OpenDialog *open = openDialogOf(dialogWindow);
    if (open == nullptr || open->keyWatch == nullptr) return;
    UnhookWindowsHookEx(open->keyWatch);
    open->keyWatch = nullptr;
}

void showNextTabPage(HWND dialogWindow, int step) {
    const OpenDialog *open = openDialogOf(dialogWindow);
    const HWND tabs = open != nullptr ? open->tabs : nullptr;
    const int count = tabs != nullptr ? int(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    if (count < 1) return;
    const int current = int(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    const int next = ((current + step) % count + count) % count;
    const bool onTabs = GetFocus() == tabs;
    SendMessageW(tabs, TCM_SETCURSEL, WPARAM(next), 0);
    NMHDR change = {tabs, UINT_PTR(kTabControlId), UINT(TCN_SELCHANGE)};
    SendMessageW(dialogWindow, WM_NOTIFY, WPARAM(kTabControlId), LPARAM(&change));
    // The focus stays on the tabs; from a field it goes to the new page's
    // first field, never staying on one that is hidden now.
    if (onTabs) return;
    HWND page = tabPageAt(*open, next);
    HWND field = page != nullptr ? firstField(*open, page) : nullptr;
    SendMessageW(dialogWindow, WM_NEXTDLGCTL, WPARAM(field != nullptr ? field : tabs), TRUE);
}
