// What carries over from one call to the next. The record keeps whatever a
// call does not reset, and that is how the staged rows, the fonts of
// Tessary_SetFont and the window position reach a later dialog; everything
// that resets slots or fields between calls is here, so one file says what
// a dialog inherits.
#ifndef TESSARY_MODEL_CARRY_OVER_H
#define TESSARY_MODEL_CARRY_OVER_H

#include "model/dialog_definition.h"

// Slot 120 or more is ignored. The text is emptied only when resetText is
// true and the font cleared only when resetFont is true.
void resetSlot(int slot, bool resetFont, bool resetText);
void resetAllSlots(bool resetFont);
// A markup dialog's objects are no staged rows: the form dialogs would show
// them as rows and buttons of their own, and answer with an object's name.
// The staging functions and the form dialogs call this first; it empties the
// table (fonts included, as the markup set them) when it holds such objects.
void forgetMarkupObjects();
void resetForInputTypes(bool all, bool resetText);
void resetForLabels(bool all);
// Full reset of the record's fields; the control table is not touched.
void resetDefinition();


// What of the record's slots carries over from earlier calls into a dialog.
struct CarryOver {
    enum Rule {
        kFreshTable, // every slot starts over; fonts that Tessary_SetFont set stay
        kStagedRows, // rows 1..stagedRows keep what staging put there (fonts too);
                     // every other slot through the tab pages starts over, its
                     // font with it, and texts and buttons keep only their font
        kNothing     // every slot and every field starts over, fonts, title and
                     // position included
    } rule;
    int stagedRows;
};
constexpr CarryOver kFreshTable{CarryOver::kFreshTable, 0};
constexpr CarryOver kNothingCarries{CarryOver::kNothing, 0};
constexpr CarryOver keepStagedRows(int rows) { return CarryOver{CarryOver::kStagedRows, rows}; }

// Empties what `carry` says does not carry over. A table that holds a
// markup dialog's objects never carries into a dialog of staged rows.
void carryOver(const CarryOver &carry);

#endif
