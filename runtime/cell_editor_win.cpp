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

namespace {

constexpr DWORD kChoiceListStyle = 0x50A10343; // the "combobox" kind's: a drop-down list
constexpr int kChoiceBoxHeight = 15;           /* px asked for; the box takes its font's height */
constexpr UINT_PTR kTableSubclassId = 1;
// Posted to the table when the drop-down list is done: a window cannot go
// while it is still sending the notification that says so.
constexpr UINT kChoiceListDone = WM_APP + 1;

constexpr UINT_PTR kEditorSubclassId = 2;

bool isCurrentTable(const EditedCell &c, HWND table) {
    return table != nullptr && table == c.table && c.slot >= 0 && c.slot < kSlotCount;
}

CellEdit currentEdit(const EditedCell &c) {
    return cellEditOf(gridColumnKinds(dialog().controls[c.slot]), c.column);
}

// The current cell's rectangle in the table's client area; its width is the
// column's, also where the table shows only part of it.
RECT currentCellRect(const EditedCell &c) {
    RECT cell = {};
    cell.top = c.column;
    cell.left = LVIR_BOUNDS;
    SendMessageW(c.table, LVM_GETSUBITEMRECT, WPARAM(c.row), LPARAM(&cell));
    cell.right = cell.left + int(SendMessageW(c.table, LVM_GETCOLUMNWIDTH, WPARAM(c.column), 0));
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
        if (message == WM_WINDOWPOSCHANGING && isCurrentTable(c, GetParent(editor))) {
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
LRESULT onBeginEdit(EditedCell &c, HWND table, const NMLVDISPINFOW *info) {
    if (!isCurrentTable(c, table) || info->item.iItem != c.row || c.column < 1) return TRUE;
    HWND editor = reinterpret_cast<HWND>(SendMessageW(table, LVM_GETEDITCONTROL, 0, 0));
    if (editor == nullptr) return TRUE;
    releaseEditor(c);
    WideText text = CellReader(table).text(c.row, c.column);
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
LRESULT onEndEdit(EditedCell &c, HWND table, const NMLVDISPINFOW *info) {
    releaseEditor(c);
    if (!isCurrentTable(c, table) || info->item.pszText == nullptr) return FALSE;
    if (info->item.iItem == c.row && currentEdit(c) == CellEdit::kText) {
        setCellText(table, c.row, c.column, info->item.pszText);
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
void takeChoice(const EditedCell &c, HWND table, HWND choiceList) {
    const LRESULT chosen = SendMessageW(choiceList, CB_GETCURSEL, 0, 0);
    if (chosen < 0 || !isCurrentTable(c, table)) return;
    const LRESULT length = SendMessageW(choiceList, CB_GETLBTEXTLEN, WPARAM(chosen), 0);
    if (length < 0) return;
    std::vector<TextUnit> text(size_t(length) + 1, 0);
    SendMessageW(choiceList, CB_GETLBTEXT, WPARAM(chosen), LPARAM(text.data()));
    text.back() = 0;
    setCellText(table, c.row, c.column, text.data());
}

// The table's own procedure sees the drop-down list's notifications, since
// the list is the table's child, and the table's end.
LRESULT CALLBACK tableProc(HWND table, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);

LRESULT tableProcBody(HWND table, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) != kCellEditorId) break;
        switch (HIWORD(wParam)) {
        case CBN_SELENDOK:
            if (const OpenDialog *open = openDialogOf(table)) takeChoice(open->cell, table, reinterpret_cast<HWND>(lParam));
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
        if (OpenDialog *open = openDialogOf(table)) {
            if (open->cell.table == table) open->cell = EditedCell();
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(table, message, wParam, lParam);
}

LRESULT CALLBACK tableProc(HWND table, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    return guardEntry(table, LRESULT(0), [&] { return tableProcBody(table, message, wParam, lParam); });
}

// Lays a drop-down list of the column's choices over the current cell, its
// text chosen when it is one of them, and drops it down. A column without
// choices gets none.
void openChoiceList(const EditedCell &c, HWND table) {
    const ControlSpec &slot = dialog().controls[c.slot];
    const std::vector<WideText> choices = columnChoices(gridChoices(slot), c.column);
    if (choices.empty()) return;
    const RECT cell = currentCellRect(c);
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
    const WideText current = CellReader(table).text(c.row, c.column);
    SendMessageW(choiceList, CB_SETCURSEL, WPARAM(choiceIndex(choices, current)), 0);
    SetFocus(choiceList);
    SendMessageW(choiceList, CB_SHOWDROPDOWN, TRUE, 0);
}

// A click makes its cell the current one; the column's kind decides what
// opens over it.
void onClick(EditedCell &c, HWND table, int slot, const NMITEMACTIVATE *click) {
    closeChoiceList(table, GetDlgItem(table, kCellEditorId));
    // A new current cell; an editor still open stays tracked until it ends.
    c.table = table;
    c.slot = slot;
    c.row = click->iItem;
    c.column = click->iSubItem;
    // Watching the table from its first click on also tells when it goes,
    // so no later table is taken for it.
    SetWindowSubclass(table, tableProc, kTableSubclassId, 0);
    if (c.row < 0 || c.column < 1 || slot < 0 || slot >= kSlotCount) return;
    switch (currentEdit(c)) {
    case CellEdit::kText:
        SendMessageW(table, LVM_EDITLABELW, WPARAM(c.row), 0);
        break;
    case CellEdit::kChoice:
        openChoiceList(c, table);
        break;
    case CellEdit::kFixed:
        break;
    }
}

} // namespace

LRESULT cellEditorHandler(HWND listView, UINT, WPARAM slot, NMHDR *header) {
    OpenDialog *open = openDialogOf(listView);
    // A table of no dialog of ours edits nothing; no label edit begins.
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
    const OpenDialog *open = openDialogOf(listView);
    if (open == nullptr) return;
    const EditedCell &c = open->cell;
    if (c.editor == nullptr || !IsWindow(c.editor) || GetParent(c.editor) != listView || !isCurrentTable(c, listView)) {
        return;
    }
    RECT placed;
    GetWindowRect(c.editor, &placed);
    MapWindowPoints(nullptr, listView, reinterpret_cast<POINT *>(&placed), 2);
    RECT cell = currentCellRect(c);
    SetWindowPos(c.editor, nullptr, cell.left, placed.top, cell.right - cell.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
