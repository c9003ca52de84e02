// Ctrl+C in a dialog that shows a message copies the dialog's title and its
// message as plain text, as the system's own message box does, so that a
// user can paste an error message into a support request. What a copy holds
// is a rule of its own; the keyboard and the clipboard are Windows' part
// (message_copy_win.cpp).
#ifndef TESSARY_RUNTIME_MESSAGE_COPY_H
#define TESSARY_RUNTIME_MESSAGE_COPY_H

#include "model/text.h"

// The title on the first line, an empty line, then the message, every line
// break (CR, LF or CR LF) as CR LF, which every program pastes as one break.
// Without a title only the message, without a message only the title, and
// without either nothing.
WideText messageCopyText(const WideText &title, const WideText &message);

#endif
