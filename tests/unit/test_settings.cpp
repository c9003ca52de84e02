// Tessary_SetPosition, Tessary_GetPosition, Tessary_SetFont and
// Tessary_System, called through the host the way a script calls them.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/carry_over.h"
#include "model/dialog_definition.h"
#include "plugin_harness.h"

namespace {

typedef std::vector<std::u16string> Args;

std::string narrow(const std::u16string &s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? char(c) : '?';
    return out;
}

std::u16string widen(const std::string &s) {
    return std::u16string(s.begin(), s.end());
}

std::string describe(const std::set<int> &slots) {
    std::ostringstream out;
    out << "{";
    for (int s : slots) out << " " << s;
    out << " }";
    return out.str();
}

std::set<int> range(int first, int last) {
    std::set<int> slots;
    for (int i = first; i <= last; ++i) slots.insert(i);
    return slots;
}

class SettingsTest : public harness::FreshPlugin {
protected:

    static harness::Result call(const char16_t *function, const Args &args) {
        harness::Result r = harness::call(function, args);
        EXPECT_EQ(r.code, 0) << narrow(function);
        EXPECT_TRUE(r.isText) << narrow(function);
        return r;
    }
    static std::u16string position() {
        return call(u"Tessary_GetPosition", {}).text;
    }
};

} // namespace

TEST_F(SettingsTest, GetPositionReportsTheSetPositionAndTheLastDialogSize) {
    EXPECT_EQ(narrow(position()), "0|0|0|0") << "before any position or dialog";

    struct Case {
        std::u16string x, y;
        const char *expected; // GetPosition afterwards, with a last dialog of 400 x 432
    } cases[] = {
        {u"100", u"50", "100|50|400|432"},
        {u"  42", u"-17px", "42|-17|400|432"},
        {u"abc", u"", "0|0|400|432"},
    };
    dialog().width = 400;
    dialog().height = 432;
    for (const Case &c : cases) {
        EXPECT_EQ(call(u"Tessary_SetPosition", {c.x, c.y}).text, u"");
        std::u16string got = position();
        EXPECT_EQ(narrow(got), c.expected) << "x \"" << narrow(c.x) << "\", y \"" << narrow(c.y) << "\"";
    }

    // System accepts one to four arguments and changes nothing.
    call(u"Tessary_SetPosition", {u"5", u"6"});
    EXPECT_EQ(call(u"Tessary_System", {u"anything"}).text, u"");
    EXPECT_EQ(call(u"Tessary_System", {u"a", u"b", u"c", u"d"}).text, u"");
    EXPECT_EQ(narrow(position()), "5|6|400|432");
}

TEST_F(SettingsTest, SetFontSelectsSlotsByGroupAndNumber) {
    struct Case {
        const char *options;
        std::set<int> expected;
    } cases[] = {
        {"setLabel3", {14}},
        {"setLabel03", {14}},
        {"setLabel24", {35}},
        {"setLabel25", {}},
        {"setLabel0", {}},
        {"setLabel", {}},
        {"setLabel123", {23}}, // two characters are read: 12
        {"setDialogText3", {3}},
        {"setDialogText4", {}},
        {"setButton8", {11}},
        {"setButton9", {}},
        {"setInputType12", {47}},
        {"setButton2 setLabel4", {5}},
        {"setLabel4 setButton2", {15}},
        {" setLabel3", {}},
        {"setlabel3", {}},
        {"setAllDialogText", range(1, 3)},
        {"setAllButtons", range(4, 11)},
        {"noise setAllLabels more", range(12, 35)},
        {"setAllInputTypes", range(36, 59)},
        {"setAllButtons setAllLabels", range(4, 11)},
        {"setLabel3 setAllInputTypes", range(36, 59)},
        {"setAll", range(0, 59)},
        {"setAllFonts", {}},
        {"setAll setLabel3", {}},
        {"setLabel3 clear", {}},
        {"", {}},
    };
    for (const Case &c : cases) {
        resetAllSlots(true);
        EXPECT_EQ(call(u"Tessary_SetFont", {widen(c.options), u"Arial", u"Bold", u"12"}).text, u"");
        std::set<int> changed;
        for (int i = 0; i < kSlotCount; ++i) {
            const FontSpec &f = dialog().controls[i].font;
            if (f.faceName[0] != 0 || f.style[0] != 0 || f.pointSize != 0) changed.insert(i);
        }
        EXPECT_EQ(changed, c.expected) << "options \"" << c.options << "\": expected " << describe(c.expected)
                                       << ", got " << describe(changed);
        for (int i : changed) {
            const FontSpec &f = dialog().controls[i].font;
            EXPECT_STREQ(f.faceName, "Arial") << c.options << ", slot " << i;
            EXPECT_STREQ(f.style, "Bold") << c.options << ", slot " << i;
            EXPECT_EQ(f.pointSize, 12) << c.options << ", slot " << i;
        }
    }
}

