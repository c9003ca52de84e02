// The pages of a tab dialog: one tab control for the dialog, one page (a
// control container of the dialog) per "tabcontrol" slot, made with the
// controls that slot hosts; the tab control shows the chosen tab's page.
// The tab kind's row names these steps.
#include "runtime/control_kinds.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "model/dialog_definition.h"
#include "resources/resource_ids.h"
#include "runtime/control_factory.h"
#include "runtime/entry_guard_win.h"
#include "runtime/list_view_win.h"
#include "runtime/module.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"

namespace {

// In script units, as every size the dialog's slots give.
constexpr int kTabControlLeft = 10;           // in the dialog
constexpr int kTabControlTop = 10;            // in the dialog
constexpr int kTabControlWidthAllowance = 28; // dialog width minus the tab control's
constexpr int kTabStripHeight = 15;           // the tab control is this much taller than a page

// A page made for tab slot `tabSlot` (the creation parameter) makes the
// controls that slot hosts, in the dialog's reading order.
void makePageControls(HWND page, int tabSlot) {
    EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    for (int place = 0; place < kSlotCount; ++place) {
        const int i = slotMadeAt(dialog(), place);
        const ControlSpec &slot = dialog().controls[i];
        // A page hosts controls; a kind made first (a tab) it never does.
        if (slot.kind.empty() || (kindRow(slot).options & kMadeFirst)) continue;
        if (slot.ownerIndex == tabSlot) createControl(page, i);
    }
}

INT_PTR tabPageProcBody(HWND page, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        makePageControls(page, int(lParam));
        return FALSE;
    }
    if (message != WM_NOTIFY) return FALSE;
    // The lists on a page ask the page for their cells and paint through it.
    NMHDR *header = reinterpret_cast<NMHDR *>(lParam);
    if (header->code == UINT(LVN_GETDISPINFOW)) return answerCellText(reinterpret_cast<NMLVDISPINFOW *>(header));
    LRESULT answer = 0;
    if (followListPainting(header, answer)) {
        SetWindowLongPtrW(page, DWLP_MSGRESULT, LONG_PTR(answer));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK tabPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    return guardEntry(page, INT_PTR(FALSE), [&] { return tabPageProcBody(page, message, lParam); });
}

// The dialog's one tab control, made with the first tab.
HWND tabControlOf(OpenDialog &open, const ControlBuild &build) {
    if (open.tabs != nullptr) return open.tabs;
    const Scale scale = open.scale;
    open.tabs = CreateWindowExW(build.row.exStyle, build.row.className, TEXT16(""), build.row.style,
                                scale.pixels(kTabControlLeft), scale.pixels(kTabControlTop),
                                scale.pixels(dialog().width - kTabControlWidthAllowance),
                                scale.pixels(build.slot.height + kTabStripHeight), build.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabControlId)), GetModuleHandleW(nullptr),
                                nullptr);
    return open.tabs;
}

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

// The page template's own text, placed in dialog units by the dialog
// manager, grows with the rest from `fromDpi` to `scale`.
void rescalePageText(HWND page, const Scale &scale, int fromDpi) {
    HWND text = GetDlgItem(page, IDC_TAB_PAGE_STATIC);
    if (text == nullptr) return;
    RECT r;
    GetWindowRect(text, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT *>(&r), 2);
    MoveWindow(text, MulDiv(r.left, scale.dpi, fromDpi), MulDiv(r.top, scale.dpi, fromDpi),
               MulDiv(r.right - r.left, scale.dpi, fromDpi), MulDiv(r.bottom - r.top, scale.dpi, fromDpi), TRUE);
}

} // namespace

// One tab and its page; the page's procedure creates the page's controls
// while the page is made. The page is a control container of the dialog
// (DS_CONTROL), placed where the slot says within the tab control.
HWND makeTabPage(const ControlBuild &build, HWND) {
    OpenDialog *open = openDialogOf(build.parent);
    if (open == nullptr) return nullptr;
    const ControlSpec &slot = build.slot;
    HWND tabs = tabControlOf(*open, build);
    if (tabs == nullptr) return nullptr;

    TCITEMW tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<TextUnit *>(tabTitle(slot).data());
    SendMessageW(tabs, TCM_INSERTITEMW, WPARAM(tabPosition(slot)), LPARAM(&tab));

    HWND page = CreateDialogParamW(static_cast<HINSTANCE>(runtimeModule()), MAKEINTRESOURCEW(IDD_TAB_PAGE),
                                   build.parent, tabPageProc, LPARAM(build.index));
    SendMessageW(tabs, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (page == nullptr) return nullptr;
    placeTabPage(tabs, page, slot, FALSE);
    open->pages.push_back(build.index);
    return page;
}

void placeTabs(OpenDialog &open, int fromDpi) {
    if (open.tabs == nullptr || open.pages.empty()) return;
    const DialogDefinition &d = dialog();
    const Scale scale = open.scale;
    // Sized by the first page, as when it was made.
    MoveWindow(open.tabs, scale.pixels(kTabControlLeft), scale.pixels(kTabControlTop),
               scale.pixels(d.width - kTabControlWidthAllowance),
               scale.pixels(d.controls[open.pages.front()].height + kTabStripHeight), TRUE);
    for (int index : open.pages) {
        HWND page = open.windowOf(index);
        if (page == nullptr) continue;
        placeTabPage(open.tabs, page, d.controls[index], TRUE);
        rescalePageText(page, scale, fromDpi);
        for (int child = 0; child < kSlotCount; ++child) {
            if (d.controls[child].ownerIndex == index) placeSlotControl(page, child);
        }
    }
}

// The tab control notifies for all its tabs: the page of the chosen tab is
// shown, every other one hidden.
bool onTabNotify(HWND dialogWindow, int, NMHDR *header, LRESULT &) {
    const OpenDialog *open = openDialogOf(dialogWindow);
    if (open == nullptr || header->code != UINT(TCN_SELCHANGE)) return false;
    const int current = int(SendMessageW(open->tabs, TCM_GETCURSEL, 0, 0));
    HWND shown = nullptr;
    for (int index : open->pages) {
        HWND page = open->windowOf(index);
        if (page != nullptr) ShowWindow(page, SW_HIDE);
        if (tabPosition(dialog().controls[index]) == current) shown = page;
    }
    if (shown != nullptr) ShowWindow(shown, SW_SHOW);
    return true;
}

void showFirstTabPage(HWND dialogWindow, int slot) {
    const OpenDialog *open = openDialogOf(dialogWindow);
    const ControlSpec &s = dialog().controls[slot];
    if (open == nullptr || tabShownFirst(s) != 1) return;
    SendMessageW(open->tabs, TCM_SETCURSEL, WPARAM(tabPosition(s)), 0);
    if (HWND page = open->windowOf(slot)) ShowWindow(page, SW_SHOW);
}

// A page is a container, never a place for the keyboard: with the focus on
// a page, a key the dialog looks up as a mnemonic walks the dialog's
// controls for ever, since no walk from the dialog reaches into a page.
// The tab control takes the focus instead.
HWND tabFocusWindow(const OpenDialog &open, int) {
    return open.tabs;
}

HWND tabPageAt(const OpenDialog &open, int position) {
    for (int index : open.pages) {
        if (tabPosition(dialog().controls[index]) == position) return open.windowOf(index);
    }
    return nullptr;
}
