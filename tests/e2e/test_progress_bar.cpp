// Tessary_ProgressBar through the host: the modeless window as a user sees it
// between the calls of a script, reached with driver::findModeless.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "dialog_test.h"

namespace {

using e2e::Args;

constexpr int kText = 1, kCancel = 5, kLabel1 = 12, kLabel2 = 13, kBar1 = 36, kBar2 = 37;

// The colours along the middle row of a control, as painted on screen.
std::vector<COLORREF> middleRow(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    std::vector<COLORREF> row;
    HDC dc = GetDC(control);
    for (int x = 0; x < r.right; ++x) row.push_back(GetPixel(dc, x, r.bottom / 2));
    ReleaseDC(control, dc);
    return row;
}

INPUT mouseAt(POINT screen, DWORD buttons = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    in.mi.dx = (screen.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    in.mi.dy = (screen.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    return in;
}

// A drag from and to points of the window's client area, sent as one batch
// and then handled: moving a window is a loop of the system's own that runs
// until the button is released, so a drag that waits for each of its steps
// to be handled (driver::Dialog::drag) would wait for ever.
void dragInOneGo(HWND window, POINT from, POINT to) {
    SetForegroundWindow(window);
    driver::pumpMessages(100);
    ClientToScreen(window, &from);
    ClientToScreen(window, &to);
    std::vector<INPUT> inputs{mouseAt(from), mouseAt(from, MOUSEEVENTF_LEFTDOWN)};
    constexpr int kSteps = 8;
    for (int step = 1; step <= kSteps; ++step) {
        inputs.push_back(mouseAt(POINT{from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps}));
    }
    inputs.push_back(mouseAt(to, MOUSEEVENTF_LEFTUP));
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    driver::pumpMessages(300);
}

class ProgressBarWindow : public e2e::DialogTest {
protected:
    std::wstring progress(const Args &args) {
        hostcore::CallResult r = host.call(L"Tessary_ProgressBar", args);
        EXPECT_EQ(r.status, hostcore::CallStatus::Called);
        EXPECT_EQ(r.code, 0);
        return r.text;
    }

    // The progress window, which must be on screen.
    driver::Dialog window() {
        std::optional<driver::Dialog> found = driver::findModeless();
        if (!found) {
            ADD_FAILURE() << "no progress window is shown";
            return driver::Dialog(nullptr);
        }
        return *found;
    }

    static SIZE outerSize(const driver::Dialog &d) {
        RECT r = d.windowRect();
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
};

} // namespace

TEST_F(ProgressBarWindow, ShowWithTwoArgumentsShowsNothing) {
    progress({L"show", L"Working"});
    EXPECT_FALSE(driver::findModeless().has_value());
    // Nothing to drive either.
    progress({L"incr"});
    EXPECT_FALSE(driver::findModeless().has_value());
}

TEST_F(ProgressBarWindow, TwoBarsStepOneAfterTheOther) {
    progress({L"show", L"Copying \u65e5\u672c Zo\u00eb", L"10", L"0", L"Files", L"5", L"", L"Bytes"});
    driver::Dialog d = window();
    EXPECT_TRUE(d.exStyle() & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(d.style() & WS_CAPTION);
    EXPECT_EQ(outerSize(d).cy, 145);
    EXPECT_EQ(d.control(kText).text, L"Copying \u65e5\u672c Zo\u00eb");
    const RECT bar2 = d.control(kBar2).rect;
    EXPECT_EQ(bar2.top, 117);
    EXPECT_EQ(bar2.right - bar2.left, 264);
    for (int id : {kText, kLabel1, kLabel2, kBar1, kBar2}) EXPECT_TRUE(d.control(id).visible) << id;
    EXPECT_FALSE(d.control(4).visible);
    EXPECT_FALSE(d.control(kCancel).visible);
    EXPECT_EQ(d.progressRange(kBar2), std::make_pair(0, 5));

    // The bar shows the counter before it grows: 0, then 1.
    progress({L"incr"});
    EXPECT_EQ(d.progressPos(kBar1), 0);
    progress({L"incr"});
    EXPECT_EQ(d.progressPos(kBar1), 1);
    // "incr2" is not taken for "incr": only bar 2 moves.
    progress({L"incr2"});
    progress({L"incr2"});
    EXPECT_EQ(d.progressPos(kBar2), 1);
    EXPECT_EQ(d.progressPos(kBar1), 1);
    progress({L"reset1"});
    EXPECT_EQ(d.progressPos(kBar1), 0);

    // A second "show" lays out the same window afresh.
    const HWND first = d.hwnd();
    progress({L"show small", L"", L"3", L"2"});
    driver::Dialog again = window();
    EXPECT_EQ(again.hwnd(), first);
    EXPECT_FALSE(again.control(kBar2).visible);
    EXPECT_EQ(again.control(kBar1).rect.top, 10);
    EXPECT_EQ(again.progressPos(kBar1), 2);
}

TEST_F(ProgressBarWindow, SetTextCommandsTakeExactlyTwoArgumentsAndOnlyAStepShowsTheWindowAgain) {
    progress({L"show", L"Start", L"10", L"0", L"One", L"10", L"0", L"Two"});
    driver::Dialog d = window();
    progress({L"setDialogText", L"Zo\u00eb\r\u0395\u03bb\u03ad\u03bd\u03b7"});
    EXPECT_EQ(d.control(kText).text, L"Zo\u00eb\r\n\u0395\u03bb\u03ad\u03bd\u03b7");
    progress({L"setLabel2", L"Second"});
    EXPECT_EQ(d.control(kLabel2).text, L"Second");
    progress({L"setDialogText", L"Not with three", L""});
    progress({L"setLabel2"});
    EXPECT_EQ(d.control(kText).text, L"Zo\u00eb\r\n\u0395\u03bb\u03ad\u03bd\u03b7");
    EXPECT_EQ(d.control(kLabel2).text, L"Second");

    progress({L"hide"});
    EXPECT_FALSE(d.isOpen());
    progress({L"reset1"});
    progress({L"setDialogText", L"Still hidden"});
    EXPECT_FALSE(d.isOpen());
    progress({L"incr"});
    EXPECT_TRUE(d.isOpen());
    EXPECT_EQ(d.control(kText).text, L"Still hidden");
}

TEST_F(ProgressBarWindow, TheTimerHidesTheWindowAfterTheLastCommand) {
    progress({L"show timer=1", L"Working", L"10"});
    driver::Dialog d = window();
    // "show" alone starts no timer.
    driver::pumpMessages(1500);
    EXPECT_TRUE(d.isOpen());
    progress({L"incr"});
    EXPECT_TRUE(d.isOpen());
    const DWORD start = GetTickCount();
    EXPECT_TRUE(d.waitUntil([&] { return !IsWindowVisible(d.hwnd()); }, 5000));
    EXPECT_GE(GetTickCount() - start, 500u);
    progress({L"incr"});
    EXPECT_TRUE(d.isOpen());
    EXPECT_EQ(d.progressPos(kBar1), 1);
}

TEST_F(ProgressBarWindow, AHundredThousandSteps) {
    progress({L"show", L"Big", L"100000", L"70000"});
    driver::Dialog d = window();
    EXPECT_EQ(d.progressRange(kBar1), std::make_pair(0, 100000));
    EXPECT_EQ(d.progressPos(kBar1), 70000);
    progress({L"incr"});
    progress({L"incr"});
    EXPECT_EQ(d.progressPos(kBar1), 70001);
}

TEST_F(ProgressBarWindow, ManySmallStepsFillTheBarAsTheyGo) {
    progress({L"show", L"", L"1000"});
    const HWND bar = window().control(kBar1).hwnd;
    // Steps too small to move the fill by a pixel are not painted, and the
    // ones that do move it are painted at once, with no message loop running.
    const auto filled = [bar] {
        const std::vector<COLORREF> row = middleRow(bar);
        const COLORREF empty = row[row.size() - 2];
        int n = 0;
        for (size_t x = 1; x + 1 < row.size(); ++x) n += row[x] != empty;
        return std::make_pair(n, int(row.size()));
    };
    for (int step = 0; step < 251; ++step) progress({L"incr"});
    std::pair<int, int> quarter = filled();
    EXPECT_NEAR(quarter.first, quarter.second / 4, 4);
    for (int step = 0; step < 500; ++step) progress({L"incr"});
    std::pair<int, int> threeQuarters = filled();
    EXPECT_NEAR(threeQuarters.first, threeQuarters.second * 3 / 4, 4);
}

TEST_F(ProgressBarWindow, TheBarberPoleMoves) {
    progress({L"show barberpole", L"Waiting", L""});
    driver::Dialog d = window();
    const driver::ControlInfo bar = d.control(kBar1);
    EXPECT_TRUE(bar.style & PBS_MARQUEE);
    driver::pumpMessages(200);
    const std::vector<COLORREF> before = middleRow(bar.hwnd);
    driver::pumpMessages(300);
    EXPECT_NE(middleRow(bar.hwnd), before) << "the marquee does not move";
    // The next "show" makes a plain bar of it again.
    progress({L"show", L"Waiting", L""});
    EXPECT_FALSE(d.control(kBar1).style & PBS_MARQUEE);
}

TEST_F(ProgressBarWindow, TheCancelButtonRecordsAPressBetweenCalls) {
    progress({L"show", L"Sending", L"10"});
    const SIZE plain = outerSize(window());
    progress({L"show", L"Sending", L"10", L"", L"", L"", L"", L"", L"Stop"});
    driver::Dialog d = window();
    const SIZE size = outerSize(d);
    EXPECT_EQ(size.cx, plain.cx);
    EXPECT_EQ(size.cy, plain.cy + 33);
    const driver::ControlInfo button = d.control(kCancel);
    ASSERT_TRUE(button.visible);
    EXPECT_EQ(button.text, L"Stop");
    EXPECT_EQ(button.rect.right, size.cx - 18);
    EXPECT_EQ(button.rect.top, size.cy - 33);
    EXPECT_EQ(d.control(kBar1).rect.top, 62);

    // The user clicks while the script is busy; the next call sees it.
    progress({L"incr"});
    EXPECT_EQ(progress({L"cancelled"}), L"");
    ASSERT_TRUE(d.queueClick(kCancel));
    EXPECT_EQ(progress({L"cancelled"}), L"1");
    EXPECT_FALSE(d.control(kCancel).enabled);

    // A new "show" forgets it; Space on the focused button presses it too.
    progress({L"show", L"Sending", L"10", L"", L"", L"", L"", L"", L"Stop"});
    EXPECT_EQ(progress({L"cancelled"}), L"");
    EXPECT_TRUE(d.control(kCancel).enabled);
    EXPECT_TRUE(d.control(kCancel).focused);
    d.pressKey(VK_SPACE);
    EXPECT_EQ(progress({L"cancelled"}), L"1");

    // Esc presses it as a click does, once.
    progress({L"show", L"Sending", L"10", L"", L"", L"", L"", L"", L"Stop"});
    d.pressKey(VK_ESCAPE);
    EXPECT_FALSE(d.control(kCancel).enabled);
    EXPECT_EQ(progress({L"cancelled"}), L"1");

    // Without a caption there is no button, and Esc presses nothing.
    progress({L"show", L"Sending", L"10", L"", L"", L"", L"", L"", L""});
    EXPECT_FALSE(d.control(kCancel).visible);
    EXPECT_EQ(outerSize(d).cy, plain.cy);
    d.pressKey(VK_ESCAPE);
    EXPECT_EQ(progress({L"cancelled"}), L"");
    EXPECT_TRUE(d.isOpen());
}

// The window has no caption; the user moves it by its client area, but a
// press on its button stays a press of the button.
TEST_F(ProgressBarWindow, TheWindowIsDraggedByItsClientArea) {
    progress({L"show", L"Sending", L"10", L"", L"", L"", L"", L"", L"Stop"});
    driver::Dialog d = window();
    const RECT before = d.windowRect();
    dragInOneGo(d.hwnd(), POINT{6, 6}, POINT{66, 46});
    const RECT after = d.windowRect();
    EXPECT_EQ(after.left - before.left, 60);
    EXPECT_EQ(after.top - before.top, 40);

    const RECT button = d.control(kCancel).rect;
    const POINT inside{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    dragInOneGo(d.hwnd(), inside, POINT{inside.x - 60, inside.y - 40});
    const RECT still = d.windowRect();
    EXPECT_EQ(still.left, after.left);
    EXPECT_EQ(still.top, after.top);
    EXPECT_EQ(progress({L"cancelled"}), L"") << "released off the button, the press is dropped";
}

TEST_F(ProgressBarWindow, AnotherDialogDropsTheWindow) {
    progress({L"show", L"Working", L"10"});
    const HWND progressWindow = window().hwnd();
    bool goneDuringDialog = false;
    driver::Session session([&](driver::Dialog &d) {
        goneDuringDialog = !IsWindow(progressWindow);
        d.click(4);
    });
    EXPECT_EQ(host.call(L"Tessary_Dialog", {L"", L"Question", L"Go on?", L"OK"}).text, L"1");
    EXPECT_TRUE(session.ran());
    EXPECT_TRUE(goneDuringDialog);
    EXPECT_FALSE(IsWindow(progressWindow));

    // Nothing left to drive, until a new "show".
    progress({L"incr"});
    EXPECT_FALSE(driver::findModeless().has_value());
    progress({L"show", L"Again", L"10", L"3"});
    EXPECT_EQ(window().progressPos(kBar1), 3);
}

TEST_F(ProgressBarWindow, ShutDownTakesTheWindowAway) {
    progress({L"show", L"Working", L"10"});
    const HWND progressWindow = window().hwnd();
    host.shutdown();
    EXPECT_FALSE(IsWindow(progressWindow));
    host.unload();
    // No message may reach a procedure of the unloaded module.
    driver::pumpMessages(100);
}