TEST_F(SettingsTest, ClearFontResetsTheSelectedSlotsWhateverTheFontArguments) {
    struct Case {
        const char *options;
        std::set<int> expected;
    } cases[] = {
        {"clearButton2", {5}},
        {"clearLabel03", {14}},
        {"clearInputType1", {36}},
        {"clearButton9", {}},
        {"clearAllDialogText", range(1, 3)},
        {"x clearAllLabels", range(12, 35)},
        {"clearAll", range(0, 59)},
        {"clearAll x", {}},
        {"clear", {}},
        {"setAllLabels clear", {}},
        {"setLabel3 clearButton2", {}},
    };
    for (const Case &c : cases) {
        for (int i = 0; i < kSlotCount; ++i) setFont(dialog().controls[i].font, "Arial", "Bold", 12);
        EXPECT_EQ(call(u"Tessary_SetFont", {widen(c.options), u"Courier", u"Italic", u"9"}).text, u"");
        std::set<int> cleared;
        for (int i = 0; i < kSlotCount; ++i) {
            const FontSpec &f = dialog().controls[i].font;
            if (f.faceName[0] == 0 && f.style[0] == 0 && f.pointSize == 0) {
                cleared.insert(i);
            } else {
                EXPECT_STREQ(f.faceName, "Arial") << c.options << ", slot " << i << " changed but not cleared";
            }
        }
        EXPECT_EQ(cleared, c.expected) << "options \"" << c.options << "\": expected " << describe(c.expected)
                                       << ", got " << describe(cleared);
    }
}

TEST_F(SettingsTest, SetFontStoresFaceStyleAndSizeCutToTheirFields) {
    const std::string face31(31, 'f');
    const std::u16string umlauts(20, u'\u00C4'); // 40 bytes of UTF-8
    std::string umlautsCut; // as many whole characters as fit 31 bytes
    for (int i = 0; i < 15; ++i) umlautsCut += "\xC3\x84";
    struct Case {
        Args args;
        std::string face, style;
        int32_t size;
    } cases[] = {
        {{u"setLabel1", u"Arial", u"Bold", u"12"}, "Arial", "Bold", 12},
        {{u"setLabel1", u"Arial", u"Bold Italic", u""}, "Arial", "Bold Italic", 8},
        {{u"setLabel1"}, "", "", 8},
        {{u"setLabel1", u"Tahoma", u"", u"abc"}, "Tahoma", "", 0},
        // Sizes no font can have are held to the largest one, never left to
        // overflow the height into an invisible font.
        {{u"setLabel1", u"Tahoma", u"", u"1638"}, "Tahoma", "", 1638},
        {{u"setLabel1", u"Tahoma", u"", u"1639"}, "Tahoma", "", 1638},
        {{u"setLabel1", u"Tahoma", u"", u"1600000000"}, "Tahoma", "", 1638},
        {{u"setLabel1", widen(face31), u"Bold Italic Underline StrikeOut", u"10"},
         face31, "Bold Italic Underline StrikeOut", 10},
        {{u"setLabel1", widen(face31 + "g"), widen(std::string(40, 's')), u"10"}, face31, std::string(31, 's'), 10},
        {{u"setLabel1", umlauts, umlauts, u"10"}, umlautsCut, umlautsCut, 10},
    };
    for (const Case &c : cases) {
        resetAllSlots(true);
        call(u"Tessary_SetFont", c.args);
        const FontSpec &f = dialog().controls[12].font;
        std::string what = "face \"" + (c.args.size() > 1 ? narrow(c.args[1]) : std::string()) + "\"";
        EXPECT_EQ(std::string(f.faceName), c.face) << what << ": got \"" << f.faceName << "\"";
        EXPECT_EQ(std::string(f.style), c.style) << what << ": got \"" << f.style << "\"";
        EXPECT_EQ(f.pointSize, c.size) << what;
    }
}
