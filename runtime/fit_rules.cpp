#include "runtime/fit_rules.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/fields.h"

namespace {

constexpr int32_t kButtonRowLeftLimit = 10; // a button row never starts left of this
constexpr int32_t kChoiceRightGap = 10;     // choices that go onto lines end this far from the client's right
constexpr int kMaxChoices = 99;             // buttons one radio group makes
// Labels are laid out as short as 11 units, a little less than their line;
// the control grows down over the gap below by itself, so a text of one
// line that needs no more than this over its slot keeps its place.
constexpr int32_t kLineOverhang = 3;

// The system's message box grows to this share of its work area's width
// before it grows taller.
constexpr int32_t kWidestShareNumerator = 5;
constexpr int32_t kWidestShareDenominator = 8;

bool ownControl(const ControlSpec &s) {
    return slotKind(s) != ControlKind::kNone && s.ownerIndex < 0;
}

int radioCount(const ControlSpec &s) {
    return int(std::min(WideFields(s.text).itemCount(), size_t(kMaxChoices)));
}

int radioPerRow(const ControlSpec &s) {
    return std::max(radioColumns(s), 1);
}

// The height a slot's control covers: a radio group's every line.
int32_t coveredHeight(const ControlSpec &s) {
    if (slotKind(s) != ControlKind::kRadio) return s.height;
    const int lines = (std::max(radioCount(s), 1) + radioPerRow(s) - 1) / radioPerRow(s);
    return s.height * lines;
}

int32_t clientWidth(const DialogDefinition &d, const FitRoom &room) {
    return d.width - room.frameWidth;
}

// What the fitting of one dialog works out before the slots move: how much
// taller each slot's control grows, how much more room a slot takes below
// its control (a radio group's or a check box row's further lines), and the
// slots that stand in line after another (the further check boxes of a
// row), which go where their leader goes.
struct Growth {
    std::array<int32_t, kSlotCount> grows{};
    std::array<int32_t, kSlotCount> below{};
    std::array<int, kSlotCount> leader;
    std::array<int32_t, kSlotCount> dx{}, dy{}; // a follower's place from its leader's
    Growth() { leader.fill(-1); }
};

// Grows every slot by what `growth` says and moves what lies below it down
// by as much, all at once: a slot moves by the most that any slot ending
// above its top grew and moved, so rows side by side move together. The
// dialog grows by the most of all.
void pushDown(DialogDefinition &d, const Growth &growth) {
    std::vector<int> order;
    for (int i = 0; i < kSlotCount; ++i) {
        if (ownControl(d.controls[i]) && growth.leader[i] < 0) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return d.controls[a].y < d.controls[b].y; });
    std::array<int32_t, kSlotCount> shift{}, bottom{};
    int32_t most = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        const ControlSpec &s = d.controls[order[k]];
        int32_t moved = 0;
        for (size_t j = 0; j < k; ++j) {
            if (bottom[size_t(order[j])] <= s.y) {
                moved = std::max(moved, shift[size_t(order[j])] + growth.grows[size_t(order[j])] +
                                            growth.below[size_t(order[j])]);
            }
        }
        shift[size_t(order[k])] = moved;
        // Where the slot ended before it grew: a radio group's lines are counted
        // in its room below.
        const bool lines = slotKind(s) == ControlKind::kRadio;
        bottom[size_t(order[k])] = s.y + coveredHeight(s) - (lines ? growth.below[size_t(order[k])] : 0);
        most = std::max(most, moved + growth.grows[size_t(order[k])] + growth.below[size_t(order[k])]);
    }
    for (int i : order) d.controls[i].y += shift[size_t(i)];
    for (int i = 0; i < kSlotCount; ++i) {
        d.controls[i].height += growth.grows[size_t(i)];
        const int lead = growth.leader[size_t(i)];
        if (lead < 0) continue;
        d.controls[i].x = d.controls[lead].x + growth.dx[size_t(i)];
        d.controls[i].y = d.controls[lead].y + growth.dy[size_t(i)];
    }
    if (most == 0) return;
    if (d.minHeight >= d.height) d.minHeight += most;
    d.height += most;
}

// How much taller the text of `slot` must be to show whole at `width`.
int32_t textLacks(const ContentNeeds &needs, int slot, int32_t width, int32_t height) {
    const int32_t need = needs.wrappedHeight(slot, width);
    if (need <= height) return 0;
    if (need <= needs.leastHeight(slot) && need <= height + kLineOverhang) return 0;
    return need - height;
}

// ---- the message --------------------------------------------------------

bool fitsAt(const ContentNeeds &needs, const ControlSpec &m, int32_t textWidth) {
    return textLacks(needs, kMessageSlot, textWidth, m.height) == 0;
}

