// The dialog driver against a dialog of the test's own, built from an
// in-memory template with controls at known pixel positions: what the driver
// reads must be what the dialog holds, and what it does must reach the dialog
// as a user's input does.
#include "driver/dialog_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// ---- the test dialog ----------------------------------------------------

constexpr int kApply = 101;      // default push button; ends the dialog with its id
constexpr int kOther = 102;      // push button; ends the dialog with its id
constexpr int kOff = 103;        // disabled push button
constexpr int kMore = 104;       // opens a nested dialog of the same kind
constexpr int kName = 201;       // edit holding "Ada"
constexpr int kNote = 202;       // empty edit
constexpr int kAgree = 301;      // auto check box
constexpr int kList = 401;       // report list view with check boxes
constexpr int kTabs = 501;       // tab control with two pages
constexpr int kPageOne = 551;    // page dialogs inside the tab control
constexpr int kPageTwo = 552;
constexpr int kPageEdit = 601;   // edit on page one
constexpr int kPageLabel = 602;  // static on page two
constexpr int kCombo = 701;
constexpr int kSlider = 801;
constexpr int kDate = 901;
constexpr int kProgress = 1001;
constexpr INT_PTR kClosedByMessage = 7;  // result when WM_CLOSE ends the dialog
constexpr LPARAM kNested = 1;            // creation parameter of the nested dialog

constexpr int kLeft = 100, kTop = 100;              // screen position, pixels
constexpr int kOuterWidth = 440, kOuterHeight = 380;  // outer size, pixels
constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kEditStyle = WS_TABSTOP | ES_AUTOHSCROLL;

struct Place {
    int id;
    const wchar_t* className;
    const wchar_t* text;  // as created and as read back; null: the control shows a text of its own
    DWORD style;          // WS_CHILD and WS_VISIBLE are added
    DWORD exStyle;
    RECT rect;            // dialog client coordinates, pixels
};

// In creation order, which is also the Tab order.
const Place kPlaces[] = {
    {kName, L"Edit", L"Ada", kEditStyle, WS_EX_CLIENTEDGE, {10, 10, 210, 34}},
    {kNote, L"Edit", L"", kEditStyle, WS_EX_CLIENTEDGE, {10, 40, 210, 64}},
    {kAgree, L"Button", L"I &agree", WS_TABSTOP | BS_AUTOCHECKBOX, 0, {220, 10, 370, 30}},
    {kList, WC_LISTVIEWW, L"", WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, 0, {10, 70, 270, 170}},
    {kTabs, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 0, {10, 180, 270, 280}},
    // The rectangle includes the drop-down list; the closed box is shorter.
    {kCombo, L"ComboBox", nullptr, WS_TABSTOP | CBS_DROPDOWNLIST, 0, {280, 40, 400, 200}},
    {kSlider, TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_AUTOTICKS, 0, {280, 70, 400, 100}},
    {kDate, DATETIMEPICK_CLASSW, nullptr, WS_TABSTOP, 0, {280, 110, 400, 134}},
    {kProgress, PROGRESS_CLASSW, L"", 0, 0, {280, 140, 400, 156}},
    {kMore, L"Button", L"More", WS_TABSTOP, 0, {10, 290, 100, 316}},
    {kOff, L"Button", L"Off", WS_TABSTOP | WS_DISABLED, 0, {110, 290, 200, 316}},
    {kOther, L"Button", L"Other", WS_TABSTOP, 0, {210, 290, 300, 316}},
    {kApply, L"Button", L"&Apply", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {310, 290, 400, 316}},
};

constexpr RECT kPageRect = {4, 24, 254, 96};       // in the tab control's client area
constexpr RECT kPageEditRect = {6, 6, 156, 30};    // in page one
constexpr RECT kPageLabelRect = {6, 6, 156, 26};   // in page two

// What the dialog saw, for the tests to compare with what the driver did.
struct Seen {
    std::vector<int> clicked;       // BN_CLICKED ids, in order
    int listClicks = 0;             // NM_CLICK from the list view
    POINT lastListClick{-1, -1};    // row (x) and column (y) of the last NM_CLICK
    int tabChanges = 0;             // TCN_SELCHANGE from the tab control
    int comboChanges = 0;           // CBN_SELCHANGE from the combo box
    std::vector<SIZE> clientSizes;  // WM_SIZE, in order
    INT_PTR nestedResult = -1;      // what the nested dialog returned
    // Values read when a button ends the dialog, as a dialog reads its results.
    std::wstring note;
    bool agreed = false;
    bool firstRowChecked = false;
    int tab = -1;
    int outerWidth = 0;
};
Seen g_seen;

std::vector<WORD> dialogTemplate(DWORD style, DWORD exStyle, const wchar_t* caption)
{
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD));
    auto* header = reinterpret_cast<DLGTEMPLATE*>(t.data());
    header->style = style | DS_SETFONT;
    header->dwExtendedStyle = exStyle;
    header->cx = 200;  // dialog units; replaced by a pixel size in WM_INITDIALOG
    header->cy = 150;
    t.push_back(0);  // no menu
    t.push_back(0);  // the standard dialog class
    for (const wchar_t* c = caption; *c; ++c) t.push_back(*c);
    t.push_back(0);
    t.push_back(8);  // point size
    for (const wchar_t* c = L"MS Shell Dlg"; *c; ++c) t.push_back(*c);
    t.push_back(0);
    return t;
}

HWND makeControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 const RECT& r, DWORD exStyle = 0)
{
    HWND hwnd = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                nullptr);
    SendMessageW(hwnd, WM_SETFONT, SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
    return hwnd;
}

INT_PTR CALLBACK pageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND makePage(HWND tabs, int id, const wchar_t* className, const wchar_t* text, int childId,
              const RECT& childRect)
{
    static const std::vector<WORD> page =
        dialogTemplate(WS_CHILD | DS_CONTROL, WS_EX_CONTROLPARENT, L"");
    HWND hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                           reinterpret_cast<const DLGTEMPLATE*>(page.data()), tabs, pageProc, 0);
    SetWindowLongPtrW(hwnd, GWLP_ID, id);
    MoveWindow(hwnd, kPageRect.left, kPageRect.top, kPageRect.right - kPageRect.left,
               kPageRect.bottom - kPageRect.top, FALSE);
    makeControl(hwnd, className, text, WS_TABSTOP, childId, childRect);
    return hwnd;
}

