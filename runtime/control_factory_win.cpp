#include "runtime/entry_guard_win.h"
#include "runtime/control_factory.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "model/datetext.h"
#include "model/dialog_definition.h"
#include "model/fields.h"
#include "resources/resource_ids.h"
#include "runtime/control_kinds.h"
#include "runtime/fonts.h"
#include "runtime/grid_rules.h"
#include "runtime/list_view_win.h"
#include "runtime/module.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"
#include "runtime/readback_rules.h"
#include "runtime/slider_rules.h"

namespace {

// ---- sizes and limits --------------------------------------------------

// In script units, as every size the dialog's slots give.
constexpr size_t kMaxSelectionUnits = 1024;  // preselected combobox entry
// Radio button ids run from slot x 100 + 1; a group of more than 99 buttons
// would take the ids of the next slot's group.
constexpr int kMaxRadioButtons = kRadioIdFactor - 1;
// A list view takes no more columns than this, and the bound keeps a wild
// column count from stalling the dialog.
constexpr int kMaxDataColumns = 100000;
// A text shown in a read-only field: a stop for Tab, so that the keyboard
// reaches it to scroll and copy.
constexpr DWORD kScrollingTextStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;


// ---- '|'-separated texts -----------------------------------------------

// The cells of a list text: every one of them, however long the text.
WideFields listCells(const WideText &text) {
    return WideFields(text);
}

// ---- list views --------------------------------------------------------

int columnFormat(const NarrowText &letters, int column) {
    size_t at = size_t(column - 1);
    if (at >= letters.length()) return LVCFMT_LEFT;
    if (letters[at] == 'R') return LVCFMT_RIGHT;
    if (letters[at] == 'C') return LVCFMT_CENTER;
    return LVCFMT_LEFT;
}

int dataColumnCount(const ControlSpec &slot) {
    return std::min(std::max(listColumnCount(slot), 0), kMaxDataColumns);
}

// Data columns 1..count: titles from the header text and the alignment
// letters. fitSlotColumns sizes them once the rows are in.
void addDataColumns(HWND list, const ControlSpec &slot, int count) {
    const WideText &titles = listColumnTitles(slot);
    const WideFields titleFields(titles.data(), std::min(titles.length(), kMaxFieldScan));
    for (int k = 1; k <= count; ++k) {
        WideText title = titleFields.text(size_t(k - 1));
        insertColumn(list, k, title.data(), 0, columnFormat(listAlignment(slot), k));
    }
}

// Gives a list that holds no rows of its own (LVS_OWNERDATA) one row for
// every `columns` cells (a last row may be short): the rows, their check
// marks and edited cells stay in the dialog's record, and the list asks for
// what it draws, so a list of a million rows opens about as fast as one of
// ten. A row's own text is its first cell (see answerCellText). Returns the
// number of rows.
int lendRows(HWND list, const ControlSpec &slot, const WideFields &cells, int columns, bool withCheckBoxes) {
    // Titles without a column count give no column to hold a cell, so no row.
    const int rows = listRowCount(cells.itemCount(), columns);
    holdRows(list, slot.text, columns, rows, withCheckBoxes);
    // The check marks are ours to draw.
    if (withCheckBoxes) SendMessageW(list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, WPARAM(rows), 0);
    return rows;
}

// Checks the rows whose key is one of the wanted values: in single selection
// only the first such row, which becomes the chosen row. Returns the first
// row checked, -1 for none.
int preselectRows(HWND list, ControlSpec &slot, const WideFields &cells, int columns, int rows) {
    const bool multiple = listMultiple(slot) != 0;
    int first = -1;
    for (int row : preselectedRows(slot, cells, columns, rows, !multiple)) {
        // Checked by the script, not by a click: no "b1ns" button wakes.
        setOwnRowCheck(list, row, kCheckedImage);
        if (!multiple) setListChosenRow(slot, row);
        if (first < 0 || row < first) first = row;
    }
    return first;
}

// Every control of a dialog is placed here, from the script units of its
// slot (x and y given apart for the buttons of a radio group).
HWND createWindow(const ControlBuild &build, DWORD style, int x, int y, int id) {
    const KindRow &row = build.row;
    const ControlSpec &slot = build.slot;
    const Scale scale = scaleOf(build.parent);
    HWND made = CreateWindowExW(row.exStyle, row.className, (row.options & kNoWindowName) ? nullptr : TEXT16(""),
                                style, scale.pixels(x), scale.pixels(y), scale.pixels(slot.width),
                                scale.pixels(slot.height), build.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (OpenDialog *open = openDialogOf(build.parent)) open->madeFor(build.index, made);
    return made;
}

// A text shorter than one line of its font grows downward to one line.
void keepOneLine(HWND text) {
    HDC dc = GetDC(text);
    if (dc == nullptr) return;
    HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    const bool measured = GetTextMetricsW(dc, &metrics) != FALSE;
    SelectObject(dc, before);
    ReleaseDC(text, dc);
    RECT r;
    GetWindowRect(text, &r);
    if (measured && r.bottom - r.top < metrics.tmHeight) {
        SetWindowPos(text, nullptr, 0, 0, r.right - r.left, metrics.tmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace

HWND slotControlIn(HWND parent, int index) {
    if (index < 0 || index >= kSlotCount) return nullptr;
    const KindRow &row = kindRow(dialog().controls[index]);
    return row.className != nullptr ? GetDlgItem(parent, index * row.readIdFactor + row.readFirstId) : nullptr;
}

void placeSlotControl(HWND parent, int index) {
    HWND control = slotControlIn(parent, index);
    if (control == nullptr) return;
    const ControlSpec &slot = dialog().controls[index];
    const KindRow &row = kindRow(slot);
    if (row.relayout != nullptr) {
        row.relayout(control, slot);
    } else {
        placeControl(control, scaleOf(parent), slot);
    }
}

void placeControl(HWND control, const Scale &scale, const ControlSpec &slot) {
    const RECT place = pixelRect(scale, slot);
    MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    if (kindRow(slot).options & kOneLineAtLeast) keepOneLine(control);
}

// ---- content steps -----------------------------------------------------

HWND noContent(const ControlBuild &, HWND window) {
    return window;
}

// An edit takes at most 30,000 typed characters unless told otherwise;
// what a script gives it or a user types is never cut short.
HWND liftEditLimit(const ControlBuild &, HWND edit) {
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    return edit;
}

HWND markButton(const ControlBuild &build, HWND window) {
    // Enabled later by the list it depends on; the dialog procedure disables
    // it once every control exists.
    if (build.slot.requiresSelection == 1) build.slot.disabled = 1;
    return window;
}

// Items each ended by '|' (the last may lack it), then optionally '=' and
// the entry to preselect by the system's case-insensitive prefix match.
HWND fillComboBox(const ControlBuild &build, HWND combo) {
    const WideText &text = build.slot.text;
    const TextUnit *equalsSign = std::find(text.data(), text.data() + text.length(), TextUnit('='));
    size_t itemUnits = size_t(equalsSign - text.data());
    const WideFields items(text.data(), itemUnits);
    for (size_t n = 0; n < items.itemCount(); ++n) {
        // As every text a field shows, so that the field reads it back unchanged.
        WideText entry = withLineFeeds(items.text(n));
        SendMessageW(combo, CB_INSERTSTRING, WPARAM(-1), LPARAM(entry.data()));
    }
    if (itemUnits < text.length()) {
        size_t start = itemUnits + 1;
        WideText selection = withLineFeeds(WideText(text.data() + start, std::min(text.length() - start, kMaxSelectionUnits)));
        // "=" with nothing after it asks for no entry; the prefix match of an
        // empty text would pick the first one.
        if (!selection.empty()) SendMessageW(combo, CB_SELECTSTRING, WPARAM(-1), LPARAM(selection.data()));
    }
    return combo;
}

HWND fillCheckList(const ControlBuild &build, HWND list) {
    RedrawPause pause(list);
    ControlSpec &slot = build.slot;
    // The whole row shows which one Space checks, not a frame round an
    // empty first cell.
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    insertColumn(list, 0, TEXT16(""), kCheckColumnWidth, LVCFMT_LEFT);
    int columns = 1;
    if (listColumnTitles(slot).empty()) {
        insertColumn(list, 1, TEXT16(""), 0, LVCFMT_LEFT);
    } else {
        columns = dataColumnCount(slot);
        addDataColumns(list, slot, columns);
    }
    const WideFields cells = listCells(slot.text);
    const int rows = lendRows(list, slot, cells, columns, true);
    const int firstChecked = preselectRows(list, slot, cells, columns, rows);
    // A current row from the start, so that the first Space checks a row.
    if (rows > 0) makeCurrentRow(list, firstChecked >= 0 ? firstChecked : 0);
    fitSlotColumns(list, slot);
    return list;
}

HWND fillPlainList(const ControlBuild &build, HWND list) {
    RedrawPause pause(list);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    insertColumn(list, 0, TEXT16(""), build.slot.width, LVCFMT_LEFT);
    const WideFields cells = listCells(build.slot.text);
    for (size_t n = 0; n < cells.itemCount(); ++n) {
        WideText label = cells.text(n);
        insertRow(list, int(n), label.data(), false);
    }
    fitSlotColumns(list, build.slot);
    return list;
}

void fitSlotColumns(HWND list, const ControlSpec &slot) {
    const ColumnFit fit = kindRow(slot).fitColumns;
    if (fit != nullptr) fit(list, slot);
}

void fitPlainListColumns(HWND list, const ControlSpec &slot) {
    const NarrowFields evenShares("", 0);
    fitListColumns(list, pixelRect(scaleOf(list), slot), kWholeRoom, evenShares, 0);
}

// A check column, then the data columns by the widths text; without column
// titles one column takes the rest.
void fitCheckListColumns(HWND list, const ControlSpec &slot) {
    const RECT place = pixelRect(scaleOf(list), slot);
    const int checkColumnWidth = scaleOf(list).pixels(kCheckColumnWidth);
    if (listColumnTitles(slot).empty()) {
        const NarrowFields evenShares("", 0);
        fitListColumns(list, place, checkColumnWidth, evenShares, 1);
        return;
    }
    const NarrowText &widths = listColumnWidths(slot);
    const NarrowFields widthFields(widths.data(), std::min(widths.length(), kMaxWidthTextUnits));
    fitListColumns(list, place, checkColumnWidth, widthFields, dataColumnCount(slot));
}

void fitGridColumns(HWND list, const ControlSpec &slot) {
    const NarrowText &widths = listColumnWidths(slot);
    const NarrowFields widthFields(widths.data(), std::min(widths.length(), kMaxWidthTextUnits));
    fitListColumns(list, pixelRect(scaleOf(list), slot), 0, widthFields, dataColumnCount(slot));
}

// The grid: column 0 is hidden, data columns as in a check-box
// list but without the header-less fallback and without preselection. A
// cell the user edits holds its own text from then on.
HWND fillGrid(const ControlBuild &build, HWND list) {
    RedrawPause pause(list);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    insertColumn(list, 0, TEXT16(""), 0, LVCFMT_LEFT);
    const int columns = dataColumnCount(build.slot);
    addDataColumns(list, build.slot, columns);
    lendRows(list, build.slot, listCells(build.slot.text), columns, false);
    fitSlotColumns(list, build.slot);
    return list;
}

// The 32-bit range messages: TBM_SETRANGE packs both ends into 16 bits
// each and would cut a maximum above 32,767. The tick frequency goes first,
// so no range is ever marked step by step.
HWND setSliderRange(const ControlBuild &build, HWND slider) {
    const SliderScale scale = sliderScale(sliderMaximum(build.slot), sliderPosition(build.slot));
    SendMessageW(slider, TBM_SETTICFREQ, WPARAM(scale.tickFrequency), 0);
    SendMessageW(slider, TBM_SETRANGEMAX, FALSE, LPARAM(scale.maximum));
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, LPARAM(scale.minimum));
    SendMessageW(slider, TBM_SETPOS, TRUE, LPARAM(scale.position));
    return slider;
}

namespace {

void setPickerValue(HWND picker, const DateTimeRecord &record) {
    SYSTEMTIME value;
    copyToSystemTime(record, &value);
    // A record that is no valid date is refused; the picker keeps today.
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&value));
}

} // namespace

HWND setDate(const ControlBuild &build, HWND picker) {
    const WideText &text = build.slot.text;
    setPickerValue(picker, parseDateText(text.data(), text.length(), localeDateOrder()));
    return picker;
}

HWND setTime(const ControlBuild &build, HWND picker) {
    SendMessageW(picker, DTM_SETFORMATW, 0, LPARAM(TEXT16("h:mm tt")));
    setPickerValue(picker, parseTimeText(build.slot.text.data()));
    return picker;
}

HWND setCheck(const ControlBuild &build, HWND box) {
    if (checkBoxChecked(build.slot) == 1) SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    return box;
}

namespace {

// Where button `k` of a radio group lies, in script units: rows of
// radioColumns buttons (0 or less counts as one), each the slot's size.
POINT radioButtonAt(const ControlSpec &slot, size_t k) {
    const size_t perRow = size_t(std::max(radioColumns(slot), 1));
    return POINT{LONG(slot.x + int(k % perRow) * slot.width), LONG(slot.y + int(k / perRow) * slot.height)};
}

} // namespace

// One auto radio button per caption, laid out in rows of radioColumns
// buttons (0 or less counts as one); the button numbered radioChecked is
// checked.
HWND makeRadioGroup(const ControlBuild &build, HWND) {
    const ControlSpec &slot = build.slot;
    const WideFields captions(slot.text);
    const size_t count = std::min(captions.itemCount(), size_t(kMaxRadioButtons));
    HWND last = nullptr;
    // Tab stops at the checked button, or at the first when none is; the
    // arrows walk the group.
    const size_t stop = radioChecked(slot) >= 1 && size_t(radioChecked(slot)) <= count ? size_t(radioChecked(slot) - 1) : 0;
    for (size_t k = 0; k < count; ++k) {
        DWORD style = k == 0 ? build.row.style : build.row.style & ~DWORD(WS_GROUP);
        if (k != stop) style &= ~DWORD(WS_TABSTOP);
        const POINT at = radioButtonAt(slot, k);
        HWND button = createWindow(build, style, at.x, at.y, build.index * kRadioIdFactor + 1 + int(k));
        if (button != nullptr) {
            SetWindowTextW(button, withLineFeeds(captions.text(k)).data());
            applyControlFont(button, slot.font);
            if (int(k) + 1 == radioChecked(slot)) SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
            last = button;
        }
    }
    return last;
}

// The group's buttons are found by their ids from the first one's.
void relayoutRadioGroup(HWND firstButton, const ControlSpec &slot) {
    HWND parent = GetParent(firstButton);
    const int firstId = GetDlgCtrlID(firstButton);
    const Scale scale = scaleOf(parent);
    for (int k = 0; k < kMaxRadioButtons; ++k) {
        HWND button = GetDlgItem(parent, firstId + k);
        if (button == nullptr) break;
        const POINT at = radioButtonAt(slot, size_t(k));
        MoveWindow(button, scale.pixels(at.x), scale.pixels(at.y), scale.pixels(slot.width), scale.pixels(slot.height),
                   TRUE);
    }
}

namespace {

DWORD creationStyle(const KindRow &row, const ControlSpec &slot) {
    DWORD style = row.style;
    if (row.options & kAddsExtraStyle) style |= slot.extraStyle;
    if ((row.options & kHeaderless) && listColumnCount(slot) == 0) style |= LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS;
    return style;
}

void registerClasses(DWORD classes) {
    if (classes == 0) return;
    INITCOMMONCONTROLSEX request = {sizeof request, classes};
    InitCommonControlsEx(&request);
}

} // namespace

void createControl(HWND parent, int index) {
    if (index < 0 || index >= kSlotCount) return;
    ControlSpec &slot = dialog().controls[index];
    OpenDialog *open = openDialogOf(parent);
    // A text too long for its dialog becomes a read-only field that scrolls,
    // which a user can also select and copy from; it reads back as the text.
    const bool scrolls = open != nullptr && open->scrollingTexts.test(size_t(index));
    const KindRow *row = scrolls ? &kindRow(ControlKind::kEditBox) : &kindRow(slot);
    if (row->className == nullptr) return;
    registerClasses(row->commonControls);

    ControlBuild build{parent, index, slot, *row};
    HWND window = nullptr;
    if (row->options & kComposite) {
        window = row->content(build, nullptr);
    } else {
        const DWORD style = scrolls ? kScrollingTextStyle : creationStyle(*row, slot);
        window = createWindow(build, style, slot.x, slot.y, index + row->idOffset);
        if (window != nullptr) {
            row->content(build, window);
            if (row->finish != kNoFinish) applyControlFont(window, slot.font);
            if (row->finish == kFontAndText) SendMessageW(window, WM_SETTEXT, 0, LPARAM(withLineFeeds(slot.text).data()));
            if (row->options & kOneLineAtLeast) keepOneLine(window);
        }
    }
    if (open != nullptr) open->madeFor(index, window);
}
