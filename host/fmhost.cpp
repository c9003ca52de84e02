// fmhost: stands in for the database application. Loads a plug-in, starts
// it, shows what it registered, evaluates calculations and prints one line
// per statement, then shuts the plug-in down and unloads it.
//
//   fmhost [--extn-version N] [--app-type N] [--list] [--save-streams DIR] [--answer CMDS]...
//          [--unattended] [--shot-modeless PNG] PLUGIN.fmx [-e CALC]... [-f FILE]...
//
// With neither -e nor -f the script comes from standard input ("-f -" reads
// it too). Scripts are UTF-8, or UTF-16 with a byte order mark. Output is
// UTF-8. Exit status: 0 every statement ran; 1 a statement had an error;
// 2 nothing ran (bad usage, unreadable script, plug-in not loaded or not
// started).
//
// A dialog waits for its user. On a display nobody looks at (scripts/wine-run
// starts one when there is none and sets TESSARY_UNATTENDED=1) that would be
// forever, so there the dialog driver ends each dialog that no --answer
// script takes, and fmhost says so on standard error.
#include "hostcore.h"

#include "calc/calc.h"
#include "utf.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#if defined(FMHOST_HAS_DRIVER)
#include "driver/dialog_driver.h"
#endif

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitStatementFailed = 1;
constexpr int kExitNotRun = 2;
constexpr unsigned kDriverSettleMs = 100; /* ms: a few of the driver's polls */
constexpr unsigned kModelessSettleMs = 300; /* ms for a modeless window to paint before its picture */

const char kUsage[] =
    "usage: fmhost [--extn-version N] [--app-type N] [--list] [--save-streams DIR] [--answer CMDS]...\n"
    "              [--unattended] [--shot-modeless PNG] PLUGIN.fmx [-e CALC]... [-f FILE]...\n"
    "Loads the plug-in, starts it, and evaluates each statement of the calculations\n"
    "given with -e, in the files given with -f (\"-\" is standard input), or on\n"
    "standard input, printing one line per statement.\n"
    "  --extn-version N   extension version sent at start-up (default 60)\n"
    "  --app-type N       kind of host process sent at start-up, 0 to 255 (default 1,\n"
    "                     the desktop client; 3 is the server)\n"
    "  --list             print every registered function\n"
    "  --save-streams DIR save each stream of a binary result as DIR\\<n>-<TYPE>.<ext>\n"
    "  --answer CMDS      let the dialog driver answer the next dialog (repeatable)\n"
    "  --unattended       nobody is at the screen: end each dialog that no --answer\n"
    "                     script takes at once, as its timer would, with a note on\n"
    "                     stderr (a failure when --answer scripts were given);\n"
    "                     TESSARY_UNATTENDED=1 does the same, and scripts/wine-run\n"
    "                     sets it when it starts a display of its own\n"
    "  --shot-modeless PNG after the last statement, save a picture of the modeless\n"
    "                     window the calls left on screen (the progress window);\n"
    "                     a failure when there is none\n";

struct Source {
    std::string name;   // for messages: "-e 2", a file name, or "stdin"
    std::string script; // UTF-8
};

struct Options {
    int16_t extnVersion = hostcore::kDefaultExtnVersion;
    uint8_t appType = FMAppDesktop;
    bool list = false;
    std::wstring saveStreamsDir;
    std::vector<std::wstring> answers;
    bool unattended = false;
    std::wstring shotModeless; // not empty: save the modeless window's picture here
    std::wstring plugin;
    // In command-line order: true = -e text, false = -f path.
    std::vector<std::pair<bool, std::wstring>> inputs;
};

std::string utf8(const std::wstring& s) {
    return hostutf::toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(s.data()), s.size()));
}

void fail(const std::string& message) { std::cerr << "fmhost: " << message << '\n' << std::flush; }

// Reads all of a handle; false on a read error.
bool readAll(HANDLE handle, std::string* out) {
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handle, chunk, sizeof chunk, &got, nullptr)) {
            return GetLastError() == ERROR_BROKEN_PIPE; // the writer closed: the end
        }
        if (got == 0) return true;
        out->append(chunk, got);
    }
}

// UTF-16 with a byte order mark becomes UTF-8; anything else is UTF-8.
std::string asUtf8(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string units((bytes.size() - 2) / 2, u'\0');
        for (std::size_t i = 0; i < units.size(); ++i)
            units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                             static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        return hostutf::toUtf8(units);
    }
    return bytes;
}

