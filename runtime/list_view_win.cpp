#include "runtime/list_view_win.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "model/fields.h"
#include "runtime/grid_rules.h"

int rowCount(HWND list) {
    return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

void insertColumn(HWND list, int index, const TextUnit *title, int width, int format) {
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = std::max(width, 0);
    column.pszText = const_cast<TextUnit *>(title);
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(index), LPARAM(&column));
}

void insertRow(HWND list, int row, const TextUnit *label, bool withCheckBox) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<TextUnit *>(label);
    if (withCheckBox) {
        item.mask |= LVIF_STATE;
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(kUncheckedImage);
    }
    SendMessageW(list, LVM_INSERTITEMW, 0, LPARAM(&item));
}

void appendRow(HWND list, const WideText &label) {
    insertRow(list, rowCount(list), label.data(), false);
}

bool holdsRow(HWND list, const WideText &label) {
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = label.data();
    return SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)) != -1;
}

void clearSelection(HWND list) {
    // A list told to clear every row looks at every row, a million of them
    // in a long list, and tells the dialog of each; the few rows selected
    // are cleared one by one instead.
    constexpr LRESULT kFewRows = 64;
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED;
    if (SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > kFewRows) {
        SendMessageW(list, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&none));
        return;
    }
    for (int row = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); row >= 0;
         row = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(row), LVNI_SELECTED))) {
        SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&none));
    }
}

void makeCurrentRow(HWND list, int row) {
    clearSelection(list);
    LVITEMW current = {};
    current.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    current.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&current));
    // Shift with an arrow selects from here.
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, LPARAM(row));
    SendMessageW(list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

namespace {

// What the list spends round its rows: its borders, measured without its
// scroll bars, and a visible column header. The same at any size, so a list
// can be measured before it is moved.
struct ListFrame {
    int borderWidth, borderHeight, headerHeight;
};

ListFrame frameOf(HWND list) {
    RECT outer{}, client{};
    GetWindowRect(list, &outer);
    GetClientRect(list, &client);
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    ListFrame frame{};
    frame.borderWidth = (outer.right - outer.left) - client.right;
    frame.borderHeight = (outer.bottom - outer.top) - client.bottom;
    if (style & WS_VSCROLL) frame.borderWidth -= GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) frame.borderHeight -= GetSystemMetrics(SM_CYHSCROLL);
    // Measured by its style, not IsWindowVisible: a list made for a dialog
    // that is not shown yet has a header all the same.
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (header != nullptr && (GetWindowLongW(header, GWL_STYLE) & WS_VISIBLE)) {
        RECT r{};
        GetWindowRect(header, &r);
        frame.headerHeight = r.bottom - r.top;
    }
    return frame;
}

int rowHeight(HWND list) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (rowCount(list) == 0 || !SendMessageW(list, LVM_GETITEMRECT, 0, LPARAM(&row))) return 0;
    return row.bottom - row.top;
}

void setColumnWidth(HWND list, int column, int width) {
    if (SendMessageW(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0) == width) return;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, WPARAM(column), MAKELPARAM(width, 0));
}

} // namespace

void fitListColumns(HWND list, const RECT &place, int first, const NarrowFields &widths, int count) {
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const ListFrame frame = frameOf(list);
    ListRoom shape{};
    shape.insideWidth = width - frame.borderWidth;
    shape.viewHeight = height - frame.borderHeight - frame.headerHeight;
    shape.rows = rowCount(list);
    shape.rowHeight = rowHeight(list);
    shape.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    shape.fixedWidth = first == kWholeRoom ? 0 : first;
    const int room = dataColumnsRoom(shape);
    std::vector<int> wanted(size_t(count) + 1);
    wanted[0] = first == kWholeRoom ? room : first;
    const std::vector<int> data = dataColumnWidths(widths, count, room);
    std::copy(data.begin(), data.end(), wanted.begin() + 1);

    // Never wider than the list at any moment: a sideways scroll bar that
    // appeared on the way would take height from the rows, the vertical bar
    // it brought would take width, and each would then keep the other. So
    // columns narrow before the list moves and widen after.
    // Thousands of columns are set with the drawing held back.
    {
        RedrawPause pause(list);
        for (int k = 0; k <= count; ++k) {
            const int now = int(SendMessageW(list, LVM_GETCOLUMNWIDTH, WPARAM(k), 0));
            if (wanted[size_t(k)] < now) setColumnWidth(list, k, wanted[size_t(k)]);
        }
    }
    MoveWindow(list, place.left, place.top, width, height, TRUE);
    RedrawPause pause(list);
    for (int k = 0; k <= count; ++k) setColumnWidth(list, k, wanted[size_t(k)]);
}

CellReader::CellReader(HWND list) : list_(list), buffer_(kFirstCellUnits + 1, 0) {}

const TextUnit *CellReader::read(int row, int column, size_t &length) {
    // The list takes the buffer's size as an int.
    constexpr size_t kLargestBuffer = size_t(INT_MAX);
    for (;;) {
        buffer_[0] = 0;
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer_.data();
        item.cchTextMax = int(buffer_.size());
        SendMessageW(list_, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
        buffer_.back() = 0;
        // The list may answer with its own buffer instead of filling ours.
        if (item.pszText != nullptr && item.pszText != buffer_.data()) {
            length = wideLength(item.pszText);
            return item.pszText;
        }
        length = wideLength(buffer_.data());
        // A text that fills the buffer may go on past it.
        if (length + 1 < buffer_.size() || buffer_.size() >= kLargestBuffer) return buffer_.data();
        buffer_.assign(std::min(buffer_.size() * 2, kLargestBuffer), 0);
    }
}

WideText CellReader::text(int row, int column) {
    size_t length = 0;
    const TextUnit *units = read(row, column, length);
    return WideText(units, length);
}

RedrawPause::RedrawPause(HWND window) : window_(window) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
}
