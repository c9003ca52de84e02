// The real plug-in, loaded through the host layer as the database
// loads it: start-up, strings, registration and its rollback, shut-down and
// the version function.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "driver/dialog_driver.h"
#include "hostcore.h"

namespace {

std::string registryLog() {
    char buffer[4096];
    FMW_Registry_Log(buffer, sizeof buffer);
    return buffer;
}

std::string sequence(int from, int to, char what) {
    std::string log;
    for (int id = from;; id += from <= to ? 1 : -1) {
        if (!log.empty()) log += ' ';
        log += what + std::to_string(id);
        if (id == to) break;
    }
    return log;
}

class PluginSpine : public ::testing::Test {
protected:
    void SetUp() override {
        FMW_Test_Reset();
        FMW_Registry_Clear();
        std::wstring error;
        ASSERT_TRUE(host.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error)) << std::string(error.begin(), error.end());
    }
    void TearDown() override { FMW_Test_Reset(); }

    hostcore::PluginHost host;
};

} // namespace

TEST_F(PluginSpine, StartupChecksTheHostVersion) {
    // 53 is the first version that knows 64-bit plug-ins; older ones are
    // still accepted, as the 32-bit plug-in accepts them.
    const int32_t ok = sizeof(void *) == 8 ? 53 : 51;
    struct Case {
        int16_t version;
        int32_t result;
        size_t functions;
    } cases[] = {{49, -1, 0}, {256, -1, 0}, {-1, -1, 0}, {50, ok, 25}, {53, ok, 25}, {255, ok, 25}};
    for (const Case &c : cases) {
        FMW_Registry_Clear();
        EXPECT_EQ(host.startup(c.version), c.result) << "version " << c.version;
        EXPECT_EQ(host.functions().size(), c.functions) << "version " << c.version;
        if (c.result == ok) host.shutdown();
    }
}

TEST_F(PluginSpine, GetStringAnswersNameDescriptionAndOptions) {
    ASSERT_EQ(host.startup(60), hostcore::kStartupSuccess);
    hostcore::StringResult name = host.getString(FMStringName, 5);
    EXPECT_EQ(name.text, L"Tess");
    EXPECT_TRUE(name.terminated);
    EXPECT_EQ(name.overrun, 0u);
    EXPECT_EQ(host.getString(FMStringDescription, 1024).text,
              L"The Tessary Plug-In 0.55 extends FileMaker applications by adding external functions.");
    hostcore::StringResult options = host.getString(FMStringOptions, 64);
    EXPECT_EQ(options.text, L"VRNQ1nnYnnn");
    EXPECT_EQ(options.units[11], 0);
    EXPECT_EQ(options.units[12], 0xFFFF) << "the options string is exactly 12 units";
    // A smaller buffer cuts the options string instead of being written past.
    hostcore::StringResult cut = host.getString(FMStringOptions, 5);
    EXPECT_EQ(cut.text, L"VRNQ");
    EXPECT_EQ(cut.overrun, 0u);
    // Every other id is answered too, with the empty string.
    for (uint8_t id = 130; id <= 140; ++id) {
        if (id == FMStringOptions) continue;
        const hostcore::StringResult other = host.getString(id, 64);
        EXPECT_TRUE(other.written && other.terminated) << int(id);
        EXPECT_EQ(other.text, L"") << int(id);
        EXPECT_EQ(other.overrun, 0u) << int(id);
    }
}

// The strict host ends the program when a function reads past the
// arguments it was passed. In a server process no dialog waits for a user,
// so every function runs through with the fewest arguments it takes.
TEST_F(PluginSpine, EachFunctionWithItsFewestArgumentsReadsNoMore) {
    ASSERT_EQ(host.startup(60, FMAppServer), hostcore::kStartupSuccess);
    const std::vector<hostcore::FunctionInfo> functions = host.functions();
    ASSERT_EQ(functions.size(), 25u);
    for (const hostcore::FunctionInfo &f : functions) {
        for (const wchar_t *value : {L"", L"1"}) {
            const hostcore::CallResult r = host.call(f.name, std::vector<std::wstring>(size_t(f.minArgs), value));
            EXPECT_EQ(r.status, hostcore::CallStatus::Called) << std::string(f.name.begin(), f.name.end());
        }
    }
}

