// What a dialog shows besides its controls to say what it is about: the
// system's icon of the message's kind, with its sound, and a bar that runs
// down while the close timer runs, as a progress bar would, with no words.
#ifndef TESSARY_RUNTIME_DIALOG_SIGNS_WIN_H
#define TESSARY_RUNTIME_DIALOG_SIGNS_WIN_H

#include <windows.h>

#include "runtime/open_dialog.h"

constexpr UINT_PTR kTimerBarTimerId = 2002; // steps the timer's bar

// Makes the icon and the timer's bar the record asks for, and plays the
// sound of the message's kind. Called once the controls exist and the close
// timer runs.
void showDialogSigns(OpenDialog &open);
// Puts them where they belong after the window changed its size or scale.
void placeDialogSigns(const OpenDialog &open);
// Moves the timer's bar on to the time left.
void stepTimerBar(const OpenDialog &open);

#endif
