// Plays the user of a dialog for native tests: keeps a copy of what a
// function filled the dialog record with at the moment the dialog would
// show, then ends the dialog by a button or without one, as the close box
// and the timer do.
#ifndef TESSARY_TESTS_DIALOG_PLAYER_H
#define TESSARY_TESTS_DIALOG_PLAYER_H

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "plugin_harness.h"
#include "runtime/runner.h"
#include "text_helpers.h"

namespace harness {

// A control's place, compared and printed whole, so a table row names the
// one box that is wrong instead of four numbers.
struct Box {
    int x, y, width, height;
    bool operator==(const Box &o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

inline std::ostream &operator<<(std::ostream &out, const Box &b) {
    return out << "(" << b.x << ", " << b.y << ") " << b.width << " x " << b.height;
}

inline Box boxOf(const ControlSpec &s) {
    return {s.x, s.y, s.width, s.height};
}

// The record as the dialog would have shown it. The slots are copies: the
// function reads back into the live record once the dialog closes and a
// later call refills it, while a test reads what was shown afterwards.
struct Shown {
    int runs = 0; // dialogs shown during the call; 0 when the function showed none
    int left = 0, top = 0, width = 0, height = 0, minWidth = 0, minHeight = 0;
    int templateId = 0, defaultButton = 0, controlCount = 0;
    bool resizable = false, timer = false, noCaption = false;
    uint32_t timerInterval = 0;
    int cancelButton = 0;
    MessageIcon messageIcon = MessageIcon::kNone;
    std::u16string title;
    std::string hooks; // which dialog the function asked the runtime for
    std::vector<ControlSpec> slots;
    std::vector<int> madeInOrder; // slots with a kind, in the order their controls are made

    const ControlSpec &slot(int i) const { return slots.at(size_t(i)); }

    std::vector<int> slotsOfKind(const char *kind) const {
        std::vector<int> found;
        for (size_t i = 0; i < slots.size(); ++i) {
            if (equals(slots[i].kind, kind)) found.push_back(int(i));
        }
        return found;
    }

    // Slots whose control takes the keyboard focus when the dialog opens.
    std::vector<int> focused() const {
        std::vector<int> found;
        for (size_t i = 0; i < slots.size(); ++i) {
            if (slots[i].initialFocus) found.push_back(int(i));
        }
        return found;
    }
};

// What the user leaves in the live record before the dialog closes: what
// the dialog would have read back from its controls.
typedef std::function<void(DialogDefinition &)> Entry;

// Calls `function`; its dialog is recorded into `shown` (emptied first) and
// closed by the button in slot `press`, -1 closing it without one, after
// `enter` has run on the live record.
inline Result showDialog(const char16_t *function, const std::vector<std::u16string> &args, Shown &shown,
                         int press = -1, const Entry &enter = nullptr) {
    shown = Shown();
    setDialogPlayer([&](DialogDefinition &d) {
        ++shown.runs;
        shown.left = d.left;
        shown.top = d.top;
        shown.width = d.width;
        shown.height = d.height;
        shown.minWidth = d.minWidth;
        shown.minHeight = d.minHeight;
        shown.templateId = d.templateId;
        shown.defaultButton = d.defaultButton;
        shown.controlCount = d.controlCount;
        shown.resizable = d.resizable != 0;
        shown.timer = d.timerEnabled != 0;
        shown.noCaption = d.noCaption != 0;
        shown.timerInterval = d.timerInterval;
        shown.cancelButton = d.cancelButton;
        shown.messageIcon = d.messageIcon;
        shown.title = U(d.title);
        shown.hooks = dialogHooks().name;
        shown.slots.assign(d.controls, d.controls + kSlotCount);
        shown.madeInOrder.clear();
        for (int place = 0; place < kSlotCount; ++place) {
            const int slot = slotMadeAt(d, place);
            if (!d.controls[slot].kind.empty()) shown.madeInOrder.push_back(slot);
        }
        if (enter) enter(d);
        d.resultIndex = press;
    });
    Result r = call(function, args);
    setDialogPlayer(nullptr);
    return r;
}

} // namespace harness

#endif
