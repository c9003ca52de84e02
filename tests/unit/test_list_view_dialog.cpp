// Tessary_DoListView as filled for the dialog runtime, shown to a player.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "dialog_player.h"
#include "plugin_harness.h"
#include "runtime/dialog_hooks.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

// options ; columnTypes ; columnheaders ; columnwidths ; columnValues ;
// alignment ; title ; text ; listtext ; button1 ; button2 [; button3 ; button4]
Args gridArgs(const std::u16string &options, const std::u16string &kinds, const std::u16string &text = u"") {
    return {options, kinds, u"Name|Fruit", u"60|40", u"x|\rpear|apple|", u"LR", u"Title", text, u"a|b\rc|d", u"OK",
            u"No"};
}

using harness::Shown;

// Shows the grid; the player presses the button in `pressed` (-1: the close
// box) after leaving `entered` as what the grid read back.
Shown show(const Args &args, int pressed = 4, const char16_t *entered = u"", const char16_t *expectedResult = u"1") {
    const auto enter = [&](DialogDefinition &d) {
        if (pressed >= 0) d.controls[36].text = W(entered);
    };
    Shown seen;
    EXPECT_EQ(harness::showDialog(u"Tessary_DoListView", args, seen, pressed, enter).text, expectedResult);
    return seen;
}

std::u16string input(const char16_t *name) {
    return harness::call(u"Tessary_GetInput", {name}).text;
}

class ListViewDialog : public harness::FreshPlugin {};

} // namespace

// The window, the text above, the buttons and their options are the list
// frame's, tested with Tessary_DoList; here is what the grid adds.
TEST_F(ListViewDialog, GridSettingsFromTheArguments) {
    Shown seen = show(gridArgs(u"", u"EC", u"Edit:"), 5, u"", u"2");
    EXPECT_EQ(seen.hooks, "grid");
    EXPECT_EQ(seen.controlCount, 110);
    const ControlSpec &g = seen.slot(36);
    EXPECT_EQ(g.x, 17);
    EXPECT_EQ(g.y, 35) << "under the text";
    EXPECT_EQ(g.width, 383 - 44);
    EXPECT_EQ(g.height, 360 - 115);
    EXPECT_TRUE(equals(g.kind, "listboxview"));
    EXPECT_EQ(U(g.value), u"text1");
    EXPECT_EQ(U(g.text), u"a|b\rc|d") << "kept as given";
    EXPECT_TRUE(equals(gridColumnKinds(g), "EC"));
    EXPECT_EQ(listColumnCount(g), 2);
    EXPECT_EQ(U(listColumnTitles(g)), u"Name|Fruit");
    EXPECT_TRUE(equals(listColumnWidths(g), "60|40"));
    EXPECT_EQ(U(gridChoices(g)), u"x|\rpear|apple|") << "line breaks of the choices stay as given";
    EXPECT_TRUE(equals(listAlignment(g), "LR"));
    EXPECT_EQ(listHasCheckBoxes(g), 0);

    // However long, the list text is kept whole: no row is lost.
    Args huge = gridArgs(u"", u"E");
    huge[8] = std::u16string(1000000, u'|');
    EXPECT_EQ(show(huge).slot(36).text.length(), 1000000u);
}

TEST_F(ListViewDialog, ColumnCountIsTheNumberOfKinds) {
    struct Case {
        const char *what;
        std::u16string kinds;
        size_t columns;
        char firstKind;
    } cases[] = {
        {"three kinds", u"ECe", 3, 'E'},
        {"no kinds: one text column", u"", 1, 'E'},
        {"unknown letters still count", u"xyz!", 4, 'x'},
        // The kinds argument is read into a buffer of 10242 bytes.
        {"a million kinds", std::u16string(1000000, u'C'), 10241, 'C'},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Shown seen = show(gridArgs(u"", c.kinds));
        EXPECT_EQ(listColumnCount(seen.slot(36)), int(c.columns));
        EXPECT_EQ(gridColumnKinds(seen.slot(36)).length(), c.columns);
        EXPECT_EQ(gridColumnKinds(seen.slot(36))[0], c.firstKind);
    }
}

TEST_F(ListViewDialog, TheGridComesBackOnlyThroughAButton) {
    show(gridArgs(u"", u"E"), 4, u"a|b|\rc|d|");
    EXPECT_EQ(input(u"text1"), u"a|b|\rc|d|");
    // Closed by its close box: the slot still holds the list text as given,
    // which is no grid; nothing was entered.
    show(gridArgs(u"", u"E"), -1, u"", u"");
    EXPECT_EQ(input(u"text1"), u"");
}