void fillControls(HWND dlg)
{
    for (const Place& p : kPlaces) {
        makeControl(dlg, p.className, p.text ? p.text : L"", p.style, p.id, p.rect, p.exStyle);
    }

    HWND list = GetDlgItem(dlg, kList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const wchar_t* titles[] = {L"Name", L"City"};
    const int widths[] = {120, 100};
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = const_cast<wchar_t*>(titles[c]);
        col.cx = widths[c];
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
    }
    const wchar_t* rows[][2] = {{L"Ada", L"London"}, {L"Grace", L"New York"}, {L"Linus", L"Helsinki"}};
    for (int r = 0; r < 3; ++r) {
        LVITEMW it{};
        it.mask = LVIF_TEXT;
        it.iItem = r;
        it.pszText = const_cast<wchar_t*>(rows[r][0]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
        it.iSubItem = 1;
        it.pszText = const_cast<wchar_t*>(rows[r][1]);
        SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&it));
    }
    ListView_SetCheckState(list, 1, TRUE);

    HWND tabs = GetDlgItem(dlg, kTabs);
    const wchar_t* tabTitles[] = {L"One", L"Two"};
    for (int i = 0; i < 2; ++i) {
        TCITEMW it{};
        it.mask = TCIF_TEXT;
        it.pszText = const_cast<wchar_t*>(tabTitles[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&it));
    }
    ShowWindow(makePage(tabs, kPageOne, L"Edit", L"first page", kPageEdit, kPageEditRect), SW_SHOW);
    makePage(tabs, kPageTwo, L"Static", L"second page", kPageLabel, kPageLabelRect);

    HWND combo = GetDlgItem(dlg, kCombo);
    for (const wchar_t* item : {L"red", L"green", L"blue"}) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(GetDlgItem(dlg, kSlider), TBM_SETRANGE, TRUE, MAKELPARAM(0, 20));
    SendMessageW(GetDlgItem(dlg, kSlider), TBM_SETPOS, TRUE, 7);
    SYSTEMTIME leapDay{2024, 2, 4, 29, 12, 0, 0, 0};
    SendMessageW(GetDlgItem(dlg, kDate), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&leapDay));
    SendMessageW(GetDlgItem(dlg, kProgress), PBM_SETRANGE32, 0, 50);
    SendMessageW(GetDlgItem(dlg, kProgress), PBM_SETPOS, 20, 0);
}

void recordResults(HWND dlg)
{
    wchar_t note[256] = {};
    GetDlgItemTextW(dlg, kNote, note, 256);
    g_seen.note = note;
    g_seen.agreed = IsDlgButtonChecked(dlg, kAgree) == BST_CHECKED;
    g_seen.firstRowChecked = ListView_GetCheckState(GetDlgItem(dlg, kList), 0) != 0;
    g_seen.tab = static_cast<int>(SendDlgItemMessageW(dlg, kTabs, TCM_GETCURSEL, 0, 0));
    RECT r{};
    GetWindowRect(dlg, &r);
    g_seen.outerWidth = r.right - r.left;
}

INT_PTR runTestDialog(HWND owner = nullptr, LPARAM param = 0);

INT_PTR CALLBACK testDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        if (lParam == kNested) SetWindowTextW(dlg, L"Nested");
        fillControls(dlg);
        SendMessageW(dlg, DM_SETDEFID, kApply, 0);
        SetWindowPos(dlg, nullptr, kLeft + (lParam == kNested ? 40 : 0), kTop, kOuterWidth, kOuterHeight,
                     SWP_NOZORDER);
        SetFocus(GetDlgItem(dlg, kName));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kCombo && HIWORD(wParam) == CBN_SELCHANGE) ++g_seen.comboChanges;
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        g_seen.clicked.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == kMore) {
            g_seen.nestedResult = runTestDialog(dlg, kNested);
        } else if (LOWORD(wParam) == kApply || LOWORD(wParam) == kOther || LOWORD(wParam) == IDCANCEL) {
            recordResults(dlg);
            EndDialog(dlg, LOWORD(wParam));
        }
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->idFrom == kList && hdr->code == NM_CLICK) {
            ++g_seen.listClicks;
            const NMITEMACTIVATE* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
            g_seen.lastListClick = POINT{click->iItem, click->iSubItem};
        }
        if (hdr->idFrom == kTabs && hdr->code == TCN_SELCHANGE) {
            ++g_seen.tabChanges;
            int current = static_cast<int>(SendMessageW(hdr->hwndFrom, TCM_GETCURSEL, 0, 0));
            ShowWindow(GetDlgItem(hdr->hwndFrom, kPageOne), current == 0 ? SW_SHOW : SW_HIDE);
            ShowWindow(GetDlgItem(hdr->hwndFrom, kPageTwo), current == 1 ? SW_SHOW : SW_HIDE);
        }
        return FALSE;
    }
    case WM_SIZE:
        g_seen.clientSizes.push_back(SIZE{LOWORD(lParam), HIWORD(lParam)});
        return FALSE;
    case WM_CLOSE:
        EndDialog(dlg, kClosedByMessage);
        return TRUE;
    }
    return FALSE;
}

INT_PTR runTestDialog(HWND owner, LPARAM param)
{
    static const std::vector<WORD> tmpl = dialogTemplate(kDialogStyle, 0, L"Driver Test");
    static bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                  ICC_DATE_CLASSES | ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    EXPECT_TRUE(commonControls);
    if (!owner) g_seen = Seen{};
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()),
                                   owner, testDialogProc, param);
}

// A modeless dialog of the same template, shown at once.
HWND showModeless(DWORD exStyle, const wchar_t* caption)
{
    static std::vector<WORD> tmpl;
    tmpl = dialogTemplate(kDialogStyle, exStyle, caption);
    HWND hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()),
                                           nullptr, pageProc, 0);
    SetWindowPos(hwnd, nullptr, 600, 100, 300, 200, SWP_NOZORDER | SWP_SHOWWINDOW);
    return hwnd;
}

std::wstring tempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

RECT rectOf(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

::testing::AssertionResult sameRect(const RECT& expected, const RECT& actual)
{
    if (EqualRect(&expected, &actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected (" << expected.left << "," << expected.top << ")-(" << expected.right << ","
           << expected.bottom << "), got (" << actual.left << "," << actual.top << ")-(" << actual.right << ","
           << actual.bottom << ")";
}

// ---- a form dialog: the controls of a form's input rows, with the styles
// the plug-in gives them

constexpr int kFormSlider = 11;    // range 0..kFormSliderMax
constexpr int kFormDate = 12;      // date picker with up-down arrows
constexpr int kFormDropDate = 13;  // date picker with a drop-down calendar
constexpr int kFormTime = 14;      // 12-hour time picker
constexpr int kFormText = 15;      // multi-line edit that takes Enter
constexpr int kFormSliderMax = 200;
constexpr const wchar_t* kTimeFormat = L"h:mm tt";

const Place kFormPlaces[] = {
    {kFormSlider, TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_AUTOTICKS | TBS_TOP, 0, {10, 10, 290, 40}},
    {kFormDate, DATETIMEPICK_CLASSW, nullptr, WS_BORDER | WS_TABSTOP | DTS_UPDOWN, 0, {10, 50, 96, 73}},
    {kFormDropDate, DATETIMEPICK_CLASSW, nullptr, WS_BORDER | WS_TABSTOP, 0, {106, 50, 192, 73}},
    {kFormTime, DATETIMEPICK_CLASSW, nullptr, WS_BORDER | DTS_TIMEFORMAT | DTS_RIGHTALIGN, WS_EX_RIGHT,
     {202, 50, 288, 73}},
    {kFormText, L"Edit", L"", WS_VSCROLL | WS_TABSTOP | ES_WANTRETURN | ES_NOHIDESEL | ES_AUTOVSCROLL | ES_MULTILINE,
     WS_EX_CLIENTEDGE, {10, 85, 290, 145}},
    {IDOK, L"Button", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {210, 155, 290, 179}},
};

// What the form dialog heard, and the values it read when OK ended it.
struct FormSeen {
    int sliderScrolls = 0;  // WM_HSCROLL from the slider
    int pickerChanges = 0;  // DTN_DATETIMECHANGE from any picker
    int slider = -1;
    std::wstring date, time, text;  // window texts, as a form reads them
};
FormSeen g_form;

std::wstring itemText(HWND dlg, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dlg, id, text, 256);
    return text;
}

INT_PTR CALLBACK formDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        for (const Place& p : kFormPlaces) {
            makeControl(dlg, p.className, p.text ? p.text : L"", p.style, p.id, p.rect, p.exStyle);
        }
        SendDlgItemMessageW(dlg, kFormSlider, TBM_SETRANGE, FALSE, MAKELPARAM(0, kFormSliderMax));
        SendDlgItemMessageW(dlg, kFormSlider, TBM_SETPOS, TRUE, 50);
        SendDlgItemMessageW(dlg, kFormTime, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kTimeFormat));
        SetWindowPos(dlg, nullptr, kLeft, kTop, 320, 230, SWP_NOZORDER);
        return TRUE;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dlg, kFormSlider)) ++g_form.sliderScrolls;
        return FALSE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == DTN_DATETIMECHANGE) ++g_form.pickerChanges;
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            g_form.slider = static_cast<int>(SendDlgItemMessageW(dlg, kFormSlider, TBM_GETPOS, 0, 0));
            g_form.date = itemText(dlg, kFormDate);
            g_form.time = itemText(dlg, kFormTime);
            g_form.text = itemText(dlg, kFormText);
        }
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dlg, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(dlg, kClosedByMessage);
        return TRUE;
    }
    return FALSE;
}

