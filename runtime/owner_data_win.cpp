#include "runtime/owner_data_win.h"

#include <algorithm>
#include <memory>

#include "runtime/list_view_win.h"
#include "runtime/open_dialog.h"

namespace {

LentCells *heldRowsOf(HWND list) {
    OpenDialog *open = openDialogOf(list);
    if (open == nullptr) return nullptr;
    for (const std::unique_ptr<LentCells> &l : open->lentCells) {
        if (l->list == list) return l.get();
    }
    return nullptr;
}

const TextUnit *cellOf(const LentCells &l, int row, int column, size_t &length) {
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

bool asciiAlphanumeric(TextUnit unit) {
    return (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z');
}

// True when the first `n` units of both are ASCII letters and digits and
// differ even with the case of the letters set aside. No locale takes two
// such texts for equal, so the locale's compare, which is slow enough under
// Wine to split a word typed into a long list into two searches, is spared
// for nearly every row.
bool plainlyDifferent(const TextUnit *a, const TextUnit *b, int n) {
    bool different = false;
    for (int i = 0; i < n; ++i) {
        if (!asciiAlphanumeric(a[i]) || !asciiAlphanumeric(b[i])) return false;
        if ((a[i] | 0x20) != (b[i] | 0x20)) different = true;
    }
    return different;
}

void redrawRow(HWND list, int row) {
    SendMessageW(list, LVM_REDRAWITEMS, WPARAM(row), LPARAM(row));
}

} // namespace

void holdRows(HWND list, const WideText &text, int columns, int rows, bool checkBoxes) {
    OpenDialog *open = openDialogOf(list);
    if (open == nullptr) return;
    auto &lent = open->lentCells;
    // A list lends its texts once; one that no longer exists never asks again.
    lent.erase(std::remove_if(lent.begin(), lent.end(),
                              [list](const std::unique_ptr<LentCells> &l) { return l->list == list || !IsWindow(l->list); }),
               lent.end());
    lent.push_back(std::unique_ptr<LentCells>(new LentCells(list, text, columns)));
    if (checkBoxes) lent.back()->checks.assign(size_t(std::max(rows, 0)), static_cast<unsigned char>(kUncheckedImage));
}

bool holdsNoRows(HWND list) {
    return heldRowsOf(list) != nullptr;
}

int heldCheck(HWND list, int row) {
    const LentCells *held = heldRowsOf(list);
    return held != nullptr && row >= 0 && size_t(row) < held->checks.size() ? held->checks[size_t(row)] : 0;
}

void setHeldCheck(HWND list, int row, int image) {
    LentCells *held = heldRowsOf(list);
    if (held == nullptr || row < 0 || size_t(row) >= held->checks.size() || held->checks[size_t(row)] == image) return;
    const int before = held->checks[size_t(row)];
    held->checks[size_t(row)] = static_cast<unsigned char>(image);
    redrawRow(list, row);
    if (settingOwnCheck(list)) return;
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

void setOwnRowCheck(HWND list, int row, int image) {
    OpenDialog *open = openDialogOf(list);
    if (open != nullptr) ++open->ownCheckChanges;
    setHeldCheck(list, row, image);
    if (open != nullptr) --open->ownCheckChanges;
}

bool settingOwnCheck(HWND list) {
    const OpenDialog *open = openDialogOf(list);
    return open != nullptr && open->ownCheckChanges > 0;
}

bool takeListCheckChange(HWND list, const NMLISTVIEW &change) {
    LentCells *held = heldRowsOf(list);
    if (held == nullptr || held->reporting) return false;
    const int image = int((change.uNewState & LVIS_STATEIMAGEMASK) >> 12);
    if (change.iItem < 0 || size_t(change.iItem) >= held->checks.size() || image < 1) return false;
    held->checks[size_t(change.iItem)] = static_cast<unsigned char>(image);
    held->listChecked = true;
    redrawRow(list, change.iItem);
    return true;
}

void onCheckBoxClick(HWND list, const NMITEMACTIVATE &click) {
    LentCells *held = heldRowsOf(list);
    if (held == nullptr || held->checks.empty()) return;
    const bool listDidIt = held->listChecked;
    held->listChecked = false;
    LVHITTESTINFO hit = {};
    hit.pt = click.ptAction;
    const int row = int(SendMessageW(list, LVM_HITTEST, 0, LPARAM(&hit)));
    if (listDidIt || row < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) return;
    setHeldCheck(list, row, heldCheck(list, row) == kCheckedImage ? kUncheckedImage : kCheckedImage);
}

int markEveryRow(HWND list, EveryRow how) {
    LentCells *held = heldRowsOf(list);
    if (held == nullptr) return 0;
    int checked = 0;
    for (unsigned char &mark : held->checks) {
        const bool on = how == EveryRow::kCheck || (how == EveryRow::kInvert && mark != kCheckedImage);
        mark = static_cast<unsigned char>(on ? kCheckedImage : kUncheckedImage);
        if (on) ++checked;
    }
    InvalidateRect(list, nullptr, FALSE);
    return checked;
}

const TextUnit *heldCell(HWND list, int row, int column, size_t &length) {
    static const TextUnit kNothing = 0;
    const LentCells *held = heldRowsOf(list);
    const TextUnit *cell = held != nullptr ? cellOf(*held, row, column, length) : nullptr;
    if (cell != nullptr) return cell;
    length = 0;
    return &kNothing;
}

WideText heldCellText(HWND list, int row, int column) {
    size_t length = 0;
    const TextUnit *cell = heldCell(list, row, column, length);
    return WideText(cell, length);
}

void setHeldCell(HWND list, int row, int column, const TextUnit *text) {
    LentCells *held = heldRowsOf(list);
    if (held == nullptr || row < 0 || column < 0 || column > held->columns) return;
    held->edited[std::make_pair(row, column == 0 ? 1 : column)] = WideText(text, wideLength(text));
    redrawRow(list, row);
}

bool answerCellText(NMLVDISPINFOW *request) {
    const LentCells *l = heldRowsOf(request->hdr.hwndFrom);
    if (l == nullptr) return false;
    LVITEMW &item = request->item;
    if ((item.mask & LVIF_STATE) && item.iSubItem == 0) {
        const int image = heldCheck(l->list, item.iItem);
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | (image > 0 ? INDEXTOSTATEIMAGEMASK(image) : 0);
    }
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return true;
    size_t length = 0;
    const TextUnit *cell = nullptr;
    // Column 0 is drawn empty, and read as the row's first cell.
    if (!(item.iSubItem == 0 && l->painting)) cell = cellOf(*l, item.iItem, item.iSubItem, length);
    length = cell != nullptr ? wholeCharacterCut(cell, length, size_t(item.cchTextMax) - 1) : 0;
    if (cell != nullptr) std::copy(cell, cell + length, item.pszText);
    item.pszText[length] = 0;
    return true;
}

int answerFindRow(const NMLVFINDITEMW *request) {
    const LentCells *l = heldRowsOf(request->hdr.hwndFrom);
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
        const TextUnit *cell = cellOf(*l, row, 1, length);
        if (cell == nullptr) continue;
        const int compared = (find.flags & LVFI_PARTIAL) ? std::min(int(length), wanted) : int(length);
        if ((find.flags & LVFI_PARTIAL) && int(length) < wanted) continue;
        if (compared == wanted && plainlyDifferent(cell, find.psz, wanted)) continue;
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, cell, compared, find.psz, wanted) == CSTR_EQUAL) {
            return row;
        }
    }
    return -1;
}

bool followListPainting(const NMHDR *header, LRESULT &answer) {
    if (header->code != UINT(NM_CUSTOMDRAW)) return false;
    LentCells *lent = heldRowsOf(header->hwndFrom);
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
