// The keyboard in the plug-in's dialogs where the system's dialog manager
// leaves it short: which controls begin a group for the arrow keys, which
// field has the focus when a dialog opens, and the keys a dialog takes
// before the dialog manager would (Ctrl+Tab and Ctrl+Page Down between tab
// pages, Ctrl+Enter for the default button, and each dialog's own keys
// through its hooks).
#ifndef TESSARY_RUNTIME_KEYBOARD_WIN_H
#define TESSARY_RUNTIME_KEYBOARD_WIN_H

#include <windows.h>

// Every control begins a group of its own, but the buttons after the first
// of a radio group and a push button that follows another: the arrow keys
// then walk a radio group or a row of buttons and never leave it. Tab pages
// are marked inside as well.
void markControlGroups(HWND dialogWindow);

// Gives the focus to the dialog's first field, in the order Tab walks (on
// the page shown), or where there is none to its default button. False when
// neither could take it.
bool focusFirstField(HWND dialogWindow);

// The dialog's modal loop hands its keys to the dialog first, from now on
// until stopWatchingKeys.
void watchKeys(HWND dialogWindow);
void stopWatchingKeys(HWND dialogWindow);

// Shows the tab page `step` places after the shown one (before it when
// negative), round the end, as a click on its tab would.
void showNextTabPage(HWND dialogWindow, int step);

#endif
