// How a standard dialog makes room for what it shows. The dialog functions
// lay out for content of an ordinary length; before the controls are made,
// the Windows edge measures each text in its own font at the dialog's scale
// and these rules move and grow the slots so that nothing is cut without a
// sign. Content that fits changes nothing, to the pixel.
//   - The message (slot 1) of a dialog whose size the script did not give
//     makes the dialog wider, up to 5/8 of its work area, then taller, up to
//     the work area; a message that still does not fit scrolls.
//   - A text that wraps onto more lines than its slot holds grows downward,
//     and so does a control whose font is taller than its slot; whatever lies
//     below moves down by as much, and the dialog grows with it.
//   - Check boxes and radio buttons whose captions do not fit their shares,
//     or that reach past the dialog's edge, go onto as many lines as they
//     need, in equal columns; a caption too long even for a whole line is
//     the edge's to cut with an ellipsis.
//   - Push buttons widen for their captions; their row keeps its right end
//     and the dialog widens when the row would pass its left edge.
// Only the dialog's own controls move: a tab page keeps its size, and a
// markup dialog keeps every place its script gave.
#ifndef TESSARY_RUNTIME_FIT_RULES_H
#define TESSARY_RUNTIME_FIT_RULES_H

#include <bitset>
#include <cstddef>
#include <cstdint>

#include "model/dialog_definition.h"

// What the content of a slot needs, in script units, as the edge measures
// it in the slot's font.
class ContentNeeds {
public:
    virtual ~ContentNeeds() = default;
    // The height the slot's text takes wrapped at `width`.
    virtual int32_t wrappedHeight(int slot, int32_t width) const = 0;
    // The width caption `caption` of the slot takes on one line, with a check
    // or radio box and its gap, or a push button's margins.
    virtual int32_t captionWidth(int slot, size_t caption) const = 0;
    // The least height the slot's control takes in its font: a field's line
    // and borders, a button's caption and margins.
    virtual int32_t leastHeight(int slot) const = 0;
};

struct FitRoom {
    int32_t workWidth, workHeight;   // the work area of the dialog's monitor
    int32_t frameWidth, frameHeight; // the window's size minus its client area's
};

struct FitOutcome {
    std::bitset<kSlotCount> scrolls; // texts shown in a read-only field that scrolls
};

FitOutcome fitContent(DialogDefinition &d, const ContentNeeds &needs, const FitRoom &room);

// Moves and grows the slots 0..controlCount-1 as the window's size changes
// by dw and dh script units, as each slot's growth and following say, and
// keeps the new size in the record.
void followResize(DialogDefinition &d, int32_t dw, int32_t dh);

#ifdef _WIN32
class OpenDialog;
// Before the controls of `open` are made: measures the record's content
// for a window of `style` and fits the record to it (a modeless window keeps
// its layout, which later calls change). Notes the texts that must scroll.
void fitToContent(OpenDialog &open, unsigned long style);
// Once the controls are made: a check box's, radio button's or push
// button's caption longer than its control ends in an ellipsis and shows
// whole in a tooltip, and a combo box drops down as wide as its longest
// item, within the work area.
void finishFitting(OpenDialog &open);
#endif

#endif
