// The control factory, control fonts and value read-back, linked directly
// into this program: every kind of slot becomes its Windows control in a
// real dialog window, and the tests check what a user would see in it and
// what the dialog would report back.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "frame_window.h"
#include "model/datetext.h"
#include "model/dialog_definition.h"
#include "runtime/dual_list.h"
#include "runtime/list_view_win.h"
#include "runtime/module.h"
#include "resources/resource_ids.h"
#include "runtime/activation_win.h"
#include "runtime/control_factory.h"
#include "import_patch.h"
#include "runtime/fonts.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"
#include "runtime/readback.h"
#include "runtime/runner.h"

namespace {

// Text outside every ANSI code page: Latin, Greek, CJK and a surrogate pair.
const wchar_t kWorldText[] = L"Gr\u00FC\u00DFe \u03A9\u03BC\u03AD\u03B3\u03B1 \u65E5\u672C\u8A9E \U0001F600";

// ---- watching the runtime's calls of the system -------------------------
// GetGuiResources answers 0 under Wine, and controls change their own style
// bits once they exist, so this program's own import table entries are
// pointed at recorders. The runtime is linked into this program, so every
// window it creates and every font it makes or deletes passes through them.

typedef HFONT(WINAPI *CreateFontIndirectWFn)(const LOGFONTW *);
typedef BOOL(WINAPI *DeleteObjectFn)(HGDIOBJ);
typedef HWND(WINAPI *CreateWindowExWFn)(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE,
                                        LPVOID);
CreateFontIndirectWFn realCreateFont = nullptr;
DeleteObjectFn realDeleteObject = nullptr;
CreateWindowExWFn realCreateWindow = nullptr;
std::set<HGDIOBJ> liveFonts;
int fontsCreated = 0;
int stockObjectsDeleted = 0;

// One CreateWindowExW call as the runtime made it.
struct Creation {
    std::wstring className;
    bool named;        // a window name was given (even an empty one)
    DWORD exStyle;
    DWORD style;
    RECT place;        // x, y, x + width, y + height
    HWND parent;
    int id;
    HINSTANCE instance;
};
std::vector<Creation> creations;

HFONT WINAPI countingCreateFont(const LOGFONTW *description) {
    HFONT font = realCreateFont(description);
    if (font != nullptr) {
        liveFonts.insert(font);
        ++fontsCreated;
    }
    return font;
}

BOOL WINAPI countingDeleteObject(HGDIOBJ object) {
    if (object == GetStockObject(DEFAULT_GUI_FONT) || object == GetStockObject(SYSTEM_FONT)) ++stockObjectsDeleted;
    liveFonts.erase(object);
    return realDeleteObject(object);
}

HWND WINAPI recordingCreateWindow(DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style, int x, int y, int width,
                                  int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID data) {
    creations.push_back(Creation{IS_INTRESOURCE(className) ? L"#atom" : className, name != nullptr, exStyle, style,
                                 RECT{x, y, x + width, y + height}, parent,
                                 int(reinterpret_cast<INT_PTR>(menu)), instance});
    return realCreateWindow(exStyle, className, name, style, x, y, width, height, parent, menu, instance, data);
}

bool installRecorders() {
    if (realCreateFont == nullptr) {
        realCreateFont = reinterpret_cast<CreateFontIndirectWFn>(
            e2e::patchImport(GetModuleHandleW(nullptr), "gdi32.dll", "CreateFontIndirectW", reinterpret_cast<void *>(countingCreateFont)));
        realDeleteObject = reinterpret_cast<DeleteObjectFn>(
            e2e::patchImport(GetModuleHandleW(nullptr), "gdi32.dll", "DeleteObject", reinterpret_cast<void *>(countingDeleteObject)));
        realCreateWindow = reinterpret_cast<CreateWindowExWFn>(
            e2e::patchImport(GetModuleHandleW(nullptr), "user32.dll", "CreateWindowExW", reinterpret_cast<void *>(recordingCreateWindow)));
    }
    return realCreateFont != nullptr && realDeleteObject != nullptr && realCreateWindow != nullptr;
}

// ---- reading controls --------------------------------------------------

std::wstring textOf(HWND window) {
    std::vector<wchar_t> buffer(size_t(GetWindowTextLengthW(window)) + 2, 0);
    GetWindowTextW(window, buffer.data(), int(buffer.size()));
    return buffer.data();
}

using e2e::wide;

RECT rectIn(HWND window, HWND parent) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// Alignment and title of a list view column.
std::pair<int, std::wstring> columnLook(HWND list, int index) {
    wchar_t title[64] = {0};
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, WPARAM(index), LPARAM(&column));
    return {column.fmt & LVCFMT_JUSTIFYMASK, title};
}

int stateImage(HWND list, int row) {
    return int((SendMessageW(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12);
}

// A check-box list holds no rows of its own: its marks are set where the
// dialog keeps them, as a click or Space sets them.
void setChecked(HWND list, int row, bool checked) {
    setHeldCheck(list, row, checked ? kCheckedImage : kUncheckedImage);
}

LOGFONTW fontOf(HWND control) {
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// A date text in the user's order of day, month and year.
std::wstring dateText(int day, int month, int year) {
    int parts[3][3] = {{month, day, year}, {day, month, year}, {year, month, day}};
    int order = localeDateOrder();
    const int *p = parts[order >= 0 && order <= 2 ? order : 0];
    return std::to_wstring(p[0]) + L"/" + std::to_wstring(p[1]) + L"/" + std::to_wstring(p[2]);
}

// A parent with the record every dialog of the plug-in has, which answers
// its lists' requests for cell texts as they do.
INT_PTR CALLBACK plainDialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) openDialogRecord(window, kPlainDialog);
    if (message == WM_NCDESTROY) closeDialogRecord(window);
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR *>(lParam)->code == UINT(LVN_GETDISPINFOW)) {
        return answerCellText(reinterpret_cast<NMLVDISPINFOW *>(lParam));
    }
    return FALSE;
}

// ---- fixture -----------------------------------------------------------

