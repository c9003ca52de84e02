// The order the dialogs' controls are made in, which is the order Tab walks
// them and a screen reader reads them: the dialogs are filled through the
// host and a player records the slots that get a control, in that order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "dialog_player.h"
#include "plugin_harness.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

// The slots with a kind, in the order they are made.
std::vector<int> madeInOrder(const char16_t *function, const Args &args) {
    harness::Shown shown;
    harness::showDialog(function, args, shown, -1);
    return shown.madeInOrder;
}

class ReadingOrder : public harness::FreshPlugin {};

} // namespace

TEST_F(ReadingOrder, SlotsAreMadeAsTheyAreRead) {
    struct Case {
        const char *what;
        Args labels, kinds; // rows staged first, when any
        const char16_t *function;
        Args args;
        std::vector<int> order;
    } cases[] = {
        // Two rows of buttons, each numbered from its right end, read left to
        // right, the upper row first.
        {"message dialog", {}, {}, u"Tessary_Dialog",
         {u"", u"T", u"M", u"1", u"2", u"3", u"4", u"5", u"6"}, {1, 7, 6, 5, 4, 9, 8}},
        // A row's label, then its parts: the range's field, caption and
        // second field; boxes without a label; an empty row takes nothing.
        {"form dialog", {u"Price|to", u"A|B|", u"", u"Name"}, {u"range", u"checkbox", u"", u"edit"},
         u"Tessary_DoDialog", {u"", u"T", u"M", u"OK", u"Cancel"}, {1, 12, 36, 60, 84, 37, 61, 15, 39, 5, 4}},
        // The markup's own order stands, wherever its objects are placed.
        {"markup dialog", {}, {}, u"Tessary_CustomDialog",
         {u"<object><type>static</type></object><object><type>edit</type></object>"
          u"<object><type>button</type><name>ok</name><top>100</top></object>"
          u"<object><type>edit</type><top>10</top></object>"},
         {3, 4, 5, 6}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.kinds.empty()) {
            harness::call(u"Tessary_SetLabels", c.labels);
            harness::call(u"Tessary_SetInputTypes", c.kinds);
        }
        EXPECT_EQ(madeInOrder(c.function, c.args), c.order);
    }
}
