#include "runtime/screen_rules.h"

#include <windows.h>

int dpiOfWindow(HWND window) {
    // Windows 10 1607 and later keep a scale per window; earlier systems
    // have one for the whole screen.
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    static const DpiForWindow dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = dpiForWindow(window);
        if (dpi != 0) return int(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kScriptDpi;
}

ScreenRect keepOnNearestScreen(const ScreenRect &window) {
    const RECT wanted{window.left, window.top, window.right, window.bottom};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) return window;
    const RECT &work = monitor.rcWork;
    return keepInside(window, ScreenRect{work.left, work.top, work.right, work.bottom});
}
