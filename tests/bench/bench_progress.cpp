// Steps a shown progress window through the host and, in the same run, a
// bare progress bar: how much one Tessary_ProgressBar "incr" costs over what
// Windows itself needs to move a bar.
//
//   bench_progress [CALLS]     default 10000
//
// Each figure is the median of three runs of CALLS steps, in milliseconds:
//   incr        CALLS calls of Tessary_ProgressBar( "incr" ) through the host
//               on a shown window of CALLS steps;
//   incr+timer  the same on a window shown with "timer=60", whose every step
//               restarts the hide timer;
//   incr, fine  the same on a bar of 1,000 times as many steps, where no step
//               moves the fill by a pixel: what a call costs besides painting;
//   bare        CALLS times: the argument "incr" read through FMWrapper as the
//               plug-in reads it (FM_DataVect_AtAsText, FM_Text_GetSize,
//               FM_Text_GetBytes into a 256-byte buffer), then one PBM_SETPOS
//               to a visible progress bar of the same size and range;
//   host call   CALLS calls through the host of a function that only reads
//               its argument and answers "" (Tessary_Calendar): what the host
//               spends on any call, which a plug-in cannot save.
// The ratios are incr / bare and incr+timer / bare.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "hostcore.h"

namespace {

using bench::median;
using bench::now;

constexpr int kRuns = 3;
constexpr int kWindowWidth = 300;
constexpr int kWindowHeight = 90;
constexpr uint32_t kOptionsBufferBytes = 256; // as the plug-in reads the options

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double timeCalls(hostcore::PluginHost &host, const wchar_t *function, int calls) {
    const double start = now();
    for (int i = 0; i < calls; ++i) host.call(function, {L"incr"});
    return now() - start;
}

double timeIncr(hostcore::PluginHost &host, const wchar_t *options, int calls, long long steps) {
    host.call(L"Tessary_ProgressBar", {options, L"Bench", std::to_wstring(steps), L"0"});
    pump();
    const double elapsed = timeCalls(host, L"Tessary_ProgressBar", calls);
    pump();
    host.call(L"Tessary_ProgressBar", {L"hide"});
    return elapsed;
}

double timeBare(int calls) {
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Bench", WS_POPUP | WS_VISIBLE, 400, 30, kWindowWidth,
                                  kWindowHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND bar = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 17,
                               62, kWindowWidth - 36, 13, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bar, PBM_SETRANGE32, 0, calls);
    pump();

    FMDataVect *args = FMW_DataVect_New();
    const std::wstring incr = L"incr";
    FMW_DataVect_PushText(args, reinterpret_cast<const FMUniChar *>(incr.data()), uint32_t(incr.size()));
    char options[kOptionsBufferBytes];
    unsigned sum = 0; // keeps the reads from being optimised away
    const double start = now();
    for (int i = 0; i < calls; ++i) {
        FMError error{0, 0};
        const FMText *text = FM_DataVect_AtAsText(args, 0, &error);
        const uint32_t size = FM_Text_GetSize(text, &error);
        FM_Text_GetBytes(text, options, sizeof options, 0, size, FMEncodingUtf8, &error);
        options[sizeof options - 1] = 0;
        sum += unsigned(options[0]);
        SendMessageW(bar, PBM_SETPOS, WPARAM(i), 0);
    }
    const double elapsed = now() - start;
    FMW_DataVect_Delete(args);
    pump();
    DestroyWindow(window);
    return sum == 0 ? -1 : elapsed;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    const int calls = argc > 1 ? _wtoi(argv[1]) : 10000;
    if (calls < 1) {
        std::fprintf(stderr, "bench_progress: CALLS must be 1 or more\n");
        return 2;
    }
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    hostcore::PluginHost host;
    std::wstring error;
    if (!host.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error) ||
        host.startup(60) != hostcore::kStartupSuccess) {
        std::fprintf(stderr, "bench_progress: the plug-in did not start\n");
        return 2;
    }
    host.call(L"Tessary_SetPosition", {L"40", L"30"});

    std::vector<double> incr, timed, fine, bare, empty;
    for (int run = 0; run < kRuns; ++run) {
        incr.push_back(timeIncr(host, L"show", calls, calls));
        timed.push_back(timeIncr(host, L"show timer=60", calls, calls));
        fine.push_back(timeIncr(host, L"show", calls, calls * 1000LL));
        bare.push_back(timeBare(calls));
        empty.push_back(timeCalls(host, L"Tessary_Calendar", calls));
    }
    const double i = median(incr), t = median(timed), f = median(fine), b = median(bare), e = median(empty);
    std::printf("%d steps, medians of %d runs\n", calls, kRuns);
    std::printf("%-12s %10s %12s %8s\n", "", "ms", "us per step", "ratio");
    std::printf("%-12s %10.1f %12.2f %8.2f\n", "incr", i, i * 1000 / calls, i / b);
    std::printf("%-12s %10.1f %12.2f %8.2f\n", "incr+timer", t, t * 1000 / calls, t / b);
    std::printf("%-12s %10.1f %12.2f %8.2f\n", "incr, fine", f, f * 1000 / calls, f / b);
    std::printf("%-12s %10.1f %12.2f %8s\n", "bare", b, b * 1000 / calls, "1.00");
    std::printf("%-12s %10.1f %12.2f %8.2f\n", "host call", e, e * 1000 / calls, e / b);
    return 0;
}
