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

const DialogHooks &dualListHooks();

#endif
