// Reading a dialog: its window, its controls and the contents of the common
// controls, each by the control's own query message.
#include "driver_internal.h"

#include <commctrl.h>

#include <cwchar>

namespace driver {
namespace {

constexpr int kClassNameChars = 256;
constexpr int kFirstTextChars = 256;       // first buffer for list cell texts
constexpr int kMaxTextChars = 1 << 20;     // longest cell text read back
constexpr int kStateImageChecked = 2;      // state image of a checked list row
constexpr int kTabTitleChars = 256;

std::wstring windowText(HWND hwnd)
{
    LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 && static_cast<size_t>(got) < text.size() ? static_cast<size_t>(got) : 0);
    return text;
}

std::wstring className(HWND hwnd)
{
    wchar_t name[kClassNameChars] = {};
    GetClassNameW(hwnd, name, kClassNameChars);
    return name;
}

ControlInfo describe(HWND dialog, HWND hwnd)
{
    ControlInfo info;
    info.hwnd = hwnd;
    info.parent = GetParent(hwnd);
    info.id = GetDlgCtrlID(hwnd);
    info.className = className(hwnd);
    info.style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    info.exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    GetWindowRect(hwnd, &info.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&info.rect), 2);
    info.text = windowText(hwnd);
    info.enabled = IsWindowEnabled(hwnd) != FALSE;
    info.visible = IsWindowVisible(hwnd) != FALSE;
    if (_wcsicmp(info.className.c_str(), WC_BUTTONW) == 0) {
        info.checked = static_cast<int>(SendMessageW(hwnd, BM_GETCHECK, 0, 0));
    }
    info.focused = GetFocus() == hwnd;
    return info;
}

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> descendants(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

bool ControlInfo::hasClass(const wchar_t* name) const { return _wcsicmp(className.c_str(), name) == 0; }

Dialog::Dialog(HWND hwnd) : hwnd_(hwnd) {}

Dialog::Dialog(HWND hwnd, std::shared_ptr<const detail::SessionState> session)
    : hwnd_(hwnd), session_(std::move(session))
{
}

bool Dialog::isOpen() const { return IsWindow(hwnd_) && IsWindowVisible(hwnd_); }

std::wstring Dialog::caption() const { return windowText(hwnd_); }

RECT Dialog::windowRect() const
{
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

SIZE Dialog::clientSize() const
{
    RECT r{};
    GetClientRect(hwnd_, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

DWORD Dialog::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }
DWORD Dialog::exStyle() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)); }

int Dialog::defaultButtonId() const
{
    LRESULT r = SendMessageW(hwnd_, DM_GETDEFID, 0, 0);
    return HIWORD(r) == DC_HASDEFID ? LOWORD(r) : 0;
}

std::vector<ControlInfo> Dialog::controls() const
{
    std::vector<ControlInfo> all;
    if (!IsWindow(hwnd_)) return all;
    for (HWND hwnd : descendants(hwnd_)) all.push_back(describe(hwnd_, hwnd));
    return all;
}

// The parts of a control carry ids of their own (Wine's date picker numbers
// its up-down arrows 1, as a dialog numbers its OK button), so a control of
// the dialog or of a tab page comes before a part of another control.
HWND Dialog::item(int id) const
{
    if (!IsWindow(hwnd_)) return nullptr;
    HWND part = nullptr;
    for (HWND hwnd : descendants(hwnd_)) {
        if (GetDlgCtrlID(hwnd) != id) continue;
        const HWND parent = GetParent(hwnd);
        if (parent == hwnd_ || detail::isDialogClass(parent)) return hwnd;
        if (!part) part = hwnd;
    }
    return part;
}

// Every query message below means something else to another class (an edit
// answers DTM_GETSYSTEMTIME with 0, which reads as "a valid date"), so the
// helpers only ask controls of their own class.
HWND Dialog::itemOfClass(int id, const wchar_t* name) const
{
    HWND hwnd = item(id);
    return hwnd && _wcsicmp(className(hwnd).c_str(), name) == 0 ? hwnd : nullptr;
}

ControlInfo Dialog::control(int id) const
{
    HWND hwnd = item(id);
    return hwnd ? describe(hwnd_, hwnd) : ControlInfo{};
}

ControlInfo Dialog::focusedControl() const
{
    HWND focus = GetFocus();
    return focus && IsChild(hwnd_, focus) ? describe(hwnd_, focus) : ControlInfo{};
}

// ---- list views

