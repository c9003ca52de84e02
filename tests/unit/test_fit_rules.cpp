// How a dialog makes room for its content, measured here by a stand-in font
// in which every character is 6 units wide and a line 13 high.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>
#include <string>

#include "model/carry_over.h"
#include "model/dialog_definition.h"
#include "model/fields.h"
#include "runtime/fit_rules.h"

namespace {

constexpr int32_t kChar = 6, kLine = 13;

class FixedFont : public ContentNeeds {
public:
    std::map<int, int32_t> tallerFont; // slot to its line height, where it is not kLine

    int32_t line(int slot) const {
        auto at = tallerFont.find(slot);
        return at != tallerFont.end() ? at->second : kLine;
    }
    // Greedy word wrap at `width`, CR starting a line.
    int32_t wrappedHeight(int slot, int32_t width) const override {
        const std::u16string text = U(dialog().controls[slot].text);
        if (text.empty()) return 0;
        const size_t perLine = size_t(std::max(width / kChar, 1));
        int32_t lines = 1;
        size_t used = 0;
        size_t at = 0;
        while (at < text.size()) {
            if (text[at] == u'\r') {
                ++lines;
                used = 0;
                ++at;
                continue;
            }
            size_t end = at;
            while (end < text.size() && text[end] != u' ' && text[end] != u'\r') ++end;
            const size_t word = end - at;
            if (used > 0 && used + 1 + word > perLine) {
                ++lines;
                used = 0;
            }
            used += (used > 0 ? 1 : 0) + word;
            at = end < text.size() && text[end] == u' ' ? end + 1 : end;
        }
        return lines * line(slot);
    }
    int32_t captionWidth(int slot, size_t caption) const override {
        const ControlSpec &s = dialog().controls[slot];
        const WideText text = slotKind(s) == ControlKind::kRadio ? WideFields(s.text).text(caption) : s.text;
        return int32_t(text.length()) * kChar + (slotKind(s) == ControlKind::kButton ? 16 : 20);
    }
    int32_t leastHeight(int slot) const override {
        return line(slot) + (slotKind(dialog().controls[slot]) == ControlKind::kStatic ? 0 : 8);
    }
};

const FitRoom kRoom{1600, 860, 16, 39}; // 5/8 of 1600 is 1000

void place(int slot, const char *kind, const std::u16string &text, SlotLayout layout) {
    ControlSpec &s = dialog().controls[slot];
    s.kind = NarrowText(kind);
    s.text = W(text.c_str());
    s.ownerIndex = -1;
    setLayout(s, layout);
}

// A message dialog of 383 x 173 with its message and OK.
// An empty record for a dialog of 383 x `height` that may grow.
void freshDialog(int32_t height, int32_t controlCount) {
    resetAllSlots(true);
    DialogDefinition &d = dialog();
    d.width = d.minWidth = 383;
    d.height = d.minHeight = height;
    d.sizeGiven = 0;
    d.holdsMarkupObjects = 0;
    d.controlCount = controlCount;
}

void messageDialog(const std::u16string &message) {
    freshDialog(173, 5);
    place(kMessageSlot, "static", message, SlotLayout{17, 10, 339, 93, 1.0, 1.0, false, false});
    place(4, "button", u"OK", SlotLayout{290, 108, 75, 23, 0.0, 0.0, true, true});
}

std::u16string repeated(const std::u16string &part, int times, const std::u16string &between) {
    std::u16string out;
    for (int i = 0; i < times; ++i) out += (i ? between : u"") + part;
    return out;
}

} // namespace

