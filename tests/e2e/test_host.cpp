// The host layer against the small test plug-in (host/testplugin): loading,
// start-up results, get-string buffers, argument-count enforcement, text and
// binary results, scripts, shut-down and unloading.
#include "hostcore.h"
#include "tests/e2e/support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using e2e::binDir;
using e2e::narrow;

std::wstring testPlugin() { return binDir() + L"\\TestPlugin" + hostcore::kPluginSuffix; }

std::string registryLog() {
    char log[512];
    FMW_Registry_Log(log, sizeof log);
    return log;
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        FMW_Registry_Clear();
        FMW_Test_Reset();
    }
    void TearDown() override { FMW_Test_Reset(); }

    void start(hostcore::PluginHost& host) {
        std::wstring error;
        ASSERT_TRUE(host.load(testPlugin(), &error)) << narrow(error);
        ASSERT_EQ(host.startup(), hostcore::kStartupSuccess);
    }
};

TEST_F(HostTest, LoadFailuresSayWhy) {
    struct Case {
        std::wstring path;
        const char* expectedError;
    };
    const Case cases[] = {
        {binDir() + L"\\missing.fmx", "cannot load"},
        {binDir() + L"\\FMWrapper.dll", "exports no FMExternCallProc"},
    };
    for (const Case& c : cases) {
        hostcore::PluginHost host;
        std::wstring error;
        EXPECT_FALSE(host.load(c.path, &error)) << narrow(c.path);
        EXPECT_NE(narrow(error).find(c.expectedError), std::string::npos)
            << "expected \"" << c.expectedError << "\" in \"" << narrow(error) << "\"";
        EXPECT_FALSE(host.loaded());
        EXPECT_EQ(host.call(L"Test_Echo", {L"a"}).status, hostcore::CallStatus::NotLoaded);
    }
}

TEST_F(HostTest, StartupResultComesFromTheResultFieldAndRegistersTheFunctions) {
    struct Case {
        int16_t version;
        int32_t result;
        std::size_t functions;
    };
    const int32_t ok = sizeof(void*) == 8 ? 53 : 51;
    const Case cases[] = {{49, -1, 0}, {50, ok, 3}, {-5, -1, 0}, {60, ok, 3}};
    for (const Case& c : cases) {
        FMW_Registry_Clear();
        hostcore::PluginHost host;
        ASSERT_TRUE(host.load(testPlugin()));
        EXPECT_EQ(host.block().instanceId, host.module());
        EXPECT_EQ(host.startup(c.version), c.result) << "version " << c.version;
        EXPECT_EQ(host.block().extnVersion, c.version);
        EXPECT_EQ(host.functions().size(), c.functions) << "version " << c.version;
    }

    FMW_Registry_Clear();
    FMW_Test_RefuseRegistration(2);
    hostcore::PluginHost host;
    ASSERT_TRUE(host.load(testPlugin()));
    EXPECT_EQ(host.startup(), -2);
    EXPECT_TRUE(host.functions().empty());
    EXPECT_EQ(registryLog(), "R1 R2 U1");
}

TEST_F(HostTest, FunctionsListTheRegistryOfTheLoadedModule) {
    hostcore::PluginHost host;
    start(host);
    const std::vector<hostcore::FunctionInfo> functions = host.functions();
    ASSERT_EQ(functions.size(), 3u);
    struct Expected {
        int16_t id;
        const wchar_t* name;
        const wchar_t* prototype;
        int16_t minArgs, maxArgs;
    };
    const Expected expected[] = {
        {1, L"Test_Echo", L"Test_Echo( a ; b ; c )", 1, 3},
        {2, L"Test_Blob", L"Test_Blob( mode ) ", 0, 1},
        {3, L"Test_Calls", L"Test_Calls", 0, 0},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(functions[i].pluginId, "TSTP");
        EXPECT_EQ(functions[i].id, expected[i].id);
        EXPECT_EQ(narrow(functions[i].name), narrow(expected[i].name));
        EXPECT_EQ(narrow(functions[i].prototype), narrow(expected[i].prototype)) << "trailing space kept";
        EXPECT_EQ(functions[i].minArgs, expected[i].minArgs) << narrow(expected[i].name);
        EXPECT_EQ(functions[i].maxArgs, expected[i].maxArgs) << narrow(expected[i].name);
        EXPECT_EQ(functions[i].flags, 0xFF01u);
    }
}

