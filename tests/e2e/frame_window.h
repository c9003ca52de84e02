// The dialog frame of the runtime tests, which drive the dialog runtime
// linked into the test program: the record filled slot by slot, as no
// function of the plug-in fills it, and run through the runner with the
// dialog driver as its user.
#ifndef TESSARY_TESTS_E2E_FRAME_WINDOW_H
#define TESSARY_TESTS_E2E_FRAME_WINDOW_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "dialog_driver.h"
#include "model/carry_over.h"
#include "model/dialog_definition.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace e2e {

inline std::wstring wide(const WideText &text) {
    return std::wstring(text.data(), text.length());
}

// An empty record for a dialog of the message template, `width` x `height`,
// without a default button: each test adds what it looks at and nothing an
// earlier test left.
inline DialogDefinition &freshFrame(int width, int height) {
    resetAllSlots(true);
    resetDefinition();
    DialogDefinition &d = dialog();
    d.templateId = IDD_MESSAGE;
    d.width = width;
    d.height = height;
    d.defaultButton = -1;
    return d;
}

// Makes `slot` a control of `kind` showing `text` at x, y, width x height,
// clearing whatever the slot held. The slot is counted among the dialog's
// controls, which alone are laid out on a resize and pass on notifications.
inline ControlSpec &placeSlot(int slot, const char *kind, int x, int y, int width, int height,
                              const wchar_t *text = L"") {
    resetSlot(slot, true, true);
    ControlSpec &s = dialog().controls[slot];
    s.kind = NarrowText(kind);
    s.text = WideText(text);
    s.x = x;
    s.y = y;
    s.width = width;
    s.height = height;
    if (slot + 1 > dialog().controlCount) dialog().controlCount = slot + 1;
    return s;
}

// Runs the record's dialog with `act` as its user, who must have closed it
// before the time is up; the runner must report no failure.
inline void runFrame(std::function<void(driver::Dialog &)> act, const DialogHooks &hooks = kPlainDialog,
                     unsigned timeoutMs = 15000) {
    driver::Session session(std::move(act), timeoutMs);
    EXPECT_NO_THROW(runDialog(hooks));
    EXPECT_TRUE(session.ran());
    EXPECT_FALSE(session.watchdogFired()) << "the dialog did not close";
    EXPECT_EQ(session.failure(), L"");
}

} // namespace e2e

#endif
