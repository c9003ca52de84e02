// The main dialog procedure and the runner, linked into this program: dialogs
// built straight from the control table, played through the dialog driver.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "dialog_driver.h"
#include "frame_window.h"
#include "model/dialog_definition.h"
#include "runtime/module.h"
#include "runtime/system_dialogs.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace {

using e2e::placeSlot;
using e2e::runFrame;
using e2e::wide;

// A fresh 400 x 240 resizable dialog with nothing in it.
DialogDefinition &freshDialog() {
    DialogDefinition &d = e2e::freshFrame(400, 240);
    d.title = WideText(L"Runtime");
    d.left = 60;
    d.top = 40;
    d.minWidth = 400;
    d.minHeight = 240;
    d.resizable = 1;
    return d;
}

ControlSpec &button(int slot, int x, int y, const wchar_t *caption) {
    ControlSpec &s = placeSlot(slot, "button", x, y, 75, 23, caption);
    s.value = WideText(caption);
    return s;
}

class RuntimeDialog : public ::testing::Test {
protected:
    void SetUp() override { setRuntimeModule(GetModuleHandleW(nullptr)); }
};

} // namespace

TEST_F(RuntimeDialog, OnlyPushButtonsOutsideSlotTwoClose) {
    freshDialog();
    button(2, 20, 150, L"Two");
    button(4, 120, 150, L"Four");
    placeSlot(5, "static", 20, 20, 200, 20, L"label");
    runFrame([](driver::Dialog &d) {
        d.click(2);
        d.waitMs(150);
        EXPECT_TRUE(d.isOpen()) << "slot 2 is the cancel id and never a press";
        d.pressKey(VK_ESCAPE);
        d.waitMs(150);
        EXPECT_TRUE(d.isOpen());
        d.click(4);
    });
    EXPECT_EQ(dialog().resultIndex, 4);
}

TEST_F(RuntimeDialog, CloseMessageAndTimerReportNoButton) {
    freshDialog();
    button(4, 120, 150, L"Four");
    runFrame([](driver::Dialog &d) { d.click(4); });
    ASSERT_EQ(dialog().resultIndex, 4);

    freshDialog();
    button(4, 120, 150, L"Four");
    placeSlot(6, "edit", 20, 20, 200, 23, L"as filled");
    runFrame([](driver::Dialog &d) {
        d.setText(6, L"typed but never confirmed");
        d.close();
    });
    EXPECT_EQ(dialog().resultIndex, -1);
    EXPECT_EQ(wide(dialog().controls[6].text), L"as filled");

    freshDialog();
    button(4, 120, 150, L"Four");
    dialog().timerEnabled = 1;
    dialog().timerInterval = 300;
    DWORD started = GetTickCount();
    runFrame([](driver::Dialog &d) { EXPECT_TRUE(d.waitForClose(5000)); });
    EXPECT_GE(GetTickCount() - started, 250u);
    EXPECT_EQ(dialog().resultIndex, -1);
}