INT_PTR runFormDialog()
{
    static const std::vector<WORD> tmpl = dialogTemplate(kDialogStyle, 0, L"Form Test");
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_DATE_CLASSES};
    EXPECT_TRUE(InitCommonControlsEx(&icc));
    g_form = FormSeen{};
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()),
                                   nullptr, formDialogProc, 0);
}

SYSTEMTIME when(int year, int month, int day, int hour = 0, int minute = 0)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    return t;
}

void setPicker(driver::Dialog& d, int id, SYSTEMTIME t)
{
    SendMessageW(d.control(id).hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}

std::wstring shownDate(const SYSTEMTIME& t, const wchar_t* format)
{
    wchar_t text[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, format ? 0 : DATE_SHORTDATE, &t, format, text, 64);
    return text;
}

std::wstring shownTime(const SYSTEMTIME& t, const wchar_t* format)
{
    wchar_t text[64] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, format, text, 64);
    return text;
}

// ---- a PNG reader independent of the writer -------------------------------

uint32_t bigEndian32(const unsigned char* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Bit by bit, not by table, so that a wrong table in the writer shows.
uint32_t slowCrc32(const unsigned char* p, size_t n)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

struct Png {
    uint32_t width = 0, height = 0;
    std::vector<unsigned char> rgb;  // rows top first, 3 bytes a pixel
    std::string error;               // empty when the file is valid
    const unsigned char* at(uint32_t x, uint32_t y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// Reads an 8-bit RGB PNG whose image data is stored (uncompressed) deflate
// blocks, checking every CRC, the zlib header and the Adler-32 sum.
Png readStoredPng(const std::wstring& path)
{
    Png png;
    std::ifstream in(path.c_str(), std::ios::binary);
    std::vector<unsigned char> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (f.size() < 8 || !std::equal(signature, signature + 8, f.begin())) {
        png.error = "no PNG signature";
        return png;
    }
    std::vector<unsigned char> zlib;
    bool ended = false;
    for (size_t at = 8; at + 12 <= f.size() && !ended;) {
        uint32_t length = bigEndian32(&f[at]);
        if (at + 12 + length > f.size()) break;
        std::string type(f.begin() + at + 4, f.begin() + at + 8);
        if (slowCrc32(&f[at + 4], length + 4) != bigEndian32(&f[at + 8 + length])) {
            png.error = "bad CRC in chunk " + type;
            return png;
        }
        const unsigned char* data = &f[at + 8];
        if (type == "IHDR") {
            png.width = bigEndian32(data);
            png.height = bigEndian32(data + 4);
            if (length != 13 || data[8] != 8 || data[9] != 2 || data[12] != 0) png.error = "not 8-bit RGB";
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (!png.error.empty()) return png;
    if (!ended || zlib.size() < 6) {
        png.error = "no IEND or no image data";
        return png;
    }
    if ((zlib[0] & 0x0F) != 8 || ((zlib[0] << 8) | zlib[1]) % 31 != 0) {
        png.error = "bad zlib header";
        return png;
    }
    std::vector<unsigned char> raw;
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06) != 0) {
            png.error = "not a stored deflate block";
            return png;
        }
        last = zlib[at] & 1;
        uint32_t len = zlib[at + 1] | (zlib[at + 2] << 8);
        uint32_t nlen = zlib[at + 3] | (zlib[at + 4] << 8);
        if ((len ^ 0xFFFF) != nlen || at + 5 + len > zlib.size()) {
            png.error = "bad stored block length";
            return png;
        }
        raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + len);
        at += 5 + len;
    }
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    if (at + 4 != zlib.size() || bigEndian32(&zlib[at]) != ((b << 16) | a)) {
        png.error = "bad Adler-32";
        return png;
    }
    const size_t stride = size_t(png.width) * 3 + 1;
    if (raw.size() != stride * png.height) {
        png.error = "image data of the wrong size";
        return png;
    }
    for (uint32_t y = 0; y < png.height; ++y) {
        if (raw[y * stride] != 0) png.error = "a row with a filter";
        png.rgb.insert(png.rgb.end(), raw.begin() + y * stride + 1, raw.begin() + (y + 1) * stride);
    }
    return png;
}

bool isColor(const unsigned char* px, COLORREF c)
{
    return px[0] == GetRValue(c) && px[1] == GetGValue(c) && px[2] == GetBValue(c);
}

// ---- tests --------------------------------------------------------------

TEST(DialogDriver, ReadsTheWindowAndEveryControl)
{
    driver::Session session([](driver::Dialog& d) {
        EXPECT_EQ(L"Driver Test", d.caption());
        EXPECT_EQ(kDialogStyle, d.style() & kDialogStyle);
        const RECT wr = d.windowRect();
        EXPECT_TRUE(sameRect(rectOf(kLeft, kTop, kLeft + kOuterWidth, kTop + kOuterHeight), wr));
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, d.style(), FALSE, d.exStyle());
        EXPECT_EQ(kOuterWidth - (frame.right - frame.left), d.clientSize().cx);
        EXPECT_EQ(kOuterHeight - (frame.bottom - frame.top), d.clientSize().cy);
        EXPECT_EQ(kApply, d.defaultButtonId());

        // Every placed control: class, style bits, rectangle in client pixels, text, states.
        for (const Place& p : kPlaces) {
            driver::ControlInfo c = d.control(p.id);
            ASSERT_TRUE(c.exists()) << "id " << p.id;
            EXPECT_TRUE(c.hasClass(p.className)) << "id " << p.id << ": " << c.className.c_str();
            EXPECT_EQ(p.style | WS_CHILD | WS_VISIBLE, c.style & (p.style | WS_CHILD | WS_VISIBLE)) << "id " << p.id;
            EXPECT_EQ(p.exStyle, c.exStyle & p.exStyle) << "id " << p.id;
            if (p.id == kCombo) {
                EXPECT_TRUE(sameRect(rectOf(p.rect.left, p.rect.top, p.rect.right, c.rect.bottom), c.rect));
                EXPECT_LT(c.rect.bottom, p.rect.bottom);
            } else {
                EXPECT_TRUE(sameRect(p.rect, c.rect)) << "id " << p.id;
            }
            if (p.text) {
                EXPECT_EQ(p.text, c.text) << "id " << p.id;
            }
            EXPECT_EQ(p.id != kOff, c.enabled) << "id " << p.id;
            EXPECT_TRUE(c.visible) << "id " << p.id;
            EXPECT_EQ(p.id == kName, c.focused) << "id " << p.id;
            EXPECT_EQ(d.hwnd(), c.parent) << "id " << p.id;
        }
        EXPECT_EQ(kName, d.focusedControl().id);
        EXPECT_FALSE(d.control(9999).exists());

        // Controls inside tab pages are found too, placed in the dialog's coordinates.
        const RECT tabs = d.control(kTabs).rect;
        driver::ControlInfo pageEdit = d.control(kPageEdit);
        ASSERT_TRUE(pageEdit.exists());
        EXPECT_TRUE(sameRect(rectOf(tabs.left + kPageRect.left + kPageEditRect.left,
                                    tabs.top + kPageRect.top + kPageEditRect.top,
                                    tabs.left + kPageRect.left + kPageEditRect.right,
                                    tabs.top + kPageRect.top + kPageEditRect.bottom),
                             pageEdit.rect));
        EXPECT_EQ(L"first page", pageEdit.text);
        EXPECT_TRUE(pageEdit.visible);
        EXPECT_FALSE(d.control(kPageLabel).visible);  // its page is hidden
        int pagesListed = 0;
        for (const driver::ControlInfo& c : d.controls()) {
            if (c.id == kPageEdit || c.id == kPageLabel) ++pagesListed;
            if (c.id == kPageEdit) {
                EXPECT_EQ(d.control(kPageOne).hwnd, c.parent);
            }
        }
        EXPECT_EQ(2, pagesListed);

        // Check box state before any click.
        EXPECT_EQ(BST_UNCHECKED, d.control(kAgree).checked);

        // List view: rows, columns, cells and check boxes.
        EXPECT_EQ(3, d.listRowCount(kList));
        EXPECT_EQ(2, d.listColumnCount(kList));
        EXPECT_EQ((std::vector<int>{120, 100}), d.listColumnWidths(kList));
        EXPECT_EQ(L"Grace", d.listCell(kList, 1, 0));
        EXPECT_EQ(L"New York", d.listCell(kList, 1, 1));
        EXPECT_EQ(L"", d.listCell(kList, 7, 0));
        EXPECT_FALSE(d.listRowChecked(kList, 0));
        EXPECT_TRUE(d.listRowChecked(kList, 1));
        EXPECT_EQ(-1, d.listSelectedRow(kList));
        // Cells lie side by side after the list's 1-pixel border, as wide as
        // their columns, rows one under the other.
        const RECT list = d.control(kList).rect;
        const RECT city = d.listCellRect(kList, 1, 1);
        EXPECT_EQ(list.left + 1 + 120, city.left);
        EXPECT_EQ(100, city.right - city.left);
        EXPECT_EQ(city.bottom, d.listCellRect(kList, 2, 1).top);
        EXPECT_EQ(city.top, d.listCellRect(kList, 1, 0).top);
        EXPECT_TRUE(IsRectEmpty(&city) == FALSE);
        const RECT missing = d.listCellRect(kList, 3, 1);
        EXPECT_TRUE(IsRectEmpty(&missing));

        // The other common controls.
        EXPECT_EQ((std::vector<std::wstring>{L"red", L"green", L"blue"}), d.comboItems(kCombo));
        EXPECT_EQ(1, d.comboSelection(kCombo));
        EXPECT_EQ(L"green", d.control(kCombo).text);
        EXPECT_EQ(7, d.trackbarPos(kSlider));
        EXPECT_EQ(std::make_pair(0, 20), d.trackbarRange(kSlider));
        EXPECT_EQ(20, d.progressPos(kProgress));
        EXPECT_EQ(std::make_pair(0, 50), d.progressRange(kProgress));
        std::optional<SYSTEMTIME> date = d.dateTime(kDate);
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(2024, date->wYear);
        EXPECT_EQ(2, date->wMonth);
        EXPECT_EQ(29, date->wDay);
        // Queries of one class never read another class's answer.
        EXPECT_FALSE(d.dateTime(kName).has_value());
        EXPECT_EQ(0, d.listRowCount(kCombo));
        EXPECT_EQ(-1, d.selectedTab(kList));
        EXPECT_EQ(0, d.selectedTab(kTabs));
        EXPECT_EQ((std::vector<std::wstring>{L"One", L"Two"}), d.tabTitles(kTabs));

        EXPECT_TRUE(d.click(kApply));
    });
    EXPECT_EQ(kApply, runTestDialog());
    EXPECT_TRUE(session.ran());
    EXPECT_FALSE(session.watchdogFired());
    EXPECT_EQ(L"", session.failure());
}

