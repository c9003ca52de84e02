// Tessary_DoDualListDialog: two lists side by side and four buttons between
// them that move items from one to the other; returns the number of the
// closing button pressed. The right list's items come back through
// Tessary_GetInput("text1").
#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "functions/reading_order.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "model/call.h"
#include "resources/resource_ids.h"
#include "runtime/dual_list.h"
#include "runtime/runner.h"

namespace {

// Arguments, counted from 0.
enum Argument : uint32_t { kOptions, kTitle, kText, kSourceTitle, kSourceText, kTargetTitle, kTargetText, kButton1 };


constexpr int32_t kWidth = 383;           // script units
constexpr int32_t kHeight = 360;
constexpr int32_t kMinHeight = 170;
constexpr int32_t kTextHeight = 22;
constexpr int32_t kListsBelowText = 40;
constexpr int32_t kTitleGap = 8;          // from the text (or the top) to the list titles
constexpr int32_t kTitleWidth = 115;
constexpr int32_t kTitleHeight = 18;         // ends where its list begins
constexpr int32_t kListsBelowTitles = 18;
constexpr int32_t kListBottom = 80;         // window height minus a list's bottom
constexpr int32_t kMoveButtonWidth = 32;
constexpr int32_t kMoveButtonPitch = 28;
constexpr int32_t kBelowLastMoveButton = 96; // smallest window height minus the last move button's y
constexpr int kButtonCount = 4;

struct MoveButton {
    int slot;
    const TextUnit *caption;
};
const MoveButton kMoveButtons[] = {
    {kMoveOneSlot, TEXT16(">")},
    {kMoveBackSlot, TEXT16("<")},
    {kMoveAllSlot, TEXT16(">>")},
    {kMoveAllBackSlot, TEXT16("<<")},
};


void fillTitle(int slot, const WideText &title, int32_t x, int32_t y) {
    ControlSpec &s = slotAt(slot);
    placeStatic(s, title, SlotLayout{x, y, kTitleWidth, kTitleHeight, 0.0, 0.0, false, false});
}

void fillList(int slot, const WideText &items, int32_t x, int32_t y, const TextUnit *name) {
    const DialogDefinition &d = dialog();
    ControlSpec &s = slotAt(slot);
    s.kind = NarrowText("listbox");
    s.value = WideText(name);
    s.text = items;
    setLayout(s, SlotLayout{x, y, (d.width - kContentWidthAllowance) / 2 - kDualFirstListInset, d.height - y - kListBottom,
                            0.0, 1.0, false, false});
    setListChosenRow(s, -1);
}

} // namespace

void doDualListDialogFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();
    startFrame(d, kFreshTable, FrameStart{IDD_DUAL_LIST, kWidth, kHeight, kWidth, kMinHeight, true, kFirstButtonSlot},
               args.wide(kTitle));
    d.copiesMessage = 1;
    OptionSet options(args.narrow(kOptions, kLongOptionsBytes));
    applyPresetSizes(d, options, kFieldDialogPresets, kLastPresetWins);
    applyExplicitSizeAtLeast(d, options);
    applyPosition(d, options);
    d.defaultButton = defaultButtonSlot(options, kButtonCount, kFirstButtonSlot);

    const WideText &text = args.wide(kText);
    int32_t listsY = 0;
    int32_t titlesY = kTitleGap;
    if (!text.empty()) {
        ControlSpec &s = slotAt(kMessageSlot);
        placeStatic(s, text,
                    SlotLayout{kContentLeft, kContentTop, d.width - kContentWidthAllowance, kTextHeight, 1.0, 0.0,
                               false, false});
        listsY = kListsBelowText;
        titlesY = kContentTop + kTextHeight + kTitleGap;
    }
    const int32_t iconGained = applyMessageIcon(d, options);
    listsY += iconGained;
    titlesY += iconGained;
    const WideText &sourceTitle = args.wide(kSourceTitle);
    const WideText &targetTitle = args.wide(kTargetTitle);
    // Without a title the right list starts at the left edge; the first
    // sizing of the window puts it beside the left one.
    int32_t targetX = 0;
    if (!sourceTitle.empty()) {
        fillTitle(kSourceTitleSlot, sourceTitle, kContentLeft, titlesY);
        listsY = titlesY + kListsBelowTitles;
    }
    if (!targetTitle.empty()) {
        targetX = d.width / 2 + kDualTargetTitleOffset;
        fillTitle(kTargetTitleSlot, targetTitle, targetX, titlesY);
        listsY = titlesY + kListsBelowTitles;
    }
    const WideText &sourceItems = args.wide(kSourceText);
    const WideText &targetItems = args.wide(kTargetText);
    fillList(kDualSourceSlot, sourceItems, kContentLeft, listsY, TEXT16("text1"));
    setDualListMoves(slotAt(kDualSourceSlot), options.has("moveText") ? 1 : 0);
    fillList(kDualTargetSlot, targetItems, targetX, listsY, TEXT16("text2"));
    ControlSpec &target = slotAt(kDualTargetSlot);
    target.linkIndex = kDualSourceSlot;
    target.linkMode = 2;

    placeButtonRow(args, ButtonRow{kButton1, kButtonCount, 0, true}, d.width, d.height);
    applyCancelButton(d, options);
    int32_t y = listsY;
    for (const MoveButton &m : kMoveButtons) {
        ControlSpec &s = slotAt(m.slot);
        s.kind = NarrowText("button");
        s.text = m.caption;
        s.value = WideText(m.caption);
        setLayout(s, SlotLayout{d.width / 2 - kDualMoveButtonOffset, y, kMoveButtonWidth, kButtonHeight, 0.0, 0.0, false,
                                false});
        y += kMoveButtonPitch;
    }
    // Nothing is chosen yet, and a list without items has nothing to move.
    slotAt(kMoveOneSlot).disabled = 1;
    slotAt(kMoveBackSlot).disabled = 1;
    slotAt(kMoveAllSlot).disabled = sourceItems.empty() ? 1 : 0;
    slotAt(kMoveAllBackSlot).disabled = targetItems.empty() ? 1 : 0;
    d.minHeight = slotAt(kMoveAllBackSlot).y + kBelowLastMoveButton;
    d.controlCount = kListDialogControlCount;
    // The move buttons stand between the lists, each list under its title.
    orderForReading(d, {kMessageSlot, kSourceTitleSlot, kDualSourceSlot, kMoveOneSlot, kMoveBackSlot, kMoveAllSlot,
                        kMoveAllBackSlot, kTargetTitleSlot, kDualTargetSlot});

    // No choice when no button closed the dialog.
    showFrame(dualListHooks(), {kDualSourceSlot, kDualTargetSlot});
    return frameResult(result);
}
