#include "runtime/entry_guard_win.h"

#include "model/dialog_definition.h"
#include "runtime/dialog_hooks.h"
#include "runtime/open_dialog.h"

namespace {

enum class Failure { kNone, kOutOfMemory, kOther };

// One call runs at a time on the host's thread, so the failure of the
// running call is the only one there is.
Failure gFailure = Failure::kNone;

} // namespace

void noteEntryFailure(HWND window, bool outOfMemory) noexcept {
    if (gFailure == Failure::kNone) gFailure = outOfMemory ? Failure::kOutOfMemory : Failure::kOther;
    HWND top = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    if (top == nullptr) return;
    const OpenDialog *open = openDialogOf(top);
    if (open != nullptr && open->hooks != nullptr && open->hooks->modeless) return;
    // Ended without a press: no button is recorded, nothing is read back.
    if (open != nullptr) dialog().resultIndex = -1;
    EndDialog(top, 0);
}

void forgetEntryFailure() noexcept {
    gFailure = Failure::kNone;
}

void rethrowEntryFailure() {
    const Failure failure = gFailure;
    gFailure = Failure::kNone;
    if (failure == Failure::kOutOfMemory) throw std::bad_alloc();
    if (failure == Failure::kOther) throw EntryFailed();
}
