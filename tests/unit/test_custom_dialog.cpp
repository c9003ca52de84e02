// Tessary_CustomDialog as filled for the dialog runtime from its markup,
// shown to a player that presses one of its buttons.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "dialog_player.h"
#include "plugin_harness.h"
#include "runtime/runner.h"

namespace {

const std::u16string kOkButton = u"<object><type>button</type><name>ok</name><text>OK</text><left>10</left>"
                                 u"<top>10</top><width>75</width><height>23</height></object>";

std::u16string object(const std::u16string &attributes) {
    return u"<object>" + attributes + u"</object>";
}

class CustomDialog : public harness::FreshPlugin {
protected:
    // Shows the markup and returns the result; the player keeps what the
    // dialog was filled with and presses the button in slot `press` (-1:
    // the dialog closes without a press).
    std::u16string show(const std::u16string &markup, int press = 3) {
        return harness::showDialog(u"Tessary_CustomDialog", {markup}, shown, press).text;
    }

    // left, width, height, minWidth, minHeight, resizable, controlCount, defaultButton
    std::vector<int> window() const {
        return {shown.left,      shown.width,    shown.height,       shown.minWidth,
                shown.minHeight, shown.resizable, shown.controlCount, shown.defaultButton};
    }

    harness::Shown shown;
};

} // namespace

TEST_F(CustomDialog, OneButtonDialogAndTheWindowElements) {
    struct Case {
        std::u16string window, title;
        std::vector<int> expected;
    } cases[] = {
        {u"<title>Pick</title>", u"Pick", {0, 383, 360, 363, 170, 0, 4, -1}},
        {u"<left>40</left><width>500</width><height>9</height><minwidth>1</minwidth><minheight>90</minheight>"
         u"<resize>true</resize>",
         u"", {40, 500, 9, 1, 90, 1, 4, -1}},
        {u"<Title>T</Title><resize>True</resize><Width>500</Width><left>-4</left>", u"", {0, 383, 360, 363, 170, 0, 4, -1}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(show(c.window + kOkButton), u"ok");
        EXPECT_EQ(shown.title, c.title);
        EXPECT_EQ(window(), c.expected);
    }
    const ControlSpec &b = shown.slot(3);
    EXPECT_TRUE(equals(b.kind, "button"));
    EXPECT_EQ(U(b.text), u"OK");
    EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}), (std::vector<int>{10, 10, 75, 23}));
    for (int slot : {0, 1, 2, 4}) EXPECT_TRUE(shown.slot(slot).kind.empty()) << slot;
}

TEST_F(CustomDialog, WithoutAButtonNoDialogIsShown) {
    const char16_t *cases[] = {
        u"<title>Pick</title>",
        u"<object><type>static</type><name>ok</name></object>",
        u"<object><type>Button</type></object>",
        u"<object><type>\u0162utton</type></object>", // its low byte is 'b': no unit passes for a letter
        u"<object><type>button\u0100x</type></object>", // nor ends the keyword early
    };
    for (const char16_t *markup : cases) {
        EXPECT_EQ(show(markup), u"Error: At least one button must be specified");
        EXPECT_EQ(shown.runs, 0);
    }
}

