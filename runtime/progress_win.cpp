#include "runtime/progress.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "runtime/control_factory.h"
#include "runtime/dialog_proc.h"
#include "runtime/fonts.h"
#include "runtime/open_dialog.h"
#include "runtime/runner.h"
#include "runtime/screen_rules.h"

namespace {

constexpr int kProgressSlots[] = {kProgressTextSlot,   kProgressDefaultSlot, kProgressCancelSlot, kProgressLabel1Slot,
                                  kProgressLabel2Slot, kProgressBar1Slot,    kProgressBar2Slot};
constexpr int kTextSlots[] = {kProgressTextSlot, kProgressCancelSlot, kProgressLabel1Slot, kProgressLabel2Slot};
constexpr int kBarSlots[] = {kProgressBar1Slot, kProgressBar2Slot};

constexpr LONG kBarStyle = WS_CHILD; // visibility is set apart, the marquee bit added


HWND progressWindow() {
    return modelessDialogWindow(progressHooks());
}

// The slot's control, as the window's record holds it.
HWND controlOf(HWND window, int slot) {
    const OpenDialog *open = openDialogOf(window);
    return open != nullptr ? open->windowOf(slot) : nullptr;
}

// A text set again and again gets a new font only when its request changed.
void applyFontOnce(HWND control, int slot) {
    const FontSpec &wanted = slotAt(slot).font;
    OpenDialog *open = openDialogOf(control);
    if (open == nullptr) return;
    for (AppliedFont &applied : open->appliedFonts) {
        if (applied.control != control) continue;
        if (std::memcmp(&applied.font, &wanted, sizeof wanted) == 0) return;
        applyControlFont(control, wanted);
        applied.font = wanted;
        return;
    }
    applyControlFont(control, wanted);
    std::vector<AppliedFont> &applied = open->appliedFonts;
    applied.erase(std::remove_if(applied.begin(), applied.end(), [](const AppliedFont &a) { return !IsWindow(a.control); }),
                  applied.end());
    applied.push_back(AppliedFont{control, wanted});
}

void setControlText(HWND control, int slot, const WideText &text) {
    if (control == nullptr) return;
    SetWindowTextW(control, withLineFeeds(text).data());
    applyFontOnce(control, slot);
}

// How far into the bar's width `position` fills it, in pixels.
int filledWidth(HWND bar, int position) {
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, TRUE, LPARAM(&range));
    RECT client{};
    GetClientRect(bar, &client);
    if (range.iHigh <= range.iLow) return 0;
    if (position < range.iLow) position = range.iLow;
    if (position > range.iHigh) position = range.iHigh;
    return MulDiv(position - range.iLow, client.right - client.left, range.iHigh - range.iLow);
}

// A progress bar paints itself anew on every position it is given, which
// takes far longer than the step itself; a bar of thousands of steps gains a
// pixel only every so many of them. A step that leaves the filled width as
// it was moves the bar with its drawing held back, so nothing is painted; a
// bar that has anything else to paint (uncovered by a window, say) paints as
// usual.
void moveBar(HWND bar, int position) {
    const int before = filledWidth(bar, int(SendMessageW(bar, PBM_GETPOS, 0, 0)));
    const bool samePixels = before == filledWidth(bar, position) && !GetUpdateRect(bar, nullptr, FALSE);
    if (samePixels) SendMessageW(bar, WM_SETREDRAW, FALSE, 0);
    SendMessageW(bar, PBM_SETPOS, WPARAM(position), 0);
    if (samePixels) SendMessageW(bar, WM_SETREDRAW, TRUE, 0);
}

void setUpBar(HWND bar, const ControlSpec &s) {
    if (bar == nullptr) return;
    const bool marquee = progressMarquee(s) == 1;
    const LONG visible = GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE;
    SetWindowLongW(bar, GWL_STYLE, kBarStyle | visible | (marquee ? PBS_MARQUEE : 0));
    SendMessageW(bar, PBM_SETMARQUEE, marquee ? TRUE : FALSE, 0);
    const int32_t steps = progressSteps(s);
    SendMessageW(bar, PBM_SETRANGE32, 0, steps > 0 ? steps : 0);
    SendMessageW(bar, PBM_SETPOS, WPARAM(progressCounter(s)), 0);
}

