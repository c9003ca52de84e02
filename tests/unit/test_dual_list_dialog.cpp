// Tessary_DoDualListDialog as filled for the dialog runtime, shown to a player.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "model/fields.h"
#include "dialog_player.h"
#include "plugin_harness.h"
#include "runtime/dual_list.h"
#include "runtime/dual_list_rules.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

using harness::Shown;

Shown show(const Args &args) {
    Shown seen;
    EXPECT_EQ(harness::showDialog(u"Tessary_DoDualListDialog", args, seen, 4).text, u"1");
    return seen;
}

class DualListDialog : public harness::FreshPlugin {};

} // namespace

TEST_F(DualListDialog, ListsTitlesAndMoveButtons) {
    struct Case {
        const char *what;
        Args args;
        int titlesY, listsY;
        bool moveAll, moveAllBack; // enabled at start
    } cases[] = {
        {"no text, no titles", {u"", u"T", u"", u"", u"a|b", u"", u"", u"OK"}, -1, 0, true, false},
        {"a text", {u"", u"T", u"Choose", u"", u"a", u"", u"x", u"OK"}, -1, 40, true, true},
        {"titles", {u"", u"T", u"", u"All", u"", u"Chosen", u"x", u"OK"}, 8, 26, false, true},
        {"a text and titles", {u"", u"T", u"Choose", u"All", u"a", u"Chosen", u"", u"OK"}, 40, 58, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Shown seen = show(c.args);
        EXPECT_EQ(seen.templateId, 503);
        EXPECT_EQ(seen.hooks, "dual list");
        const ControlSpec &source = seen.slot(36);
        const ControlSpec &target = seen.slot(37);
        EXPECT_EQ(source.y, c.listsY);
        EXPECT_EQ(target.y, c.listsY);
        EXPECT_EQ(source.width, (383 - 44) / 2 - 24);
        EXPECT_EQ(source.height, 360 - c.listsY - 80);
        EXPECT_EQ(target.linkIndex, 36);
        EXPECT_EQ(target.linkMode, 2);
        if (c.titlesY >= 0) {
            EXPECT_EQ(seen.slot(12).y, c.titlesY);
        }
        for (int k = 0; k < 4; ++k) {
            const ControlSpec &m = seen.slot(8 + k);
            EXPECT_EQ(m.x, 383 / 2 - 19);
            EXPECT_EQ(m.y, c.listsY + 28 * k);
            EXPECT_EQ(m.width, 32);
        }
        EXPECT_EQ(U(seen.slot(8).value), u">");
        EXPECT_EQ(U(seen.slot(11).value), u"<<");
        EXPECT_EQ(seen.slot(8).disabled, 1);
        EXPECT_EQ(seen.slot(9).disabled, 1);
        EXPECT_EQ(seen.slot(10).disabled == 0, c.moveAll);
        EXPECT_EQ(seen.slot(11).disabled == 0, c.moveAllBack);
        EXPECT_EQ(seen.minHeight, c.listsY + 3 * 28 + 96);
    }
}

TEST_F(DualListDialog, SizesButtonsAndMoveMode) {
    struct Case {
        const char16_t *options;
        int width, height;
    } cases[] = {
        {u"width=100 height=100", 277, 160}, {u"height=159", 383, 159}, {u"small large", 500, 600},
        {u"large small", 500, 600}, {u"medium", 350, 400},
    };
    for (const Case &c : cases) {
        Shown seen = show({c.options, u"T", u"", u"", u"a", u"", u"", u"OK"});
        std::string what(c.options, c.options + std::char_traits<char16_t>::length(c.options));
        EXPECT_EQ(seen.width, c.width) << what;
        EXPECT_EQ(seen.height, c.height) << what;
    }
    Shown seen = show({u"moveText", u"T", u"", u"", u"a", u"", u"", u"OK", u"", u"Skip"});
    EXPECT_EQ(dualListMoves(seen.slot(36)), 1);
    EXPECT_EQ(U(seen.slot(5).text), u"Skip");
    EXPECT_EQ(U(seen.slot(5).value), u"3");
    EXPECT_EQ(seen.slot(5).x, 383 - 257);
    EXPECT_TRUE(seen.slot(6).kind.empty());
}

namespace {

// A list as the move rules see it, whose search ignores the case of A to Z
// as the list view's does for these texts.
class Rows : public DualListRows {
public:
    explicit Rows(const char16_t *items) {
        const WideText text = W(items);
        const WideFields fields(text);
        for (size_t n = 0; n < fields.itemCount(); ++n) rows.push_back(fields.text(n));
    }
    std::u16string joined() const {
        std::u16string out;
        for (const WideText &row : rows) out += U(row) + u"|";
        return out;
    }
    int count() const override { return int(rows.size()); }
    WideText text(int row) const override { return rows.at(size_t(row)); }
    bool holds(const WideText &text) const override {
        for (const WideText &row : rows) {
            if (matchKey(row) == matchKey(text)) return true;
        }
        return false;
    }
    std::string matchKey(const WideText &text) const override {
        std::string key;
        for (size_t i = 0; i < text.length(); ++i) {
            const TextUnit c = text[i] >= 'A' && text[i] <= 'Z' ? TextUnit(text[i] - 'A' + 'a') : text[i];
            key += char(c & 0xff);
            key += char(c >> 8);
        }
        return key;
    }
    void append(const WideText &text) override { rows.push_back(text); }
    void erase(int row) override { rows.erase(rows.begin() + row); }
    void clear() override { rows.clear(); }

    std::vector<WideText> rows;
};

} // namespace

TEST(DualListRules, MoveModeShowsNoItemOnBothSides) {
    struct Case {
        const char16_t *source, *target, *shown;
        int left;
    } cases[] = {
        {u"a|b|c", u"b", u"a|c|", 1},
        {u"Ann|Bob|Cy", u"bob|cy", u"Ann|", 2},  // case aside, as the list's search
        {u"a|b|a|c", u"a|z", u"b|c|", 2},        // every copy; a right item the left lacks stays right
        {u"a||b", u"", u"a||b|", 0},              // nothing on the right: all shown
        {u"a||b", u"|", u"a|b|", 1},              // an empty item is an item
        {u"a|b", u"B|A", u"", 2},
        {u"", u"a", u"", 0},
    };
    for (const Case &c : cases) {
        Rows source(c.source);
        const Rows target(c.target);
        const std::string what(c.source, c.source + std::char_traits<char16_t>::length(c.source));
        EXPECT_EQ(leaveOutTargetRows(source, target), c.left) << what;
        EXPECT_EQ(source.joined(), c.shown) << what;
    }
}
