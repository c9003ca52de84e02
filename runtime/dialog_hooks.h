// What one dialog does beyond the generic dialog procedure, as a small table
// of optional hooks. A function that shows such a dialog passes its table to
// runDialog; the generic procedure calls a hook where one is set and goes on
// with its own handling where none is, so no generic code names a dialog.
#ifndef TESSARY_RUNTIME_DIALOG_HOOKS_H
#define TESSARY_RUNTIME_DIALOG_HOOKS_H

#include "model/dialog_definition.h"
#include "model/text.h"

struct tagNMHDR; // the system's notification header
struct tagMSG;   // a message of the dialog's modal loop

// A window of the system (HWND); the native build has none.
#ifdef _WIN32
struct HWND__;
typedef HWND__ *WindowHandle;
#else
typedef void *WindowHandle;
#endif

struct DialogHooks {
    const char *name; // for tests and diagnostics
    // Created and kept by the first run, later runs only show it again.
    bool modeless;
    // A push button of `slot` was pressed. True when the hook handled it and
    // the dialog stays open; false lets the press close the dialog.
    bool (*onCommand)(WindowHandle dialogWindow, int slot);
    // A notification from the control of `slot` (within controlCount). True
    // when the hook handled it; `result` is then the dialog's answer.
    bool (*onNotify)(WindowHandle dialogWindow, int slot, tagNMHDR *header, intptr_t &result);
    // The window's outer size became width x height. Runs before the slots
    // follow the change; true keeps the generic layout from running at all.
    bool (*onSize)(WindowHandle dialogWindow, int width, int height);
    // Reads the value of `slot`, whose control lives under `parent`, before
    // the generic reader would. True when it did, with the value in `value`.
    bool (*readValue)(WindowHandle parent, int slot, WideText &value);
    // A key of the dialog's modal loop (WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR),
    // before the system's dialog manager sees it. True when the hook
    // handled it; the key then goes no further.
    bool (*onKey)(WindowHandle dialogWindow, const tagMSG &message) = nullptr;
    // Esc was pressed. True when the hook acted on it; without a hook Esc
    // does nothing.
    bool (*onEscape)(WindowHandle dialogWindow) = nullptr;
    // A window without a caption is dragged by any point of its client
    // area that no control covers.
    bool dragsByClientArea = false;
    // Every control is made and filled; the window is not shown yet, and
    // slots marked disabled are disabled after this.
    void (*onOpened)(WindowHandle dialogWindow) = nullptr;
};

// The dialogs that need no hooks.
extern const DialogHooks kPlainDialog;

#endif
