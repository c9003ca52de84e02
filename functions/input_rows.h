// The input rows of the form dialogs. A staged row is a label slot and an
// input slot; before a form dialog runs, each row is turned into the slots
// the control factory really creates: some kinds only change geometry, some
// spread the row over partner slots (a time and a date, a range's two fields
// and its middle caption, up to three check boxes), and the radio kind takes
// the label's captions. The partners pass their values back to the input
// slot when the dialog closes, so every row still gives one text.
#ifndef TESSARY_FUNCTIONS_INPUT_ROWS_H
#define TESSARY_FUNCTIONS_INPUT_ROWS_H

#include <cstdint>
#include <string>

#include "model/dialog_definition.h"

constexpr int kNoOwner = -1;           // the row sits directly in the dialog
constexpr int kMaxPageLines = 8;       // lines one tab page holds
constexpr int kTabRowPitch = 35;       // script units from one tab page line to the next

// Rows of a tab page are read from their kind's line count: "edit3" is a
// three-line edit box, "static2" a two-line text, "radio31" a radio group of
// three lines with one button per line, "radio" a one-line group.
struct RowLines {
    bool suffixed;     // the kind carried a line count
    int lines;         // the count, 0 for a character that is no digit
    int columns;       // radio buttons per line; 0: decided by the captions
    NarrowText kind;   // the kind without its count
    bool buttons;      // a radio group, whose lines are lines of buttons
};
RowLines readRowLines(const NarrowText &kind);

// Gives the input `s` the lines its kind asks for, at most `linesLeft`:
// the kind without its count, and a radio group its lines and columns or a
// field its height. Returns the lines taken; 0 means the row gets none and
// must be dropped, never shown at a height of nothing.
int takeRowLines(ControlSpec &s, int linesLeft);

// Rewrites the row of `inputSlot` (36..59) for its kind; every slot of the
// row gets `owner` (kNoOwner or the page's tab control slot) as its owner.
// The caller has placed the input and its label already.
void expandInputRow(int inputSlot, int owner);

// How a dialog stacks its rows: the form's grow the window, a tab page's
// must fit the page.
struct RowStack {
    int owner;             // kNoOwner, or the page's tab slot
    int maxLines;          // lines the rows may take together
    bool countsRows;       // lines left are counted in rows laid out (the form), not lines
    bool emptyRowsGo;      // a row without a kind goes with its label (the form) rather than take a line
    int32_t bottom;        // a row must end above this y, or it is dropped; 0: no limit
    int32_t inputWidth;    // 0: an input keeps the width it was staged with
    int32_t leftOut;       // y past a row left out; 0: it takes no room
    // The y from the top of a row of `lines` lines to the next row.
    int32_t (*advance)(const RowLines &lines, int taken);
};

struct StackedRows {
    int used;       // lines (or rows, where they count) taken
    int lastSlot;   // the input slot of the last row laid out; -1 none
    int32_t y;      // below the last row
};

// Places the rows of input slots first..end-1 one below the other from
// y = top, each with its label, and expands each. Rows that get no line,
// or would pass the bottom, are dropped with their label.
StackedRows stackRows(int first, int end, int32_t top, const RowStack &stack);

// The rows of one tab page. Returns the lines the page uses.
int stackTabPageRows(int first, int end, int32_t top, int owner);

// Splits the suffix "RO" off a kind keyword ("editRO" is a disabled "edit")
// and says whether there was one. A keyword that is only the suffix stays
// as it is, since nothing would be left to create.
bool takeReadOnlySuffix(std::string &kind);

// Whether `kind` (as staged, "RO" and a line count included) names an input
// kind; when not, `sameButCase` is the kind it equals but for case, or null.
bool isInputKind(const std::string &kind, const char *&sameButCase);

// Resets a row completely: its label, its input and the input's partners.
void dropRow(int inputSlot);

#endif
