#include "runtime/entry_guard_win.h"
#include "runtime/cell_editor.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "model/dialog_definition.h"
#include "runtime/control_factory.h"
#include "runtime/fonts.h"
#include "runtime/grid_rules.h"
#include "runtime/list_view_win.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"

namespace {

constexpr DWORD kChoiceListStyle = 0x50A10343; // the "combobox" kind's: a drop-down list
constexpr int kChoiceBoxHeight = 15;           // script units asked for; the box takes its font's height
constexpr UINT_PTR kGridSubclassId = 1;
// Posted to the grid when the drop-down list is done: a window cannot go
// while it is still sending the notification that says so.
constexpr UINT kChoiceListDone = WM_APP + 1;

constexpr UINT_PTR kEditorSubclassId = 2;

bool isCurrentGrid(const EditedCell &c, HWND grid) {
    return grid != nullptr && grid == c.grid && c.slot >= 0 && c.slot < kSlotCount;
}

CellEdit currentEdit(const EditedCell &c) {
    return cellEditOf(gridColumnKinds(dialog().controls[c.slot]), c.column);
}

// The current cell's rectangle in the grid's client area; its width is the
// column's, also where the grid shows only part of it.
RECT currentCellRect(const EditedCell &c) {
    RECT cell = {};
    cell.top = c.column;
    cell.left = LVIR_BOUNDS;
    SendMessageW(c.grid, LVM_GETSUBITEMRECT, WPARAM(c.row), LPARAM(&cell));
    cell.right = cell.left + int(SendMessageW(c.grid, LVM_GETCOLUMNWIDTH, WPARAM(c.column), 0));
    return cell;
}

// ---- the text editor ------------------------------------------------------

// Keeps the label editor over the current cell: the list view places and
// widens it for the hidden label column, and every such move is turned into
// one over the cell, the height staying the row's.
LRESULT CALLBACK editorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);

LRESULT editorProcBody(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    OpenDialog *open = openDialogOf(editor);
    if (open != nullptr && editor == open->cell.editor) {
        EditedCell &c = open->cell;
        if (message == WM_WINDOWPOSCHANGING && isCurrentGrid(c, GetParent(editor))) {
            WINDOWPOS *pos = reinterpret_cast<WINDOWPOS *>(lParam);
            RECT cell = currentCellRect(c);
            if (!(pos->flags & SWP_NOMOVE)) pos->x = cell.left;
            if (!(pos->flags & SWP_NOSIZE)) pos->cx = cell.right - cell.left;
        }
        if (message == WM_NCDESTROY) c.editor = nullptr;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(editor, editorProc, kEditorSubclassId);
    return DefSubclassProc(editor, message, wParam, lParam);
}

LRESULT CALLBACK editorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    return guardEntry(editor, LRESULT(0), [&] { return editorProcBody(editor, message, wParam, lParam); });
}

void releaseEditor(EditedCell &c) {
    if (c.editor != nullptr && IsWindow(c.editor)) RemoveWindowSubclass(c.editor, editorProc, kEditorSubclassId);
    c.editor = nullptr;
}

// The list view begins editing a row's label. Only the row of the last
// click is edited, in the clicked column: the text a user types goes to the
// cell the editor covers. In any column but a text column the editor only
// shows the text.
LRESULT onBeginEdit(EditedCell &c, HWND grid, const NMLVDISPINFOW *info) {
    if (!isCurrentGrid(c, grid) || info->item.iItem != c.row || c.column < 1) return TRUE;
    HWND editor = reinterpret_cast<HWND>(SendMessageW(grid, LVM_GETEDITCONTROL, 0, 0));
    if (editor == nullptr) return TRUE;
    releaseEditor(c);
    WideText text = heldCellText(grid, c.row, c.column);
    SetWindowTextW(editor, text.data());
    // The list view's own limit, or an edit's default of 30,000, would stop
    // a user typing on at the end of a long cell.
    SendMessageW(editor, EM_SETLIMITTEXT, 0, 0);
    if (currentEdit(c) != CellEdit::kText) SendMessageW(editor, EM_SETREADONLY, TRUE, 0);
    c.editor = editor;
    SetWindowSubclass(editor, editorProc, kEditorSubclassId, 0);
    return FALSE;
}

