// The input rows as the form dialogs lay them out: staged through the host
// as a script stages them, then expanded, stacked on tab pages, or shown by
// Tessary_DoDialog and Tessary_DoTabDialog with a player in the user's place.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "functions/input_rows.h"
#include "model/dialog_definition.h"
#include "dialog_player.h"
#include "plugin_harness.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

ControlSpec &slot(int i) {
    return dialog().controls[i];
}

std::string narrow(const std::u16string &s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? char(c) : '?';
    return out;
}

using harness::Box;

Box boxOf(int i) {
    return harness::boxOf(slot(i));
}

class InputRows : public harness::FreshPlugin {
protected:
    // Stages row 1 with a label, a kind and a default text, as a script does.
    static void stageRow(const std::u16string &label, const std::u16string &kind, const std::u16string &text) {
        harness::call(u"Tessary_SetLabels", {label});
        harness::call(u"Tessary_SetInputTypes", {kind});
        harness::call(u"Tessary_SetDefaultInputs", {text});
    }
    static void stageRows(const Args &labels, const Args &kinds, const Args &texts) {
        harness::call(u"Tessary_SetLabels", labels);
        harness::call(u"Tessary_SetInputTypes", kinds);
        harness::call(u"Tessary_SetDefaultInputs", texts);
    }
};

} // namespace

