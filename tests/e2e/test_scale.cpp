// The dialogs on a screen at 150 %. ctest runs this program in a Wine
// prefix whose screen is at 144 dpi (TESSARY_DPI=144). Each dialog opens
// twice: from a thread that is not DPI-aware, which the system draws at
// 96 dpi throughout, and from a per-monitor aware thread, as current hosts
// are. The second must be the first at 1.5 times the size, with every
// caption fitting its control and every control inside its dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "dialog_test.h"

namespace {

using e2e::Args;

// Loaded by name: the build targets systems older than the calls.
typedef DPI_AWARENESS_CONTEXT(WINAPI *SetThreadContext)(DPI_AWARENESS_CONTEXT);
SetThreadContext setThreadContext() {
    return reinterpret_cast<SetThreadContext>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
}

const DPI_AWARENESS_CONTEXT kUnaware = DPI_AWARENESS_CONTEXT(-1);
const DPI_AWARENESS_CONTEXT kPerMonitor = DPI_AWARENESS_CONTEXT(-3);

// The dialog as read from the thread that drew it.
struct Layout {
    SIZE window{};
    std::vector<driver::ControlInfo> controls;
};

Layout layoutOf(const driver::Dialog &d) {
    Layout l;
    const RECT r = d.windowRect();
    l.window = SIZE{r.right - r.left, r.bottom - r.top};
    l.controls = d.controls();
    return l;
}

// Controls the dialog places itself, as opposed to the parts that the
// system makes inside a control (a list's header, a combo box's field).
bool placedByDialog(const driver::Dialog &d, const driver::ControlInfo &c) {
    if (c.parent == d.hwnd()) return true;
    wchar_t name[16] = {};
    GetClassNameW(c.parent, name, 16);
    return std::wstring(name) == L"#32770" && GetParent(c.parent) == d.hwnd(); // a tab page
}

std::string describe(const driver::ControlInfo &c) {
    return "control " + std::to_string(c.id) + " (" + e2e::narrow(c.className) + " \"" + e2e::narrow(c.text) + "\")";
}

// How large `text` is drawn in the control's own font: on one line, or
// broken into lines `width` wide.
SIZE drawnSize(HWND control, const std::wstring &text, UINT format, int width) {
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ before = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &r, format | DT_CALCRECT);
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The captions that do not fit their controls, each with why.
std::vector<std::string> clippedCaptions(const driver::Dialog &d, const Layout &l) {
    std::vector<std::string> clipped;
    for (const driver::ControlInfo &c : l.controls) {
        if (!c.visible || c.text.empty() || !placedByDialog(d, c)) continue;
        SIZE room{c.width(), c.height()};
        SIZE text{};
        if (c.hasClass(L"Button")) {
            const DWORD type = c.style & BS_TYPEMASK;
            if (type == BS_GROUPBOX || type == BS_OWNERDRAW) continue;
            text = drawnSize(c.hwnd, c.text, DT_SINGLELINE, 0);
            if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
                room.cx -= 6; // the button's edges
                room.cy -= 4;
            } else {
                room.cx -= GetSystemMetrics(SM_CXMENUCHECK) + 4; // the box or circle and its gap
            }
        } else if (c.hasClass(L"Static")) {
            const DWORD type = c.style & SS_TYPEMASK;
            const UINT prefix = (c.style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
            if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
                text = drawnSize(c.hwnd, c.text, DT_WORDBREAK | prefix, room.cx);
            } else if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) {
                text = drawnSize(c.hwnd, c.text, DT_SINGLELINE | prefix, 0);
            } else {
                continue;
            }
        } else {
            continue;
        }
        if (text.cx > room.cx || text.cy > room.cy) {
            clipped.push_back(describe(c) + ": the text needs " + std::to_string(text.cx) + " x " +
                              std::to_string(text.cy) + ", the control has " + std::to_string(room.cx) + " x " +
                              std::to_string(room.cy));
        }
    }
    return clipped;
}

