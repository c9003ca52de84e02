// Tessary_DoDialog and Tessary_DoTabDialog as filled for the dialog runtime:
// rows staged through the host, the dialog shown to a player who records
// what a user would see and presses a button.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "dialog_player.h"
#include "plugin_harness.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

using harness::Shown;

// The tab control shown first, -1 when none is.
int firstPage(const Shown &shown) {
    int first = -1;
    for (int i : shown.slotsOfKind("tabcontrol")) {
        if (tabShownFirst(shown.slot(i))) first = i;
    }
    return first;
}

class FormDialogs : public harness::FreshPlugin {
protected:
    static void stage(const Args &labels, const Args &kinds, const Args &texts = {}) {
        harness::call(u"Tessary_SetLabels", labels);
        harness::call(u"Tessary_SetInputTypes", kinds);
        if (!texts.empty()) harness::call(u"Tessary_SetDefaultInputs", texts);
    }
};

} // namespace

TEST_F(FormDialogs, FormRowsAndButtonsFollowOneAnother) {
    struct Case {
        const char *what;
        Args kinds;
        Args args;
        std::vector<int> rowY; // inputs 1.. in use
        int buttonsY, height;
    } cases[] = {
        {"message and two inputs", {u"edit", u"edit"}, {u"", u"T", u"Message", u"OK"}, {43, 76}, 109, 169},
        {"no message", {u"edit"}, {u"", u"T", u"", u"OK"}, {10}, 43, 103},
        {"a three-line edit", {u"edit3", u"edit"}, {u"", u"T", u"", u"OK"}, {10, 113}, 146, 206},
        {"a gap in the rows", {u"edit", u"", u"edit"}, {u"", u"T", u"", u"OK"}, {10, -1, 76}, 109, 169},
        {"a lower row of buttons", {u"edit"}, {u"", u"T", u"", u"1", u"2", u"3", u"4", u"5"}, {10}, 43, 133},
        // Without any input nothing is taken back from the rows' room.
        {"no inputs", {u""}, {u"", u"T", u"M", u"OK"}, {}, 340, 400},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        stage(Args(c.kinds.size(), u"Label"), c.kinds);
        Shown seen;
        harness::Result r = harness::showDialog(u"Tessary_DoDialog", c.args, seen, 4);
        EXPECT_EQ(r.text, u"1");
        for (size_t n = 0; n < c.rowY.size(); ++n) {
            if (c.rowY[n] < 0) continue;
            EXPECT_EQ(seen.slot(36 + n).y, c.rowY[n]) << "input " << n + 1;
            EXPECT_EQ(seen.slot(12 + n).y, c.rowY[n] + 3) << "label " << n + 1;
        }
        EXPECT_EQ(seen.slot(4).y, c.buttonsY);
        EXPECT_EQ(seen.height, c.height);
        EXPECT_EQ(seen.minHeight, c.height);
        EXPECT_EQ(seen.width, 383);
    }
}

TEST_F(FormDialogs, FormOptions) {
    stage({u"A", u"B"}, {u"edit", u"edit"});
    struct Case {
        const char16_t *options;
        int defaultButton;
        std::vector<int> focused;
    } cases[] = {
        {u"", 4, {}},
        {u"defaultButton3", 6, {}},
        {u"focus=2", 4, {37}},
        // Numbers that name no input of the dialog focus nothing.
        {u"focus=-5", 4, {}},
        {u"focus=1000000", 4, {}},
        {u"focus=9", 4, {}},
    };
    for (const Case &c : cases) {
        for (int i = 36; i < 44; ++i) dialog().controls[i].initialFocus = 0;
        Shown seen;
        harness::showDialog(u"Tessary_DoDialog", {c.options, u"T", u"", u"OK", u"Cancel", u"Help"}, seen, 4);
        std::string what(c.options, c.options + std::char_traits<char16_t>::length(c.options));
        EXPECT_EQ(seen.defaultButton, c.defaultButton) << what;
        EXPECT_EQ(seen.focused(), c.focused) << what;
    }
}

