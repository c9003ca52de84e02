// Acting on a dialog as its user: real mouse and keyboard input through
// SendInput, a few messages where a person's action has no practical input
// equivalent, waits that keep the dialog alive, and screenshots.
#include "driver_internal.h"
#include "png_writer.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace driver {
namespace {

constexpr DWORD kSettleQuietMs = 30;    /* ms without a message: the input has been handled */
constexpr DWORD kSettleMaxMs = 2000;    /* ms after which a never-quiet window is left as it is */
constexpr DWORD kDoubleClickMarginMs = 20;  /* ms beyond the double-click time between two clicks */
constexpr int kAbsoluteScale = 65536;   // SendInput's absolute coordinate range
constexpr DWORD kPointerWaitMs = 1000;  /* ms a pointer move may take to stick */
constexpr DWORD kPointerPollMs = 5;     /* ms between looks at the pointer */
constexpr int kPointerSteadyChecks = 3; // looks in a row that find the pointer in place
constexpr int kDragSteps = 8;           // pointer moves between a drag's press and release

// Where and when the last click was, so that two separate clicks on one spot
// are never merged into a double click.
struct LastClick {
    POINT at{};
    DWORD when = 0;
    bool any = false;
};
LastClick g_lastClick;

bool isExtendedKey(WORD vk)
{
    switch (vk) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_INSERT: case VK_DELETE:
        return true;
    default:
        return false;
    }
}