TEST_F(HostTest, GetStringReportsWhatTheBufferHolds) {
    hostcore::PluginHost host;
    start(host);
    struct Case {
        uint8_t selector;
        uint32_t bufferSize;
        bool written, terminated;
        const char* text;
        uint32_t overrun;
    };
    const Case cases[] = {
        {FMStringName, 1024, true, true, "Test Plug-In", 0},
        {FMStringName, 5, true, true, "Test", 0},
        {FMStringName, 0, false, false, "", 0},
        {FMStringOptions, 12, true, true, "TSTP1nnYnnn", 0},
        {FMStringOptions, 5, true, false, "TSTP1", 7}, // twelve units into five
        {200, 64, false, false, "", 0},
    };
    for (const Case& c : cases) {
        const hostcore::StringResult r = host.getString(c.selector, c.bufferSize);
        const std::string what = "selector " + std::to_string(c.selector) + " size " + std::to_string(c.bufferSize);
        EXPECT_EQ(r.written, c.written) << what;
        EXPECT_EQ(r.terminated, c.terminated) << what;
        EXPECT_EQ(narrow(r.text), c.text) << what;
        EXPECT_EQ(r.overrun, c.overrun) << what;
        EXPECT_EQ(r.units.size(), c.bufferSize) << what;
    }

    // Selectors without a meaning leave every byte of the block as it was.
    for (uint8_t selector : {1, 2, 3, 5, 6, 8, 255}) {
        host.block().whichCall = selector;
        FMExternCallStruct before;
        std::memcpy(&before, &host.block(), sizeof before);
        host.send(selector);
        EXPECT_EQ(std::memcmp(&before, &host.block(), sizeof before), 0) << "selector " << int(selector);
    }
}

TEST_F(HostTest, CallsEnforceArgumentCountsAndReturnTheResult) {
    hostcore::PluginHost host;
    start(host);
    using S = hostcore::CallStatus;
    struct Case {
        const wchar_t* name;
        std::vector<std::wstring> args;
        S status;
        int16_t code;
        bool isText;
        std::wstring text;
    };
    const Case cases[] = {
        {L"Test_Echo", {L"a"}, S::Called, 0, true, L"a"},
        {L"Test_Echo", {L"a", L"b\r", L"\U0001F600"}, S::Called, 0, true, L"a|b\r|\U0001F600"},
        {L"Test_Echo", {}, S::TooFewArguments, 0, false, L""},
        {L"Test_Echo", {L"1", L"2", L"3", L"4"}, S::TooManyArguments, 0, false, L""},
        {L"test_ECHO", {L""}, S::Called, 0, true, L""},
        {L"Test_Nope", {}, S::UnknownFunction, 0, false, L""},
        {L"Test_Blob", {L"fail"}, S::Called, 7, false, L""},
        {L"Test_Calls", {L"x"}, S::TooManyArguments, 0, false, L""},
        // Four handler calls so far: the refused calls never reached it.
        {L"Test_Calls", {}, S::Called, 0, true, L"4"},
    };
    for (const Case& c : cases) {
        const hostcore::CallResult r = host.call(c.name, c.args);
        const std::string what = narrow(c.name) + " with " + std::to_string(c.args.size()) + " arguments";
        EXPECT_EQ(static_cast<int>(r.status), static_cast<int>(c.status)) << what;
        EXPECT_EQ(r.code, c.code) << what;
        EXPECT_EQ(r.isText, c.isText) << what;
        EXPECT_EQ(r.text, c.text) << what << ": got \"" << narrow(r.text) << "\"";
        EXPECT_FALSE(r.isBinary) << what;
    }
}

