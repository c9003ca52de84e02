// Tessary_Dialog: a message with up to eight buttons; returns the number of
// the button pressed.
#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "model/call.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace {


constexpr int32_t kMinWidth = 383;      // script units
constexpr int32_t kOneRowHeight = 173;  // script units, one row of buttons
constexpr int32_t kTwoRowHeight = 203;  // script units, two rows of buttons
constexpr int32_t kMessageBottom = 80;  // window height minus the message's, one row of buttons
constexpr uint32_t kTwoRowArguments = 8; // from this many arguments on, buttons take two rows
constexpr uint32_t kFirstButtonArgument = 3;
constexpr int kButtonCount = 8;


} // namespace

void dialogFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();
    const int32_t extra = args.count() >= kTwoRowArguments ? kSecondRowExtra : 0;
    const int32_t height = extra ? kTwoRowHeight : kOneRowHeight;

    startFrame(d, kFreshTable, FrameStart{IDD_MESSAGE, kMinWidth, height, kMinWidth, height, true, kFirstButtonSlot},
               args.wide(1));
    // Users paste error messages into support requests.
    d.copiesMessage = 1;
    OptionSet options(args.narrow(0, kShortOptionsBytes));
    applyNoResize(d, options);
    applyPresetSizes(d, options, kMessageDialogPresets, kFirstPresetWins);
    applyExplicitSize(d, options);
    applyPosition(d, options);
    applyCloseTimer(d, options);
    d.defaultButton = defaultButtonSlot(options, kButtonCount, kFirstButtonSlot);
    clampToMinimum(d);

    ControlSpec &message = d.controls[kMessageSlot];
    placeStatic(message, args.wide(2),
                SlotLayout{kContentLeft, kContentTop, d.width - kContentWidthAllowance,
                           d.height - extra - kMessageBottom, 1.0, 1.0, false, false});
    applyMessageIcon(d, options);

    // A dialog that only its timer closes shows no buttons.
    d.controlCount = d.noCaption
                         ? kFirstButtonSlot
                         : placeButtonRow(args, ButtonRow{kFirstButtonArgument, kButtonCount, extra, true}, d.width,
                                          d.height);
    applyCancelButton(d, options);

    showFrame();
    return frameResult(result);
}
