#include "runtime/runner.h"

namespace {
DialogPlayer gPlayer;
int gRuns = 0;
} // namespace

void setDialogPlayer(DialogPlayer player) {
    gPlayer = std::move(player);
}

int dialogRunCount() {
    return gRuns;
}

bool runDialog(const DialogHooks &hooks) {
    ++gRuns;
    setDialogHooks(hooks);
    if (!gPlayer) return true;
    gPlayer(dialog());
    return false;
}
