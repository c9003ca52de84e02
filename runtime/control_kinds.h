// One row per control kind. Everything the runtime does differently for one
// kind lives in that kind's row: how its window is made (class, styles, id,
// first content), which window holds its value and how the value reads,
// how it answers its notifications and how it follows a resize. The control
// factory makes controls from the rows, the read-back reads by them, and
// the main dialog procedure hands a kind's messages to its row, so that no
// generic code compares a kind.
#ifndef TESSARY_RUNTIME_CONTROL_KINDS_H
#define TESSARY_RUNTIME_CONTROL_KINDS_H

#include <windows.h>
#include <commctrl.h>

#include "model/dialog_definition.h"

struct KindRow;
class OpenDialog;

// What the factory is building: the slot, where, and by which row.
struct ControlBuild {
    HWND parent;
    int index; // slot index
    ControlSpec &slot;
    const KindRow &row;
};

// What one read works on.
struct ControlReading {
    HWND control; // the slot's control (for a radio group its first button)
    HWND parent;  // the dialog or tab page hosting it
    int index;    // slot index
    ControlSpec &slot;
};

// Gives a new window its first content and returns the window the slot
// records. For composite kinds the step makes the windows itself and is
// called with no window.
typedef HWND (*ContentStep)(const ControlBuild &build, HWND window);
typedef WideText (*ValueReader)(const ControlReading &reading);
// A notification from the kind's control. True when the row handled it;
// `answer` is then the dialog's answer.
typedef bool (*NotifyHandler)(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer);
// The slot's rectangle changed; the control has not moved yet.
typedef void (*RelayoutStep)(HWND control, const ControlSpec &slot);
// Every control of the dialog exists.
typedef void (*OpenedStep)(HWND dialogWindow, int slot);
// The window that takes the keyboard focus `slot` asks for, where that is
// not the slot's own window.
typedef HWND (*FocusWindow)(const OpenDialog &open, int slot);
// A key for the kind's control, which has the focus, before the dialog
// manager sees it. True when the step handled it.
typedef bool (*KeyStep)(HWND dialogWindow, int slot, const MSG &message);

enum Finish {
    kFontAndText, // the slot's font, then its text with WM_SETTEXT
    kFontOnly,
    kNoFinish
};

enum KindOption : unsigned {
    kAddsExtraStyle = 1u << 0,    // the slot's extraStyle is OR-ed into the style
    kNoWindowName = 1u << 1,      // created without a window name
    kHeaderless = 1u << 3,        // no column header (and shared image lists) without data columns
    kComposite = 1u << 4,         // the content step makes the windows
    kPressable = 1u << 5,         // a click closes the dialog; the kind has no value of its own
    kMadeFirst = 1u << 6,         // made before every other kind, which it may host
    kOneLineAtLeast = 1u << 7,    // never lower than one line of its font
    kTakesEveryKey = 1u << 8,     // a multi-line field: Tab and Esc would stay in it, the dialog takes them
    kButtonGroup = 1u << 9        // buttons the arrow keys walk as one group
};

// A list's columns, sized for the slot's rectangle.
typedef void (*ColumnFit)(HWND list, const ControlSpec &slot);

// Rows are written with designated initializers: a field left out is the
// kind's "none".
struct KindRow {
    ControlKind kind;
    // ---- creation
    const TextUnit *className = nullptr;
    DWORD exStyle = 0;
    DWORD style = 0;            // exact style given at creation
    unsigned options = 0;       // KindOption bits
    int idOffset = 0;           // added to the slot index to give the control id
    DWORD commonControls = 0;   // ICC_* classes registered first; 0 for the system's own
    ContentStep content = nullptr;
    Finish finish = kNoFinish;
    // ---- reading: the control read is the child with id slot x idFactor + firstId
    int readIdFactor = 1;
    int readFirstId = 0;
    ValueReader read = nullptr; // null: nothing to read
    // ---- events; null: the kind has none
    NotifyHandler notify = nullptr;
    RelayoutStep relayout = nullptr;
    OpenedStep opened = nullptr;
    FocusWindow focusWindow = nullptr;
    KeyStep key = nullptr;
    ColumnFit fitColumns = nullptr; // lists only
};

// The row of `kind`; kNone's row makes and reads nothing.
const KindRow &kindRow(ControlKind kind);
// The row of the kind `slot` makes (slotKind).
const KindRow &kindRow(const ControlSpec &slot);

// The child id of a slot's control.
int controlIdOf(const ControlSpec &slot, int index);

// ---- the steps the rows name -------------------------------------------

// Content steps (control_factory_win.cpp).
HWND noContent(const ControlBuild &build, HWND window);
HWND liftEditLimit(const ControlBuild &build, HWND edit);
HWND markButton(const ControlBuild &build, HWND window);
HWND fillComboBox(const ControlBuild &build, HWND combo);
HWND fillPlainList(const ControlBuild &build, HWND list);
HWND fillCheckList(const ControlBuild &build, HWND list);
HWND fillGrid(const ControlBuild &build, HWND list);
HWND setSliderRange(const ControlBuild &build, HWND slider);
HWND setDate(const ControlBuild &build, HWND picker);
HWND setTime(const ControlBuild &build, HWND picker);
HWND setCheck(const ControlBuild &build, HWND box);
HWND makeRadioGroup(const ControlBuild &build, HWND);
HWND makeTabPage(const ControlBuild &build, HWND);

// Readers (readback_win.cpp).
WideText readSlider(const ControlReading &reading);
WideText readGrid(const ControlReading &reading);
WideText readPlainList(const ControlReading &reading);
WideText readCheckList(const ControlReading &reading);
WideText readCheckBox(const ControlReading &reading);
WideText readRadioGroup(const ControlReading &reading);
WideText readWindowText(const ControlReading &reading);

// Events of the lists and tabs (control_events_win.cpp).
bool onPlainListNotify(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer);
bool onCheckListNotify(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer);
bool onGridNotify(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer);
bool onTabNotify(HWND dialogWindow, int slot, NMHDR *header, LRESULT &answer);
bool onCheckListKey(HWND dialogWindow, int slot, const MSG &message);
bool onGridKey(HWND dialogWindow, int slot, const MSG &message);
void relayoutListColumns(HWND list, const ControlSpec &slot);
void relayoutGridColumns(HWND grid, const ControlSpec &slot);
// Column fits (control_factory_win.cpp).
void fitPlainListColumns(HWND list, const ControlSpec &slot);
void fitCheckListColumns(HWND list, const ControlSpec &slot);
void fitGridColumns(HWND list, const ControlSpec &slot);
void relayoutRadioGroup(HWND firstButton, const ControlSpec &slot);

// The tab pages (tab_pages_win.cpp).
void showFirstTabPage(HWND dialogWindow, int slot);
HWND tabFocusWindow(const OpenDialog &open, int slot);
// The page of the tab at `position` (from 0); null when there is none.
HWND tabPageAt(const OpenDialog &open, int position);
// Places a tab dialog's tab control, its pages and their fields at the
// dialog's scale, which was `fromDpi` before.
void placeTabs(OpenDialog &open, int fromDpi);

#endif