class RuntimeControls : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setRuntimeModule(GetModuleHandleW(nullptr));
        recordersInstalled = installRecorders();
    }

    void SetUp() override {
        activation_.reset(new ActivationScope);
        e2e::freshFrame(600, 500);
        parent_ = openParent();
        ASSERT_NE(nullptr, parent_);
    }

    void TearDown() override {
        closeParent(parent_);
        activation_.reset();
    }

    static HWND openParent(bool visible = true) {
        HWND window = CreateDialogParamW(static_cast<HINSTANCE>(runtimeModule()), MAKEINTRESOURCEW(IDD_MESSAGE),
                                         nullptr, plainDialogProc, 0);
        if (window != nullptr) {
            SetWindowPos(window, nullptr, 0, 0, 600, 500, SWP_NOZORDER | (visible ? SWP_SHOWWINDOW : 0));
        }
        return window;
    }

    static void closeParent(HWND window) {
        DestroyWindow(window);
    }

    static ControlSpec &slot(int index) { return dialog().controls[index]; }

    // Fills `index` with a kind and text at (10, 10), 200 x 60, resetting
    // whatever the slot held before.
    static ControlSpec &fill(int index, const char *kind, const wchar_t *text = L"") {
        return e2e::placeSlot(index, kind, 10, 10, 200, 60, text);
    }

    HWND create(int index) {
        createControl(parent_, index);
        return windowOf(index);
    }

    // The control the dialog's record holds for slot `index`.
    HWND windowOf(int index) const { return openDialogOf(parent_)->windowOf(index); }

    HWND make(int index, const char *kind, const wchar_t *text) {
        fill(index, kind, text);
        return create(index);
    }

    std::wstring read(int index) { return wide(readControlValue(parent_, index)); }

    driver::Dialog shown() const { return driver::Dialog(parent_); }

    // The cells of columns first..last of every row of list `id`, as "a,b;c,d".
    std::wstring rows(int id, int first, int last) const {
        std::wstring out;
        for (int row = 0; row < shown().listRowCount(id); ++row) {
            if (row > 0) out += L";";
            for (int column = first; column <= last; ++column) {
                out += (column > first ? L"," : L"") + shown().listCell(id, row, column);
            }
        }
        return out;
    }

    std::vector<int> checkedRows(int id) const {
        std::vector<int> checked;
        for (int row = 0; row < shown().listRowCount(id); ++row) {
            if (shown().listRowChecked(id, row)) checked.push_back(row);
        }
        return checked;
    }

    static bool recordersInstalled;
    std::unique_ptr<ActivationScope> activation_;
    HWND parent_ = nullptr;
};

bool RuntimeControls::recordersInstalled = false;

// ---- creation ----------------------------------------------------------

TEST_F(RuntimeControls, EveryKindHasItsClassStylesAndId) {
    struct Case {
        const char *kind;
        DWORD extraStyle;
        int columns;
        const wchar_t *className;
        DWORD exStyle;
        DWORD style;
        int id;
    } cases[] = {
        {"static", SS_CENTER, 0, L"Static", 0, 0x50000081, 40},
        {"button", 0, 0, L"Button", 0, 0x50010000, 40},
        {"editBox", ES_READONLY, 0, L"Edit", WS_EX_CLIENTEDGE, 0x50211944, 40},
        {"edit", ES_RIGHT, 0, L"Edit", WS_EX_CLIENTEDGE, 0x50010182, 40},
        {"password", 0, 0, L"Edit", WS_EX_CLIENTEDGE, 0x500101A0, 40},
        {"combobox", WS_DISABLED, 0, L"ComboBox", 0, 0x50A10343, 4040},
        {"listbox", 0, 0, L"SysListView32", 0, 0x50A14341, 40},
        {"listbox", 0, 2, L"SysListView32", 0, 0x50A10301, 40},
        {"listboxview", 0, 2, L"SysListView32", 0, 0x50A11301, 40}, // LVS_OWNERDATA: it holds no rows
        {"slider", 0, 0, L"msctls_trackbar32", 0, 0x50010005, 40},
        {"date", 0, 0, L"SysDateTimePick32", 0, 0x50810001, 40},
        {"datedd", 0, 0, L"SysDateTimePick32", 0, 0x50810000, 40},
        {"time", 0, 0, L"SysDateTimePick32", WS_EX_RIGHT, 0x50810029, 40},
        {"checkbox", 0, 0, L"Button", 0, 0x50010103, 40},
        {"progressbar", 0, 0, L"msctls_progress32", WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, 0x50000000, 40},
    };
    ASSERT_TRUE(recordersInstalled);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        ControlSpec &s = fill(40, c.kind, L"x");
        s.extraStyle = c.extraStyle;
        setListColumnCount(s, c.columns);
        setListColumnTitles(s, WideText(L"A|B"));
        creations.clear();
        HWND window = create(40);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(window, GetDlgItem(parent_, c.id));
        EXPECT_EQ(0, _wcsicmp(c.className, shown().control(c.id).className.c_str())) << shown().control(c.id).className;
        ASSERT_EQ(1u, creations.size());
        const Creation &made = creations[0];
        EXPECT_EQ(0, _wcsicmp(c.className, made.className.c_str()));
        EXPECT_EQ(c.style, made.style) << std::hex << made.style;
        EXPECT_EQ(c.exStyle, made.exStyle) << std::hex << made.exStyle;
        EXPECT_EQ(c.id, made.id);
        EXPECT_EQ(parent_, made.parent);
        EXPECT_EQ(GetModuleHandleW(nullptr), made.instance);
        EXPECT_EQ(std::strcmp(c.kind, "progressbar") != 0, made.named);
        EXPECT_EQ((std::vector<LONG>{10, 10, 210, 70}),
                  (std::vector<LONG>{made.place.left, made.place.top, made.place.right, made.place.bottom}));
        EXPECT_EQ(10, shown().control(c.id).rect.left);
        EXPECT_EQ(10, shown().control(c.id).rect.top);
        DestroyWindow(window);
    }
}

TEST_F(RuntimeControls, SlotsWithoutAKnownKindGetNoWindow) {
    for (const char *kind : {"", "Static", "datetime", "listBox", "tabControl"}) {
        SCOPED_TRACE(kind);
        fill(41, kind, L"text");
        EXPECT_EQ(nullptr, create(41));
        EXPECT_EQ(nullptr, GetDlgItem(parent_, 41));
    }
}

