#include "runtime/entry_guard_win.h"
#include "runtime/control_factory.h"

#include <commctrl.h>
#include <uxtheme.h>

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
#include "runtime/readback_rules.h"
#include "runtime/slider_rules.h"

namespace {

// ---- sizes and limits --------------------------------------------------

// In script units, as every size the dialog's slots give.
constexpr int kTabControlLeft = 10;           // in the dialog
constexpr int kTabControlTop = 10;            // in the dialog
constexpr int kTabControlWidthAllowance = 28; // dialog width minus the tab control's
constexpr int kTabStripHeight = 15;           // the tab control is this much taller than a page
constexpr size_t kMaxSelectionUnits = 1024;  // preselected combobox entry
// Radio button ids run from slot x 100 + 1; a group of more than 99 buttons
// would take the ids of the next slot's group.
constexpr int kMaxRadioButtons = kRadioIdFactor - 1;
// A list view takes no more columns than this, and the bound keeps a wild
// column count from stalling the dialog.
constexpr int kMaxDataColumns = 100000;


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
    lendCellTexts(list, slot.text, columns, rows, withCheckBoxes);
    // The check marks are ours to draw.
    if (withCheckBoxes) SendMessageW(list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, WPARAM(rows), 0);
    return rows;
}

// Checks the rows whose key is one of the wanted values: in single selection
// only the first such row, which becomes the chosen row.
void preselectRows(HWND list, ControlSpec &slot, const WideFields &cells, int columns, int rows) {
    const bool multiple = listMultiple(slot) != 0;
    for (int row : preselectedRows(slot, cells, columns, rows, !multiple)) {
        // Checked by the script, not by a click: no "b1ns" button wakes.
        setOwnRowCheck(list, row, kCheckedImage);
        if (!multiple) setListChosenRow(slot, row);
    }
}

