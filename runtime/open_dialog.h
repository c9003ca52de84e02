// What one open dialog holds besides the definition record that scripts
// observe: its windows (the dialog, the tab control, each slot's control),
// the hooks it runs with, its scale, the fonts made for its controls, the
// cell texts lent to its lists, the cell being edited in its grid, the
// fonts its progress texts last got, and the filters of its keys.
// One record per dialog window: made when the window gets WM_INITDIALOG,
// attached to it (DWLP_USER) and freed with it at WM_NCDESTROY, once its
// controls are gone. Nothing of one dialog can outlive it or reach the next.
#ifndef TESSARY_RUNTIME_OPEN_DIALOG_H
#define TESSARY_RUNTIME_OPEN_DIALOG_H

#include <windows.h>

#include <bitset>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "model/dialog_definition.h"
#include "model/fields.h"
#include "runtime/dialog_hooks.h"
#include "runtime/screen_rules.h"

// A font this dialog made for one of its controls. Each font serves exactly
// one control, so it can go as soon as that control is gone.
struct OwnedFont {
    HWND control;
    HFONT font;
};

// Cell texts a list view asks for as it draws them, instead of a copy in
// every cell: `columns` cells a row of the '|'-separated `text`.
// A list that holds no rows of its own (LVS_OWNERDATA: the check-box list
// and the grid) has all of its rows here, their check marks and the cells
// a user edited included; it asks for what it draws, so it opens in the
// same time at any length.
struct LentCells {
    HWND list;
    WideText text;
    WideFields cells; // over `text`, which stays where it is
    int columns;
    bool painting = false; // between the list's CDDS_PREPAINT and CDDS_POSTPAINT

    bool holdsNoRows = false;
    std::vector<unsigned char> checks;               // state image a row; empty: no check boxes
    std::map<std::pair<int, int>, WideText> edited;  // by row and column: what a user put there
    bool listChecked = false;   // the list changed a check mark itself since the last click
    bool reporting = false;     // a check change of ours is being told to the dialog

    // The order the user sorted the rows in: the row of the record that each
    // row of the list shows, and the list's row of each row of the record.
    // Both empty while the list shows the record's order.
    std::vector<int> order;
    std::vector<int> place;
    int sortColumn = 0;         // the data column sorted by, from 1; 0: none
    bool sortDescending = false;

    LentCells(HWND l, const WideText &t, int c) : list(l), text(t), cells(text), columns(c) {}
};

// The tip over a list that shows a cell cut by its column whole: made at
// the mouse's first move over the list, with the cell under the mouse it was
// last asked for and the text it shows.
struct CellTip {
    HWND list = nullptr;
    HWND tip = nullptr;
    int row = -1;    // -1: none
    int column = -1; // the list's column; -1: none
    WideText text;
};

// The cell of the last click in a grid, which the cell editors work on,
// and the list view's label editor while it is held over that cell.
struct EditedCell {
    HWND grid = nullptr;
    int slot = -1;   // the grid's slot
    int row = -1;    // from 0; -1 when the click hit no row
    int column = 0;  // data column from 1; 0 is the hidden column
    HWND editor = nullptr;
    WNDPROC editorProc = nullptr; // the editor's procedure before ours
};

// The font a progress text last got, so that a text set again and again
// does not make a new font each time.
struct AppliedFont {
    HWND control;
    FontSpec font;
};

class OpenDialog {
public:
    explicit OpenDialog(const DialogHooks &hooks) : hooks(&hooks) {}
    // Deletes the fonts: the controls that used them are gone by now. Ends
    // the copy filter.
    ~OpenDialog();
    OpenDialog(const OpenDialog &) = delete;
    OpenDialog &operator=(const OpenDialog &) = delete;

    // The control of `slot` (a tab slot's page, a radio group's last
    // button); null when the slot made none or is out of range.
    HWND windowOf(int slot) const { return slot >= 0 && slot < kSlotCount ? slotWindows[slot] : nullptr; }
    // The slot that made `control` (any button of a radio group included);
    // -1 for a window no slot made.
    int slotOf(HWND control) const;
    // Records a window that the control factory made for `slot`; null when
    // it made none this time.
    void madeFor(int slot, HWND control);

    HWND window = nullptr;      // the dialog itself
    HWND tabs = nullptr;        // the one tab control of a tab dialog
    std::vector<int> pages;     // the tab slots whose pages exist, in the order made
    HWND slotWindows[kSlotCount] = {};
    std::unordered_map<HWND, int> slotsOfWindows; // every window the factory made, to its slot
    const DialogHooks *hooks;
    Scale scale;                // script units to this dialog's pixels
    std::vector<OwnedFont> fonts;
    std::vector<std::unique_ptr<LentCells>> lentCells;
    std::vector<CellTip> cellTips;
    EditedCell cell;
    std::vector<AppliedFont> appliedFonts;
    HHOOK keyWatch = nullptr;   // hands the modal loop's keys to the dialog first
    int ownCheckChanges = 0;    // check marks being set by the program, not the user
    HHOOK copyHook = nullptr;   // watchCopyKey's filter, for a dialog whose message copies
    std::bitset<kSlotCount> scrollingTexts; // texts too long for the dialog, made as read-only fields that scroll
    HWND tips = nullptr;        // the tooltip that shows captions cut short whole; goes with the dialog it belongs to
    ScreenRect placed{};        // where the dialog opened, to tell a user's move from it
    HWND icon = nullptr;        // the icon of the message's kind, left of the message
    HICON iconImage = nullptr;  // its image, made for this dialog's scale; destroyed with the record
    HWND timerBar = nullptr;    // runs down with the close timer
    DWORD timerStarted = 0;     // when the close timer started, GetTickCount milliseconds
};

// Makes the record of `dialogWindow`, which runs with `hooks`, and attaches
// it to the window.
OpenDialog &openDialogRecord(HWND dialogWindow, const DialogHooks &hooks);
// Frees the record of `dialogWindow`, if it has one.
void closeDialogRecord(HWND dialogWindow);
// The record of the dialog that holds `window`: the dialog itself, one of
// its controls, or a control on one of its tab pages. Null for a window of
// no dialog of ours.
OpenDialog *openDialogOf(HWND window);
// The scale of the dialog that holds `window`; 96 dpi for a window of no
// dialog of ours.
Scale scaleOf(HWND window);
// Where `slot` lies in its parent's client area, in pixels at `scale`.
RECT pixelRect(const Scale &scale, const ControlSpec &slot);

#endif
