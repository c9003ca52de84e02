#include "bridge/platform.h"

#include <windows.h>
#include <lm.h>

#include "bridge/host_block.h"

int platformLoadString(unsigned id, TextUnit *buffer, int size) {
    if (buffer == nullptr || size <= 0) return 0;
    buffer[0] = 0;
    return LoadStringW(static_cast<HINSTANCE>(pluginInstance()), id, buffer, size);
}

PlatformWindow platformActiveWindow() {
    return GetActiveWindow();
}

void platformGiveFocus(PlatformWindow window) {
    if (window != nullptr) SetFocus(static_cast<HWND>(window));
}

unsigned long platformLoginUserName(WideText &name) {
    LPBYTE info = nullptr;
    NET_API_STATUS status = NetWkstaUserGetInfo(nullptr, 1, &info);
    if (status == NERR_Success && info != nullptr) {
        // Kept as UTF-16 all the way: a name outside the ANSI code page
        // would otherwise come back as question marks.
        name = WideText(reinterpret_cast<WKSTA_USER_INFO_1 *>(info)->wkui1_username);
    }
    if (info != nullptr) NetApiBufferFree(info);
    return status;
}

bool platformComputerName(WideText &name) {
    WCHAR buffer[1024];
    DWORD size = 1024;
    if (!GetComputerNameW(buffer, &size)) return false;
    name = WideText(buffer, size < 1024 ? size : 1023);
    return true;
}

bool platformWindowStationVisible() {
    USEROBJECTFLAGS flags{};
    HWINSTA station = GetProcessWindowStation();
    if (station == nullptr || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}
