#include <gtest/gtest.h>

#include <string>

#include "bridge/platform.h"
#include "plugin/registry.h"
#include "runtime/runner.h"
#include "runtime/system_dialogs.h"
#include "plugin_harness.h"

namespace {

std::string expectedLog(int from, int to, char what) {
    std::string log;
    int step = from <= to ? 1 : -1;
    for (int id = from;; id += step) {
        if (!log.empty()) log += ' ';
        log += what + std::to_string(id);
        if (id == to) break;
    }
    return log;
}

class PluginTest : public ::testing::Test {
protected:
    void TearDown() override {
        FMW_Test_Reset();
        FMW_Registry_Clear();
        platformSetActiveWindow(nullptr);
    }
};

} // namespace

TEST_F(PluginTest, StartupAcceptsOnlyHostVersionsFiftyTo255) {
    // 64-bit plug-ins answer 53, the first version that knows them.
    const int32_t ok = sizeof(void *) == 8 ? 53 : 51;
    struct Case {
        int16_t version;
        int32_t result;
        uint32_t registered;
    } cases[] = {{49, -1, 0}, {50, ok, 25}, {255, ok, 25}, {256, -1, 0}, {-3, -1, 0}, {60, ok, 25}};
    for (const Case &c : cases) {
        EXPECT_EQ(harness::startPlugin(c.version), c.result) << "version " << c.version;
        EXPECT_EQ(FMW_Registry_Count(), c.registered) << "version " << c.version;
    }
}

TEST_F(PluginTest, RegistrationRollsBackInReverseOrder) {
    FMW_Registry_Clear();
    FMW_Test_RefuseRegistration(1);
    EXPECT_EQ(harness::startPlugin(), -2);
    EXPECT_EQ(harness::registryLog(), "R1");
    EXPECT_EQ(FMW_Registry_Count(), 0u);

    FMW_Test_RefuseRegistration(25);
    EXPECT_EQ(harness::startPlugin(), -2);
    EXPECT_EQ(harness::registryLog(), expectedLog(1, 25, 'R') + " " + expectedLog(24, 1, 'U'));
    EXPECT_EQ(FMW_Registry_Count(), 0u);
}

TEST_F(PluginTest, AFailingHostCallDuringStartupIsReportedNotThrown) {
    FMW_Test_FailCall("FM_Text_Find", 5, FMErrorOutOfMemory);
    EXPECT_EQ(harness::startPlugin(), -2);
    EXPECT_EQ(FMW_Registry_Count(), 0u);
    EXPECT_EQ(harness::registryLog(), expectedLog(1, 4, 'R') + " " + expectedLog(4, 1, 'U'));
}

TEST_F(PluginTest, ShutdownUnregistersFromTheLastDownTo1) {
    ASSERT_EQ(harness::startPlugin(), kStartupOk);
    FMW_Registry_Clear();
    harness::stopPlugin();
    EXPECT_EQ(harness::registryLog(), expectedLog(25, 1, 'U'));
}

TEST_F(PluginTest, TheWindowActiveAtStartupGetsTheFocusBackAtShutdown) {
    // Stand-ins for windows: only their addresses are compared. Nothing was
    // active while the module loaded, so a window taken then would be none.
    char refused = 0, owner = 0, later = 0;
    platformSetActiveWindow(&refused);
    EXPECT_EQ(harness::startPlugin(49), kStartupBadVersion);
    platformSetActiveWindow(&owner);
    ASSERT_EQ(harness::startPlugin(), kStartupOk);
    EXPECT_NE(platformFocusedWindow(), &owner) << "the focus moves only at shut-down";

    platformSetActiveWindow(&later);
    harness::stopPlugin();
    EXPECT_EQ(platformFocusedWindow(), &owner);
    // A second shut-down has no window left to give the focus to.
    platformGiveFocus(&later);
    harness::stopPlugin();
    EXPECT_EQ(platformFocusedWindow(), &later);
}

TEST_F(PluginTest, RegisteredNamesArePrototypesCutAtTheParenthesis) {
    ASSERT_EQ(harness::startPlugin(), kStartupOk);
    FMRegisteredFunction f;
    ASSERT_TRUE(harness::findFunction(u"Tessary_CustomDialog", f));
    EXPECT_EQ(harness::textOf(f.prototype), u"Tessary_CustomDialog( xmltext )");
    EXPECT_EQ(f.functionId, 22);
    EXPECT_EQ(f.flags, 0xFF01u);
    EXPECT_STREQ(f.pluginId, "VRNQ");
    ASSERT_TRUE(harness::findFunction(u"Tessary_Calendar", f));
    EXPECT_EQ(harness::textOf(f.prototype).back(), u' ');
    ASSERT_TRUE(harness::findFunction(u"Tessary_DoDialog", f));
    EXPECT_EQ(f.minArgs, 4);
    EXPECT_EQ(f.maxArgs, 13);
}

