// Settings that later dialogs pick up, without a window of their own: the
// window position, the position and size of the last dialog, and the fonts of
// groups of slots.
#include <cstring>
#include <string>

#include "functions/functions.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "model/call.h"

namespace {

constexpr uint32_t kCoordinateBufferSize = 100; // bytes read of x and of y
constexpr uint32_t kFaceBufferSize = kFontFieldSize;
constexpr uint32_t kStyleBufferSize = 64;
constexpr uint32_t kSizeBufferSize = 24;
constexpr int32_t kDefaultPointSize = 8;  // points, when the size is left empty
constexpr size_t kSlotNumberDigits = 2;   // characters read after a numbered keyword

// A group of slots that Tessary_SetFont addresses as a whole ("setAllButtons",
// anywhere in the options) or one by number ("setButton2", at the start).
struct FontGroup {
    const char *setAll;
    const char *clearAll;
    const char *setNumbered;
    const char *clearNumbered;
    int firstSlot; // slot of number 1
    int count;     // numbers 1..count
};

// In the order in which the options are tested; the first match wins.
const FontGroup kFontGroups[] = {
    {"setAllDialogText", "clearAllDialogText", "setDialogText", "clearDialogText", kMessageSlot, 3},
    {"setAllButtons", "clearAllButtons", "setButton", "clearButton", kFirstButtonSlot, 8},
    {"setAllLabels", "clearAllLabels", "setLabel", "clearLabel", kFirstLabelSlot, 24},
    {"setAllInputTypes", "clearAllInputTypes", "setInputType", "clearInputType", kFirstInputSlot, 24},
};

// Slots first..end-1; none when first == end.
struct SlotRange {
    int first;
    int end;
};

constexpr SlotRange kNoSlots = {0, 0};

// The slot of "<keyword>N" standing at the start of the options, where N is
// the one or two characters after the keyword; a number outside the group
// selects nothing.
bool numberedSlot(const OptionSet &set, const FontGroup &group, const char *keyword, SlotRange &out) {
    const std::string &options = set.text();
    size_t n = std::strlen(keyword);
    if (set.find(keyword) != 1) return false;
    std::string digits;
    for (size_t i = n; i < options.length() && digits.size() < kSlotNumberDigits; ++i) digits += options[i];
    int number = decimalValue(digits.c_str());
    out = number >= 1 && number <= group.count
              ? SlotRange{group.firstSlot + number - 1, group.firstSlot + number}
              : kNoSlots;
    return true;
}

SlotRange selectFontSlots(const OptionSet &options, bool clearing) {
    for (const FontGroup &g : kFontGroups) {
        if (options.has(clearing ? g.clearAll : g.setAll)) return SlotRange{g.firstSlot, g.firstSlot + g.count};
    }
    const char *all = clearing ? "clearAll" : "setAll";
    if (options.has(all) && options.text() == all) return SlotRange{0, kFirstExtraSlot};
    for (const FontGroup &g : kFontGroups) {
        SlotRange range;
        if (numberedSlot(options, g, clearing ? g.clearNumbered : g.setNumbered, range)) return range;
    }
    return kNoSlots;
}

std::string optionalNarrow(const CallArguments &args, uint32_t count, uint32_t index, uint32_t bufferSize) {
    return index < count ? args.narrow(index, bufferSize) : std::string();
}

WideText joinedIntegers(const int32_t *values, size_t count) {
    WideText text;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) text.push_back(TextUnit('|'));
        text.append(integerToText(values[i]));
    }
    return text;
}

} // namespace

void setPositionFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();
    d.left = decimalValue(args.narrow(0, kCoordinateBufferSize).c_str());
    d.top = decimalValue(args.narrow(1, kCoordinateBufferSize).c_str());
    d.positionGiven = 1;
    return result.setEmpty();
}

// The size is that of the last dialog as the user left it, so a script can
// open the next one the same way.
void getPositionFunction(const CallArguments &, CallResult &result) {
    const DialogDefinition &d = dialog();
    const int32_t values[] = {d.left, d.top, d.width, d.height};
    return result.setText(joinedIntegers(values, sizeof values / sizeof values[0]));
}

// Face and style longer than their 32-byte fields are cut before the last
// whole character that fits, so a font name never runs past its field and
// never ends in half a character.
void setFontFunction(const CallArguments &args, CallResult &result) {
    OptionSet options(args.narrow(0, kSettingOptionsBytes));
    bool clearing = options.has("clear");
    SlotRange slots = selectFontSlots(options, clearing);

    uint32_t count = args.count();
    std::string face, style;
    int32_t pointSize = 0;
    if (!clearing) {
        face = optionalNarrow(args, count, 1, kFaceBufferSize);
        style = optionalNarrow(args, count, 2, kStyleBufferSize);
        std::string size = optionalNarrow(args, count, 3, kSizeBufferSize);
        pointSize = size.empty() ? kDefaultPointSize : decimalValue(size.c_str());
    }

    for (int slot = slots.first; slot < slots.end; ++slot) {
        FontSpec &font = dialog().controls[slot].font;
        if (clearing)
            clearFont(font);
        else
            setFont(font, face.c_str(), style.c_str(), pointSize);
    }
    return result.setEmpty();
}

// Accepted so that scripts written for it run on; it has nothing to report.
void systemFunction(const CallArguments &args, CallResult &result) {
    args.narrow(0, kSettingOptionsBytes);
    return result.setEmpty();
}