TEST(DialogDriver, ClicksAreRealMouseInput)
{
    POINT cursorAtLastClick{};
    POINT otherCentre{};
    driver::Session session([&](driver::Dialog& d) {
        // A disabled button ignores the click and the dialog stays open.
        EXPECT_TRUE(d.click(kOff));
        EXPECT_TRUE(d.isOpen());
        EXPECT_TRUE(g_seen.clicked.empty());

        // The check box toggles on each click, as a user sees it.
        EXPECT_TRUE(d.click(kAgree));
        EXPECT_EQ(BST_CHECKED, d.control(kAgree).checked);
        EXPECT_TRUE(d.click(kAgree));
        EXPECT_EQ(BST_UNCHECKED, d.control(kAgree).checked);
        EXPECT_EQ((std::vector<int>{kAgree, kAgree}), g_seen.clicked);

        // List view check boxes toggle their own row only, and the dialog hears NM_CLICK.
        EXPECT_TRUE(d.clickListCheckbox(kList, 0));
        EXPECT_TRUE(d.listRowChecked(kList, 0));
        EXPECT_TRUE(d.listRowChecked(kList, 1));
        EXPECT_TRUE(d.clickListCheckbox(kList, 1));
        EXPECT_FALSE(d.listRowChecked(kList, 1));
        EXPECT_TRUE(d.listRowChecked(kList, 0));
        EXPECT_EQ(2, g_seen.listClicks);
        EXPECT_FALSE(d.clickListCheckbox(kList, 3));  // no such row

        // A click on a cell selects its row.
        EXPECT_TRUE(d.clickListCell(kList, 2, 1));
        EXPECT_EQ(2, d.listSelectedRow(kList));
        EXPECT_EQ(3, g_seen.listClicks);

        // A drag of the divider after the first column widens it by the distance dragged.
        const RECT name = d.listCellRect(kList, 0, 0);
        const RECT list = d.control(kList).rect;
        const int divider = list.left + 1 + 120;
        const int header = list.top + 1 + (name.top - list.top - 1) / 2;
        EXPECT_TRUE(d.drag(POINT{divider, header}, POINT{divider + 30, header}));
        EXPECT_EQ((std::vector<int>{150, 100}), d.listColumnWidths(kList));
        EXPECT_EQ(3, g_seen.listClicks) << "a drag is no click";

        // What a user cannot see, the driver does not click.
        EXPECT_FALSE(d.click(kPageLabel));  // on the hidden page
        EXPECT_FALSE(d.click(9999));
        EXPECT_FALSE(d.clickTab(kList, 0));  // not a tab control

        // A combo box item is picked from the dropped-down list.
        EXPECT_TRUE(d.clickComboItem(kCombo, 2));
        EXPECT_EQ(2, d.comboSelection(kCombo));
        EXPECT_EQ(L"blue", d.control(kCombo).text);
        EXPECT_EQ(1, g_seen.comboChanges);
        EXPECT_FALSE(d.clickComboItem(kCombo, 3));

        // A click on a tab switches pages through the dialog's own notification.
        EXPECT_TRUE(d.clickTab(kTabs, 1));
        EXPECT_EQ(1, d.selectedTab(kTabs));
        EXPECT_EQ(1, g_seen.tabChanges);
        EXPECT_TRUE(d.control(kPageLabel).visible);
        EXPECT_FALSE(d.control(kPageEdit).visible);
        // The message path notifies as a click does.
        EXPECT_TRUE(d.selectTab(kTabs, 0));
        EXPECT_EQ(0, d.selectedTab(kTabs));
        EXPECT_EQ(2, g_seen.tabChanges);
        EXPECT_TRUE(d.control(kPageEdit).visible);
        EXPECT_FALSE(d.selectTab(kTabs, 2));

        // The pointer really moves to the button it clicks.
        const RECT other = d.control(kOther).rect;
        otherCentre = POINT{(other.left + other.right) / 2, (other.top + other.bottom) / 2};
        ClientToScreen(d.hwnd(), &otherCentre);
        EXPECT_TRUE(d.click(kOther));
        GetCursorPos(&cursorAtLastClick);
        EXPECT_FALSE(d.isOpen());
        EXPECT_FALSE(d.click(kApply));  // the dialog has ended
    });
    EXPECT_EQ(kOther, runTestDialog());
    EXPECT_EQ(otherCentre.x, cursorAtLastClick.x);
    EXPECT_EQ(otherCentre.y, cursorAtLastClick.y);
    EXPECT_TRUE(g_seen.firstRowChecked);
    EXPECT_EQ(L"", session.failure());
}

