// The soak: one process calls the plug-in's 25 functions thousands of times
// through the host, with arguments from a seeded generator, valid and hostile,
// while a random user answers every dialog and pokes the progress window in
// between. It fails on a crash, a hang, an exception that reaches the host, a
// result out of its format, or growth of private memory, windows or the
// plug-in's live fonts from the first calls to the last.
//
//     soak [--calls N] [--seed S] [--from K] [--trace 1]
//
// Without --seed the seed comes from the clock; it is printed first, and the
// same seed gives the same calls again. --from K draws the calls before call
// K without making them, to replay one call quickly (the plug-in then starts
// from a state the full run would not have); --trace 1 writes each step of
// the user to standard error.
#include "calls.h"
#include "user.h"

#include "driver/dialog_driver.h"
#include "hostcore.h"
#include "import_patch.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using soak::Call;
using soak::Rng;

// How far the figures of the last calls may lie above those of the first:
// room for caches that fill once (a font the system keeps, a heap that has
// grown to its working size), far below what one leak per call would add.
constexpr double kMemoryBoundMiB = 1.0;
constexpr long kWindowBound = 4;
constexpr long kFontBound = 2;
constexpr unsigned kDialogLimitMs = 30000;  // the driver ends a dialog open this long
constexpr DWORD kHangMs = 180000;           // no call may take this long

// ---- what the process holds ---------------------------------------------

typedef HFONT(WINAPI *CreateFontIndirectWFn)(const LOGFONTW *);
typedef BOOL(WINAPI *DeleteObjectFn)(HGDIOBJ);
CreateFontIndirectWFn realCreateFont = nullptr;
DeleteObjectFn realDeleteObject = nullptr;
std::set<HGDIOBJ> liveFonts;  // made by the plug-in and not deleted yet

HFONT WINAPI countingCreateFont(const LOGFONTW *description) {
    HFONT font = realCreateFont(description);
    if (font != nullptr) liveFonts.insert(font);
    return font;
}

BOOL WINAPI countingDeleteObject(HGDIOBJ object) {
    liveFonts.erase(object);
    return realDeleteObject(object);
}

// Committed private pages, from the address space itself: Wine leaves the
// private-usage counter of GetProcessMemoryInfo at 0. Heaps keep the pages
// they once grew to, so this is a high-water mark.
double privateMiB() {
    size_t bytes = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char *at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char *>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
        if (static_cast<const char *>(region.BaseAddress) + region.RegionSize < at) break;
    }
    return double(bytes) / (1024.0 * 1024.0);
}

// Bytes allocated and not freed in each heap of the process: what a leak
// adds to, where the committed pages also hold what a megabyte call once
// needed and gave back.
std::map<HANDLE, size_t> heapBytesInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(DWORD(heaps.size()), heaps.data()));
    std::map<HANDLE, size_t> bytes;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        size_t &inUse = bytes[heap];
        while (HeapWalk(heap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) inUse += entry.cbData;
        }
        HeapUnlock(heap);
    }
    return bytes;
}

// The C runtime's heap holds every allocation of the plug-in (and of this
// program and the host layer), the other heaps the system libraries' own:
// Wine's caches of fonts, glyphs, icons and shell folders, which grow with
// what the calls have shown and are no allocation of the plug-in.
HANDLE crtHeap() {
    static HANDLE found = nullptr;
    if (found == nullptr) {
        void *probe = std::malloc(16);
        for (const auto &heap : heapBytesInUse()) {
            if (HeapValidate(heap.first, 0, probe) != FALSE) found = heap.first;
        }
        std::free(probe);
    }
    return found;
}

struct HeapUse {
    double crtMiB = 0;    // the C runtime heap
    double otherMiB = 0;  // every other heap
};

HeapUse heapInUse() {
    HeapUse use;
    for (const auto &heap : heapBytesInUse()) {
        (heap.first == crtHeap() ? use.crtMiB : use.otherMiB) += double(heap.second) / (1024.0 * 1024.0);
    }
    return use;
}

