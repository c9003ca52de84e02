// Tessary_ProgressBar: a modeless window with one or two progress bars that a
// script drives with one command per call ("show", "incr", "hide", ...). The
// window stays open between calls and the call never waits for it; the
// result is the empty text, except for "cancelled".
#include "functions/progress_bar.h"

#include <string>
#include <string_view>

#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "model/dialog_definition.h"
#include "model/call.h"
#include "resources/resource_ids.h"
#include "runtime/progress.h"
#include "runtime/runner.h"

namespace {

// Arguments, counted from 0.
enum Argument : uint32_t { kOptions, kLabel, kSteps1, kStart1, kLabel1, kSteps2, kStart2, kLabel2, kCancelCaption };

constexpr uint32_t kStepsBufferBytes = 64;
constexpr uint32_t kShowLeastArguments = 3;    // fewer: "show" only resets
constexpr uint32_t kSetTextArguments = 2;      // a set-text command takes exactly these
constexpr int32_t kDefaultSteps = 100;

// Window sizes, script units.
constexpr int32_t kWidth = 300;
constexpr int32_t kHeight = 90;
constexpr int32_t kLeastWidth = 200;
constexpr int32_t kLeastHeight = 90;
constexpr int32_t kTwoBarLeastHeight = 145;
constexpr int32_t kNoDialogTextHeight = 90;
constexpr int32_t kControlCount = kProgressBar2Slot + 1;

// Control geometry, script units.
constexpr int32_t kLeft = 17;               // x of every text and bar
constexpr int32_t kWidthAllowance = 36;     // window width minus a text's or bar's
constexpr int32_t kTop = 10;                // y of whatever is topmost
constexpr int32_t kBarHeight = 13;
constexpr int32_t kBarRise = 28;            // a bar's y above the bottom edge or the control below it
constexpr int32_t kLabelHeight = 11;
constexpr int32_t kLabelRise = 14;          // a bar's text above its bar
constexpr int32_t kTextAboveStack = 20;     // two bars: the dialog text ends this far above the stack
constexpr int32_t kTextAboveBar = 43;       // one bar: window height minus the dialog text's height
constexpr int32_t kCancelBand = 33;         // the cancel button's top above the bottom edge; the window grows by it
constexpr int32_t kCancelRight = 18;        // the cancel button's right edge inside the window's


struct CommandRow {
    std::string_view keyword; // a literal: its data() ends in a NUL
    ProgressCommand command;
};

// Tested in this order; "incr" also stands for "incr1".
constexpr CommandRow kCommands[] = {
    {"show", ProgressCommand::kShow},
    {"incr2", ProgressCommand::kIncrement2},
    {"incr", ProgressCommand::kIncrement1},
    {"reset1", ProgressCommand::kReset1},
    {"reset2", ProgressCommand::kReset2},
    {"setDialogText", ProgressCommand::kSetDialogText},
    {"setLabel1", ProgressCommand::kSetLabel1},
    {"setLabel2", ProgressCommand::kSetLabel2},
    {"hide", ProgressCommand::kHide},
    {"cancelled", ProgressCommand::kCancelled},
};

constexpr bool occursIn(const char *part, const char *text) {
    for (; *text != 0; ++text) {
        size_t i = 0;
        while (part[i] != 0 && part[i] == text[i]) ++i;
        if (part[i] == 0) return true;
    }
    return false;
}

// Whether no keyword occurs in one tested after it, which lets a text that
// is one keyword alone be taken without testing the others.
constexpr bool noEarlierKeywordInside() {
    for (size_t later = 0; later < sizeof kCommands / sizeof kCommands[0]; ++later) {
        for (size_t earlier = 0; earlier < later; ++earlier) {
            if (occursIn(kCommands[earlier].keyword.data(), kCommands[later].keyword.data())) return false;
        }
    }
    return true;
}
static_assert(noEarlierKeywordInside(), "a keyword alone must be its own command");

// ---- "show" --------------------------------------------------------------

// A step count or start: `fallback` when the argument is missing or empty,
// else its decimal value (0 for a text without digits).
int32_t stepArgument(const CallArguments &args, uint32_t count, uint32_t index, int32_t fallback) {
    if (index >= count) return fallback;
    const std::string text = args.narrow(index, kStepsBufferBytes);
    return text.empty() ? fallback : decimalValue(text.c_str());
}

// The bar's maximum; a negative count makes an empty bar.
int32_t stepCount(const CallArguments &args, uint32_t count, uint32_t index) {
    const int32_t steps = stepArgument(args, count, index, kDefaultSteps);
    return steps < 0 ? 0 : steps;
}

// "timer": whole seconds after the last command the window hides itself;
// 0, a negative value or none means never.
void applyHideTimer(DialogDefinition &d, const OptionSet &options) {
    if (!options.has("timer")) return;
    const int seconds = options.numericValue("timer");
    d.timerEnabled = seconds >= 1 ? 1 : 0;
    d.timerInterval = timerPeriod(seconds);
}

void setUpSlot(int slot, const char *kind, const TextUnit *name) {
    ControlSpec &s = slotAt(slot);
    s.kind = NarrowText(kind);
    s.value = WideText(name);
}

// Every control the window may show: a window created now gets them all,
// and later shows only lay them out again.
void setUpSlots() {
    setUpSlot(kProgressTextSlot, "static", TEXT16("dialogtext"));
    setUpSlot(kProgressLabel1Slot, "static", TEXT16("label1"));
    setUpSlot(kProgressLabel2Slot, "static", TEXT16("label2"));
    for (int slot : {kProgressTextSlot, kProgressLabel1Slot, kProgressLabel2Slot}) slotAt(slot).growWidth = 1.0;
    setUpSlot(kProgressDefaultSlot, "button", TEXT16("1"));
    setUpSlot(kProgressCancelSlot, "button", TEXT16("2"));
    for (int slot : {kProgressDefaultSlot, kProgressCancelSlot}) {
        setLayout(slotAt(slot), SlotLayout{0, 0, kButtonWidth, kButtonHeight, 0.0, 0.0, true, true});
    }
    setUpSlot(kProgressBar1Slot, "progressbar", TEXT16("text1"));
    setUpSlot(kProgressBar2Slot, "progressbar", TEXT16("text2"));
    for (int slot : {kProgressBar1Slot, kProgressBar2Slot}) {
        slotAt(slot).height = kBarHeight;
        slotAt(slot).growWidth = 1.0;
    }
}

// A non-empty text becomes the slot's; with too few arguments the slot is
// not shown at all.
void fillText(const CallArguments &args, uint32_t count, uint32_t index, int slot) {
    if (index >= count) {
        resetSlot(slot, false, true);
        return;
    }
    const WideText &text = args.wide(index);
    if (!text.empty()) slotAt(slot).text = text;
}

void fillBars(const CallArguments &args, uint32_t count) {
    ControlSpec &bar1 = slotAt(kProgressBar1Slot);
    setProgressSteps(bar1, stepCount(args, count, kSteps1));
    setProgressCounter(bar1, stepArgument(args, count, kStart1, 0));
    if (kSteps2 >= count || args.narrow(kSteps2, kStepsBufferBytes).empty()) {
        resetSlot(kProgressBar2Slot, false, true);
        return;
    }
    ControlSpec &bar2 = slotAt(kProgressBar2Slot);
    setProgressSteps(bar2, stepCount(args, count, kSteps2));
    setProgressCounter(bar2, stepArgument(args, count, kStart2, 0));
}

void show(const CallArguments &args, uint32_t count, const OptionSet &options) {
    DialogDefinition &d = dialog();
    startFrame(d, kFreshTable, FrameStart{IDD_PROGRESS, kWidth, kHeight, kLeastWidth, kLeastHeight, false, kProgressDefaultSlot},
               WideText());
    d.noCaption = 1;
    d.controlCount = kControlCount;
    if (count < kShowLeastArguments) return;

    setUpSlots();
    showFrame(progressHooks());

    d.width = kWidth;
    d.height = kHeight;
    applyPresetSizes(d, options, kProgressPresets, kFirstPresetWins);
    applyExplicitSize(d, options);
    applyPosition(d, options);
    applyHideTimer(d, options);
    if (options.has("barberpole")) setProgressMarquee(slotAt(kProgressBar1Slot), 1);

    const WideText &label = args.wide(kLabel);
    if (label.empty()) {
        resetSlot(kProgressTextSlot, false, true);
    } else {
        slotAt(kProgressTextSlot).text = label;
    }
    fillBars(args, count);
    fillText(args, count, kLabel1, kProgressLabel1Slot);
    fillText(args, count, kLabel2, kProgressLabel2Slot);
    const WideText cancel = kCancelCaption < count ? args.wide(kCancelCaption) : WideText();
    if (cancel.empty()) {
        resetSlot(kProgressCancelSlot, false, true);
    } else {
        slotAt(kProgressCancelSlot).text = cancel;
    }
    clampToMinimum(d);

    const ProgressLayout layout = layOutProgress(ProgressLayoutRequest{
        d.width, d.height, !slotAt(kProgressTextSlot).kind.empty(), !slotAt(kProgressLabel1Slot).kind.empty(),
        !slotAt(kProgressLabel2Slot).kind.empty(), !slotAt(kProgressBar2Slot).kind.empty(),
        options.has("noDialogText"), !cancel.empty()});
    d.width = layout.width;
    d.height = layout.height;
    if (!layout.dialogText) slotAt(kProgressTextSlot).kind.clear();
    for (int slot : {kProgressTextSlot, kProgressLabel1Slot, kProgressLabel2Slot, kProgressBar1Slot, kProgressBar2Slot}) {
        slotAt(slot).x = kLeft;
        slotAt(slot).width = layout.width - kWidthAllowance;
    }
    SlotSet shown;
    for (int i = 0; i < layout.count; ++i) {
        const PlacedControl &p = layout.placed[i];
        ControlSpec &s = slotAt(p.slot);
        s.x = p.x;
        s.y = p.y;
        s.width = p.width;
        s.height = p.height;
        shown.set(size_t(p.slot));
    }
    progressPresent(shown);
}

// ---- the other commands ----------------------------------------------------

// The bar shows its counter, then the counter moves on: the first step after
// a start of 0 still shows 0.
void increment(int slot) {
    if (!progressWindowExists()) return;
    progressShow();
    progressSetBar(slot);
    ControlSpec &bar = slotAt(slot);
    setProgressCounter(bar, nextStep(progressCounter(bar)));
    progressArmTimer();
}

void reset(int slot) {
    if (!progressWindowExists()) return;
    setProgressCounter(slotAt(slot), 0);
    progressSetBar(slot);
    progressArmTimer();
}

void setWindowText(const CallArguments &args, uint32_t count, int slot) {
    if (count != kSetTextArguments || !progressWindowExists()) return;
    progressSetText(slot, args.wide(kLabel));
    progressArmTimer();
}

} // namespace

