#include "runtime/cell_editor.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "model/dialog_definition.h"
#include "runtime/control_factory.h"
#include "runtime/fonts.h"
#include "runtime/grid_rules.h"
#include "runtime/list_view_win.h"

namespace {

constexpr DWORD kChoiceListStyle = 0x50A10343; // the "combobox" kind's: a drop-down list
constexpr int kChoiceBoxHeight = 15;           /* px asked for; the box takes its font's height */
constexpr UINT_PTR kTableSubclassId = 1;
// Posted to the table when the drop-down list is done: a window cannot go
// while it is still sending the notification that says so.
constexpr UINT kChoiceListDone = WM_APP + 1;

// The cell of the last click: the one the editors work on.
struct CurrentCell {
    HWND table = nullptr;
    int slot = -1;   // the table's slot
    int row = -1;    // from 0; -1 when the click hit no row
    int column = 0;  // data column from 1; 0 is the hidden column
};
CurrentCell gCell;

// The list view's label editor while it is held over a cell, and the
// procedure it had before ours.
HWND gEditor = nullptr;
WNDPROC gEditorProc = nullptr;

bool isCurrentTable(HWND table) {
    return table != nullptr && table == gCell.table && gCell.slot >= 0 && gCell.slot < kSlotCount;
}

CellEdit currentEdit() {
    return cellEditOf(gridColumnKinds(dialog().controls[gCell.slot]), gCell.column);
}

// The current cell's rectangle in the table's client area; its width is the
// column's, also where the table shows only part of it.
RECT currentCellRect() {
    RECT cell = {};
    cell.top = gCell.column;
    cell.left = LVIR_BOUNDS;
    SendMessageW(gCell.table, LVM_GETSUBITEMRECT, WPARAM(gCell.row), LPARAM(&cell));
    cell.right = cell.left + int(SendMessageW(gCell.table, LVM_GETCOLUMNWIDTH, WPARAM(gCell.column), 0));
    return cell;
}

// ---- the text editor ------------------------------------------------------

// Keeps the label editor over the current cell: the list view places and
// widens it for the hidden label column, and every such move is turned into
// one over the cell, the height staying the row's.
LRESULT CALLBACK editorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = gEditorProc;
    if (message == WM_WINDOWPOSCHANGING && editor == gEditor && isCurrentTable(GetParent(editor))) {
        WINDOWPOS *pos = reinterpret_cast<WINDOWPOS *>(lParam);
        RECT cell = currentCellRect();
        if (!(pos->flags & SWP_NOMOVE)) pos->x = cell.left;
        if (!(pos->flags & SWP_NOSIZE)) pos->cx = cell.right - cell.left;
    }
    LRESULT result = CallWindowProcW(previous, editor, message, wParam, lParam);
    if (message == WM_NCDESTROY && editor == gEditor) gEditor = nullptr;
    return result;
}

void releaseEditor() {
    if (gEditor != nullptr && IsWindow(gEditor) &&
        GetWindowLongPtrW(gEditor, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(editorProc)) {
        SetWindowLongPtrW(gEditor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gEditorProc));
    }
    gEditor = nullptr;
}

// The list view begins editing a row's label. Only the row of the last
// click is edited, in the clicked column: the text a user types goes to the
// cell the editor covers. In any column but a text column the editor only
// shows the text.
LRESULT onBeginEdit(HWND table, const NMLVDISPINFOW *info) {
    if (!isCurrentTable(table) || info->item.iItem != gCell.row || gCell.column < 1) return TRUE;
    HWND editor = reinterpret_cast<HWND>(SendMessageW(table, LVM_GETEDITCONTROL, 0, 0));
    if (editor == nullptr) return TRUE;
    releaseEditor();
    WideText text = CellReader(table).text(gCell.row, gCell.column);
    SetWindowTextW(editor, text.data());
    // The list view's own limit, or an edit's default of 30,000, would stop
    // a user typing on at the end of a long cell.
    SendMessageW(editor, EM_SETLIMITTEXT, 0, 0);
    if (currentEdit() != CellEdit::kText) SendMessageW(editor, EM_SETREADONLY, TRUE, 0);
    gEditor = editor;
    gEditorProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editorProc)));
    return FALSE;
}

// The label editor closes: an edit that was not cancelled writes its text
// into the cell of a text column. The hidden label stays empty.
LRESULT onEndEdit(HWND table, const NMLVDISPINFOW *info) {
    releaseEditor();
    if (!isCurrentTable(table) || info->item.pszText == nullptr) return FALSE;
    if (info->item.iItem == gCell.row && currentEdit() == CellEdit::kText) {
        setCellText(table, gCell.row, gCell.column, info->item.pszText);
    }
    return FALSE;
}

// ---- the drop-down list ---------------------------------------------------

void closeChoiceList(HWND table, HWND choiceList) {
    if (choiceList == nullptr || !IsWindow(choiceList) || GetParent(choiceList) != table) return;
    const bool hadFocus = GetFocus() == choiceList;
    DestroyWindow(choiceList);
    if (hadFocus) SetFocus(table);
}