INPUT keyInput(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (isExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT charInput(wchar_t unit, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = unit;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

INPUT mouseInput(DWORD flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    return in;
}

// A move to a screen pixel in SendInput's absolute scale: the smallest value
// that maps back to the pixel (pixel = value * screen size / 65536).
INPUT moveInput(POINT screen)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    in.mi.dx = (screen.x * kAbsoluteScale + cx - 1) / cx;
    in.mi.dy = (screen.y * kAbsoluteScale + cy - 1) / cy;
    return in;
}

bool send(std::vector<INPUT>& inputs)
{
    if (inputs.empty()) return true;
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

POINT centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

void Dialog::throwIfAborted() const
{
    if (session_ && session_->watchdogFired) throw Aborted();
}

// Pumps until the dialog has handled what was sent to it: SendInput queues
// the events at once, so the queue running dry for a moment means that every
// consequence (notifications, repaints, posted messages) has been processed.
void Dialog::settle()
{
    const DWORD start = GetTickCount();
    DWORD lastActivity = start;
    for (;;) {
        bool quit = false;
        if (detail::pumpPending(&quit)) lastActivity = GetTickCount();
        throwIfAborted();
        if (quit) return;
        const DWORD now = GetTickCount();
        if (now - lastActivity >= kSettleQuietMs || now - start >= kSettleMaxMs) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, kSettleQuietMs - (now - lastActivity), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

// Input goes to the foreground window's focus, so the dialog must be in front.
// A pop-up that one of its controls dropped down (a date picker's calendar)
// is in front instead and counts as the dialog: activating the dialog would
// close it, and the click or key meant for it would reach the dialog.
bool Dialog::bringToFront()
{
    if (!isOpen()) return false;
    const HWND front = GetForegroundWindow();
    const bool dropDown = front && GetWindow(front, GW_OWNER) == hwnd_ && !detail::isDialogClass(front) &&
                          IsWindowVisible(front);
    if (front != hwnd_ && !dropDown) {
        SetForegroundWindow(hwnd_);
        settle();
    }
    return true;
}

// Moves the pointer and waits until it stays there. Under Wine the display
// reports pointer positions back asynchronously, and a late report of an
// older position can undo a move; a click sent then lands where the last
// one did.
bool Dialog::movePointer(POINT screenPoint)
{
    int steady = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < kPointerWaitMs;) {
        POINT now{};
        GetCursorPos(&now);
        if (now.x == screenPoint.x && now.y == screenPoint.y) {
            if (++steady == kPointerSteadyChecks) return true;
        } else {
            steady = 0;
            std::vector<INPUT> move{moveInput(screenPoint)};
            if (!send(move)) return false;
        }
        bool quit = false;
        detail::pumpPending(&quit);
        throwIfAborted();
        Sleep(kPointerPollMs);
    }
    return false;
}

bool Dialog::clickScreen(POINT screenPoint, int clicks)
{
    if (clicks < 1 || !bringToFront()) return false;
    if (g_lastClick.any) {
        // Two separate clicks close in time and place would reach the
        // window as a double click.
        const int dx = GetSystemMetrics(SM_CXDOUBLECLK);
        const int dy = GetSystemMetrics(SM_CYDOUBLECLK);
        const DWORD gap = GetDoubleClickTime() + kDoubleClickMarginMs;
        const DWORD since = GetTickCount() - g_lastClick.when;
        if (abs(screenPoint.x - g_lastClick.at.x) <= dx && abs(screenPoint.y - g_lastClick.at.y) <= dy &&
            since < gap) {
            waitMs(gap - since);
        }
    }
    if (!movePointer(screenPoint)) return false;
    std::vector<INPUT> inputs{moveInput(screenPoint)};
    for (int i = 0; i < clicks; ++i) {
        inputs.push_back(mouseInput(MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(mouseInput(MOUSEEVENTF_LEFTUP));
    }
    bool ok = send(inputs);
    g_lastClick = LastClick{screenPoint, GetTickCount(), true};
    settle();
    return ok;
}

bool Dialog::click(int id)
{
    ControlInfo c = control(id);
    if (!c.visible) return false;
    return clickClient(centre(c.rect));
}

bool Dialog::queueClick(int id)
{
    ControlInfo c = control(id);
    if (!c.visible || !isOpen()) return false;
    POINT p = centre(c.rect);
    ClientToScreen(hwnd_, &p);
    if (!movePointer(p)) return false;
    std::vector<INPUT> inputs{moveInput(p), mouseInput(MOUSEEVENTF_LEFTDOWN), mouseInput(MOUSEEVENTF_LEFTUP)};
    const bool ok = send(inputs);
    g_lastClick = LastClick{p, GetTickCount(), true};
    return ok;
}

bool Dialog::clickAt(int id, POINT offset)
{
    ControlInfo c = control(id);
    if (!c.visible) return false;
    return clickClient(POINT{c.rect.left + offset.x, c.rect.top + offset.y});
}

bool Dialog::clickClient(POINT point)
{
    if (!IsWindow(hwnd_)) return false;
    ClientToScreen(hwnd_, &point);
    return clickScreen(point, 1);
}

bool Dialog::drag(POINT from, POINT to)
{
    if (!IsWindow(hwnd_) || !bringToFront()) return false;
    ClientToScreen(hwnd_, &from);
    ClientToScreen(hwnd_, &to);
    if (!movePointer(from)) return false;
    std::vector<INPUT> press{mouseInput(MOUSEEVENTF_LEFTDOWN)};
    if (!send(press)) return false;
    settle();
    // A person's drag passes through the points between; controls that
    // track the pointer see it move, not jump.
    for (int step = 1; step <= kDragSteps; ++step) {
        POINT at{from.x + (to.x - from.x) * step / kDragSteps, from.y + (to.y - from.y) * step / kDragSteps};
        std::vector<INPUT> move{moveInput(at)};
        send(move);
        settle();
    }
    std::vector<INPUT> release{moveInput(to), mouseInput(MOUSEEVENTF_LEFTUP)};
    bool ok = send(release);
    g_lastClick = LastClick{to, GetTickCount(), true};
    settle();
    return ok;
}

bool Dialog::doubleClick(int id)
{
    ControlInfo c = control(id);
    if (!c.visible) return false;
    POINT p = centre(c.rect);
    ClientToScreen(hwnd_, &p);
    return clickScreen(p, 2);
}

bool Dialog::clickListCheckbox(int id, int row)
{
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    if (!lv || !IsWindowVisible(lv) || row < 0 || row >= listRowCount(id)) return false;
    SendMessageW(lv, LVM_ENSUREVISIBLE, row, FALSE);
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    if (!SendMessageW(lv, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds))) return false;
    // The check box is the row's state image; the list view's own hit test
    // says where it is, whatever the column widths and margins.
    const int y = (bounds.top + bounds.bottom) / 2;
    int first = -1, last = -1;
    for (int x = bounds.left; x < bounds.right && (first < 0 || last == x - 1); ++x) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{x, y};
        SendMessageW(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON)) {
            if (first < 0) first = x;
            last = x;
        }
    }
    if (first < 0) return false;
    POINT p{(first + last) / 2, y};
    ClientToScreen(lv, &p);
    return clickScreen(p, 1);
}

bool Dialog::clickListCell(int id, int row, int column, int clicks)
{
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    if (!lv || !IsWindowVisible(lv) || row < 0 || row >= listRowCount(id) || column < 0 ||
        column >= listColumnCount(id)) {
        return false;
    }
    SendMessageW(lv, LVM_ENSUREVISIBLE, row, FALSE);
    const RECT cell = listCellRect(id, row, column);
    RECT client{};
    GetClientRect(lv, &client);
    MapWindowPoints(lv, hwnd_, reinterpret_cast<POINT*>(&client), 2);
    RECT visible{};
    if (!IntersectRect(&visible, &cell, &client)) return false;  // no width, or scrolled away
    POINT p = centre(visible);
    ClientToScreen(hwnd_, &p);
    return clickScreen(p, clicks);
}

bool Dialog::clickListTitle(int id, int column)
{
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    HWND header = lv ? reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0)) : nullptr;
    if (!header || !IsWindowVisible(header)) return false;
    RECT title{};
    if (!SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&title)) || title.right <= title.left) {
        return false;
    }
    POINT p = centre(title);
    ClientToScreen(header, &p);
    return clickScreen(p, 1);
}