// The label editor closes: an edit that was not cancelled writes its text
// into the cell of a text column. The hidden label stays empty.
LRESULT onEndEdit(EditedCell &c, HWND grid, const NMLVDISPINFOW *info) {
    releaseEditor(c);
    if (!isCurrentGrid(c, grid) || info->item.pszText == nullptr) return FALSE;
    if (info->item.iItem == c.row && currentEdit(c) == CellEdit::kText) {
        setHeldCell(grid, c.row, c.column, info->item.pszText);
    }
    return FALSE;
}

// ---- the drop-down list ---------------------------------------------------

void closeChoiceList(HWND grid, HWND choiceList) {
    if (choiceList == nullptr || !IsWindow(choiceList) || GetParent(choiceList) != grid) return;
    const bool hadFocus = GetFocus() == choiceList;
    DestroyWindow(choiceList);
    if (hadFocus) SetFocus(grid);
}

// The chosen entry goes into the cell it was opened for.
void takeChoice(const EditedCell &c, HWND grid, HWND choiceList) {
    const LRESULT chosen = SendMessageW(choiceList, CB_GETCURSEL, 0, 0);
    if (chosen < 0 || !isCurrentGrid(c, grid)) return;
    const LRESULT length = SendMessageW(choiceList, CB_GETLBTEXTLEN, WPARAM(chosen), 0);
    if (length < 0) return;
    std::vector<TextUnit> text(size_t(length) + 1, 0);
    SendMessageW(choiceList, CB_GETLBTEXT, WPARAM(chosen), LPARAM(text.data()));
    text.back() = 0;
    setHeldCell(grid, c.row, c.column, text.data());
}

// The grid's own procedure sees the drop-down list's notifications, since
// the list is the grid's child, and the grid's end.
LRESULT CALLBACK gridProc(HWND grid, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);

LRESULT gridProcBody(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) != kCellEditorId) break;
        switch (HIWORD(wParam)) {
        case CBN_SELENDOK:
            if (const OpenDialog *open = openDialogOf(grid)) takeChoice(open->cell, grid, reinterpret_cast<HWND>(lParam));
            PostMessageW(grid, kChoiceListDone, 0, lParam);
            return 0;
        case CBN_SELENDCANCEL:
        case CBN_CLOSEUP:
            PostMessageW(grid, kChoiceListDone, 0, lParam);
            return 0;
        default:
            return 0;
        }
    case kChoiceListDone:
        closeChoiceList(grid, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        // A column's divider dragged in the header moves the cells beside it.
        const UINT code = reinterpret_cast<const NMHDR *>(lParam)->code;
        const LRESULT result = DefSubclassProc(grid, message, wParam, lParam);
        if (code == UINT(HDN_ITEMCHANGEDW) || code == UINT(HDN_ITEMCHANGEDA)) cellEditorFollowLayout(grid);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(grid, gridProc, kGridSubclassId);
        if (OpenDialog *open = openDialogOf(grid)) {
            if (open->cell.grid == grid) open->cell = EditedCell();
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(grid, message, wParam, lParam);
}

LRESULT CALLBACK gridProc(HWND grid, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    return guardEntry(grid, LRESULT(0), [&] { return gridProcBody(grid, message, wParam, lParam); });
}

// Lays a drop-down list of the column's choices over the current cell, its
// text chosen when it is one of them, and drops it down. A column without
// choices gets none.
void openChoiceList(const EditedCell &c, HWND grid) {
    const ControlSpec &slot = dialog().controls[c.slot];
    const std::vector<WideText> choices = columnChoices(gridChoices(slot), c.column);
    if (choices.empty()) return;
    const RECT cell = currentCellRect(c);
    HWND choiceList = CreateWindowExW(0, TEXT16("COMBOBOX"), TEXT16(""), kChoiceListStyle, cell.left, cell.top,
                                      cell.right - cell.left, scaleOf(grid).pixels(kChoiceBoxHeight), grid,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCellEditorId)),
                                      GetModuleHandleW(nullptr), nullptr);
    if (choiceList == nullptr) return;
    applyControlFont(choiceList, slot.font);
    size_t units = 0;
    for (const WideText &choice : choices) units += choice.length() + 1;
    // Room for every entry at once: growing it entry by entry would copy the
    // whole list again and again.
    SendMessageW(choiceList, CB_INITSTORAGE, WPARAM(choices.size()), LPARAM(units * sizeof(TextUnit)));
    for (const WideText &choice : choices) {
        SendMessageW(choiceList, CB_INSERTSTRING, WPARAM(-1), LPARAM(choice.data()));
    }
    const WideText current = heldCellText(grid, c.row, c.column);
    SendMessageW(choiceList, CB_SETCURSEL, WPARAM(choiceIndex(choices, current)), 0);
    SetFocus(choiceList);
    SendMessageW(choiceList, CB_SHOWDROPDOWN, TRUE, 0);
}

