// Tessary_LastWarnings: each kind of mistake a script makes gets its line,
// naming the function, the argument and the text; a clean call leaves none;
// a warning never changes what the call answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin_harness.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

class Warnings : public harness::FreshPlugin {
protected:
    void SetUp() override {
        FreshPlugin::SetUp();
        // Every dialog is closed by its first button.
        setDialogPlayer([](DialogDefinition &d) { d.resultIndex = kFirstButtonSlot; });
    }
    void TearDown() override {
        setDialogPlayer(nullptr);
        FreshPlugin::TearDown();
    }
    static std::u16string lastWarnings() { return harness::call(u"Tessary_LastWarnings", {}).text; }
};

Args listArgs(const std::u16string &options, const std::u16string &columns, const std::u16string &widths) {
    return {options, columns, u"A|B|C", widths, u"", u"T", u"", u"a|b|c|", u"", u"OK", u"Cancel"};
}

} // namespace

TEST_F(Warnings, EachMistakeGetsItsLineAndACleanCallNone) {
    struct Case {
        const char *what;
        const char16_t *function;
        Args args;
        std::u16string lines;
    } cases[] = {
        {"input kinds differing in case, and forms that are kinds",
         u"Tessary_SetInputTypes", {u"Edit", u"dateDD", u"edit3", u"radio53RO", u"editRO", u"slide"},
         u"Tessary_SetInputTypes: argument 1 \"Edit\" is no input kind; kinds are case-sensitive: \"edit\"\r"
         u"Tessary_SetInputTypes: argument 2 \"dateDD\" is no input kind; kinds are case-sensitive: \"datedd\"\r"
         u"Tessary_SetInputTypes: argument 6 \"slide\" is no input kind"},
        {"option words that are no keyword of the function",
         u"Tessary_Dialog", {u"DefaultButton2 timer=5 shiny", u"T", u"M", u"OK", u"No"},
         u"Tessary_Dialog: option \"DefaultButton2\" is none of its keywords; keywords are case-sensitive: "
         u"\"defaultButton2\"\r"
         u"Tessary_Dialog: option \"shiny\" is none of its keywords"},
        {"arguments past those the function reads",
         u"Tessary_DoDialog", {u"", u"T", u"", u"OK", u"", u"", u"", u"", u"", u"", u"", u"twelve", u"13"},
         u"Tessary_DoDialog: argument 12 is not read: \"twelve\"\r"
         u"Tessary_DoDialog: argument 13 is not read: \"13\""},
        {"a size raised to the least",
         u"Tessary_BigEditBox", {u"width=100", u"T", u"", u"text", u"OK", u""},
         u"Tessary_BigEditBox: the width 100 is below the least, 277, which was taken"},
        {"column widths that size nothing",
         u"Tessary_DoList", listArgs(u"", u"3", u"50|abc|20|30"),
         u"Tessary_DoList: column width \"abc\" is no number\r"
         u"Tessary_DoList: column widths \"50|abc|20|30\" name 4 columns; the list has 3, so the rest size nothing"},
        {"a return column past the columns",
         u"Tessary_DoList", listArgs(u"returnColumnNumber=5", u"3", u""),
         u"Tessary_DoList: the return column 5 is past the 3 columns; column 1 was taken"},
        {"a clean call", u"Tessary_DoList", listArgs(u"multi", u"3", u"50|30|20"), u""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        harness::call(c.function, c.args);
        EXPECT_EQ(lastWarnings(), c.lines);
        // Asking again keeps them: the warnings are the last other call's.
        EXPECT_EQ(lastWarnings(), c.lines);
        harness::call(u"Tessary_GetInput", {u"text1"});
        EXPECT_EQ(lastWarnings(), u"") << "a clean call leaves none";
    }
}

TEST_F(Warnings, AWarningChangesNoResult) {
    const std::u16string wrong = harness::call(u"Tessary_DoList", listArgs(u"Multi b9ns", u"3", u"x|y")).text;
    EXPECT_NE(lastWarnings(), u"");
    const std::u16string right = harness::call(u"Tessary_DoList", listArgs(u"", u"3", u"")).text;
    EXPECT_EQ(lastWarnings(), u"");
    EXPECT_EQ(wrong, right);
    EXPECT_EQ(wrong, u"1");
}
