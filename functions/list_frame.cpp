#include "functions/list_frame.h"

#include "model/fields.h"
#include "model/warnings.h"

#include "functions/dialog_frame.h"
#include "resources/resource_ids.h"

namespace {

constexpr int32_t kWidth = 383; // script units
constexpr int32_t kHeight = 360;
constexpr int32_t kMinWidth = 363;
constexpr int32_t kMinHeight = 170;
constexpr int32_t kTextHeight = 11;
constexpr int32_t kListBelowText = 35;       // the list's y under a text
constexpr int32_t kListBottomWithText = 115; // window height minus the list's height
constexpr int32_t kListBottom = 90;

} // namespace

static ListArea placeTextAboveList(DialogDefinition &d, const WideText &text);

ListArea startListFrame(DialogDefinition &d, const OptionSet &options, const WideText &title, const WideText &text) {
    startFrame(d, kFreshTable, FrameStart{IDD_MESSAGE, kWidth, kHeight, kMinWidth, kMinHeight, true, kFirstButtonSlot}, title);
    d.copiesMessage = 1;
    applyPresetSizes(d, options, kFieldDialogPresets, kFirstPresetWins);
    applyExplicitSize(d, options);
    applyPosition(d, options);
    // Enter presses button 1 unless an option names another; a button that
    // waits for a chosen row ("b1ns") takes no Enter while it is disabled.
    d.defaultButton = defaultButtonSlot(options, kListButtonCount, kFirstButtonSlot);
    // Laid out for a window smaller than it can be, the controls would not
    // fill it when the system makes it that large.
    clampToMinimum(d);
    ListArea area = placeTextAboveList(d, text);
    const int32_t iconGained = applyMessageIcon(d, options);
    area.y += iconGained;
    area.height -= iconGained;
    return area;
}

static ListArea placeTextAboveList(DialogDefinition &d, const WideText &text) {
    if (text.empty()) return ListArea{kContentTop, d.height - kListBottom};
    placeStatic(d.controls[kMessageSlot], text,
                SlotLayout{kContentLeft, kContentTop, d.width - kContentWidthAllowance, kTextHeight, 1.0, 0.0, false,
                           false});
    return ListArea{kListBelowText, d.height - kListBottomWithText};
}

void placeList(ControlSpec &list, const DialogDefinition &d, const ListArea &area, const char *kind) {
    list.value = WideText(TEXT16("text1"));
    list.kind = NarrowText(kind);
    setLayout(list, SlotLayout{kContentLeft, area.y, d.width - kContentWidthAllowance, area.height, 1.0, 1.0, false,
                               false});
}

void placeListButtons(const CallArguments &args, uint32_t firstButtonArgument, const OptionSet &options) {
    DialogDefinition &d = dialog();
    placeButtonRow(args, ButtonRow{firstButtonArgument, kListButtonCount, 0, false}, d.width, d.height);
    static const char *const keywords[kListButtonCount] = {"b1ns", "b2ns", "b3ns", "b4ns"};
    for (int n = 0; n < kListButtonCount; ++n) {
        if (options.has(keywords[n])) d.controls[kFirstButtonSlot + n].requiresSelection = 1;
    }
    d.controlCount = kListDialogControlCount;
    applyCancelButton(d, options);
}

void setColumnWidths(ControlSpec &list, const std::string &widths, int columns) {
    setListColumnWidths(list, NarrowText(widths.c_str()));
    const NarrowFields fields(widths.data(), widths.size());
    const int given = int(fields.itemCount());
    for (int k = 0; k < given; ++k) {
        const std::string field(fields.data(size_t(k)), fields.length(size_t(k)));
        if (!field.empty() && field.find_first_not_of("0123456789") != std::string::npos) {
            warn("column width " + quoted(field) + " is no number");
        }
    }
    if (given > columns) {
        warn("column widths " + quoted(widths) + " name " + std::to_string(given) + " columns; the list has " +
             std::to_string(columns) + ", so the rest size nothing");
    }
}
