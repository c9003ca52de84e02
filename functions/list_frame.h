// What the list dialogs (Tessary_DoList, Tessary_DoListView) share on top of
// the dialog frame: their window, the text above the list, the list's place
// under it, and the buttons that wait for a chosen row.
#ifndef TESSARY_FUNCTIONS_LIST_FRAME_H
#define TESSARY_FUNCTIONS_LIST_FRAME_H

#include <cstdint>

#include "model/call.h"
#include "model/dialog_definition.h"
#include "model/options.h"

constexpr int kListButtonCount = 4; // buttons 1..4 in slots 4..7
constexpr int kListSlot = kFirstInputSlot; // the list, read back as "text1"

// Where the list goes: its top and height, script units.
struct ListArea {
    int32_t y;
    int32_t height;
};

// Starts a list dialog on a fresh table (fonts kept): 383 x 360 script units,
// resizable down to 363 x 170, Ctrl+C copying title and text, button 1
// the default button unless an option names another; "small", "medium", "large" (the first present wins), "width",
// "height", "left" and "top" apply, and the size is raised to the minimum.
// Puts `text`, when not empty, above the list in slot 1, and returns the
// list's place in a window of the dialog's size.
ListArea startListFrame(DialogDefinition &d, const OptionSet &options, const WideText &title, const WideText &text);

// Makes `list` the list of the dialog in `area`: full width, growing with
// the window, read back as "text1".
void placeList(ControlSpec &list, const DialogDefinition &d, const ListArea &area, const char *kind);

// Buttons 1..4 from `firstButtonArgument` on, each in its own slot (an
// empty caption leaves its place free); "b1ns" .. "b4ns" make a button wait
// for a chosen row. Then the dialog's control count.
void placeListButtons(const CallArguments &args, uint32_t firstButtonArgument, const OptionSet &options);

// Gives the list its column widths (percent, '|' apart), with a warning for
// each width that is no number and for widths past the list's `columns`:
// they size nothing.
void setColumnWidths(ControlSpec &list, const std::string &widths, int columns);

#endif