TEST_F(RuntimeControls, DefaultButtonIsMadeInItsPlaceAndSelectionButtonsStartDisabled) {
    dialog().defaultButton = 4;
    fill(4, "button", L"OK");
    HWND made = create(4);
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(made, GetDlgItem(parent_, 4));
    EXPECT_EQ(L"OK", textOf(made));

    ControlSpec &other = fill(5, "button", L"Next");
    other.requiresSelection = 1;
    HWND button = create(5);
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(L"Next", textOf(button));
    EXPECT_EQ(1, slot(5).disabled);
    fill(6, "button", L"Plain");
    EXPECT_NE(nullptr, create(6));
    EXPECT_EQ(0, slot(6).disabled);
}

TEST_F(RuntimeControls, ComboBoxItemsAndSelection) {
    struct Case {
        const wchar_t *text;
        std::vector<std::wstring> items;
        int selected;
        std::wstring shown;
    } cases[] = {
        {L"a|b|c|=b", {L"a", L"b", L"c"}, 1, L"b"},
        {L"c|a|b|", {L"c", L"a", L"b"}, -1, L""},           // given order, not sorted
        {L"=b", {}, -1, L""},                                // text starting with '='
        {L"a|b", {L"a", L"b"}, -1, L""},                     // last item without its '|'
        {L"x|y=y", {L"x", L"y"}, 1, L"y"},
        {L"apple|Banana|=ban", {L"apple", L"Banana"}, 1, L"Banana"},
        {L"x|y|=", {L"x", L"y"}, -1, L""},                   // '=' with nothing after it
        {L"a||b|=b", {L"a", L"", L"b"}, 2, L"b"},
        {L"", {}, -1, L""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << std::string(c.text, c.text + wcslen(c.text)));
        HWND combo = make(42, "combobox", c.text);
        ASSERT_NE(nullptr, combo);
        EXPECT_EQ(c.items, shown().comboItems(4042));
        EXPECT_EQ(c.selected, shown().comboSelection(4042));
        EXPECT_EQ(c.shown, read(42));
        DestroyWindow(combo);
    }
    std::wstring world = std::wstring(kWorldText) + L"|\u65E5|=\u65E5";
    make(42, "combobox", world.c_str());
    EXPECT_EQ((std::vector<std::wstring>{kWorldText, L"\u65E5"}), shown().comboItems(4042));
    EXPECT_EQ(L"\u65E5", read(42));
}

TEST_F(RuntimeControls, CheckBoxListColumnsRowsAndPreselection) {
    struct Case {
        const char *what;
        int width;
        int columns;
        const wchar_t *titles;
        const char *widths;
        const char *align;
        const wchar_t *text;
        const wchar_t *selected;
        const wchar_t *hidden;
        int multiple;
        std::vector<int> columnWidths;
        std::vector<int> formats; // data columns
        std::wstring rows;
        std::vector<int> checked;
        int chosen; // param 1 afterwards
    } cases[] = {
        // 228 pixels less a border pixel on each side and the check-box
        // column leave the data columns 201; every list is tall enough for
        // its rows, so no scroll bar takes its share.
        {"no titles: one column, every cell a row", 228, 3, L"", "", "", L"a|b|c", L"", L"", 0,
         {25, 201}, {LVCFMT_LEFT}, L"a;b;c", {}, -1},
        {"percent widths with fractions, alignment", 228, 3, L"A|B|C", "25|50.5|", "RCx", L"1|2|3|4|5", L"", L"", 0,
         {25, 50, 101, 49}, {LVCFMT_RIGHT, LVCFMT_CENTER, LVCFMT_LEFT}, L"1,2,3;4,5,", {}, -1},
        {"short alignment text", 228, 2, L"A|B", "5|10", "C", L"", L"", L"", 0,
         {25, 10, 20}, {LVCFMT_CENTER, LVCFMT_LEFT}, L"", {}, -1},
        {"single selection stops at the first match", 228, 1, L"A", "", "", L"p|q|r|s|q|t", L"q|s", L"", 0,
         {25, 201}, {LVCFMT_LEFT}, L"p;q;r;s;q;t", {1}, 1},
        {"multiple selection checks every match", 228, 1, L"A", "", "", L"p|q|r|s|q|t", L"q|s|", L"", 1,
         {25, 201}, {LVCFMT_LEFT}, L"p;q;r;s;q;t", {1, 3, 4}, -1},
        {"keys from the hidden column", 228, 2, L"A|B", "", "", L"a|1|b|2|c|3", L"k3|k1", L"k1|k2|k3", 1,
         {25, 100, 100}, {LVCFMT_LEFT, LVCFMT_LEFT}, L"a,1;b,2;c,3", {0, 2}, -1},
        {"case matters", 228, 1, L"A", "", "", L"apple|Apple", L"Apple", L"", 0,
         {25, 201}, {LVCFMT_LEFT}, L"apple;Apple", {1}, 1},
        {"titles without columns: no rows", 228, 0, L"A|B|C", "", "", L"a|b|c", L"a", L"", 0,
         {25}, {}, L"", {}, -1},
        {"more columns than titles", 228, 4, L"A|B", "", "", L"a|b|c|d|e", L"", L"", 0,
         {25, 50, 50, 50, 50}, {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT}, L"a,b,c,d;e,,,", {}, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ControlSpec &s = fill(36, "listbox", c.text);
        s.width = c.width;
        s.height = 200;
        setListHasCheckBoxes(s, 1);
        setListMultiple(s, uint8_t(c.multiple));
        setListChosenRow(s, -1);
        setListColumnCount(s, c.columns);
        setListColumnTitles(s, WideText(c.titles));
        setListPreselected(s, WideText(c.selected));
        setListHiddenKeys(s, WideText(c.hidden));
        setListColumnWidths(s, NarrowText(c.widths));
        setListAlignment(s, NarrowText(c.align));
        HWND list = create(36);
        ASSERT_NE(nullptr, list);
        EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);
        EXPECT_EQ(c.columnWidths, shown().listColumnWidths(36));
        for (size_t k = 0; k < c.formats.size(); ++k) EXPECT_EQ(c.formats[k], columnLook(list, int(k) + 1).first) << k;
        EXPECT_EQ(c.rows, rows(36, 1, int(c.columnWidths.size()) - 1));
        EXPECT_EQ(c.checked, checkedRows(36));
        for (int row = 0; row < shown().listRowCount(36); ++row) {
            int image = stateImage(list, row);
            EXPECT_TRUE(image == 1 || image == 2) << "row " << row << " image " << image;
        }
        EXPECT_EQ(c.chosen, listChosenRow(slot(36)));
        DestroyWindow(list);
    }
    ControlSpec &titled = fill(36, "listbox", L"");
    setListHasCheckBoxes(titled, 1);
    setListColumnCount(titled, 2);
    setListColumnTitles(titled, WideText(L"\u65E5\u672C|Name"));
    HWND list = create(36);
    EXPECT_EQ(L"\u65E5\u672C", columnLook(list, 1).second);
    EXPECT_EQ(L"Name", columnLook(list, 2).second);
}

