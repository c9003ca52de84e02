// Tessary_DoDialog: a message, up to eight staged input rows and up to eight
// buttons; returns the number of the button pressed. The entered values wait
// in the input slots for Tessary_GetInput.
#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "functions/input_rows.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "model/call.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace {


constexpr int32_t kWidth = 383;          // script units
constexpr int32_t kHeight = 360;         // before the layout decides it
constexpr int32_t kMinWidth = 363;
constexpr int32_t kMinHeight = 170;
constexpr int32_t kMessageHeight = 30;
constexpr int32_t kRowPitch = 33;        // from one row to the next
constexpr int32_t kLinePitch = 35;       // a row of n lines takes 35 x n - 35 more than one row
constexpr int32_t kRadioLinePitch = 15;  // a radio group of n lines takes 15 x n more
constexpr int32_t kLowerRowDrop = 30;    // buttons 5..8 stand this much below buttons 1..4
constexpr int32_t kBottomOneRow = 60;    // window height minus the buttons' y
constexpr int32_t kBottomTwoRows = 90;
constexpr int kRows = 8;
constexpr int kMaxLines = 8;
constexpr uint32_t kFirstButtonArgument = 3;
constexpr int kButtonCount = 8;
constexpr int kFirstLowerRowButton = 5;
constexpr int kControlCount = kFirstExtraSlot + 2 * kRowSlots; // inputs and their partners

// Input n (1..8) takes the focus; other numbers name no input of this
// dialog and change nothing.
void applyFocus(const OptionSet &options) {
    if (!options.has("focus")) return;
    const int row = options.numericValue("focus");
    if (row >= 1 && row <= kRows) dialog().controls[kFirstInputSlot + row - 1].initialFocus = 1;
}

// A form's row is 33 high; a row of several lines takes 35 for each line
// past the first, a radio group 15 for each.
int32_t formRowAdvance(const RowLines &lines, int taken) {
    if (!lines.suffixed) return kRowPitch;
    return kRowPitch + (lines.buttons ? kRadioLinePitch * taken : kLinePitch * (taken - 1));
}

// Places the staged rows from y = top and expands them. Returns the y of
// the buttons: one row pitch below the last row in use.
int32_t layOutRows(int32_t top) {
    // A wider form gives its inputs the room, not its labels.
    for (int slot = kFirstInputSlot; slot < kFirstInputSlot + kRows; ++slot) {
        ControlSpec &s = slotAt(slot);
        s.growWidth = 1.0;
        s.growHeight = 0.0;
        s.followRight = 0;
        slotAt(slot - kRowSlots).growWidth = 0.0;
    }
    const RowStack form{kNoOwner, kMaxLines, true, true, 0, 0, kRowPitch, formRowAdvance};
    const StackedRows stacked = stackRows(kFirstInputSlot, kFirstInputSlot + kRows, top, form);
    int32_t y = stacked.y + kRowPitch;
    // Rows after the last one in use take no room.
    if (stacked.lastSlot >= 0) y -= kRowPitch * (kFirstInputSlot + kRows - stacked.lastSlot);
    return y;
}

} // namespace

void doDialogFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();
    startFrame(d, keepStagedRows(kRows), FrameStart{IDD_MESSAGE, kWidth, kHeight, kMinWidth, kMinHeight, true, kFirstButtonSlot},
               args.wide(1));
    d.copiesMessage = 1;
    OptionSet options(args.narrow(0, kLongOptionsBytes));
    applyPosition(d, options);
    applyFocus(options);
    d.defaultButton = defaultButtonSlot(options, kButtonCount, kFirstButtonSlot);

    const WideText &message = args.wide(2);
    int32_t top = kContentTop;
    if (message.empty()) {
        resetSlot(kMessageSlot, true, true);
    } else {
        ControlSpec &m = d.controls[kMessageSlot];
        placeStatic(m, message,
                    SlotLayout{kContentLeft, kContentTop, d.width - kContentWidthAllowance, kMessageHeight, 1.0, 0.0,
                               false, false});
        top += kRowPitch;
    }

    top += applyMessageIcon(d, options);

    // Buttons 1..4 stand in a row at buttonsY, 5..8 in a row below it: laid
    // out as the frame lays out two rows above a window's bottom edge.
    const StagedTexts staged(kFirstInputSlot, kFirstInputSlot + kRows);
    const int32_t buttonsY = layOutRows(top);
    placeButtonRow(args, ButtonRow{kFirstButtonArgument, kButtonCount, kLowerRowDrop, false}, d.width,
                   buttonsY + kLowerRowDrop + kButtonBottom);
    bool lowerRow = false;
    for (int n = kFirstLowerRowButton; n <= kButtonCount; ++n) {
        if (!d.controls[kFirstButtonSlot + n - 1].kind.empty()) lowerRow = true;
    }
    d.height = buttonsY + (lowerRow ? kBottomTwoRows : kBottomOneRow);
    d.minHeight = d.height;
    d.controlCount = kControlCount;
    applySizeAfterLayout(d, options);
    applyCancelButton(d, options);

    showFrame();
    staged.restoreUnlessPressed();
    return frameResult(result);
}
