#include "runtime/system_dialogs.h"

namespace {
SystemDialogPlayer gPlayer;
} // namespace

void setSystemDialogPlayer(SystemDialogPlayer player) {
    gPlayer = std::move(player);
}

ChooserOutcome runSystemDialog(const SystemDialogRequest &request, SystemDialogAnswer &answer) {
    return gPlayer ? gPlayer(request, answer) : ChooserOutcome::kFailed;
}
