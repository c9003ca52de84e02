// Tessary_CustomDialog as filled for the dialog runtime from its markup,
// shown to a player that presses one of its buttons.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "plugin_harness.h"
#include "runtime/runner.h"

namespace {

struct Seen {
    bool ran = false;
    std::u16string title;
    int left = 0, top = 0, width = 0, height = 0, minWidth = 0, minHeight = 0;
    int templateId = 0, controlCount = 0, defaultButton = 0;
    bool resizable = false;
    std::vector<ControlSpec> slots;
};

const char16_t kOkButton[] = u"<object><type>button</type><name>ok</name><text>OK</text><left>10</left>"
                             u"<top>10</top><width>75</width><height>23</height></object>";
const char16_t kNoButton[] = u"Error: At least one button must be specified";

// Shows the markup; the player presses the button in slot `press` (-1: the
// dialog closes without a press).
harness::Result show(const std::u16string &markup, Seen &seen, int press = 3) {
    setDialogPlayer([&](DialogDefinition &d) {
        seen.ran = true;
        seen.title = U(d.title);
        seen.left = d.left;
        seen.top = d.top;
        seen.width = d.width;
        seen.height = d.height;
        seen.minWidth = d.minWidth;
        seen.minHeight = d.minHeight;
        seen.templateId = d.templateId;
        seen.controlCount = d.controlCount;
        seen.defaultButton = d.defaultButton;
        seen.resizable = d.resizable != 0;
        seen.slots.assign(d.controls, d.controls + kSlotCount);
        d.resultIndex = press;
    });
    harness::Result r = harness::call(u"Tessary_CustomDialog", {markup});
    setDialogPlayer(nullptr);
    return r;
}

std::u16string object(const std::u16string &attributes) {
    return u"<object>" + attributes + u"</object>";
}

class CustomDialog : public harness::FreshPlugin {};

} // namespace

TEST_F(CustomDialog, OneButtonDialogAndItsDefaults) {
    Seen seen;
    harness::Result r = show(std::u16string(u"<title>Pick</title>") + kOkButton, seen);
    EXPECT_EQ(r.text, u"ok");
    EXPECT_EQ(seen.title, u"Pick");
    EXPECT_EQ(seen.templateId, 501);
    EXPECT_EQ(seen.width, 383);
    EXPECT_EQ(seen.height, 360);
    EXPECT_EQ(seen.minWidth, 363);
    EXPECT_EQ(seen.minHeight, 170);
    EXPECT_EQ(seen.controlCount, 4);
    EXPECT_EQ(seen.defaultButton, -1);
    EXPECT_FALSE(seen.resizable);
    const ControlSpec &b = seen.slots[3];
    EXPECT_TRUE(equals(b.kind, "button"));
    EXPECT_EQ(U(b.text), u"OK");
    EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}), (std::vector<int>{10, 10, 75, 23}));
    EXPECT_EQ(b.growWidth, 0.0);
    EXPECT_EQ(b.growHeight, 0.0);
    for (int slot : {0, 1, 2, 4}) EXPECT_TRUE(seen.slots[slot].kind.empty()) << slot;
}

TEST_F(CustomDialog, WindowElements) {
    struct Case {
        const char *what;
        const char16_t *window;
        std::u16string title;
        int left, width, minHeight;
        bool resizable;
    } cases[] = {
        {"all given", u"<left>40</left><width>500</width><minheight>90</minheight><resize>true</resize>"
                      u"<title>T</title>", u"T", 40, 500, 90, true},
        {"letter case counts", u"<Title>T</Title><resize>True</resize><Width>500</Width>", u"", 0, 383, 170, false},
        {"an enclosing element is ignored", u"<dialog><left>40</left></dialog>", u"", 40, 383, 170, false},
        {"a value ends at a nested element", u"<title>A<b>B</b></title>", u"", 0, 383, 170, false},
        {"without a closing tag the value is empty", u"<title>T<left>40</left>", u"", 40, 383, 170, false},
        {"a single tag is ignored", u"<resize/>true<width>500</width>", u"", 0, 500, 170, false},
        {"numbers are their leading digits", u"<left>-40</left><width>500px</width>", u"", 0, 500, 170, false},
    };
    for (const Case &c : cases) {
        Seen seen;
        EXPECT_EQ(show(c.window + std::u16string(kOkButton), seen).text, u"ok") << c.what;
        EXPECT_EQ(seen.title, c.title) << c.what;
        EXPECT_EQ(seen.left, c.left) << c.what;
        EXPECT_EQ(seen.width, c.width) << c.what;
        EXPECT_EQ(seen.minHeight, c.minHeight) << c.what;
        EXPECT_EQ(seen.resizable, c.resizable) << c.what;
    }
}