bool Dialog::clickTab(int id, int index)
{
    HWND tabs = itemOfClass(id, WC_TABCONTROLW);
    if (!tabs || !IsWindowVisible(tabs)) return false;
    RECT r{};
    if (!SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r))) return false;
    POINT p = centre(r);
    ClientToScreen(tabs, &p);
    return clickScreen(p, 1);
}

bool Dialog::clickComboItem(int id, int index)
{
    HWND combo = itemOfClass(id, WC_COMBOBOXW);
    if (!combo || !IsWindowVisible(combo) || index < 0 ||
        index >= static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0))) {
        return false;
    }
    // A user opens the list first, with a click on the box.
    if (!SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) {
        RECT box{};
        GetWindowRect(combo, &box);
        if (!clickScreen(centre(box), 1)) return false;
    }
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!GetComboBoxInfo(combo, &info) || !info.hwndList || !IsWindowVisible(info.hwndList)) return false;
    SendMessageW(info.hwndList, LB_SETTOPINDEX, index, 0);  // scroll the item into view
    RECT item{};
    if (SendMessageW(info.hwndList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
        return false;
    }
    POINT p = centre(item);
    ClientToScreen(info.hwndList, &p);
    return clickScreen(p, 1);
}

bool Dialog::typeText(const std::wstring& text)
{
    if (!bringToFront()) return false;
    std::vector<INPUT> inputs;
    for (wchar_t unit : text) {
        if (unit == L'\r') continue;
        if (unit == L'\n' || unit == L'\t') {
            // A user presses Enter and Tab, which a dialog treats as keys.
            const WORD vk = unit == L'\n' ? VK_RETURN : VK_TAB;
            inputs.push_back(keyInput(vk, false));
            inputs.push_back(keyInput(vk, true));
        } else {
            inputs.push_back(charInput(unit, false));
            inputs.push_back(charInput(unit, true));
        }
    }
    bool ok = send(inputs);
    settle();
    return ok;
}

bool Dialog::pressKey(WORD vk, WORD modifierVk, int times)
{
    if (times < 0 || !bringToFront()) return false;
    // One batch: a long run of presses waits for the dialog once, not once each.
    std::vector<INPUT> inputs;
    if (modifierVk) inputs.push_back(keyInput(modifierVk, false));
    for (int i = 0; i < times; ++i) {
        inputs.push_back(keyInput(vk, false));
        inputs.push_back(keyInput(vk, true));
    }
    if (modifierVk) inputs.push_back(keyInput(modifierVk, true));
    bool ok = send(inputs);
    settle();
    return ok;
}

// ---- messages

bool Dialog::setText(int id, const std::wstring& text)
{
    HWND hwnd = item(id);
    if (!hwnd) return false;
    bool ok = SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != FALSE;
    settle();
    return ok;
}

