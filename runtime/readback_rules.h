// The text forms of control values that need no window: what a list's
// chosen rows read as, and how a value passes to its link target. The
// read-back of live controls (readback_win.cpp) builds on these, and the
// native build tests them directly.
#ifndef TESSARY_RUNTIME_READBACK_RULES_H
#define TESSARY_RUNTIME_READBACK_RULES_H

#include <vector>

#include "model/dialog_definition.h"

constexpr size_t kMaxResultUnits = 200000; // longest value of one slot

// The value being read, never longer than kMaxResultUnits: what does not
// fit is cut, before a whole character, so a huge list cannot outgrow what
// a slot may hold.
class ResultText {
public:
    void append(const TextUnit *units, size_t count);
    void append(const WideText &text) { append(text.data(), text.length()); }
    void append(TextUnit unit) { append(&unit, 1); }
    bool empty() const { return text_.empty(); }
    bool full() const { return cut_ || text_.length() >= kMaxResultUnits; }
    const WideText &text() const { return text_; }

private:
    WideText text_;
    bool cut_ = false; // something did not fit: nothing is added after a cut
};

// The value of a list whose rows `chosen` (counted from 0, in order) are
// chosen, taken from the slot's cell text and hidden key column.
WideText chosenRowsValue(const ControlSpec &slot, const std::vector<int> &chosen);

// Passes the value of slot `index` on to its link target. Returns what the
// slot itself keeps: the value when there is no link, the value is empty or
// the slot links to itself; nothing when the value went to the target or was
// dropped.
WideText passValueOn(int index, const WideText &value);

#endif