TEST_F(RuntimeControls, PlainListAndTableRows) {
    struct Case {
        const char *kind;
        const wchar_t *text;
        int columns;
        std::wstring rows;        // column 0 of a plain list, data columns of a table
        std::wstring readBack;
    } cases[] = {
        {"listbox", L"a|b", 0, L"a;b", L"a|b|"},
        {"listbox", L"a|b|", 0, L"a;b", L"a|b|"},
        {"listbox", L"a||b", 0, L"a;;b", L"a||b|"},
        {"listbox", L"", 0, L"", L""},
        {"listboxview", L"a|b|c|d", 2, L"a,b;c,d", L"a|b|\rc|d|"},
        {"listboxview", L"a|b|c|d|e|f|g", 3, L"a,b,c;d,e,f;g,,", L"a|b|c|\rd|e|f|\rg|||"},
        {"listboxview", L"", 2, L"", L""},
        {"listboxview", L"a|b", 0, L"", L""},
        {"listboxview", kWorldText, 1, kWorldText, std::wstring(kWorldText) + L"|"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.columns);
        ControlSpec &s = fill(37, c.kind, c.text);
        setListColumnCount(s, c.columns);
        setListColumnTitles(s, WideText(L"A|B|C"));
        HWND list = create(37);
        ASSERT_NE(nullptr, list);
        bool table = std::strcmp(c.kind, "listboxview") == 0;
        EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
        EXPECT_EQ(c.rows, table ? rows(37, 1, c.columns) : rows(37, 0, 0));
        std::vector<int> widths = shown().listColumnWidths(37);
        ASSERT_FALSE(widths.empty());
        // A plain list's one column fills what lies inside the list.
        RECT client{};
        GetClientRect(list, &client);
        EXPECT_EQ(table ? 0 : client.right, widths[0]);
        EXPECT_EQ(table ? size_t(c.columns) + 1 : 1u, widths.size());
        for (int row = 0; row < shown().listRowCount(37); ++row) EXPECT_EQ(0, stateImage(list, row));
        EXPECT_EQ(c.readBack, read(37));
        DestroyWindow(list);
    }
}

TEST_F(RuntimeControls, SliderDateAndTimeStartFromTheirSlots) {
    ControlSpec &slider = fill(43, "slider");
    setSliderMaximum(slider, 200);
    setSliderPosition(slider, 50);
    HWND bar = create(43);
    EXPECT_EQ(0, SendMessageW(bar, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(200, SendMessageW(bar, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(50, SendMessageW(bar, TBM_GETPOS, 0, 0));
    EXPECT_EQ(L"50", read(43));
    SendMessageW(bar, TBM_SETPOS, TRUE, 120);
    EXPECT_EQ(L"120", read(43));
    DestroyWindow(bar);

    // Scales past 16 bits: an untouched slider reads back its position, and
    // the widest range a script can ask for neither faults nor hangs the
    // track bar while it is made and painted.
    struct Scale {
        int32_t maximum, position;
        long rangeMin, rangeMax;
        const wchar_t *read;
    } scales[] = {
        {40000, 20000, 0, 40000, L"20000"},
        {100000, 50000, 0, 100000, L"50000"},
        {70000, 70000, 0, 70000, L"70000"},
        {2147483647, 5, 0, 100000, L"5"},
        {2147483647, -2147483647 - 1, 0, 100000, L"0"},
        {2147483647, 2000000000, 1999950000, 2000050000, L"2000000000"},
        {-5, 3, 0, 0, L"0"},
    };
    for (const Scale &c : scales) {
        SCOPED_TRACE(testing::Message() << c.maximum << "|" << c.position);
        ControlSpec &big = fill(43, "slider");
        setSliderMaximum(big, c.maximum);
        setSliderPosition(big, c.position);
        HWND track = create(43);
        ASSERT_NE(nullptr, track);
        UpdateWindow(track);
        EXPECT_EQ(c.rangeMin, long(SendMessageW(track, TBM_GETRANGEMIN, 0, 0)));
        EXPECT_EQ(c.rangeMax, long(SendMessageW(track, TBM_GETRANGEMAX, 0, 0)));
        EXPECT_EQ(c.read, read(43));
        DestroyWindow(track);
    }

    SYSTEMTIME today;
    GetLocalTime(&today);
    struct DateCase {
        const char *kind;
        std::wstring text;
        int year, month, day; // 0: today
    } dates[] = {
        {"date", dateText(24, 12, 2024), 2024, 12, 24},
        {"datedd", dateText(1, 2, 2023), 2023, 2, 1},
        {"date", dateText(24, 13, 2024), 0, 0, 0}, // month 13: refused
        {"datedd", L"", 0, 0, 0},
    };
    for (const DateCase &c : dates) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << std::string(c.text.begin(), c.text.end()));
        HWND picker = make(44, c.kind, c.text.c_str());
        ASSERT_TRUE(shown().dateTime(44).has_value());
        SYSTEMTIME value = *shown().dateTime(44);
        EXPECT_EQ(c.year ? c.year : today.wYear, value.wYear);
        EXPECT_EQ(c.month ? c.month : today.wMonth, value.wMonth);
        EXPECT_EQ(c.day ? c.day : today.wDay, value.wDay);
        wchar_t shown[64] = {0};
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &value, nullptr, shown, 64);
        EXPECT_EQ(shown, read(44));
        DestroyWindow(picker);
    }

    struct TimeCase {
        const wchar_t *text;
        int hour, minute;
    } times[] = {{L"1:30 PM", 13, 30}, {L"12:30 AM", 0, 30}, {L"12:30 PM", 12, 30}, {L"14:45", 14, 45}, {L"1:30 pm", 1, 30}};
    for (const TimeCase &c : times) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + wcslen(c.text)));
        HWND picker = make(45, "time", c.text);
        ASSERT_TRUE(shown().dateTime(45).has_value());
        SYSTEMTIME value = *shown().dateTime(45);
        EXPECT_EQ(c.hour, value.wHour);
        EXPECT_EQ(c.minute, value.wMinute);
        wchar_t shown[64] = {0};
        GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &value, L"h:mm tt", shown, 64);
        EXPECT_EQ(shown, read(45));
        DestroyWindow(picker);
    }
}