bool Dialog::selectTab(int id, int index)
{
    HWND tabs = itemOfClass(id, WC_TABCONTROLW);
    if (!tabs || index < 0 || index >= static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0))) {
        return false;
    }
    // Changing the selection by message notifies nobody; a click would send
    // these two notifications, so the owner hears them here as well.
    NMHDR hdr{};
    hdr.hwndFrom = tabs;
    hdr.idFrom = static_cast<UINT_PTR>(id);
    hdr.code = TCN_SELCHANGING;
    HWND parent = GetParent(tabs);
    if (SendMessageW(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&hdr))) return false;
    SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    hdr.code = TCN_SELCHANGE;
    SendMessageW(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&hdr));
    settle();
    return true;
}

bool Dialog::resize(int width, int height)
{
    if (!IsWindow(hwnd_) || width <= 0 || height <= 0) return false;
    bool ok = SetWindowPos(hwnd_, nullptr, 0, 0, width, height,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
    settle();
    return ok;
}

bool Dialog::close()
{
    if (!IsWindow(hwnd_)) return false;
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    settle();
    return true;
}

// ---- time

void Dialog::waitMs(unsigned ms)
{
    waitUntil([] { return false; }, ms);
}

bool Dialog::waitUntil(const std::function<bool()>& predicate, unsigned timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        bool quit = false;
        detail::pumpPending(&quit);
        throwIfAborted();
        if (predicate()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (quit || elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

bool Dialog::waitForClose(unsigned timeoutMs)
{
    return waitUntil([this] { return !isOpen(); }, timeoutMs);
}

// ---- screenshots

namespace {

// Pixels of a screen rectangle as rows of R, G, B bytes, top row first.
std::vector<unsigned char> captureScreen(const RECT& r)
{
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    std::vector<unsigned char> rgb;
    HDC screen = GetDC(nullptr);
    if (!screen) return rgb;
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = memory ? CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            const unsigned char* bgrx = static_cast<const unsigned char*>(bits);
            rgb.resize(static_cast<size_t>(w) * h * 3);
            for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) {
                rgb[i * 3 + 0] = bgrx[i * 4 + 2];
                rgb[i * 3 + 1] = bgrx[i * 4 + 1];
                rgb[i * 3 + 2] = bgrx[i * 4 + 0];
            }
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rgb;
}

// Writes beside the target and renames, so a reader never sees half a file.
bool writeFile(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    const std::wstring temporary = path + L".tmp";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    ok = CloseHandle(file) && ok;
    if (ok) ok = MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

}  // namespace

bool Dialog::savePng(const std::wstring& path)
{
    if (!isOpen()) return false;
    // The screen holds no pixels past its edges, and a copy of a rectangle
    // that reaches past one comes out all black. A window that does is moved
    // into view of its monitor for the shot, keeping its size, and put back.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
    const RECT screen = monitor.rcMonitor;
    const RECT placed = windowRect();
    POINT shown{placed.left, placed.top};
    shown.x = std::max(screen.left, std::min(shown.x, screen.right - (placed.right - placed.left)));
    shown.y = std::max(screen.top, std::min(shown.y, screen.bottom - (placed.bottom - placed.top)));
    const bool moved = shown.x != placed.left || shown.y != placed.top;
    const UINT moveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (moved) SetWindowPos(hwnd_, nullptr, shown.x, shown.y, 0, 0, moveOnly);
    // What is on the screen is what gets saved: have everything painted first.
    RedrawWindow(hwnd_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    settle();
    // A window larger than its monitor still reaches past it; only the part
    // on screen can be had.
    RECT r{};
    const RECT window = windowRect();
    IntersectRect(&r, &window, &screen);
    std::vector<unsigned char> rgb;
    if (r.right > r.left && r.bottom > r.top) rgb = captureScreen(r);
    if (moved) {
        SetWindowPos(hwnd_, nullptr, placed.left, placed.top, 0, 0, moveOnly);
        settle();
    }
    if (rgb.empty()) return false;
    std::vector<unsigned char> png = encodePng(rgb, static_cast<uint32_t>(r.right - r.left),
                                               static_cast<uint32_t>(r.bottom - r.top));
    return !png.empty() && writeFile(path, png);
}

}  // namespace driver
