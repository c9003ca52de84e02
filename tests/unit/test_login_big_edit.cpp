// Tessary_DoLogin and Tessary_BigEditBox: the dialog each fills from its
// arguments and options. What a user types and gets back is tested end to
// end (tests/e2e/test_login_big_edit.cpp).
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "dialog_player.h"
#include "plugin_harness.h"
#include "runtime/runner.h"

namespace {

using harness::Box;
using harness::boxOf;
using harness::Shown;

std::string narrow(const std::u16string &s) {
    return std::string(s.begin(), s.end());
}

std::vector<std::u16string> loginArgs(const std::u16string &options, const std::u16string &names = u"ann|bob|",
                                      const std::u16string &selected = u"bob") {
    return {options, u"Sign in", u"Welcome\rback", u"User", u"Password", names, selected, u"OK", u"Cancel"};
}

std::vector<std::u16string> editArgs(const std::u16string &options, const std::u16string &label = u"Notes") {
    return {options, u"Edit", label, u"line one\rline two", u"OK", u"Cancel"};
}

class LoginAndBigEdit : public harness::FreshPlugin {};

} // namespace

// ---- Tessary_DoLogin -------------------------------------------------------

TEST_F(LoginAndBigEdit, LoginFillsItsFixedForm) {
    Shown seen;
    harness::showDialog(u"Tessary_DoLogin", loginArgs(u""), seen);
    EXPECT_EQ(seen.width, 354);
    EXPECT_EQ(seen.height, 187);
    EXPECT_EQ(seen.minWidth, 354);
    EXPECT_EQ(seen.minHeight, 187);
    EXPECT_EQ(seen.templateId, 501);
    EXPECT_FALSE(seen.resizable);
    EXPECT_FALSE(seen.timer);
    EXPECT_FALSE(seen.noCaption);
    EXPECT_EQ(seen.controlCount, 38);
    EXPECT_EQ(seen.title, u"Sign in");

    struct Row {
        int slot;
        const char *kind;
        const char16_t *value, *text;
        Box box;
        double growWidth, growHeight;
        bool follows; // right and bottom edge
    } rows[] = {
        {1, "static", u"", u"Welcome\rback", {17, 10, 310, 35}, 1.0, 0.0, false},
        {12, "static", u"", u"User", {17, 55, 95, 12}, 0.0, 0.0, false},
        {13, "static", u"", u"Password", {17, 88, 95, 12}, 0.0, 0.0, false},
        {36, "combobox", u"text1", u"ann|bob|=bob", {120, 52, 215, 23}, 1.0, 0.0, false},
        {37, "password", u"text2", u"", {120, 85, 215, 23}, 1.0, 0.0, false},
        {4, "button", u"1", u"OK", {261, 122, 75, 23}, 0.0, 0.0, true},
        {5, "button", u"2", u"Cancel", {179, 122, 75, 23}, 0.0, 0.0, true},
    };
    for (const Row &r : rows) {
        const ControlSpec &s = seen.slot(r.slot);
        SCOPED_TRACE("slot " + std::to_string(r.slot));
        EXPECT_STREQ(s.kind.data(), r.kind);
        EXPECT_EQ(U(s.value), r.value);
        EXPECT_EQ(U(s.text), r.text);
        EXPECT_EQ(boxOf(s), r.box);
        EXPECT_EQ(s.growWidth, r.growWidth);
        EXPECT_EQ(s.growHeight, r.growHeight);
        EXPECT_EQ(s.followRight, r.follows ? 1 : 0);
        EXPECT_EQ(s.followBottom, r.follows ? 1 : 0);
    }
    int used = 0;
    for (const ControlSpec &s : seen.slots) used += s.kind.empty() ? 0 : 1;
    EXPECT_EQ(used, 7) << "no control beyond the form";
    // The password field, and only it, takes the focus.
    for (int i = 0; i < kSlotCount; ++i) EXPECT_EQ(seen.slot(i).initialFocus, i == 37 ? 1 : 0) << "slot " << i;
}

