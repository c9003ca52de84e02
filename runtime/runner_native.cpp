#include "runtime/runner.h"

namespace {
DialogPlayer gPlayer;
int gRuns = 0;
const DialogHooks *gHooks = &kPlainDialog;
// Stands for the window of a modeless dialog: only its address is used.
char gModelessToken;
bool gModelessOpen = false;
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

void runDialog(const DialogHooks &hooks) {
    ++gRuns;
    DialogDefinition &d = dialog();
    // As on Windows: any other dialog drops the modeless window.
    if (gModelessOpen && gHooks != &hooks) gModelessOpen = false;
    gHooks = &hooks;
    if (hooks.modeless) {
        gModelessOpen = true;
        if (gPlayer) gPlayer(d);
        return;
    }
    if (!gPlayer) throw DialogNotShown();
    gPlayer(d);
}

void closeModelessDialog() {
    gModelessOpen = false;
}

WindowHandle modelessDialogWindow(const DialogHooks &hooks) {
    return gModelessOpen && gHooks == &hooks ? &gModelessToken : nullptr;
}