TEST(FitRules, AMessageGrowsWiderThenTallerThenScrolls) {
    const FixedFont font;
    struct Case {
        const char *what;
        std::u16string message;
        bool sizeGiven;
        int32_t width, height, buttonY; // afterwards
        bool scrolls;
    } cases[] = {
        // 56 characters a line in 339 units: 7 lines of 13 fit the 93.
        {"fits", repeated(u"word", 30, u" "), false, 383, 173, 108, false},
        // Twenty short lines gain nothing from a wider window.
        {"twenty lines", repeated(u"Line of the report", 20, u"\r"), false, 383, 173 + 20 * 13 - 93, 108 + 20 * 13 - 93, false},
        // 2,000 characters take 13 lines at 5/8 of the work area, 1000, and
        // already at 998 (159 characters a line); then as tall as needed.
        {"a paragraph", repeated(u"abcdefghi", 200, u" "), false, 998, 173 + 13 * 13 - 93, 108 + 13 * 13 - 93, false},
        {"beyond the work area", repeated(u"Line", 80, u"\r"), false, 383, 860, 108 + 860 - 173, true},
        {"a size given", repeated(u"Line", 20, u"\r"), true, 383, 173, 108, true},
    };
    for (const Case &c : cases) {
        messageDialog(c.message);
        dialog().sizeGiven = c.sizeGiven ? 1 : 0;
        const FitOutcome outcome = fitContent(dialog(), font, kRoom);
        const ControlSpec &m = dialog().controls[kMessageSlot], &ok = dialog().controls[4];
        EXPECT_EQ(dialog().width, c.width) << c.what;
        EXPECT_EQ(dialog().height, c.height) << c.what;
        EXPECT_EQ(ok.y, c.buttonY) << c.what;
        EXPECT_EQ(outcome.scrolls.test(kMessageSlot), c.scrolls) << c.what;
        // The message keeps its margins and OK its place in the corner.
        EXPECT_EQ(m.width, dialog().width - 44) << c.what;
        EXPECT_EQ(ok.x, dialog().width - 93) << c.what;
        EXPECT_EQ(ok.y - (m.y + m.height), 5) << c.what;
        if (!c.scrolls) {
            EXPECT_LE(font.wrappedHeight(kMessageSlot, m.width), m.height) << c.what;
        }
    }
}

namespace {

// A form of a name, a radio row, a check box row, a labelled field and two
// buttons, 383 wide, laid out for short content.
void form(const std::u16string &radio, const std::u16string &boxes, const std::u16string &label,
          const std::u16string &button) {
    freshDialog(215, 108);
    place(12, "static", u"Name", SlotLayout{17, 13, 95, 23, 0.0, 0.0, false, false});
    place(36, "edit", u"Ann", SlotLayout{120, 10, 238, 23, 1.0, 0.0, false, false});
    place(37, "radio", radio, SlotLayout{20, 43, 115, 23, 0.0, 0.0, false, false});
    setRadioColumns(dialog().controls[37], int(WideFields(dialog().controls[37].text).itemCount()));
    const WideText boxTexts = W(boxes.c_str());
    const WideFields captions(boxTexts);
    for (int k = 0; k < 3; ++k) {
        place(38 + 24 * k, "checkbox", U(captions.text(size_t(k))), SlotLayout{20 + 115 * k, 76, 115, 23, 0.0, 0.0, false, false});
    }
    place(13, "static", label, SlotLayout{17, 112, 95, 23, 0.0, 0.0, false, false});
    place(39, "edit", u"", SlotLayout{120, 109, 238, 23, 1.0, 0.0, false, false});
    place(4, "button", u"OK", SlotLayout{290, 150, 75, 23, 0.0, 0.0, true, true});
    place(5, "button", button, SlotLayout{208, 150, 75, 23, 0.0, 0.0, true, true});
}

struct Box {
    int slot;
    int32_t left, top, right, bottom;
};

// Each control's box: a radio group's every line, each of its buttons as
// wide as the slot.
std::vector<Box> boxes() {
    std::vector<Box> out;
    for (int i = 0; i < kSlotCount; ++i) {
        const ControlSpec &s = dialog().controls[i];
        if (slotKind(s) == ControlKind::kNone) continue;
        int32_t width = s.width, height = s.height;
        if (slotKind(s) == ControlKind::kRadio) {
            const int count = int(WideFields(s.text).itemCount());
            const int perRow = std::max(radioColumns(s), 1);
            width = s.width * std::min(perRow, count);
            height = s.height * ((count + perRow - 1) / perRow);
        }
        out.push_back(Box{i, s.x, s.y, s.x + width, s.y + height});
    }
    return out;
}

} // namespace

