#include <windows.h>

#include "plugin/entry.h"

// Remembers the module's own instance, the fallback for loading resources
// when a host passes none in the parameter block. Nothing more belongs here:
// this runs under the loader lock, where a window call can deadlock the host;
// window work waits for the host's start-up and shut-down messages.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        setOwnModule(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
