// Tessary_DoListView as filled for the dialog runtime, shown to a player.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "plugin_harness.h"
#include "runtime/dialog_hooks.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

// options ; columnTypes ; columnheaders ; columnwidths ; columnValues ;
// alignment ; title ; text ; listtext ; button1 ; button2 [; button3 ; button4]
Args gridArgs(const std::u16string &options, const std::u16string &kinds, const std::u16string &text = u"",
              const Args &moreButtons = {}) {
    Args args = {options, kinds, u"Name|Fruit", u"60|40", u"x|\rpear|apple|", u"LR", u"Title", text,
                 u"a|b\rc|d", u"OK", u"No"};
    args.insert(args.end(), moreButtons.begin(), moreButtons.end());
    return args;
}

struct Seen {
    int width = 0, height = 0, defaultButton = 0, controlCount = 0;
    std::string hooks;
    ControlSpec grid, text;
    std::vector<ControlSpec> buttons;
};

// Shows the grid; the player presses the button in `pressed` (-1: the close
// box) after leaving `entered` as what the grid read back.
Seen show(const Args &args, int pressed = 4, const char16_t *entered = u"", const char16_t *expectedResult = u"1") {
    Seen seen;
    setDialogPlayer([&](DialogDefinition &d) {
        seen.width = d.width;
        seen.height = d.height;
        seen.defaultButton = d.defaultButton;
        seen.controlCount = d.controlCount;
        seen.hooks = dialogHooks().name;
        seen.grid = d.controls[36];
        seen.text = d.controls[1];
        for (int i = 4; i < 8; ++i) seen.buttons.push_back(d.controls[i]);
        d.resultIndex = pressed;
        if (pressed >= 0) setTextWithoutLineFeeds(d.controls[36], W(entered).data());
    });
    EXPECT_EQ(harness::call(u"Tessary_DoListView", args).text, expectedResult);
    setDialogPlayer(nullptr);
    return seen;
}

std::u16string input(const char16_t *name) {
    return harness::call(u"Tessary_GetInput", {name}).text;
}

class ListViewDialog : public harness::FreshPlugin {};

} // namespace

TEST_F(ListViewDialog, GridSettingsFromTheArguments) {
    Seen seen = show(gridArgs(u"", u"EC"));
    EXPECT_EQ(seen.hooks, "grid");
    EXPECT_EQ(seen.controlCount, 110);
    const ControlSpec &g = seen.grid;
    EXPECT_TRUE(equals(g.kind, "listboxview"));
    EXPECT_EQ(U(g.value), u"text1");
    EXPECT_EQ(U(g.text), u"a|b\r\nc|d") << "shown with Windows line breaks";
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
    EXPECT_EQ(show(huge).grid.text.length(), 1000000u);
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
        Seen seen = show(gridArgs(u"", c.kinds));
        EXPECT_EQ(listColumnCount(seen.grid), int(c.columns));
        EXPECT_EQ(gridColumnKinds(seen.grid).length(), c.columns);
        EXPECT_EQ(gridColumnKinds(seen.grid)[0], c.firstKind);
    }
}

TEST_F(ListViewDialog, WindowAndGridGeometry) {
    struct Case {
        const char *what;
        Args args;
        int width, height, gridY, gridHeight;
    } cases[] = {
        {"plain", gridArgs(u"", u"E"), 383, 360, 10, 270},
        {"a text above", gridArgs(u"", u"E", u"Edit:"), 383, 360, 35, 245},
        {"medium, raised to the minimum width", gridArgs(u"medium", u"E"), 363, 400, 10, 310},
        {"small with a width", gridArgs(u"small width=520", u"E"), 520, 290, 10, 200},
        {"never below the minimum", gridArgs(u"width=10 height=10", u"E"), 363, 170, 10, 80},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Seen seen = show(c.args);
        EXPECT_EQ(seen.width, c.width);
        EXPECT_EQ(seen.height, c.height);
        EXPECT_EQ(seen.grid.x, 17);
        EXPECT_EQ(seen.grid.y, c.gridY);
        EXPECT_EQ(seen.grid.width, c.width - 44);
        EXPECT_EQ(seen.grid.height, c.gridHeight);
        EXPECT_EQ(seen.grid.growWidth, 1.0);
        EXPECT_EQ(seen.grid.growHeight, 1.0);
        EXPECT_EQ(seen.buttons[0].x, c.width - 93);
        EXPECT_EQ(seen.buttons[0].y, c.height - 65);
        EXPECT_EQ(seen.text.kind.empty(), c.gridY == 10);
    }
}

TEST_F(ListViewDialog, ButtonsAndTheirOptions) {
    Seen plain = show(gridArgs(u"", u"E"), 5, u"", u"2");
    EXPECT_EQ(plain.defaultButton, 1) << "Enter presses nothing";
    EXPECT_EQ(U(plain.buttons[1].text), u"No");
    EXPECT_EQ(plain.buttons[0].requiresSelection, 0);

    Seen marked = show(gridArgs(u"b1ns b4ns defaultButton3 defaultButton2", u"E", u"", {u"", u"Later"}));
    EXPECT_EQ(marked.defaultButton, 5) << "the lowest number wins";
    EXPECT_EQ(marked.buttons[0].requiresSelection, 1);
    EXPECT_EQ(marked.buttons[1].requiresSelection, 0);
    EXPECT_EQ(marked.buttons[3].requiresSelection, 1);
    // An empty third button leaves its slot and its place free.
    EXPECT_TRUE(marked.buttons[2].kind.empty());
    EXPECT_EQ(marked.buttons[3].x, 383 - 93 - 3 * 82);
    EXPECT_EQ(U(marked.buttons[3].value), u"4");
}

TEST_F(ListViewDialog, TheGridComesBackOnlyThroughAButton) {
    show(gridArgs(u"", u"E"), 4, u"a|b|\rc|d|");
    EXPECT_EQ(input(u"text1"), u"a|b|\rc|d|");
    // Closed by its close box: the slot still holds the list text as given,
    // which is no grid; nothing was entered.
    show(gridArgs(u"", u"E"), -1, u"", u"");
    EXPECT_EQ(input(u"text1"), u"");
}
