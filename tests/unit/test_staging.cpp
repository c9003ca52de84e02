// Staging of form rows and Tessary_GetInput, called through the host the way
// a script calls them; the slots are then read as a form dialog reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/carry_over.h"
#include "model/dialog_definition.h"
#include "plugin_harness.h"

namespace {

typedef std::vector<std::u16string> Args;

std::u16string u16(const WideText &t) {
    return std::u16string(t.data(), t.length());
}

std::string narrow(const std::u16string &s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? char(c) : '?';
    return out;
}

ControlSpec &slot(int i) {
    return dialog().controls[i];
}

class StagingTest : public harness::FreshPlugin {
protected:

    // Calls a staging function and checks that it answers the empty text.
    static void stage(const char16_t *function, const Args &args) {
        harness::Result r = harness::call(function, args);
        EXPECT_EQ(r.code, 0) << narrow(function);
        EXPECT_TRUE(r.isText) << narrow(function);
        EXPECT_EQ(r.text, u"") << narrow(function);
    }

    static std::u16string getInput(const std::u16string &name) {
        harness::Result r = harness::call(u"Tessary_GetInput", {name});
        EXPECT_EQ(r.code, 0) << narrow(name);
        EXPECT_TRUE(r.isText) << narrow(name);
        return r.text;
    }
};

struct StagedSlot {
    int slot;
    const char *kind;       // "" for a slot left empty
    std::u16string text;
    int32_t y;
};

void expectSlots(const std::vector<StagedSlot> &expected, const std::string &what) {
    for (const StagedSlot &e : expected) {
        const ControlSpec &s = slot(e.slot);
        EXPECT_STREQ(s.kind.data(), e.kind) << what << ", slot " << e.slot;
        EXPECT_EQ(u16(s.text), e.text) << what << ", slot " << e.slot << ": expected \"" << narrow(e.text)
                                       << "\", got \"" << narrow(u16(s.text)) << "\"";
        if (*e.kind) {
            EXPECT_EQ(s.y, e.y) << what << ", slot " << e.slot;
        }
    }
}

} // namespace

TEST_F(StagingTest, LabelsTakeSuccessiveRowsAndSkipEmptyArguments) {
    struct Case {
        Args labels;
        std::vector<StagedSlot> expected;
    } cases[] = {
        {{u"A", u"", u"C"}, {{12, "static", u"A", 10}, {13, "", u"", 0}, {14, "static", u"C", 43}}},
        {{u"", u"B"}, {{12, "", u"", 0}, {13, "static", u"B", 10}, {14, "", u"", 0}}},
        {{u"one\rtwo"}, {{12, "static", u"one\rtwo", 10}, {13, "", u"", 0}}},
        {Args(24, u"x"), {{12, "static", u"x", 10}, {35, "static", u"x", 10 + 33 * 23}, {36, "", u"", 0}}},
    };
    for (const Case &c : cases) {
        stage(u"Tessary_SetLabels", c.labels);
        expectSlots(c.expected, "labels " + std::to_string(c.labels.size()));
    }
    // The geometry a form dialog starts from.
    stage(u"Tessary_SetLabels", {u"A"});
    const ControlSpec &label = slot(12);
    EXPECT_EQ(label.x, 17);
    EXPECT_EQ(label.width, 95);
    EXPECT_EQ(label.height, 23);
    EXPECT_EQ(label.growWidth, 1.0);
    EXPECT_EQ(label.growHeight, 0.0);
    EXPECT_EQ(label.followRight, 0);
    EXPECT_EQ(label.followBottom, 0);
    EXPECT_EQ(label.disabled, 0);
}