// Watching the grid from its first click or key on also tells when it
// goes, so no later grid is taken for it.
void followGrid(EditedCell &c, HWND grid, int slot) {
    if (c.grid != grid) c.column = 1;
    c.grid = grid;
    c.slot = slot;
    SetWindowSubclass(grid, gridProc, kGridSubclassId, 0);
}

// Opens what the current cell's column opens over it. With `typed`, the
// text editor starts with that character instead of the cell's text, and
// the choice list goes to the first choice it begins.
void openCell(EditedCell &c, HWND grid, TextUnit typed = 0) {
    if (c.row < 0 || c.column < 1 || c.slot < 0 || c.slot >= kSlotCount) return;
    switch (currentEdit(c)) {
    case CellEdit::kText: {
        HWND editor = reinterpret_cast<HWND>(SendMessageW(grid, LVM_EDITLABELW, WPARAM(c.row), 0));
        if (editor != nullptr && typed != 0) {
            const TextUnit text[2] = {typed, 0};
            SetWindowTextW(editor, text);
            SendMessageW(editor, EM_SETSEL, 1, 1);
        }
        break;
    }
    case CellEdit::kChoice:
        openChoiceList(c, grid);
        if (typed != 0) {
            // The first choice that begins with it, the list left open.
            HWND choiceList = GetDlgItem(grid, kCellEditorId);
            const TextUnit start[2] = {typed, 0};
            const LRESULT found = SendMessageW(choiceList, CB_FINDSTRING, WPARAM(-1), LPARAM(start));
            if (choiceList != nullptr && found != CB_ERR) SendMessageW(choiceList, CB_SETCURSEL, WPARAM(found), 0);
        }
        break;
    case CellEdit::kFixed:
        break;
    }
}

// A click makes its cell the current one; the column's kind decides what
// opens over it.
void onClick(EditedCell &c, HWND grid, int slot, const NMITEMACTIVATE *click) {
    closeChoiceList(grid, GetDlgItem(grid, kCellEditorId));
    // A new current cell; an editor still open stays tracked until it ends.
    followGrid(c, grid, slot);
    c.row = click->iItem;
    c.column = click->iSubItem;
    openCell(c, grid);
}

// ---- the keyboard ---------------------------------------------------------