TEST_F(CustomDialog, WithoutAButtonNoDialogIsShown) {
    const char16_t *cases[] = {
        u"<title>Pick</title>",
        u"<title>Pick</title><object><type>static</type><name>ok</name></object>",
        u"<object><type>Button</type></object>",
        // "\u0162" has the low byte of 'b': no character passes for a letter.
        u"<object><type>\u0162utton</type></object>",
        u"<object><type>button\u0100x</type></object>",
        u"",
    };
    for (const char16_t *markup : cases) {
        Seen seen;
        EXPECT_EQ(show(markup, seen).text, kNoButton);
        EXPECT_FALSE(seen.ran);
    }
}

TEST_F(CustomDialog, ObjectAttributes) {
    Seen seen;
    const std::u16string markup =
        object(u"<type>editBox</type><name>notes</name><text>a\rb</text><moveX>true</moveX><moveY>yes</moveY>"
               u"<readonly>true</readonly><alignment>right</alignment><hasfocus>true</hasfocus>"
               u"<fontname>\u30e1\u30a4\u30ea\u30aa</fontname><fontstyle>Bold Italic</fontstyle>"
               u"<fontsize>12</fontsize>") +
        object(u"<type>radio</type><text>A|B|C|</text><rows>2</rows><selected>3</selected>") +
        object(u"<type>slider</type><totalsteps>50</totalsteps><startstep>20</startstep>") +
        object(u"<type>checkbox</type><setcheckbox>true</setcheckbox><alignment>left</alignment>") +
        object(u"<type>listbox</type><rows>0</rows><setcheckbox>true</setcheckbox><selected>1</selected>") +
        object(u"<type>button</type><name>go</name><defaultbutton>true</defaultbutton>") +
        object(u"<type>static</type><alignment>center</alignment><readonly>TRUE</readonly>");
    EXPECT_EQ(show(markup, seen, 8).text, u"go");
    EXPECT_EQ(seen.controlCount, 10);
    EXPECT_EQ(seen.defaultButton, 8);

    const ControlSpec &edit = seen.slots[3];
    EXPECT_TRUE(equals(edit.kind, "editBox"));
    EXPECT_EQ(U(edit.value), u"notes");
    EXPECT_EQ(U(edit.text), u"a\r\nb");
    EXPECT_EQ(edit.followRight, 1);
    EXPECT_EQ(edit.followBottom, 0);
    EXPECT_EQ(edit.disabled, 1);
    EXPECT_EQ(edit.extraStyle, 2u);
    EXPECT_EQ(edit.initialFocus, 1);
    EXPECT_STREQ(edit.font.faceName, "\xe3\x83\xa1\xe3\x82\xa4\xe3\x83\xaa\xe3\x82\xaa");
    EXPECT_STREQ(edit.font.style, "Bold Italic");
    EXPECT_EQ(edit.font.pointSize, 12);

    const ControlSpec &radio = seen.slots[4];
    EXPECT_EQ(radioLineCount(radio), 2);
    EXPECT_EQ(radioColumns(radio), 1); // none given: one button a row
    EXPECT_EQ(radioChecked(radio), 3);
    EXPECT_EQ(sliderMaximum(seen.slots[5]), 50);
    EXPECT_EQ(sliderPosition(seen.slots[5]), 20);
    EXPECT_EQ(checkBoxChecked(seen.slots[6]), 1);
    EXPECT_EQ(seen.slots[6].extraStyle, 0u);

    const ControlSpec &list = seen.slots[7];
    EXPECT_EQ(listHasCheckBoxes(list), 1);
    EXPECT_EQ(listColumnCount(list), 1);
    EXPECT_EQ(listChosenRow(list), -1); // no row starts checked, so none is chosen

    EXPECT_EQ(seen.slots[9].extraStyle, 1u);
    EXPECT_EQ(seen.slots[9].disabled, 0);
}

