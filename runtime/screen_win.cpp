#include "runtime/screen_rules.h"

#include <windows.h>

ScreenRect keepOnNearestScreen(const ScreenRect &window) {
    const RECT wanted{window.left, window.top, window.right, window.bottom};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) return window;
    const RECT &work = monitor.rcWork;
    return keepInside(window, ScreenRect{work.left, work.top, work.right, work.bottom});
}
