// Tessary_Dialog: a message with up to eight buttons; returns the number of
// the button pressed.
#include "functions/functions.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "plugin/host_values.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace {

constexpr uint32_t kOptionsBufferBytes = 128;

constexpr int kMinWidth = 383;        // pixels
constexpr int kOneRowHeight = 173;    // pixels, one row of buttons
constexpr int kTwoRowHeight = 203;    // pixels, two rows of buttons
constexpr int kSecondRowExtra = 31;   // pixels added by a second row of buttons
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonStep = 82;       // from one button's left edge to the next
constexpr int kButtonRight = 93;      // window width minus a row's rightmost button x
constexpr int kButtonBottom = 65;     // window height minus the lower row's y
constexpr uint32_t kTwoRowArguments = 8; // from this many arguments on, buttons take two rows

struct PresetSize {
    const char *keyword;
    int width, height;
};
const PresetSize kPresets[] = {{"small", 383, 280}, {"medium", 450, 300}, {"large", 600, 400}};

void applyOptions(DialogDefinition &d, const OptionSet &options) {
    if (options.has("noresize")) d.resizable = 0;
    for (const PresetSize &p : kPresets) {
        if (options.has(p.keyword)) {
            d.width = p.width;
            d.height = p.height;
            break;
        }
    }
    if (options.has("width")) d.width = options.numericValue("width");
    if (options.has("height")) d.height = options.numericValue("height");
    if (options.has("left")) d.left = options.numericValue("left");
    if (options.has("top")) d.top = options.numericValue("top");
    if (options.has("timer")) {
        d.timerEnabled = 1;
        int seconds = options.numericValue("timer");
        if (seconds <= 0) {
            d.timerInterval = 0;
        } else {
            d.timerInterval = uint32_t(seconds) * 1000u;
            if (options.has("noButtons")) d.noCaption = 1;
        }
    }
    static const char *const defaults[] = {"defaultButton1", "defaultButton2", "defaultButton3", "defaultButton4",
                                           "defaultButton5", "defaultButton6", "defaultButton7", "defaultButton8"};
    for (int n = 0; n < 8; ++n) {
        if (options.has(defaults[n])) {
            d.defaultButton = kFirstButtonSlot + n;
            break;
        }
    }
}

void makeButton(int slot, const WideText &caption, int x, int y, int number) {
    ControlSpec &s = dialog().controls[slot];
    s.kind = NarrowText("button");
    setText(s, caption.data());
    // Buttons keep their size and stay in the bottom right corner.
    setLayout(s, SlotLayout{x, y, kButtonWidth, kButtonHeight, 0.0, 0.0, true, true});
    s.value = integerToText(number);
}

} // namespace

int16_t dialogFunction(const FMDataVect *args, FMData *result) {
    DialogDefinition &d = dialog();
    uint32_t count = argumentCount(args);

    resetAllSlots(false);
    d.resizable = 1;
    d.timerEnabled = 0;
    d.timerInterval = 0;
    d.noCaption = 0;
    d.defaultButton = kFirstButtonSlot;
    d.title = argumentWide(args, 1);

    int extra = count >= kTwoRowArguments ? kSecondRowExtra : 0;
    d.height = extra ? kTwoRowHeight : kOneRowHeight;
    d.width = kMinWidth;
    d.templateId = IDD_MESSAGE;
    applyOptions(d, OptionSet(argumentNarrow(args, 0, kOptionsBufferBytes).c_str()));

    d.minWidth = kMinWidth;
    if (d.width < kMinWidth) d.width = kMinWidth;
    d.minHeight = extra ? kTwoRowHeight : kOneRowHeight;
    if (d.height < d.minHeight) d.height = d.minHeight;
    const int w = d.width;
    const int h = d.height;

    ControlSpec &message = d.controls[kMessageSlot];
    message.kind = NarrowText("static");
    setText(message, argumentWide(args, 2).data());
    setLayout(message, SlotLayout{17, 10, w - 44, h - extra - 80, 1.0, 1.0, false, false});

    int nextSlot = kFirstButtonSlot;
    if (!d.noCaption) {
        makeButton(kFirstButtonSlot, argumentWide(args, 3), w - kButtonRight, h - extra - kButtonBottom, 1);
        nextSlot = kFirstButtonSlot + 1;
        for (int i = nextSlot; i < kFirstButtonSlot + 8; ++i) resetSlot(i, false, true);
        // Places run right to left; with two rows the first four buttons
        // take the upper row and the rest the lower one. An empty argument
        // leaves its place free.
        int place = 1;
        int rowExtra = extra;
        for (uint32_t j = 4; j <= 10 && j < count; ++j) {
            WideText caption = argumentWide(args, j);
            if (!caption.empty()) {
                makeButton(nextSlot, caption, w - kButtonRight - kButtonStep * place, h - rowExtra - kButtonBottom,
                           int(j) - 2);
                ++nextSlot;
            }
            if (place == 3 && rowExtra > 0) {
                place = 0;
                rowExtra = 0;
            } else {
                ++place;
            }
        }
    }
    d.controlCount = nextSlot;

    runDialog();

    if (d.resultIndex >= 0 && d.resultIndex < kSlotCount) {
        return setResultText(result, args, d.controls[d.resultIndex].value);
    }
    return setResultEmpty(result, args);
}
