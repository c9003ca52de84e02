#include "runtime/runner.h"

#include <windows.h>

#include "runtime/activation_win.h"
#include "runtime/dialog_proc.h"
#include "runtime/module.h"

bool runDialog(const DialogHooks &hooks) {
    DialogDefinition &d = dialog();
    setDialogHooks(hooks);
    d.ownerWindow = GetActiveWindow();
    HINSTANCE instance = static_cast<HINSTANCE>(runtimeModule());
    ActivationScope scope;

    if (hooks.modeless) {
        if (d.dialogWindow == nullptr) {
            d.dialogWindow = CreateDialogParamW(instance, MAKEINTRESOURCEW(d.templateId), d.ownerWindow,
                                                mainDialogProc, 0);
        }
        if (d.dialogWindow != nullptr) ShowWindow(d.dialogWindow, SW_SHOW);
        return false;
    }

    // Only a press of a button sets this again, so a dialog that closes by
    // its timer or the close box reports no button rather than the one an
    // earlier dialog closed with.
    d.resultIndex = -1;
    INT_PTR ended = DialogBoxParamW(instance, MAKEINTRESOURCEW(d.templateId), d.ownerWindow, mainDialogProc, 0);
    // Also after a failure: a stale handle here would keep the modeless
    // window from ever being created again.
    d.dialogWindow = nullptr;
    return ended == -1;
}