// Tessary_SetFont reaches the slots of a row's input; the parts the row
// spreads over (boxes, a date beside a time, a range's caption and second
// field) must take the same font, or one row shows two sizes.
TEST_F(FormDialogs, PartsOfARowTakeTheFontOfItsInput) {
    struct Case {
        const char *what;
        const char16_t *fontOptions;
        std::vector<int> arial; // slots shown in Arial 11; the other parts keep the default
    } cases[] = {
        {"every row", u"setAll", {36, 60, 84, 37, 61, 38, 62, 86}},
        {"the boxes' row only", u"setInputType1", {36, 60, 84}},
        {"the range's row only", u"setInputType3", {38, 62, 86}},
    };
    const std::vector<int> parts = {36, 60, 84, 37, 61, 38, 62, 86};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        stage({u"Subscribe|Newsletter|Offers|", u"When", u"Price|to"}, {u"checkbox", u"datetime", u"range"},
              {u"101", u"1:30 PM|12/24/2024", u"10|20"});
        harness::call(u"Tessary_SetFont", {c.fontOptions, u"Arial", u"", u"11"});
        Shown seen;
        harness::showDialog(u"Tessary_DoDialog", {u"", u"Order", u"", u"OK"}, seen, 4);
        std::vector<int> arial, sized;
        for (int slot : parts) {
            const FontSpec &f = seen.slot(slot).font;
            if (std::string(f.faceName) == "Arial" && f.pointSize == 11) arial.push_back(slot);
            if (f.pointSize != 0) sized.push_back(slot);
        }
        EXPECT_EQ(arial, c.arial);
        EXPECT_EQ(sized, c.arial);
    }
}

TEST_F(FormDialogs, TabPagesExistOnlyWithTheirTitles) {
    struct Case {
        const char *what;
        Args args;
        std::vector<int> pages;    // tab control slots made
        std::vector<int> texts;    // page text slots made
        int firstPage;
        int rowTop;                // y of the first row of every page
        int height, buttonsY;
    } cases[] = {
        {"four arguments: one page", {u"", u"T", u"One", u"Text one"}, {110}, {1}, 110, 45, 432, 367},
        {"three pages", {u"", u"T", u"One", u"Text one", u"Two", u"Text two", u"Three", u""}, {110, 111, 112},
         {1, 2}, 110, 45, 432, 367},
        {"noTabText", {u"noTabText", u"T", u"One", u"Text one", u"Two", u"Text two"}, {110, 111}, {}, 110, 10, 396,
         331},
        {"a page text without page 1's", {u"", u"T", u"One", u"", u"Two", u"Text two"}, {110, 111}, {}, 110, 10, 432,
         367},
        {"gotoTab3 with one page", {u"gotoTab3", u"T", u"One", u"Text"}, {110}, {1}, 110, 45, 432, 367},
        {"gotoTab2", {u"gotoTab2", u"T", u"One", u"", u"Two", u""}, {110, 111}, {}, 111, 10, 432, 367},
        {"two rows of buttons",
         {u"", u"T", u"One", u"", u"", u"", u"", u"", u"1", u"2", u"3", u"4", u"5"}, {110}, {}, 110, 10, 432, 336},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        stage(Args(24, u"L"), Args(24, u"edit"));
        Shown seen;
        harness::Result r = harness::showDialog(u"Tessary_DoTabDialog", c.args, seen, 4);
        EXPECT_EQ(r.text, u"1");
        std::vector<int> pages, texts;
        for (int i : {110, 111, 112}) {
            if (equals(seen.slot(i).kind, "tabcontrol")) pages.push_back(i);
        }
        for (int i : {1, 2, 3}) {
            if (equals(seen.slot(i).kind, "static")) texts.push_back(i);
        }
        EXPECT_EQ(pages, c.pages);
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(firstPage(seen), c.firstPage);
        EXPECT_EQ(seen.height, c.height);
        EXPECT_EQ(seen.slot(4).y, c.buttonsY);
        for (size_t p = 0; p < c.pages.size(); ++p) {
            const int firstRow = 36 + 8 * int(p);
            EXPECT_EQ(seen.slot(firstRow).y, c.rowTop) << "page " << p + 1;
            EXPECT_EQ(seen.slot(firstRow).ownerIndex, c.pages[p]) << "page " << p + 1;
        }
        // Rows of pages that do not exist are gone.
        for (int page = int(c.pages.size()); page < 3; ++page) {
            EXPECT_STREQ(seen.slot(36 + 8 * page).kind.data(), "") << page;
        }
    }
}