int focusedRow(HWND grid) {
    return int(SendMessageW(grid, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
}

void showCellCursor(const EditedCell &c) {
    if (c.row >= 0) {
        // Scrolled sideways until the cell is in view, its left edge first.
        RECT client;
        GetClientRect(c.grid, &client);
        const RECT cell = currentCellRect(c);
        int dx = 0;
        if (cell.right > client.right) dx = cell.right - client.right;
        if (cell.left - dx < client.left) dx = cell.left - client.left;
        if (dx != 0) SendMessageW(c.grid, LVM_SCROLL, WPARAM(dx), 0);
    }
    InvalidateRect(c.grid, nullptr, FALSE);
}

// Tab in an open editor or choice list: what it holds goes into the cell,
// and the next cell that opens anything opens, row by row and round.
void editNextCell(EditedCell &c, HWND grid, HWND editor, bool backwards) {
    if (editor == GetDlgItem(grid, kCellEditorId)) {
        takeChoice(c, grid, editor);
        closeChoiceList(grid, editor);
    } else {
        // As Enter in the label editor: what it holds goes into the cell.
        // Losing the focus would drop it on some systems.
        SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    }
    SetFocus(grid);
    const ControlSpec &slot = dialog().controls[c.slot];
    const GridCell next = nextEditableCell(gridColumnKinds(slot), gridChoices(slot), rowCount(grid),
                                           std::max(listColumnCount(slot), 0), GridCell{c.row, c.column},
                                           backwards ? -1 : 1);
    if (next.row < 0) return;
    c.row = next.row;
    c.column = next.column;
    LVITEMW chosen = {};
    chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    chosen.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(grid, LVM_SETITEMSTATE, WPARAM(c.row), LPARAM(&chosen));
    SendMessageW(grid, LVM_ENSUREVISIBLE, WPARAM(c.row), FALSE);
    showCellCursor(c);
    openCell(c, grid);
}

bool keyDown(const MSG &message, UINT key) {
    return message.message == WM_KEYDOWN && message.wParam == key;
}

} // namespace} // namespace

LRESULT cellEditorHandler(HWND listView, UINT, WPARAM slot, NMHDR *header) {
    OpenDialog *open = openDialogOf(listView);
    // A grid of no dialog of ours edits nothing; no label edit begins.
    if (open == nullptr) return header->code == UINT(LVN_BEGINLABELEDITW) ? TRUE : 0;
    EditedCell &c = open->cell;
    switch (header->code) {
    case UINT(NM_CLICK):
        onClick(c, listView, int(slot), reinterpret_cast<const NMITEMACTIVATE *>(header));
        return 0;
    case UINT(LVN_BEGINLABELEDITW):
        return onBeginEdit(c, listView, reinterpret_cast<const NMLVDISPINFOW *>(header));
    case UINT(LVN_ENDLABELEDITW):
        return onEndEdit(c, listView, reinterpret_cast<const NMLVDISPINFOW *>(header));
    case UINT(LVN_BEGINLABELEDITA):
        // The dialogs are Unicode windows, so their grids notify in UTF-16;
        // an 8-bit edit would lose every character outside the code page.
        return TRUE;
    default:
        // A double click is two clicks to the editor; nothing of its own.
        return 0;
    }
}

void cellEditorFollowLayout(HWND listView) {
    closeChoiceList(listView, GetDlgItem(listView, kCellEditorId));
    const OpenDialog *open = openDialogOf(listView);
    if (open == nullptr) return;
    const EditedCell &c = open->cell;
    if (c.editor == nullptr || !IsWindow(c.editor) || GetParent(c.editor) != listView || !isCurrentGrid(c, listView)) {
        return;
    }
    RECT placed;
    GetWindowRect(c.editor, &placed);
    MapWindowPoints(nullptr, listView, reinterpret_cast<POINT *>(&placed), 2);
    RECT cell = currentCellRect(c);
    SetWindowPos(c.editor, nullptr, cell.left, placed.top, cell.right - cell.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void startCellCursor(HWND dialogWindow, int slot) {
    OpenDialog *open = openDialogOf(dialogWindow);
    HWND grid = open != nullptr ? open->windowOf(slot) : nullptr;
    if (grid != nullptr && open->cell.grid == nullptr) followGrid(open->cell, grid, slot);
}

bool cellEditorKey(HWND dialogWindow, int slot, const MSG &message) {
    OpenDialog *open = openDialogOf(dialogWindow);
    const HWND grid = open != nullptr ? open->windowOf(slot) : nullptr;
    if (grid == nullptr) return false;
    EditedCell &c = open->cell;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (message.hwnd != grid) {
        // The text editor or the choice list over a cell.
        if (GetParent(message.hwnd) != grid || !keyDown(message, VK_TAB) || control || !isCurrentGrid(c, grid)) {
            return false;
        }
        editNextCell(c, grid, message.hwnd, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    followGrid(c, grid, slot);
    const int columns = std::max(listColumnCount(dialog().controls[slot]), 0);
    const int row = focusedRow(grid);
    if ((keyDown(message, VK_LEFT) || keyDown(message, VK_RIGHT)) && !control) {
        const int step = message.wParam == VK_LEFT ? -1 : 1;
        c.column = std::min(std::max(c.column + step, 1), std::max(columns, 1));
        c.row = row;
        showCellCursor(c);
        return true;
    }
    // Enter opens the cell while there is one, and presses the default
    // button of a grid without rows.
    if (keyDown(message, VK_F2) || (keyDown(message, VK_RETURN) && row >= 0)) {
        c.row = row;
        // A cell that opens nothing shows its text in a read-only box.
        if (currentEdit(c) == CellEdit::kFixed && row >= 0) {
            SendMessageW(grid, LVM_EDITLABELW, WPARAM(row), 0);
        } else {
            openCell(c, grid);
        }
        return true;
    }
    const bool dropDown = keyDown(message, VK_F4) || (message.message == WM_SYSKEYDOWN && message.wParam == VK_DOWN);
    if (dropDown) {
        c.row = row;
        if (currentEdit(c) != CellEdit::kChoice) return false;
        openCell(c, grid);
        return true;
    }
    if (message.message == WM_CHAR && message.wParam >= 0x20 && message.wParam != 0x7F && !control) {
        // Typing starts the cell's editor with what was typed; the list's
        // own search by the rows' first letters gives way to it.
        c.row = row;
        if (currentEdit(c) != CellEdit::kFixed) openCell(c, grid, TextUnit(message.wParam));
        return true;
    }
    return false;
}

bool paintCellCursor(const NMHDR *header, LRESULT &answer) {
    if (header->code != UINT(NM_CUSTOMDRAW)) return false;
    const OpenDialog *open = openDialogOf(header->hwndFrom);
    if (open == nullptr || !isCurrentGrid(open->cell, header->hwndFrom)) return false;
    const EditedCell &c = open->cell;
    NMLVCUSTOMDRAW *draw = reinterpret_cast<NMLVCUSTOMDRAW *>(const_cast<NMHDR *>(header));
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        followListPainting(header, answer);
        answer |= CDRF_NOTIFYITEMDRAW;
        return true;
    case CDDS_ITEMPREPAINT:
        answer = CDRF_NOTIFYPOSTPAINT;
        return true;
    case CDDS_ITEMPOSTPAINT: {
        answer = CDRF_DODEFAULT;
        const int row = int(draw->nmcd.dwItemSpec);
        if (GetFocus() != c.grid || row != focusedRow(c.grid) || c.column < 1) return true;
        // A frame inside the cell, in the colour of the row's text, so it
        // shows on a chosen row as on any other.
        EditedCell at = c;
        at.row = row;
        RECT cell = currentCellRect(at);
        InflateRect(&cell, -1, -1);
        const bool chosen = (SendMessageW(c.grid, LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
        FrameRect(draw->nmcd.hdc, &cell, GetSysColorBrush(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        return true;
    }
    default:
        return false;
    }
}
