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

namespace {

ScreenRect workAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return ScreenRect{0, 0, 0, 0};
    return ScreenRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

HMONITOR monitorWithMouse() {
    POINT mouse{};
    GetCursorPos(&mouse);
    return MonitorFromPoint(mouse, MONITOR_DEFAULTTOPRIMARY);
}

} // namespace

HWND centringWindow(HWND owner) {
    if (owner == nullptr || !IsWindowVisible(owner) || IsIconic(owner)) return nullptr;
    return owner;
}

ScreenRect openingWorkArea(HWND owner, const ScreenRect &asked, bool positionGiven) {
    if (positionGiven) {
        const RECT wanted{asked.left, asked.top, asked.right, asked.bottom};
        return workAreaOf(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST));
    }
    HWND on = centringWindow(owner);
    return workAreaOf(on != nullptr ? MonitorFromWindow(on, MONITOR_DEFAULTTONEAREST) : monitorWithMouse());
}

ScreenRect openingPlace(HWND owner, const ScreenRect &drawn, bool positionGiven) {
    if (positionGiven) return keepOnNearestScreen(drawn);
    RECT ownerRect{};
    HWND on = centringWindow(owner);
    const ScreenRect around = on != nullptr && GetWindowRect(on, &ownerRect)
                                  ? ScreenRect{ownerRect.left, ownerRect.top, ownerRect.right, ownerRect.bottom}
                                  : workAreaOf(monitorWithMouse());
    return keepOnNearestScreen(centredOn(drawn, around));
}

ScreenRect placeOpening(HWND window, const Scale &scale) {
    DialogDefinition &d = dialog();
    const bool given = d.positionGiven == 1;
    const ScreenRect placed = openingPlace(GetWindow(window, GW_OWNER), drawnAt(scale, d.windowRect()), given);
    if (!given) {
        d.left = placed.left;
        d.top = placed.top;
    }
    return placed;
}
