// The keyboard and clipboard side of copying a dialog's message
// (message_copy.h).
#ifndef TESSARY_RUNTIME_MESSAGE_COPY_WIN_H
#define TESSARY_RUNTIME_MESSAGE_COPY_WIN_H

#include <windows.h>

// From now until the dialog is gone, Ctrl+C in `dialogWindow` puts its title
// and the text of its message (slot 1), when shown, on the clipboard, and
// does nothing else. A field that copies its own selection (an edit) keeps
// Ctrl+C for that.
void watchCopyKey(HWND dialogWindow);

#endif