TEST_F(StagingTest, InputTypesAreNamedByRowAndTakeTheReadOnlySuffix) {
    stage(u"Tessary_SetInputTypes", {u"edit", u"", u"editRO", u"RO", u"radio23RO", u"ro", u"dateRORO"});
    struct Expected {
        int slot;
        const char *kind;
        const char16_t *name;
        int32_t y;
        uint8_t disabled;
    } expected[] = {
        {36, "edit", u"text1", 10, 0},
        {37, "", u"", 0, 0},
        {38, "edit", u"text3", 43, 1},
        {39, "RO", u"text4", 76, 0},
        {40, "radio23", u"text5", 109, 1},
        {41, "ro", u"text6", 142, 0},
        {42, "dateRO", u"text7", 175, 1},
        {43, "", u"", 0, 0},
    };
    for (const Expected &e : expected) {
        const ControlSpec &s = slot(e.slot);
        EXPECT_STREQ(s.kind.data(), e.kind) << "slot " << e.slot;
        EXPECT_EQ(u16(s.value), e.name) << "slot " << e.slot << ": got \"" << narrow(u16(s.value)) << "\"";
        EXPECT_EQ(s.disabled, e.disabled) << "slot " << e.slot;
        if (*e.kind) {
            EXPECT_EQ(s.y, e.y) << "slot " << e.slot;
            EXPECT_EQ(s.x, 120) << "slot " << e.slot;
            EXPECT_EQ(s.width, 238) << "slot " << e.slot;
            EXPECT_EQ(s.height, 23) << "slot " << e.slot;
            EXPECT_EQ(s.growWidth, 1.0) << "slot " << e.slot;
            EXPECT_EQ(s.followRight, 0) << "slot " << e.slot;
            EXPECT_EQ(s.followBottom, 1) << "slot " << e.slot;
        }
    }
    EXPECT_EQ(dialog().controlCount, 6);

    stage(u"Tessary_SetInputTypes", Args(24, u"edit"));
    EXPECT_EQ(u16(slot(59).value), u"text24");
    EXPECT_EQ(slot(59).y, 10 + 33 * 23);
    EXPECT_EQ(slot(60).kind.length(), 0u) << "nothing spills past input 24";
    EXPECT_EQ(dialog().controlCount, 24);
}

TEST_F(StagingTest, GetInputMatchesTheWholeNameExactly) {
    stage(u"Tessary_SetInputTypes", {u"edit", u"password", u"edit"});
    // A text never shown comes back exactly as it was staged.
    stage(u"Tessary_SetDefaultInputs", {u"first", u"line\rbreak", u"a\r\nb\n|c||\r"});
    // What earlier dialogs leave: unnamed texts (slot 0 is searched first)
    // and a button.
    slot(0).text = WideText(u"markup text");
    slot(1).text = WideText(u"Hello");
    slot(4).value = WideText(u"1");
    slot(4).text = WideText(u"OK");
    struct Case {
        std::u16string name;
        std::u16string expected;
    } cases[] = {
        {u"text1", u"first"},     {u"text2", u"line\rbreak"}, {u"Text1", u""}, {u"text", u""},
        {u"text1 ", u""},         {u"text10", u""},             {u"text3", u"a\r\nb\n|c||\r"}, {u"text4", u""}, {u"", u""},
        {u"1", u"OK"},
    };
    for (const Case &c : cases) {
        std::u16string got = getInput(c.name);
        EXPECT_EQ(got, c.expected) << "name \"" << narrow(c.name) << "\": expected \"" << narrow(c.expected)
                                   << "\", got \"" << narrow(got) << "\"";
    }
}