// Controls of the dialog that reach past its client area.
std::vector<std::string> outsideClient(const driver::Dialog &d, const Layout &l) {
    std::vector<std::string> outside;
    const SIZE client = d.clientSize();
    for (const driver::ControlInfo &c : l.controls) {
        if (!c.visible || !placedByDialog(d, c)) continue;
        if (c.rect.left < 0 || c.rect.top < 0 || c.rect.right > client.cx || c.rect.bottom > client.cy) {
            outside.push_back(describe(c) + " at " + std::to_string(c.rect.left) + "," + std::to_string(c.rect.top) +
                              " to " + std::to_string(c.rect.right) + "," + std::to_string(c.rect.bottom) +
                              " reaches past the client area " + std::to_string(client.cx) + " x " +
                              std::to_string(client.cy));
        }
    }
    return outside;
}

// Where `at96` and `scaled` differ from a scale of 1.5 by more than a pixel
// per number. A combo box's height is what its font makes it, not ours.
std::vector<std::string> scaleDifferences(const Layout &at96, const Layout &scaled, const driver::Dialog &d) {
    std::vector<std::string> differences;
    auto off = [](long small, long large) { return std::labs(std::lround(small * 1.5) - large) > 1; };
    if (off(at96.window.cx, scaled.window.cx) || off(at96.window.cy, scaled.window.cy)) {
        differences.push_back("window " + std::to_string(at96.window.cx) + " x " + std::to_string(at96.window.cy) +
                              " became " + std::to_string(scaled.window.cx) + " x " +
                              std::to_string(scaled.window.cy));
    }
    if (at96.controls.size() != scaled.controls.size()) {
        differences.push_back("the dialogs have " + std::to_string(at96.controls.size()) + " and " +
                              std::to_string(scaled.controls.size()) + " controls");
        return differences;
    }
    for (size_t i = 0; i < at96.controls.size(); ++i) {
        const driver::ControlInfo &a = at96.controls[i], &b = scaled.controls[i];
        if (!placedByDialog(d, b)) continue;
        const bool heightOff = !b.hasClass(L"ComboBox") && off(a.height(), b.height());
        if (a.id != b.id || off(a.rect.left, b.rect.left) || off(a.rect.top, b.rect.top) ||
            off(a.width(), b.width()) || heightOff) {
            differences.push_back(describe(b) + " at " + std::to_string(a.rect.left) + "," + std::to_string(a.rect.top) +
                                  " " + std::to_string(a.width()) + " x " + std::to_string(a.height()) +
                                  " became " + std::to_string(b.rect.left) + "," + std::to_string(b.rect.top) + " " +
                                  std::to_string(b.width()) + " x " + std::to_string(b.height()));
        }
    }
    return differences;
}

std::string joined(const std::vector<std::string> &lines) {
    std::string all;
    for (const std::string &line : lines) all += line + "\n";
    return all;
}

struct Case {
    const char *name;
    std::function<void(hostcore::PluginHost &)> stage;
    const wchar_t *function;
    Args args;
};


const std::wstring kMarkup =
    L"<title>Order</title><width>420</width><height>300</height>"
    L"<object><type>static</type><text>Name:</text><left>10</left><top>12</top><width>90</width><height>20</height></object>"
    L"<object><type>edit</type><name>who</name><left>110</left><top>10</top><width>200</width><height>22</height></object>"
    L"<object><type>checkbox</type><name>news</name><text>Newsletter</text><left>110</left><top>40</top>"
    L"<width>120</width><height>22</height></object>"
    L"<object><type>radio</type><name>size</name><text>S|M|L|</text><columns>3</columns><left>110</left>"
    L"<top>70</top><width>50</width><height>22</height></object>"
    L"<object><type>listbox</type><name>fruit</name><text>Apple|Pear|Plum</text><setcheckbox>true</setcheckbox>"
    L"<left>10</left><top>110</top><width>150</width><height>80</height></object>"
    L"<object><type>button</type><name>ok</name><text>OK</text><left>220</left><top>225</top><width>75</width>"
    L"<height>23</height></object>";

