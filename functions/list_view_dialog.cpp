// Tessary_DoListView: a grid whose cells the user edits in place (typed,
// chosen from a drop-down list, or read-only, column by column), an optional
// text above it and up to four buttons; returns the number of the button
// pressed. The grid as edited comes back through Tessary_GetInput("text1").
#include <string>

#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "functions/list_frame.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "model/call.h"
#include "runtime/grid_dialog.h"
#include "runtime/runner.h"

namespace {

// Arguments, counted from 0.
enum Argument : uint32_t {
    kOptions,
    kColumnKinds,
    kHeaders,
    kWidths,
    kChoices,
    kAlignment,
    kTitle,
    kText,
    kListText,
    kButton1,
};

constexpr uint32_t kNarrowBufferBytes = 10242;
constexpr uint32_t kAlignmentBufferBytes = 1024;
// Without column kinds the grid has one column of text cells.
const char *const kDefaultKinds = "E";

void fillGrid(ControlSpec &grid, const CallArguments &args, const ListArea &area) {
    placeList(grid, dialog(), area, "listboxview");
    grid.text = args.wide(kListText);
    const std::string given = args.narrow(kColumnKinds, kNarrowBufferBytes);
    const std::string kinds = given.empty() ? std::string(kDefaultKinds) : given;
    // One column per letter; the argument's buffer bounds the count.
    setGridColumnKinds(grid, NarrowText(kinds.c_str()));
    setListColumnCount(grid, int32_t(kinds.size()));
    setListColumnTitles(grid, args.wide(kHeaders));
    setColumnWidths(grid, args.narrow(kWidths, kNarrowBufferBytes), listColumnCount(grid));
    setGridChoices(grid, args.wide(kChoices));
    setListAlignment(grid, NarrowText(args.narrow(kAlignment, kAlignmentBufferBytes).c_str()));
}

} // namespace

void doListViewFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();
    OptionSet options(args.narrow(kOptions, kLongOptionsBytes));
    const ListArea area = startListFrame(d, options, args.wide(kTitle), args.wide(kText));
    ControlSpec &grid = d.controls[kListSlot];
    fillGrid(grid, args, area);

    placeListButtons(args, kButton1, options);

    // Closed by its close box, the dialog read nothing back: the slot still
    // holds the list text as it was given, not the grid. What the user
    // changed is dropped, and "text1" says nothing was entered.
    showFrame(gridDialogHooks(), {kListSlot});
    return frameResult(result);
}
