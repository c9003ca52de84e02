// Reads a control's current value back as text when a button closes the
// dialog.
#ifndef TESSARY_RUNTIME_READBACK_H
#define TESSARY_RUNTIME_READBACK_H

#include <windows.h>

#include "model/text.h"

// The value of `slot`'s control under `parent` (the dialog or the tab page
// hosting it) in the text form of its kind; may write the text of the slot's
// link target. Empty when the control does not exist.
WideText readControlValue(HWND parent, int slot);

// The whole text of a window, however long.
WideText windowText(HWND window);

#endif