bool readSource(const std::wstring& path, Source* source) {
    const bool stdinRequested = path == L"-";
    source->name = stdinRequested ? "standard input" : utf8(path);
    HANDLE handle = stdinRequested ? GetStdHandle(STD_INPUT_HANDLE)
                                   : CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return false;
    std::string bytes;
    const bool ok = readAll(handle, &bytes);
    if (!stdinRequested) CloseHandle(handle);
    source->script = asUtf8(bytes);
    return ok;
}

// Parses the command line; returns false (after a message) on bad usage.
bool parseArguments(int argc, wchar_t** argv, Options* o, bool* helpOnly) {
    *helpOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == L"--help" || a == L"-h") {
            *helpOnly = true;
            return true;
        } else if (a == L"--list") {
            o->list = true;
        } else if (a == L"--unattended") {
            o->unattended = true;
        } else if ((a == L"--extn-version" || a == L"--app-type" || a == L"--save-streams" || a == L"--answer" ||
                    a == L"--shot-modeless" || a == L"-e" || a == L"-f") && !hasValue) {
            fail(utf8(a) + " needs a value");
            return false;
        } else if (a == L"--extn-version") {
            wchar_t* end = nullptr;
            const long v = std::wcstol(argv[++i], &end, 10);
            if (end == argv[i] || *end != L'\0' || v < -32768 || v > 32767) {
                fail("--extn-version takes a number from -32768 to 32767, not " + utf8(argv[i]));
                return false;
            }
            o->extnVersion = static_cast<int16_t>(v);
        } else if (a == L"--app-type") {
            wchar_t* end = nullptr;
            const long v = std::wcstol(argv[++i], &end, 10);
            if (end == argv[i] || *end != L'\0' || v < 0 || v > 255) {
                fail("--app-type takes a number from 0 to 255, not " + utf8(argv[i]));
                return false;
            }
            o->appType = static_cast<uint8_t>(v);
        } else if (a == L"--save-streams") {
            o->saveStreamsDir = argv[++i];
        } else if (a == L"--answer") {
            o->answers.push_back(argv[++i]);
        } else if (a == L"--shot-modeless") {
            o->shotModeless = argv[++i];
        } else if (a == L"-e") {
            o->inputs.emplace_back(true, argv[++i]);
        } else if (a == L"-f") {
            o->inputs.emplace_back(false, argv[++i]);
        } else if (a.size() > 1 && a[0] == L'-') {
            fail("unknown option " + utf8(a));
            return false;
        } else if (o->plugin.empty()) {
            o->plugin = a;
        } else {
            fail("one plug-in only; unexpected " + utf8(a));
            return false;
        }
    }
    if (o->plugin.empty()) {
        fail("no plug-in given");
        return false;
    }
    return true;
}

bool collectSources(const Options& o, std::vector<Source>* sources) {
    int calcNumber = 0;
    for (const auto& input : o.inputs) {
        Source s;
        if (input.first) {
            s.name = "-e " + std::to_string(++calcNumber);
            s.script = utf8(input.second);
        } else if (!readSource(input.second, &s)) {
            fail("cannot read " + s.name);
            return false;
        }
        sources->push_back(std::move(s));
    }
    if (o.inputs.empty()) {
        Source s;
        if (!readSource(L"-", &s)) {
            fail("cannot read standard input");
            return false;
        }
        sources->push_back(std::move(s));
    }
    return true;
}

bool unattendedByEnvironment() {
    wchar_t value[2] = {};
    return GetEnvironmentVariableW(L"TESSARY_UNATTENDED", value, 2) == 1 && value[0] == L'1';
}

// Dialogs ended because nobody was there to answer them.
int g_unanswered = 0;

bool armAnswers(const Options& o) {
#if defined(FMHOST_HAS_DRIVER)
    for (const std::wstring& commands : o.answers) {
        std::wstring error;
        if (!driver::armScript(commands, &error)) {
            fail("--answer " + utf8(commands) + ": " + utf8(error));
            return false;
        }
    }
    if (o.unattended || unattendedByEnvironment()) {
        driver::endUnanswered([](const std::wstring& caption) {
            fail("no one to answer the dialog \"" + utf8(caption) + "\"; closed it");
            ++g_unanswered;
        });
    }
    return true;
#else
    if (o.answers.empty() && !o.unattended) return true;
    fail("--answer and --unattended need the dialog driver, which this build of fmhost lacks");
    return false;
#endif
}