TEST_F(RuntimeDialog, FocusAndDefaultButton) {
    freshDialog();
    placeSlot(36, "edit", 20, 20, 200, 23, L"abc");
    ControlSpec &second = placeSlot(37, "edit", 20, 60, 200, 23, L"hello");
    second.initialFocus = 1;
    button(4, 120, 150, L"OK");
    button(5, 200, 150, L"Other");
    dialog().defaultButton = 5;
    runFrame([](driver::Dialog &d) {
        EXPECT_EQ(d.focusedControl().id, 37);
        EXPECT_EQ(d.defaultButtonId(), 5);
        // The caret sits after the text with nothing selected: typing appends.
        d.typeText(L" world");
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog().resultIndex, 5);
    EXPECT_EQ(wide(dialog().controls[37].text), L"hello world");
    EXPECT_EQ(wide(dialog().controls[36].text), L"abc");
}

TEST_F(RuntimeDialog, DisabledAndFixedStyles) {
    freshDialog();
    dialog().resizable = 0;
    placeSlot(36, "edit", 20, 20, 200, 23, L"locked").disabled = 1;
    button(4, 120, 150, L"OK");
    runFrame([](driver::Dialog &d) {
        EXPECT_FALSE(d.control(36).enabled);
        EXPECT_FALSE(d.style() & WS_THICKFRAME);
        EXPECT_TRUE(d.style() & WS_CAPTION);
        d.click(4);
    });
}

TEST_F(RuntimeDialog, ResizeGrowsFollowsAndSnapsToTheMinimum) {
    freshDialog();
    ControlSpec &grower = placeSlot(1, "static", 10, 10, 200, 100, L"grows");
    grower.growWidth = 1.0;
    grower.growHeight = 0.5;
    ControlSpec &ok = button(4, 300, 180, L"OK");
    ok.followRight = 1;
    ok.followBottom = 1;
    ControlSpec &list = placeSlot(20, "listbox", 10, 120, 200, 50, L"a|b|c|d|");
    setListHasCheckBoxes(list, 1);
    setListColumnCount(list, 2);
    setListColumnTitles(list, WideText(L"One|Two"));
    setListColumnWidths(list, NarrowText("25|75"));
    list.growWidth = 1.0;
    runFrame([](driver::Dialog &d) {
        d.resize(500, 300);
        EXPECT_EQ(d.control(1).width(), 300);
        EXPECT_EQ(d.control(1).height(), 130);
        EXPECT_EQ(d.control(4).rect.left, 400);
        EXPECT_EQ(d.control(4).rect.top, 240);
        // Columns are laid out again from percentages of what the list
        // shows beside its scroll bar, less the check-box column.
        std::vector<int> widths = d.listColumnWidths(20);
        ASSERT_EQ(widths.size(), 3u);
        RECT inside{};
        GetClientRect(d.control(20).hwnd, &inside);
        EXPECT_GT(inside.right, 280);
        EXPECT_EQ(widths[0], 25);
        EXPECT_EQ(widths[1], (inside.right - 25) * 25 / 100);
        EXPECT_EQ(widths[2], (inside.right - 25) * 75 / 100);

        d.resize(250, 150);
        RECT r = d.windowRect();
        EXPECT_EQ(r.right - r.left, 400);
        EXPECT_EQ(r.bottom - r.top, 240);
        EXPECT_EQ(d.control(4).rect.left, 300);
        EXPECT_EQ(d.control(4).rect.top, 180);
        EXPECT_EQ(d.control(1).width(), 200);
        d.click(4);
    });
    EXPECT_EQ(dialog().width, 400);
    EXPECT_EQ(dialog().height, 240);
}

TEST_F(RuntimeDialog, TabClickShowsExactlyOnePage) {
    freshDialog();
    dialog().width = 420;
    dialog().height = 300;
    ControlSpec &first = placeSlot(60, "tabcontrol", 4, 24, 370, 200);
    setTabTitle(first, WideText(L"First"));
    setTabPosition(first, 0);
    setTabShownFirst(first, 1);
    ControlSpec &second = placeSlot(61, "tabcontrol", 4, 24, 370, 200);
    setTabTitle(second, WideText(L"Second"));
    setTabPosition(second, 1);
    placeSlot(36, "edit", 10, 10, 200, 23, L"on page one").ownerIndex = 60;
    placeSlot(37, "edit", 10, 10, 200, 23, L"on page two").ownerIndex = 61;
    button(4, 300, 240, L"OK");
    runFrame([](driver::Dialog &d) {
        EXPECT_EQ(d.selectedTab(1043), 0);
        EXPECT_EQ(d.tabTitles(1043), std::vector<std::wstring>({L"First", L"Second"}));
        EXPECT_TRUE(d.control(36).visible);
        EXPECT_FALSE(d.control(37).visible);
        d.clickTab(1043, 1);
        EXPECT_EQ(d.selectedTab(1043), 1);
        EXPECT_FALSE(d.control(36).visible);
        EXPECT_TRUE(d.control(37).visible);
        d.click(37);
        d.pressKey(VK_END);
        d.typeText(L"!");
        d.click(4);
    });
    // Values are read from the page that hosts each input.
    EXPECT_EQ(wide(dialog().controls[36].text), L"on page one");
    EXPECT_EQ(wide(dialog().controls[37].text), L"on page two!");
}

TEST_F(RuntimeDialog, CheckListClicksKeepOneRowInSingleSelection) {
    freshDialog();
    ControlSpec &list = placeSlot(36, "listbox", 10, 10, 300, 120, L"a|b|c|");
    setListHasCheckBoxes(list, 1);
    setListChosenRow(list, -1);
    setListColumnCount(list, 0);
    ControlSpec &ok = button(4, 300, 180, L"OK");
    ok.requiresSelection = 1;
    runFrame([](driver::Dialog &d) {
        EXPECT_FALSE(d.control(4).enabled);
        d.clickListCheckbox(36, 1);
        EXPECT_TRUE(d.listRowChecked(36, 1));
        EXPECT_TRUE(d.control(4).enabled);
        d.clickListCheckbox(36, 2);
        EXPECT_FALSE(d.listRowChecked(36, 1));
        EXPECT_TRUE(d.listRowChecked(36, 2));
        d.clickListCheckbox(36, 2);
        EXPECT_FALSE(d.listRowChecked(36, 2));
        EXPECT_FALSE(d.control(4).enabled);
        d.clickListCheckbox(36, 0);
        d.click(4);
    });
    EXPECT_EQ(dialog().resultIndex, 4);
    EXPECT_EQ(listChosenRow(dialog().controls[36]), 0);
}

TEST_F(RuntimeDialog, FailedTemplateReportsFailureAndLeavesNoWindow) {
    freshDialog();
    dialog().templateId = 999;
    dialog().resultIndex = 7;
    EXPECT_THROW(runDialog(), DialogNotShown);
    EXPECT_EQ(dialog().resultIndex, -1) << "no button of an earlier dialog";
}

// A hook that throws inside the dialog procedure, where the system's frames
// cannot be unwound on 32 bits: the dialog ends without a button, the runner
// throws the same kind of failure from the call's frame, and the next
// dialog runs as usual.
bool gThrowOutOfMemory = false;
bool throwingRead(WindowHandle, int, WideText &) {
    if (gThrowOutOfMemory) throw std::bad_alloc();
    throw std::runtime_error("read-back failed");
}
// Only when the user widens the window, not at its first layout.
bool throwingSize(WindowHandle, int width, int) {
    if (width > 450) throw std::length_error("layout failed");
    return false;
}

TEST_F(RuntimeDialog, AFailureInsideTheDialogEndsItAndReachesTheCaller) {
    static const DialogHooks failingRead = {"failing read", false, nullptr, nullptr, nullptr, throwingRead, nullptr, nullptr, false};
    static const DialogHooks failingSize = {"failing size", false, nullptr, nullptr, throwingSize, nullptr, nullptr, nullptr, false};
    struct Case {
        const char *what;
        const DialogHooks *hooks;
        bool outOfMemory;
    } cases[] = {{"read-back, out of memory", &failingRead, true},
                 {"read-back", &failingRead, false},
                 {"resize", &failingSize, false}};
    for (const Case &c : cases) {
        freshDialog();
        placeSlot(36, "edit", 10, 10, 200, 22, L"typed");
        button(4, 300, 180, L"OK");
        dialog().resultIndex = 7;
        gThrowOutOfMemory = c.outOfMemory;
        HWND shown = nullptr;
        driver::Session session(
            [&](driver::Dialog &d) {
                shown = d.hwnd();
                if (c.hooks == &failingSize) d.resize(500, 300);
                if (d.isOpen()) d.click(4);
            },
            15000);
        bool outOfMemory = false, other = false;
        try {
            runDialog(*c.hooks);
        } catch (const std::bad_alloc &) {
            outOfMemory = true;
        } catch (const std::exception &) {
            other = true;
        }
        EXPECT_EQ(outOfMemory, c.outOfMemory) << c.what;
        EXPECT_EQ(other, !c.outOfMemory) << c.what;
        EXPECT_TRUE(session.ran()) << c.what;
        EXPECT_FALSE(session.watchdogFired()) << c.what << ": the dialog did not end";
        EXPECT_FALSE(IsWindow(shown)) << c.what;
        EXPECT_EQ(dialog().resultIndex, -1) << c.what << ": no button closed it";
    }
    freshDialog();
    button(4, 300, 180, L"OK");
    runFrame([](driver::Dialog &d) { d.click(4); });
    EXPECT_EQ(dialog().resultIndex, 4) << "the next dialog runs as usual";
}

// Asked for off the screen, a dialog opens wholly inside it, at its size;
// asked for a place inside, it opens there.
TEST_F(RuntimeDialog, ADialogOpensInsideTheScreen) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const POINT asked[] = {{5000, 5000}, {-3000, 40}, {100, 50}};
    for (const POINT &at : asked) {
        freshDialog();
        button(4, 300, 180, L"OK");
        dialog().left = at.x;
        dialog().top = at.y;
        dialog().positionGiven = 1;
        RECT shown{};
        runFrame([&](driver::Dialog &d) {
            shown = d.windowRect();
            d.click(4);
        });
        const std::string what = std::to_string(at.x) + "," + std::to_string(at.y);
        EXPECT_EQ(shown.right - shown.left, 400) << what;
        EXPECT_EQ(shown.bottom - shown.top, 240) << what;
        EXPECT_TRUE(shown.left >= work.left && shown.top >= work.top && shown.right <= work.right &&
                    shown.bottom <= work.bottom)
            << what << " opened at " << shown.left << "," << shown.top;
        if (at.x == 100) {
            EXPECT_EQ(std::make_pair(shown.left, shown.top), std::make_pair(100L, 50L));
        }
    }
}

