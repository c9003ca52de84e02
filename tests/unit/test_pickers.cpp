// Tessary_ColorPicker, Tessary_SelectFileDialog and Tessary_SelectFolderDialog
// through the host, with a player in the system chooser's place: the request
// each call makes of the chooser, and the text it makes of the answer.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <cstdio>
#include <string>
#include <vector>

#include "plugin_harness.h"
#include "runtime/system_dialogs.h"

namespace {

typedef std::vector<std::u16string> Args;

struct Seen {
    int calls = 0;
    SystemDialogKind kind = kColorChooser;
    std::u16string title, folder, filter;
    uint32_t color = 0;
};

// Calls `function`; the player records the request and answers with `path`
// and `color` when `outcome` is a choice, or ends as `outcome` says.
harness::Result pick(const char16_t *function, const Args &args, Seen &seen,
                     ChooserOutcome outcome = ChooserOutcome::kChosen,
                     const std::u16string &path = u"", uint32_t color = 0) {
    setSystemDialogPlayer([&](const SystemDialogRequest &request, SystemDialogAnswer &answer) {
        ++seen.calls;
        seen.kind = request.kind;
        seen.title = U(request.title);
        seen.folder = U(request.folder);
        seen.filter = U(request.filter);
        seen.color = request.color;
        // A cancelling chooser may leave anything behind; none of it counts.
        answer.path = W(path.c_str());
        answer.color = color;
        return outcome;
    });
    harness::Result r = harness::call(function, args);
    setSystemDialogPlayer(nullptr);
    return r;
}

std::string ascii(const std::u16string &s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? char(c) : '?';
    return out;
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", unsigned(value));
    return text;
}

class Pickers : public harness::FreshPlugin {};

} // namespace

// The colour text becomes the chooser's start (0x00BBGGRR) and the chosen
// colour comes back as a colour text.
TEST_F(Pickers, ColourTextsGoToTheChooserAndComeBack) {
    struct Case {
        Args args;
        uint32_t start;  // what the chooser is asked to show
        uint32_t chosen; // what the user picks
        std::u16string expected;
    } cases[] = {
        {{u"", u"255128000"}, 0x000080FF, 0x000080FF, u"255128000"},
        {{u"", u"007008009"}, 0x00090807, 0x00FF0A00, u"000010255"},
        {{u"", u"999000000"}, 0x000000E7, 0x00000000, u"000000000"}, // low 8 bits of 999
        {{u"", u"12345"}, 0, 0x00FFFFFF, u"255255255"},              // wrong length: black
        {{u"", u"2551280000"}, 0, 0x00010203, u"003002001"},
        {{u"anything"}, 0, 0x00102030, u"048032016"},               // no colour: black
    };
    for (const Case &c : cases) {
        Seen seen;
        harness::Result r = pick(u"Tessary_ColorPicker", c.args, seen, ChooserOutcome::kChosen, u"", c.chosen);
        const std::string which = c.args.size() > 1 ? ascii(c.args[1]) : "none";
        EXPECT_EQ(seen.calls, 1) << which;
        EXPECT_EQ(seen.kind, kColorChooser) << which;
        EXPECT_EQ(hex(seen.color), hex(c.start)) << "colour " << which;
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(r.isText);
        EXPECT_EQ(r.text, c.expected) << "colour " << which << ", chosen " << hex(c.chosen);
    }
}

// Title, start folder and file types go to the system whole and unchanged:
// Greek, longer than 260 and than 1,023 units; only the open dialog's start
// folder is left out when longer than the dialog can take. Arguments not passed are
// empty; "saveDialog" picks the save dialog.
TEST_F(Pickers, FileAndFolderRequestsCarryTheArgumentsWhole) {
    const std::u16string greek = u"C:\\Users\\\u0396\u03c9\u03ae\\\U0001F600";
    const std::u16string longFolder = u"C:\\" + std::u16string(1200, u'\u03a6');
    const std::u16string longTitle = std::u16string(1500, u't') + u"\u65e5";
    struct Case {
        const char16_t *function;
        Args args;
        SystemDialogKind kind;
        std::u16string title, folder, filter;
    } cases[] = {
        {u"Tessary_SelectFileDialog", {u"", u"Pick", greek, u"Text|*.txt|All|*.*|"}, kOpenFileDialog, u"Pick", greek,
         u"Text|*.txt|All|*.*|"},
        {u"Tessary_SelectFileDialog", {u"", longTitle, longFolder, u"Text|*.txt"}, kOpenFileDialog, longTitle,
         u"", u"Text|*.txt"},
        {u"Tessary_SelectFileDialog", {u"", u"", std::u16string(259, u'a')}, kOpenFileDialog, u"",
         std::u16string(259, u'a'), u""},
        {u"Tessary_SelectFolderDialog", {u"", u"", longFolder}, kFolderBrowser, u"", longFolder, u""},
        {u"Tessary_SelectFileDialog", {u"width=1 saveDialog", u"Save", greek + u"\\a.txt"}, kSaveFileDialog, u"Save",
         greek + u"\\a.txt", u""},
        {u"Tessary_SelectFileDialog", {u"SaveDialog"}, kOpenFileDialog, u"", u"", u""},
        {u"Tessary_SelectFolderDialog", {u"saveDialog", longTitle, greek}, kFolderBrowser, longTitle, greek, u""},
        {u"Tessary_SelectFolderDialog", {u""}, kFolderBrowser, u"", u"", u""},
    };
    for (const Case &c : cases) {
        Seen seen;
        pick(c.function, c.args, seen, ChooserOutcome::kCancelled);
        const size_t n = c.args.size();
        EXPECT_EQ(seen.calls, 1) << n << " arguments";
        EXPECT_EQ(seen.kind, c.kind) << n << " arguments";
        EXPECT_EQ(seen.title.size(), c.title.size()) << n << " arguments";
        EXPECT_EQ(seen.title, c.title) << n << " arguments";
        EXPECT_EQ(seen.folder.size(), c.folder.size()) << n << " arguments";
        EXPECT_EQ(seen.folder, c.folder) << n << " arguments";
        EXPECT_EQ(seen.filter, c.filter) << n << " arguments";
    }
}