TEST(FitRules, FormRowsMakeRoomAndNothingOverlaps) {
    FixedFont font;
    const std::u16string shortRadio = u"Post|Courier|", longRadio = u"Standard|Express|Express overnight delivery|Pick-up|Post office|";
    const std::u16string shortBoxes = u"Gift|Invoice|Card|", longBoxes = u"Send the invoice by e-mail|Gift wrap with a card too|Leave at the neighbours door|";
    const std::u16string longLabel = u"The name of the person who will sign for the delivery at the door";
    struct Case {
        const char *what;
        std::u16string radio, boxes, label, button;
        int32_t tallFont; // line height of the first field's font; 0: kLine
    } cases[] = {
        {"short", shortRadio, shortBoxes, u"Paper", u"Cancel", 0},
        {"long radio captions", longRadio, shortBoxes, u"Paper", u"Cancel", 0},
        {"long check box captions", shortRadio, longBoxes, u"Paper", u"Cancel", 0},
        {"a long label", shortRadio, shortBoxes, longLabel, u"Cancel", 0},
        {"a long button caption", shortRadio, shortBoxes, u"Paper", u"Delete every record now", 0},
        {"a tall font", shortRadio, shortBoxes, u"Paper", u"Cancel", 40},
        {"everything long", longRadio, longBoxes, longLabel, u"Delete every record now", 40},
    };
    for (const Case &c : cases) {
        form(c.radio, c.boxes, c.label, c.button);
        font.tallerFont.clear();
        if (c.tallFont) font.tallerFont[36] = c.tallFont;
        const std::vector<Box> before = boxes();
        fitContent(dialog(), font, kRoom);
        const std::vector<Box> after = boxes();
        const DialogDefinition &d = dialog();
        if (std::string(c.what) == "short") {
            for (size_t k = 0; k < before.size(); ++k) {
                EXPECT_EQ(std::make_tuple(after[k].left, after[k].top, after[k].right, after[k].bottom),
                          std::make_tuple(before[k].left, before[k].top, before[k].right, before[k].bottom))
                    << "short content keeps its place, slot " << after[k].slot;
            }
            EXPECT_EQ(std::make_pair(d.width, d.height), std::make_pair(383, 215));
        }
        const int32_t clientWidth = d.width - kRoom.frameWidth, clientHeight = d.height - kRoom.frameHeight;
        for (const Box &a : after) {
            const ControlSpec &s = d.controls[a.slot];
            EXPECT_TRUE(a.left >= 0 && a.right <= clientWidth && a.top >= 0 && a.bottom <= clientHeight + 39)
                << c.what << ": slot " << a.slot << " lies outside the dialog";
            for (const Box &b : after) {
                const bool overlap = a.slot < b.slot && a.left < b.right && b.left < a.right && a.top < b.bottom &&
                                     b.top < a.bottom;
                EXPECT_FALSE(overlap) << c.what << ": slots " << a.slot << " and " << b.slot << " overlap";
            }
            if (slotKind(s) == ControlKind::kStatic) {
                EXPECT_LE(font.wrappedHeight(a.slot, s.width), s.height) << c.what << ": text of slot " << a.slot;
            } else if (slotKind(s) != ControlKind::kRadio) {
                EXPECT_LE(font.leastHeight(a.slot), s.height) << c.what << ": slot " << a.slot << " is too low";
            }
            const size_t captions = slotKind(s) == ControlKind::kRadio ? WideFields(s.text).itemCount() : 1;
            if (slotKind(s) == ControlKind::kRadio || slotKind(s) == ControlKind::kCheckBox ||
                slotKind(s) == ControlKind::kButton) {
                for (size_t k = 0; k < captions; ++k) {
                    EXPECT_LE(font.captionWidth(a.slot, k), s.width) << c.what << ": caption " << k << " of " << a.slot;
                }
            }
        }
        // The buttons stay in the bottom right corner, OK at the right.
        EXPECT_EQ(d.controls[4].x + d.controls[4].width, 365) << c.what;
        EXPECT_EQ(d.height - d.controls[4].y, 65) << c.what;
    }
}
