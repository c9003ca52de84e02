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

// Calls Tessary_Dialog; the player presses the button in `press` (a slot;
// -1 presses none, as when the timer closes the dialog).
harness::Result show(const std::vector<std::u16string> &args, Shown &seen, int press = -1) {
    return harness::showDialog(u"Tessary_Dialog", args, seen, press);
}

// The buttons the dialog shows, in slot order.
std::vector<ControlSpec> buttonsOf(const Shown &seen) {
    std::vector<ControlSpec> buttons;
    for (int slot : seen.slotsOfKind("button")) buttons.push_back(seen.slot(slot));
    return buttons;
}

class MessageDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(harness::startPlugin(), kStartupOk); }
    void TearDown() override { FMW_Registry_Clear(); }
};

} // namespace

TEST_F(MessageDialogTest, OneButtonDialogHasTheStandardGeometry) {
    Shown seen;
    harness::Result r = show({u"", u"T", u"M\rline two", u"OK"}, seen, 4);
    EXPECT_EQ(r.text, u"1");
    EXPECT_EQ(seen.width, 383);
    EXPECT_EQ(seen.height, 173);
    EXPECT_EQ(seen.title, u"T");
    EXPECT_EQ(U(seen.slot(kMessageSlot).text), u"M\rline two");
    EXPECT_EQ(boxOf(seen.slot(kMessageSlot)), (Box{17, 10, 339, 93}));
    ASSERT_EQ(seen.slotsOfKind("button"), std::vector<int>({4}));
    EXPECT_EQ(boxOf(seen.slot(4)), (Box{290, 108, 75, 23}));
    EXPECT_EQ(seen.defaultButton, 4);
    EXPECT_EQ(seen.controlCount, 5);
    EXPECT_TRUE(seen.resizable);
    EXPECT_FALSE(seen.timer);
}

TEST_F(MessageDialogTest, AnEmptyButtonLeavesItsPlaceFree) {
    Shown seen;
    harness::Result r = show({u"", u"T", u"M", u"A", u"", u"C"}, seen, 5);
    ASSERT_EQ(seen.slotsOfKind("button"), std::vector<int>({4, 5}));
    EXPECT_EQ(seen.slot(5).x, 383 - 257);
    EXPECT_EQ(U(seen.slot(5).value), u"3");
    EXPECT_EQ(r.text, u"3");
    EXPECT_EQ(seen.controlCount, 6);
}