// The save dialog's start name shares the buffer of the returned path, so
// only there is an over-long text cut: to what the buffer holds, never
// through the middle of a character.
TEST_F(Pickers, TheSaveDialogsStartNameIsCutToItsBuffer) {
    const size_t room = kPathBufferUnits - 1;
    struct Case {
        std::u16string folder;
        size_t expectedLength;
    } cases[] = {
        {std::u16string(room, u'a'), room},
        {std::u16string(room + 500, u'a'), room},
        {std::u16string(room - 1, u'a') + u"\U0001F600", room - 1}, // the pair would end past the buffer
        {std::u16string(room - 2, u'a') + u"\U0001F600", room},
    };
    for (const Case &c : cases) {
        Seen seen;
        pick(u"Tessary_SelectFileDialog", {u"saveDialog", u"", c.folder}, seen, ChooserOutcome::kCancelled);
        EXPECT_EQ(seen.folder.size(), c.expectedLength) << "start name of " << c.folder.size() << " units";
        EXPECT_EQ(seen.folder, c.folder.substr(0, c.expectedLength));
    }
}

// The chosen path comes back whole, however long and whatever its letters;
// a cancel gives the empty text, whatever the chooser left behind.
TEST_F(Pickers, ChosenPathsComeBackWholeAndCancelsEmpty) {
    const std::u16string deep = u"C:\\" + std::u16string(300, u'\u03a8') + u"\\\U0001F600.txt";
    constexpr ChooserOutcome chosen = ChooserOutcome::kChosen, cancelled = ChooserOutcome::kCancelled,
                             failed = ChooserOutcome::kFailed;
    struct Case {
        const char16_t *function;
        Args args;
        ChooserOutcome outcome;
        std::u16string expected;
    } cases[] = {
        {u"Tessary_SelectFileDialog", {u""}, chosen, deep},
        {u"Tessary_SelectFileDialog", {u"saveDialog", u"", u"C:\\x.txt"}, chosen, deep},
        {u"Tessary_SelectFolderDialog", {u"", u"", u"C:\\"}, chosen, deep},
        {u"Tessary_SelectFileDialog", {u"", u"Open", u"C:\\Data"}, cancelled, u""},
        {u"Tessary_SelectFileDialog", {u"saveDialog", u"Save", u"C:\\Data\\a.txt"}, cancelled, u""},
        {u"Tessary_SelectFolderDialog", {u"", u"Folder", u"C:\\Data"}, cancelled, u""},
        {u"Tessary_ColorPicker", {u"", u"255128000"}, cancelled, u""},
        // A chooser the system could not show answers nothing, not what it left behind.
        {u"Tessary_SelectFileDialog", {u"", u"Open", u"C:\\Data"}, failed, u""},
        {u"Tessary_ColorPicker", {u"", u"255128000"}, failed, u""},
    };
    for (const Case &c : cases) {
        Seen seen;
        const bool choose = c.outcome == chosen;
        harness::Result r = pick(c.function, c.args, seen, c.outcome, deep, 0x123456);
        EXPECT_EQ(seen.calls, 1) << ascii(c.function);
        EXPECT_EQ(r.code, 0) << ascii(c.function);
        EXPECT_TRUE(r.isText) << ascii(c.function);
        EXPECT_EQ(r.text.size(), c.expected.size()) << ascii(c.function) << (choose ? " chosen" : " not chosen");
        EXPECT_EQ(r.text, c.expected) << ascii(c.function) << (choose ? " chosen" : " not chosen");
    }
}