// Every control of a dialog is placed here, from the script units of its
// slot (x and y given apart for the buttons of a radio group).
HWND createWindow(const ControlBuild &build, DWORD style, int x, int y, int id) {
    const KindRow &row = build.row;
    const ControlSpec &slot = build.slot;
    const Scale scale = scaleOf(build.parent);
    return CreateWindowExW(row.exStyle, row.className, (row.options & kNoWindowName) ? nullptr : TEXT16(""), style,
                           scale.pixels(x), scale.pixels(y), scale.pixels(slot.width), scale.pixels(slot.height),
                           build.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
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
    const KindRow &row = kindRow(dialog().controls[index].kind.control());
    return row.className != nullptr ? GetDlgItem(parent, index * row.readIdFactor + row.readFirstId) : nullptr;
}

void placeSlotControl(HWND parent, int index) {
    HWND control = slotControlIn(parent, index);
    if (control == nullptr) return;
    const ControlSpec &slot = dialog().controls[index];
    const KindRow &row = kindRow(slot.kind.control());
    if (row.relayout != nullptr) {
        row.relayout(control, slot);
    } else {
        placeControl(control, scaleOf(parent), slot);
    }
}

void placeControl(HWND control, const Scale &scale, const ControlSpec &slot) {
    const RECT place = pixelRect(scale, slot);
    MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    if (slot.kind.control() == ControlKind::kStatic) keepOneLine(control);
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

namespace {

HWND fillCheckBoxList(const ControlBuild &build, HWND list) {
    ControlSpec &slot = build.slot;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
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
    preselectRows(list, slot, cells, columns, rows);
    fitSlotColumns(list, slot);
    return list;
}

HWND fillPlainList(const ControlBuild &build, HWND list) {
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

} // namespace

void fitSlotColumns(HWND list, const ControlSpec &slot) {
    const RECT place = pixelRect(scaleOf(list), slot);
    const int checkColumnWidth = scaleOf(list).pixels(kCheckColumnWidth);
    const NarrowText &widths = listColumnWidths(slot);
    const NarrowFields widthFields(widths.data(), std::min(widths.length(), kMaxWidthTextUnits));
    const NarrowFields evenShares("", 0);
    if (slot.kind.control() == ControlKind::kTable) {
        fitListColumns(list, place, 0, widthFields, dataColumnCount(slot));
    } else if (listHasCheckBoxes(slot) != 1) {
        fitListColumns(list, place, kWholeRoom, evenShares, 0);
    } else if (listColumnTitles(slot).empty()) {
        fitListColumns(list, place, checkColumnWidth, evenShares, 1);
    } else {
        fitListColumns(list, place, checkColumnWidth, widthFields, dataColumnCount(slot));
    }
}

HWND fillList(const ControlBuild &build, HWND list) {
    RedrawPause pause(list);
    return listHasCheckBoxes(build.slot) == 1 ? fillCheckBoxList(build, list) : fillPlainList(build, list);
}

// The editable table: column 0 is hidden, data columns as in a check-box
// list but without the header-less fallback and without preselection. A
// cell the user edits holds its own text from then on.
HWND fillTable(const ControlBuild &build, HWND list) {
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

INT_PTR tabPageProcBody(HWND page, UINT message, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR *>(lParam)->code == UINT(LVN_GETDISPINFOW)) {
        return answerCellText(reinterpret_cast<NMLVDISPINFOW *>(lParam));
    }
    LRESULT answer = 0;
    if (message == WM_NOTIFY && followListPainting(reinterpret_cast<NMHDR *>(lParam), answer)) {
        SetWindowLongPtrW(page, DWLP_MSGRESULT, LONG_PTR(answer));
        return TRUE;
    }
    if (message != WM_INITDIALOG) return FALSE;
    EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    const OpenDialog *open = openDialogOf(page);
    if (open == nullptr || open->tabSlotBeingBuilt < 0) return FALSE;
    const int buildingTab = open->tabSlotBeingBuilt;
    for (int place = 0; place < kSlotCount; ++place) {
        const int i = slotMadeAt(dialog(), place);
        const ControlSpec &slot = dialog().controls[i];
        // A page hosts controls; a kind made first (a tab) it never does.
        if (slot.kind.empty() || (kindRow(slot.kind.control()).options & kMadeFirst)) continue;
        if (slot.ownerIndex == buildingTab) createControl(page, i);
    }
    return FALSE;
}

INT_PTR CALLBACK tabPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    return guardEntry(page, INT_PTR(FALSE), [&] { return tabPageProcBody(page, message, lParam); });
}

// The dialog's one tab control, made with the first tab. A handle left from
// an earlier dialog that was not cleared is not taken for this one's.
HWND tabControlOf(const ControlBuild &build) {
    DialogDefinition &d = dialog();
    HWND tabs = d.tabControlWindow;
    if (tabs != nullptr && IsWindow(tabs) && GetParent(tabs) == build.parent) return tabs;
    const Scale scale = scaleOf(build.parent);
    tabs = CreateWindowExW(build.row.exStyle, build.row.className, TEXT16(""), build.row.style,
                           scale.pixels(kTabControlLeft), scale.pixels(kTabControlTop),
                           scale.pixels(d.width - kTabControlWidthAllowance),
                           scale.pixels(build.slot.height + kTabStripHeight), build.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabControlId)),
                           GetModuleHandleW(nullptr), nullptr);
    d.tabControlWindow = tabs;
    return tabs;
}

} // namespace

namespace {

// The pages lie over the tab control's display area as its siblings, made
// after it, so that Tab walks from the tabs into the page shown and on to
// the buttons. The tab control leaves that area to them: without it there,
// it neither paints over a page nor takes the clicks meant for its fields.
void leaveAreaToPage(HWND tabs, HWND page) {
    RECT whole;
    RECT area;
    GetWindowRect(tabs, &whole);
    GetWindowRect(page, &area);
    OffsetRect(&area, -whole.left, -whole.top);
    HRGN kept = CreateRectRgn(0, 0, whole.right - whole.left, whole.bottom - whole.top);
    HRGN hole = CreateRectRgn(area.left, area.top, area.right, area.bottom);
    if (kept != nullptr && hole != nullptr && CombineRgn(kept, kept, hole, RGN_DIFF) != ERROR &&
        SetWindowRgn(tabs, kept, TRUE)) {
        kept = nullptr; // the window owns it now
    }
    if (kept != nullptr) DeleteObject(kept);
    if (hole != nullptr) DeleteObject(hole);
}

// Lays `page` over the display area of `tabs`, where `slot` says.
void placeTabPage(HWND tabs, HWND page, const ControlSpec &slot, BOOL repaint) {
    HWND parent = GetParent(tabs);
    const Scale scale = scaleOf(parent);
    POINT at = {scale.pixels(slot.x), scale.pixels(slot.y)};
    MapWindowPoints(tabs, parent, &at, 1);
    MoveWindow(page, at.x, at.y, scale.pixels(slot.width), scale.pixels(slot.height - kTabStripHeight), repaint);
    leaveAreaToPage(tabs, page);
}

} // namespace