TEST_F(CustomDialog, ResultIsTheNameOfThePressedButton) {
    struct Case {
        const char *what;
        std::u16string markup;
        int press;
        const char16_t *result;
    } cases[] = {
        {"second button", object(u"<type>button</type><name>a</name>") + object(u"<type>button</type><name>b</name>"),
         4, u"b"},
        {"a button without a name", object(u"<type>button</type>"), 3, u""},
        {"closed without a press", kOkButton, -1, u""},
        {"the attribute's closing tag ends no object",
         object(u"<type>button</type><readonly>true</object><name>still</name>"), 3, u"still"},
    };
    for (const Case &c : cases) {
        Seen seen;
        EXPECT_EQ(show(c.markup, seen, c.press).text, c.result) << c.what;
    }
}

TEST_F(CustomDialog, EarlierCallsLeaveNothingBehind) {
    harness::call(u"Tessary_SetPosition", {u"100", u"50"});
    harness::call(u"Tessary_SetFont", {u"setAllButtons", u"Arial", u"Bold", u"14"});
    harness::call(u"Tessary_SetLabels", {u"Name"});
    harness::call(u"Tessary_SetInputTypes", {u"edit"});
    Seen seen;
    EXPECT_EQ(show(kOkButton, seen).text, u"ok");
    EXPECT_EQ(seen.left, 0);
    EXPECT_EQ(seen.top, 0);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(seen.slots[slot].font.pointSize, 0) << slot;
        if (slot != 3) {
            EXPECT_TRUE(seen.slots[slot].kind.empty()) << slot;
        }
    }
    EXPECT_EQ(harness::call(u"Tessary_GetInput", {u"text1"}).text, u"");
}

TEST_F(CustomDialog, ObjectsBeyondTheTableAreIgnored) {
    std::u16string markup;
    for (int n = 1; n <= 130; ++n) {
        markup += object(u"<type>button</type><name>b" + std::u16string(1, char16_t('0' + n % 10)) + u"</name>");
    }
    Seen seen;
    EXPECT_EQ(show(markup, seen, 119).text, u"b7"); // object 117
    EXPECT_EQ(seen.controlCount, 120);
}

TEST_F(CustomDialog, OverlongValuesAreCutSafely) {
    const std::u16string longName(40, u'x');
    const std::u16string longStyle = u"Italic Bold StrikeOut Underline" + std::u16string(2000, u' ');
    const std::u16string longKind = u"button" + std::u16string(5000, u'n');
    Seen seen;
    const std::u16string markup =
        u"<" + std::u16string(100, u'w') + u">1</" + std::u16string(100, u'w') + u">" +
        object(u"<type>" + longKind + u"</type>") +
        object(u"<type>button</type><fontname>" + longName + u"</fontname><fontstyle>" + longStyle +
               u"</fontstyle><fontsize>99999999999</fontsize><left>" + std::u16string(100, u'9') + u"</left>");
    EXPECT_EQ(show(markup, seen, 4).text, u"");
    EXPECT_EQ(seen.slots[3].kind.length(), 1023u); // no button, however it starts
    const FontSpec &font = seen.slots[4].font;
    EXPECT_EQ(std::string(font.faceName), std::string(31, 'x'));
    EXPECT_STREQ(font.style, "Italic Bold StrikeOut Underline");
    EXPECT_EQ(font.pointSize, kLargestPointSize);
    EXPECT_EQ(seen.slots[4].x, 2147483647);

    // A face of three-byte characters is cut before the character that would
    // not fit whole.
    Seen japanese;
    show(object(u"<type>button</type><fontname>" + std::u16string(20, u'\u65e5') + u"</fontname>"), japanese);
    EXPECT_EQ(std::string(japanese.slots[3].font.faceName).size(), 30u);
}