int Dialog::listRowCount(int id) const
{
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    return lv ? static_cast<int>(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int Dialog::listColumnCount(int id) const
{
    return static_cast<int>(listColumnWidths(id).size());
}

std::vector<int> Dialog::listColumnWidths(int id) const
{
    std::vector<int> widths;
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    if (!lv) return widths;
    // The header can be hidden (no column header style), the columns cannot.
    for (int column = 0;; ++column) {
        LVCOLUMNW col{};
        col.mask = LVCF_WIDTH;
        if (!SendMessageW(lv, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&col))) break;
        widths.push_back(col.cx);
    }
    return widths;
}

std::wstring Dialog::listCell(int id, int row, int column) const
{
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    if (!lv) return std::wstring();
    for (int capacity = kFirstTextChars; capacity <= kMaxTextChars; capacity *= 2) {
        std::wstring text(static_cast<size_t>(capacity), L'\0');
        LVITEMW it{};
        it.iSubItem = column;
        it.pszText = &text[0];
        it.cchTextMax = capacity;
        LRESULT length = SendMessageW(lv, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
        if (length < capacity - 1) {
            text.resize(static_cast<size_t>(length < 0 ? 0 : length));
            return text;
        }
    }
    return std::wstring();
}

bool Dialog::listRowChecked(int id, int row) const
{
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    if (!lv) return false;
    LRESULT state = SendMessageW(lv, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == kStateImageChecked;
}

int Dialog::listSelectedRow(int id) const
{
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    return lv ? static_cast<int>(SendMessageW(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
              : -1;
}

RECT Dialog::listCellRect(int id, int row, int column) const
{
    HWND lv = itemOfClass(id, WC_LISTVIEWW);
    if (!lv || row < 0 || row >= listRowCount(id) || column < 0 || column >= listColumnCount(id)) return RECT{};
    RECT cell{};
    cell.top = column;
    cell.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
    if (!SendMessageW(lv, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell))) return RECT{};
    MapWindowPoints(lv, hwnd_, reinterpret_cast<POINT*>(&cell), 2);
    return cell;
}

// ---- other common controls

std::vector<std::wstring> Dialog::comboItems(int id) const
{
    std::vector<std::wstring> items;
    HWND combo = itemOfClass(id, WC_COMBOBOXW);
    if (!combo) return items;
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        LRESULT got = SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(got > 0 && static_cast<size_t>(got) < text.size() ? static_cast<size_t>(got) : 0);
        items.push_back(text);
    }
    return items;
}

int Dialog::comboSelection(int id) const
{
    HWND combo = itemOfClass(id, WC_COMBOBOXW);
    return combo ? static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) : -1;
}

int Dialog::trackbarPos(int id) const
{
    HWND tb = itemOfClass(id, TRACKBAR_CLASSW);
    return tb ? static_cast<int>(SendMessageW(tb, TBM_GETPOS, 0, 0)) : 0;
}

std::pair<int, int> Dialog::trackbarRange(int id) const
{
    HWND tb = itemOfClass(id, TRACKBAR_CLASSW);
    if (!tb) return {0, 0};
    return {static_cast<int>(SendMessageW(tb, TBM_GETRANGEMIN, 0, 0)),
            static_cast<int>(SendMessageW(tb, TBM_GETRANGEMAX, 0, 0))};
}

int Dialog::progressPos(int id) const
{
    HWND pb = itemOfClass(id, PROGRESS_CLASSW);
    return pb ? static_cast<int>(SendMessageW(pb, PBM_GETPOS, 0, 0)) : 0;
}

std::pair<int, int> Dialog::progressRange(int id) const
{
    HWND pb = itemOfClass(id, PROGRESS_CLASSW);
    if (!pb) return {0, 0};
    PBRANGE range{};
    SendMessageW(pb, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh};
}

std::optional<SYSTEMTIME> Dialog::dateTime(int id) const
{
    HWND picker = itemOfClass(id, DATETIMEPICK_CLASSW);
    if (!picker) return std::nullopt;
    SYSTEMTIME st{};
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) {
        return std::nullopt;
    }
    return st;
}

int Dialog::selectedTab(int id) const
{
    HWND tabs = itemOfClass(id, WC_TABCONTROLW);
    return tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) : -1;
}

std::vector<std::wstring> Dialog::tabTitles(int id) const
{
    std::vector<std::wstring> titles;
    HWND tabs = itemOfClass(id, WC_TABCONTROLW);
    if (!tabs) return titles;
    LRESULT count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t title[kTabTitleChars] = {};
        TCITEMW it{};
        it.mask = TCIF_TEXT;
        it.pszText = title;
        it.cchTextMax = kTabTitleChars;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&it));
        titles.push_back(it.pszText ? it.pszText : L"");
    }
    return titles;
}

}  // namespace driver