// What the window shows of these is tested end to end; here what the
// markup alone decides.
TEST_F(CustomDialog, ObjectAttributes) {
    const std::u16string markup =
        object(u"<type>editBox</type><name>notes</name><text>a\rb</text><moveX>true</moveX><moveY>yes</moveY>"
               u"<readonly>true</readonly><alignment>right</alignment><fontname>\u30e1\u30a4\u30ea\u30aa</fontname>"
               u"<fontstyle>Bold</fontstyle><fontsize>12</fontsize>") +
        object(u"<type>radio</type><text>A|B|C|</text>") +
        object(u"<type>checkbox</type><setcheckbox>true</setcheckbox><alignment>left</alignment>") +
        object(u"<type>listbox</type><rows>0</rows><setcheckbox>true</setcheckbox>") +
        object(u"<type>button</type><alignment>center</alignment>");
    EXPECT_EQ(show(markup, 7), u"");
    const ControlSpec &edit = shown.slot(3);
    EXPECT_EQ(U(edit.value), u"notes");
    EXPECT_EQ(U(edit.text), u"a\rb");
    EXPECT_EQ((std::vector<int>{edit.followRight, edit.followBottom, edit.disabled, int(edit.extraStyle)}),
              (std::vector<int>{1, 0, 1, 2}));
    EXPECT_STREQ(edit.font.faceName, "\xe3\x83\xa1\xe3\x82\xa4\xe3\x83\xaa\xe3\x82\xaa"); // UTF-8, not low bytes
    EXPECT_STREQ(edit.font.style, "Bold");
    EXPECT_EQ(edit.font.pointSize, 12);
    EXPECT_EQ(radioColumns(shown.slot(4)), 1); // none given: one button a row
    EXPECT_EQ(checkBoxChecked(shown.slot(5)), 1);
    EXPECT_EQ(shown.slot(5).extraStyle, 0u);
    EXPECT_EQ(listHasCheckBoxes(shown.slot(6)), 1);
    EXPECT_EQ(listChosenRow(shown.slot(6)), -1); // no row starts checked, so none is chosen
    EXPECT_EQ(shown.slot(7).extraStyle, 1u);
}

TEST_F(CustomDialog, ResultIsTheNameOfThePressedButton) {
    struct Case {
        std::u16string markup;
        int press;
        const char16_t *result;
    } cases[] = {
        {object(u"<type>button</type><name>a</name>") + object(u"<type>button</type><name>b</name>"), 4, u"b"},
        {object(u"<type>button</type>"), 3, u""},
        {kOkButton, -1, u""},
        {object(u"<type>button</type><readonly>true</object><name>still</name>"), 3, u"still"},
    };
    for (const Case &c : cases) EXPECT_EQ(show(c.markup, c.press), c.result);
}

TEST_F(CustomDialog, EarlierCallsLeaveNothingBehind) {
    harness::call(u"Tessary_SetPosition", {u"100", u"50"});
    harness::call(u"Tessary_SetFont", {u"setAllButtons", u"Arial", u"Bold", u"14"});
    harness::call(u"Tessary_SetInputTypes", {u"edit"});
    EXPECT_EQ(show(kOkButton), u"ok");
    EXPECT_EQ(shown.left, 0);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(shown.slot(slot).font.pointSize, 0) << slot;
        EXPECT_EQ(shown.slot(slot).kind.empty(), slot != 3) << slot;
    }
}

TEST_F(CustomDialog, OverlongMarkupIsCutSafely) {
    std::u16string many;
    for (int n = 1; n <= 130; ++n) many += object(u"<type>button</type><name>" + std::u16string(1, u'0' + n % 10) + u"</name>");
    EXPECT_EQ(show(many, 119), u"7"); // object 117 in the last slot; later ones ignored
    EXPECT_EQ(shown.controlCount, 120);

    const std::u16string markup =
        u"<" + std::u16string(100, u'w') + u">1</w>" + object(u"<type>button" + std::u16string(5000, u'n') + u"</type>") +
        object(u"<type>button</type><fontname>" + std::u16string(20, u'\u65e5') + u"</fontname><fontstyle>Italic Bold "
               u"StrikeOut Underline" + std::u16string(2000, u' ') + u"</fontstyle><fontsize>99999</fontsize><left>" +
               std::u16string(100, u'9') + u"</left>");
    EXPECT_EQ(show(markup, 4), u"");
    EXPECT_EQ(shown.slot(3).kind.length(), 1023u); // no button, however it starts
    const FontSpec &font = shown.slot(4).font;
    EXPECT_EQ(std::string(font.faceName).size(), 30u); // ten whole three-byte characters
    EXPECT_STREQ(font.style, "Italic Bold StrikeOut Underline");
    EXPECT_EQ(font.pointSize, kLargestPointSize);
    EXPECT_EQ(shown.slot(4).x, 2147483647);
}
