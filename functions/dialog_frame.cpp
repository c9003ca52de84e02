#include "functions/dialog_frame.h"

#include <cstdio>
#include <utility>

#include "functions/reading_order.h"
#include "model/call.h"
#include "model/warnings.h"
#include "runtime/fit_rules.h"
#include "runtime/presence.h"
#include "runtime/runner.h"

namespace {

constexpr int kLargestButtonNumber = 8;
constexpr int kUpperRowPlaces = 4; // places of the upper row when buttons take two rows

} // namespace

void startFrame(DialogDefinition &d, const CarryOver &carry, const FrameStart &start, const WideText &title) {
    carryOver(carry);
    d.title = title;
    d.templateId = start.templateId;
    d.width = start.width;
    d.height = start.height;
    d.minWidth = start.minWidth;
    d.minHeight = start.minHeight;
    d.resizable = start.resizable ? 1 : 0;
    d.defaultButton = start.defaultButton;
    d.timerEnabled = 0;
    d.timerInterval = 0;
    d.noCaption = 0;
    d.ordered = 0;
    d.copiesMessage = 0;
    d.sizeGiven = 0;
    d.cancelButton = 0;
    d.messageIcon = MessageIcon::kNone;
}

void applyPresetSizes(DialogDefinition &d, const OptionSet &options, const PresetSize *presets, size_t count,
                      PresetRule rule) {
    for (size_t i = 0; i < count; ++i) {
        if (!options.has(presets[i].keyword)) continue;
        d.width = presets[i].width;
        d.height = presets[i].height;
        if (rule == kFirstPresetWins) return;
    }
}

void applyExplicitSize(DialogDefinition &d, const OptionSet &options) {
    if (options.has("width")) d.width = options.numericValue("width");
    if (options.has("height")) d.height = options.numericValue("height");
    if (options.has("width") || options.has("height")) d.sizeGiven = 1;
}

namespace {

void warnRaised(const char *what, int32_t asked, int32_t taken) {
    warn(std::string("the ") + what + " " + std::to_string(asked) + " is below the least, " + std::to_string(taken) +
         ", which was taken");
}

} // namespace

void applyExplicitSizeAtLeast(DialogDefinition &d, const OptionSet &options) {
    constexpr int32_t kLeastWidth = 277;
    constexpr int32_t kLeastHeight = 159; // a smaller one becomes 160
    applyExplicitSize(d, options);
    if (options.has("width") && d.width < kLeastWidth) {
        warnRaised("width", d.width, kLeastWidth);
        d.width = kLeastWidth;
    }
    if (options.has("height") && d.height < kLeastHeight) {
        warnRaised("height", d.height, kLeastHeight + 1);
        d.height = kLeastHeight + 1;
    }
}

void applySizeAfterLayout(DialogDefinition &d, const OptionSet &options) {
    const int32_t laidOutWidth = d.width, laidOutHeight = d.height;
    applyExplicitSize(d, options);
    clampToMinimum(d);
    const int32_t dw = d.width - laidOutWidth, dh = d.height - laidOutHeight;
    d.width = laidOutWidth;
    d.height = laidOutHeight;
    followResize(d, dw, dh);
}

void applyPosition(DialogDefinition &d, const OptionSet &options) {
    if (options.has("left")) d.left = options.numericValue("left");
    if (options.has("top")) d.top = options.numericValue("top");
    if (options.has("left") || options.has("top")) d.positionGiven = 1;
}

void applyNoResize(DialogDefinition &d, const OptionSet &options) {
    if (options.has("noresize")) d.resizable = 0;
}

uint32_t timerPeriod(int seconds) {
    if (seconds <= 0) return 0;
    const uint64_t milliseconds = uint64_t(seconds) * 1000u;
    return milliseconds > kLongestTimerPeriod ? kLongestTimerPeriod : uint32_t(milliseconds);
}

void applyCloseTimer(DialogDefinition &d, const OptionSet &options) {
    if (!options.has("timer")) return;
    d.timerEnabled = 1;
    const int seconds = options.numericValue("timer");
    d.timerInterval = timerPeriod(seconds);
    if (seconds > 0 && uint64_t(seconds) * 1000u > kLongestTimerPeriod) {
        warn("option " + quoted("timer=" + std::to_string(seconds)) + " is past the longest timer, " +
             std::to_string(kLongestTimerPeriod / 1000) + " seconds, which was taken");
    }
    if (seconds > 0 && options.has("noButtons")) d.noCaption = 1;
}

int32_t defaultButtonSlot(const OptionSet &options, int buttonCount, int32_t fallback) {
    static const char *const kKeywords[kLargestButtonNumber] = {
        "defaultButton1", "defaultButton2", "defaultButton3", "defaultButton4",
        "defaultButton5", "defaultButton6", "defaultButton7", "defaultButton8"};
    for (int n = 1; n <= buttonCount && n <= kLargestButtonNumber; ++n) {
        if (options.has(kKeywords[n - 1])) return kFirstButtonSlot + n - 1;
    }
    return fallback;
}

void clampToMinimum(DialogDefinition &d) {
    if (d.width < d.minWidth) {
        warnRaised("width", d.width, d.minWidth);
        d.width = d.minWidth;
    }
    if (d.height < d.minHeight) {
        warnRaised("height", d.height, d.minHeight);
        d.height = d.minHeight;
    }
}

void placeStatic(ControlSpec &slot, const WideText &text, const SlotLayout &layout) {
    placeStatic(slot, WideText(text), layout);
}