TEST_F(HostTest, BinaryResultsCarryTheirStreamsAndHandlesAreReturned) {
    hostcore::PluginHost host;
    start(host);
    const int32_t handlesBefore = FMW_LiveHandles();
    const hostcore::CallResult r = host.call(L"Test_Blob", {});
    ASSERT_EQ(r.status, hostcore::CallStatus::Called);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.isBinary);
    EXPECT_FALSE(r.isText);
    ASSERT_EQ(r.streams.size(), 2u);
    EXPECT_EQ(r.streams[0].type, "PNGf");
    EXPECT_EQ(r.streams[0].bytes, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(r.streams[1].type, "SIZE");
    EXPECT_EQ(r.streams[1].bytes, (std::vector<uint8_t>{0, 10, 0, 10}));
    EXPECT_EQ(FMW_LiveHandles(), handlesBefore) << "the plug-in disposed of its handle";

#if FMW_BLOCK_HAS_HANDLES
    FMW_Test_FailHandleAllocation(1);
    const hostcore::CallResult failed = host.call(L"Test_Blob", {});
    EXPECT_EQ(failed.code, 1) << "the memory error of the block's entry at 68";
    EXPECT_FALSE(failed.isBinary);
#endif
}

TEST_F(HostTest, EvaluatePrintsOneLinePerStatementAndSavesStreams) {
    hostcore::PluginHost host;
    start(host);
    const std::wstring dir = binDir() + L"\\host_test_streams";
    CreateDirectoryW(dir.c_str(), nullptr);
    DeleteFileW((dir + L"\\3-PNGf.png").c_str());
    hostcore::EvalOptions options;
    options.saveStreamsDir = dir;
    std::ostringstream out;
    const calc::ScriptSummary summary = host.evaluate(
        "Test_Echo( \"a\xC2\xB6" "b\" ;\n    Test_Calls() )\n"
        "Test_Echo( )\n"
        "Test_Blob()\n"
        "Test_Blob( \"fail\" )\n",
        out, options);
    EXPECT_EQ(out.str(),
              "Test_Echo( \"a\xC2\xB6" "b\" ; Test_Calls() ) \xE2\x86\x92 \"a\xC2\xB6" "b|0\"\n"
              "line 3, column 1: Test_Echo takes 1 to 3 arguments, not 0\n"
              "Test_Blob() \xE2\x86\x92 container PNGf 3 bytes, SIZE 4 bytes\n"
              "Test_Blob( \"fail\" ) \xE2\x86\x92 error 7\n");
    EXPECT_EQ(summary.statements, 4);
    EXPECT_EQ(summary.failed, 2);

    std::ifstream png(narrow(dir + L"\\3-PNGf.png"), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, (std::vector<char>{1, 2, 3})) << "3-PNGf.png";
    EXPECT_EQ(narrow(hostcore::streamFileName(12, "JPEG")), "12-JPEG.jpg");
    EXPECT_EQ(narrow(hostcore::streamFileName(2, "a/b?")), "2-a_b_.bin");
}

TEST_F(HostTest, ShutdownUnregistersAndUnloadingAStartedPluginShutsItDown) {
    {
        hostcore::PluginHost host;
        start(host);
        host.shutdown();
        EXPECT_TRUE(host.functions().empty());
        EXPECT_EQ(registryLog(), "R1 R2 R3 U3 U2 U1");
        host.unload();
        EXPECT_FALSE(host.loaded());
        EXPECT_EQ(registryLog(), "R1 R2 R3 U3 U2 U1") << "no second shut-down";
    }
    FMW_Registry_Clear();
    {
        hostcore::PluginHost host;
        start(host);
    } // the destructor
    EXPECT_EQ(registryLog(), "R1 R2 R3 U3 U2 U1");
    EXPECT_EQ(FMW_Registry_Count(), 0u);
}

}  // namespace