// The chosen entry goes into the cell it was opened for.
void takeChoice(HWND table, HWND choiceList) {
    const LRESULT chosen = SendMessageW(choiceList, CB_GETCURSEL, 0, 0);
    if (chosen < 0 || !isCurrentTable(table)) return;
    const LRESULT length = SendMessageW(choiceList, CB_GETLBTEXTLEN, WPARAM(chosen), 0);
    if (length < 0) return;
    std::vector<TextUnit> text(size_t(length) + 1, 0);
    SendMessageW(choiceList, CB_GETLBTEXT, WPARAM(chosen), LPARAM(text.data()));
    text.back() = 0;
    setCellText(table, gCell.row, gCell.column, text.data());
}

// The table's own procedure sees the drop-down list's notifications, since
// the list is the table's child, and the table's end.
LRESULT CALLBACK tableProc(HWND table, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) != kCellEditorId) break;
        switch (HIWORD(wParam)) {
        case CBN_SELENDOK:
            takeChoice(table, reinterpret_cast<HWND>(lParam));
            PostMessageW(table, kChoiceListDone, 0, lParam);
            return 0;
        case CBN_SELENDCANCEL:
        case CBN_CLOSEUP:
            PostMessageW(table, kChoiceListDone, 0, lParam);
            return 0;
        default:
            return 0;
        }
    case kChoiceListDone:
        closeChoiceList(table, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        // A column's divider dragged in the header moves the cells beside it.
        const UINT code = reinterpret_cast<const NMHDR *>(lParam)->code;
        const LRESULT result = DefSubclassProc(table, message, wParam, lParam);
        if (code == UINT(HDN_ITEMCHANGEDW) || code == UINT(HDN_ITEMCHANGEDA)) cellEditorFollowLayout(table);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(table, tableProc, kTableSubclassId);
        if (gCell.table == table) gCell = CurrentCell();
        break;
    default:
        break;
    }
    return DefSubclassProc(table, message, wParam, lParam);
}

// Lays a drop-down list of the column's choices over the current cell, its
// text chosen when it is one of them, and drops it down. A column without
// choices gets none.
void openChoiceList(HWND table) {
    const ControlSpec &slot = dialog().controls[gCell.slot];
    const std::vector<WideText> choices = columnChoices(gridChoices(slot), gCell.column);
    if (choices.empty()) return;
    const RECT cell = currentCellRect();
    HWND choiceList = CreateWindowExW(0, TEXT16("COMBOBOX"), TEXT16(""), kChoiceListStyle, cell.left, cell.top,
                                      cell.right - cell.left, kChoiceBoxHeight, table,
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
    const WideText current = CellReader(table).text(gCell.row, gCell.column);
    SendMessageW(choiceList, CB_SETCURSEL, WPARAM(choiceIndex(choices, current)), 0);
    SetFocus(choiceList);
    SendMessageW(choiceList, CB_SHOWDROPDOWN, TRUE, 0);
}

// A click makes its cell the current one; the column's kind decides what
// opens over it.
void onClick(HWND table, int slot, const NMITEMACTIVATE *click) {
    closeChoiceList(table, GetDlgItem(table, kCellEditorId));
    gCell = CurrentCell{table, slot, click->iItem, click->iSubItem};
    // Watching the table from its first click on also tells when it goes,
    // so no later table is taken for it.
    SetWindowSubclass(table, tableProc, kTableSubclassId, 0);
    if (gCell.row < 0 || gCell.column < 1 || slot < 0 || slot >= kSlotCount) return;
    switch (currentEdit()) {
    case CellEdit::kText:
        SendMessageW(table, LVM_EDITLABELW, WPARAM(gCell.row), 0);
        break;
    case CellEdit::kChoice:
        openChoiceList(table);
        break;
    case CellEdit::kFixed:
        break;
    }
}

} // namespace

LRESULT cellEditorHandler(HWND listView, UINT, WPARAM slot, NMHDR *header) {
    switch (header->code) {
    case UINT(NM_CLICK):
        onClick(listView, int(slot), reinterpret_cast<const NMITEMACTIVATE *>(header));
        return 0;
    case UINT(LVN_BEGINLABELEDITW):
        return onBeginEdit(listView, reinterpret_cast<const NMLVDISPINFOW *>(header));
    case UINT(LVN_ENDLABELEDITW):
        return onEndEdit(listView, reinterpret_cast<const NMLVDISPINFOW *>(header));
    case UINT(LVN_BEGINLABELEDITA):
        // The dialogs are Unicode windows, so their tables notify in UTF-16;
        // an 8-bit edit would lose every character outside the code page.
        return TRUE;
    default:
        // A double click is two clicks to the editor; nothing of its own.
        return 0;
    }
}

void cellEditorFollowLayout(HWND listView) {
    closeChoiceList(listView, GetDlgItem(listView, kCellEditorId));
    if (gEditor == nullptr || !IsWindow(gEditor) || GetParent(gEditor) != listView || !isCurrentTable(listView)) {
        return;
    }
    RECT placed;
    GetWindowRect(gEditor, &placed);
    MapWindowPoints(nullptr, listView, reinterpret_cast<POINT *>(&placed), 2);
    RECT cell = currentCellRect();
    SetWindowPos(gEditor, nullptr, cell.left, placed.top, cell.right - cell.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