// Where nobody sits at a screen, a dialog function returns at once and no
// window appears, whichever dialog it would have shown.
TEST_F(PluginSpine, ServerProcessesShowNoWindow) {
    const std::vector<std::pair<const wchar_t *, std::vector<std::wstring>>> calls = {
        {L"Tessary_Dialog", {L"", L"Title", L"Text", L"OK"}},
        {L"Tessary_DoList", {L"", L"1", L"", L"", L"", L"Title", L"Text", L"Apple|Pear|", L"OK", L"", L""}},
        {L"Tessary_DoDialog", {L"", L"Title", L"Text", L"OK"}},
        {L"Tessary_ProgressBar", {L"show", L"Label", L"10", L"1"}},
        {L"Tessary_SelectFileDialog", {L"", L"Title"}},
        {L"Tessary_ColorPicker", {L""}},
    };
    for (uint8_t appType : {FMAppServer, FMAppWebPublishing, FMAppServerScripting, FMAppDataApi}) {
        ASSERT_EQ(host.startup(60, appType), hostcore::kStartupSuccess);
        for (const auto &c : calls) {
            driver::Session session([](driver::Dialog &d) { d.close(); }, 2000);
            const DWORD start = GetTickCount();
            const hostcore::CallResult r = host.call(c.first, c.second);
            const std::string what = std::string(c.first, c.first + wcslen(c.first)) + ", type " + std::to_string(appType);
            EXPECT_EQ(r.code, 0) << what;
            EXPECT_EQ(r.text, L"") << what;
            EXPECT_FALSE(session.ran()) << what << ": a window was shown";
            EXPECT_LT(GetTickCount() - start, 1000u) << what;
        }
        host.shutdown();
    }
}

TEST_F(PluginSpine, UnknownMessagesLeaveTheBlockUnchanged) {
    ASSERT_EQ(host.startup(60), hostcore::kStartupSuccess);
    for (uint8_t selector : {1, 2, 3, 5, 6, 8, 200}) {
        FMExternCallStruct before = host.block();
        host.send(selector);
        FMExternCallStruct after = host.block();
        after.whichCall = before.whichCall;
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0) << "selector " << int(selector);
    }
    EXPECT_EQ(host.functions().size(), 25u);
}

TEST_F(PluginSpine, RefusedRegistrationIsRolledBackInReverseOrder) {
    FMW_Test_RefuseRegistration(1);
    EXPECT_EQ(host.startup(60), -2);
    EXPECT_EQ(registryLog(), "R1");

    FMW_Registry_Clear();
    FMW_Test_RefuseRegistration(25);
    EXPECT_EQ(host.startup(60), -2);
    EXPECT_EQ(registryLog(), sequence(1, 25, 'R') + " " + sequence(24, 1, 'U'));
    EXPECT_TRUE(host.functions().empty());
}

TEST_F(PluginSpine, ShutdownUnregistersEveryFunctionFromTheLast) {
    ASSERT_EQ(host.startup(60), hostcore::kStartupSuccess);
    FMW_Registry_Clear();
    host.shutdown();
    EXPECT_EQ(registryLog(), sequence(25, 1, 'U'));
}

TEST_F(PluginSpine, RegisteredNamesAndPrototypes) {
    ASSERT_EQ(host.startup(60), hostcore::kStartupSuccess);
    std::vector<hostcore::FunctionInfo> functions = host.functions();
    ASSERT_EQ(functions.size(), 25u);
    for (size_t i = 0; i < functions.size(); ++i) {
        const hostcore::FunctionInfo &f = functions[i];
        EXPECT_EQ(f.id, int16_t(i + 1));
        EXPECT_EQ(f.pluginId, "VRNQ");
        EXPECT_EQ(f.flags, 0xFF01u);
        EXPECT_EQ(f.name.rfind(L"Tessary_", 0), 0u);
        // The name is the prototype up to its parenthesis.
        EXPECT_EQ(f.prototype.substr(0, f.name.size() + 1), f.name + L"(");
    }
    EXPECT_EQ(functions[21].name, L"Tessary_CustomDialog");
    EXPECT_EQ(functions[21].prototype, L"Tessary_CustomDialog( xmltext )");
    EXPECT_EQ(functions[14].prototype, L"Tessary_Calendar( options ; title ; start ; end ) ");
    EXPECT_EQ(functions[18].prototype, L"Tessary_SelectFileDialog( options ; title ; defaultFolder ; typeFilter ) ");
    EXPECT_EQ(functions[11].minArgs, 4);
    EXPECT_EQ(functions[11].maxArgs, 13);
}