const Case kCases[] = {
    {"message", nullptr, L"Tessary_Dialog",
     {L"", L"Delete", L"Delete the three selected records?", L"Delete", L"Keep", L"Cancel"}},
    {"form", e2e::stageEveryKind,
     L"Tessary_DoDialog", {L"", L"Order", L"Please fill in the form.", L"OK", L"Cancel"}},
    {"tab", e2e::stageTabPages, L"Tessary_DoTabDialog", e2e::tabDialogArgs()},
    {"login", nullptr, L"Tessary_DoLogin",
     {L"", L"Sign in", L"Please sign in.", L"User name", L"Password", L"ann|bob|", L"ann", L"OK", L"Cancel"}},
    {"big edit box", nullptr, L"Tessary_BigEditBox", {L"", L"Notes", L"Your notes:", L"Some text", L"OK", L"Cancel"}},
    {"list", nullptr, L"Tessary_DoList",
     {L"", L"2", L"Fruit|Colour", L"50|50", L"LL", L"Fruit", L"Pick some fruit:", L"Apple|green|Pear|yellow|", L"",
      L"OK", L"Cancel"}},
    {"grid", nullptr, L"Tessary_DoListView",
     {L"", L"ECex", L"Name|Fruit|Id|Note", L"30|30|20|", L"x|\rpear|Apple|\r", L"LLR", L"Fruit", L"Edit the cells:",
      L"Ann|Pear|1|n1|Bob|kiwi|2|n2", L"OK", L"Cancel"}},
    {"dual list", nullptr, L"Tessary_DoDualListDialog",
     {L"", L"Team", L"Pick the team:", L"Everyone", L"Ann|Bob|Cy", L"Chosen", L"", L"OK", L"Cancel"}},
    {"markup", nullptr, L"Tessary_CustomDialog", {kMarkup}},
    // The icon is the system's large icon at the dialog's scale.
    {"message with an icon", nullptr, L"Tessary_Dialog",
     {L"warning", L"Delete", L"Delete the three selected records?", L"Delete", L"Keep"}},
    {"list with an icon", nullptr, L"Tessary_DoList",
     {L"question", L"1", L"", L"", L"", L"Fruit", L"Pick some fruit:", L"Apple|Pear|", L"", L"OK", L"Cancel"}},
};

class AtOneAndAHalf : public e2e::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        setContext = setThreadContext();
        ASSERT_NE(setContext, nullptr) << "the system has no DPI awareness per thread";
        setContext(kPerMonitor);
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(dpi, 144) << "run in a prefix at 144 dpi, as ctest does (TESSARY_DPI=144)";
    }
    void TearDown() override {
        if (setContext != nullptr) setContext(kPerMonitor);
    }

    // `act` on the dialog that `c` opens from a thread in `context`; the
    // dialog is closed after it.
    void open(const Case &c, DPI_AWARENESS_CONTEXT context, std::function<void(driver::Dialog &)> act) {
        if (c.stage) c.stage(host);
        setContext(context);
        show(c.function, c.args, [&](driver::Dialog &d) {
            act(d);
            PostMessageW(d.hwnd(), WM_CLOSE, 0, 0);
        });
        setContext(kPerMonitor);
    }

    SetThreadContext setContext = nullptr;
};

} // namespace

TEST_F(AtOneAndAHalf, EveryDialogIsItsSelfAt96DpiOneAndAHalfTimesAsLarge) {
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        Layout at96, scaled;
        open(c, kUnaware, [&](driver::Dialog &d) { at96 = layoutOf(d); });
        open(c, kPerMonitor, [&](driver::Dialog &d) {
            scaled = layoutOf(d);
            EXPECT_EQ(joined(scaleDifferences(at96, scaled, d)), "");
            EXPECT_EQ(joined(clippedCaptions(d, scaled)), "");
            EXPECT_EQ(joined(outsideClient(d, scaled)), "");
        });
        EXPECT_FALSE(scaled.controls.empty());
    }
}

