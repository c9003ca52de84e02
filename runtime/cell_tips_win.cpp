#include "runtime/cell_tips_win.h"

#include <algorithm>

#include "model/dialog_definition.h"
#include "runtime/list_view_win.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"

namespace {

// What a list view leaves round a cell's text, in pixels: the column's text
// starts this far in and stops as far before its edge.
constexpr int kCellTextMargin = 12;
constexpr int kTipWidth = 480; // pixels; a longer text wraps

bool isList(const OpenDialog &open, HWND window) {
    const int slot = open.slotOf(window);
    if (slot < 0 || open.windowOf(slot) != window) return false;
    const ControlKind kind = slotKind(dialog().controls[slot]);
    return kind == ControlKind::kPlainList || kind == ControlKind::kCheckList || kind == ControlKind::kGrid;
}

// The first column that holds a cell: a list that holds its rows in the
// dialog's record keeps column 0 for its check box or for nothing.
int firstTextColumn(HWND list) {
    return holdsNoRows(list) ? 1 : 0;
}

// The list row and column under the mouse; -1 for none.
void cellUnderMouse(HWND list, int &row, int &column) {
    LVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(list, &hit.pt);
    row = int(SendMessageW(list, LVM_SUBITEMHITTEST, 0, LPARAM(&hit)));
    column = row >= 0 && (hit.flags & LVHT_ONITEM) ? hit.iSubItem : -1;
    if (row < 0) column = -1;
}

CellTip *tipOf(OpenDialog &open, HWND list) {
    for (CellTip &t : open.cellTips) {
        if (t.list == list) return &t;
    }
    return nullptr;
}

// Owned by the dialog, which takes it along when it goes. The list's mouse
// messages are handed to it from the dialog's loop rather than by a
// procedure of its own over the list's.
CellTip *makeTip(OpenDialog &open, HWND list) {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, open.window, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) return nullptr;
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = open.window;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip, TTM_ADDTOOLW, 0, LPARAM(&tool));
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, LPARAM(kTipWidth));
    CellTip made;
    made.list = list;
    made.tip = tip;
    open.cellTips.push_back(made);
    return &open.cellTips.back();
}

WideText cellText(HWND list, int row, int column) {
    if (holdsNoRows(list)) return heldCellText(list, row, column);
    CellReader reader(list);
    return reader.text(row, column);
}

} // namespace

void followListMouse(const MSG &message) {
    if (message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
    HWND list = message.hwnd;
    OpenDialog *open = openDialogOf(list);
    if (open == nullptr || !isList(*open, list)) return;
    CellTip *tip = tipOf(*open, list);
    if (tip == nullptr) tip = makeTip(*open, list);
    if (tip == nullptr) return;
    // A tip stays with its cell: moving to another cell hides it, so the
    // next one asks for that cell's text.
    if (message.message == WM_MOUSEMOVE) {
        int row = -1, column = -1;
        cellUnderMouse(list, row, column);
        if (row != tip->row || column != tip->column) {
            tip->row = row;
            tip->column = column;
            SendMessageW(tip->tip, TTM_POP, 0, 0);
        }
    }
    MSG relayed = message;
    SendMessageW(tip->tip, TTM_RELAYEVENT, 0, LPARAM(&relayed));
}

bool answerCellTip(NMHDR *header) {
    if (header->code != UINT(TTN_GETDISPINFOW)) return false;
    HWND list = reinterpret_cast<HWND>(header->idFrom);
    OpenDialog *open = IsWindow(list) ? openDialogOf(list) : nullptr;
    CellTip *tip = open != nullptr ? tipOf(*open, list) : nullptr;
    if (tip == nullptr || tip->tip != header->hwndFrom) return false;
    NMTTDISPINFOW *request = reinterpret_cast<NMTTDISPINFOW *>(header);
    request->szText[0] = 0;
    request->lpszText = request->szText;
    int row = -1, column = -1;
    cellUnderMouse(list, row, column);
    tip->row = row;
    tip->column = column;
    if (column < firstTextColumn(list)) return true;
    tip->text = cellText(list, row, column);
    if (tip->text.empty()) return true;
    const int wanted = int(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, LPARAM(tip->text.data())));
    const int width = int(SendMessageW(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
    const TextUnit *start = tip->text.data();
    const TextUnit *end = start + tip->text.length();
    const bool lines = std::find(start, end, TextUnit(13)) != end;
    if (wanted + kCellTextMargin <= width && !lines) return true;
    tip->text = withLineFeeds(tip->text);
    request->lpszText = const_cast<TextUnit *>(tip->text.data());
    return true;
}