TEST_F(LoginAndBigEdit, LoginOptionsAndTheUserField) {
    struct Case {
        const char16_t *options, *names, *selected;
        const char *userKind;
        const char16_t *userText;
        int defaultButton;
        int focus; // the field that has the focus at opening: the user name's when it opens empty
    } cases[] = {
        {u"", u"ann|bob|", u"bob", "combobox", u"ann|bob|=bob", 4, 37},
        {u"", u"ann|bob|", u"", "combobox", u"ann|bob|", 4, 36}, // nothing preselected
        {u"", u"", u"", "combobox", u"", 4, 36},
        {u"editBox", u"ann|bob|", u"bob", "edit", u"ann|bob|", 4, 37}, // shown as it is, "|" included
        {u"editBox", u"", u"bob", "edit", u"", 4, 36},
        {u"defaultButton2", u"ann|", u"", "combobox", u"ann|", 5, 36},
        {u"defaultButton2 defaultButton1", u"ann|", u"", "combobox", u"ann|", 4, 36},
        {u"defaultButton1 defaultButton2", u"ann|", u"", "combobox", u"ann|", 4, 36},
        {u"defaultButton3", u"ann|", u"", "combobox", u"ann|", 4, 36}, // there is no button 3
        {u"editbox", u"ann|", u"ann", "combobox", u"ann|=ann", 4, 37},  // keywords are case-sensitive
        // The drop-down chooses the first name that begins with the selected
        // one, case aside; one that none begins with chooses nothing.
        {u"", u"ann|Bobby|", u"bOB", "combobox", u"ann|Bobby|=bOB", 4, 37},
        {u"", u"ann|bob|", u"bobby", "combobox", u"ann|bob|=bobby", 4, 36},
        {u"", u"ann|bob|", u"cy", "combobox", u"ann|bob|=cy", 4, 36},
        {u"", u"ann|=bob|", u"bob", "combobox", u"ann|=bob|=bob", 4, 36}, // "=" ends the list before "bob"
    };
    for (const Case &c : cases) {
        Shown seen;
        harness::showDialog(u"Tessary_DoLogin", loginArgs(c.options, c.names, c.selected), seen);
        SCOPED_TRACE(narrow(c.options) + " / " + narrow(c.names) + " / " + narrow(c.selected));
        EXPECT_STREQ(seen.slot(36).kind.data(), c.userKind);
        EXPECT_EQ(U(seen.slot(36).text), c.userText);
        EXPECT_EQ(seen.defaultButton, c.defaultButton);
        EXPECT_EQ(seen.focused(), std::vector<int>({c.focus}));
    }

    Shown placed;
    harness::showDialog(u"Tessary_DoLogin", loginArgs(u"left=120 top=90 width=900"), placed);
    EXPECT_EQ(placed.left, 120);
    EXPECT_EQ(placed.top, 90);
    EXPECT_EQ(placed.width, 900) << "the login takes the width asked for";
    EXPECT_EQ(placed.slot(37).width, 900 - 139) << "its fields take the room";
    EXPECT_EQ(placed.slot(4).x, 900 - 93) << "its buttons keep the corner";
}

TEST_F(LoginAndBigEdit, LoginMakesBothButtonsAlsoWithoutCaptions) {
    std::vector<std::u16string> args = loginArgs(u"");
    args[7] = u"";
    args[8] = u"";
    Shown seen;
    harness::Result r = harness::showDialog(u"Tessary_DoLogin", args, seen, 5);
    EXPECT_EQ(seen.slotsOfKind("button"), std::vector<int>({4, 5}));
    EXPECT_EQ(r.text, u"2");
}

// ---- Tessary_BigEditBox ----------------------------------------------------

TEST_F(LoginAndBigEdit, BigEditBoxWithAndWithoutACaption) {
    Shown captioned;
    harness::showDialog(u"Tessary_BigEditBox", editArgs(u""), captioned);
    EXPECT_EQ(captioned.width, 495);
    EXPECT_EQ(captioned.height, 596);
    EXPECT_EQ(captioned.minWidth, 383);
    EXPECT_EQ(captioned.minHeight, 100);
    EXPECT_EQ(captioned.templateId, 501);
    EXPECT_TRUE(captioned.resizable);
    EXPECT_FALSE(captioned.timer);
    EXPECT_EQ(captioned.controlCount, 37);
    EXPECT_EQ(captioned.defaultButton, 4);
    const ControlSpec &label = captioned.slot(1);
    EXPECT_STREQ(label.kind.data(), "static");
    EXPECT_EQ(U(label.text), u"Notes");
    EXPECT_EQ(boxOf(label), (Box{17, 10, 451, 11}));
    EXPECT_EQ(label.growWidth, 1.0);
    EXPECT_EQ(label.growHeight, 0.0);
    const ControlSpec &edit = captioned.slot(36);
    EXPECT_STREQ(edit.kind.data(), "editBox");
    EXPECT_EQ(U(edit.value), u"text1");
    EXPECT_EQ(U(edit.text), u"line one\rline two");
    EXPECT_EQ(boxOf(edit), (Box{17, 35, 451, 481}));
    EXPECT_EQ(edit.growWidth, 1.0);
    EXPECT_EQ(edit.growHeight, 1.0);
    EXPECT_EQ(edit.initialFocus, 1);

    Shown bare;
    harness::showDialog(u"Tessary_BigEditBox", editArgs(u"", u""), bare);
    EXPECT_TRUE(bare.slot(1).kind.empty()) << "no caption control";
    EXPECT_EQ(boxOf(bare.slot(36)), (Box{17, 10, 451, 506})) << "25 pixels taller, at the top";
}

