#include "runtime/owner_data_win.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>

#include "runtime/list_view_win.h"
#include "runtime/open_dialog.h"
#include "model/dialog_definition.h"
#include "runtime/sort_rules.h"

namespace {

LentCells *heldRowsOf(HWND list) {
    OpenDialog *open = openDialogOf(list);
    if (open == nullptr) return nullptr;
    for (const std::unique_ptr<LentCells> &l : open->lentCells) {
        if (l->list == list) return l.get();
    }
    return nullptr;
}

// The record's row that list row `row` shows; -1 for none.
int dataRow(const LentCells &l, int row) {
    if (l.order.empty()) return row;
    return row >= 0 && size_t(row) < l.order.size() ? l.order[size_t(row)] : -1;
}

// A cell by the record's row.
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

int dataRowOf(HWND list, int row) {
    const LentCells *held = heldRowsOf(list);
    return held != nullptr ? dataRow(*held, row) : row;
}

int viewRowOf(HWND list, int data) {
    const LentCells *held = heldRowsOf(list);
    if (held == nullptr || held->place.empty()) return data;
    return data >= 0 && size_t(data) < held->place.size() ? held->place[size_t(data)] : -1;
}

namespace {

constexpr DWORD kSortKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;

// The user's locale's sort key of a text, case aside, without its end.
void askLocaleKey(const TextUnit *text, size_t length, std::string &key) {
    const size_t start = key.size();
    // Most cells fit a key of this size; a longer one is asked for again.
    constexpr int kFirstGuess = 256;
    key.resize(start + kFirstGuess);
    int made = LCMapStringW(LOCALE_USER_DEFAULT, kSortKeyFlags, text, int(length), reinterpret_cast<LPWSTR>(&key[start]),
                            kFirstGuess);
    if (made == 0) {
        const int wanted = LCMapStringW(LOCALE_USER_DEFAULT, kSortKeyFlags, text, int(length), nullptr, 0);
        key.resize(start + size_t(std::max(wanted, 0)));
        made = wanted > 0 ? LCMapStringW(LOCALE_USER_DEFAULT, kSortKeyFlags, text, int(length),
                                         reinterpret_cast<LPWSTR>(&key[start]), wanted)
                          : 0;
    }
    key.resize(start + size_t(std::max(made, 0)));
    while (key.size() > start && key.back() == 0) key.pop_back();
}

// The locale's weights of the letters A to Z (case aside) and the space,
// asked once: a stretch of only these gets its key from them, as the locale
// would make it, without a call a cell, which costs microseconds each under
// Wine and would take seconds for a million rows. Not usable when the
// locale's keys are not made that way, checked on sample texts.
struct PlainWeights {
    bool usable = false;
    std::string weight[128]; // by ASCII unit, lower case
    std::string tail;        // what follows the weights in every such key
};

bool plainUnit(TextUnit unit) {
    return unit == ' ' || (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z');
}

bool composePlainKey(const PlainWeights &w, const TextUnit *text, size_t length, std::string &key) {
    for (size_t i = 0; i < length; ++i) {
        if (!plainUnit(text[i])) return false;
    }
    for (size_t i = 0; i < length; ++i) key += w.weight[text[i] | (text[i] == ' ' ? 0 : 0x20)];
    key += w.tail;
    return true;
}

PlainWeights askPlainWeights() {
    PlainWeights w;
    std::string firstTail;
    for (TextUnit unit = ' '; unit <= 'z'; ++unit) {
        if (!plainUnit(unit) || (unit >= 'A' && unit <= 'Z')) continue;
        std::string key;
        askLocaleKey(&unit, 1, key);
        const size_t separator = key.find('\x01');
        if (separator == std::string::npos || separator == 0) return w;
        w.weight[unit] = key.substr(0, separator);
        const std::string tail = key.substr(separator);
        if (unit == ' ') {
            w.tail = tail;
        } else if (tail != w.tail) {
            return w;
        }
    }
    for (const TextUnit *sample : {TEXT16("Zebra crossing"), TEXT16("a b"), TEXT16("YAK yak"), TEXT16("  q")}) {
        const size_t length = wideLength(sample);
        std::string asked, composed;
        askLocaleKey(sample, length, asked);
        composePlainKey(w, sample, length, composed);
        if (asked != composed) return w;
    }
    w.usable = true;
    return w;
}

void localeKey(const TextUnit *text, size_t length, std::string &key) {
    if (length == 0) return;
    static const PlainWeights weights = askPlainWeights();
    if (weights.usable && composePlainKey(weights, text, length, key)) return;
    askLocaleKey(text, length, key);
}

// The arrow of the order on the sorted column's title, none on the others.
void showSortArrow(HWND list, int column, bool descending) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (header == nullptr) return;
    const int count = int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int k = 0; k < count; ++k) {
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        if (!SendMessageW(header, HDM_GETITEMW, WPARAM(k), LPARAM(&item))) continue;
        int format = item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN);
        if (k == column) format |= descending ? HDF_SORTDOWN : HDF_SORTUP;
        if (format == item.fmt) continue;
        item.fmt = format;
        SendMessageW(header, HDM_SETITEMW, WPARAM(k), LPARAM(&item));
    }
}

} // namespace

