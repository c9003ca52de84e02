// Shared between the driver's sources; not part of its interface.
#pragma once

#include "dialog_driver.h"

#include <string>

namespace driver {
namespace detail {

// One armed session: the action waiting for a dialog, then its run.
struct SessionState {
    std::function<void(Dialog&)> action;     // what to do with the dialog
    unsigned timeoutMs = kDefaultTimeoutMs;  // ms the dialog may stay open once taken
    bool queueOwned = false;                 // a script or a stray dialog: the queue owns it and
                                             // its failures go to takeFailures
    std::wstring label;                      // names it in failure lines
    HWND window = nullptr;                   // the dialog taken; null while waiting
    DWORD takenAt = 0;                       // GetTickCount when the dialog was taken
    bool running = false;                    // the action is on the stack
    bool ran = false;                        // the action was started
    bool done = false;                       // the action returned
    bool watchdogFired = false;              // the time limit ran out with the dialog open
    bool ended = false;                      // the driver ended the dialog (watchdog or failure)
    DWORD endedAt = 0;                       // GetTickCount of that ending
    std::wstring failure;                    // what went wrong in the action, empty if nothing
};

// Adds a session to the end of the queue and starts polling.
void arm(const std::shared_ptr<SessionState>& session);

// Dispatches every message queued for this thread the way a dialog's modal
// loop does (keyboard navigation through IsDialogMessage of the message's
// top-level dialog). Returns true when anything but a timer tick was handled.
// A WM_QUIT is put back and stops the pump; *quit then becomes true.
bool pumpPending(bool* quit);

// Pumps for ms milliseconds; returns early, false, when WM_QUIT arrives.
bool pumpFor(unsigned ms);

// True for a window of the standard dialog class.
bool isDialogClass(HWND hwnd);

// UTF-8 (exception texts) to UTF-16 and back.
std::wstring widenUtf8(const char* text);
std::string narrowUtf8(const std::wstring& text);

}  // namespace detail
}  // namespace driver
