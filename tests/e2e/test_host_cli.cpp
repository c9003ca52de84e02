// fmhost as a person runs it: command lines, standard input and script
// files against the small test plug-in, checking the printed lines and the
// exit status.
#include "hostcore.h"
#include "tests/e2e/support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using e2e::binDir;
using e2e::narrow;

bool writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

std::string readFile(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string out;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) out.append(chunk, got);
    CloseHandle(f);
    return out;
}

struct HostRun {
    DWORD status = 0xFFFFFFFF;
    std::string out, err;
};

// Runs fmhost with a command line (after the program name) and standard
// input; output goes through files so that neither stream can block. A run
// that outlasts waitMs is ended with status 99.
HostRun runHost(const std::wstring& arguments, const std::string& input = std::string(), DWORD waitMs = 60000) {
    const std::wstring dir = binDir();
    // Each run has files of its own: under Wine a host that has just ended
    // may still hold its streams open for a moment, and a file shared with
    // the next run then cannot be opened.
    static unsigned runs = 0;
    const std::wstring stem = dir + L"\\cli_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++runs);
    const std::wstring inPath = stem + L"_in.txt", outPath = stem + L"_out.txt", errPath = stem + L"_err.txt";
    HostRun run;
    if (!writeFile(inPath, input)) {
        run.err = "the input file could not be written: error " + std::to_string(GetLastError());
        return run;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE in = CreateFileW(inPath.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + dir + L"\\fmhost.exe\" " + arguments;
    const bool started =
        CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(), &si, &pi) != FALSE;
    const DWORD startError = started ? 0 : GetLastError();
    if (started) {
        if (WaitForSingleObject(pi.hProcess, waitMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &run.status);
        else TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    run.out = readFile(outPath);
    run.err = started ? readFile(errPath) : "fmhost did not start: error " + std::to_string(startError);
    DeleteFileW(inPath.c_str());
    DeleteFileW(outPath.c_str());
    DeleteFileW(errPath.c_str());
    return run;
}

// The plug-ins of this build's architecture.
const std::wstring kTestPlugin = L"TestPlugin" + std::wstring(hostcore::kPluginSuffix);
const std::wstring kTessaryPlugin = L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix);

const char kHeader[] =
    "name: Test Plug-In\n"
    "description: Loaded by the tests of the host layer.\n"
    "options: TSTP1nnYnnn\n";

TEST(HostProgram, PrintsOneLinePerStatementAndTellsByItsStatus) {
    ASSERT_NE(GetFileAttributesW((binDir() + L"\\fmhost.exe").c_str()), INVALID_FILE_ATTRIBUTES)
        << "fmhost.exe must be built beside this test";
    struct Case {
        std::wstring arguments;
        const char* input;
        DWORD status;
        std::string out;
    };
    const std::string header = kHeader;
    const Case cases[] = {
        {L"--list " + kTestPlugin + L" -e \"Test_Echo( \\\"\u00E9\u00B6\\\" )\"", "", 0,
         header +
             "function 1 Test_Echo 1..3 \"Test_Echo( a ; b ; c )\"\n"
             "function 2 Test_Blob 0..1 \"Test_Blob( mode ) \"\n"
             "function 3 Test_Calls 0..0 \"Test_Calls\"\n"
             "Test_Echo( \"\xC3\xA9\xC2\xB6\" ) \xE2\x86\x92 \"\xC3\xA9\xC2\xB6\"\n"},
        {kTestPlugin + L" -e \"Test_Echo()\" -e \"Test_Echo( 1 ) \"", "", 1,
         header + "line 1, column 1: Test_Echo takes 1 to 3 arguments, not 0\n"
                  "Test_Echo( 1 ) \xE2\x86\x92 \"1\"\n"},
        {kTestPlugin, "# from standard input\r\nTest_Echo( \"x\" ;\r\n  2 )\r\nTest_Blob(\"fail\")\r\n", 1,
         header + "Test_Echo( \"x\" ; 2 ) \xE2\x86\x92 \"x|2\"\n"
                  "Test_Blob(\"fail\") \xE2\x86\x92 error 7\n"},
        {kTestPlugin + L" -f -", "Test_Calls()", 0, header + "Test_Calls() \xE2\x86\x92 \"0\"\n"},
        {L"--extn-version 40 " + kTestPlugin + L" -e \"Test_Calls()\"", "", 2, "start-up result: -1\n"},
        {L"missing.fmx -e \"Test_Calls()\"", "", 2, ""},
        {L"--bogus " + kTestPlugin, "", 2, ""},
        {kTestPlugin + L" -f no_such_script.txt", "", 2, ""},
    };
    for (const Case& c : cases) {
        const HostRun run = runHost(c.arguments, c.input);
        std::string args;
        for (wchar_t ch : c.arguments) args += ch < 0x80 ? static_cast<char>(ch) : '?';
        EXPECT_EQ(run.status, c.status) << args << "\nstderr: " << run.err;
        EXPECT_EQ(run.out, c.out) << args;
    }
}

TEST(HostProgram, ReadsUtf16FilesAndSavesStreams) {
    const std::wstring dir = binDir();
    // "Test_Echo( "日" )" as UTF-16 with a byte order mark.
    const std::wstring script = L"Test_Echo( \"\u65E5\" )\nTest_Blob()\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : script) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    ASSERT_TRUE(writeFile(dir + L"\\cli_script16.txt", bytes));
    DeleteFileW((dir + L"\\cli_streams\\2-SIZE.bin").c_str());

    const HostRun run = runHost(L"--save-streams cli_streams " + kTestPlugin + L" -f cli_script16.txt");
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, std::string(kHeader) + "Test_Echo( \"\xE6\x97\xA5\" ) \xE2\x86\x92 \"\xE6\x97\xA5\"\n"
                                              "Test_Blob() \xE2\x86\x92 container PNGf 3 bytes, SIZE 4 bytes\n");
    EXPECT_EQ(readFile(dir + L"\\cli_streams\\2-SIZE.bin"), std::string("\0\x0A\0\x0A", 4));
    EXPECT_EQ(readFile(dir + L"\\cli_streams\\2-PNGf.png"), std::string("\x01\x02\x03", 3));
}

TEST(HostProgram, AStatementTooLargeForMemoryFailsAndTheNextRuns) {
    // 80 MB of literal outgrows the 32-bit host's address space once decoded
    // and parsed; the failure is that statement's, not the program's.
    if (sizeof(void*) == 8) GTEST_SKIP() << "a 64-bit host has the memory for this statement";
    const std::wstring path = binDir() + L"\\cli_huge.txt";
    ASSERT_TRUE(writeFile(path, "Test_Echo( \"" + std::string(80u << 20, 'x') + "\" )\nTest_Calls()\n"));
    const HostRun run = runHost(kTestPlugin + L" -f cli_huge.txt");
    DeleteFileW(path.c_str());
    EXPECT_EQ(run.status, 1u) << run.err;
    EXPECT_EQ(run.out, std::string(kHeader) + "line 1, column 1: not enough memory for this statement\n"
                                              "Test_Calls() \xE2\x86\x92 \"0\"\n");
}

TEST(HostProgram, EndsADialogThatNobodyCanAnswer) {
    // scripts/wine-run sets TESSARY_UNATTENDED=1 on a display of its own;
    // --unattended says the same. Nobody will click: without the rule the
    // call would wait for good, so a run still going after the bound fails.
    const std::wstring call =
        kTessaryPlugin + L" -e \"Tessary_Dialog( \\\"\\\" ; \\\"Nobody\\\" ; \\\"Hello\\\" ; \\\"OK\\\" )\"";
    for (const bool byEnvironment : {true, false}) {
        SetEnvironmentVariableW(L"TESSARY_UNATTENDED", byEnvironment ? L"1" : nullptr);
        const HostRun run = runHost(byEnvironment ? call : L"--unattended " + call, "", 30000);
        SetEnvironmentVariableW(L"TESSARY_UNATTENDED", nullptr);
        EXPECT_EQ(run.status, 0u) << "by environment: " << byEnvironment << "\nstderr: " << run.err;
        EXPECT_EQ(run.err, "fmhost: no one to answer the dialog \"Nobody\"; closed it\n");
        EXPECT_NE(run.out.find("Tessary_Dialog( \"\" ; \"Nobody\" ; \"Hello\" ; \"OK\" ) \xE2\x86\x92 \"\"\n"),
                  std::string::npos)
            << run.out;
    }
}

}  // namespace
