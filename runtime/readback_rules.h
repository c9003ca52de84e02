// The text forms of control values that need no window: what a list's
// chosen rows read as, and how a value passes to its link target. The
// read-back of live controls (readback_win.cpp) builds on these, and the
// native build tests them directly.
#ifndef TESSARY_RUNTIME_READBACK_RULES_H
#define TESSARY_RUNTIME_READBACK_RULES_H

#include <functional>
#include <vector>

#include "model/dialog_definition.h"
#include "model/fields.h"

// The value being read. It holds everything unless given a limit; what
// does not fit a limit is cut before a whole character.
class ResultText {
public:
    static constexpr size_t kNoLimit = ~size_t(0);
    explicit ResultText(size_t limit = kNoLimit) : limit_(limit) {}
    void append(const TextUnit *units, size_t count);
    void append(const WideText &text) { append(text.data(), text.length()); }
    void append(TextUnit unit) { append(&unit, 1); }
    bool empty() const { return text_.empty(); }
    bool full() const { return cut_ || text_.length() >= limit_; }
    const WideText &text() const { return text_; }

private:
    size_t limit_;
    WideText text_;
    bool cut_ = false; // something did not fit: nothing is added after a cut
};

// The value of a list whose rows `chosen` (counted from 0, in order) are
// chosen, taken from the slot's cell text and hidden key column. It holds
// every chosen row, however long, and is built in one pass over the text.
WideText chosenRowsValue(const ControlSpec &slot, const std::vector<int> &chosen);

// The rows (from 0, in order) that a list checks at opening: those whose key
// is one of the '|'-separated values of listPreselected, the key being the
// row's hidden key when the list has hidden keys and else its first cell
// (`cells`, `columns` to a row). Only the first such row when `firstOnly`.
// The values are looked up in a hash set, so the cost grows with the rows
// and the values, not with their product.
std::vector<int> preselectedRows(const ControlSpec &slot, const WideFields &cells, int columns, int rows,
                                 bool firstOnly);

// Rows of a list of `cellCount` cells shown `columns` to a row; a last row
// may be short. Without a column there is no row to hold a cell.
int listRowCount(size_t cellCount, int columns);

// The value of a grid of `rows` rows of `columns` data cells: every cell,
// each followed by '|', rows apart by a CR. `cell` gives the units of the
// cell in `row` (from 0) and data column `column` (from 1); they need to
// stay valid only until the next call.
WideText gridValue(int rows, int columns,
                    const std::function<const TextUnit *(int row, int column, size_t &length)> &cell);

// Passes the value of slot `index` on to its link target. Returns what the
// slot itself keeps: the value when there is no link, the value is empty (and
// the slot does not pass empty values on) or the slot links to itself;
// nothing when the value went to the target or was dropped. `value` and the
// target's text are both as the host gives texts (see withLineFeeds).
WideText passValueOn(int index, const WideText &value);

#endif