TEST_F(RuntimeDialog, ModelessRunShowsTheSameWindowAgain) {
    freshDialog();
    dialog().templateId = IDD_PROGRESS;
    dialog().width = 300;
    dialog().height = 120;
    placeSlot(1, "static", 10, 10, 200, 20, L"progress");
    static const DialogHooks modeless = {"modeless", true, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false};
    runDialog(modeless);
    HWND first = modelessDialogWindow(modeless);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(IsWindowVisible(first));
    ShowWindow(first, SW_HIDE);
    runDialog(modeless);
    EXPECT_EQ(modelessDialogWindow(modeless), first);
    EXPECT_TRUE(IsWindowVisible(first));
    // Another dialog drops it.
    static const DialogHooks other = {"other", true, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false};
    EXPECT_EQ(modelessDialogWindow(other), nullptr);
    closeModelessDialog();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(modelessDialogWindow(modeless), nullptr);
}

// The system's colour chooser behind the seam: OK answers the colour it was
// given, Cancel answers nothing.
TEST_F(RuntimeDialog, ColourChooserAnswersThroughTheSeam) {
    SystemDialogRequest request{kColorChooser, WideText(), WideText(), WideText(), RGB(10, 200, 30)};
    SystemDialogAnswer answer{WideText(), 0};
    {
        driver::Session session([](driver::Dialog &d) { d.click(IDOK); }, 15000);
        EXPECT_EQ(runSystemDialog(request, answer), ChooserOutcome::kChosen);
        EXPECT_TRUE(session.ran());
        EXPECT_FALSE(session.watchdogFired());
    }
    EXPECT_EQ(answer.color, RGB(10, 200, 30));
    answer.color = 7;
    {
        driver::Session session([](driver::Dialog &d) { d.click(IDCANCEL); }, 15000);
        EXPECT_EQ(runSystemDialog(request, answer), ChooserOutcome::kCancelled);
        EXPECT_TRUE(session.ran());
    }
    EXPECT_EQ(answer.color, 7u);
}
