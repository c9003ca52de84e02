// Tessary_ProgressBar's rules without a window: the command an options text
// picks, the layouts of one and two bars, the step counts and the timer. What
// the commands do to a shown window is tested end to end.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "functions/progress_bar.h"
#include "model/dialog_definition.h"
#include "plugin_harness.h"
#include "runtime/progress.h"
#include "runtime/runner.h"

namespace {

typedef std::vector<std::u16string> Args;

struct Placed {
    int slot, x, y, width, height;
    bool operator==(const Placed &o) const {
        return slot == o.slot && x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

std::ostream &operator<<(std::ostream &out, const Placed &p) {
    return out << "{slot " << p.slot << ": " << p.x << ", " << p.y << ", " << p.width << " x " << p.height << "}";
}

// The shown controls with their slot geometry, in slot order.
std::vector<Placed> shownControls() {
    std::vector<Placed> out;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!nativeProgressWindow().shown.test(size_t(slot))) continue;
        const ControlSpec &s = dialog().controls[slot];
        out.push_back(Placed{slot, s.x, s.y, s.width, s.height});
    }
    return out;
}

std::u16string progress(const Args &args) {
    harness::Result r = harness::call(u"Tessary_ProgressBar", args);
    EXPECT_EQ(r.code, 0);
    return r.text;
}

class ProgressBar : public harness::FreshPlugin {
protected:
    void SetUp() override {
        harness::FreshPlugin::SetUp();
        nativeProgressWindow() = NativeProgressWindow();
    }
    const ControlSpec &slot(int index) { return dialog().controls[index]; }
};

} // namespace

TEST(ProgressCommand, TheTableOrderDecides) {
    const struct {
        const char *options;
        ProgressCommand expected;
    } cases[] = {
        {"show", ProgressCommand::kShow},
        {"incr show", ProgressCommand::kShow},
        {"incr2", ProgressCommand::kIncrement2},
        {"incr1 incr2", ProgressCommand::kIncrement2},
        {"incr", ProgressCommand::kIncrement1},
        {"incr1", ProgressCommand::kIncrement1},
        {"reset2 reset1", ProgressCommand::kReset1},
        {"hide setLabel2", ProgressCommand::kSetLabel2},
        {"setDialogText setLabel1", ProgressCommand::kSetDialogText},
        {"cancelled hide", ProgressCommand::kHide},
        {"cancelled", ProgressCommand::kCancelled},
        {"Show", ProgressCommand::kNone}, // keywords are case-sensitive
        {"", ProgressCommand::kNone},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(int(progressCommand(OptionSet(c.options))), int(c.expected)) << c.options;
    }
}

TEST(ProgressStep, TheCounterStopsAtTheLargestCount) {
    EXPECT_EQ(nextStep(65535), 65536);
    EXPECT_EQ(nextStep(INT32_MAX), INT32_MAX);
}