// The narrowest window width up to `widest` at which the message takes no
// more lines than it does at `widest`: a message of many short lines gains
// nothing from a wider window and keeps its width.
int32_t messageWidth(const DialogDefinition &d, const ContentNeeds &needs, int32_t widest) {
    const ControlSpec &m = d.controls[kMessageSlot];
    const int32_t atWidest = needs.wrappedHeight(kMessageSlot, m.width + widest - d.width);
    const int32_t target = std::max(atWidest, m.height);
    int32_t low = d.width, high = widest; // too narrow at low, wide enough at high
    if (needs.wrappedHeight(kMessageSlot, m.width) <= target) return d.width;
    while (high - low > 1) {
        const int32_t mid = low + (high - low) / 2;
        if (needs.wrappedHeight(kMessageSlot, m.width + mid - d.width) <= target) {
            high = mid;
        } else {
            low = mid;
        }
    }
    return high;
}

void fitMessage(DialogDefinition &d, const ContentNeeds &needs, const FitRoom &room, FitOutcome &outcome) {
    ControlSpec &m = d.controls[kMessageSlot];
    if (slotKind(m) != ControlKind::kStatic || m.ownerIndex >= 0 || m.text.empty()) return;
    if (fitsAt(needs, m, m.width)) return;
    if (!d.sizeGiven) {
        const int32_t widest = room.workWidth * kWidestShareNumerator / kWidestShareDenominator;
        if (d.width < widest) followResize(d, messageWidth(d, needs, widest) - d.width, 0);
        const int32_t lacking = textLacks(needs, kMessageSlot, m.width, m.height);
        const int32_t spare = room.workHeight - d.height;
        if (lacking > 0 && spare > 0) {
            Growth growth;
            growth.grows[kMessageSlot] = std::min(lacking, spare);
            pushDown(d, growth);
        }
    }
    if (!fitsAt(needs, m, m.width)) outcome.scrolls.set(kMessageSlot);
}

// ---- rows of choices ------------------------------------------------------

struct ChoiceFlow {
    int32_t columns, width, lines;
};

// `count` choices whose widest caption takes `widest`, from x across
// `room` units: as many equal columns as the widest caption allows.
ChoiceFlow flowChoices(int count, int32_t widest, int32_t room) {
    const int32_t fit = widest > 0 ? std::max<int32_t>(room / widest, 1) : count;
    const int32_t columns = std::clamp<int32_t>(fit, 1, std::max(count, 1));
    // An even width scales to whole pixels at 150 %, so neighbours never
    // share one.
    return ChoiceFlow{columns, room / columns / 2 * 2, (count + columns - 1) / columns};
}

void fitRadioGroup(DialogDefinition &d, int slot, const ContentNeeds &needs, const FitRoom &room, Growth &growth) {
    ControlSpec &s = d.controls[slot];
    const int count = radioCount(s);
    if (count == 0) return;
    int32_t widest = 0;
    for (int k = 0; k < count; ++k) widest = std::max(widest, needs.captionWidth(slot, size_t(k)));
    const int perRow = std::min(radioPerRow(s), count);
    const int32_t client = clientWidth(d, room);
    if (widest <= s.width && s.x + perRow * s.width <= client) return;
    const int32_t before = coveredHeight(s);
    const ChoiceFlow flow = flowChoices(count, widest, client - kChoiceRightGap - s.x);
    setRadioColumns(s, flow.columns);
    s.width = flow.width;
    growth.below[size_t(slot)] = coveredHeight(s) - before;
}

// Check boxes side by side at one height and of one width are one row of
// choices, as a form's check box row makes them.
void fitCheckBoxRows(DialogDefinition &d, const ContentNeeds &needs, const FitRoom &room, Growth &growth) {
    std::bitset<kSlotCount> done;
    const int32_t client = clientWidth(d, room);
    for (int first = 0; first < kSlotCount; ++first) {
        const ControlSpec &lead = d.controls[first];
        if (done[size_t(first)] || !ownControl(lead) || slotKind(lead) != ControlKind::kCheckBox) continue;
        std::vector<int> row;
        for (int i = first; i < kSlotCount; ++i) {
            const ControlSpec &s = d.controls[i];
            if (ownControl(s) && slotKind(s) == ControlKind::kCheckBox && s.y == lead.y && s.width == lead.width) {
                row.push_back(i);
                done.set(size_t(i));
            }
        }
        std::stable_sort(row.begin(), row.end(), [&](int a, int b) { return d.controls[a].x < d.controls[b].x; });
        const int32_t left = d.controls[row.front()].x;
        const int32_t right = d.controls[row.back()].x + lead.width;
        int32_t widest = 0;
        for (int i : row) widest = std::max(widest, needs.captionWidth(i, 0));
        if (widest <= lead.width && right <= client) continue;
        const ChoiceFlow flow = flowChoices(int(row.size()), widest, std::max(right, client - kChoiceRightGap) - left);
        const int32_t pitch = lead.height + std::max(needs.leastHeight(row[0]) - lead.height, 0);
        for (size_t k = 0; k < row.size(); ++k) {
            ControlSpec &s = d.controls[row[k]];
            s.width = flow.width;
            s.x = left + int32_t(k % size_t(flow.columns)) * flow.width;
            if (k == 0) continue;
            growth.leader[size_t(row[k])] = row[0];
            growth.dx[size_t(row[k])] = s.x - left;
            growth.dy[size_t(row[k])] = int32_t(k / size_t(flow.columns)) * pitch;
        }
        growth.below[size_t(row[0])] = (flow.lines - 1) * pitch;
    }
}