TEST(DialogDriver, KeysAndTextArriveAsTyped)
{
    const std::wstring typed = L"Gr\u00FC\u00DFe \u65E5\u672C \u2713";
    driver::Session session([&](driver::Dialog& d) {
        EXPECT_TRUE(d.click(kNote));
        EXPECT_EQ(kNote, d.focusedControl().id);
        EXPECT_TRUE(d.typeText(typed + L"!"));
        EXPECT_EQ(typed + L"!", d.control(kNote).text);
        EXPECT_TRUE(d.pressKey(VK_BACK));
        EXPECT_EQ(typed, d.control(kNote).text);

        // Tab and Shift+Tab walk the tab stops in order; Space toggles the check box.
        EXPECT_TRUE(d.pressKey(VK_TAB));
        EXPECT_EQ(kAgree, d.focusedControl().id);
        EXPECT_TRUE(d.pressKey(VK_TAB, VK_SHIFT));
        EXPECT_EQ(kNote, d.focusedControl().id);
        EXPECT_TRUE(d.pressKey(VK_TAB));
        EXPECT_TRUE(d.pressKey(VK_SPACE));
        EXPECT_EQ(BST_CHECKED, d.control(kAgree).checked);

        // Down moves the slider when it has the focus.
        EXPECT_TRUE(d.click(kSlider));
        const int before = d.trackbarPos(kSlider);
        EXPECT_TRUE(d.pressKey(VK_RIGHT));
        EXPECT_EQ(before + 1, d.trackbarPos(kSlider));

        // Enter presses the default button.
        EXPECT_TRUE(d.pressKey(VK_RETURN));
    });
    EXPECT_EQ(kApply, runTestDialog());
    EXPECT_EQ(typed, g_seen.note);
    EXPECT_TRUE(g_seen.agreed);

    driver::Session escape([](driver::Dialog& d) { EXPECT_TRUE(d.pressKey(VK_ESCAPE)); });
    EXPECT_EQ(IDCANCEL, runTestDialog());

    driver::Session closing([](driver::Dialog& d) { EXPECT_TRUE(d.close()); });
    EXPECT_EQ(kClosedByMessage, runTestDialog());
}

TEST(DialogDriver, ResizesAndSavesTheWholeWindowAsPng)
{
    const std::wstring path = tempPath(L"driver-test-shot.png");
    DeleteFileW(path.c_str());
    RECT shotRect{};
    driver::Session session([&](driver::Dialog& d) {
        EXPECT_TRUE(d.resize(500, 420));
        RECT r = d.windowRect();
        EXPECT_EQ(500, r.right - r.left);
        EXPECT_EQ(420, r.bottom - r.top);
        ASSERT_FALSE(g_seen.clientSizes.empty());
        EXPECT_EQ(d.clientSize().cx, g_seen.clientSizes.back().cx);
        EXPECT_EQ(d.clientSize().cy, g_seen.clientSizes.back().cy);

        EXPECT_TRUE(d.savePng(path));
        shotRect = d.windowRect();
        EXPECT_FALSE(d.savePng(L"Z:\\no\\such\\folder\\shot.png"));
        d.click(kApply);
    });
    EXPECT_EQ(kApply, runTestDialog());

    Png png = readStoredPng(path);
    ASSERT_EQ("", png.error);
    ASSERT_EQ(uint32_t(shotRect.right - shotRect.left), png.width);
    ASSERT_EQ(uint32_t(shotRect.bottom - shotRect.top), png.height);
    // The caption band and the client area show their own colours: the shot
    // holds the frame and caption, not just the client area.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
    const uint32_t clientTop = uint32_t(-frame.top);
    const unsigned char* captionPx = png.at(png.width / 2, clientTop / 2 + 2);
    const unsigned char* clientPx = png.at(png.width - 20, clientTop + 5);
    EXPECT_TRUE(isColor(clientPx, GetSysColor(COLOR_BTNFACE)))
        << int(clientPx[0]) << "," << int(clientPx[1]) << "," << int(clientPx[2]);
    EXPECT_FALSE(isColor(captionPx, GetSysColor(COLOR_BTNFACE)));
    // The edit's white field where the edit is.
    const unsigned char* editPx = png.at(uint32_t(-frame.left) + 200, clientTop + 20);
    EXPECT_TRUE(isColor(editPx, GetSysColor(COLOR_WINDOW)))
        << int(editPx[0]) << "," << int(editPx[1]) << "," << int(editPx[2]);
}