TEST_F(InputRows, KindsThatChangeOnlyGeometry) {
    dialog().width = 383;
    struct Case {
        const char16_t *kind, *text;
        const char *becomes;
        Box input;
        uint32_t extraStyle;
        bool labelKept;
    } cases[] = {
        {u"hedit", u"", "edit", {120, 10, 119, 23}, 0, true},
        {u"heditR", u"", "edit", {120, 10, 119, 23}, 2, true},
        {u"heditC", u"", "edit", {120, 10, 119, 23}, 1, true},
        {u"static", u"", "static", {17, 13, 255, 23}, 0, false},
        {u"date", u"", "date", {120, 10, 86, 23}, 0, true},
        {u"datedd", u"", "datedd", {120, 10, 86, 23}, 0, true},
        {u"slider", u"50|200", "slider", {120, 10, 238, 30}, 0, true},
        {u"password", u"", "password", {120, 10, 238, 23}, 0, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(narrow(c.kind));
        stageRow(u"Label", c.kind, c.text);
        expandInputRow(36, kNoOwner);
        EXPECT_TRUE(equals(slot(36).kind, c.becomes)) << slot(36).kind.data();
        EXPECT_EQ(boxOf(36), c.input);
        EXPECT_EQ(slot(36).extraStyle, c.extraStyle);
        EXPECT_EQ(!slot(12).kind.empty(), c.labelKept);
        EXPECT_EQ(slot(36).ownerIndex, kNoOwner);
    }
}

TEST_F(InputRows, SliderReadsPositionAndMaximum) {
    struct Case {
        const char16_t *text;
        int position, maximum;
    } cases[] = {
        {u"50|200", 50, 200}, {u"50", 50, 0}, {u"", 0, 0}, {u" -3|x", -3, 0}, {u"7|99999999999", 7, 2147483647},
        // A character outside ASCII is no digit, whatever its low byte says.
        {u"\u0131\u0132|\u0133", 0, 0},
    };
    for (const Case &c : cases) {
        stageRow(u"L", u"slider", c.text);
        expandInputRow(36, kNoOwner);
        EXPECT_EQ(sliderPosition(slot(36)), c.position) << narrow(c.text);
        EXPECT_EQ(sliderMaximum(slot(36)), c.maximum) << narrow(c.text);
    }
}

TEST_F(InputRows, CompositeRowsSpreadOverTheirPartners) {
    dialog().width = 383;
    struct Case {
        const char16_t *label, *kind, *text;
        // kinds, texts and boxes of the input and its partners at +24, +48
        const char *kinds[3];
        const char16_t *texts[3];
        Box boxes[3];
        const char16_t *labelText;
    } cases[] = {
        {u"When", u"datetime", u"1:30 PM|24/12/2024", {"time", "date", ""}, {u"1:30 PM", u"24/12/2024", u""},
         {{120, 10, 86, 23}, {210, 10, 86, 23}, {0, 0, 0, 0}}, u"When"},
        {u"When", u"datetimedd", u"9:00 AM", {"time", "datedd", ""}, {u"9:00 AM", u"", u""},
         {{120, 10, 86, 23}, {210, 10, 86, 23}, {0, 0, 0, 0}}, u"When"},
        {u"Price|to", u"range", u"10|20|30", {"edit", "static", "edit"}, {u"10", u"to", u"20|30"},
         {{120, 10, 81, 23}, {207, 10, 70, 23}, {272, 10, 86, 23}}, u"Price"},
        {u"From|until", u"daterange", u"1/1/2024|2/2/2024", {"date", "static", "date"},
         {u"1/1/2024", u"until", u"2/2/2024"}, {{120, 10, 86, 23}, {214, 10, 55, 23}, {272, 10, 86, 23}}, u"From"},
        // Only the first 32 characters are split; the rest is ignored.
        {u"T", u"datetime", u"12:00 PM|0123456789012345678901234567890123456789",
         {"time", "date", ""}, {u"12:00 PM", u"01234567890123456789012", u""},
         {{120, 10, 86, 23}, {210, 10, 86, 23}, {0, 0, 0, 0}}, u"T"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(narrow(c.kind) + " " + narrow(c.text));
        stageRow(c.label, c.kind, c.text);
        expandInputRow(36, 110);
        for (int k = 0; k < 3; ++k) {
            const int i = 36 + 24 * k;
            EXPECT_TRUE(equals(slot(i).kind, c.kinds[k])) << i << ": " << slot(i).kind.data();
            EXPECT_EQ(U(slot(i).text), c.texts[k]) << i;
            if (c.kinds[k][0] != 0) {
                EXPECT_EQ(boxOf(i), c.boxes[k]) << i;
                EXPECT_EQ(slot(i).ownerIndex, 110) << i;
            }
        }
        EXPECT_EQ(U(slot(12).text), c.labelText);
        EXPECT_EQ(slot(12).x, 17);
        // The fields pass their values to the row's input slot.
        EXPECT_EQ(slot(36).linkIndex, 36);
        EXPECT_EQ(U(slot(36).linkSeparator), u"|");
    }
}

TEST_F(InputRows, CheckBoxesAndRadioGroupsTakeTheLabelsCaptions) {
    dialog().width = 383;
    struct Case {
        const char16_t *label, *kind, *text;
        int boxes;          // check boxes made; for radio groups the columns
        Box first;
        int checked;        // check boxes: bits of the checked boxes; radio: the button
        const char16_t *captions;
    } cases[] = {
        {u"Subscribe", u"checkbox", u"1", 1, {119, 10, 200, 23}, 0b001, u"Subscribe"},
        {u"A|B", u"checkbox", u"", 1, {119, 10, 200, 23}, 0, u"A"},
        {u"A|B|", u"checkbox", u"01", 2, {20, 10, 182, 23}, 0b010, u"A,B"},
        {u"A|B|C|", u"checkbox", u"101", 3, {20, 10, 115, 23}, 0b101, u"A,B,C"},
        {u"A|B|C|D|E|", u"checkbox", u"0000000000000000", 3, {20, 10, 115, 23}, 0, u"A,B,C"},
        {u"Small|Medium|Large", u"radio", u"2", 2, {20, 10, 182, 23}, 2, u"Small|Medium|Large"},
        {u"Small|Medium|Large|", u"radio", u"", 3, {20, 10, 115, 23}, 0, u"Small|Medium|Large|"},
        {u"Yes", u"radio", u"x", 1, {119, 10, 200, 23}, -1, u"Yes"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(narrow(c.label) + " " + narrow(c.kind));
        stageRow(c.label, c.kind, c.text);
        expandInputRow(36, kNoOwner);
        EXPECT_EQ(boxOf(36), c.first);
        EXPECT_TRUE(slot(12).kind.empty()) << "the captions replace the label";
        if (equals(slot(36).kind, "radio")) {
            EXPECT_EQ(radioColumns(slot(36)), c.boxes);
            EXPECT_EQ(radioChecked(slot(36)), c.checked);
            EXPECT_EQ(U(slot(36).text), c.captions);
            continue;
        }
        std::u16string captions;
        int checked = 0;
        for (int k = 0; k < c.boxes; ++k) {
            const ControlSpec &b = slot(36 + 24 * k);
            EXPECT_TRUE(equals(b.kind, "checkbox"));
            EXPECT_EQ(U(b.value), u"text1");
            EXPECT_EQ(b.x, c.first.x + k * c.first.width);
            EXPECT_EQ(b.linkIndex, 36);
            captions += (k ? u"," : u"") + U(b.text);
            if (checkBoxChecked(b)) checked |= 1 << k;
        }
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(checked, c.checked);
    }
}

TEST_F(InputRows, TabPagesStackLinesAndDropWhatDoesNotFit) {
    dialog().width = 400;
    dialog().height = 400;
    stageRows({u"One", u"Two", u"Three", u"Four", u"Five"},
              {u"edit3", u"static2", u"radio31", u"edit", u"edit"}, {});
    int used = stackTabPageRows(36, 44, 45, 110);
    // edit3: 95 high; static2: 60 high; radio31: 3 lines, one button a line.
    EXPECT_EQ(boxOf(36), (Box{120, 45, 238, 95}));
    EXPECT_TRUE(equals(slot(36).kind, "editBox"));
    EXPECT_EQ(boxOf(37), (Box{17, 153, 255, 60}));
    EXPECT_EQ(slot(38).y, 220);
    EXPECT_EQ(radioLineCount(slot(38)), 3);
    EXPECT_EQ(radioColumns(slot(38)), 1);
    // The radio group took 23 x 3 + 10 pixels; the fifth row would pass the
    // window's bottom less 57 and is dropped with every row after it.
    EXPECT_EQ(slot(39).y, 299);
    EXPECT_TRUE(slot(40).kind.empty());
    EXPECT_TRUE(slot(16).kind.empty());
    EXPECT_EQ(used, 9);
    EXPECT_EQ(slot(36).ownerIndex, 110);

    // After eight counted lines a row with a line count has no room left,
    // and one whose count is no digit gets none: both are dropped, while
    // plain rows, empty ones too, keep their place and count a line.
    stageRows({u"A", u"B", u"C", u"D"}, {u"edit8", u"edit2", u"edit", u"editX"}, {});
    dialog().height = 2000;
    used = stackTabPageRows(36, 44, 10, 111);
    EXPECT_EQ(slot(36).height, 270);
    EXPECT_TRUE(slot(37).kind.empty());
    EXPECT_TRUE(equals(slot(38).kind, "edit"));
    EXPECT_EQ(slot(38).y, 290);
    EXPECT_TRUE(slot(39).kind.empty());
    EXPECT_EQ(used, 13);
}

TEST_F(InputRows, HostileRowsStaySafe) {
    dialog().width = 383;
    const std::u16string bars(10000, u'|');
    struct Case {
        const char16_t *kind;
        const char *becomes;
    } cases[] = {
        {u"checkbox", "checkbox"}, {u"radio", "radio"}, {u"range", "edit"}, {u"daterange", "date"},
        {u"datetime", "time"},     {u"slider", "slider"}, {u"radio99", "radio"}, {u"edit0", ""},
        {u"static9", "static"},
    };
    for (const Case &c : cases) {
        stageRows({bars}, {c.kind}, {bars});
        dialog().height = 432;
        stackTabPageRows(36, 44, 10, 110);
        EXPECT_TRUE(equals(slot(36).kind, c.becomes)) << narrow(c.kind) << ": " << slot(36).kind.data();
    }
    // The group asked for more lines and columns than a page has: 8 and 3.
    stageRows({u"a|b"}, {u"radio99"}, {});
    stackTabPageRows(36, 44, 10, 110);
    EXPECT_EQ(radioLineCount(slot(36)), 8);
    EXPECT_EQ(radioColumns(slot(36)), 3);
    // 24 date-and-time rows with empty defaults expand on three pages.
    stageRows(Args(24, u"L"), Args(24, u"datetime"), {});
    for (int page = 0; page < 3; ++page) stackTabPageRows(36 + 8 * page, 44 + 8 * page, 10, 110 + page);
    EXPECT_TRUE(equals(slot(36).kind, "time"));
    EXPECT_TRUE(equals(slot(60).kind, "date"));
    EXPECT_TRUE(slot(60).text.empty());
    EXPECT_TRUE(equals(slot(83).kind, "date"));
}