// Which heap grew: the C runtime's (the plug-in's and this program's own
// allocations), the process heap (the system's libraries), or another.
void reportHeapGrowth(const std::map<HANDLE, size_t> &before, const std::map<HANDLE, size_t> &after) {
    for (const auto &heap : after) {
        auto was = before.find(heap.first);
        const long long grown = (long long)heap.second - (was == before.end() ? 0 : (long long)was->second);
        if (grown == 0) continue;
        const char *name = heap.first == GetProcessHeap() ? "process heap"
                           : heap.first == crtHeap()      ? "C runtime heap"
                                                          : "other heap";
        std::printf("soak:   %-16s %+lld bytes in use\n", name, grown);
    }
}

// The progress window stays open between calls by design, and comes and goes
// with the script's commands: its window, its controls and their fonts are
// counted apart, so that the counts compared are what calls leave behind.
struct Holdings {
    long windows = 0;         // of the process, the progress window's not counted
    long fonts = 0;           // live fonts of the plug-in that no progress control uses
    bool progressOpen = false;
};

bool isProgressWindow(HWND hwnd) {
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && std::wcscmp(className, L"#32770") == 0;
}

struct Census {
    long windows = 0;
    std::set<HGDIOBJ> progressFonts;
    bool progressOpen = false;
};

BOOL CALLBACK countChild(HWND, LPARAM census) {
    ++reinterpret_cast<Census *>(census)->windows;
    return TRUE;
}

BOOL CALLBACK noteProgressFont(HWND child, LPARAM census) {
    reinterpret_cast<Census *>(census)->progressFonts.insert(HGDIOBJ(SendMessageW(child, WM_GETFONT, 0, 0)));
    return TRUE;
}

BOOL CALLBACK countProcessWindow(HWND hwnd, LPARAM data) {
    Census &census = *reinterpret_cast<Census *>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    if (isProgressWindow(hwnd)) {
        census.progressOpen = true;
        noteProgressFont(hwnd, data);
        EnumChildWindows(hwnd, noteProgressFont, data);
        return TRUE;
    }
    ++census.windows;
    EnumChildWindows(hwnd, countChild, data);
    return TRUE;
}

Holdings holdings() {
    Census census;
    EnumWindows(countProcessWindow, reinterpret_cast<LPARAM>(&census));
    Holdings h;
    h.windows = census.windows;
    h.progressOpen = census.progressOpen;
    for (HGDIOBJ font : liveFonts) {
        if (census.progressFonts.count(font) == 0) ++h.fonts;
    }
    return h;
}

struct Sample {
    double memoryMiB;   // bytes in use in the C runtime heap
    double systemMiB;   // bytes in use in the system's heaps
    double privateMiB;  // committed private pages
    long windows;
    long fonts;
};

// ---- crashes and hangs ----------------------------------------------------

uint64_t seed = 0;
volatile LONG callIndex = -1;        // the call under way
std::string currentCall;             // its description, for the last words
volatile DWORD callStartedAt = 0;

