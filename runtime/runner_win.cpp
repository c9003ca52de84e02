#include "runtime/runner.h"

#include <windows.h>

#include "runtime/activation_win.h"
#include "runtime/dialog_proc.h"
#include "runtime/entry_guard_win.h"
#include "runtime/module.h"
#include "runtime/open_dialog.h"

namespace {

// The modeless dialog this module created and has not destroyed; null when
// there is none. Its hooks are in its record.
HWND gModeless = nullptr;

bool modelessAlive() {
    if (gModeless != nullptr && !IsWindow(gModeless)) gModeless = nullptr;
    return gModeless != nullptr;
}

} // namespace

void closeModelessDialog() {
    if (!modelessAlive()) return;
    HWND window = gModeless;
    gModeless = nullptr;
    DestroyWindow(window);
    if (dialog().dialogWindow == window) dialog().dialogWindow = nullptr;
}

bool runDialog(const DialogHooks &hooks) {
    DialogDefinition &d = dialog();
    // Another dialog takes over the record's window and the hooks, so the
    // modeless one could no longer be driven nor answer its own messages:
    // it goes, rather than stay on screen for good.
    if (modelessAlive()) {
        const OpenDialog *open = openDialogOf(gModeless);
        if (open == nullptr || open->hooks != &hooks) closeModelessDialog();
    }
    d.ownerWindow = GetActiveWindow();
    HINSTANCE instance = static_cast<HINSTANCE>(runtimeModule());
    ActivationScope scope;
    forgetEntryFailure();

    if (hooks.modeless) {
        if (!modelessAlive() || d.dialogWindow != gModeless) {
            closeModelessDialog();
            d.dialogWindow = CreateDialogParamW(instance, MAKEINTRESOURCEW(d.templateId), d.ownerWindow,
                                                mainDialogProc, reinterpret_cast<LPARAM>(&hooks));
            gModeless = d.dialogWindow;
        }
        if (d.dialogWindow != nullptr) ShowWindow(d.dialogWindow, SW_SHOW);
        rethrowEntryFailure();
        return false;
    }

    // Only a press of a button sets this again, so a dialog that closes by
    // its timer or the close box reports no button rather than the one an
    // earlier dialog closed with.
    d.resultIndex = -1;
    INT_PTR ended = DialogBoxParamW(instance, MAKEINTRESOURCEW(d.templateId), d.ownerWindow, mainDialogProc,
                                   reinterpret_cast<LPARAM>(&hooks));
    // Also after a failure: a stale handle here would keep the modeless
    // window from ever being created again.
    d.dialogWindow = nullptr;
    rethrowEntryFailure();
    return ended == -1;
}
