// The procedures the system calls (the dialog procedure, the subclass and
// timer procedures, the folder browser's callback) never let an exception
// out: on 32-bit Windows it cannot unwind through the system's frames, and
// it would end the host process with its user's unsaved work. Each runs its
// body through guardEntry. An exception there is kept as the running call's
// failure, and the dialog it happened in ends as closed without a button (a
// modeless window is left as it was); once the system has returned to the
// call, rethrowEntryFailure throws it again from the call's own frame, where
// the plug-in's boundary turns it into the host's error code.
#ifndef TESSARY_RUNTIME_ENTRY_GUARD_WIN_H
#define TESSARY_RUNTIME_ENTRY_GUARD_WIN_H

#include <windows.h>

#include <new>
#include <stdexcept>

// What an entry threw, other than running out of memory.
class EntryFailed : public std::runtime_error {
public:
    EntryFailed() : std::runtime_error("a window procedure failed") {}
};

void noteEntryFailure(HWND window, bool outOfMemory) noexcept;
// Forgets a failure kept from before, at the start of a call's dialog.
void forgetEntryFailure() noexcept;
// Throws the kept failure (std::bad_alloc or EntryFailed), if any, once.
void rethrowEntryFailure();

template <typename R, typename Body>
R guardEntry(HWND window, R failValue, Body &&body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc &) {
        noteEntryFailure(window, true);
    } catch (...) {
        noteEntryFailure(window, false);
    }
    return failValue;
}

#endif
