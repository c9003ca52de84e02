// Tessary_ProgressBar as a fuzzed sequence of calls through the plug-in's
// entry point: command keywords in any company, any argument count, labels,
// step counts and starts. The native stand-in of the window keeps what a
// "show" made visible, so the portable command path runs whole. After every
// call: the result is "" (or "1" for "cancelled" alone); without a window
// no command changes a counter; "incr" moves its bar's counter by exactly
// one and never past the largest count, "reset" puts it to 0, and no other
// command but "show" moves it; "hide" hides and a step shows the window;
// after a "show" the window is at least its least size and every control it
// shows lies inside it with no negative size, the step counts are not
// negative and the hide timer's period is in range.
// Input: calls apart by byte 0xFF. A call is a byte that picks the command
// keyword, a byte for the argument count (1 to 9), then fields apart by
// 0xFE: text added to the options (7-bit), then the arguments from the
// second on, one unit per byte.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "functions/dialog_frame.h"
#include "functions/progress_bar.h"
#include "model/dialog_definition.h"
#include "fuzz_support.h"
#include "runtime/progress.h"
#include "runtime/runner.h"

namespace {

const char *const kKeywords[] = {"show",     "incr",      "incr1",     "incr2", "reset1",    "reset2",
                                 "setDialogText", "setLabel1", "setLabel2", "hide",  "cancelled", "",
                                 "incr2 show", "Show"};
constexpr size_t kKeywordCount = sizeof kKeywords / sizeof kKeywords[0];
constexpr size_t kOptionsBytes = 255; // what the function reads of its options

struct State {
    bool exists;
    bool visible;
    int32_t counter1, counter2;
};

State now() {
    const DialogDefinition &d = dialog();
    return State{progressWindowExists(), nativeProgressWindow().visible,
                 progressCounter(d.controls[kProgressBar1Slot]), progressCounter(d.controls[kProgressBar2Slot])};
}

void checkStep(int32_t before, int32_t after) {
    if (after != (before == INT32_MAX ? before : before + 1)) abort();
}

void checkShown() {
    const DialogDefinition &d = dialog();
    if (d.width < 200 || d.height < 90) abort();
    if (d.timerInterval > kLongestTimerPeriod) abort();
    for (int slot : {kProgressBar1Slot, kProgressBar2Slot}) {
        if (progressSteps(d.controls[slot]) < 0) abort();
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!nativeProgressWindow().shown.test(size_t(slot))) continue;
        const ControlSpec &s = d.controls[slot];
        if (s.x < 0 || s.y < 0 || s.width < 0 || s.height < 0) abort();
        if (int64_t(s.x) + s.width > d.width || int64_t(s.y) + s.height > d.height) abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::startPluginOnce();
    resetAllSlots(true);
    resetDefinition();
    nativeProgressWindow() = NativeProgressWindow();

    size_t at = 0;
    for (int calls = 0; at < size && calls < 32; ++calls) {
        size_t end = at;
        while (end < size && data[end] != 0xFF) ++end;
        const uint8_t *call = data + at;
        const size_t length = end - at;
        at = end + 1;
        if (length < 2) continue;

        std::vector<std::string> fields(1);
        for (size_t i = 2; i < length; ++i) {
            if (call[i] == 0xFE) {
                fields.emplace_back();
            } else {
                fields.back().push_back(char(call[i]));
            }
        }
        std::string options = kKeywords[call[0] % kKeywordCount];
        if (!fields[0].empty()) options += " ";
        for (char c : fields[0]) options.push_back(char(c & 0x7F));
        if (options.size() > kOptionsBytes) options.resize(kOptionsBytes);
        const size_t count = 1 + call[1] % 9;
        std::vector<std::u16string> args{std::u16string(options.begin(), options.end())};
        for (size_t n = 1; n < count; ++n) {
            const std::string &field = n < fields.size() ? fields[n] : std::string();
            std::u16string arg;
            for (char c : field) arg.push_back(char16_t(static_cast<unsigned char>(c)));
            args.push_back(arg);
        }

        const ProgressCommand command = progressCommand(OptionSet(options.c_str()));
        const State before = now();
        const harness::Result r = harness::call(u"Tessary_ProgressBar", args);
        const State after = now();
        if (r.code != 0 || !r.isText) abort();
        if (!r.text.empty() && !(r.text == u"1" && command == ProgressCommand::kCancelled)) abort();

        if (command == ProgressCommand::kShow) {
            if (count >= 3) {
                if (!after.exists || !after.visible) abort();
                checkShown();
            }
            continue;
        }
        if (!before.exists) {
            if (after.exists || after.visible != before.visible) abort();
            if (after.counter1 != before.counter1 || after.counter2 != before.counter2) abort();
            continue;
        }
        switch (command) {
        case ProgressCommand::kIncrement1:
            checkStep(before.counter1, after.counter1);
            if (after.counter2 != before.counter2 || !after.visible) abort();
            break;
        case ProgressCommand::kIncrement2:
            checkStep(before.counter2, after.counter2);
            if (after.counter1 != before.counter1 || !after.visible) abort();
            break;
        case ProgressCommand::kReset1:
            if (after.counter1 != 0 || after.counter2 != before.counter2) abort();
            break;
        case ProgressCommand::kReset2:
            if (after.counter2 != 0 || after.counter1 != before.counter1) abort();
            break;
        case ProgressCommand::kHide:
            if (after.visible) abort();
            break;
        default:
            if (after.counter1 != before.counter1 || after.counter2 != before.counter2) abort();
            if (after.visible != before.visible) abort();
            break;
        }
    }
    return 0;
}