TEST(DialogDriver, SavesAWindowThatReachesPastTheScreenEdge)
{
    const std::wstring path = tempPath(L"driver-edge-shot.png");
    DeleteFileW(path.c_str());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    RECT placed{}, afterShot{};
    driver::Session session([&](driver::Dialog& d) {
        SetWindowPos(d.hwnd(), nullptr, screenWidth - 100, kTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        placed = d.windowRect();
        EXPECT_TRUE(d.savePng(path));
        afterShot = d.windowRect();
        d.close();
    });
    EXPECT_EQ(kClosedByMessage, runTestDialog());
    EXPECT_EQ(screenWidth - 100, placed.left);
    EXPECT_TRUE(sameRect(placed, afterShot)) << "the shot must leave the window where it was";

    Png png = readStoredPng(path);
    ASSERT_EQ("", png.error);
    ASSERT_EQ(uint32_t(kOuterWidth), png.width);
    ASSERT_EQ(uint32_t(kOuterHeight), png.height);
    // The client area shows the dialog's face on both sides of where the
    // screen edge cut it, not black.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
    const uint32_t clientTop = uint32_t(-frame.top);
    for (const uint32_t x : {uint32_t(-frame.left) + 5, png.width - 20}) {
        const unsigned char* px = png.at(x, clientTop + 5);
        EXPECT_TRUE(isColor(px, GetSysColor(COLOR_BTNFACE)))
            << "x " << x << ": " << int(px[0]) << "," << int(px[1]) << "," << int(px[2]);
    }
}

TEST(DialogDriver, WatchdogEndsWhatNobodyCloses)
{
    // An action that waits forever is cut short, and its dialog ends with result 0.
    bool waitReturned = false;
    driver::Session stuck(
        [&](driver::Dialog& d) {
            d.waitUntil([] { return false; }, 60000);
            waitReturned = true;
        },
        500);
    DWORD start = GetTickCount();
    EXPECT_EQ(0, runTestDialog());
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_TRUE(stuck.watchdogFired());
    EXPECT_FALSE(waitReturned);
    EXPECT_EQ(L"", stuck.failure());

    // An action that returns with the dialog still open.
    driver::Session idle([](driver::Dialog&) {}, 300);
    start = GetTickCount();
    EXPECT_EQ(0, runTestDialog());
    EXPECT_GE(GetTickCount() - start, 250u);
    EXPECT_TRUE(idle.ran());
    EXPECT_TRUE(idle.watchdogFired());

    // An action that throws ends its dialog at once and reports why.
    driver::Session throwing([](driver::Dialog&) { throw std::runtime_error("no such row"); });
    start = GetTickCount();
    EXPECT_EQ(0, runTestDialog());
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_EQ(L"no such row", throwing.failure());
    EXPECT_FALSE(throwing.watchdogFired());

    // A dialog that stays open inside a nested one: both end.
    driver::Session outer([](driver::Dialog& d) { d.click(kMore); }, 800);
    driver::Session nested([](driver::Dialog&) {}, 60000);
    EXPECT_EQ(0, runTestDialog());
    EXPECT_TRUE(outer.watchdogFired());
    EXPECT_EQ(0, g_seen.nestedResult);

    // A dialog that no session was armed for never blocks its caller for good.
    driver::takeFailures();
    start = GetTickCount();
    EXPECT_EQ(0, runTestDialog());
    const DWORD strayMs = GetTickCount() - start;
    EXPECT_GE(strayMs, driver::kDefaultTimeoutMs - 100);
    EXPECT_LT(strayMs, driver::kDefaultTimeoutMs + 3000);
    EXPECT_EQ(L"dialog \"Driver Test\" (no session was armed for it): the dialog was still open after 10000 ms; "
              L"the watchdog ended it\n",
              driver::takeFailures());

    // A modeless dialog is destroyed, not merely hidden.
    driver::Session modeless([](driver::Dialog&) {}, 300);
    HWND hwnd = showModeless(0, L"Modeless");
    driver::Dialog(hwnd).waitUntil([&] { return !IsWindow(hwnd); }, 3000);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(modeless.watchdogFired());
}

TEST(DialogDriver, SessionsTakeDialogsInTurn)
{
    // A tool window (as a progress window is) is left alone by sessions and
    // found by findModeless.
    HWND tool = showModeless(WS_EX_TOOLWINDOW, L"Progress");
    std::optional<driver::Dialog> found = driver::findModeless();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(tool, found->hwnd());

    std::wstring nestedCaption;
    HWND outerWindow = nullptr;
    driver::Session outer([&](driver::Dialog& d) {
        outerWindow = d.hwnd();
        EXPECT_TRUE(d.click(kMore));  // returns once the nested dialog has ended
        EXPECT_EQ(kOther, g_seen.nestedResult);
        d.click(kApply);
    });
    driver::Session inner([&](driver::Dialog& d) {
        nestedCaption = d.caption();
        d.click(kOther);
    });
    driver::Session second([](driver::Dialog& d) { d.click(kOther); });
    EXPECT_EQ(kApply, runTestDialog());
    EXPECT_EQ(kOther, runTestDialog());
    EXPECT_EQ(L"Nested", nestedCaption);
    EXPECT_TRUE(outer.ran() && inner.ran() && second.ran());
    EXPECT_NE(outer.window(), inner.window());
    EXPECT_NE(tool, outer.window());
    EXPECT_TRUE(IsWindow(tool));
    DestroyWindow(tool);

    // A session whose dialog never came takes nothing and reports so.
    {
        driver::Session unused([](driver::Dialog& d) { d.click(kApply); });
        driver::pumpMessages(100);
        EXPECT_FALSE(unused.ran());
    }
    EXPECT_FALSE(driver::findModeless().has_value());
}

TEST(DialogDriver, MovesSlidersWithTheKeyboard)
{
    struct Case {
        int from, to;
        bool moves;  // false: out of range, refused without a key
    };
    const Case cases[] = {
        {50, kFormSliderMax + 1, false}, {50, -1, false}, {50, 0, true}, {50, kFormSliderMax, true},
        {50, 117, true}, {0, 1, true}, {kFormSliderMax, kFormSliderMax - 1, true}, {40, 40, true}, {117, 40, true},
    };
    driver::Session session(
        [&](driver::Dialog& d) {
            for (const Case& c : cases) {
                SendMessageW(d.control(kFormSlider).hwnd, TBM_SETPOS, TRUE, c.from);
                const int heard = g_form.sliderScrolls;
                EXPECT_EQ(c.moves, d.setSliderPos(kFormSlider, c.to)) << c.from << " to " << c.to;
                EXPECT_EQ(c.moves ? c.to : c.from, d.trackbarPos(kFormSlider)) << c.from << " to " << c.to;
                // Real input notifies the dialog, as TBM_SETPOS would not; a
                // refused position is not even clicked.
                EXPECT_EQ(c.moves, g_form.sliderScrolls > heard) << c.from << " to " << c.to;
            }
            EXPECT_FALSE(d.setSliderPos(kFormDate, 1));  // not a slider
            EnableWindow(d.control(kFormSlider).hwnd, FALSE);
            EXPECT_FALSE(d.setSliderPos(kFormSlider, 3));
            EXPECT_EQ(40, d.trackbarPos(kFormSlider));
            EnableWindow(d.control(kFormSlider).hwnd, TRUE);
            EXPECT_TRUE(d.setSliderPos(kFormSlider, 3));
            d.click(IDOK);
        },
        30000);
    EXPECT_EQ(IDOK, runFormDialog());
    EXPECT_EQ(3, g_form.slider);
    EXPECT_EQ(L"", session.failure());
}

TEST(DialogDriver, TypesDatesInEveryFieldOrder)
{
    // The user's short-date order, and the three orders of the other
    // locales as custom formats: month/day/year, day/month/year,
    // year/month/day, and a two-digit year and a month shown by name.
    struct Case {
        int picker;
        const wchar_t* format;  // null: the user's short date
        int year, month, day;
    };
    const Case cases[] = {
        {kFormDate, nullptr, 2024, 2, 29},       {kFormDropDate, nullptr, 1999, 12, 31},
        {kFormDate, L"M/d/yyyy", 2031, 7, 4},    {kFormDropDate, L"d/M/yyyy", 2000, 1, 1},
        {kFormDate, L"d/M/yyyy", 2024, 11, 30},  {kFormDropDate, L"yyyy-MM-dd", 2023, 2, 28},
        {kFormDate, L"dd.MM.yy", 2024, 2, 29},   {kFormDropDate, L"MMMM d, yyyy", 2012, 10, 5},
    };
    const SYSTEMTIME start = when(2026, 5, 31, 16, 20);  // a day no shorter month has
    driver::Session session(
        [&](driver::Dialog& d) {
            for (const Case& c : cases) {
                SendMessageW(d.control(c.picker).hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(c.format));
                setPicker(d, c.picker, start);
                EXPECT_TRUE(d.setDate(c.picker, c.year, c.month, c.day)) << c.year << "-" << c.month << "-" << c.day;
                const SYSTEMTIME got = d.dateTime(c.picker).value_or(SYSTEMTIME{});
                EXPECT_EQ(c.year * 10000 + c.month * 100 + c.day, got.wYear * 10000 + got.wMonth * 100 + got.wDay)
                    << (c.format ? c.format : L"short date");
                EXPECT_EQ(start.wHour * 60 + start.wMinute, got.wHour * 60 + got.wMinute);  // the time stays
                EXPECT_EQ(shownDate(got, c.format), d.control(c.picker).text);
            }
            // No such date, or one the picker is not to show: refused before a key is pressed.
            SYSTEMTIME range[2] = {when(2000, 1, 1), when(2030, 12, 31)};
            SendMessageW(d.control(kFormDate).hwnd, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
            SendMessageW(d.control(kFormDate).hwnd, DTM_SETFORMATW, 0, 0);
            setPicker(d, kFormDate, start);
            const int changes = g_form.pickerChanges;
            for (const SYSTEMTIME& bad : {when(2023, 2, 29), when(2024, 13, 1), when(2024, 0, 1), when(2024, 4, 31),
                                          when(1999, 12, 31), when(2031, 1, 1)}) {
                EXPECT_FALSE(d.setDate(kFormDate, bad.wYear, bad.wMonth, bad.wDay)) << bad.wYear << "-" << bad.wMonth;
            }
            EXPECT_EQ(changes, g_form.pickerChanges);
            EXPECT_EQ(start.wDay, d.dateTime(kFormDate)->wDay);
            EXPECT_FALSE(d.setDate(kFormSlider, 2024, 1, 1));  // not a picker
            d.click(IDOK);
        },
        60000);
    EXPECT_EQ(IDOK, runFormDialog());
    EXPECT_EQ(L"", session.failure());
}

TEST(DialogDriver, TypesTimesOnTwelveAndTwentyFourHourPickers)
{
    // From a morning and from 11 PM, where Wine's AM/PM field does not come
    // round midnight: Up there gives 12 AM.
    struct Case {
        const wchar_t* format;
        int fromHour, hour, minute;
    };
    const Case cases[] = {
        {kTimeFormat, 11, 15, 45}, {kTimeFormat, 23, 0, 5},  {kTimeFormat, 11, 12, 30}, {kTimeFormat, 23, 9, 7},
        {kTimeFormat, 23, 23, 59}, {L"HH:mm", 11, 0, 0},     {L"HH:mm", 23, 18, 20},    {L"tt hh:mm", 23, 13, 1},
        {L"tt hh:mm", 11, 1, 13},
    };
    driver::Session session(
        [&](driver::Dialog& d) {
            for (const Case& c : cases) {
                SendMessageW(d.control(kFormTime).hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(c.format));
                setPicker(d, kFormTime, when(2024, 2, 29, c.fromHour, 31));
                EXPECT_TRUE(d.setTime(kFormTime, c.hour, c.minute)) << c.format << " " << c.hour << ":" << c.minute;
                const SYSTEMTIME got = d.dateTime(kFormTime).value_or(SYSTEMTIME{});
                EXPECT_EQ(c.hour * 60 + c.minute, got.wHour * 60 + got.wMinute) << c.format;
                EXPECT_EQ(2024 * 10000 + 2 * 100 + 29, got.wYear * 10000 + got.wMonth * 100 + got.wDay);
                EXPECT_EQ(shownTime(got, c.format), d.control(kFormTime).text);
            }
            EXPECT_FALSE(d.setTime(kFormTime, 24, 0));
            EXPECT_FALSE(d.setTime(kFormTime, 12, 60));
            EXPECT_FALSE(d.setTime(kFormText, 12, 0));
            SendMessageW(d.control(kFormTime).hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kTimeFormat));
            EXPECT_TRUE(d.setTime(kFormTime, 16, 5));
            d.click(IDOK);
        },
        30000);
    EXPECT_EQ(IDOK, runFormDialog());
    EXPECT_EQ(shownTime(when(2024, 2, 29, 16, 5), kTimeFormat), g_form.time);
    EXPECT_EQ(L"", session.failure());
}

TEST(DialogDriver, ClicksAndKeysReachADroppedDownCalendar)
{
    driver::Session session([](driver::Dialog& d) {
        const HWND picker = d.control(kFormDropDate).hwnd;
        setPicker(d, kFormDropDate, when(2024, 2, 10, 9, 0));
        const POINT button{d.control(kFormDropDate).width() - GetSystemMetrics(SM_CXVSCROLL) / 2 - 2,
                           d.control(kFormDropDate).height() / 2};
        ASSERT_TRUE(d.clickAt(kFormDropDate, button));
        const HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
        ASSERT_TRUE(calendar && IsWindowVisible(calendar));
        // The centre of 15 February, as the calendar's own hit test places it.
        RECT client{};
        GetClientRect(calendar, &client);
        POINT sum{}, day{};
        int hits = 0;
        for (day.y = 0; day.y < client.bottom; day.y += 2) {
            for (day.x = 0; day.x < client.right; day.x += 2) {
                MCHITTESTINFO hit{};
                hit.cbSize = sizeof hit;
                hit.pt = day;
                SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
                if (hit.uHit == MCHT_CALENDARDATE && hit.st.wMonth == 2 && hit.st.wDay == 15) {
                    sum.x += day.x;
                    sum.y += day.y;
                    ++hits;
                }
            }
        }
        ASSERT_GT(hits, 0);
        POINT centre{sum.x / hits, sum.y / hits};
        MapWindowPoints(calendar, d.hwnd(), &centre, 1);
        EXPECT_TRUE(d.clickClient(centre));
        EXPECT_EQ(15, d.dateTime(kFormDropDate).value_or(SYSTEMTIME{}).wDay);
        EXPECT_FALSE(IsWindowVisible(calendar));

        // Keys go to the calendar, not to the dialog: Escape does not cancel
        // the dialog. (Windows' calendar closes on Escape; Wine's ignores it.)
        ASSERT_TRUE(d.clickAt(kFormDropDate, button));
        const HWND again = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
        ASSERT_TRUE(again && IsWindowVisible(again));
        EXPECT_TRUE(d.pressKey(VK_ESCAPE));
        EXPECT_TRUE(d.isOpen());
        // A second click on the button closes the calendar.
        EXPECT_TRUE(d.clickAt(kFormDropDate, button));
        EXPECT_FALSE(IsWindowVisible(again));
        EXPECT_EQ(15, d.dateTime(kFormDropDate).value_or(SYSTEMTIME{}).wDay);
        // The OK button, not a date picker's arrows, which are numbered 1 as well.
        EXPECT_TRUE(d.control(IDOK).hasClass(WC_BUTTONW));
        d.click(IDOK);
    });
    EXPECT_EQ(IDOK, runFormDialog());
    EXPECT_EQ(L"", session.failure());
}

TEST(DialogDriver, ScriptsRefuseWhatTheyCannotRun)
{
    struct Case {
        const wchar_t* script;
        const wchar_t* error;
    };
    const Case cases[] = {
        {L"", L"the script has no commands"},
        {L" ; \n ", L"the script has no commands"},
        {L"clik 4", L"command 1 (clik 4): unknown command \"clik\""},
        {L"wait 10; click", L"command 2 (click): click takes 1 argument, not 0"},
        {L"resize 300", L"command 1 (resize 300): resize takes 2 arguments, not 1"},
        {L"close now", L"command 1 (close now): close takes 0 arguments, not 1"},
        {L"click x", L"command 1 (click x): \"x\" is not a whole number from 0 to 1000000"},
        {L"click -3", L"command 1 (click -3): \"-3\" is not a whole number from 0 to 1000000"},
        {L"wait 1000001", L"command 1 (wait 1000001): \"1000001\" is not a whole number from 0 to 1000000"},
        {L"click \"4\"", L"command 1 (click \"4\"): \"4\" is not a whole number from 0 to 1000000"},
        {L"key F13", L"command 1 (key F13): unknown key \"F13\""},
        {L"key META+TAB", L"command 1 (key META+TAB): unknown key \"META+TAB\""},
        {L"type \"abc", L"a quoted text has no closing quote"},
        {LR"(type "ends with an escaped quote\")", L"a quoted text has no closing quote"},
        {L"key CTRL+AB", L"command 1 (key CTRL+AB): unknown key \"CTRL+AB\""},
        {L"slider 11", L"command 1 (slider 11): slider takes 2 arguments, not 1"},
        {L"date 12 2024 2", L"command 1 (date 12 2024 2): date takes 4 arguments, not 3"},
        {L"time 14 15 45 0", L"command 1 (time 14 15 45 0): time takes 3 arguments, not 4"},
        {L"time 14 15 -5", L"command 1 (time 14 15 -5): \"-5\" is not a whole number from 0 to 1000000"},
    };
    for (const Case& c : cases) {
        std::wstring error = L"untouched";
        EXPECT_FALSE(driver::armScript(c.script, &error)) << c.script;
        EXPECT_EQ(c.error, error) << c.script;
    }
    EXPECT_EQ(0u, driver::pendingScripts());

    std::wstring error = L"untouched";
    EXPECT_TRUE(driver::armScript(L"key shift+tab; key ctrl+a; key CTRL+HOME; key esc", &error));
    EXPECT_EQ(L"", error);
    EXPECT_EQ(1u, driver::pendingScripts());
    EXPECT_EQ(IDCANCEL, runTestDialog());
    EXPECT_EQ(0u, driver::pendingScripts());
}

TEST(DialogDriver, ScriptsPlayTheirDialogsInOrder)
{
    const std::wstring shot = tempPath(L"driver-script-shot.png");
    DeleteFileW(shot.c_str());
    std::wstring error;
    ASSERT_TRUE(driver::armScript(LR"(wait 50; click 202; type "say \"hi\" in C:\tmp\\"; key TAB; check 301)"
                                  L"\ncheck 301; checkrow 401 0; tab 501 1; shot \"" + shot + L"\"; clicktext \"Other\"",
                                  &error))
        << error.c_str();
    ASSERT_TRUE(driver::armScript(L"settext 202 \"set\"; combo 701 0; cell 401 2 1; resize 450 400; clicktext \"Apply\"",
                                  &error));
    ASSERT_TRUE(driver::armScript(L"click 999; click 101", &error));
    EXPECT_EQ(3u, driver::pendingScripts());

    EXPECT_EQ(kOther, runTestDialog());
    EXPECT_EQ(LR"(say "hi" in C:\tmp\)", g_seen.note);
    EXPECT_TRUE(g_seen.agreed);  // the second "check" left it checked
    EXPECT_TRUE(g_seen.firstRowChecked);
    EXPECT_EQ(1, g_seen.tab);
    EXPECT_EQ("", readStoredPng(shot).error);

    EXPECT_EQ(kApply, runTestDialog());
    EXPECT_EQ(L"set", g_seen.note);
    EXPECT_EQ(1, g_seen.comboChanges);
    EXPECT_EQ(2, g_seen.lastListClick.x);
    EXPECT_EQ(1, g_seen.lastListClick.y);
    ASSERT_FALSE(g_seen.clientSizes.empty());
    EXPECT_EQ(450, g_seen.outerWidth);

    // A command that cannot run ends the dialog at once and is reported.
    const DWORD start = GetTickCount();
    EXPECT_EQ(0, runTestDialog());
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_TRUE(g_seen.clicked.empty());  // "click 101" never ran
    const std::wstring failures = driver::takeFailures();
    EXPECT_NE(std::wstring::npos, failures.find(L": command 1 (click 999): no control with id 999 could be used\n"))
        << failures.c_str();
    EXPECT_EQ(L"", driver::takeFailures());
    EXPECT_EQ(0u, driver::pendingScripts());
}