TEST_F(RuntimeControls, RadioGroupsLayOutTheirButtonsInRows) {
    struct Case {
        const wchar_t *captions;
        int perRow;
        int checked;
        std::vector<POINT> cells; // (column, row) of each button
        std::wstring readBack;
    } cases[] = {
        {L"a|b|c|d|e", 2, 3, {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}}, L"3"},
        {L"a|b|c", 0, 0, {{0, 0}, {0, 1}, {0, 2}}, L""},   // 0 per row counts as 1
        {L"a|b|c|", 3, 1, {{0, 0}, {1, 0}, {2, 0}}, L"1"}, // final '|' adds no button
        {L"only", -4, 1, {{0, 0}}, L"1"},
        {L"", 2, 1, {}, L""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.captions, c.captions + wcslen(c.captions)) << " per row " << c.perRow);
        ControlSpec &s = fill(46, "radio", c.captions);
        s.width = 80;
        s.height = 20;
        setRadioColumns(s, c.perRow);
        setRadioChecked(s, c.checked);
        creations.clear();
        HWND last = create(46);
        ASSERT_EQ(c.cells.size(), creations.size());
        for (size_t k = 0; k < c.cells.size(); ++k) {
            HWND button = GetDlgItem(parent_, 4600 + 1 + int(k));
            ASSERT_NE(nullptr, button) << "button " << k;
            RECT r = shown().control(4600 + 1 + int(k)).rect;
            EXPECT_EQ(10 + 80 * c.cells[k].x, r.left) << "button " << k;
            EXPECT_EQ(10 + 20 * c.cells[k].y, r.top) << "button " << k;
            EXPECT_EQ(80, r.right - r.left);
            // The first button begins the group; Tab stops at the checked
            // one, or at the first when none is.
            const size_t stop = c.checked >= 1 && size_t(c.checked) <= c.cells.size() ? size_t(c.checked - 1) : 0;
            EXPECT_EQ(0x50000109u | (k == 0 ? WS_GROUP : 0u) | (k == stop ? WS_TABSTOP : 0u), creations[k].style)
                << "button " << k;
            EXPECT_EQ(int(k) + 1 == c.checked ? BST_CHECKED : BST_UNCHECKED, SendMessageW(button, BM_GETCHECK, 0, 0));
        }
        EXPECT_EQ(nullptr, GetDlgItem(parent_, 4600 + 1 + int(c.cells.size())));
        EXPECT_EQ(c.cells.empty() ? nullptr : GetDlgItem(parent_, 4600 + int(c.cells.size())), last);
        EXPECT_EQ(c.readBack, read(46));
        for (size_t k = 0; k < c.cells.size(); ++k) DestroyWindow(GetDlgItem(parent_, 4600 + 1 + int(k)));
    }
    // A group with nothing checked does not read its neighbour's buttons.
    fill(47, "radio", L"a|b");
    ControlSpec &next = fill(48, "radio", L"c|d");
    next.y = 100;
    setRadioChecked(next, 2);
    create(47);
    create(48);
    EXPECT_EQ(L"", read(47));
    EXPECT_EQ(L"2", read(48));
    SendMessageW(GetDlgItem(parent_, 4701), BM_CLICK, 0, 0);
    EXPECT_EQ(L"1", read(47));
    EXPECT_EQ(kWorldText, textOf(make(49, "radio", kWorldText)));
}