// Answers that failed while their dialog ran, or that no dialog used, make
// the run a failure: the script did not go as its author meant.
int reportAnswers(bool armed) {
#if defined(FMHOST_HAS_DRIVER)
    // The driver forgets a finished script on its next poll; let it poll.
    if (armed) driver::pumpMessages(kDriverSettleMs);
    int problems = 0;
    const std::wstring failures = driver::takeFailures();
    if (!failures.empty()) {
        fail("dialog driver: " + utf8(failures));
        ++problems;
    }
    if (const std::size_t unused = driver::pendingScripts()) {
        fail(std::to_string(unused) + " --answer script(s) found no dialog");
        ++problems;
    }
    return problems;
#else
    (void)armed;
    return 0;
#endif
}

// A modeless window outlives the call that showed it, so no --answer script
// (which takes the next modal dialog) can picture it; this takes it once the
// calls are done and its painting has settled.
int shootModeless(const std::wstring& path) {
    if (path.empty()) return 0;
#if defined(FMHOST_HAS_DRIVER)
    driver::pumpMessages(kModelessSettleMs);
    std::optional<driver::Dialog> window = driver::findModeless();
    if (window && window->savePng(path)) return 0;
    fail("--shot-modeless: no modeless window to picture");
#else
    fail("--shot-modeless needs the dialog driver, which this build of fmhost lacks");
#endif
    return 1;
}

std::string describeMax(int16_t maxArgs) { return maxArgs < 0 ? "*" : std::to_string(maxArgs); }

void printPlugin(hostcore::PluginHost& host, bool list) {
    std::cout << "name: " << utf8(host.getString(FMStringName).text) << '\n'
              << "description: " << utf8(host.getString(FMStringDescription).text) << '\n'
              << "options: " << utf8(host.getString(FMStringOptions).text) << '\n';
    if (list) {
        for (const hostcore::FunctionInfo& f : host.functions()) {
            const std::wstring& p = f.prototype;
            std::cout << "function " << f.id << ' ' << utf8(f.name) << ' ' << f.minArgs << ".."
                      << describeMax(f.maxArgs) << ' '
                      << calc::quoteText(std::u16string(p.begin(), p.end())) << '\n';
        }
    }
    std::cout << std::flush;
}

int run(const Options& o) {
    std::vector<Source> sources;
    if (!collectSources(o, &sources)) return kExitNotRun;
    if (!o.saveStreamsDir.empty() && !CreateDirectoryW(o.saveStreamsDir.c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
        fail("cannot create " + utf8(o.saveStreamsDir));
        return kExitNotRun;
    }

    hostcore::PluginHost host;
    std::wstring error;
    if (!host.load(o.plugin, &error)) {
        fail(utf8(error));
        return kExitNotRun;
    }
    const int32_t started = host.startup(o.extnVersion, o.appType);
    if (started != hostcore::kStartupSuccess) {
        std::cout << "start-up result: " << started << '\n' << std::flush;
        return kExitNotRun;
    }
    printPlugin(host, o.list);
    if (!armAnswers(o)) return kExitNotRun;

    hostcore::EvalOptions eval;
    eval.saveStreamsDir = o.saveStreamsDir;
    int failed = 0;
    for (const Source& s : sources) {
        const calc::ScriptSummary summary = host.evaluate(s.script, std::cout, eval);
        eval.firstNumber += summary.statements;
        failed += summary.failed;
    }
    // Before shut-down: the plug-in's windows may still need their messages.
    failed += shootModeless(o.shotModeless);
    failed += reportAnswers(!o.answers.empty());
    // Scripts given to answer the dialogs missed one: not what their author meant.
    if (!o.answers.empty()) failed += g_unanswered;
    host.shutdown();
    host.unload();
    return failed == 0 ? kExitSuccess : kExitStatementFailed;
}

}  // namespace

int main() {
    // Bytes out as they are: the lines are UTF-8 and end in LF alone.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr) {
        fail("cannot read the command line");
        return kExitNotRun;
    }
    Options options;
    bool helpOnly = false;
    int status = kExitNotRun;
    if (!parseArguments(argc, argv, &options, &helpOnly)) {
        std::cerr << kUsage << std::flush;
    } else if (helpOnly) {
        std::cout << kUsage << std::flush;
        status = kExitSuccess;
    } else {
        status = run(options);
    }
    LocalFree(argv);
    return status;
}