ProgressCommand progressCommand(const OptionSet &options) {
    // Nearly every call passes one keyword alone ("incr" in a loop): that
    // keyword is the command, since none tested before it occurs in it.
    for (const CommandRow &row : kCommands) {
        if (std::string_view(options.text()) != row.keyword) continue;
        if (options.has(row.keyword.data())) return row.command; // noted as used, for the warnings
    }
    for (const CommandRow &row : kCommands) {
        if (options.has(row.keyword.data())) return row.command;
    }
    return ProgressCommand::kNone;
}

ProgressLayout layOutProgress(const ProgressLayoutRequest &r) {
    ProgressLayout out{r.width, r.height, r.dialogText, 0, {}};
    const int32_t width = r.width - kWidthAllowance;
    auto place = [&out](int slot, int32_t x, int32_t y, int32_t w, int32_t h) {
        out.placed[out.count++] = PlacedControl{slot, x, y, w, h};
    };
    if (r.secondBar) {
        if (out.height < kTwoBarLeastHeight) out.height = kTwoBarLeastHeight;
        if (r.noDialogText) {
            out.dialogText = false;
            out.height = kNoDialogTextHeight;
        }
        int32_t cursor = out.height - kBarRise;
        place(kProgressBar2Slot, kLeft, cursor, width, kBarHeight);
        if (r.label2) {
            cursor -= kLabelRise;
            place(kProgressLabel2Slot, kLeft, cursor, width, kLabelHeight);
        }
        cursor -= kBarRise;
        place(kProgressBar1Slot, kLeft, cursor, width, kBarHeight);
        if (r.label1) {
            cursor -= kLabelRise;
            place(kProgressLabel1Slot, kLeft, cursor, width, kLabelHeight);
        }
        if (out.dialogText) place(kProgressTextSlot, kLeft, kTop, width, cursor - kTextAboveStack);
    } else if (out.dialogText) {
        place(kProgressTextSlot, kLeft, kTop, width, out.height - kTextAboveBar);
        place(kProgressBar1Slot, kLeft, out.height - kBarRise, width, kBarHeight);
    } else {
        place(kProgressBar1Slot, kLeft, kTop, width, kBarHeight);
    }
    if (r.cancelButton) {
        place(kProgressCancelSlot, out.width - kCancelRight - kButtonWidth, out.height, kButtonWidth, kButtonHeight);
        out.height += kCancelBand;
    }
    return out;
}