TEST_F(RuntimeControls, TabControlGetsOnePageperTabWithItsControls) {
    DialogDefinition &d = dialog();
    d.width = 400;
    struct Tab {
        int slot;
        const wchar_t *title;
        int position;
    } tabs[] = {{60, L"First", 0}, {61, kWorldText, 1}};
    for (const Tab &t : tabs) {
        ControlSpec &s = fill(t.slot, "tabcontrol");
        setTabTitle(s, WideText(t.title));
        setTabPosition(s, t.position);
        s.x = 5;
        s.y = 25;
        s.width = 300;
        s.height = 200;
    }
    fill(62, "edit", L"on the first page").ownerIndex = 60;
    fill(63, "checkbox", L"on the second page").ownerIndex = 61;
    fill(64, "tabcontrol").ownerIndex = 60; // never made inside a page
    fill(65, "static", L"in the dialog");

    creations.clear();
    HWND firstPage = create(60);
    HWND secondPage = create(61);
    ASSERT_FALSE(creations.empty());
    EXPECT_EQ(0, _wcsicmp(L"SysTabControl32", creations[0].className.c_str())) << "made with the first tab, once";
    EXPECT_EQ(0x54010000u, creations[0].style);
    EXPECT_EQ(kTabControlId, creations[0].id);
    HWND tabControl = GetDlgItem(parent_, kTabControlId);
    ASSERT_NE(nullptr, tabControl);
    EXPECT_EQ(tabControl, openDialogOf(parent_)->tabs);
    driver::ControlInfo strip = shown().control(kTabControlId);
    EXPECT_EQ(0, _wcsicmp(L"SysTabControl32", strip.className.c_str()));
    EXPECT_EQ((std::vector<LONG>{10, 10, 372, 215}),
              (std::vector<LONG>{strip.rect.left, strip.rect.top, strip.width(), strip.height()}));
    EXPECT_EQ((std::vector<std::wstring>{L"First", kWorldText}), shown().tabTitles(kTabControlId));

    // The pages are control containers beside the tab control and after it,
    // which leaves their area to them: a click there reaches the page.
    EXPECT_EQ(firstPage, GetWindow(tabControl, GW_HWNDNEXT));
    EXPECT_EQ(secondPage, GetWindow(firstPage, GW_HWNDNEXT));
    HRGN kept = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(tabControl, kept));
    EXPECT_TRUE(PtInRegion(kept, 20, 5)) << "the tabs";
    EXPECT_TRUE(PtInRegion(kept, 1, 100)) << "the border";
    EXPECT_FALSE(PtInRegion(kept, 100, 100)) << "the page";
    DeleteObject(kept);
    for (HWND page : {firstPage, secondPage}) {
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(parent_, GetParent(page));
        EXPECT_TRUE(GetWindowLongW(page, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
        EXPECT_FALSE(IsWindowVisible(page));
        EXPECT_NE(nullptr, GetDlgItem(page, IDC_TAB_PAGE_STATIC));
        RECT p = rectIn(page, tabControl);
        EXPECT_EQ((std::vector<LONG>{5, 25, 300, 185}), (std::vector<LONG>{p.left, p.top, p.right - p.left, p.bottom - p.top}));
    }
    EXPECT_EQ(firstPage, GetParent(windowOf(62)));
    EXPECT_EQ(secondPage, GetParent(windowOf(63)));
    EXPECT_EQ(nullptr, GetDlgItem(firstPage, 63));
    EXPECT_EQ(nullptr, windowOf(64));
    EXPECT_EQ(nullptr, windowOf(65)) << "not owned by a page, so left to the dialog";
    EXPECT_EQ(L"on the first page", wide(readControlValue(firstPage, 62)));
    EXPECT_EQ(L"", wide(readControlValue(parent_, 62)));
    EXPECT_EQ(L"0", wide(readControlValue(secondPage, 63)));
}

TEST_F(RuntimeControls, TextsGoToWindowsAndComeBackWhole) {
    const std::wstring startsWithEquals = L"=1+1";
    struct Case {
        const char *kind;
        std::wstring text;
        std::wstring readBack;
        std::wstring shown = L""; // empty: the text itself
    } cases[] = {
        {"static", kWorldText, kWorldText},
        {"edit", kWorldText, kWorldText},
        {"edit", startsWithEquals, startsWithEquals},
        {"password", kWorldText, kWorldText},
        // A host line break shows as a Windows one; what was shown comes back
        // as it was given, a CR LF of its own included.
        {"editBox", L"one\rtwo\r\nthree", L"one\rtwo\r\nthree", L"one\r\ntwo\r\n\nthree"},
        {"button", kWorldText, kWorldText},
        {"checkbox", kWorldText, L"0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        HWND window = make(50, c.kind, c.text.c_str());
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(c.shown.empty() ? c.text : c.shown, textOf(window));
        if (std::strcmp(c.kind, "button") != 0) {
            EXPECT_EQ(c.readBack, read(50));
        }
        DestroyWindow(window);
    }
    ControlSpec &box = fill(51, "checkbox", L"checked");
    setCheckBoxChecked(box, 1);
    HWND check = create(51);
    EXPECT_EQ(BST_CHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));
    EXPECT_EQ(L"1", read(51));
    SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(L"0", read(51));

    HWND progress = make(52, "progressbar", L"");
    EXPECT_EQ(0, SendMessageW(progress, PBM_GETRANGE, TRUE, 0));
    EXPECT_EQ(100, SendMessageW(progress, PBM_GETRANGE, FALSE, 0));
    EXPECT_EQ(L"", read(53)) << "a slot without a control reads empty";
}

// ---- read-back ---------------------------------------------------------

TEST_F(RuntimeControls, LinksAppendOrReplaceTheTargetsText) {
    struct Case {
        const char *what;
        const char *kind;
        const wchar_t *value;
        int link;
        int mode;
        std::wstring own;
        std::wstring target;
    } cases[] = {
        {"append after the separator", "edit", L"b", 70, 1, L"", L"a;b"},
        {"replace", "edit", L"b", 70, 2, L"", L"b"},
        {"link to itself", "edit", L"b", 71, 1, L"b", L"a"},
        {"empty value stays home", "edit", L"", 70, 1, L"", L"a"},
        {"an unchecked box passes on 0", "checkbox", L"", 70, 1, L"", L"a;0"},
        {"unknown mode drops the value", "edit", L"b", 70, 3, L"", L"a"},
        {"no link", "edit", L"b", 0, 1, L"b", L"a"},
        {"a line break passes on as the host's", "static", L"x\ry", 70, 2, L"", L"x\ry"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ControlSpec &target = fill(70, "static", L"a");
        target.linkSeparator = WideText(L";");
        ControlSpec &s = fill(71, c.kind, c.value);
        s.linkIndex = c.link;
        s.linkMode = c.mode;
        HWND window = create(71);
        EXPECT_EQ(c.own, read(71));
        EXPECT_EQ(c.target, wide(slot(70).text));
        DestroyWindow(window);
    }
    // The dialog procedure stores each value before the next slot reads, so
    // a time linked to itself and a later date appending to it join there.
    ControlSpec &time = fill(72, "edit", L"9:30 AM");
    time.linkIndex = 72;
    time.linkSeparator = WideText(L"|");
    ControlSpec &date = fill(96, "edit", L"24/12/2024");
    date.linkIndex = 72;
    date.linkMode = 1;
    create(72);
    create(96);
    for (int i : {72, 96}) slot(i).text = readControlValue(parent_, i);
    EXPECT_EQ(L"9:30 AM|24/12/2024", wide(slot(72).text));
    EXPECT_EQ(L"", wide(slot(96).text));
}

TEST_F(RuntimeControls, CheckedRowsReadBackByTheListRules) {
    struct Case {
        const char *what;
        int columns;
        const wchar_t *titles;
        int returnColumn;
        const wchar_t *text;
        const wchar_t *hidden;
        std::vector<int> checked;
        std::wstring value;
    } cases[] = {
        {"one column, two rows", 1, L"", 0, L"a|b|c|d", L"", {1, 3}, L"b|d|"},
        {"one column, one row", 1, L"", 0, L"a|b|c|d", L"", {3}, L"d"},
        {"nothing checked", 1, L"", 0, L"a|b|c|d", L"", {}, L""},
        {"return column", 3, L"A|B|C", 2, L"1|2|3|4|5|6|7|8|9", L"", {0, 2}, L"2|8"},
        {"whole row skips empty cells", 3, L"A|B|C", 0, L"x||z", L"", {0}, L"x|z|"},
        {"whole rows", 3, L"A|B|C", 0, L"1|2|3|4|5|6", L"", {0, 1}, L"1|2|3|\r4|5|6|"},
        {"whole rows, first ends empty", 3, L"A|B|C", 0, L"1|2||4|5|6", L"", {0, 1}, L"1|2|\r4|5|6|"},
        {"hidden keys", 3, L"A|B|C", 2, L"1|2|3|4|5|6", L"k1|k2", {0, 1}, L"k1|k2|"},
        {"hidden keys, return column unset", 3, L"A|B|C", -1, L"1|2|3|4|5|6", L"k1|k2", {0, 1}, L"k1|k2"},
        {"columns without titles: one cell a row", 2, L"", 0, L"a|b|c|d", L"", {1}, L"b"},
        {"values outside the code page", 1, L"", 0, kWorldText, L"", {0}, kWorldText},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ControlSpec &s = fill(36, "listbox", c.text);
        setListHasCheckBoxes(s, 1);
        setListReturnColumn(s, c.returnColumn);
        setListColumnCount(s, c.columns);
        setListColumnTitles(s, WideText(c.titles));
        setListHiddenKeys(s, WideText(c.hidden));
        HWND list = create(36);
        for (int row : c.checked) setChecked(list, row, true);
        EXPECT_EQ(c.value, read(36));
        DestroyWindow(list);
    }
    // The dual list: the source reads empty, the choice goes to the source's slot.
    openDialogOf(parent_)->hooks = &dualListHooks();
    make(36, "listbox", L"x|y");
    ControlSpec &choice = fill(37, "listbox", L"p|\u65E5");
    choice.linkIndex = 36;
    choice.linkMode = 2;
    create(37);
    EXPECT_EQ(L"", read(36));
    slot(36).text.clear();
    EXPECT_EQ(L"", read(37));
    EXPECT_EQ(L"p|\u65E5|", wide(slot(36).text));
}

TEST_F(RuntimeControls, ReadBackKeepsWindowTextsAndTablesWhole) {
    // A table, like a list, comes back whole: 25 rows of a 9999-unit cell
    // and its '|', CRs between them; its longest cell too.
    // The last cell is one the user edited.
    const size_t tableUnits = 25 * 10000 + 24;
    std::wstring cellText(9999, L'x');
    std::wstring rows;
    for (int row = 0; row < 25; ++row) rows += cellText + L"|";
    ControlSpec &table = fill(38, "listboxview", rows.c_str());
    setListColumnCount(table, 1);
    HWND list = create(38);
    std::wstring longCell(30000, L'z');
    setHeldCell(list, 24, 1, longCell.c_str());
    std::wstring value = read(38);
    EXPECT_EQ(tableUnits - 9999 + 30000, value.size());
    EXPECT_EQ(cellText + L"|\r", value.substr(0, 10001));
    EXPECT_EQ(longCell + L"|", value.substr(value.size() - 30001));

    // So does an edit far past the former 200,000-unit cut.
    std::wstring huge(250000, L'y');
    huge[1234] = L'\u65E5';
    HWND edit = make(39, "edit", L"");
    SendMessageW(edit, WM_SETTEXT, 0, LPARAM(huge.c_str()));
    EXPECT_TRUE(huge == read(39)) << "the edit's text did not come back whole";
}

// ---- fonts -------------------------------------------------------------

TEST_F(RuntimeControls, FontsFollowTheSlotsRequest) {
    LOGFONTW base = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof base, &base);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    struct Case {
        const char *face;
        const char *style;
        int points;
        const wchar_t *expectedFace; // null: the default face
        LONG height;                 // 0: the default height
        LONG weight;                 // 0: the default weight
        BYTE italic, underline, strikeOut;
    } cases[] = {
        {"", "", 0, nullptr, 0, 0, base.lfItalic, base.lfUnderline, base.lfStrikeOut},
        {"Arial", "Bold Italic", 12, L"Arial", -MulDiv(12, dpi, 72), FW_BOLD, 1, 0, 0},
        {"", "bold", 0, nullptr, 0, FW_NORMAL, 0, 0, 0},
        {"", "UnderlineStrikeOut", 9, nullptr, -MulDiv(9, dpi, 72), FW_NORMAL, 0, 1, 1},
        {"", "plain", -3, nullptr, 0, FW_NORMAL, 0, 0, 0},
        {"\xE5\xAE\x8B\xE4\xBD\x93", "Bold", 0, L"\u5B8B\u4F53", 0, FW_BOLD, 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.face << " / " << c.style << " / " << c.points);
        ControlSpec &s = fill(54, "static", L"Text");
        setFont(s.font, c.face, c.style, c.points);
        LOGFONTW font = fontOf(create(54));
        EXPECT_STREQ(c.expectedFace ? c.expectedFace : base.lfFaceName, font.lfFaceName);
        EXPECT_EQ(c.height ? c.height : base.lfHeight, font.lfHeight);
        EXPECT_EQ(c.weight ? c.weight : base.lfWeight, font.lfWeight);
        EXPECT_EQ(c.italic, font.lfItalic);
        EXPECT_EQ(c.underline, font.lfUnderline);
        EXPECT_EQ(c.strikeOut, font.lfStrikeOut);
        DestroyWindow(windowOf(54));
    }
    if (dpi == 96) {
        EXPECT_EQ(-16, cases[1].height) << "12 points are 16 pixels at 96 dpi";
    }

    // Lists get the font; every radio button gets it.
    ControlSpec &radio = fill(55, "radio", L"a|b|c");
    setFont(radio.font, "", "Italic", 0);
    create(55);
    for (int id : {5501, 5502, 5503}) EXPECT_EQ(1, fontOf(GetDlgItem(parent_, id)).lfItalic) << id;
    ControlSpec &list = fill(56, "listboxview", L"a");
    setListColumnCount(list, 1);
    setFont(list.font, "", "Bold", 0);
    EXPECT_EQ(FW_BOLD, fontOf(create(56)).lfWeight);
}

TEST_F(RuntimeControls, FontsAreDeletedWhenTheirDialogCloses) {
    ASSERT_TRUE(recordersInstalled) << "the program imports the font functions from gdi32";
    auto oneDialog = [this](bool inspect) {
        HWND window = openParent(false);
        const struct {
            int slot;
            const char *kind;
            const wchar_t *text;
        } controls[] = {{57, "static", L"Label"}, {58, "edit", L"x"}, {59, "radio", L"a|b|c"},
                        {60, "listbox", L"a|b"}, {61, "combobox", L"a|b|=a"}, {62, "date", L""}};
        for (const auto &c : controls) {
            setFont(fill(c.slot, c.kind, c.text).font, "Arial", "Bold", 11);
            createControl(window, c.slot);
        }
        // A control given a font again (as the progress window's texts are)
        // keeps only the newer one.
        applyControlFont(openDialogOf(window)->windowOf(57), slot(57).font);
        if (inspect) {
            EXPECT_EQ(8u, liveFonts.size()) << "one font per control, three radio buttons";
            EXPECT_EQ(9, fontsCreated);
        }
        closeParent(window);
    };
    liveFonts.clear();
    fontsCreated = 0;
    stockObjectsDeleted = 0;
    oneDialog(true);
    const size_t afterFirst = liveFonts.size();
    EXPECT_EQ(0u, afterFirst);
    for (int i = 1; i < 200; ++i) oneDialog(false);
    EXPECT_LE(liveFonts.size(), afterFirst);
    EXPECT_EQ(1800, fontsCreated);
    EXPECT_EQ(0, stockObjectsDeleted);

    // A dialog that is still open keeps its fonts when another one closes.
    HWND open = openParent();
    setFont(fill(57, "static", L"stays").font, "Arial", "Italic", 10);
    createControl(open, 57);
    HWND other = openParent();
    closeParent(other);
    EXPECT_EQ(1, fontOf(openDialogOf(open)->windowOf(57)).lfItalic);
    EXPECT_EQ(1u, liveFonts.size());
    closeParent(open);
    EXPECT_EQ(0u, liveFonts.size());
}

// ---- a whole dialog ----------------------------------------------------

// Through the dialog runner and its procedure: the dialog shows the
// controls, a click on a button closes it, and every slot's value is back.
TEST_F(RuntimeControls, DialogShowsTheControlsAndReturnsTheirValues) {
    closeParent(parent_);
    parent_ = nullptr;
    DialogDefinition &d = dialog();
    d.title = WideText(L"Runtime controls");
    d.left = 40;
    d.top = 40;
    d.width = 520;
    d.height = 420;
    d.controlCount = 110;
    d.defaultButton = 4;
    e2e::placeSlot(4, "button", 420, 350, 75, 23, L"OK").value = WideText(L"1");
    e2e::placeSlot(12, "static", 15, 18, 80, 20, L"Name:");
    e2e::placeSlot(36, "edit", 100, 15, 200, 23, kWorldText);
    e2e::placeSlot(37, "combobox", 100, 45, 200, 120, L"red|green|blue|=green");
    ControlSpec &box = e2e::placeSlot(38, "checkbox", 320, 15, 150, 23, L"Subscribe");
    setCheckBoxChecked(box, 1);
    ControlSpec &radio = e2e::placeSlot(39, "radio", 100, 75, 90, 23, L"Small|Medium|Large");
    setRadioColumns(radio, 3);
    setRadioChecked(radio, 2);
    ControlSpec &slider = e2e::placeSlot(40, "slider", 100, 105, 200, 30);
    setSliderMaximum(slider, 10);
    setSliderPosition(slider, 4);
    e2e::placeSlot(41, "date", 100, 140, 120, 23, dateText(24, 12, 2024).c_str());
    e2e::placeSlot(42, "time", 230, 140, 100, 23, L"1:30 PM");
    ControlSpec &list = e2e::placeSlot(43, "listbox", 100, 170, 300, 100, L"Apple|1|Pear|2|Plum|3");
    setListHasCheckBoxes(list, 1);
    setListMultiple(list, 1);
    setListChosenRow(list, -1);
    setListColumnCount(list, 2);
    setListColumnTitles(list, WideText(L"Fruit|Count"));
    setListPreselected(list, WideText(L"Pear"));
    setListColumnWidths(list, NarrowText("70|30"));
    setListAlignment(list, NarrowText("LR"));
    setFont(e2e::placeSlot(44, "static", 100, 280, 200, 23, L"Bold note").font, "", "Bold", 10);
    e2e::placeSlot(45, "progressbar", 100, 310, 200, 16);

    e2e::runFrame([&](driver::Dialog &shown) {
        EXPECT_EQ(L"Runtime controls", shown.caption());
        EXPECT_EQ((std::vector<std::wstring>{L"red", L"green", L"blue"}), shown.comboItems(4037));
        EXPECT_EQ(1, shown.control(3902).checked);
        EXPECT_TRUE(shown.listRowChecked(43, 1));
        EXPECT_EQ(L"Apple", shown.listCell(43, 0, 1));
        EXPECT_TRUE(shown.savePng(L"runtime_controls.png"));
        shown.clickListCheckbox(43, 2);
        shown.click(3903);
        shown.click(4);
    });
    EXPECT_EQ(4, d.resultIndex);
    EXPECT_EQ(kWorldText, wide(slot(36).text));
    EXPECT_EQ(L"green", wide(slot(37).text));
    EXPECT_EQ(L"1", wide(slot(38).text));
    EXPECT_EQ(L"3", wide(slot(39).text));
    EXPECT_EQ(L"4", wide(slot(40).text));
    SYSTEMTIME when = {2024, 12, 2, 24, 13, 30, 0, 0};
    wchar_t date[64] = {0};
    wchar_t time[64] = {0};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &when, L"h:mm tt", time, 64);
    EXPECT_EQ(date, wide(slot(41).text));
    EXPECT_EQ(time, wide(slot(42).text));
    EXPECT_EQ(L"Pear|2|\rPlum|3|", wide(slot(43).text));
    EXPECT_EQ(L"Bold note", wide(slot(44).text));
}

} // namespace