// One tab and its page; the page's procedure creates the page's controls
// while the page is made. The page is a control container of the dialog
// (DS_CONTROL), placed where the slot says within the tab control.
HWND makeTabPage(const ControlBuild &build, HWND) {
    const ControlSpec &slot = build.slot;
    HWND tabs = tabControlOf(build);
    if (tabs == nullptr) return nullptr;
    OpenDialog *open = openDialogOf(build.parent);
    if (open != nullptr) open->tabSlotBeingBuilt = build.index;

    TCITEMW tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<TextUnit *>(tabTitle(slot).data());
    SendMessageW(tabs, TCM_INSERTITEMW, WPARAM(tabPosition(slot)), LPARAM(&tab));

    HWND page = CreateDialogParamW(static_cast<HINSTANCE>(runtimeModule()), MAKEINTRESOURCEW(IDD_TAB_PAGE),
                                   build.parent, tabPageProc, 0);
    SendMessageW(tabs, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (page != nullptr) placeTabPage(tabs, page, slot, FALSE);
    return page;
}

void placeTabs(HWND dialogWindow, int fromDpi) {
    DialogDefinition &d = dialog();
    HWND tabs = d.tabControlWindow;
    if (tabs == nullptr || !IsWindow(tabs) || GetParent(tabs) != dialogWindow) return;
    const Scale scale = scaleOf(dialogWindow);
    bool placed = false;
    for (int index = 0; index < kSlotCount; ++index) {
        const ControlSpec &slot = d.controls[index];
        if (slot.kind.control() != ControlKind::kTabControl || slot.window == nullptr) continue;
        if (!placed) {
            // Sized by the first page, as when it was made.
            MoveWindow(tabs, scale.pixels(kTabControlLeft), scale.pixels(kTabControlTop),
                       scale.pixels(d.width - kTabControlWidthAllowance),
                       scale.pixels(slot.height + kTabStripHeight), TRUE);
            placed = true;
        }
        HWND page = slot.window;
        placeTabPage(tabs, page, slot, TRUE);
        // The page template's own text, placed in dialog units by the
        // dialog manager, grows with the rest.
        if (HWND text = GetDlgItem(page, IDC_TAB_PAGE_STATIC)) {
            RECT r;
            GetWindowRect(text, &r);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT *>(&r), 2);
            MoveWindow(text, MulDiv(r.left, scale.dpi, fromDpi), MulDiv(r.top, scale.dpi, fromDpi),
                       MulDiv(r.right - r.left, scale.dpi, fromDpi), MulDiv(r.bottom - r.top, scale.dpi, fromDpi), TRUE);
        }
        for (int child = 0; child < kSlotCount; ++child) {
            if (d.controls[child].ownerIndex == index) placeSlotControl(page, child);
        }
    }
}

namespace {

DWORD creationStyle(const KindRow &row, const ControlSpec &slot) {
    DWORD style = row.style;
    // The table and the check-box list hold no rows of their own.
    if (slot.kind.control() == ControlKind::kTable ||
        (slot.kind.control() == ControlKind::kList && listHasCheckBoxes(slot) == 1)) {
        style |= LVS_OWNERDATA;
    }
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
    const KindRow *row = &kindRow(slot.kind.control());
    if (row->className == nullptr) {
        slot.window = nullptr;
        return;
    }
    registerClasses(row->commonControls);

    ControlBuild build{parent, index, slot, *row};
    HWND window = nullptr;
    if (row->options & kComposite) {
        window = row->content(build, nullptr);
    } else {
        window = createWindow(build, creationStyle(*row, slot), slot.x, slot.y, index + row->idOffset);
        if (window != nullptr) {
            row->content(build, window);
            if (row->finish != kNoFinish) applyControlFont(window, slot.font);
            if (row->finish == kFontAndText) SendMessageW(window, WM_SETTEXT, 0, LPARAM(withLineFeeds(slot.text).data()));
            if (slot.kind.control() == ControlKind::kStatic) keepOneLine(window);
        }
    }
    slot.window = window;
}
