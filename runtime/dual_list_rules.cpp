#include "runtime/dual_list_rules.h"

#include "runtime/dual_list.h"

#include <unordered_set>

namespace {

constexpr ButtonChange K = ButtonChange::kKeep;
constexpr ButtonChange E = ButtonChange::kEnable;
constexpr ButtonChange D = ButtonChange::kDisable;

const DualMove kMoves[] = {
    {kMoveOneSlot, ">", {D, D, K, K}},
    {kMoveBackSlot, "<", {D, D, E, K}},
    {kMoveAllSlot, ">>", {D, D, D, E}},
    {kMoveAllBackSlot, "<<", {D, D, E, D}},
};

// A move button left enabled from an earlier click acts on no row once a
// click on empty space has forgotten the row, and on none that the list no
// longer has: it moves nothing, rather than an empty item.
bool chosen(const DualListRows &list, int row) {
    return row >= 0 && row < list.count();
}

bool moveChosenRight(bool moving, int row, DualListRows &source, DualListRows &target) {
    if (!chosen(source, row)) return false;
    const WideText text = source.text(row);
    if (moving) source.erase(row);
    if (target.holds(text)) return false;
    target.append(text);
    return true;
}

void moveChosenLeft(int row, DualListRows &source, DualListRows &target) {
    if (!chosen(target, row)) return;
    const WideText text = target.text(row);
    target.erase(row);
    if (!source.holds(text)) source.append(text);
}

// Rows of `from` that `to` does not hold yet go to the end of `to`. One set
// of keys instead of a search of `to` for every row: thousands of rows would
// otherwise take a quadratic number of comparisons.
std::unordered_set<std::string> keysOf(const DualListRows &list, const DualListRows &matcher) {
    std::unordered_set<std::string> keys;
    for (int row = 0; row < list.count(); ++row) keys.insert(matcher.matchKey(list.text(row)));
    return keys;
}

void appendMissingRows(const DualListRows &from, DualListRows &to) {
    std::unordered_set<std::string> held = keysOf(to, to);
    for (int row = 0; row < from.count(); ++row) {
        const WideText text = from.text(row);
        if (held.insert(to.matchKey(text)).second) to.append(text);
    }
}

} // namespace

const DualMove *dualMoveOf(int slot) {
    for (const DualMove &move : kMoves) {
        if (move.slot == slot) return &move;
    }
    return nullptr;
}

bool runDualMove(const DualMove &move, bool moving, int sourceRow, int targetRow, DualListRows &source,
                 DualListRows &target) {
    switch (move.slot) {
    case kMoveOneSlot:
        return moveChosenRight(moving, sourceRow, source, target);
    case kMoveBackSlot:
        moveChosenLeft(targetRow, source, target);
        return false;
    case kMoveAllSlot:
        appendMissingRows(source, target);
        if (moving) source.clear();
        return false;
    case kMoveAllBackSlot:
        if (moving) appendMissingRows(target, source);
        target.clear();
        return false;
    default:
        return false;
    }
}

int leaveOutTargetRows(DualListRows &source, const DualListRows &target) {
    if (target.count() == 0) return 0;
    const std::unordered_set<std::string> held = keysOf(target, source);
    int deleted = 0;
    // From the end, so the rows still to be looked at keep their numbers.
    for (int row = source.count() - 1; row >= 0; --row) {
        if (held.count(source.matchKey(source.text(row))) != 0) {
            source.erase(row);
            ++deleted;
        }
    }
    return deleted;
}
