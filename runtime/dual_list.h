// The dual-list dialog: two lists side by side and four buttons that move
// items between them.
#ifndef TESSARY_RUNTIME_DUAL_LIST_H
#define TESSARY_RUNTIME_DUAL_LIST_H

#include "runtime/dialog_hooks.h"

// Slots of the dual-list dialog.
constexpr int kDualSourceSlot = 36;   // the left list: what can be chosen
constexpr int kDualTargetSlot = 37;   // the right list: what was chosen
constexpr int kMoveOneSlot = 8;       // ">"
constexpr int kMoveBackSlot = 9;      // "<"
constexpr int kMoveAllSlot = 10;      // ">>"
constexpr int kMoveAllBackSlot = 11;  // "<<"
constexpr int kSourceTitleSlot = 12;
constexpr int kTargetTitleSlot = 13;

// The layout of the lists, in script units, shared by the dialog's first
// layout and its resizing.
constexpr int kDualFirstListInset = 24;    // half the content width minus a list's width, as first laid out
constexpr int kDualListInset = 44;         // half the window width minus a list's width once resized
constexpr int kDualMoveButtonOffset = 19;  // the move buttons' x before the middle
constexpr int kDualTargetTitleOffset = 24; // the right title's x past the middle, as first laid out
constexpr int kDualTargetOffset = 19;      // the right list's and title's x past the middle once resized

const DialogHooks &dualListHooks();

#endif