bool sortHeldRows(HWND list, int column) {
    LentCells *held = heldRowsOf(list);
    if (held == nullptr || column < 1 || column > held->columns) return false;
    const int rows = rowCount(list);
    const bool descending = held->sortColumn == column && !held->sortDescending;
    const int focused = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    const int focusedData = focused >= 0 ? dataRow(*held, focused) : -1;
    const LentCells &l = *held;
    // Short stretches of text repeat from row to row (a unit, a word before
    // a number): each is asked of the locale once a sort.
    constexpr size_t kShortStretch = 7;
    std::unordered_map<std::wstring, std::string> shortKeys;
    auto key = [&shortKeys](const TextUnit *text, size_t length, std::string &out) {
        if (length > kShortStretch) return localeKey(text, length, out);
        auto known = shortKeys.try_emplace(std::wstring(text, length));
        if (known.second) localeKey(text, length, known.first->second);
        out += known.first->second;
    };
    std::vector<int> order = sortedRows(
        rows, [&l, column](int row, size_t &length) {
            const TextUnit *cell = cellOf(l, row, column, length);
            if (cell == nullptr) length = 0;
            return cell;
        },
        key, descending);
    held->place.assign(order.size(), -1);
    for (size_t at = 0; at < order.size(); ++at) held->place[size_t(order[at])] = int(at);
    held->order = std::move(order);
    held->sortColumn = column;
    held->sortDescending = descending;
    showSortArrow(list, column, descending);
    // The list's selection is by its rows, which now show others.
    if (focusedData >= 0) {
        makeCurrentRow(list, viewRowOf(list, focusedData));
    } else {
        clearSelection(list);
    }
    InvalidateRect(list, nullptr, FALSE);
    return true;
}

int heldCheck(HWND list, int row) {
    const LentCells *held = heldRowsOf(list);
    if (held == nullptr) return 0;
    const int data = dataRow(*held, row);
    return data >= 0 && size_t(data) < held->checks.size() ? held->checks[size_t(data)] : 0;
}

void setHeldCheck(HWND list, int row, int image) {
    LentCells *held = heldRowsOf(list);
    if (held == nullptr) return;
    const int data = dataRow(*held, row);
    if (data < 0 || size_t(data) >= held->checks.size() || held->checks[size_t(data)] == image) return;
    const int before = held->checks[size_t(data)];
    held->checks[size_t(data)] = static_cast<unsigned char>(image);
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
    const int data = dataRow(*held, change.iItem);
    if (data < 0 || size_t(data) >= held->checks.size() || image < 1) return false;
    held->checks[size_t(data)] = static_cast<unsigned char>(image);
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
    const TextUnit *cell = held != nullptr ? cellOf(*held, dataRow(*held, row), column, length) : nullptr;
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
    if (held == nullptr || dataRow(*held, row) < 0 || column < 0 || column > held->columns) return;
    held->edited[std::make_pair(dataRow(*held, row), column == 0 ? 1 : column)] = WideText(text, wideLength(text));
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
    if (!(item.iSubItem == 0 && l->painting)) cell = cellOf(*l, dataRow(*l, item.iItem), item.iSubItem, length);
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
        const TextUnit *cell = cellOf(*l, dataRow(*l, row), 1, length);
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