TEST_F(MessageDialogTest, EightArgumentsOrMoreMakeTwoRows) {
    Shown seen;
    show({u"", u"T", u"M", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"}, seen);
    EXPECT_EQ(seen.height, 203);
    EXPECT_EQ(seen.minHeight, 203);
    const std::vector<ControlSpec> buttons = buttonsOf(seen);
    ASSERT_EQ(buttons.size(), 8u);
    for (size_t b = 0; b < 8; ++b) {
        int place = int(b % 4);
        EXPECT_EQ(buttons[b].x, 383 - 93 - 82 * place) << "button " << b + 1;
        EXPECT_EQ(buttons[b].y, b < 4 ? 203 - 96 : 203 - 65) << "button " << b + 1;
        EXPECT_EQ(U(buttons[b].value), std::u16string(1, char16_t(u'1' + b)));
    }
    EXPECT_EQ(seen.slot(kMessageSlot).height, 203 - 31 - 80);

    Shown five;
    show({u"", u"T", u"M", u"1", u"", u"", u"", u"5"}, five);
    ASSERT_EQ(five.slotsOfKind("button"), std::vector<int>({4, 5}));
    EXPECT_EQ(five.slot(4).y, 203 - 96);
    EXPECT_EQ(five.slot(5).x, 383 - 93);
    EXPECT_EQ(five.slot(5).y, 203 - 65);
    EXPECT_EQ(U(five.slot(5).value), u"5");
}

TEST_F(MessageDialogTest, SizeOptionsAndTheirMinimums) {
    struct Case {
        const char16_t *options;
        size_t arguments;
        int width, height;
    } cases[] = {
        {u"small", 4, 383, 280},        {u"medium", 4, 450, 300},      {u"large", 4, 600, 400},
        {u"small large", 4, 383, 280},  {u"width=200", 4, 383, 173},   {u"height=100", 4, 383, 173},
        {u"height=100", 8, 383, 203},   {u"width=500 height=260", 4, 500, 260},
        {u"large width=700", 4, 700, 400}, {u"WIDTH=900", 4, 383, 173},
    };
    for (const Case &c : cases) {
        std::vector<std::u16string> args = {c.options, u"T", u"M", u"OK"};
        while (args.size() < c.arguments) args.push_back(u"");
        Shown seen;
        show(args, seen);
        EXPECT_EQ(seen.width, c.width) << std::string(c.options, c.options + std::char_traits<char16_t>::length(c.options));
        EXPECT_EQ(seen.height, c.height) << std::string(c.options, c.options + std::char_traits<char16_t>::length(c.options));
        EXPECT_EQ(buttonsOf(seen).at(0).x, c.width - 93);
    }
}

TEST_F(MessageDialogTest, TimerAndDefaultButtonOptions) {
    struct Case {
        const char16_t *options;
        bool timer;
        uint32_t interval;
        bool noCaption;
        size_t buttons;
        int defaultButton;
        bool resizable;
    } cases[] = {
        {u"timer=3 noButtons", true, 3000, true, 0, 4, true},
        {u"timer=2", true, 2000, false, 2, 4, true},
        {u"timer=0 noButtons", true, 0, false, 2, 4, true},
        {u"timer=-5", true, 0, false, 2, 4, true},
        // Seconds past what 32 bits of milliseconds hold keep the longest
        // period instead of wrapping round to 704 ms.
        {u"timer=4294968", true, 0x7FFFFFFF, false, 2, 4, true},
        {u"timer=999999999", true, 0x7FFFFFFF, false, 2, 4, true},
        {u"noButtons", false, 0, false, 2, 4, true},
        {u"defaultButton3", false, 0, false, 2, 6, true},
        {u"defaultButton2 defaultButton1", false, 0, false, 2, 4, true},
        {u"noresize defaultButton8", false, 0, false, 2, 11, false},
    };
    for (const Case &c : cases) {
        Shown seen;
        show({c.options, u"T", u"M", u"OK", u"Cancel"}, seen);
        std::string name(c.options, c.options + std::char_traits<char16_t>::length(c.options));
        EXPECT_EQ(seen.timer, c.timer) << name;
        EXPECT_EQ(seen.timerInterval, c.interval) << name;
        EXPECT_EQ(seen.noCaption, c.noCaption) << name;
        EXPECT_EQ(seen.slotsOfKind("button").size(), c.buttons) << name;
        EXPECT_EQ(seen.defaultButton, c.defaultButton) << name;
        EXPECT_EQ(seen.resizable, c.resizable) << name;
    }
}

TEST_F(MessageDialogTest, ADialogClosedWithoutAPressReturnsNothing) {
    Shown first;
    EXPECT_EQ(show({u"", u"T", u"M", u"A", u"B"}, first, 5).text, u"2");
    // The runner forgets the earlier press before each dialog; a dialog that
    // its timer closes leaves it so.
    Shown timedOut;
    harness::Result r = show({u"timer=1", u"T", u"M", u"A", u"B"}, timedOut, -1);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.text, u"");
}

TEST_F(MessageDialogTest, FontsFromSetFontSurviveButSlotTextsDoNot) {
    setFont(dialog().controls[4].font, "Courier New", "Bold", 12);
    dialog().controls[40].text = WideText(TEXT16("stale entry"));
    Shown seen;
    show({u"", u"T", u"M", u"OK"}, seen, 4);
    EXPECT_STREQ(dialog().controls[4].font.faceName, "Courier New");
    EXPECT_TRUE(dialog().controls[40].text.empty());
    clearFont(dialog().controls[4].font);
}

TEST_F(MessageDialogTest, TheButtonForEscAndTheKindOfMessage) {
    struct Case {
        const char16_t *options;
        std::vector<std::u16string> buttons;
        int cancelButton; // slot; 0: Esc presses none
        MessageIcon icon;
        Box message;
        std::u16string warnings;
    } cases[] = {
        {u"", {u"OK", u"Cancel"}, 0, MessageIcon::kNone, {17, 10, 339, 93}, u""},
        {u"cancel=2", {u"OK", u"Cancel"}, 5, MessageIcon::kNone, {17, 10, 339, 93}, u""},
        // Button 3 takes the place and slot of a button 2 left empty.
        {u"cancel=3", {u"A", u"", u"C"}, 5, MessageIcon::kNone, {17, 10, 339, 93}, u""},
        {u"cancel=2", {u"A", u"", u"C"}, 0, MessageIcon::kNone, {17, 10, 339, 93},
         u"Tessary_Dialog: option \"cancel=2\" names no button of the dialog, so Esc presses none"},
        {u"cancel=0", {u"OK"}, 0, MessageIcon::kNone, {17, 10, 339, 93},
         u"Tessary_Dialog: option \"cancel=0\" names no button of the dialog, so Esc presses none"},
        {u"timer=3 noButtons cancel=1", {u"OK"}, 0, MessageIcon::kNone, {17, 10, 339, 93},
         u"Tessary_Dialog: option \"cancel=1\" names no button of the dialog, so Esc presses none\r"
         u"Tessary_Dialog: argument 4 is not read: \"OK\""},
        // The icon stands where the message began; the message moves right
        // by the icon and a gap, and keeps its height, which is more.
        {u"warning", {u"OK"}, 0, MessageIcon::kWarning, {59, 10, 297, 93}, u""},
        {u"info cancel=1", {u"OK"}, 4, MessageIcon::kInformation, {59, 10, 297, 93}, u""},
        {u"information", {u"OK"}, 0, MessageIcon::kInformation, {59, 10, 297, 93}, u""},
        {u"question", {u"Yes", u"No"}, 0, MessageIcon::kQuestion, {59, 10, 297, 93}, u""},
        {u"info question warning error", {u"OK"}, 0, MessageIcon::kError, {59, 10, 297, 93}, u""},
        {u"Warning", {u"OK"}, 0, MessageIcon::kNone, {17, 10, 339, 93},
         u"Tessary_Dialog: option \"Warning\" is none of its keywords; keywords are case-sensitive: \"warning\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.options, c.options + std::char_traits<char16_t>::length(c.options)));
        std::vector<std::u16string> args = {c.options, u"T", u"M"};
        args.insert(args.end(), c.buttons.begin(), c.buttons.end());
        Shown seen;
        show(args, seen);
        EXPECT_EQ(seen.cancelButton, c.cancelButton);
        EXPECT_EQ(int(seen.messageIcon), int(c.icon));
        EXPECT_EQ(boxOf(seen.slot(kMessageSlot)), c.message);
        EXPECT_EQ(harness::call(u"Tessary_LastWarnings", {}).text, c.warnings);
    }
}

// The dialogs that show a message above their fields or lists take the same
// icon: a message lower than the icon grows to its height, and what stood
// under the message moves down by as much. Every dialog with buttons takes
// "cancel=N". Neither keyword is an unknown word to any of them.
TEST_F(MessageDialogTest, TheOtherDialogsTakeTheSameKeywords) {
    struct Case {
        const char16_t *function;
        std::vector<std::u16string> args; // options first, filled in below
        bool takesIcon;
        Box message;   // with the icon
        int below;     // slot of what stands under the message; 0: none
        int belowY;    // its y with the icon: lower by what the message gained
    } cases[] = {
        {u"Tessary_DoList", {u"", u"1", u"", u"", u"", u"T", u"Text", u"Apple|Pear|", u"", u"OK", u"Cancel"},
         true, {59, 10, 297, 32}, 36, 35 + 21},
        {u"Tessary_DoListView", {u"", u"edit", u"Name", u"100", u"", u"", u"T", u"Text", u"Apple|Pear|", u"OK",
                                 u"Cancel"},
         true, {59, 10, 297, 32}, 36, 35 + 21},
        {u"Tessary_DoDualListDialog", {u"", u"T", u"Text", u"From", u"Apple|Pear|", u"To", u"", u"OK", u"Cancel"},
         true, {59, 10, 297, 32}, 12, 40 + 10},
        {u"Tessary_DoDialog", {u"", u"T", u"Text", u"OK", u"Cancel"}, true, {59, 10, 297, 32}, 0, 0},
        {u"Tessary_DoLogin", {u"", u"T", u"Text", u"User", u"Password", u"ann|", u"ann", u"OK", u"Cancel"},
         false, {17, 10, 310, 35}, 0, 0},
        {u"Tessary_BigEditBox", {u"", u"T", u"Label", u"text", u"OK", u"Cancel"}, false, {}, 0, 0},
        {u"Tessary_DoTabDialog", {u"", u"T", u"Page", u"Text", u"", u"", u"", u"", u"OK", u"Cancel"}, false, {}, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.function, c.function + std::char_traits<char16_t>::length(c.function)));
        std::vector<std::u16string> args = c.args;
        args[0] = c.takesIcon ? u"cancel=2 error" : u"cancel=2";
        Shown seen;
        harness::showDialog(c.function, args, seen);
        EXPECT_EQ(harness::call(u"Tessary_LastWarnings", {}).text, u"");
        EXPECT_EQ(seen.cancelButton, kFirstButtonSlot + 1);
        EXPECT_EQ(U(seen.slot(seen.cancelButton).value), u"2");
        if (!c.takesIcon) continue;
        EXPECT_EQ(int(seen.messageIcon), int(MessageIcon::kError));
        EXPECT_EQ(boxOf(seen.slot(kMessageSlot)), c.message);
        if (c.below != 0) {
            EXPECT_EQ(seen.slot(c.below).y, c.belowY);
        }
    }
}
