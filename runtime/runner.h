// The seam between the functions and the dialog runtime: one call that shows
// the dialog the global record describes and returns when it has closed (or,
// for a modeless window, once it is shown).
#ifndef TESSARY_RUNTIME_RUNNER_H
#define TESSARY_RUNTIME_RUNNER_H

#include <stdexcept>

#include "model/dialog_definition.h"
#include "runtime/dialog_hooks.h"

// A dialog the system could not create: the call fails, rather than read as
// a dialog the user closed without a button.
class DialogNotShown : public std::runtime_error {
public:
    DialogNotShown() : std::runtime_error("the dialog could not be created") {}
};

// Shows the dialog with the given hooks and returns once it has closed (a
// modeless one: once it is shown). Throws DialogNotShown when the system
// could not create it. An exception inside the dialog's window procedures
// ends the dialog without a button and is thrown again from here
// (std::bad_alloc, or another std::exception).
// A modeless dialog is created by its first run and kept; any other dialog
// run meanwhile drops it (it is destroyed first), since the record's slots
// then belong to the other dialog.
void runDialog(const DialogHooks &hooks = kPlainDialog);

// Destroys the modeless dialog, if one exists: before the module that holds
// its dialog procedure goes away.
void closeModelessDialog();

// The modeless dialog while it exists and runs with `hooks`; null
// otherwise, also when another dialog has dropped it.
WindowHandle modelessDialogWindow(const DialogHooks &hooks);

#ifndef _WIN32
#include <functional>
// The native build has no windows: a test plays the user instead. The player
// sees the filled record when runDialog is called, and sets what the dialog
// would have left behind (resultIndex, the slots' texts). With no player set,
// runDialog reports that no dialog could be created. dialogHooks() tells the
// player which dialog a function asked for.
typedef std::function<void(DialogDefinition &)> DialogPlayer;
void setDialogPlayer(DialogPlayer player);
int dialogRunCount();
// The hooks of the last run.
const DialogHooks &dialogHooks();
#endif

#endif
