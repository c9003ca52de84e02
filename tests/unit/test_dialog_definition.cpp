#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>

#include "model/carry_over.h"
#include "model/dialog_definition.h"

namespace {

// Puts something non-default into every field of a slot.
void dirty(ControlSpec &s) {
    s.kind = NarrowText("edit");
    s.text = W(u"typed");
    s.value = W(u"text1");
    setFont(s.font, "Arial", "Bold", 12);
    s.ownerIndex = 5;
    s.linkIndex = 7;
    s.linkMode = 2;
    s.x = s.y = s.width = s.height = 9;
    s.growWidth = 1.0;
    s.followBottom = 1;
    s.disabled = 1;
    setParam(s, 2, 4);
    setFlag(s, 1, 1);
    setExtraText(s, 3, W(u"hidden"));
}

class DialogDefinitionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kSlotCount; ++i) resetSlot(i, true, true);
    }
};

} // namespace

TEST_F(DialogDefinitionTest, ResetAllSlotsKeepsFontsButNothingElse) {
    for (int i = 0; i < kSlotCount; ++i) dirty(dialog().controls[i]);
    resetAllSlots(false);
    for (int i : {0, 12, 59, 119}) {
        const ControlSpec &s = dialog().controls[i];
        EXPECT_STREQ(s.font.faceName, "Arial") << "slot " << i;
        EXPECT_EQ(s.font.pointSize, 12);
        EXPECT_TRUE(s.text.empty());
        EXPECT_TRUE(s.kind.empty());
        EXPECT_EQ(s.ownerIndex, -1);
        EXPECT_EQ(s.linkIndex, -1);
        EXPECT_EQ(param(s, 2), 0);
        EXPECT_EQ(s.growWidth, 0.0);
    }
    resetAllSlots(true);
    EXPECT_STREQ(dialog().controls[3].font.faceName, "");
}

TEST_F(DialogDefinitionTest, TheRangeResetsTouchOnlyTheirSlots) {
    struct Case {
        const char *name;
        void (*reset)();
        int untouched[4];
        int cleared[4];
        bool textKept;
    } cases[] = {
        {"labels", [] { resetForLabels(false); }, {0, 12, 36, 59}, {13, 35, 60, 119}, false},
        {"input types", [] { resetForInputTypes(false, false); }, {0, 12, 35, 11}, {36, 59, 60, 119}, true},
        {"input types with text", [] { resetForInputTypes(false, true); }, {0, 12, 35, 1}, {36, 59, 60, 119}, false},
    };
    for (const Case &c : cases) {
        for (int i = 0; i < kSlotCount; ++i) dirty(dialog().controls[i]);
        c.reset();
        for (int i : c.untouched) {
            EXPECT_TRUE(equals(dialog().controls[i].kind, "edit")) << c.name << " slot " << i;
            EXPECT_STREQ(dialog().controls[i].font.faceName, "Arial") << c.name << " slot " << i;
        }
        for (int i : c.cleared) {
            const ControlSpec &s = dialog().controls[i];
            EXPECT_TRUE(s.kind.empty()) << c.name << " slot " << i;
            EXPECT_STREQ(s.font.faceName, "") << c.name << " slot " << i;
            EXPECT_EQ(U(s.text), c.textKept ? u"typed" : u"") << c.name << " slot " << i;
        }
    }
}

TEST_F(DialogDefinitionTest, OutOfRangeSlotsAndNumbersAreIgnored) {
    dirty(dialog().controls[119]);
    resetSlot(120, true, true);
    resetSlot(-1, true, true);
    EXPECT_TRUE(equals(dialog().controls[119].kind, "edit"));

    ControlSpec s;
    setParam(s, 4, 99);
    setParam(s, 0, 99);
    setExtraText(s, 4, W(u"x"));
    EXPECT_EQ(param(s, 4), 0);
    EXPECT_EQ(param(s, 1), 0);
    EXPECT_TRUE(extraText(s, 4).empty());
    setParam(s, 3, 7);
    EXPECT_EQ(s.param[2], 7);
}

