// The dual list's move rules over fuzzed lists and a fuzzed sequence of
// moves, each with any chosen row (stale ones and -1 included). The lists
// stand in for the two list views; their search ignores the case of A to Z
// as the list view's does for these texts. What must hold after every move:
// rows are read and deleted only where the list has them; a row is only
// appended to a list that does not hold it yet; no row appears that was not
// in one of the lists at the start. With "moveText" no text is lost, and
// when the lists started without two rows of the same text (case aside),
// no row is lost or doubled: the rows of both lists are the rows they
// started with, once the left list left out what the right one starts with,
// and no item is on both sides. Without it the left list loses nothing.
// Input: a flags byte (bit 0: "moveText"), then UTF-16 units in fields apart
// by U+0001: the left list's text, the right list's text ('|' separates
// rows) and the moves, one unit each: bits 0-1 pick ">", "<", ">>" or "<<",
// the rest the chosen row, from -1 to one past the last.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "model/fields.h"
#include "model/text.h"
#include "runtime/dual_list.h"
#include "runtime/dual_list_rules.h"

namespace {

WideText folded(const WideText &text) {
    WideText out;
    for (size_t i = 0; i < text.length(); ++i) {
        TextUnit c = text[i];
        out.push_back(c >= 'A' && c <= 'Z' ? TextUnit(c - 'A' + 'a') : c);
    }
    return out;
}

struct TextLess {
    bool operator()(const WideText &a, const WideText &b) const {
        return std::u16string(a.data(), a.length()) < std::u16string(b.data(), b.length());
    }
};
typedef std::map<WideText, int, TextLess> Counts;

class Rows : public DualListRows {
public:
    std::vector<WideText> rows;

    int count() const override { return int(rows.size()); }
    WideText text(int row) const override {
        if (row < 0 || row >= count()) abort();
        return rows[size_t(row)];
    }
    bool holds(const WideText &text) const override {
        const WideText wanted = folded(text);
        for (const WideText &row : rows) {
            if (folded(row) == wanted) return true;
        }
        return false;
    }
    std::string matchKey(const WideText &text) const override {
        const WideText f = folded(text);
        return std::string(reinterpret_cast<const char *>(f.data()), f.length() * sizeof(TextUnit));
    }
    void append(const WideText &text) override {
        if (holds(text)) abort();
        rows.push_back(text);
    }
    void erase(int row) override {
        if (row < 0 || row >= count()) abort();
        rows.erase(rows.begin() + row);
    }
    void clear() override { rows.clear(); }
};

// At most 64 rows: longer lists reach no other rule and only slow every run.
void fill(Rows &list, const std::u16string &text) {
    const WideFields fields(reinterpret_cast<const TextUnit *>(text.data()), text.size());
    for (size_t n = 0; n < fields.itemCount() && n < 64; ++n) list.rows.push_back(fields.text(n));
}

void add(Counts &counts, const Rows &list, bool fold) {
    for (const WideText &row : list.rows) ++counts[fold ? folded(row) : row];
}

std::set<WideText, TextLess> keys(const Counts &counts) {
    std::set<WideText, TextLess> out;
    for (const auto &entry : counts) out.insert(entry.first);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const bool moving = data[0] & 1;
    std::vector<std::u16string> fields(1);
    for (size_t i = 1; i + 1 < size; i += 2) {
        char16_t unit = char16_t(data[i] | (data[i + 1] << 8));
        if (unit == 1) {
            fields.emplace_back();
        } else {
            fields.back().push_back(unit);
        }
    }
    fields.resize(3);

    Rows source, target;
    fill(source, fields[0]);
    fill(target, fields[1]);
    // As the dialog opens: with "moveText" the left list leaves out what the
    // right one starts with.
    if (moving) {
        const Rows given = source;
        const int left = leaveOutTargetRows(source, target);
        if (source.count() + left != given.count()) abort();
        for (const WideText &row : given.rows) {
            if (source.holds(row) == target.holds(row)) abort();
        }
    }
    Counts start;
    add(start, source, false);
    add(start, target, false);
    Counts startFolded;
    add(startFolded, source, true);
    add(startFolded, target, true);
    bool distinct = true;
    for (const auto &entry : startFolded) distinct = distinct && entry.second == 1;

    // A long sequence only repeats what a short one reaches.
    const std::u16string &moves = fields[2];
    for (size_t m = 0; m < moves.size() && m < 64; ++m) {
        const DualMove *move = dualMoveOf(kMoveOneSlot + (moves[m] & 3));
        if (move == nullptr) abort();
        const bool left = move->slot == kMoveOneSlot;
        const int rows = left ? source.count() : target.count();
        const int row = int((moves[m] >> 2) % unsigned(rows + 2)) - 1;
        const Rows sourceBefore = source;
        const Rows targetBefore = target;

        const bool appended = runDualMove(*move, moving, left ? row : -1, left ? -1 : row, source, target);

        if (appended != (left && target.count() == targetBefore.count() + 1)) abort();
        Counts now;
        add(now, source, false);
        add(now, target, false);
        for (const auto &entry : now) {
            if (start.count(entry.first) == 0) abort();
        }
        if (moving) {
            Counts nowFolded;
            add(nowFolded, source, true);
            add(nowFolded, target, true);
            if (keys(nowFolded) != keys(startFolded)) abort();
            if (distinct && nowFolded != startFolded) abort();
            // No item on both sides, unless a list started with it twice:
            // "<" then brings one back while the other stays.
            for (const WideText &row : source.rows) {
                if (distinct && target.holds(row)) abort();
            }
        } else {
            // Without "moveText" the left list only gains rows ("<" puts
            // back what it does not hold).
            if (source.count() < sourceBefore.count()) abort();
            for (size_t i = 0; i < sourceBefore.rows.size(); ++i) {
                if (source.rows[i] != sourceBefore.rows[i]) abort();
            }
        }
        if (move->slot == kMoveAllSlot) {
            for (const WideText &row : sourceBefore.rows) {
                if (!target.holds(row)) abort();
            }
            if (moving && source.count() != 0) abort();
        }
        if (move->slot == kMoveAllBackSlot && target.count() != 0) abort();
    }
    return 0;
}