// ---- hooks ---------------------------------------------------------------

// The cancel button records the press once and cannot be pressed again until
// the next "show"; any other button, the hidden default one that Enter
// presses included, does nothing: the window never closes itself.
bool onCommand(WindowHandle window, int slot) {
    if (slot == kProgressCancelSlot) {
        setCancelPressed(slotAt(slot), 1);
        enableDialogItem(window, slot, false);
    }
    return true;
}

// Esc presses the cancel button, as a click does, while the window shows
// one that can still be pressed.
bool onEscape(WindowHandle window) {
    HWND cancel = GetDlgItem(window, kProgressCancelSlot);
    if (cancel == nullptr || !IsWindowVisible(cancel) || !IsWindowEnabled(cancel)) return false;
    return onCommand(window, kProgressCancelSlot);
}

// The function lays the window out; a size change moves nothing.
bool keepLayout(WindowHandle, int, int) {
    return true;
}

} // namespace

const DialogHooks &progressHooks() {
    // Without a caption, which scripts rely on for its size, the window is
    // moved by its client area.
    static const DialogHooks hooks = {"progress", true, onCommand, nullptr, keepLayout, nullptr, nullptr, onEscape, true};
    return hooks;
}

bool progressWindowExists() {
    return progressWindow() != nullptr;
}

void progressHandleInput() {
    HWND window = progressWindow();
    if (window == nullptr) return;
    MSG message;
    while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void progressShow() {
    HWND window = progressWindow();
    if (window != nullptr && !IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
}

void progressHide() {
    HWND window = progressWindow();
    if (window == nullptr) return;
    KillTimer(window, kCloseTimerId);
    ShowWindow(window, SW_HIDE);
}

void progressArmTimer() {
    HWND window = progressWindow();
    const DialogDefinition &d = dialog();
    if (window != nullptr && d.timerEnabled == 1) SetTimer(window, kCloseTimerId, d.timerInterval, nullptr);
}

void progressSetBar(int slot) {
    HWND window = progressWindow();
    if (window == nullptr) return;
    HWND bar = controlOf(window, slot);
    if (bar != nullptr) moveBar(bar, progressCounter(slotAt(slot)));
}

void progressSetText(int slot, const WideText &text) {
    HWND window = progressWindow();
    if (window != nullptr) setControlText(controlOf(window, slot), slot, text);
}

void progressPresent(const SlotSet &shown) {
    HWND window = progressWindow();
    if (window == nullptr) return;
    KillTimer(window, kCloseTimerId);
    for (int slot : kProgressSlots) {
        HWND control = controlOf(window, slot);
        if (control != nullptr) ShowWindow(control, SW_HIDE);
    }
    for (int slot : kTextSlots) setControlText(controlOf(window, slot), slot, slotAt(slot).text);
    for (int slot : kBarSlots) setUpBar(controlOf(window, slot), slotAt(slot));
    // A press of the last run disabled it.
    if (HWND cancel = controlOf(window, kProgressCancelSlot)) EnableWindow(cancel, TRUE);

    const Scale scale = scaleOf(window);
    const ScreenRect placed = placeOpening(window, scale);
    if (OpenDialog *open = openDialogOf(window)) open->placed = placed;
    SetWindowPos(window, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (int slot : kProgressSlots) {
        if (slot == kProgressDefaultSlot) continue;
        if (HWND control = controlOf(window, slot)) placeControl(control, scale, slotAt(slot));
    }
    for (int slot : kProgressSlots) {
        if (!shown.test(size_t(slot))) continue;
        if (HWND control = controlOf(window, slot)) ShowWindow(control, SW_SHOWNA);
    }
    // Space presses the cancel button once it has the focus.
    if (shown.test(kProgressCancelSlot)) SetFocus(controlOf(window, kProgressCancelSlot));
    InvalidateRect(window, nullptr, TRUE);
}