TEST_F(ProgressBar, LayoutsOfOneAndTwoBars) {
    const struct {
        const char *what;
        Args args;
        int width, height;
        std::vector<Placed> shown;
    } cases[] = {
        {"one bar under the text", {u"show", u"Working", u"10"}, 300, 90,
         {{1, 17, 10, 264, 47}, {36, 17, 62, 264, 13}}},
        {"one bar alone", {u"show", u"", u""}, 300, 90, {{36, 17, 10, 264, 13}}},
        {"one bar keeps its text above hidden", {u"show", u"", u"", u"", u"Step"}, 300, 90, {{36, 17, 10, 264, 13}}},
        {"small", {u"show small medium", u"T", u""}, 250, 102, {{1, 17, 10, 214, 59}, {36, 17, 74, 214, 13}}},
        {"the least size", {u"show width=100 height=50", u"", u""}, 200, 90, {{36, 17, 10, 164, 13}}},
        {"two bars with every text", {u"show", u"T", u"", u"", u"A", u"5", u"", u"B"}, 300, 145,
         {{1, 17, 10, 264, 41}, {12, 17, 61, 264, 11}, {13, 17, 103, 264, 11}, {36, 17, 75, 264, 13},
          {37, 17, 117, 264, 13}}},
        {"two bars, no text above the second", {u"show medium", u"T", u"", u"", u"", u"5"}, 420, 145,
         {{1, 17, 10, 384, 55}, {12, 17, 75, 384, 11}, {36, 17, 89, 384, 13}, {37, 17, 117, 384, 13}}},
        {"two bars, noDialogText", {u"show noDialogText", u"T", u"", u"", u"A", u"5", u"", u"B"}, 300, 90,
         {{12, 17, 6, 264, 11}, {13, 17, 48, 264, 11}, {36, 17, 20, 264, 13}, {37, 17, 62, 264, 13}}},
        {"noDialogText needs two bars", {u"show noDialogText", u"T", u""}, 300, 90,
         {{1, 17, 10, 264, 47}, {36, 17, 62, 264, 13}}},
        {"a cancel button below", {u"show", u"T", u"", u"", u"", u"", u"", u"", u"Stop"}, 300, 123,
         {{1, 17, 10, 264, 47}, {5, 207, 90, 75, 23}, {36, 17, 62, 264, 13}}},
        {"a cancel button under two bars", {u"show large", u"", u"", u"", u"", u"5", u"", u"", u"Stop"}, 550, 253,
         {{5, 457, 220, 75, 23}, {12, 17, 136, 514, 11}, {13, 17, 178, 514, 11}, {36, 17, 150, 514, 13},
          {37, 17, 192, 514, 13}}},
        {"an empty caption adds nothing", {u"show", u"T", u"", u"", u"", u"", u"", u"", u""}, 300, 90,
         {{1, 17, 10, 264, 47}, {36, 17, 62, 264, 13}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        progress(c.args);
        EXPECT_EQ(dialog().width, c.width);
        EXPECT_EQ(dialog().height, c.height);
        EXPECT_EQ(shownControls(), c.shown);
        EXPECT_TRUE(nativeProgressWindow().visible);
        EXPECT_EQ(dialog().templateId, 513);
    }
}

TEST_F(ProgressBar, StepCountsAndStarts) {
    const struct {
        const char *what;
        Args args;
        int steps1, start1;
        bool bar2;
        int steps2, start2;
    } cases[] = {
        {"missing", {u"show", u"T", u""}, 100, 0, false, 0, 0},
        {"given", {u"show", u"T", u"40", u"7"}, 40, 7, false, 0, 0},
        {"above 16 bits", {u"show", u"T", u"100000", u"70000"}, 100000, 70000, false, 0, 0},
        {"no digits", {u"show", u"T", u"abc", u"x"}, 0, 0, false, 0, 0},
        {"negative", {u"show", u"T", u"-5", u"-2"}, 0, -2, false, 0, 0},
        {"saturated", {u"show", u"T", u"99999999999", u""}, INT_MAX, 0, false, 0, 0},
        {"empty second count", {u"show", u"T", u"", u"", u"", u""}, 100, 0, false, 0, 0},
        {"second bar", {u"show", u"T", u"", u"", u"", u"8", u"3"}, 100, 0, true, 8, 3},
        {"second bar, no digits", {u"show", u"T", u"", u"", u"", u"abc"}, 100, 0, true, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        progress(c.args);
        EXPECT_EQ(progressSteps(slot(36)), c.steps1);
        EXPECT_EQ(progressCounter(slot(36)), c.start1);
        EXPECT_EQ(!slot(37).kind.empty(), c.bar2);
        if (c.bar2) {
            EXPECT_EQ(progressSteps(slot(37)), c.steps2);
            EXPECT_EQ(progressCounter(slot(37)), c.start2);
        }
    }
}

TEST_F(ProgressBar, TheHideTimer) {
    const struct {
        const char16_t *options;
        bool enabled;
        uint32_t interval;
    } cases[] = {
        {u"show timer=2", true, 2000},
        {u"show timer=0", false, 0},
        {u"show timer=-3", false, 0},
        {u"show timer", false, 0},
        {u"show timer=99999999", true, 0x7FFFFFFF},
    };
    for (const auto &c : cases) {
        progress({c.options, u"", u""});
        EXPECT_EQ(dialog().timerEnabled == 1, c.enabled);
        EXPECT_EQ(dialog().timerInterval, c.interval);
    }
}