TEST_F(StagingTest, EachStagingCallResetsOnlyItsOwnPart) {
    struct Step {
        const char16_t *function;
        Args args;
    };
    struct Case {
        const char *what;
        std::vector<Step> steps;
        std::vector<std::u16string> inputs; // GetInput of text1..text3 afterwards
        const char16_t *label2;             // text of label 2 afterwards
    } cases[] = {
        {"defaults before types survive",
         {{u"Tessary_SetDefaultInputs", {u"a", u"b", u"c"}}, {u"Tessary_SetInputTypes", {u"edit", u"edit", u"edit"}}},
         {u"a", u"b", u"c"},
         u""},
        {"an empty kind loses its default",
         {{u"Tessary_SetDefaultInputs", {u"a", u"b", u"c"}}, {u"Tessary_SetInputTypes", {u"edit", u"", u"edit"}}},
         {u"a", u"", u"c"},
         u""},
        {"fewer types drop the later rows",
         {{u"Tessary_SetInputTypes", {u"edit", u"edit", u"edit"}},
          {u"Tessary_SetDefaultInputs", {u"a", u"b", u"c"}},
          {u"Tessary_SetInputTypes", {u"edit"}}},
         {u"a", u"", u""},
         u""},
        {"new defaults replace all of them",
         {{u"Tessary_SetInputTypes", {u"edit", u"edit", u"edit"}},
          {u"Tessary_SetDefaultInputs", {u"a", u"b", u"c"}},
          {u"Tessary_SetDefaultInputs", {u"", u"q"}}},
         {u"", u"q", u""},
         u""},
        {"types and defaults keep labels",
         {{u"Tessary_SetLabels", {u"L1", u"L2"}},
          {u"Tessary_SetInputTypes", {u"edit", u"edit"}},
          {u"Tessary_SetDefaultInputs", {u"a"}}},
         {u"a", u"", u""},
         u"L2"},
    };
    for (const Case &c : cases) {
        resetAllSlots(true);
        for (const Step &s : c.steps) stage(s.function, s.args);
        for (int row = 1; row <= 3; ++row) {
            std::u16string name = u"text" + std::u16string(1, char16_t('0' + row));
            std::u16string got = getInput(name);
            EXPECT_EQ(got, c.inputs[row - 1]) << c.what << ", row " << row << ": expected \""
                                              << narrow(c.inputs[row - 1]) << "\", got \"" << narrow(got) << "\"";
        }
        EXPECT_EQ(u16(slot(13).text), c.label2) << c.what;
    }
}

TEST_F(StagingTest, ResetsClearLeftoversOfAnEarlierLayoutAndTheFontsTheyCover) {
    // What an earlier form dialog leaves behind: rows spread into slots
    // 60..119, links, owners and fonts.
    for (int i = 12; i < kSlotCount; ++i) {
        slot(i).kind = NarrowText("edit");
        slot(i).text = WideText(u"old");
        slot(i).ownerIndex = 110;
        slot(i).linkIndex = 36;
        setFont(slot(i).font, "Arial", "Bold", 12);
    }

    stage(u"Tessary_SetLabels", {u"A", u"B"});
    EXPECT_STREQ(slot(12).font.faceName, "Arial") << "label 1 keeps its font";
    EXPECT_STREQ(slot(13).font.faceName, "") << "label 2 is reset, font included";
    EXPECT_STREQ(slot(36).font.faceName, "Arial") << "inputs are not touched";
    EXPECT_EQ(u16(slot(36).text), u"old");
    for (int i : {14, 35, 60, 119}) {
        EXPECT_EQ(slot(i).kind.length(), 0u) << "slot " << i;
        EXPECT_EQ(slot(i).text.length(), 0u) << "slot " << i;
        EXPECT_EQ(slot(i).linkIndex, -1) << "slot " << i;
    }

    for (int i = 36; i < kSlotCount; ++i) {
        slot(i).text = WideText(u"old");
        slot(i).linkIndex = 36;
    }
    stage(u"Tessary_SetInputTypes", {u"edit"});
    EXPECT_EQ(slot(36).ownerIndex, -1);
    EXPECT_EQ(slot(36).linkIndex, -1);
    EXPECT_STREQ(slot(36).font.faceName, "") << "input fonts go with the kinds";
    EXPECT_STREQ(slot(12).font.faceName, "Arial") << "labels are not touched";
    EXPECT_EQ(u16(slot(36).text), u"old") << "the default survives";
    EXPECT_EQ(u16(slot(84).text), u"old") << "texts of further slots survive";
    EXPECT_EQ(slot(84).linkIndex, -1);

    setFont(slot(36).font, "Arial", "Bold", 12);
    stage(u"Tessary_SetDefaultInputs", {u"new"});
    EXPECT_EQ(u16(slot(36).text), u"new");
    EXPECT_EQ(slot(84).text.length(), 0u) << "defaults clear the further slots' texts";
    EXPECT_STREQ(slot(36).font.faceName, "Arial") << "defaults keep fonts";
    EXPECT_STREQ(slot(36).kind.data(), "edit") << "defaults keep kinds";
}
