// The dialog procedure of every dialog the plug-in shows.
#ifndef TESSARY_RUNTIME_DIALOG_PROC_H
#define TESSARY_RUNTIME_DIALOG_PROC_H

#include <windows.h>

constexpr UINT_PTR kCloseTimerId = 2001; // closes a modal dialog, hides the progress window
constexpr int kCancelId = IDCANCEL;      // never a button press

INT_PTR CALLBACK mainDialogProc(HWND dialogWindow, UINT message, WPARAM wParam, LPARAM lParam);

// Enables or disables the control of `slot` in the running dialog. A control
// disabled while it has the focus hands the focus on first, so the keyboard
// is never left stranded.
void enableDialogItem(HWND dialogWindow, int slot, bool enable);

// Presses the push button of `slot` as a click on it would: the focus goes
// to it, then the dialog acts on the press. Nothing happens when the button
// is missing, hidden or disabled.
void pressDialogButton(HWND dialogWindow, int slot);

#endif