// The progress window is modeless: a dialog of another kind ends it, so
// that the next opens anew in the other thread's scale.
TEST_F(AtOneAndAHalf, TheProgressWindowScalesWithItsBarsAndCancelButton) {
    const Args args = {L"show", L"Copying files", L"10", L"2", L"Files", L"5", L"1", L"Bytes", L"Stop"};
    Layout layouts[2];
    const DPI_AWARENESS_CONTEXT contexts[2] = {kUnaware, kPerMonitor};
    for (int pass = 0; pass < 2; ++pass) {
        setContext(contexts[pass]);
        host.call(L"Tessary_ProgressBar", args);
        std::optional<driver::Dialog> window = driver::findModeless();
        ASSERT_TRUE(window.has_value());
        layouts[pass] = layoutOf(*window);
        if (pass == 1) {
            EXPECT_EQ(joined(scaleDifferences(layouts[0], layouts[1], *window)), "");
            EXPECT_EQ(joined(clippedCaptions(*window, layouts[1])), "");
            EXPECT_EQ(joined(outsideClient(*window, layouts[1])), "");
        }
        show(L"Tessary_Dialog", {L"", L"T", L"M", L"OK"}, [](driver::Dialog &d) { PostMessageW(d.hwnd(), WM_CLOSE, 0, 0); });
    }
}