TEST_F(PluginTest, GetStringFollowsLoadStringRules) {
    ASSERT_EQ(harness::startPlugin(), kStartupOk);
    struct Case {
        uint8_t selector;
        uint32_t size;
        std::u16string expected;
    } cases[] = {
        {FMStringName, 5, u"Tess"},
        {FMStringName, 256, u"Tessary Plug-In"},
        {FMStringDescription, 256,
         u"The Tessary Plug-In 0.55 extends FileMaker applications by adding external functions."},
        {FMStringOptions, 12, u"VRNQ1nnYnnn"},
        {FMStringOptions, 300, u"VRNQ1nnYnnn"},
        {FMStringOptions, 5, u"VRNQ"},
        {FMStringOptions, 1, u""},
    };
    for (const Case &c : cases) {
        char16_t buffer[300];
        for (char16_t &u : buffer) u = u'#';
        FMExternCallStruct &b = harness::block();
        b.whichCall = FMCallGetString;
        b.stringSelector = c.selector;
        b.bufferSize = c.size;
        b.result = reinterpret_cast<intptr_t>(buffer);
        FMExternCallProc(&b);
        EXPECT_EQ(std::u16string(buffer), c.expected) << int(c.selector);
        EXPECT_EQ(buffer[c.expected.size() + 1], u'#') << "wrote past the string " << int(c.selector);
    }
}

TEST_F(PluginTest, UnknownCallsLeaveTheBlockUnchanged) {
    ASSERT_EQ(harness::startPlugin(), kStartupOk);
    for (uint8_t call : {1, 2, 3, 5, 6, 8}) {
        FMExternCallStruct &b = harness::block();
        b.whichCall = call;
        b.result = 12345;
        FMExternCallStruct before;
        std::memcpy(&before, &b, sizeof b);
        FMExternCallProc(&b);
        EXPECT_EQ(std::memcmp(&before, &b, sizeof b), 0) << "selector " << int(call);
    }
}

TEST_F(PluginTest, GetStringAnswersEveryOtherIdEmpty) {
    ASSERT_EQ(harness::startPlugin(), kStartupOk);
    for (uint8_t id : {0, 1, 127, 130, 132, 133, 134, 135, 136, 137, 138, 139, 140, 255}) {
        char16_t buffer[8] = u"unset";
        FMExternCallStruct &b = harness::block();
        b.whichCall = FMCallGetString;
        b.stringSelector = id;
        b.bufferSize = 1;
        b.result = reinterpret_cast<intptr_t>(buffer);
        FMExternCallProc(&b);
        EXPECT_EQ(buffer[0], u'\0') << int(id);
        EXPECT_EQ(std::u16string(buffer + 1), u"nset") << "wrote past the one unit given, id " << int(id);
    }
    // No room at all: nothing is written.
    char16_t untouched[2] = u"x";
    FMExternCallStruct &b = harness::block();
    b.stringSelector = 132;
    b.bufferSize = 0;
    b.result = reinterpret_cast<intptr_t>(untouched);
    FMExternCallProc(&b);
    EXPECT_EQ(untouched[0], u'x');
}

// Every function that shows a window, with arguments that make it show one.
struct WindowCall {
    std::u16string name;
    std::vector<std::u16string> args;
};
const WindowCall kWindowCalls[] = {
    {u"Tessary_Dialog", {u"", u"Title", u"Text", u"OK", u"Cancel"}},
    {u"Tessary_DoLogin", {u"", u"Title", u"Text", u"User", u"Password", u"ann", u"", u"OK", u"Cancel"}},
    {u"Tessary_DoList", {u"", u"1", u"", u"", u"", u"Title", u"Text", u"Apple|Pear|", u"OK", u"", u""}},
    {u"Tessary_BigEditBox", {u"", u"Title", u"Label", u"kept text", u"OK", u"Cancel"}},
    {u"Tessary_DoDialog", {u"", u"Title", u"Text", u"OK"}},
    {u"Tessary_DoTabDialog", {u"", u"Title", u"Page", u"Text"}},
    {u"Tessary_DoDualListDialog", {u"", u"Title", u"Text", u"From", u"Apple|Pear|", u"To", u"", u"OK"}},
    {u"Tessary_CustomDialog",
     {u"<object><type>button</type><name>ok</name><text>OK</text><left>10</left><top>10</top>"
      u"<width>75</width><height>23</height></object>"}},
    {u"Tessary_DoListView", {u"", u"edit", u"Name", u"100", u"", u"Title", u"Text", u"Apple|Pear|", u"OK", u"", u""}},
    {u"Tessary_ColorPicker", {u""}},
    {u"Tessary_SelectFolderDialog", {u"", u"Title"}},
    {u"Tessary_SelectFileDialog", {u"", u"Title"}},
    {u"Tessary_SelectFileDialog", {u"saveDialog", u"Title", u"report"}},
};

