// Tessary_BigEditBox: one large multi-line edit field in a resizable
// window, an optional caption above it and up to four buttons; returns the
// number of the button pressed. The edited text stays in its slot for
// Tessary_GetInput("text1"), its line breaks as the host's CR.
#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "model/call.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace {


// Arguments
constexpr uint32_t kTitleArgument = 1;
constexpr uint32_t kLabelArgument = 2;
constexpr uint32_t kTextArgument = 3;
constexpr uint32_t kFirstButtonArgument = 4;
constexpr int kButtonCount = 4;

constexpr int kLabelSlot = kMessageSlot;
constexpr int kEditSlot = kFirstInputSlot;
constexpr int32_t kControlCount = kEditSlot + 1;

// Window sizes, script units
constexpr int32_t kDefaultWidth = 495;
constexpr int32_t kDefaultHeight = 596;
constexpr int32_t kMinWidth = 383;
constexpr int32_t kMinHeight = 100;

// Control sizes, script units
constexpr int32_t kLabelHeight = 11;
constexpr int32_t kEditTopBelowLabel = 35;
constexpr int32_t kEditBottomWithLabel = 115;  // window height minus the field's, under a caption
constexpr int32_t kEditBottom = 90;            // the same without a caption

// The slot that holds button `number`: buttons after an empty caption move
// up a slot, so the slot is found by the number the button reports.
int32_t slotOfButton(int number, int32_t fallback) {
    const WideText wanted = integerToText(number);
    for (int slot = kFirstButtonSlot; slot < kFirstButtonSlot + kButtonCount; ++slot) {
        const ControlSpec &s = dialog().controls[slot];
        if (!s.kind.empty() && s.value == wanted) return slot;
    }
    return fallback;
}

} // namespace

void bigEditBoxFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();

    startFrame(d, kFreshTable, FrameStart{IDD_MESSAGE, kDefaultWidth, kDefaultHeight, kMinWidth, kMinHeight, true, kFirstButtonSlot},
               args.wide(kTitleArgument));
    OptionSet options(args.narrow(0, kLongOptionsBytes));
    // Each keyword present sets the size, so the last of them in table order wins.
    applyPresetSizes(d, options, kFieldDialogPresets, kLastPresetWins);
    applyExplicitSizeAtLeast(d, options);
    applyPosition(d, options);

    const WideText &label = args.wide(kLabelArgument);
    const bool captioned = !label.empty();
    if (captioned) {
        ControlSpec &caption = d.controls[kLabelSlot];
        placeStatic(caption, label,
                    SlotLayout{kContentLeft, kContentTop, d.width - kContentWidthAllowance, kLabelHeight, 1.0, 0.0,
                               false, false});
    }

    ControlSpec &edit = d.controls[kEditSlot];
    edit.kind = NarrowText("editBox");
    edit.value = widenAscii("text1");
    edit.text = args.wide(kTextArgument);
    setLayout(edit, SlotLayout{kContentLeft, captioned ? kEditTopBelowLabel : kContentTop,
                               d.width - kContentWidthAllowance,
                               d.height - (captioned ? kEditBottomWithLabel : kEditBottom), 1.0, 1.0, false, false});
    edit.initialFocus = 1;

    placeButtonRow(args, ButtonRow{kFirstButtonArgument, kButtonCount, 0, true}, d.width, d.height);
    applyCancelButton(d, options);
    // "defaultButtonN" names button N wherever an empty caption before it
    // moved it; a button that was not made leaves Enter with button 1.
    const int32_t requested = defaultButtonSlot(options, kButtonCount, kFirstButtonSlot);
    d.defaultButton = slotOfButton(requested - kFirstButtonSlot + 1, kFirstButtonSlot);
    d.controlCount = kControlCount;

    showFrame();
    return frameResult(result);
}
