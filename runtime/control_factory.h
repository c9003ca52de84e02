// Turns one slot of the control table into live Windows child controls.
#ifndef TESSARY_RUNTIME_CONTROL_FACTORY_H
#define TESSARY_RUNTIME_CONTROL_FACTORY_H

#include <windows.h>

// Control ids that are not a slot index.
constexpr int kComboIdOffset = 4000;     // a combobox's id is its slot + 4000
constexpr int kRadioIdFactor = 100;      // radio button k of slot s: s * 100 + 1 + k
constexpr int kTabControlId = 1043;      // the one tab control of a dialog
constexpr int kCellEditorId = 41111;     // drop-down editor of a table cell

// Creates the control(s) of `slot` under `parent` and records the window in
// the slot. A slot without a known kind gets nothing.
void createControl(HWND parent, int slot);

#endif