// The host's server processes, and a service whatever the host says it is:
// no function shows a window, and each answers as its dialog closed without
// a button would; the other functions answer as in the desktop client.
TEST_F(PluginTest, WhereNobodyCanAnswerNoWindowIsShown) {
    int windows = 0;
    setDialogPlayer([&](DialogDefinition &) { ++windows; });
    setSystemDialogPlayer([&](const SystemDialogRequest &, SystemDialogAnswer &) { return ++windows, ChooserOutcome::kCancelled; });
    const std::vector<std::pair<std::u16string, std::vector<std::u16string>>> others = {
        {u"Tessary_SetLabels", {u"Name"}},   {u"Tessary_SetDefaultInputs", {u"ann"}},
        {u"Tessary_GetInput", {u"text1"}},   {u"Tessary_Version", {u"short"}},
        {u"Tessary_CreateColor", {u"", u"255|0|0"}}, {u"Tessary_GetPosition", {}},
    };
    bool checkEach = true; // the desktop client's first run: every call in the table shows its window
    auto answers = [&](uint8_t appType) {
        std::vector<std::u16string> out;
        EXPECT_EQ(harness::startPlugin(60, appType), kStartupOk);
        for (const WindowCall &c : kWindowCalls) {
            const int before = windows;
            const harness::Result r = harness::call(c.name, c.args);
            if (checkEach) {
                EXPECT_EQ(windows, before + 1) << "no window from " << std::string(c.name.begin(), c.name.end());
            }
            out.push_back(std::u16string(1, char16_t(u'0' + r.code)) + u" " + r.text);
        }
        EXPECT_EQ(harness::call(u"Tessary_ProgressBar", {u"show", u"Label", u"10", u"1"}).code, 0);
        for (const auto &c : others) {
            const harness::Result r = harness::call(c.first, c.second);
            out.push_back(r.text + u" " + (r.isText ? u"text" : u"streams"));
        }
        harness::stopPlugin();
        return out;
    };
    const std::vector<std::u16string> desktop = answers(FMAppDesktop);
    checkEach = false;
    ASSERT_EQ(windows, int(std::size(kWindowCalls)) + 1) << "a call in the table shows no window";
    for (uint8_t appType : {FMAppServer, FMAppWebPublishing, FMAppDatabaseDriver, FMAppServerScripting,
                            FMAppInstantWeb, FMAppDataApi}) {
        windows = 0;
        EXPECT_EQ(answers(appType), desktop) << "application type " << int(appType);
        EXPECT_EQ(windows, 0) << "application type " << int(appType);
    }
    for (uint8_t appType : {FMAppDeveloper, FMAppRuntime, FMAppMobile}) {
        windows = 0;
        answers(appType);
        EXPECT_GT(windows, 0) << "application type " << int(appType);
    }
    platformSetWindowStationVisible(false);
    windows = 0;
    EXPECT_EQ(answers(FMAppDesktop), desktop);
    EXPECT_EQ(windows, 0) << "in an invisible window station";
    platformSetWindowStationVisible(true);
    setDialogPlayer(nullptr);
    setSystemDialogPlayer(nullptr);
}

TEST_F(PluginTest, VersionAnswersEachKeyword) {
    ASSERT_EQ(harness::startPlugin(), kStartupOk);
    platformSetLoginUser(0, WideText(u"J\u00f6rg \u738b"));
    platformSetComputerName(true, WideText(u"BUILD-\u00c5"));
    struct Case {
        std::u16string format;
        std::u16string expected;
    } cases[] = {
        {u"", u"0.55"},
        {u"short", u"0.55"},
        {u"long", u"Tessary Plug-In 0.55"},
        {u"platform", u"Windows"},
        {u"LoginUsername", u"J\u00f6rg \u738b"},
        {u"ComputerName", u"BUILD-\u00c5"},
        {u"LONG", u""},
        {u"version", u""},
    };
    for (const Case &c : cases) {
        harness::Result r = harness::call(u"Tessary_Version", {c.format});
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(r.isText);
        EXPECT_EQ(r.text, c.expected) << "format " << std::string(c.format.begin(), c.format.end());
    }
    platformSetLoginUser(2221, WideText());
    EXPECT_EQ(harness::call(u"Tessary_Version", {u"LoginUsername"}).text, u"Error: 2221\n");
    platformSetComputerName(false, WideText());
    EXPECT_EQ(harness::call(u"Tessary_Version", {u"ComputerName"}).text, u"");
    platformSetLoginUser(0, WideText(u"tester"));
    platformSetComputerName(true, WideText(u"TESTHOST"));
}

TEST_F(PluginTest, AFailingHostCallBecomesAnErrorCode) {
    ASSERT_EQ(harness::startPlugin(), kStartupOk);
    struct Case {
        const char *function;
        int32_t code;
    } cases[] = {{"FM_Text_Constructor1", FMErrorOutOfMemory},
                 {"FM_Data_SetAsText", FMErrorGeneral},
                 {"FM_Text_operatorEQ", FMErrorGeneral}};
    for (const Case &c : cases) {
        FMW_Test_FailCall(c.function, 1, c.code);
        harness::Result r = harness::call(u"Tessary_Version", {u"long"});
        EXPECT_EQ(r.code, c.code) << c.function;
    }
    // The next call is not affected.
    EXPECT_EQ(harness::call(u"Tessary_Version", {u"long"}).text, u"Tessary Plug-In 0.55");
}