// What a script gets wrong is told by the host's own call of
// Tessary_LastWarnings, about the last other call only.
TEST_F(PluginSpine, LastWarningsThroughTheHost) {
    ASSERT_EQ(host.startup(60, FMAppServer), hostcore::kStartupSuccess);
    struct Case {
        const wchar_t *function;
        std::vector<std::wstring> args;
        std::wstring warnings;
    } cases[] = {
        {L"Tessary_SetInputTypes", {L"Edit", L"dateDD"},
         L"Tessary_SetInputTypes: argument 1 \"Edit\" is no input kind; kinds are case-sensitive: \"edit\"\r"
         L"Tessary_SetInputTypes: argument 2 \"dateDD\" is no input kind; kinds are case-sensitive: \"datedd\""},
        {L"Tessary_DoList",
         {L"Multi", L"1", L"", L"", L"", L"T", L"", L"a|b|", L"", L"OK", L""},
         L"Tessary_DoList: option \"Multi\" is none of its keywords; keywords are case-sensitive: \"multi\""},
        {L"Tessary_DoDialog", {L"", L"T", L"", L"OK", L"", L"", L"", L"", L"", L"", L"", L"x", L"y"},
         L"Tessary_DoDialog: argument 12 is not read: \"x\"\rTessary_DoDialog: argument 13 is not read: \"y\""},
        {L"Tessary_Version", {L"short"}, L""},
    };
    for (const Case &c : cases) {
        const std::string what(c.function, c.function + wcslen(c.function));
        EXPECT_EQ(host.call(c.function, c.args).code, 0) << what;
        const hostcore::CallResult r = host.call(L"Tessary_LastWarnings", {});
        EXPECT_EQ(r.status, hostcore::CallStatus::Called) << what;
        EXPECT_EQ(r.text, c.warnings) << what;
    }
}

TEST_F(PluginSpine, VersionThroughTheHost) {
    ASSERT_EQ(host.startup(60), hostcore::kStartupSuccess);
    struct Case {
        const wchar_t *format;
        const wchar_t *expected;
    } cases[] = {{L"", L"0.55"},          {L"short", L"0.55"}, {L"long", L"Tessary Plug-In 0.55"},
                 {L"platform", L"Windows"}, {L"LONG", L""},    {L"versions", L""}};
    for (const Case &c : cases) {
        hostcore::CallResult r = host.call(L"Tessary_Version", {c.format});
        EXPECT_EQ(r.status, hostcore::CallStatus::Called);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.text, c.expected) << "format \"" << std::string(c.format, c.format + wcslen(c.format)) << "\"";
    }

    wchar_t computer[256];
    DWORD size = 256;
    ASSERT_TRUE(GetComputerNameW(computer, &size));
    EXPECT_EQ(host.call(L"Tessary_Version", {L"ComputerName"}).text, std::wstring(computer, size));
    std::wstring user = host.call(L"Tessary_Version", {L"LoginUsername"}).text;
    EXPECT_FALSE(user.empty());
    EXPECT_EQ(user.find(L"Error: "), std::wstring::npos) << "the user lookup failed";

    EXPECT_EQ(host.call(L"Tessary_Version", {}).status, hostcore::CallStatus::TooFewArguments);
    EXPECT_EQ(host.call(L"Tessary_Version", {L"long", L"x"}).status, hostcore::CallStatus::TooManyArguments);
}

TEST_F(PluginSpine, AFailingHostCallIsReportedAsAnErrorCode) {
    ASSERT_EQ(host.startup(60), hostcore::kStartupSuccess);
    FMW_Test_FailCall("FM_Data_SetAsText", 1, FMErrorGeneral);
    hostcore::CallResult r = host.call(L"Tessary_Version", {L"long"});
    EXPECT_EQ(r.status, hostcore::CallStatus::Called);
    EXPECT_EQ(r.code, FMErrorGeneral);

    FMW_Test_FailCall("FM_Text_Constructor1", 1, FMErrorOutOfMemory);
    r = host.call(L"Tessary_Version", {L"long"});
    EXPECT_EQ(r.code, FMErrorOutOfMemory);
    EXPECT_FALSE(r.isText);

    // The plug-in and the host both go on working.
    EXPECT_EQ(host.call(L"Tessary_Version", {L"long"}).text, L"Tessary Plug-In 0.55");
}
