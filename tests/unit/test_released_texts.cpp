// A text's old buffer is overwritten before it goes back to the heap, so an
// entered password does not outlive the slot that held it. The release
// watcher sees each block while it is still allocated; no test reads freed
// memory.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <functional>
#include <string>
#include <vector>

#include "model/carry_over.h"
#include "model/dialog_definition.h"

namespace {

struct Released {
    const void *block;
    bool zeroed; // every byte was 0 when the block was released
};
std::vector<Released> gReleased;

void watch(const void *block, size_t bytes) {
    const unsigned char *p = static_cast<const unsigned char *>(block);
    bool zeroed = true;
    for (size_t i = 0; i < bytes; ++i) zeroed = zeroed && p[i] == 0;
    gReleased.push_back({block, zeroed});
}

class ReleasedTexts : public ::testing::Test {
protected:
    void SetUp() override {
        gReleased.clear();
        setReleaseWatcher(watch);
    }
    void TearDown() override {
        setReleaseWatcher(nullptr);
        resetSlot(kFirstInputSlot + 1, true, true);
    }
    // True when the block was released, and released overwritten.
    static bool releasedZeroed(const void *block) {
        for (const Released &r : gReleased) {
            if (r.block == block) return r.zeroed;
        }
        return false;
    }
};

const char16_t kSecret[] = u"correct horse battery staple";

} // namespace

TEST_F(ReleasedTexts, EveryWayOfReplacingATextOverwritesItsOldBuffer) {
    struct Case {
        const char *name;
        std::function<void(WideText &)> replace;
    } cases[] = {
        {"clear", [](WideText &t) { t.clear(); }},
        {"a shorter temporary", [](WideText &t) { t = W(u"x"); }},
        {"a copy of a shorter text",
         [](WideText &t) {
             const WideText shorter = W(u"x");
             t = shorter;
         }},
        {"growth by append", [](WideText &t) { t.append(W(std::u16string(4096, u'a').c_str())); }},
        {"end of life", [](WideText &t) { WideText gone(std::move(t)); }},
    };
    for (const Case &c : cases) {
        gReleased.clear();
        WideText text = W(kSecret);
        const void *old = text.data();
        c.replace(text);
        EXPECT_TRUE(releasedZeroed(old)) << c.name;
    }
}

TEST_F(ReleasedTexts, ResettingAPasswordSlotOverwritesThePassword) {
    const int password = kFirstInputSlot + 1;
    struct Case {
        const char *name;
        std::function<void()> reset;
    } cases[] = {
        {"resetSlot", [] { resetSlot(kFirstInputSlot + 1, false, true); }},
        {"resetAllSlots", [] { resetAllSlots(false); }},
        {"a new entered value", [] { dialog().controls[kFirstInputSlot + 1].text = WideText(TEXT16("n")); }},
    };
    for (const Case &c : cases) {
        ControlSpec &slot = dialog().controls[password];
        slot.kind = NarrowText("password");
        slot.text = W(kSecret);
        const void *old = slot.text.data();
        gReleased.clear();
        c.reset();
        EXPECT_TRUE(releasedZeroed(old)) << c.name;
    }
}

TEST_F(ReleasedTexts, StoringAnEnteredValueLeavesNoCopyUnwiped) {
    // The entered text is built unit by unit; every intermediate buffer that
    // held a part of it must be overwritten as well.
    std::u16string typed;
    for (int i = 0; i < 300; ++i) typed += kSecret;
    gReleased.clear();
    dialog().controls[kFirstInputSlot + 1].text = withoutAddedLineFeeds(W(typed.c_str()));
    ASSERT_FALSE(gReleased.empty());
    for (const Released &r : gReleased) EXPECT_TRUE(r.zeroed);
}
