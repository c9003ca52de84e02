#include "runtime/dialog_hooks.h"

const DialogHooks kPlainDialog = {"plain", false, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false};
