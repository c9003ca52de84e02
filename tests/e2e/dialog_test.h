// The fixture of the end-to-end tests of the dialog functions: the real
// plug-in loaded and started through the host layer, each call's dialog
// played by the dialog driver, and the entered values read back as a
// script reads them.
#ifndef TESSARY_TESTS_E2E_DIALOG_TEST_H
#define TESSARY_TESTS_E2E_DIALOG_TEST_H

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "driver/dialog_driver.h"
#include "hostcore.h"
#include "tests/e2e/support.h"

namespace e2e {

typedef std::vector<std::wstring> Args;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring error;
        ASSERT_TRUE(host.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error)) << narrow(error);
        ASSERT_EQ(host.startup(60), hostcore::kStartupSuccess);
        host.call(L"Tessary_SetPosition", {L"40", L"30"});
    }

    // Calls `function`; `act` plays the user of the dialog it shows, which
    // must close before the time is up. Without `ran` the dialog must have
    // been shown; with it, whether it was is told there.
    std::wstring show(const wchar_t *function, const Args &args, std::function<void(driver::Dialog &)> act,
                      unsigned timeoutMs = 30000, bool *ran = nullptr) {
        driver::Session session(std::move(act), timeoutMs);
        hostcore::CallResult r = host.call(function, args);
        EXPECT_EQ(r.status, hostcore::CallStatus::Called);
        EXPECT_EQ(r.code, 0);
        if (ran) *ran = session.ran();
        else EXPECT_TRUE(session.ran());
        EXPECT_FALSE(session.watchdogFired()) << "the dialog did not close";
        EXPECT_EQ(session.failure(), L"");
        return r.text;
    }

    std::wstring input(const std::wstring &name) { return host.call(L"Tessary_GetInput", {name}).text; }

    hostcore::PluginHost host;
};

// Queues Shift+F10, which opens the focused list's context menu, and then
// `keys` (each pressed and let go), in one go: the menu's own loop takes
// them, while a key pressed through the driver would wait for the menu to
// close.
inline void chooseFromListMenu(driver::Dialog &d, std::initializer_list<WORD> keys) {
    std::vector<INPUT> strokes;
    auto stroke = [&strokes](WORD vk, bool up) {
        INPUT key = {};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = vk;
        key.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        strokes.push_back(key);
    };
    stroke(VK_SHIFT, false);
    stroke(VK_F10, false);
    stroke(VK_F10, true);
    stroke(VK_SHIFT, true);
    for (WORD vk : keys) {
        stroke(vk, false);
        stroke(vk, true);
    }
    SendInput(UINT(strokes.size()), strokes.data(), sizeof(INPUT));
    d.waitMs(400);
}

// The sort arrow column `column` of list view `id` shows: HDF_SORTUP,
// HDF_SORTDOWN or 0.
inline int sortArrow(driver::Dialog &d, int id, int column) {
    const HWND header = reinterpret_cast<HWND>(SendMessageW(d.control(id).hwnd, LVM_GETHEADER, 0, 0));
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    if (header == nullptr || !SendMessageW(header, HDM_GETITEMW, WPARAM(column), LPARAM(&item))) return -1;
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
}

// Stages rows as a script does before a form or tab dialog.
inline void stageRows(hostcore::PluginHost &host, const Args &labels, const Args &kinds, const Args &defaults) {
    host.call(L"Tessary_SetLabels", labels);
    host.call(L"Tessary_SetInputTypes", kinds);
    host.call(L"Tessary_SetDefaultInputs", defaults);
}

// A form with a row of every input kind, each with a default.
inline void stageEveryKind(hostcore::PluginHost &host) {
    stageRows(host,
              {L"Name", L"Password", L"Colour", L"Subscribe|Newsletter|Offers|", L"Small|Medium|Large|", L"Volume",
               L"When", L"Price|to"},
              {L"edit", L"password", L"combobox", L"checkbox", L"radio", L"slider", L"datetime", L"range"},
              {L"", L"", L"red|green|blue|=green", L"101", L"2", L"30|100", L"1:30 PM|12/24/2024", L"10|20"});
}

// A tab dialog's rows: a name and notes on page 1, two check boxes and a
// city on page 2.
inline void stageTabPages(hostcore::PluginHost &host) {
    stageRows(host, {L"Name", L"Notes", L"", L"", L"", L"", L"", L"", L"Options|Extras|", L"City"},
              {L"edit", L"edit3", L"", L"", L"", L"", L"", L"", L"checkbox", L"combobox"},
              {L"", L"Line one\rLine two", L"", L"", L"", L"", L"", L"", L"00", L"Oslo|Bergen|"});
}

// Tessary_DoTabDialog on those rows, its second page shown first.
inline const Args &tabDialogArgs() {
    static const Args args = {L"gotoTab2", L"Customer", L"Person", L"Who is it?", L"More", L"Details", L"", L"",
                              L"OK",       L"Cancel"};
    return args;
}

} // namespace e2e

#endif
