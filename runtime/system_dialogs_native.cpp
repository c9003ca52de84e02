#include "runtime/system_dialogs.h"

namespace {
SystemDialogPlayer gPlayer;
} // namespace

void setSystemDialogPlayer(SystemDialogPlayer player) {
    gPlayer = std::move(player);
}

bool runSystemDialog(const SystemDialogRequest &request, SystemDialogAnswer &answer) {
    return gPlayer ? gPlayer(request, answer) : false;
}
