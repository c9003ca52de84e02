#include "runtime/dialog_hooks.h"

const DialogHooks kPlainDialog = {"plain", false, nullptr, nullptr, nullptr, nullptr};

namespace {
const DialogHooks *gHooks = &kPlainDialog;
} // namespace

const DialogHooks &dialogHooks() {
    return *gHooks;
}

void setDialogHooks(const DialogHooks &hooks) {
    gHooks = &hooks;
}
