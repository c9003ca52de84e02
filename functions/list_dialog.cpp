// Tessary_DoList: a list of rows with a check box each, an optional text
// above it, an optional input row below it and up to four buttons; returns
// the number of the button pressed. The checked rows come back through
// Tessary_GetInput("text1"), the input row through "text2".
#include <string>

#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "functions/input_rows.h"
#include "functions/list_frame.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "model/call.h"
#include "model/warnings.h"
#include "runtime/runner.h"

namespace {

// Arguments, counted from 0.
enum Argument : uint32_t {
    kOptions,
    kColumns,
    kHeaders,
    kWidths,
    kAlignment,
    kTitle,
    kText,
    kListText,
    kSelected,
    kButton1,
    kHiddenColumn = 13,
    kInputType,
    kInputLabel,
    kInputDefault,
};

constexpr uint32_t kNarrowBufferBytes = 10242;
constexpr uint32_t kAlignmentBufferBytes = 1024;
constexpr uint32_t kInputTypeBufferBytes = 64;

constexpr int32_t kInputHeight = 23;
constexpr int32_t kInputX = 120;
constexpr int32_t kInputWidthAllowance = 145; // window width minus the input's width
constexpr int32_t kInputBelowList = 5;
constexpr int32_t kLabelBelowList = 8;
constexpr int32_t kLabelWidth = 95;
constexpr int kMaxColumns = 10;
constexpr int kInputSlot = kListSlot + 1;
constexpr int kInputLabelSlot = kInputSlot - kRowSlots;

// The return column: its number, or -1 for "returnColumnNumber" without a
// value (whole rows, as without the option).
int32_t returnColumn(const OptionSet &options) {
    if (!options.has("returnColumnNumber")) return 0;
    if (options.valueOf("returnColumnNumber").empty()) return -1;
    return options.numericValue("returnColumnNumber");
}

void fillList(ControlSpec &list, const CallArguments &args, const OptionSet &options, const ListArea &area) {
    placeList(list, dialog(), area, "listbox");
    list.text = args.wide(kListText);
    setListHasCheckBoxes(list, 1);
    setListMultiple(list, options.has("multi") ? 1 : 0);
    setListChosenRow(list, -1);
    setListReturnColumn(list, returnColumn(options));
    int32_t columns = decimalValue(args.narrow(kColumns, kNarrowBufferBytes).c_str());
    if (columns < 0) columns = 0;
    if (columns > 0 && listReturnColumn(list) > columns) {
        warn("the return column " + std::to_string(listReturnColumn(list)) + " is past the " +
             std::to_string(columns) + " columns; column 1 was taken");
        setListReturnColumn(list, 1);
    }
    if (columns > kMaxColumns) {
        warn(std::to_string(columns) + " columns are past the most, " + std::to_string(kMaxColumns) +
             ", which were taken");
    }
    setListColumnCount(list, columns > kMaxColumns ? kMaxColumns : columns);
    setListColumnTitles(list, args.wide(kHeaders));
    setColumnWidths(list, args.narrow(kWidths, kNarrowBufferBytes), listColumnCount(list));
    setListAlignment(list, NarrowText(args.narrow(kAlignment, kAlignmentBufferBytes).c_str()));
    const WideText &selected = args.wide(kSelected);
    if (!selected.empty()) setListPreselected(list, selected);
    const WideText &hidden = args.wide(kHiddenColumn);
    if (!hidden.empty()) setListHiddenKeys(list, hidden);
}

// The input row under the list, which takes its room from the list. Returns
// the row's text as given, before the row is laid out.
StagedTexts fillInputRow(ControlSpec &list, const CallArguments &args) {
    const uint32_t count = args.count();
    if (count <= kInputType) return StagedTexts(kInputSlot, kInputSlot);
    std::string kind = args.narrow(kInputType, kInputTypeBufferBytes);
    if (kind.empty()) return StagedTexts(kInputSlot, kInputSlot);
    list.height -= kInputHeight;
    const int32_t below = list.y + list.height;
    ControlSpec &input = dialog().controls[kInputSlot];
    input.value = WideText(TEXT16("text2"));
    input.disabled = takeReadOnlySuffix(kind) ? 1 : 0;
    input.kind = NarrowText(kind.c_str());
    setLayout(input, SlotLayout{kInputX, below + kInputBelowList, dialog().width - kInputWidthAllowance, kInputHeight,
                                1.0, 0.0, false, true});
    const WideText &label = args.wide(kInputLabel);
    if (!label.empty()) {
        ControlSpec &l = dialog().controls[kInputLabelSlot];
        placeStatic(
            l, label,
            SlotLayout{kContentLeft, below + kLabelBelowList, kLabelWidth, kInputHeight, 0.0, 0.0, false, true});
    }
    const WideText &text = args.wide(kInputDefault);
    if (!text.empty()) input.text = text;
    StagedTexts given(kInputSlot, kInputSlot + 1);
    expandInputRow(kInputSlot, kNoOwner);
    return given;
}

} // namespace

void doListFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();
    OptionSet options(args.narrow(kOptions, kLongOptionsBytes));
    const ListArea area = startListFrame(d, options, args.wide(kTitle), args.wide(kText));
    ControlSpec &list = d.controls[kListSlot];
    fillList(list, args, options, area);
    const StagedTexts staged = fillInputRow(list, args);

    placeListButtons(args, kButton1, options);

    // No rows chosen when no button closed the list.
    showFrame(kPlainDialog, {kListSlot});
    staged.restoreUnlessPressed();
    return frameResult(result);
}
