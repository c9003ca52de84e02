#include "runtime/runner.h"

namespace {
DialogPlayer gPlayer;
int gRuns = 0;
const DialogHooks *gHooks = &kPlainDialog;
// Stands for the window of a modeless dialog: only its address is used.
char gModelessToken;
} // namespace

void setDialogPlayer(DialogPlayer player) {
    gPlayer = std::move(player);
}

int dialogRunCount() {
    return gRuns;
}

const DialogHooks &dialogHooks() {
    return *gHooks;
}

bool runDialog(const DialogHooks &hooks) {
    ++gRuns;
    DialogDefinition &d = dialog();
    gHooks = &hooks;
    if (hooks.modeless) {
        if (d.dialogWindow == nullptr) d.dialogWindow = &gModelessToken;
        if (gPlayer) gPlayer(d);
        return false;
    }
    // As on Windows: a modal dialog drops the modeless window, and after it
    // no window is named.
    d.dialogWindow = nullptr;
    bool failed = true;
    if (gPlayer) {
        gPlayer(d);
        failed = false;
    }
    d.dialogWindow = nullptr;
    return failed;
}

void closeModelessDialog() {
    if (dialog().dialogWindow == &gModelessToken) dialog().dialogWindow = nullptr;
}
