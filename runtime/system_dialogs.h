// The system's own choosers (colour, open and save file, folder) behind one
// call, as the dialog runner is: the functions that use them fill a request
// and read an answer, and the native build lets a test answer instead of a
// user, so everything around the call is tested without windows.
#ifndef TESSARY_RUNTIME_SYSTEM_DIALOGS_H
#define TESSARY_RUNTIME_SYSTEM_DIALOGS_H

#include <cstdint>

#include "model/text.h"

enum SystemDialogKind {
    kColorChooser,
    kOpenFileDialog,
    kSaveFileDialog,
    kFolderBrowser
};

// Units of the path the file dialogs and the folder browser can return,
// terminator included: the longest path the system knows, so a path past
// the old 260-unit limit comes back whole. The save dialog's initial file
// name lives in the same buffer and must fit it.
constexpr size_t kPathBufferUnits = 32768;

// Units the open dialog's start folder may have, terminator included. The
// system's open dialog copies its start folder into a buffer of the old path
// limit (Wine's overruns its stack with a longer one, and crashes the host),
// and could not open such a folder anyway; a longer one is left out, and the
// dialog starts where the system chooses.
constexpr size_t kStartFolderUnits = 260;

struct SystemDialogRequest {
    SystemDialogKind kind;
    WideText title;  // caption, or the text above the folder tree
    WideText folder; // folder to start in, at most kStartFolderUnits - 1 units;
                     // the save dialog's initial file name, at most
                     // kPathBufferUnits - 1 units
    WideText filter; // file types as "description|pattern|" pairs; empty: no list
    uint32_t color;  // colour chooser's start, 0x00BBGGRR
};

struct SystemDialogAnswer {
    WideText path;  // the chosen file or folder
    uint32_t color; // the chosen colour, 0x00BBGGRR
};

// How a chooser ended.
enum class ChooserOutcome {
    kChosen,    // the choice is in the answer
    kCancelled, // the user closed it without a choice
    kFailed     // the system could not show it, or could not say what was chosen
};

// Shows the chooser the request names and waits for it.
ChooserOutcome runSystemDialog(const SystemDialogRequest &request, SystemDialogAnswer &answer);

// The file types in the system's form: every '|' becomes a NUL and the list
// ends with two NULs whether or not the text ended in '|'. Empty for an
// empty text.
WideText systemFilterList(const WideText &filter);
// The extension the save dialog adds to a name typed without one: that of
// the first pattern of the first file type ("Text|*.txt|" gives "txt"),
// empty when that pattern names no single extension ("*.*", "*", a pattern
// with other wildcards) or there is no filter.
WideText defaultExtension(const WideText &filter);

#ifndef _WIN32
#include <functional>
// The native build's stand-in for the user: it sees the request and answers.
// With none set, every chooser reports a cancel.
typedef std::function<ChooserOutcome(const SystemDialogRequest &, SystemDialogAnswer &)> SystemDialogPlayer;
void setSystemDialogPlayer(SystemDialogPlayer player);
#endif

#endif
