// Tessary_DoList as filled for the dialog runtime, shown to a player.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "dialog_player.h"
#include "plugin_harness.h"
#include "runtime/readback_rules.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

// The eleven arguments every call has, then the optional ones.
Args listArgs(const std::u16string &options, const std::u16string &columns, const Args &more = {}) {
    Args args = {options, columns, u"A|B|C", u"", u"", u"Title", u"", u"a|b|c|d|e|f", u"", u"OK", u"Cancel"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

using harness::Shown;

Shown show(const Args &args) {
    Shown seen;
    EXPECT_EQ(harness::showDialog(u"Tessary_DoList", args, seen, 4).text, u"1");
    return seen;
}

class ListDialog : public harness::FreshPlugin {};

} // namespace

TEST_F(ListDialog, ListSettingsFromOptionsAndArguments) {
    struct Case {
        const char *what;
        Args args;
        int columns, returnColumn;
        bool multiple;
        const char16_t *hidden;
    } cases[] = {
        {"plain", listArgs(u"", u"3"), 3, 0, false, u""},
        {"multi", listArgs(u"multi", u"3"), 3, 0, true, u""},
        {"a return column", listArgs(u"returnColumnNumber=2", u"3"), 3, 2, false, u""},
        {"a return column past the columns", listArgs(u"returnColumnNumber=5", u"3"), 3, 1, false, u""},
        {"a return column without a value", listArgs(u"returnColumnNumber", u"3"), 3, -1, false, u""},
        {"too many columns", listArgs(u"", u"12"), 10, 0, false, u""},
        {"no number", listArgs(u"", u"x"), 0, 0, false, u""},
        {"a negative count", listArgs(u"", u"-4"), 0, 0, false, u""},
        {"a hidden column", listArgs(u"", u"1", {u"", u"", u"k1|k2|"}), 1, 0, false, u"k1|k2|"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Shown seen = show(c.args);
        const ControlSpec &list = seen.slot(36);
        EXPECT_TRUE(equals(list.kind, "listbox"));
        EXPECT_EQ(U(list.value), u"text1");
        EXPECT_EQ(listColumnCount(list), c.columns);
        EXPECT_EQ(listReturnColumn(list), c.returnColumn);
        EXPECT_EQ(listMultiple(list) != 0, c.multiple);
        EXPECT_EQ(listChosenRow(list), -1);
        EXPECT_EQ(U(listHiddenKeys(list)), c.hidden);
        EXPECT_EQ(U(listColumnTitles(list)), u"A|B|C");
    }
}

TEST_F(ListDialog, GeometryOfTextListInputRowAndButtons) {
    struct Case {
        const char *what;
        Args args;
        int width, height;
        int listY, listHeight;
        const char *inputKind; // "" for no input row
        bool inputDisabled;
    } cases[] = {
        {"eleven arguments", listArgs(u"", u"1"), 383, 360, 10, 270, "", false},
        {"small with a width", listArgs(u"small width=500", u"1"), 500, 290, 10, 200, "", false},
        {"large", listArgs(u"large", u"1"), 500, 600, 10, 510, "", false},
        // Never laid out smaller than the window can be.
        {"too small", listArgs(u"width=100 height=100", u"1"), 363, 170, 10, 80, "", false},
        {"an input row", listArgs(u"", u"1", {u"", u"", u"", u"edit", u"Note", u"hi"}), 383, 360, 10, 247, "edit", false},
        {"a read-only input row", listArgs(u"", u"1", {u"", u"", u"", u"editRO"}), 383, 360, 10, 247, "edit", true},
        {"a kind that is only the suffix", listArgs(u"", u"1", {u"", u"", u"", u"RO"}), 383, 360, 10, 247, "RO", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Shown seen = show(c.args);
        const ControlSpec &list = seen.slot(36), &input = seen.slot(37);
        EXPECT_EQ(seen.width, c.width);
        EXPECT_EQ(seen.height, c.height);
        EXPECT_EQ(list.y, c.listY);
        EXPECT_EQ(list.height, c.listHeight);
        EXPECT_EQ(list.width, c.width - 44);
        EXPECT_TRUE(equals(input.kind, c.inputKind)) << input.kind.data();
        if (c.inputKind[0] != 0) {
            EXPECT_EQ(input.y, c.listY + c.listHeight + 5);
            EXPECT_EQ(input.width, c.width - 145);
            EXPECT_EQ(input.disabled != 0, c.inputDisabled);
            EXPECT_EQ(U(input.value), u"text2");
        }
        EXPECT_EQ(seen.slot(4).x, c.width - 93);
        EXPECT_EQ(seen.slot(4).y, c.height - 65);
    }
    Shown withText = show({u"", u"1", u"", u"", u"", u"T", u"Pick one", u"a|b", u"", u"OK", u"", u"Later", u"", u"",
                           u"edit", u"Note", u"x"});
    EXPECT_EQ(withText.slot(36).y, 35);
    EXPECT_EQ(withText.slot(36).height, 360 - 115 - 23);
    EXPECT_EQ(withText.slot(13).y, 35 + 222 + 8);
    EXPECT_EQ(U(withText.slot(13).text), u"Note");
    EXPECT_EQ(U(withText.slot(37).text), u"x");
    // An empty second button leaves its slot and its place free.
    EXPECT_TRUE(withText.slot(5).kind.empty());
    EXPECT_EQ(withText.slot(6).x, 383 - 257);
    EXPECT_EQ(U(withText.slot(6).value), u"3");
}

TEST_F(ListDialog, ButtonOptions) {
    Shown plain = show(listArgs(u"", u"1"));
    EXPECT_EQ(plain.defaultButton, 4) << "Enter presses button 1";
    EXPECT_EQ(plain.slot(4).requiresSelection, 0);
    Shown marked = show(listArgs(u"b1ns b2ns defaultButton2", u"1"));
    EXPECT_EQ(marked.defaultButton, 5);
    EXPECT_EQ(marked.slot(4).requiresSelection, 1);
    EXPECT_EQ(marked.slot(5).requiresSelection, 1);
}

// Closed by its close box, a dialog reads nothing back: a slot that was
// given a list answers no choice, never the list it was given.
TEST_F(ListDialog, ClosedWithoutAButtonNothingIsChosen) {
    struct Case {
        const char16_t *function;
        Args args;
    } cases[] = {
        {u"Tessary_DoList", listArgs(u"", u"1")},
        {u"Tessary_DoDualListDialog", {u"", u"T", u"", u"", u"a|b", u"", u"c|", u"OK"}},
        {u"Tessary_DoLogin", {u"", u"T", u"", u"User", u"Password", u"ann|bob|", u"bob", u"OK", u"Cancel"}},
    };
    for (const Case &c : cases) {
        Shown closed;
        harness::Result r = harness::showDialog(c.function, c.args, closed, -1);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.text, u"");
        EXPECT_EQ(harness::call(u"Tessary_GetInput", {u"text1"}).text, u"") << std::string(c.function, c.function + 8);

        // A dialog the system could not create (no player stands in) fails
        // the call with the host's general error code and sets no result.
        harness::Result failed = harness::call(c.function, c.args);
        EXPECT_EQ(failed.code, 2) << std::string(c.function, c.function + 12);
        EXPECT_FALSE(failed.isText);
    }
}

// A list text the host hands over whole comes back whole: a NUL in a cell
// costs the result only that NUL, and line breaks inside a row, CR, CR LF
// and a lone LF, come back as they were given.
TEST_F(ListDialog, ChosenRowsComeBackWholeThroughGetInput) {
    const std::u16string nul(1, u'\0');
    struct Case {
        std::u16string listText;
        std::vector<int> ticked;
        std::u16string text1;
    } cases[] = {
        {u"a" + nul + u"b|c", {0, 1}, u"ab|c|"},
        {u"a\rb|c\r\nd|e\nf", {0, 1, 2}, u"a\rb|c\r\nd|e\nf|"},
    };
    for (const Case &c : cases) {
        Args args = listArgs(u"multi", u"1");
        args[2] = u"";
        args[7] = c.listText;
        // What the read-back stores when the user ticked every row.
        const auto tick = [&c](DialogDefinition &d) {
            ControlSpec &list = d.controls[36];
            list.text = chosenRowsValue(list, c.ticked);
        };
        Shown seen;
        EXPECT_EQ(harness::showDialog(u"Tessary_DoList", args, seen, 4, tick).text, u"1");
        EXPECT_EQ(harness::call(u"Tessary_GetInput", {u"text1"}).text, c.text1);
    }
}
