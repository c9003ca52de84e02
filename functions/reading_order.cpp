#include "functions/reading_order.h"

#include <algorithm>
#include <vector>

namespace {

class Order {
public:
    explicit Order(DialogDefinition &d) : d_(d), listed_(kSlotCount, false) {}

    void add(int slot) {
        if (slot < 0 || slot >= kSlotCount || listed_[size_t(slot)]) return;
        listed_[size_t(slot)] = true;
        slots_.push_back(slot);
    }

    // Adds `slots` sorted by where they stand: top to bottom, then left to
    // right; slots that stand level keep the order given.
    void addByPlace(std::vector<int> slots, bool byRowFirst) {
        std::stable_sort(slots.begin(), slots.end(), [this, byRowFirst](int a, int b) {
            const ControlSpec &s = d_.controls[a];
            const ControlSpec &t = d_.controls[b];
            if (byRowFirst && s.y != t.y) return s.y < t.y;
            return s.x < t.x;
        });
        for (int slot : slots) add(slot);
    }

    void store() {
        for (int slot = 0; slot < kSlotCount; ++slot) add(slot);
        for (size_t k = 0; k < slots_.size(); ++k) d_.creationOrder[k] = uint8_t(slots_[k]);
        d_.ordered = 1;
    }

private:
    DialogDefinition &d_;
    std::vector<bool> listed_;
    std::vector<int> slots_;
};

} // namespace

void orderForReading(DialogDefinition &d, std::initializer_list<int> leading) {
    Order order(d);
    for (int slot : leading) order.add(slot);
    for (int slot = kMessageSlot; slot < kFirstButtonSlot; ++slot) order.add(slot);
    // A row's label stands at its left; a row without one (a text, a group
    // of boxes) starts with its input. Rows stand one below the other in
    // row order, on the dialog or on their page.
    for (int input = kFirstInputSlot; input < kFirstInputSlot + kRowSlots; ++input) {
        std::vector<int> row;
        for (int slot : {input - kRowSlots, input, input + kRowSlots, input + 2 * kRowSlots}) {
            if (!d.controls[slot].kind.empty()) row.push_back(slot);
        }
        order.addByPlace(row, false);
    }
    std::vector<int> buttons;
    for (int slot = kFirstButtonSlot; slot < kFirstLabelSlot; ++slot) {
        if (!d.controls[slot].kind.empty()) buttons.push_back(slot);
    }
    order.addByPlace(buttons, true);
    order.store();
}