LONG WINAPI lastWords(EXCEPTION_POINTERS *info) {
    std::fprintf(stderr, "soak: CRASH, exception 0x%08lx in call %ld: %s\nsoak: replay with --seed %llu\n",
                 info->ExceptionRecord->ExceptionCode, long(callIndex), currentCall.c_str(),
                 static_cast<unsigned long long>(seed));
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI hangWatch(void *) {
    for (;;) {
        Sleep(1000);
        const DWORD started = callStartedAt;
        if (started != 0 && GetTickCount() - started > kHangMs) {
            std::fprintf(stderr, "soak: HANG, call %ld has run for %lu s: %s\nsoak: replay with --seed %llu\n",
                         long(callIndex), kHangMs / 1000, currentCall.c_str(), static_cast<unsigned long long>(seed));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

// ---- results ----------------------------------------------------------------

bool allDigits(const std::wstring &s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool isPosition(const std::wstring &s) {
    size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        size_t end = part < 3 ? s.find(L'|', start) : s.size();
        if (end == std::wstring::npos) return false;
        std::wstring n = s.substr(start, end - start);
        if (!n.empty() && n[0] == L'-') n.erase(0, 1);
        if (!allDigits(n)) return false;
        start = end + 1;
    }
    return true;
}

bool isColour(const std::wstring &s) {
    if (s.size() != 9 || !allDigits(s)) return false;
    for (int i = 0; i < 9; i += 3) {
        if (std::stoi(s.substr(size_t(i), 3)) > 255) return false;
    }
    return true;
}

// What is wrong with the answer to `c`; empty when it keeps its format.
std::string checkResult(const Call &c, const hostcore::CallResult &r) {
    if (r.status != hostcore::CallStatus::Called) return "the host did not call the function";
    if (c.function == L"Tessary_CreateColor") {
        if (r.code != 0 || !r.isBinary || r.streams.size() != 3) return "no swatch of three streams";
        if (r.streams[0].type != "JPEG" || r.streams[0].bytes.size() != 631) return "no 631-byte JPEG stream first";
        if (r.streams[1].type != "PNGf" || r.streams[1].bytes.size() != 116) return "no 116-byte PNG stream second";
        if (r.streams[2].type != "SIZE" || r.streams[2].bytes.size() != 4) return "no 4-byte SIZE stream third";
        return "";
    }
    if (r.code != 0) return "error code " + std::to_string(r.code);
    if (!r.isText) return "no text result";
    const std::wstring &t = r.text;
    const std::wstring &f = c.function;
    if (!c.buttonResults.empty() || f == L"Tessary_CustomDialog") {
        // Markup without a button shows nothing and says so.
        const bool known = t.empty() || std::find(c.buttonResults.begin(), c.buttonResults.end(), t) != c.buttonResults.end() ||
                           (c.buttonResults.empty() && t == L"Error: At least one button must be specified");
        return known ? "" : "the answer " + soak::describe(t) + " names no button of the dialog";
    }
    if (f == L"Tessary_ProgressBar") {
        const bool cancelledAsked = c.args[0].find(L"cancelled") != std::wstring::npos;
        return t.empty() || (t == L"1" && cancelledAsked) ? "" : "progress command answered " + soak::describe(t);
    }
    if (f == L"Tessary_GetPosition") return isPosition(t) ? "" : "position " + soak::describe(t);
    if (f == L"Tessary_LastWarnings") {
        // Lines apart by CR, each naming the function it is about.
        size_t start = 0;
        while (start < t.size()) {
            size_t end = t.find(L'\r', start);
            if (end == std::wstring::npos) end = t.size();
            const std::wstring line = t.substr(start, end - start);
            if (line.rfind(L"Tessary_", 0) != 0 || line.find(L": ") == std::wstring::npos) {
                return "warning line " + soak::describe(line);
            }
            start = end + 1;
        }
        return "";
    }
    if (f == L"Tessary_ColorPicker") return t.empty() || isColour(t) ? "" : "colour " + soak::describe(t);
    if (f == L"Tessary_Version") {
        static const std::map<std::wstring, std::wstring> fixed{{L"", L"0.55"}, {L"short", L"0.55"},
                                                                {L"long", L"Tessary Plug-In 0.55"},
                                                                {L"platform", L"Windows"}, {L"x", L""}};
        auto known = fixed.find(c.args[0]);
        return known == fixed.end() || known->second == t ? "" : "version " + soak::describe(t);
    }
    static const std::set<std::wstring> quiet{L"Tessary_SetLabels", L"Tessary_SetInputTypes", L"Tessary_SetDefaultInputs",
                                              L"Tessary_SetPosition", L"Tessary_SetFont", L"Tessary_Calendar",
                                              L"Tessary_System"};
    if (quiet.count(f) != 0 && !t.empty()) return "answered " + soak::describe(t) + " instead of \"\"";
    return "";
}

std::string narrow(const std::wstring &s) {
    std::string out;
    for (wchar_t ch : s) out += ch < 0x80 ? char(ch) : '?';
    return out;
}

std::string describeCall(const Call &c) {
    std::string out = narrow(c.function) + "(";
    for (size_t i = 0; i < c.args.size(); ++i) out += (i ? " ; " : " ") + soak::describe(c.args[i]);
    return out + " )";
}

// The median: a call with megabyte arguments lifts the heap for a while, and
// one such call in a stretch must not decide the comparison.
double medianMemory(const std::vector<Sample> &s, size_t from, size_t to, double Sample::*field) {
    std::vector<double> m;
    for (size_t i = from; i < to; ++i) m.push_back(s[i].*field);
    std::nth_element(m.begin(), m.begin() + long(m.size() / 2), m.end());
    return m[m.size() / 2];
}

long maxOf(const std::vector<Sample> &s, size_t from, size_t to, long Sample::*field) {
    long m = 0;
    for (size_t i = from; i < to; ++i) m = std::max(m, s[i].*field);
    return m;
}

}  // namespace

int main(int argc, char **argv) {
    long calls = 10000;
    long from = 0;
    seed = uint64_t(GetTickCount64()) ^ (uint64_t(GetCurrentProcessId()) << 32);
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--calls") == 0) calls = std::atol(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0) seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (std::strcmp(argv[i], "--from") == 0) from = std::atol(argv[i + 1]);
        else if (std::strcmp(argv[i], "--trace") == 0) soak::traceUser = std::strcmp(argv[i + 1], "1") == 0;
    }
    if (calls < 10 || from < 0 || from >= calls) {
        std::fprintf(stderr, "usage: soak [--calls N (at least 10)] [--seed S] [--from K (below N)]\n");
        return 2;
    }
    std::printf("soak: seed %llu, %ld calls\n", static_cast<unsigned long long>(seed), calls);
    std::fflush(stdout);
    SetUnhandledExceptionFilter(lastWords);
    std::set_terminate([] {
        std::fprintf(stderr, "soak: CRASH, std::terminate in call %ld: %s\n", long(callIndex), currentCall.c_str());
        std::fflush(stderr);
        std::_Exit(4);
    });

    hostcore::PluginHost host;
    std::wstring error;
    if (!host.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error)) {
        std::fprintf(stderr, "soak: cannot load the plug-in: %s\n", narrow(error).c_str());
        return 2;
    }
    if (host.startup(60) != hostcore::kStartupSuccess) {
        std::fprintf(stderr, "soak: the plug-in did not start\n");
        return 2;
    }
    HMODULE plugin = static_cast<HMODULE>(host.module());
    realCreateFont = reinterpret_cast<CreateFontIndirectWFn>(
        e2e::patchImport(plugin, "gdi32.dll", "CreateFontIndirectW", reinterpret_cast<void *>(countingCreateFont)));
    realDeleteObject = reinterpret_cast<DeleteObjectFn>(
        e2e::patchImport(plugin, "gdi32.dll", "DeleteObject", reinterpret_cast<void *>(countingDeleteObject)));
    if (realCreateFont == nullptr || realDeleteObject == nullptr) {
        std::fprintf(stderr, "soak: the plug-in imports no CreateFontIndirectW or DeleteObject to count\n");
        return 2;
    }
    const std::vector<hostcore::FunctionInfo> functions = host.functions();
    if (functions.size() != 25) {
        std::fprintf(stderr, "soak: the plug-in registered %zu functions, not 25\n", functions.size());
        return 2;
    }
    long strays = 0;  // dialogs over a dialog (a chooser's own questions), ended unanswered
    driver::endUnanswered([&](const std::wstring &) { ++strays; });
    CreateThread(nullptr, 0, hangWatch, nullptr, 0, nullptr);

    Rng rng(seed);
    std::vector<Sample> samples;
    samples.reserve(size_t(calls));  // its own growth would count as the plug-in's
    std::map<HANDLE, size_t> heapsEarly;  // after the calls that the comparison starts from
    struct Tally {
        long calls = 0;
        DWORD ms = 0;
    };
    std::map<std::wstring, Tally> perFunction;
    long dialogs = 0, stuck = 0, userFailures = 0, progressOpenAfter = 0, exceptions = 0, formatFaults = 0, progressCalls = 0, moved = 0, userActions = 0;
    std::vector<std::string> faults;
    const DWORD started = GetTickCount();
    auto fault = [&](long index, const Call &c, const std::string &what) {
        if (faults.size() < 20) faults.push_back("call " + std::to_string(index) + ": " + what + "\n    " + describeCall(c));
    };

    for (long i = 0; i < calls; ++i) {
        // A fifth of the calls drive the progress window between the others.
        const bool progressTurn = rng.chance(20);
        const hostcore::FunctionInfo &info =
            progressTurn ? *std::find_if(functions.begin(), functions.end(),
                                         [](const hostcore::FunctionInfo &f) { return f.name == L"Tessary_ProgressBar"; })
                         : rng.pick(functions);
        Call call = soak::nextCall(rng, info.name, info.minArgs, info.maxArgs);
        if (i < from) continue;
        Rng userRng(seed ^ (uint64_t(i + 1) * 0x9E3779B97F4A7C15ull));
        if (progressTurn) {
            ++progressCalls;
            soak::poke(userRng);
        }

        soak::UserOutcome outcome;
        std::unique_ptr<driver::Session> session;
        if (call.mayShowDialog) {
            session.reset(new driver::Session(
                [&](driver::Dialog &d) { outcome = soak::playUser(d, userRng, call); }, kDialogLimitMs));
        }
        currentCall = describeCall(call);
        if (soak::traceUser) std::fprintf(stderr, "soak: call %ld: %s\n", i, currentCall.c_str());
        callIndex = i;
        const DWORD callStart = GetTickCount();
        callStartedAt = callStart;
        hostcore::CallResult result;
        bool threw = false;
        try {
            result = host.call(call.function, call.args);
        } catch (...) {
            threw = true;
        }
        callStartedAt = 0;
        Tally &tally = perFunction[call.function];
        ++tally.calls;
        tally.ms += GetTickCount() - callStart;

        if (threw) {
            ++exceptions;
            fault(i, call, "an exception reached the host");
        } else {
            const std::string wrong = checkResult(call, result);
            if (!wrong.empty()) {
                ++formatFaults;
                fault(i, call, wrong);
            }
        }
        if (session) {
            if (session->ran()) {
                ++dialogs;
                userActions += outcome.actions;
                if (outcome.movedIntoView) ++moved;
            }
            if (session->watchdogFired() || !outcome.stuck.empty()) {
                ++stuck;
                fault(i, call, "the user could not end the dialog: " + narrow(outcome.stuck));
            }
            if (!session->failure().empty()) {
                ++userFailures;
                fault(i, call, "the user's actions failed: " + narrow(session->failure()));
            }
        }
        driver::pumpMessages(0);
        const Holdings held = holdings();
        const HeapUse heaps = heapInUse();
        samples.push_back(Sample{heaps.crtMiB, heaps.otherMiB, privateMiB(), held.windows, held.fonts});
        if (held.progressOpen) ++progressOpenAfter;
        if (i + 1 - from == std::min<long>(1000, (calls - from) / 5) * (calls - from < 5000 ? 2 : 1)) {
            heapsEarly = heapBytesInUse();
        }
        if (soak::traceUser && (i + 1) % 250 == 0) {
            std::printf("soak: heaps at call %ld against the end of the first stretch:\n", i + 1);
            reportHeapGrowth(heapsEarly, heapBytesInUse());
        }
        if ((i + 1) % 500 == 0 || i + 1 == calls) {
            std::printf("soak: %ld calls, %ld dialogs, %.2f MiB in use by the C runtime, %.2f MiB by the system, "
                        "%.1f MiB private, %ld windows, %ld live fonts, %lu s\n",
                        i + 1, dialogs, samples.back().memoryMiB, samples.back().systemMiB, samples.back().privateMiB, samples.back().windows, samples.back().fonts,
                        (GetTickCount() - started) / 1000);
            std::fflush(stdout);
        }
    }

    // The first thousand calls against the last thousand (a fifth each on
    // shorter runs): what the plug-in holds must not grow with its use.
    // Windows and fonts are counted exactly, so their highest counts are
    // compared; memory by its median.
    const size_t n = samples.size();
    // The system loads its own libraries on their first use (the choosers
    // bring the shell in, megabytes of it), which a short run would count as
    // growth: it compares its second fifth with its last.
    const size_t window = std::max<size_t>(1, std::min<size_t>(1000, n / 5));
    const size_t first = n < 5 * 1000 && n >= 3 * window ? window : 0;
    const double memFirst = medianMemory(samples, first, first + window, &Sample::memoryMiB);
    const double memLast = medianMemory(samples, n - window, n, &Sample::memoryMiB);
    const double systemFirst = medianMemory(samples, first, first + window, &Sample::systemMiB);
    const double systemLast = medianMemory(samples, n - window, n, &Sample::systemMiB);
    const double pagesFirst = medianMemory(samples, first, first + window, &Sample::privateMiB);
    const double pagesLast = medianMemory(samples, n - window, n, &Sample::privateMiB);
    const long winFirst = maxOf(samples, first, first + window, &Sample::windows);
    const long winLast = maxOf(samples, n - window, n, &Sample::windows);
    const long fontFirst = maxOf(samples, first, first + window, &Sample::fonts);
    const long fontLast = maxOf(samples, n - window, n, &Sample::fonts);
    const std::wstring driverFailures = driver::takeFailures();

    std::printf("soak: seed %llu\n", static_cast<unsigned long long>(seed));
    std::printf("soak: %ld calls in %lu s: %ld dialogs answered with %ld user actions (%ld moved back into view), "
                "%ld progress turns, %ld dialogs over dialogs ended\n",
                calls, (GetTickCount() - started) / 1000, dialogs, userActions, moved, progressCalls, strays);
    for (const auto &f : perFunction) {
        std::printf("soak:   %-28s %6ld calls %8.1f s\n", narrow(f.first).c_str(), f.second.calls, f.second.ms / 1000.0);
    }
    // A crash or a hang ends the process before this line, with its own report.
    std::printf("soak: no crash, no hang; exceptions at the host %ld, results out of format %ld, "
                "dialogs nobody could end %ld, failed user actions %ld\n",
                exceptions, formatFaults, stuck, userFailures);
    std::printf("soak: the progress window was open after %ld calls; its window, controls and fonts are not "
                "counted below\n", progressOpenAfter);
    std::printf("soak: calls %zu to %zu against the last %zu: C runtime heap in use (median) %.2f -> %.2f MiB "
                "(bound +%.0f), windows (highest) %ld -> %ld (bound +%ld), live fonts (highest) %ld -> %ld (bound +%ld)\n",
                first + 1, first + window, window, memFirst, memLast, kMemoryBoundMiB, winFirst, winLast, kWindowBound,
                fontFirst, fontLast, kFontBound);
    std::printf("soak: not bounded: the system's heaps in use (median) %.2f -> %.2f MiB, committed private pages "
                "(median) %.1f -> %.1f MiB\n",
                systemFirst, systemLast, pagesFirst, pagesLast);
    std::printf("soak: heaps from the end of the first stretch to the last call:\n");
    reportHeapGrowth(heapsEarly, heapBytesInUse());
    for (const std::string &f : faults) std::printf("soak: FAULT %s\n", f.c_str());
    if (!driverFailures.empty()) std::printf("soak: driver: %s\n", narrow(driverFailures).c_str());

    bool ok = exceptions == 0 && formatFaults == 0 && stuck == 0 && userFailures == 0 && driverFailures.empty();
    if (memLast - memFirst > kMemoryBoundMiB) {
        std::printf("soak: FAULT the C runtime heap in use grew by %.2f MiB\n", memLast - memFirst);
        ok = false;
    }
    if (winLast - winFirst > kWindowBound) {
        std::printf("soak: FAULT the window count grew by %ld\n", winLast - winFirst);
        ok = false;
    }
    if (fontLast - fontFirst > kFontBound) {
        std::printf("soak: FAULT live fonts grew by %ld\n", fontLast - fontFirst);
        ok = false;
    }
    host.shutdown();
    std::printf("soak: after shut-down: %zu live fonts of the plug-in\n", liveFonts.size());
    if (!liveFonts.empty()) ok = false;
    std::printf("soak: %s (seed %llu)\n", ok ? "passed" : "FAILED", static_cast<unsigned long long>(seed));
    return ok ? 0 : 1;
}