void placeStatic(ControlSpec &slot, WideText &&text, const SlotLayout &layout) {
    // Staged labels are placed again and again on slots that already are
    // texts; their keyword stays rather than being made anew.
    if (slot.kind.control() != ControlKind::kStatic) slot.kind = NarrowText("static");
    slot.text = std::move(text);
    setLayout(slot, layout);
}

void placeButton(int slot, const WideText &caption, int32_t x, int32_t y, int number) {
    ControlSpec &s = dialog().controls[slot];
    s.kind = NarrowText("button");
    s.text = caption;
    setLayout(s, SlotLayout{x, y, kButtonWidth, kButtonHeight, 0.0, 0.0, true, true});
    s.value = integerToText(number);
}

int placeButtonRow(const CallArguments &args, const ButtonRow &row, int32_t width, int32_t height) {
    const int buttons = row.buttonCount < kLargestButtonNumber ? row.buttonCount : kLargestButtonNumber;
    const int32_t right = width - kButtonRight;
    placeButton(kFirstButtonSlot, args.wide(row.firstArgument), right,
                height - row.secondRowExtra - kButtonBottom, 1);
    for (int slot = kFirstButtonSlot + 1; slot < kFirstButtonSlot + buttons; ++slot) resetSlot(slot, false, true);

    const uint32_t count = args.count();
    int next = kFirstButtonSlot + 1;
    int place = 1; // places counted from the right end of the row, from 0
    int32_t rowExtra = row.secondRowExtra;
    for (int number = 2; number <= buttons; ++number) {
        const uint32_t argument = row.firstArgument + uint32_t(number - 1);
        if (argument >= count) break;
        const WideText &caption = args.wide(argument);
        if (!caption.empty()) {
            const int slot = row.packSlots ? next : kFirstButtonSlot + number - 1;
            placeButton(slot, caption, right - kButtonStep * place, height - rowExtra - kButtonBottom, number);
            next = slot + 1;
        }
        if (place == kUpperRowPlaces - 1 && rowExtra > 0) {
            place = 0;
            rowExtra = 0;
        } else {
            ++place;
        }
    }
    return next;
}

void applyCancelButton(DialogDefinition &d, const OptionSet &options) {
    if (!options.has("cancel")) return;
    const WideText number = integerToText(options.numericValue("cancel"));
    for (int slot = kFirstButtonSlot; slot < kFirstButtonSlot + kLargestButtonNumber; ++slot) {
        const ControlSpec &s = d.controls[slot];
        if (s.kind.control() == ControlKind::kButton && s.value == number) {
            d.cancelButton = slot;
            return;
        }
    }
    std::string given("cancel=");
    given.append(options.valueOf("cancel"));
    std::string line("option ");
    line.append(quoted(given));
    line.append(" names no button of the dialog, so Esc presses none");
    warn(line);
}

int32_t applyMessageIcon(DialogDefinition &d, const OptionSet &options) {
    static const struct {
        const char *keyword;
        MessageIcon kind;
    } kKinds[] = {{"error", MessageIcon::kError},
                  {"warning", MessageIcon::kWarning},
                  {"question", MessageIcon::kQuestion},
                  {"info", MessageIcon::kInformation}};
    // Each keyword is asked, so that none of them reads as an unknown word
    // beside the one that wins.
    for (const auto &k : kKinds) {
        if (options.has(k.keyword) && d.messageIcon == MessageIcon::kNone) d.messageIcon = k.kind;
    }
    ControlSpec &message = d.controls[kMessageSlot];
    if (d.messageIcon == MessageIcon::kNone || message.kind.empty()) return 0;
    const int32_t room = kMessageIconSize + kMessageIconGap;
    message.x += room;
    message.width -= room;
    if (message.height >= kMessageIconSize) return 0;
    const int32_t gained = kMessageIconSize - message.height;
    message.height = kMessageIconSize;
    return gained;
}

void showFrame(const DialogHooks &hooks, std::initializer_list<int> unread) {
    DialogDefinition &d = dialog();
    // A markup dialog's objects come in the markup's order, which is the
    // author's reading order; a dialog that set its own order keeps it.
    if (!d.ordered && !d.holdsMarkupObjects && !hooks.modeless) orderForReading(d);
    if (userPresent()) {
        runDialog(hooks);
        if (buttonPressed()) return;
    } else if (!hooks.modeless) {
        // As a dialog closed without a button; a modeless one stays unshown.
        dialog().resultIndex = -1;
    }
    for (int slot : unread) {
        if (slot >= 0 && slot < kSlotCount) dialog().controls[slot].text.clear();
    }
}

StagedTexts::StagedTexts(int first, int end) : first_(first) {
    for (int slot = first; slot < end && slot < kSlotCount; ++slot) texts_.push_back(dialog().controls[slot].text);
}

void StagedTexts::restoreUnlessPressed() const {
    if (buttonPressed()) return;
    for (size_t k = 0; k < texts_.size(); ++k) dialog().controls[first_ + int(k)].text = texts_[k];
}

bool buttonPressed() {
    const int32_t pressed = dialog().resultIndex;
    return pressed >= 0 && pressed < kSlotCount;
}

void frameResult(CallResult &result) {
    const DialogDefinition &d = dialog();
    if (d.resultIndex >= 0 && d.resultIndex < kSlotCount) return result.setText(d.controls[d.resultIndex].value);
    return result.setEmpty();
}