TEST_F(LoginAndBigEdit, BigEditBoxSizes) {
    struct Case {
        const char16_t *options;
        int width, height;
    } cases[] = {
        {u"small", 250, 290},
        {u"medium", 350, 400},
        {u"large", 500, 600},
        {u"small large", 500, 600}, // the later keyword of the table wins
        {u"large small", 500, 600},
        {u"small medium", 350, 400},
        {u"width=100", 277, 596},
        {u"width=276", 277, 596},
        {u"width=277", 277, 596},
        {u"width=abc", 277, 596},
        {u"height=100", 495, 160},
        {u"height=158", 495, 160},
        {u"height=159", 495, 159},
        {u"height=", 495, 160},
        {u"large width=700 height=300", 700, 300},
    };
    for (const Case &c : cases) {
        Shown seen;
        harness::showDialog(u"Tessary_BigEditBox", editArgs(c.options), seen);
        SCOPED_TRACE(narrow(c.options));
        EXPECT_EQ(seen.width, c.width);
        EXPECT_EQ(seen.height, c.height);
        EXPECT_EQ(boxOf(seen.slot(36)), (Box{17, 35, c.width - 44, c.height - 115}));
        EXPECT_EQ(boxOf(seen.slot(4)), (Box{c.width - 93, c.height - 65, 75, 23}));
    }
}

TEST_F(LoginAndBigEdit, BigEditBoxButtonsAndTheDefaultButton) {
    struct Case {
        const char16_t *options;
        std::vector<std::u16string> buttons; // button1 .. button4 arguments present
        std::vector<int> slots;              // slots holding a button
        std::vector<int> places;             // their places from the right, from 0
        std::vector<std::u16string> values;
        int defaultButton;
    } cases[] = {
        {u"", {u"OK", u"Cancel"}, {4, 5}, {0, 1}, {u"1", u"2"}, 4},
        {u"", {u"A", u"B", u"C", u"D"}, {4, 5, 6, 7}, {0, 1, 2, 3}, {u"1", u"2", u"3", u"4"}, 4},
        {u"", {u"A", u"", u"C"}, {4, 5}, {0, 2}, {u"1", u"3"}, 4},
        {u"", {u"", u""}, {4}, {0}, {u"1"}, 4}, // button 1 is always made
        {u"defaultButton2", {u"A", u"B", u"C", u"D"}, {4, 5, 6, 7}, {0, 1, 2, 3}, {u"1", u"2", u"3", u"4"}, 5},
        {u"defaultButton3", {u"A", u"B", u"C", u"D"}, {4, 5, 6, 7}, {0, 1, 2, 3}, {u"1", u"2", u"3", u"4"}, 6},
        {u"defaultButton4", {u"A", u"B", u"C", u"D"}, {4, 5, 6, 7}, {0, 1, 2, 3}, {u"1", u"2", u"3", u"4"}, 7},
        {u"defaultButton4 defaultButton1", {u"A", u"B", u"C", u"D"}, {4, 5, 6, 7}, {0, 1, 2, 3},
         {u"1", u"2", u"3", u"4"}, 4},
        // Button 3 moved up into slot 5; Enter still presses button 3, not
        // button 4 in slot 6.
        {u"defaultButton3", {u"A", u"", u"C", u"D"}, {4, 5, 6}, {0, 2, 3}, {u"1", u"3", u"4"}, 5},
        // No button 2 was made: Enter keeps button 1.
        {u"defaultButton2", {u"A", u"", u"C"}, {4, 5}, {0, 2}, {u"1", u"3"}, 4},
        {u"defaultButton4", {u"A", u"B"}, {4, 5}, {0, 1}, {u"1", u"2"}, 4},
    };
    for (const Case &c : cases) {
        std::vector<std::u16string> args = {c.options, u"Edit", u"", u"text"};
        args.insert(args.end(), c.buttons.begin(), c.buttons.end());
        Shown seen;
        harness::showDialog(u"Tessary_BigEditBox", args, seen);
        SCOPED_TRACE(narrow(c.options) + ", " + std::to_string(c.buttons.size()) + " button arguments");
        ASSERT_EQ(seen.slotsOfKind("button"), c.slots);
        for (size_t b = 0; b < c.slots.size(); ++b) {
            const ControlSpec &s = seen.slot(c.slots[b]);
            EXPECT_EQ(boxOf(s), (Box{495 - 93 - 82 * c.places[b], 596 - 65, 75, 23})) << "slot " << c.slots[b];
            EXPECT_EQ(U(s.value), c.values[b]) << "slot " << c.slots[b];
            EXPECT_EQ(s.followRight, 1);
            EXPECT_EQ(s.followBottom, 1);
        }
        EXPECT_EQ(seen.defaultButton, c.defaultButton);
    }
}
