// The dual list's move buttons without windows: which rows a move carries
// from one list to the other, which it deletes, and what it does to the
// four move buttons. dual_list_win.cpp runs them on the two list views; the
// native build runs them on lists of its own.
#ifndef TESSARY_RUNTIME_DUAL_LIST_RULES_H
#define TESSARY_RUNTIME_DUAL_LIST_RULES_H

#include "model/text.h"

#include <string>

// One of the two lists as the moves see it: rows from 0, each read as the
// text of its first column.
class DualListRows {
public:
    virtual int count() const = 0;
    virtual WideText text(int row) const = 0;
    // True when some row reads as `text`; the list view's own search, which
    // ignores case.
    virtual bool holds(const WideText &text) const = 0;
    // A key that two texts share exactly when holds() takes them for the
    // same row: a move of all rows compares each against a set of keys
    // rather than searching the list once a row.
    virtual std::string matchKey(const WideText &text) const = 0;
    virtual void append(const WideText &text) = 0;
    virtual void erase(int row) = 0;
    virtual void clear() = 0;

protected:
    ~DualListRows() = default;
};

// What a move does to one of the four move buttons afterwards.
enum class ButtonChange { kKeep, kEnable, kDisable };

struct DualMove {
    int slot;
    const char *caption;   // the button moves only while it shows this
    ButtonChange after[4]; // for slots kMoveOneSlot .. kMoveAllBackSlot
};

// The move of button `slot`; null when `slot` is no move button.
const DualMove *dualMoveOf(int slot);

// Carries `move` out on the two lists. `moving` is the "moveText" mode
// (rows leave the list they come from); `sourceRow` and `targetRow` are the
// rows the last click chose in each list (-1: none). A chosen row that the
// list no longer has moves nothing. Returns true when ">" appended its row
// to the right list, which then has a row for "<<" to move.
bool runDualMove(const DualMove &move, bool moving, int sourceRow, int targetRow, DualListRows &source,
                 DualListRows &target);

// With "moveText" an item is on one side or the other, never both: the rows
// of `source` that `target` holds (as holds() compares) are deleted, before
// the dialog shows them. Returns the number deleted.
int leaveOutTargetRows(DualListRows &source, const DualListRows &target);

#endif
