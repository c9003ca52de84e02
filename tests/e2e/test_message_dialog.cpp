// Tessary_Dialog through the host, with the dialog driver as the user.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <commctrl.h>

#include "tests/e2e/dialog_test.h"
#include "tests/e2e/import_patch.h"

namespace {

using e2e::narrow;

class MessageDialog : public e2e::DialogTest {
protected:
    // Shows the dialog with these arguments; `act` plays the user.
    std::wstring show(const std::vector<std::wstring> &args, std::function<void(driver::Dialog &)> act,
                      bool *ran = nullptr) {
        return DialogTest::show(L"Tessary_Dialog", args, std::move(act), 15000, ran);
    }
};

void setClipboardText(const std::wstring &text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

std::wstring clipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(clipboard not opened)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t *>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

SIZE outerSize(const driver::Dialog &d) {
    RECT r = d.windowRect();
    return SIZE{r.right - r.left, r.bottom - r.top};
}

constexpr int kIconId = 41112;     // the icon of the message's kind
constexpr int kTimerBarId = 41113; // the bar that runs down with the timer

// The sounds the plug-in asked the system for, in order.
std::vector<UINT> beeps;
BOOL WINAPI recordingMessageBeep(UINT type) {
    beeps.push_back(type);
    return TRUE;
}

// The pixels of a control as drawn on the screen.
std::vector<COLORREF> pixelsOf(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    HDC dc = GetDC(control);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; ++y) {
        for (int x = 0; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(control, dc);
    return pixels;
}

} // namespace

TEST_F(MessageDialog, StandardGeometryAndAClickReturnsOne) {
    std::wstring result = show({L"", L"T", L"M", L"OK"}, [](driver::Dialog &d) {
        EXPECT_EQ(outerSize(d).cx, 383);
        EXPECT_EQ(outerSize(d).cy, 173);
        EXPECT_EQ(d.caption(), L"T");
        EXPECT_TRUE(d.style() & WS_THICKFRAME);
        driver::ControlInfo message = d.control(1);
        ASSERT_TRUE(message.exists());
        EXPECT_TRUE(message.hasClass(L"STATIC"));
        // A text begins a group: the arrow keys never walk onto it.
        EXPECT_EQ(message.style, 0x50020080u);
        EXPECT_EQ(message.rect.left, 17);
        EXPECT_EQ(message.rect.top, 10);
        EXPECT_EQ(message.width(), 339);
        EXPECT_EQ(message.height(), 93);
        EXPECT_EQ(message.text, L"M");
        driver::ControlInfo ok = d.control(4);
        ASSERT_TRUE(ok.exists());
        EXPECT_TRUE(ok.hasClass(L"BUTTON"));
        EXPECT_EQ(ok.rect.left, 290);
        EXPECT_EQ(ok.rect.top, 108);
        EXPECT_EQ(ok.width(), 75);
        EXPECT_EQ(ok.height(), 23);
        EXPECT_EQ(ok.text, L"OK");
        EXPECT_EQ(d.defaultButtonId(), 4);
        RECT r = d.windowRect();
        EXPECT_EQ(r.left, 40);
        EXPECT_EQ(r.top, 30);
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(host.call(L"Tessary_GetPosition", {}).text, L"40|30|383|173");
}

TEST_F(MessageDialog, EmptyMiddleButtonKeepsItsPlace) {
    std::wstring result = show({L"", L"T", L"M", L"A", L"", L"C"}, [](driver::Dialog &d) {
        driver::ControlInfo c = d.control(5);
        EXPECT_EQ(c.text, L"C");
        EXPECT_EQ(c.rect.left, 383 - 257);
        EXPECT_FALSE(d.control(6).exists());
        d.click(5);
    });
    EXPECT_EQ(result, L"3");
}

TEST_F(MessageDialog, EightArgumentsMakeTwoRows) {
    std::wstring result = show({L"", L"T", L"M", L"b1", L"b2", L"b3", L"b4", L"b5"}, [](driver::Dialog &d) {
        EXPECT_EQ(outerSize(d).cy, 203);
        struct Place {
            int id, x, y;
        } places[] = {{4, 290, 107}, {5, 208, 107}, {6, 126, 107}, {7, 44, 107}, {8, 290, 138}};
        for (const Place &p : places) {
            driver::ControlInfo b = d.control(p.id);
            EXPECT_EQ(b.rect.left, p.x) << "slot " << p.id;
            EXPECT_EQ(b.rect.top, p.y) << "slot " << p.id;
        }
        d.click(8);
    });
    EXPECT_EQ(result, L"5");
}

TEST_F(MessageDialog, SizeOptionsAreRaisedToTheMinimum) {
    struct Case {
        const wchar_t *options;
        size_t arguments;
        int width, height;
    } cases[] = {{L"small", 4, 383, 280}, {L"width=200", 4, 383, 173}, {L"height=100", 4, 383, 173},
                 {L"height=100", 8, 383, 203}, {L"width=520 height=260", 4, 520, 260}};
    for (const Case &c : cases) {
        std::vector<std::wstring> args = {c.options, L"T", L"M", L"OK"};
        while (args.size() < c.arguments) args.push_back(L"x");
        SIZE seen{};
        show(args, [&](driver::Dialog &d) {
            seen = outerSize(d);
            d.click(4);
        });
        EXPECT_EQ(seen.cx, c.width) << narrow(c.options);
        EXPECT_EQ(seen.cy, c.height) << narrow(c.options);
    }
}

TEST_F(MessageDialog, EscapeDoesNotCloseButEnterPressesTheDefault) {
    std::wstring result = show({L"defaultButton3", L"T", L"M", L"A", L"B", L"C"}, [](driver::Dialog &d) {
        EXPECT_EQ(d.defaultButtonId(), 6);
        d.pressKey(VK_ESCAPE);
        d.waitMs(200);
        EXPECT_TRUE(d.isOpen());
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(result, L"3");
}

// Ctrl+C copies what a user would paste into a support request, and does
// nothing else: the dialog stays open and the press answers nothing. In a
// field it keeps copying the field's selection.
TEST_F(MessageDialog, CtrlCCopiesTheTitleAndTheText) {
    auto copyOnce = [](driver::Dialog &d, const std::wstring &expected) {
        setClipboardText(L"before");
        d.pressKey('C', VK_CONTROL);
        EXPECT_EQ(clipboardText(), expected);
        EXPECT_TRUE(d.isOpen());
    };
    std::wstring result = show({L"", L"Import failed", L"Line 7:\rno such field", L"OK", L"Cancel"},
                               [&](driver::Dialog &d) {
        copyOnce(d, L"Import failed\r\n\r\nLine 7:\r\nno such field");
        d.click(5);
    });
    EXPECT_EQ(result, L"2");

    host.call(L"Tessary_SetLabels", {L"Name"});
    host.call(L"Tessary_SetInputTypes", {L"edit"});
    host.call(L"Tessary_SetDefaultInputs", {L"Ann Berg"});
    result = DialogTest::show(L"Tessary_DoDialog", {L"", L"Order", L"Please check the order.", L"OK"},
                              [&](driver::Dialog &d) {
        d.click(36);
        d.pressKey('A', VK_CONTROL);
        copyOnce(d, L"Ann Berg");
        d.pressKey(VK_TAB);
        ASSERT_FALSE(d.focusedControl().hasClass(L"Edit"));
        copyOnce(d, L"Order\r\n\r\nPlease check the order.");
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), L"Ann Berg");

    result = DialogTest::show(L"Tessary_DoList", {L"", L"", L"", L"", L"", L"Fruit", L"Pick some fruit:", L"Apple|Pear",
                                                  L"", L"Take", L""},
                              [&](driver::Dialog &d) {
        copyOnce(d, L"Fruit\r\n\r\nPick some fruit:");
        d.click(4);
    });
    EXPECT_EQ(result, L"1");

    // Without a text only the title is copied.
    result = DialogTest::show(L"Tessary_DoDualListDialog", {L"", L"Team", L"", L"All", L"Ann|Bob", L"", L"", L"OK"},
                              [&](driver::Dialog &d) {
        copyOnce(d, L"Team");
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
}

TEST_F(MessageDialog, TimerWithoutButtonsClosesByItselfAndReportsNoButton) {
    // An earlier press must not leak into the timed-out dialog's answer.
    show({L"", L"T", L"M", L"A", L"B"}, [](driver::Dialog &d) { d.click(5); });

    DWORD started = GetTickCount();
    DWORD shownFor = 0;
    std::wstring result = show({L"timer=3 noButtons", L"T", L"M", L"OK"}, [&](driver::Dialog &d) {
        EXPECT_FALSE(d.style() & WS_CAPTION);
        EXPECT_FALSE(d.control(4).exists());
        EXPECT_TRUE(d.waitForClose(8000));
        shownFor = GetTickCount() - started;
    });
    EXPECT_EQ(result, L"");
    EXPECT_GE(shownFor, 2500u);
    EXPECT_LE(shownFor, 7000u);
}

TEST_F(MessageDialog, ZeroTimerClosesAtTheFirstTick) {
    bool ran = false;
    DWORD started = GetTickCount();
    std::wstring result = show({L"timer=0", L"T", L"M", L"OK"}, [](driver::Dialog &d) { d.waitForClose(5000); }, &ran);
    EXPECT_EQ(result, L"");
    EXPECT_LT(GetTickCount() - started, 3000u);
}

TEST_F(MessageDialog, TextsOutsideTheAnsiCodePageSurvive) {
    const std::wstring title = L"\u00dcbersicht \u4e2d\u6587 \u0416";
    const std::wstring message = L"\u0393\u03b5\u03b9\u03ac \u03c3\u03bf\u03c5\r\u65e5\u672c\u8a9e";
    std::wstring result = show({L"", title, message, L"\u2713 OK"}, [&](driver::Dialog &d) {
        EXPECT_EQ(d.caption(), title);
        EXPECT_EQ(d.control(1).text, L"\u0393\u03b5\u03b9\u03ac \u03c3\u03bf\u03c5\r\n\u65e5\u672c\u8a9e");
        EXPECT_EQ(d.control(4).text, L"\u2713 OK");
        d.click(4);
    });
    EXPECT_EQ(result, L"1");
}

TEST_F(MessageDialog, ResizingMovesButtonsAndGrowsTheMessage) {
    std::wstring result = show({L"", L"T", L"M", L"OK", L"No"}, [](driver::Dialog &d) {
        d.resize(483, 223);
        driver::ControlInfo message = d.control(1);
        EXPECT_EQ(message.width(), 339 + 100);
        EXPECT_EQ(message.height(), 93 + 50);
        EXPECT_EQ(d.control(4).rect.left, 290 + 100);
        EXPECT_EQ(d.control(4).rect.top, 108 + 50);
        EXPECT_EQ(d.control(5).rect.left, 208 + 100);
        // Narrower than the minimum snaps back.
        d.resize(200, 100);
        d.waitMs(100);
        EXPECT_EQ(outerSize(d).cx, 383);
        EXPECT_EQ(outerSize(d).cy, 173);
        EXPECT_EQ(d.control(4).rect.left, 290);
        EXPECT_EQ(d.control(4).rect.top, 108);
        d.click(5);
    });
    EXPECT_EQ(result, L"2");
}

TEST_F(MessageDialog, PositionOptionsPlaceTheWindowAndStay) {
    RECT placed{};
    show({L"left=120 top=90", L"T", L"M", L"OK"}, [&](driver::Dialog &d) {
        placed = d.windowRect();
        d.click(4);
    });
    EXPECT_EQ(placed.left, 120);
    EXPECT_EQ(placed.top, 90);
    EXPECT_EQ(host.call(L"Tessary_GetPosition", {}).text, L"120|90|383|173");
    // A later dialog without position options opens where the last one was put.
    show({L"", L"T", L"M", L"OK"}, [&](driver::Dialog &d) {
        placed = d.windowRect();
        d.click(4);
    });
    EXPECT_EQ(placed.left, 120);
    EXPECT_EQ(placed.top, 90);
}

// Each kind of message shows the system's large icon left of the text, which
// moves right by the icon and a gap, and plays the system's sound of that
// kind, as the system's message box does; without a keyword neither.
TEST_F(MessageDialog, EachKindOfMessageShowsItsIconAndPlaysItsSound) {
    HMODULE plugin = GetModuleHandleW((L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix)).c_str());
    ASSERT_NE(plugin, nullptr);
    void *system = e2e::patchImport(plugin, "user32.dll", "MessageBeep", reinterpret_cast<void *>(recordingMessageBeep));
    ASSERT_NE(system, nullptr) << "the plug-in plays no sound";
    struct Case {
        const wchar_t *options;
        UINT sound; // ~0u: none
    } cases[] = {
        {L"info", MB_ICONASTERISK},
        {L"warning", MB_ICONEXCLAMATION},
        {L"error", MB_ICONHAND},
        {L"question", MB_ICONQUESTION},
        {L"", ~0u},
    };
    std::vector<std::vector<COLORREF>> images;
    for (const Case &c : cases) {
        SCOPED_TRACE(narrow(c.options));
        beeps.clear();
        show({c.options, L"T", L"The records were saved.", L"OK"}, [&](driver::Dialog &d) {
            driver::ControlInfo icon = d.control(kIconId);
            driver::ControlInfo message = d.control(1);
            if (c.sound == ~0u) {
                EXPECT_FALSE(icon.exists());
                EXPECT_EQ(message.rect.left, 17);
            } else {
                ASSERT_TRUE(icon.exists());
                EXPECT_TRUE(icon.hasClass(L"Static"));
                EXPECT_EQ(icon.style & SS_TYPEMASK, DWORD(SS_ICON));
                EXPECT_EQ(icon.rect.left, 17);
                EXPECT_EQ(icon.rect.top, 10);
                EXPECT_EQ(icon.width(), GetSystemMetrics(SM_CXICON));
                EXPECT_EQ(icon.height(), GetSystemMetrics(SM_CYICON));
                EXPECT_EQ(message.rect.left, 17 + 32 + 10);
                EXPECT_EQ(message.width(), 339 - 42);
                d.waitMs(200);
                images.push_back(pixelsOf(icon.hwnd));
            }
            d.click(4);
        });
        EXPECT_EQ(beeps, c.sound == ~0u ? std::vector<UINT>() : std::vector<UINT>({c.sound}));
    }
    e2e::patchImport(plugin, "user32.dll", "MessageBeep", system);
    // Four different images, none a blank square.
    for (size_t i = 0; i < images.size(); ++i) {
        EXPECT_NE(std::count(images[i].begin(), images[i].end(), images[i].front()), std::ptrdiff_t(images[i].size()))
            << "icon " << i << " is blank";
        for (size_t j = i + 1; j < images.size(); ++j) EXPECT_NE(images[i], images[j]) << i << " and " << j;
    }
}

// timer=N shows a thin bar along the bottom edge that runs down over the N
// seconds; the dialog still closes by its timer, answering no button.
TEST_F(MessageDialog, TheTimerRunsDownABarAlongTheBottomEdge) {
    DWORD started = GetTickCount();
    DWORD shownFor = 0;
    int full = 0, early = 0, later = 0, range = 0;
    const std::wstring result = show({L"timer=3", L"T", L"M", L"OK"}, [&](driver::Dialog &d) {
        driver::ControlInfo bar = d.control(kTimerBarId);
        ASSERT_TRUE(bar.exists());
        EXPECT_TRUE(bar.hasClass(PROGRESS_CLASSW));
        const SIZE client = d.clientSize();
        EXPECT_EQ(bar.rect.left, 0);
        EXPECT_EQ(bar.rect.right, client.cx);
        EXPECT_EQ(bar.rect.bottom, client.cy);
        EXPECT_EQ(bar.height(), 4);
        EXPECT_LT(bar.rect.top, client.cy);
        EXPECT_GE(bar.rect.top, d.control(4).rect.bottom) << "the bar leaves the buttons free";
        range = int(SendMessageW(bar.hwnd, PBM_GETRANGE, FALSE, 0));
        full = int(SendMessageW(bar.hwnd, PBM_GETPOS, 0, 0));
        d.waitMs(1000);
        early = int(SendMessageW(bar.hwnd, PBM_GETPOS, 0, 0));
        d.resize(483, 223);
        d.waitMs(800);
        bar = d.control(kTimerBarId);
        EXPECT_EQ(bar.rect.right, d.clientSize().cx) << "the bar follows the window's width";
        EXPECT_EQ(bar.rect.bottom, d.clientSize().cy);
        later = int(SendMessageW(bar.hwnd, PBM_GETPOS, 0, 0));
        EXPECT_TRUE(d.waitForClose(6000));
        shownFor = GetTickCount() - started;
    });
    EXPECT_EQ(result, L"");
    EXPECT_GE(full, range * 9 / 10) << "it starts full";
    EXPECT_LT(early, full);
    EXPECT_LT(later, early);
    EXPECT_GE(shownFor, 2500u);
    EXPECT_LE(shownFor, 7000u);
    // Without a timer there is no bar.
    show({L"", L"T", L"M", L"OK"}, [](driver::Dialog &d) {
        EXPECT_FALSE(d.control(kTimerBarId).exists());
        d.click(4);
    });
}
