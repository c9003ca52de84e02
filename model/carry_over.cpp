#include "model/carry_over.h"

#include <new>

void resetSlot(int slot, bool resetFont, bool resetText) {
    if (slot < 0 || slot >= kSlotCount) return;
    dialog().controls[slot].reset(!resetFont, !resetText);
}

void resetAllSlots(bool resetFont) {
    for (int i = 0; i < kSlotCount; ++i) resetSlot(i, resetFont, true);
    dialog().holdsMarkupObjects = 0;
}

void forgetMarkupObjects() {
    if (dialog().holdsMarkupObjects) resetAllSlots(true);
}

void resetForInputTypes(bool all, bool resetText) {
    for (int i = all ? 0 : kFirstInputSlot; i < kSlotCount; ++i) resetSlot(i, true, resetText);
}

void resetForLabels(bool all) {
    if (all) {
        for (int i = 0; i < kSlotCount; ++i) resetSlot(i, true, true);
        return;
    }
    for (int i = kFirstLabelSlot + 1; i < kFirstInputSlot; ++i) resetSlot(i, true, true);
    for (int i = kFirstExtraSlot; i < kSlotCount; ++i) resetSlot(i, true, true);
}

void resetDefinition() {
    DialogDefinition &d = dialog();
    d.title.clear();
    d.templateId = 0;
    d.left = d.top = d.width = d.height = 0;
    d.minHeight = d.minWidth = 0;
    d.timerEnabled = 0;
    d.timerInterval = 0;
    d.controlCount = 0;
    d.resizable = 0;
    d.resultIndex = 0;
    d.defaultButton = -1;
    d.noCaption = 0;
    d.ordered = 0;
    d.copiesMessage = 0;
    d.sizeGiven = 0;
    d.positionGiven = 0;
    d.cancelButton = 0;
    d.messageIcon = MessageIcon::kNone;
}

void carryOver(const CarryOver &carry) {
    switch (carry.rule) {
    case CarryOver::kFreshTable:
        resetAllSlots(false);
        return;
    case CarryOver::kNothing:
        resetAllSlots(true);
        resetDefinition();
        return;
    case CarryOver::kStagedRows:
        forgetMarkupObjects();
        for (int slot = 0; slot < kFirstLabelSlot; ++slot) resetSlot(slot, false, true);
        for (int slot = kFirstLabelSlot + carry.stagedRows; slot < kFirstInputSlot; ++slot) resetSlot(slot, true, true);
        for (int slot = kFirstInputSlot + carry.stagedRows; slot <= kLastTabPageSlot; ++slot) resetSlot(slot, true, true);
        return;
    }
}
