#include "runtime/list_view_win.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "model/fields.h"
#include "runtime/grid_rules.h"
#include "runtime/open_dialog.h"

namespace {

LentCells *lentCellsOf(HWND list) {
    OpenDialog *open = openDialogOf(list);
    if (open == nullptr) return nullptr;
    for (const std::unique_ptr<LentCells> &l : open->lentCells) {
        if (l->list == list) return l.get();
    }
    return nullptr;
}

// The record of a list that holds no rows of its own; null for any other.
LentCells *rowsHeldFor(HWND list) {
    LentCells *lent = lentCellsOf(list);
    return lent != nullptr && lent->holdsNoRows ? lent : nullptr;
}

// A cell as the list shows it: what a user put there, else the lent text.
// Column 0 is the row's first data cell. Null for no such cell.
const TextUnit *heldCell(const LentCells &l, int row, int column, size_t &length) {
    if (row < 0 || column < 0 || column > l.columns) return nullptr;
    if (column == 0) column = 1;
    const auto edited = l.edited.find(std::make_pair(row, column));
    if (edited != l.edited.end()) {
        length = edited->second.length();
        return edited->second.data();
    }
    const size_t index = size_t(row) * size_t(l.columns) + size_t(column - 1);
    if (index >= l.cells.itemCount()) return nullptr;
    length = l.cells.length(index);
    return l.cells.data(index);
}

void redrawRow(HWND list, int row) {
    SendMessageW(list, LVM_REDRAWITEMS, WPARAM(row), LPARAM(row));
}

} // namespace