TEST(DialogDriver, ScriptsFillAForm)
{
    std::wstring error;
    ASSERT_TRUE(driver::armScript(L"slider 11 150; date 12 2024 02 29; time 14 15 45; click 15; type \"first\nline\";"
                                  L"key CTRL+A; type \"one\ntwo\"; click 1",
                                  &error))
        << error.c_str();
    EXPECT_EQ(IDOK, runFormDialog());
    EXPECT_EQ(150, g_form.slider);
    EXPECT_EQ(shownDate(when(2024, 2, 29), nullptr), g_form.date);
    EXPECT_EQ(shownTime(when(2024, 2, 29, 15, 45), kTimeFormat), g_form.time);
    EXPECT_EQ(L"one\r\ntwo", g_form.text);  // Enter breaks the line; CTRL+A replaced the first text

    // Values the controls cannot take stop the script and end the dialog.
    ASSERT_TRUE(driver::armScript(L"date 12 2023 2 29; click 1", &error));
    ASSERT_TRUE(driver::armScript(L"slider 11 201; click 1", &error));
    ASSERT_TRUE(driver::armScript(L"time 13 9 30; click 1", &error));
    EXPECT_EQ(0, runFormDialog());
    EXPECT_EQ(0, runFormDialog());
    EXPECT_EQ(0, runFormDialog());
    const std::wstring failures = driver::takeFailures();
    for (const wchar_t* line : {L": command 1 (date 12 2023 2 29): date picker 12 could not be set to 2023-2-29\n",
                                L": command 1 (slider 11 201): slider 11 could not be moved to 201\n",
                                L": command 1 (time 13 9 30): time picker 13 could not be set to 9:30\n"}) {
        EXPECT_NE(std::wstring::npos, failures.find(line)) << failures.c_str();
    }
    EXPECT_EQ(0u, driver::pendingScripts());
}

}  // namespace