TEST_F(DialogDefinitionTest, LineBreaksShownAndReadBack) {
    struct Case {
        const char16_t *source;
        const char16_t *shown; // withLineFeeds
        const char16_t *typed; // withoutAddedLineFeeds of the source, as if typed
    } cases[] = {
        {u"a\rb", u"a\r\nb", u"a\rb"},
        {u"a\r\nb", u"a\r\n\nb", u"a\rb"},
        {u"\r\r", u"\r\n\r\n", u"\r\r"},
        {u"line\n", u"line\n", u"line\n"},
        {u"\na\n\nb", u"\na\n\nb", u"\na\n\nb"},
        {u"a|\r\n|b", u"a|\r\n\n|b", u"a|\r|b"},
        {u"", u"", u""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << U(W(c.source)).size() << " units");
        const WideText shown = withLineFeeds(W(c.source));
        EXPECT_EQ(U(shown), c.shown);
        // What a control shows comes back as it was given.
        EXPECT_EQ(U(withoutAddedLineFeeds(shown)), c.source);
        EXPECT_EQ(U(withoutAddedLineFeeds(W(c.source))), c.typed);
    }
}

TEST_F(DialogDefinitionTest, LineBreakConversionKeepsEveryUnit) {
    // Past any 16-bit length and the former 200,000-unit cut, with a NUL, a
    // line feed of its own and a surrogate pair at the very end.
    std::u16string big(300000, u'\r');
    big[5] = u'\0';
    big[6] = u'\n';
    big += u"\U0001F600";
    const WideText source(reinterpret_cast<const TextUnit *>(big.data()), big.size());
    const WideText shown = withLineFeeds(source);
    EXPECT_EQ(shown.length(), 2 * 299998 + 4);
    EXPECT_TRUE(withoutAddedLineFeeds(shown) == source) << "the text did not come back whole";
}

TEST_F(DialogDefinitionTest, FontTextsAreCutWithoutSplittingACharacter) {
    FontSpec f;
    std::string longFace(40, 'F');
    setFont(f, longFace.c_str(), "Bold Italic", 10);
    EXPECT_EQ(std::string(f.faceName), std::string(31, 'F'));
    // 30 ASCII bytes and then a two-byte character that would end at byte 32.
    std::string face = std::string(30, 'a') + "\xC3\xA9";
    setFont(f, face.c_str(), "", 0);
    EXPECT_EQ(std::string(f.faceName), std::string(30, 'a'));
    setFont(f, nullptr, nullptr, 3);
    EXPECT_STREQ(f.faceName, "");
    clearFont(f);
    EXPECT_EQ(f.pointSize, 0);
}

TEST_F(DialogDefinitionTest, FullResetLeavesTheSlotsAlone) {
    DialogDefinition &d = dialog();
    dirty(d.controls[5]);
    d.defaultButton = 6;
    d.resultIndex = 9;
    d.width = 400;
    d.title = W(u"T");
    resetDefinition();
    EXPECT_EQ(d.defaultButton, -1);
    EXPECT_EQ(d.resultIndex, 0);
    EXPECT_EQ(d.width, 0);
    EXPECT_TRUE(d.title.empty());
    EXPECT_TRUE(equals(d.controls[5].kind, "edit"));
    EXPECT_EQ(d.valueSeparator[0], '|');
    d.left = 10;
    d.top = 20;
    d.width = 300;
    d.height = 200;
    ScreenRect r = d.windowRect();
    EXPECT_EQ(r.right, 310);
    EXPECT_EQ(r.bottom, 220);
}

TEST_F(DialogDefinitionTest, AKindIsResolvedWhenItsKeywordIsSet) {
    struct Case {
        const char *keyword;
        ControlKind kind;
    } cases[] = {
        {"listboxview", ControlKind::kGrid}, {"listbox", ControlKind::kPlainList},  {"editBox", ControlKind::kEditBox},
        {"tabcontrol", ControlKind::kTabControl}, {"datedd", ControlKind::kDateDropDown},
        // Row kinds before their layout, other cases and unknown words make no control.
        {"hedit", ControlKind::kNone}, {"Static", ControlKind::kNone}, {"", ControlKind::kNone},
    };
    ControlSpec s;
    for (const Case &c : cases) {
        s.kind = NarrowText(c.keyword);
        EXPECT_EQ(s.kind.control(), c.kind) << c.keyword;
        ControlSpec copy = s;
        EXPECT_EQ(copy.kind.control(), c.kind) << c.keyword;
    }
    s.kind = NarrowText("slider");
    s.kind.clear();
    EXPECT_EQ(s.kind.control(), ControlKind::kNone);
    // A list's check boxes make it the check-box list, whichever is set first.
    s.kind = NarrowText("listbox");
    EXPECT_EQ(slotKind(s), ControlKind::kPlainList);
    setListHasCheckBoxes(s, 1);
    EXPECT_EQ(slotKind(s), ControlKind::kCheckList);
    s.kind = NarrowText("listboxview");
    EXPECT_EQ(slotKind(s), ControlKind::kGrid) << "a grid stays a grid";
}
