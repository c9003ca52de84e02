// The grid dialog of Tessary_DoListView: a grid whose cells the user edits
// in place (the "listboxview" kind and its cell editor) and buttons that may
// wait for a row of the grid to be chosen.
#ifndef TESSARY_RUNTIME_GRID_DIALOG_H
#define TESSARY_RUNTIME_GRID_DIALOG_H

#include "runtime/dialog_hooks.h"

constexpr int kGridSlot = kFirstInputSlot; // the dialog's one grid, read back as "text1"

const DialogHooks &gridDialogHooks();

#endif