TEST_F(FormDialogs, TabOptionsFocusAndDefaultButton) {
    stage(Args(24, u"L"), Args(24, u"edit"));
    Shown seen;
    harness::showDialog(u"Tessary_DoTabDialog",
                        {u"focus=9 defaultButton3", u"T", u"One", u"", u"Two", u"", u"", u"", u"A", u"B", u"C"}, seen,
                        4);
    EXPECT_EQ(seen.focused(), std::vector<int>{44});
    EXPECT_EQ(seen.defaultButton, 6);
}

// A markup dialog fills the slots the form dialogs keep for staged rows; its
// objects must not turn up in a later form as rows or buttons, staged over
// or not.
TEST_F(FormDialogs, AMarkupDialogsObjectsAreNoStagedRows) {
    // Object n sits in slot n + 2: buttons in a label slot, an input slot and
    // a slot past the form's own.
    std::u16string markup = u"<object><type>button</type><name>ok</name></object>";
    for (int object = 2; object <= 111; ++object) {
        const bool stale = object == 11 || object == 35 || object == 111;
        markup += stale ? u"<object><type>button</type><name>stale</name></object>"
                        : u"<object><type>static</type><text>s</text></object>";
    }
    for (bool stageFirst : {false, true}) {
        Shown custom;
        ASSERT_EQ(harness::showDialog(u"Tessary_CustomDialog", {markup}, custom, 3).text, u"ok");
        ASSERT_STREQ(custom.slot(13).kind.data(), "button");
        if (stageFirst) stage({u"Name"}, {u"edit"});
        Shown form;
        EXPECT_EQ(harness::showDialog(u"Tessary_DoDialog", {u"", u"T", u"", u"OK"}, form, 37).text, u"") << stageFirst;
        for (int slot = 12; slot < kSlotCount; ++slot) EXPECT_STRNE(form.slot(slot).kind.data(), "button") << slot;
        EXPECT_STREQ(form.slot(36).kind.data(), stageFirst ? "edit" : "") << stageFirst;
    }
}

// Laying out a row splits its text over its parts; a dialog closed without a
// button reads nothing back, so every row reads as it was staged.
TEST_F(FormDialogs, ADialogClosedWithoutAButtonLeavesEveryRowAsStaged) {
    const Args texts = {u"1:30 PM|12/24/2024", u"101", u"2", u"a|b|c", u"30|100", u"x\r\ny"};
    for (const char16_t *function : {u"Tessary_DoDialog", u"Tessary_DoTabDialog"}) {
        SCOPED_TRACE(function[10] == u'T' ? "tab dialog" : "form dialog");
        stage({u"When", u"A|B|C|", u"S|M|L|", u"from|to", u"Volume", u"Notes"},
              {u"datetime", u"checkbox", u"radio", u"rangeR", u"slider", u"editBox"}, texts);
        Shown seen;
        EXPECT_EQ(harness::showDialog(function, {u"", u"T", u"Page", u"", u"", u"", u"", u"", u"OK"}, seen, -1).text,
                  u"");
        for (size_t row = 0; row < texts.size(); ++row) {
            EXPECT_EQ(harness::call(u"Tessary_GetInput", {u"text" + std::u16string(1, char16_t(u'1' + row))}).text,
                      texts[row])
                << "row " << row + 1;
        }
    }
}