// ---- push buttons -------------------------------------------------------------

void fitButtonRows(DialogDefinition &d, const ContentNeeds &needs) {
    std::bitset<kSlotCount> done;
    for (int first = 0; first < kSlotCount; ++first) {
        const ControlSpec &lead = d.controls[first];
        if (done[size_t(first)] || !ownControl(lead) || slotKind(lead) != ControlKind::kButton) continue;
        std::vector<int> row;
        bool widens = false;
        for (int i = first; i < kSlotCount; ++i) {
            const ControlSpec &s = d.controls[i];
            if (!ownControl(s) || slotKind(s) != ControlKind::kButton || s.y != lead.y) continue;
            row.push_back(i);
            done.set(size_t(i));
            widens = widens || needs.captionWidth(i, 0) > s.width;
        }
        if (!widens) continue;
        // Right to left, each button keeps its gap to the one on its right.
        std::stable_sort(row.begin(), row.end(), [&](int a, int b) { return d.controls[a].x > d.controls[b].x; });
        int32_t edge = d.controls[row[0]].x + d.controls[row[0]].width;
        int32_t gap = 0;
        for (size_t k = 0; k < row.size(); ++k) {
            ControlSpec &s = d.controls[row[k]];
            if (k + 1 < row.size()) {
                const ControlSpec &next = d.controls[row[k + 1]];
                gap = std::max<int32_t>(s.x - (next.x + next.width), 0);
            }
            s.width = std::max(s.width, needs.captionWidth(row[k], 0));
            s.x = edge - s.width;
            edge = s.x - gap;
        }
        const int32_t past = kButtonRowLeftLimit - d.controls[row.back()].x;
        if (past > 0 && !d.sizeGiven) followResize(d, past, 0);
    }
}

} // namespace

void followResize(DialogDefinition &d, int32_t dw, int32_t dh) {
    for (int i = 0; i < d.controlCount && i < kSlotCount; ++i) {
        ControlSpec &s = d.controls[i];
        if (s.growHeight > 0) s.height = int(s.growHeight * dh + s.height);
        if (s.growWidth > 0) s.width = int(s.growWidth * dw + s.width);
        if (s.followRight == 1) s.x += dw;
        if (s.followBottom == 1) s.y += dh;
    }
    d.width += dw;
    d.height += dh;
}

FitOutcome fitContent(DialogDefinition &d, const ContentNeeds &needs, const FitRoom &room) {
    FitOutcome outcome;
    if (d.holdsMarkupObjects) return outcome;
    fitMessage(d, needs, room, outcome);
    fitButtonRows(d, needs);

    Growth growth;
    fitCheckBoxRows(d, needs, room, growth);
    for (int i = 0; i < kSlotCount; ++i) {
        ControlSpec &s = d.controls[i];
        if (!ownControl(s) || i == kMessageSlot) continue;
        int32_t need = 0;
        switch (slotKind(s)) {
        case ControlKind::kStatic:
            need = s.height + textLacks(needs, i, s.width, s.height);
            break;
        case ControlKind::kRadio:
            fitRadioGroup(d, i, needs, room, growth);
            continue;
        case ControlKind::kButton:
        case ControlKind::kCheckBox:
        case ControlKind::kEdit:
        case ControlKind::kPassword:
        case ControlKind::kComboBox:
        case ControlKind::kDate:
        case ControlKind::kDateDropDown:
        case ControlKind::kTime:
            need = needs.leastHeight(i);
            break;
        default:
            break;
        }
        growth.grows[size_t(i)] = std::max(growth.grows[size_t(i)], need - s.height);
    }
    pushDown(d, growth);
    return outcome;
}