int rowCount(HWND list) {
    return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int rowStateImage(HWND list, int row) {
    if (const LentCells *held = rowsHeldFor(list)) {
        return row >= 0 && size_t(row) < held->checks.size() ? held->checks[size_t(row)] : 0;
    }
    LRESULT state = SendMessageW(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK);
    return int((state & LVIS_STATEIMAGEMASK) >> 12);
}

void setRowStateImage(HWND list, int row, int image) {
    LentCells *held = rowsHeldFor(list);
    if (held == nullptr) {
        LVITEMW item = {};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(image);
        SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
        return;
    }
    if (row < 0 || size_t(row) >= held->checks.size() || held->checks[size_t(row)] == image) return;
    const int before = held->checks[size_t(row)];
    held->checks[size_t(row)] = static_cast<unsigned char>(image);
    redrawRow(list, row);
    if (settingOwnCheck(list)) return;
    // Told to the dialog as a list that holds its rows tells it, so that
    // the same rules follow a change.
    NMLISTVIEW change = {};
    change.hdr.hwndFrom = list;
    change.hdr.idFrom = UINT_PTR(GetDlgCtrlID(list));
    change.hdr.code = UINT(LVN_ITEMCHANGED);
    change.iItem = row;
    change.uChanged = LVIF_STATE;
    change.uOldState = INDEXTOSTATEIMAGEMASK(before);
    change.uNewState = INDEXTOSTATEIMAGEMASK(image);
    held->reporting = true;
    SendMessageW(GetParent(list), WM_NOTIFY, change.hdr.idFrom, LPARAM(&change));
    held->reporting = false;
}

bool holdsNoRows(HWND list) {
    return rowsHeldFor(list) != nullptr;
}

bool takeListCheckChange(HWND list, const NMLISTVIEW &change) {
    LentCells *held = rowsHeldFor(list);
    if (held == nullptr || held->reporting) return false;
    const int image = int((change.uNewState & LVIS_STATEIMAGEMASK) >> 12);
    if (change.iItem < 0 || size_t(change.iItem) >= held->checks.size() || image < 1) return false;
    held->checks[size_t(change.iItem)] = static_cast<unsigned char>(image);
    held->listChecked = true;
    redrawRow(list, change.iItem);
    return true;
}

void onCheckBoxClick(HWND list, const NMITEMACTIVATE &click) {
    LentCells *held = rowsHeldFor(list);
    if (held == nullptr || held->checks.empty()) return;
    const bool listDidIt = held->listChecked;
    held->listChecked = false;
    LVHITTESTINFO hit = {};
    hit.pt = click.ptAction;
    const int row = int(SendMessageW(list, LVM_HITTEST, 0, LPARAM(&hit)));
    if (listDidIt || row < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) return;
    setRowStateImage(list, row, rowStateImage(list, row) == kCheckedImage ? kUncheckedImage : kCheckedImage);
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

void setCellText(HWND list, int row, int column, const TextUnit *text) {
    if (LentCells *held = rowsHeldFor(list)) {
        if (row < 0 || column < 0 || column > held->columns) return;
        held->edited[std::make_pair(row, column == 0 ? 1 : column)] = WideText(text, wideLength(text));
        redrawRow(list, row);
        return;
    }
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<TextUnit *>(text);
    SendMessageW(list, LVM_SETITEMW, 0, LPARAM(&item));
}

bool holdsRow(HWND list, const WideText &label) {
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = label.data();
    return SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)) != -1;
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
    for (int k = 1; k <= count; ++k) wanted[size_t(k)] = dataColumnWidth(widths, k, count, room);

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
    // A list that holds no rows is read from its record, with no message.
    if (const LentCells *held = rowsHeldFor(list_)) {
        const TextUnit *cell = heldCell(*held, row, column, length);
        if (cell != nullptr) return cell;
        length = 0;
        buffer_[0] = 0;
        return buffer_.data();
    }
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

void lendCellTexts(HWND list, const WideText &text, int columns, int heldRows, bool checkBoxes) {
    OpenDialog *open = openDialogOf(list);
    if (open == nullptr) return;
    auto &lent = open->lentCells;
    // A list lends its texts once; one that no longer exists never asks again.
    lent.erase(std::remove_if(lent.begin(), lent.end(),
                              [list](const std::unique_ptr<LentCells> &l) { return l->list == list || !IsWindow(l->list); }),
               lent.end());
    lent.push_back(std::unique_ptr<LentCells>(new LentCells(list, text, columns)));
    if (heldRows < 0) return;
    LentCells &held = *lent.back();
    held.holdsNoRows = true;
    if (checkBoxes) held.checks.assign(size_t(heldRows), static_cast<unsigned char>(kUncheckedImage));
}

bool answerCellText(NMLVDISPINFOW *request) {
    const LentCells *l = lentCellsOf(request->hdr.hwndFrom);
    if (l == nullptr) return false;
    LVITEMW &item = request->item;
    if ((item.mask & LVIF_STATE) && l->holdsNoRows && item.iSubItem == 0) {
        const int image = rowStateImage(l->list, item.iItem);
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | (image > 0 ? INDEXTOSTATEIMAGEMASK(image) : 0);
    }
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return true;
    const int column = item.iSubItem;
    size_t length = 0;
    const TextUnit *cell = nullptr;
    WideText first;
    if (l->holdsNoRows) {
        // Column 0 is drawn empty, and read as the row's first cell.
        if (!(column == 0 && l->painting)) cell = heldCell(*l, item.iItem, column, length);
    } else if (column == 0 && !l->painting && l->columns >= 1 && item.iItem >= 0) {
        // As the list holds it: an edited cell holds its own text.
        first = CellReader(l->list).text(item.iItem, 1);
        cell = first.data();
        length = first.length();
    } else if (column >= 1 && column <= l->columns && item.iItem >= 0) {
        const size_t index = size_t(item.iItem) * size_t(l->columns) + size_t(column - 1);
        if (index < l->cells.itemCount()) {
            cell = l->cells.data(index);
            length = l->cells.length(index);
        }
    }
    length = wholeCharacterCut(cell, length, size_t(item.cchTextMax) - 1);
    std::copy(cell, cell + length, item.pszText);
    item.pszText[length] = 0;
    return true;
}

int answerFindRow(const NMLVFINDITEMW *request) {
    const LentCells *l = rowsHeldFor(request->hdr.hwndFrom);
    const LVFINDINFOW &find = request->lvfi;
    if (l == nullptr || !(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || find.psz == nullptr) return -1;
    const int rows = rowCount(l->list);
    const int wanted = int(wideLength(find.psz));
    if (rows <= 0 || wanted == 0) return -1;
    int start = request->iStart;
    if (start < 0 || start >= rows) start = 0;
    // From the row the search starts at, round the end when asked to; a
    // partial search matches the start of a row's first cell, ignoring case.
    const int last = (find.flags & LVFI_WRAP) ? start + rows : rows;
    for (int n = start; n < last; ++n) {
        const int row = n % rows;
        size_t length = 0;
        const TextUnit *cell = heldCell(*l, row, 1, length);
        if (cell == nullptr) continue;
        const int compared = (find.flags & LVFI_PARTIAL) ? std::min(int(length), wanted) : int(length);
        if ((find.flags & LVFI_PARTIAL) && int(length) < wanted) continue;
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, cell, compared, find.psz, wanted) == CSTR_EQUAL) {
            return row;
        }
    }
    return -1;
}

bool followListPainting(const NMHDR *header, LRESULT &answer) {
    if (header->code != UINT(NM_CUSTOMDRAW)) return false;
    LentCells *lent = lentCellsOf(header->hwndFrom);
    if (lent == nullptr) return false;
    const DWORD stage = reinterpret_cast<const NMCUSTOMDRAW *>(header)->dwDrawStage;
    if (stage == CDDS_PREPAINT) {
        lent->painting = true;
        answer = CDRF_NOTIFYPOSTPAINT;
        return true;
    }
    if (stage == CDDS_POSTPAINT) {
        lent->painting = false;
        answer = CDRF_DODEFAULT;
        return true;
    }
    return false;
}

void setOwnRowCheck(HWND list, int row, int image) {
    OpenDialog *open = openDialogOf(list);
    if (open != nullptr) ++open->ownCheckChanges;
    setRowStateImage(list, row, image);
    if (open != nullptr) --open->ownCheckChanges;
}

bool settingOwnCheck(HWND list) {
    const OpenDialog *open = openDialogOf(list);
    return open != nullptr && open->ownCheckChanges > 0;
}

RedrawPause::RedrawPause(HWND window) : window_(window) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
}
