// The few system services the portable core needs, behind plain functions:
// the Windows build answers from the system, the native build from stand-ins
// that unit tests can set.
#ifndef TESSARY_BRIDGE_PLATFORM_H
#define TESSARY_BRIDGE_PLATFORM_H

#include "model/text.h"

// Loads string resource `id` of the module with LoadStringW's rules: at most
// size - 1 units and always a terminating zero (nothing when size is 0).
// Returns the number of units copied.
int platformLoadString(unsigned id, TextUnit *buffer, int size);

// A window of the system, opaque to the portable core.
typedef void *PlatformWindow;

PlatformWindow platformActiveWindow();
void platformGiveFocus(PlatformWindow window);

// The logged-on user's name. Returns 0 and sets name, or the system's
// nonzero status.
unsigned long platformLoginUserName(WideText &name);
// The computer's name; false when the system cannot say.
bool platformComputerName(WideText &name);
// Whether the process's window station is one a user sees (false in a
// service's); true when the system cannot say.
bool platformWindowStationVisible();

#ifndef _WIN32
// Stand-ins of the native build.
void platformSetLoginUser(unsigned long status, const WideText &name);
void platformSetComputerName(bool ok, const WideText &name);
void platformSetWindowStationVisible(bool visible);
// What platformActiveWindow answers, and the last window given the focus.
void platformSetActiveWindow(PlatformWindow window);
PlatformWindow platformFocusedWindow();
#endif

#endif
