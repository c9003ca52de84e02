// Tessary_DoLogin: a message, a user name (a drop-down list of known names
// or a plain edit field), a password and two buttons; returns the number of
// the button pressed. The two entries stay in their slots for
// Tessary_GetInput("text1") and ("text2").
#include <algorithm>

#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "model/dialog_definition.h"
#include "model/fields.h"
#include "model/options.h"
#include "model/call.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace {


// Arguments
constexpr uint32_t kTitleArgument = 1;
constexpr uint32_t kMessageArgument = 2;
constexpr uint32_t kUserLabelArgument = 3;
constexpr uint32_t kPasswordLabelArgument = 4;
constexpr uint32_t kUserNamesArgument = 5;
constexpr uint32_t kSelectedArgument = 6;
constexpr uint32_t kFirstButtonArgument = 7;
constexpr int kButtonCount = 2;

// Slots
constexpr int kUserLabelSlot = kFirstLabelSlot;
constexpr int kPasswordLabelSlot = kFirstLabelSlot + 1;
constexpr int kUserSlot = kFirstInputSlot;
constexpr int kPasswordSlot = kFirstInputSlot + 1;
constexpr int32_t kControlCount = kPasswordSlot + 1;

// Window and control sizes, script units
constexpr int32_t kWidth = 354;
constexpr int32_t kHeight = 187;
constexpr int32_t kMessageHeight = 35;
constexpr int32_t kLabelWidth = 95;
constexpr int32_t kLabelHeight = 12;
constexpr int32_t kLabelDrop = 3;            // a label sits this much lower than its field, level with its text
constexpr int32_t kUserFieldTop = 52;
constexpr int32_t kPasswordFieldTop = 85;
constexpr int32_t kFieldLeft = 120;
constexpr int32_t kFieldWidthAllowance = 139; // window width minus a field's
constexpr int32_t kFieldHeight = 23;

const TextUnit kSelectionMark = TextUnit('='); // the drop-down's items end here, the entry to select follows

TextUnit asciiLower(TextUnit unit) {
    return unit >= TextUnit('A') && unit <= TextUnit('Z') ? TextUnit(unit + ('a' - 'A')) : unit;
}

bool beginsWithCaseAside(const WideText &text, const WideText &start) {
    if (start.length() > text.length()) return false;
    for (size_t i = 0; i < start.length(); ++i) {
        if (asciiLower(text.data()[i]) != asciiLower(start.data()[i])) return false;
    }
    return true;
}

void placeLabel(int slot, const WideText &caption, int32_t fieldTop) {
    ControlSpec &s = dialog().controls[slot];
    placeStatic(s, caption,
                SlotLayout{kContentLeft, fieldTop + kLabelDrop, kLabelWidth, kLabelHeight, 0.0, 0.0, false, false});
}

void placeField(int slot, const char *kind, const char *name, int32_t top, int32_t width) {
    ControlSpec &s = dialog().controls[slot];
    s.kind = NarrowText(kind);
    s.value = widenAscii(name);
    setLayout(s, SlotLayout{kFieldLeft, top, width - kFieldWidthAllowance, kFieldHeight,
                            1.0, 0.0, false, false});
}

// The user-name field's content: for the drop-down its items, each ended by
// '|', and the name to preselect after '='; for the edit field the names text
// as it is.
WideText userFieldText(const CallArguments &args, bool dropDown) {
    WideText text = args.wide(kUserNamesArgument);
    const WideText &selected = args.wide(kSelectedArgument);
    if (dropDown && !selected.empty()) {
        text.push_back(kSelectionMark);
        text.append(selected);
    }
    return text;
}

// Whether the user-name field opens with a name in it: the edit field with
// its text, the drop-down with a name chosen. The drop-down chooses the first
// item that begins with the selected name, case aside; an item read here as
// not beginning with it (a letter outside ASCII in another case) is no harm:
// the name field then takes the focus, though it holds a name.
bool nameGiven(const CallArguments &args, bool dropDown) {
    const WideText &names = args.wide(kUserNamesArgument);
    if (!dropDown) return !names.empty();
    const WideText &selected = args.wide(kSelectedArgument);
    if (selected.empty()) return false;
    const TextUnit *end = std::find(names.data(), names.data() + names.length(), kSelectionMark);
    const WideFields items(names.data(), size_t(end - names.data()));
    for (size_t n = 0; n < items.itemCount(); ++n) {
        if (beginsWithCaseAside(items.text(n), selected)) return true;
    }
    return false;
}

} // namespace

void doLoginFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();

    startFrame(d, kFreshTable, FrameStart{IDD_MESSAGE, kWidth, kHeight, kWidth, kHeight, false, kFirstButtonSlot},
               args.wide(kTitleArgument));
    OptionSet options(args.narrow(0, kMediumOptionsBytes));
    d.defaultButton = defaultButtonSlot(options, kButtonCount, kFirstButtonSlot);
    const bool dropDown = !options.has("editBox");
    applyPosition(d, options);

    ControlSpec &message = d.controls[kMessageSlot];
    placeStatic(message, args.wide(kMessageArgument),
                SlotLayout{kContentLeft, kContentTop, d.width - kContentWidthAllowance, kMessageHeight, 1.0, 0.0, false,
                           false});

    placeLabel(kUserLabelSlot, args.wide(kUserLabelArgument), kUserFieldTop);
    placeLabel(kPasswordLabelSlot, args.wide(kPasswordLabelArgument), kPasswordFieldTop);

    placeField(kUserSlot, dropDown ? "combobox" : "edit", "text1", kUserFieldTop, d.width);
    d.controls[kUserSlot].text = userFieldText(args, dropDown);
    placeField(kPasswordSlot, "password", "text2", kPasswordFieldTop, d.width);
    // Someone who logs in again usually keeps the name and types the
    // password. Without a name, what the user types first is the name: in
    // the password field it would be hidden, and the password typed after
    // it into the name field would be shown and returned as the name.
    const int focus = nameGiven(args, dropDown) ? kPasswordSlot : kUserSlot;
    d.controls[focus].initialFocus = 1;

    // Both buttons are made, also with an empty caption, so each keeps its number.
    const int32_t buttonTop = d.height - kButtonBottom;
    for (int n = 1; n <= kButtonCount; ++n) {
        placeButton(kFirstButtonSlot + n - 1, args.wide(kFirstButtonArgument + uint32_t(n - 1)),
                    d.width - kButtonRight - kButtonStep * (n - 1), buttonTop, n);
    }
    d.controlCount = kControlCount;
    applySizeAfterLayout(d, options);
    applyCancelButton(d, options);

    // The drop-down's slot holds its list of names until a button reads
    // the chosen one: closed otherwise, no name was chosen.
    showFrame(kPlainDialog, {dropDown ? kUserSlot : -1});
    return frameResult(result);
}
