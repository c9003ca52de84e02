#include "runtime/runner.h"

#include <windows.h>

#include "runtime/activation_win.h"
#include "runtime/dialog_proc.h"
#include "runtime/entry_guard_win.h"
#include "runtime/module.h"
#include "runtime/open_dialog.h"

namespace {

// The one modeless dialog this module has made and not destroyed (the
// progress window); null when there is none. Everything else about it is in
// its own record. Later calls of a script drive it through this handle.
HWND gModelessWindow = nullptr;

bool modelessAlive() {
    if (gModelessWindow != nullptr && !IsWindow(gModelessWindow)) gModelessWindow = nullptr;
    return gModelessWindow != nullptr;
}

} // namespace

void closeModelessDialog() {
    if (!modelessAlive()) return;
    HWND window = gModelessWindow;
    gModelessWindow = nullptr;
    DestroyWindow(window);
}

HWND modelessDialogWindow(const DialogHooks &hooks) {
    if (!modelessAlive()) return nullptr;
    const OpenDialog *open = openDialogOf(gModelessWindow);
    return open != nullptr && open->hooks == &hooks ? gModelessWindow : nullptr;
}

void runDialog(const DialogHooks &hooks) {
    const DialogDefinition &d = dialog();
    // Another dialog takes over the record's slots, so the modeless one
    // could no longer be driven nor answer its own messages: it goes,
    // rather than stay on screen for good.
    if (modelessAlive() && modelessDialogWindow(hooks) == nullptr) closeModelessDialog();
    HWND owner = GetActiveWindow();
    HINSTANCE instance = static_cast<HINSTANCE>(runtimeModule());
    ActivationScope scope;
    forgetEntryFailure();

    if (hooks.modeless) {
        if (!modelessAlive()) {
            gModelessWindow = CreateDialogParamW(instance, MAKEINTRESOURCEW(d.templateId), owner, mainDialogProc,
                                                 reinterpret_cast<LPARAM>(&hooks));
        }
        if (gModelessWindow != nullptr) ShowWindow(gModelessWindow, SW_SHOW);
        rethrowEntryFailure();
        if (gModelessWindow == nullptr) throw DialogNotShown();
        return;
    }

    // Only a press of a button sets this again, so a dialog that closes by
    // its timer or the close box reports no button rather than the one an
    // earlier dialog closed with.
    dialog().resultIndex = -1;
    const INT_PTR ended = DialogBoxParamW(instance, MAKEINTRESOURCEW(d.templateId), owner, mainDialogProc,
                                          reinterpret_cast<LPARAM>(&hooks));
    rethrowEntryFailure();
    if (ended == -1) throw DialogNotShown();
}
