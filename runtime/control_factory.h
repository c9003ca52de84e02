// Turns one slot of the control table into live Windows child controls.
#ifndef TESSARY_RUNTIME_CONTROL_FACTORY_H
#define TESSARY_RUNTIME_CONTROL_FACTORY_H

#include <windows.h>

#include "model/dialog_definition.h"
#include "runtime/screen_rules.h"

// Control ids that are not a slot index.
constexpr int kComboIdOffset = 4000;     // a combobox's id is its slot + 4000
constexpr int kRadioIdFactor = 100;      // radio button k of slot s: s * 100 + 1 + k
constexpr int kTabControlId = 1043;      // the one tab control of a dialog
constexpr int kCellEditorId = 41111;     // drop-down editor of a grid cell
constexpr int kMessageIconId = 41112;    // the icon of the message's kind
constexpr int kTimerBarId = 41113;       // the bar that runs down with the close timer

// Creates the control(s) of `slot` under `parent` and records the windows in
// the dialog's record. A slot without a known kind gets nothing.
void createControl(HWND parent, int slot);

// The control that slot `index` made under `parent` (a radio group's first
// button); null for a slot that makes none, whose id may be someone else's.
HWND slotControlIn(HWND parent, int index);

// Lays the control of slot `index` under `parent` out again where its slot
// says, at the dialog's scale: by its kind's own step, else placeControl.
void placeSlotControl(HWND parent, int index);

// Moves the control of `slot` to the slot's rectangle at `scale`; a text
// keeps at least the height of one line of its font, whatever the slot
// says, so that no scale cuts a line of it in half.
void placeControl(HWND control, const Scale &scale, const ControlSpec &slot);

// Places the list of `slot` (a list or a grid) at the slot's rectangle
// and sizes its columns for it: a check-box column, or a grid's hidden
// column 0, then the data columns by their widths in percent of what is
// left inside the list; a plain list's one column, and the one data column
// of a check-box list without titles, take all of it. Run when the list is
// made and whenever it is resized, so no list ever scrolls sideways for
// widths that add up to at most 100 percent.
void fitSlotColumns(HWND list, const ControlSpec &slot);

#endif