int32_t nextStep(int32_t counter) {
    return counter == INT32_MAX ? counter : counter + 1;
}

void progressBarFunction(const CallArguments &args, CallResult &result) {
    // Clicks made while the script was busy count before the command does.
    progressHandleInput();
    const uint32_t count = args.count();
    const OptionSet options(args.narrow(kOptions, kSettingOptionsBytes));
    switch (progressCommand(options)) {
    case ProgressCommand::kShow:
        show(args, count, options);
        break;
    case ProgressCommand::kIncrement2:
        increment(kProgressBar2Slot);
        break;
    case ProgressCommand::kIncrement1:
        increment(kProgressBar1Slot);
        break;
    case ProgressCommand::kReset1:
        reset(kProgressBar1Slot);
        break;
    case ProgressCommand::kReset2:
        reset(kProgressBar2Slot);
        break;
    case ProgressCommand::kSetDialogText:
        setWindowText(args, count, kProgressTextSlot);
        break;
    case ProgressCommand::kSetLabel1:
        setWindowText(args, count, kProgressLabel1Slot);
        break;
    case ProgressCommand::kSetLabel2:
        setWindowText(args, count, kProgressLabel2Slot);
        break;
    case ProgressCommand::kHide:
        if (progressWindowExists()) progressHide();
        break;
    case ProgressCommand::kCancelled:
        return result.setText(cancelPressed(slotAt(kProgressCancelSlot)) == 1 ? "1" : "");
    case ProgressCommand::kNone:
        break;
    }
    return result.setEmpty();
}
