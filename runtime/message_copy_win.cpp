#include "runtime/message_copy_win.h"

#include <cstring>

#include "model/dialog_definition.h"
#include "runtime/entry_guard_win.h"
#include "runtime/message_copy.h"
#include "runtime/open_dialog.h"
#include "runtime/readback.h"

namespace {

constexpr int kClipboardTries = 5;      // another program may hold the clipboard a moment
constexpr DWORD kClipboardWaitMs = 20;

bool isCopyKey(const MSG &message) {
    return message.message == WM_KEYDOWN && message.wParam == WPARAM('C') && GetKeyState(VK_CONTROL) < 0 &&
           GetKeyState(VK_MENU) >= 0;
}

// An edit copies its own selection; the dialog manager knows it by this code.
bool copiesItself(HWND focus) {
    return (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0;
}

bool openClipboard(HWND owner) {
    for (int attempt = 0; attempt < kClipboardTries; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(kClipboardWaitMs);
    }
    return false;
}

void putOnClipboard(HWND owner, const WideText &text) {
    const size_t bytes = (text.length() + 1) * sizeof(TextUnit);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return;
    void *target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return;
    }
    std::memcpy(target, text.data(), bytes);
    GlobalUnlock(memory);
    if (!openClipboard(owner)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    CloseClipboard();
}

void copyMessage(HWND dialogWindow) {
    HWND message = GetDlgItem(dialogWindow, kMessageSlot);
    const WideText shown = message != nullptr && IsWindowVisible(message) ? windowText(message) : WideText();
    const WideText copy = messageCopyText(windowText(dialogWindow), shown);
    // Nothing to copy leaves the clipboard as it was.
    if (!copy.empty()) putOnClipboard(dialogWindow, copy);
}

// The dialog's modal loop, and the progress window's, hand every message to
// this filter before the dialog manager: the key never reaches a control,
// which would ignore it anyway.
LRESULT CALLBACK copyKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const MSG *message = reinterpret_cast<const MSG *>(lParam);
    if (code == MSGF_DIALOGBOX && message != nullptr && isCopyKey(*message)) {
        HWND dialogWindow = GetAncestor(message->hwnd, GA_ROOT);
        const OpenDialog *open = openDialogOf(dialogWindow);
        if (open != nullptr && open->copyHook != nullptr && !copiesItself(message->hwnd)) {
            const bool copied = guardEntry(dialogWindow, false, [&] {
                copyMessage(dialogWindow);
                return true;
            });
            if (copied) return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void watchCopyKey(HWND dialogWindow) {
    OpenDialog *open = openDialogOf(dialogWindow);
    if (open == nullptr || open->copyHook != nullptr) return;
    open->copyHook = SetWindowsHookExW(WH_MSGFILTER, copyKeyFilter, nullptr, GetCurrentThreadId());
}