// Script sizes are 96-dpi units: Tessary_GetPosition reports the size the
// script asked for, and fed back it gives the same window.
TEST_F(AtOneAndAHalf, APositionReadBackOpensTheSameWindow) {
    RECT first{}, second{};
    show(L"Tessary_Dialog", {L"left=100 top=50 width=500", L"T", L"M", L"OK"}, [&](driver::Dialog &d) {
        first = d.windowRect();
        PostMessageW(d.hwnd(), WM_CLOSE, 0, 0);
    });
    const std::wstring position = host.call(L"Tessary_GetPosition", {L""}).text;
    std::vector<std::wstring> parts;
    for (size_t at = 0, bar; at <= position.size(); at = bar + 1) {
        bar = position.find(L'|', at);
        if (bar == std::wstring::npos) bar = position.size();
        parts.push_back(position.substr(at, bar - at));
    }
    ASSERT_EQ(parts.size(), 4u) << e2e::narrow(position);
    EXPECT_EQ(parts[2], L"500");
    EXPECT_EQ(first.left, 100);
    EXPECT_EQ(first.top, 50);
    EXPECT_EQ(first.right - first.left, 750);
    show(L"Tessary_Dialog",
         {L"left=" + parts[0] + L" top=" + parts[1] + L" width=" + parts[2] + L" height=" + parts[3], L"T", L"M", L"OK"},
         [&](driver::Dialog &d) {
        second = d.windowRect();
        PostMessageW(d.hwnd(), WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(EqualRect(&first, &second)) << first.left << "," << first.top << " " << first.right << ","
                                            << first.bottom << " then " << second.left << "," << second.top << " "
                                            << second.right << "," << second.bottom;
}

// A window asked for off the screen comes onto it whole, moved and never
// shrunk; at 150 % it is larger than the numbers the script gave.
TEST_F(AtOneAndAHalf, ADialogAskedForOffTheScreenOpensOnIt) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (const wchar_t *where : {L"left=5000 top=5000", L"left=-3000 top=50"}) {
        SCOPED_TRACE(e2e::narrow(where));
        RECT r{};
        show(L"Tessary_Dialog", {where, L"T", L"M", L"OK"}, [&](driver::Dialog &d) {
            r = d.windowRect();
            PostMessageW(d.hwnd(), WM_CLOSE, 0, 0);
        });
        EXPECT_GE(r.left, work.left);
        EXPECT_GE(r.top, work.top);
        EXPECT_LE(r.right, work.right);
        EXPECT_LE(r.bottom, work.bottom);
        EXPECT_EQ(r.right - r.left, 575); // 383 at 150 %
    }
}

// Wine sends no WM_DPICHANGED; sent here as a system would send it when a
// dialog is dragged onto a screen at 144 dpi, the dialog lays itself out
// again as one opened there.
TEST_F(AtOneAndAHalf, ADialogMovedToAScreenOfAnotherScaleLaysItselfOutAgain) {
    for (const Case &c : {kCases[1], kCases[2]}) {
        SCOPED_TRACE(c.name);
        Layout before, after;
        open(c, kUnaware, [&](driver::Dialog &d) {
            before = layoutOf(d);
            const RECT r = d.windowRect();
            RECT suggested{r.left, r.top, r.left + LONG(std::lround(before.window.cx * 1.5)),
                           r.top + LONG(std::lround(before.window.cy * 1.5))};
            SendMessageW(d.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
            after = layoutOf(d);
            EXPECT_EQ(joined(scaleDifferences(before, after, d)), "");
        });
    }
}

namespace {

std::wstring lines(int count) {
    std::wstring text;
    for (int i = 1; i <= count; ++i) {
        text += (i > 1 ? L"\r" : L"") + std::wstring(L"Line ") + std::to_wstring(i) +
                L" of the import report: a record read and kept.";
    }
    return text;
}

std::wstring paragraph() {
    std::wstring text;
    while (text.size() < 2000) text += L"The import compared every record of the file with the one it had stored. ";
    return text;
}

void stageLongRows(hostcore::PluginHost &host) {
    host.call(L"Tessary_SetLabels",
              {L"Standard|Express|Express overnight delivery|Pick-up|Post office|",
               L"Send the invoice by e-mail|Gift wrap with a card too|Leave at the neighbours door|",
               L"The name of the person who will sign for the delivery at the door", L"Paper"});
    host.call(L"Tessary_SetInputTypes", {L"radio", L"checkbox", L"edit", L"combobox"});
    host.call(L"Tessary_SetDefaultInputs",
              {L"1", L"010", L"Ann",
               L"A recycled paper of grade 80 in the long name its supplier gives it, eighty characters|green|=green"});
}

void stageLongTabRows(hostcore::PluginHost &host) {
    host.call(L"Tessary_SetLabels",
              {L"The name of the person who will sign for the delivery at the door",
               L"Standard|Express|Express overnight delivery|Pick-up|Post office|",
               L"Send the invoice by e-mail|Gift wrap with a card too|Leave at the neighbours door|", L"", L"", L"",
               L"", L"", L"Street"});
    host.call(L"Tessary_SetInputTypes", {L"edit", L"radio", L"checkbox", L"", L"", L"", L"", L"", L"edit"});
    host.call(L"Tessary_SetDefaultInputs", {L"Ann", L"2", L"101", L"", L"", L"", L"", L"", L"Main Street 4"});
}

const std::wstring kLongMarkup =
    L"<title>Order</title><width>300</width><height>160</height>"
    L"<object><type>checkbox</type><name>news</name><text>Send me the newsletter every week by e-mail</text>"
    L"<left>10</left><top>10</top><width>120</width><height>22</height></object>"
    L"<object><type>button</type><name>ok</name><text>OK</text><left>110</left><top>90</top><width>75</width>"
    L"<height>23</height></object>";

const Case kLongCases[] = {
    {"twenty lines", nullptr, L"Tessary_Dialog", {L"", L"Import report", lines(20), L"OK", L"Cancel"}},
    {"a paragraph", nullptr, L"Tessary_Dialog", {L"", L"Import report", paragraph(), L"OK"}},
    {"a paragraph in a size given", nullptr, L"Tessary_Dialog",
     {L"width=400 height=200", L"Import report", paragraph(), L"OK"}},
    {"long form", stageLongRows, L"Tessary_DoDialog", {L"", L"Delivery", paragraph(), L"OK", L"Cancel"}},
    {"long tab", stageLongTabRows, L"Tessary_DoTabDialog",
     {L"", L"Customer", L"Person", lines(4), L"Address", L"Where do they live?", L"", L"", L"OK", L"Cancel"}},
    {"login", nullptr, L"Tessary_DoLogin",
     {L"", L"Sign in", lines(12), L"User name", L"Password", L"ann|bob|", L"ann", L"OK", L"Cancel"}},
    {"big edit box", nullptr, L"Tessary_BigEditBox", {L"", L"Notes", paragraph(), L"Some text", L"OK", L"Cancel"}},
    {"list", nullptr, L"Tessary_DoList",
     {L"", L"2", L"Fruit|Colour", L"50|50", L"LL", L"Fruit", lines(20), L"Apple|green|Pear|yellow|", L"", L"OK",
      L"Cancel"}},
    {"grid", nullptr, L"Tessary_DoListView",
     {L"", L"ECex", L"Name|Fruit|Id|Note", L"30|30|20|", L"x|\rpear|Apple|\r", L"LLR", L"Fruit", paragraph(),
      L"Ann|Pear|1|n1|Bob|kiwi|2|n2", L"OK", L"Cancel"}},
    {"dual list", nullptr, L"Tessary_DoDualListDialog",
     {L"", L"Team", lines(20), L"Everyone", L"Ann|Bob|Cy", L"Chosen", L"", L"OK", L"Cancel"}},
    {"markup", nullptr, L"Tessary_CustomDialog", {kLongMarkup}},
};

// Controls the dialog placed that cover one another; the tabs and their
// pages hold controls by design, and a page's blank text shows nothing.
std::vector<std::string> overlapping(const driver::Dialog &d, const Layout &l) {
    std::vector<std::string> found;
    auto takesPart = [&](const driver::ControlInfo &c) {
        const bool blank = c.hasClass(L"Static") && c.text.find_first_not_of(L' ') == std::wstring::npos;
        return c.visible && placedByDialog(d, c) && !c.hasClass(L"SysTabControl32") && !c.hasClass(L"#32770") &&
               !blank;
    };
    for (size_t i = 0; i < l.controls.size(); ++i) {
        for (size_t j = i + 1; j < l.controls.size(); ++j) {
            const driver::ControlInfo &a = l.controls[i], &b = l.controls[j];
            RECT both{};
            if (takesPart(a) && takesPart(b) && IntersectRect(&both, &a.rect, &b.rect)) {
                found.push_back(describe(a) + " and " + describe(b) + " overlap");
            }
        }
    }
    return found;
}

} // namespace

// Long content at 96 and at 144 dpi: every caption fits its control or ends
// in an ellipsis, nothing overlaps or lies outside, the window lies inside
// the work area, and a message too long for any window scrolls in a field
// that Tab reaches.
TEST_F(AtOneAndAHalf, LongContentFitsItsDialog) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (DPI_AWARENESS_CONTEXT context : {kUnaware, kPerMonitor}) {
        for (const Case &c : kLongCases) {
            SCOPED_TRACE(std::string(c.name) + (context == kUnaware ? " at 96 dpi" : " at 144 dpi"));
            open(c, context, [&](driver::Dialog &d) {
                const Layout l = layoutOf(d);
                EXPECT_EQ(joined(clippedCaptions(d, l)), "");
                EXPECT_EQ(joined(outsideClient(d, l)), "");
                EXPECT_EQ(joined(overlapping(d, l)), "");
                const RECT r = d.windowRect();
                // The big edit box's own size is taller than this screen at 150 %.
                if (std::string(c.name) != "big edit box") {
                    EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
                                r.bottom <= work.bottom)
                        << r.left << "," << r.top << " " << r.right << "," << r.bottom;
                }
                const driver::ControlInfo message = d.control(1);
                if (message.hasClass(L"Edit")) {
                    EXPECT_TRUE((message.style & ES_READONLY) && (message.style & WS_VSCROLL) &&
                                (message.style & WS_TABSTOP));
                    EXPECT_FALSE(message.focused) << "the first field or button takes the focus, not the text";
                }
                if (std::string(c.name) == "a paragraph in a size given") {
                    EXPECT_TRUE(message.hasClass(L"Edit")) << "a message that cannot grow scrolls";
                }
                if (std::string(c.name) == "markup") {
                    driver::ControlInfo box;
                    for (const driver::ControlInfo &c : l.controls) {
                        if (c.hasClass(L"Button") && (c.style & BS_TYPEMASK) == BS_AUTOCHECKBOX) box = c;
                    }
                    ASSERT_FALSE(box.text.empty());
                    EXPECT_EQ(box.text.back(), L'\x2026') << e2e::narrow(box.text);
                    HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
                    bool holdsWhole = false;
                    for (; tip != nullptr; tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
                        wchar_t text[128] = {};
                        TOOLINFOW tool{};
                        tool.cbSize = sizeof tool;
                        tool.hwnd = d.hwnd();
                        tool.uId = UINT_PTR(box.hwnd);
                        tool.lpszText = text;
                        SendMessageW(tip, TTM_GETTEXTW, 128, LPARAM(&tool));
                        holdsWhole = holdsWhole || std::wstring(text) == L"Send me the newsletter every week by e-mail";
                    }
                    EXPECT_TRUE(holdsWhole) << "a tooltip shows the caption whole";
                }
            });
        }
    }
}
