#include "user.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace soak {

bool traceUser = false;

namespace {

// With --trace, every step of the user goes to standard error as it starts,
// so a replay shows where a dialog stopped answering.
void step(const char *what, long value = 0) {
    if (!traceUser) return;
    std::fprintf(stderr, "soak: user %s %ld\n", what, value);
    std::fflush(stderr);
}

using driver::ControlInfo;
using driver::Dialog;

bool usable(const ControlInfo &c) { return c.visible && c.enabled && c.width() > 0 && c.height() > 0; }

bool isButtonOfType(const ControlInfo &c, std::initializer_list<DWORD> types) {
    if (!c.hasClass(L"Button")) return false;
    const DWORD type = c.style & BS_TYPEMASK;
    return std::find(types.begin(), types.end(), type) != types.end();
}

bool isPushButton(const ControlInfo &c) { return isButtonOfType(c, {BS_PUSHBUTTON, BS_DEFPUSHBUTTON}); }

std::vector<ControlInfo> usableOf(const Dialog &d, bool (*wanted)(const ControlInfo &)) {
    std::vector<ControlInfo> out;
    for (const ControlInfo &c : d.controls()) {
        if (usable(c) && wanted(c)) out.push_back(c);
    }
    return out;
}

POINT centre(const ControlInfo &c) { return POINT{(c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2}; }

// A window placed off the screen (a hostile left= or top=) is dragged back
// into view first, as a user would; clicks outside the screen land nowhere.
bool bringIntoView(Dialog &d) {
    const RECT r = d.windowRect();
    const int screenW = GetSystemMetrics(SM_CXVIRTUALSCREEN), screenH = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    if (r.left >= left && r.top >= top && r.right <= left + screenW && r.bottom <= top + screenH) return false;
    SetWindowPos(d.hwnd(), nullptr, left + 10, top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

// Wine's multi-line edit control measures a whole paragraph again on every
// key and every resize: in a field holding a megabyte without line breaks
// that takes most of a minute each time. The user leaves such a dialog's
// size and fields alone and only closes it.
constexpr size_t kHeavyTextUnits = 20000;

bool holdsHeavyText(const Dialog &d) {
    for (const ControlInfo &c : d.controls()) {
        if (c.text.size() > kHeavyTextUnits) return true;
    }
    return false;
}

// One thing a user might do short of closing the dialog. `timed`: the
// dialog may close by its timer at any moment.
void act(Dialog &d, Rng &rng, bool timed) {
    const uint32_t what = rng.below(9);
    step("acts", long(what));
    if ((what == 0 || what == 6) && holdsHeavyText(d)) return;
    switch (what) {
    case 0: {
        auto edits = usableOf(d, [](const ControlInfo &c) { return c.hasClass(L"Edit"); });
        if (edits.empty()) break;
        const ControlInfo edit = rng.pick(edits);
        d.clickClient(centre(edit));
        d.typeText(typedText(rng));
        // Esc in a multi-line field must leave the dialog and what was typed.
        if ((edit.style & ES_MULTILINE) && rng.chance(40)) {
            d.pressKey(VK_ESCAPE);
            if (!timed && !d.isOpen()) throw std::runtime_error("Esc in a multi-line field closed the dialog");
        }
        break;
    }
    case 1: {
        auto ticks = usableOf(d, [](const ControlInfo &c) {
            return isButtonOfType(c, {BS_CHECKBOX, BS_AUTOCHECKBOX, BS_RADIOBUTTON, BS_AUTORADIOBUTTON, BS_3STATE,
                                      BS_AUTO3STATE});
        });
        if (!ticks.empty()) d.clickClient(centre(rng.pick(ticks)));
        break;
    }
    case 2: {
        auto lists = usableOf(d, [](const ControlInfo &c) { return c.hasClass(WC_LISTVIEWW); });
        if (lists.empty()) break;
        const int id = rng.pick(lists).id;
        const int rows = d.listRowCount(id), columns = std::max(1, d.listColumnCount(id));
        if (rows <= 0) break;
        const int row = int(rng.below(uint32_t(std::min(rows, 12))));
        if (rng.chance(50)) {
            d.clickListCheckbox(id, row);
        } else {
            d.clickListCell(id, row, int(rng.below(uint32_t(columns))));
            if (rng.chance(50)) d.typeText(typedText(rng));
            d.pressKey(rng.chance(70) ? VK_RETURN : VK_ESCAPE);
        }
        break;
    }
    case 3: {
        auto combos = usableOf(d, [](const ControlInfo &c) { return c.hasClass(WC_COMBOBOXW); });
        if (combos.empty()) break;
        const int id = rng.pick(combos).id;
        const int count = int(d.comboItems(id).size());
        if (count > 0) d.clickComboItem(id, int(rng.below(uint32_t(count))));
        break;
    }
    case 4: {
        auto tabs = usableOf(d, [](const ControlInfo &c) { return c.hasClass(WC_TABCONTROLW); });
        if (tabs.empty()) break;
        const int id = rng.pick(tabs).id;
        const int count = int(d.tabTitles(id).size());
        if (count > 0) d.clickTab(id, int(rng.below(uint32_t(count))));
        break;
    }
    case 5: {
        auto sliders = usableOf(d, [](const ControlInfo &c) { return c.hasClass(TRACKBAR_CLASSW); });
        if (sliders.empty()) break;
        const int id = rng.pick(sliders).id;
        const auto range = d.trackbarRange(id);
        if (range.second >= range.first && range.second - range.first < 100000) {
            d.setSliderPos(id, range.first + int(rng.below(uint32_t(range.second - range.first + 1))));
        }
        break;
    }
    case 6: d.resize(rng.between(50, 900), rng.between(50, 700)); break;
    case 7: d.pressKey(rng.pick(std::vector<WORD>{VK_TAB, VK_SPACE, VK_DOWN, VK_ESCAPE})); break;
    default: d.waitMs(rng.below(300)); break;
    }
}

bool clickSomePushButton(Dialog &d, Rng &rng) {
    auto buttons = usableOf(d, isPushButton);
    if (buttons.empty()) return false;
    d.clickClient(centre(rng.pick(buttons)));
    return true;
}

// The colour, file and folder choosers: the user confirms or cancels, and
// now and then types a value first.
UserOutcome playSystemDialog(Dialog &d, Rng &rng) {
    UserOutcome out;
    out.movedIntoView = bringIntoView(d);
    step("answers a chooser");
    // Wine's save dialog stops answering when OK is pressed on a name past
    // the old 260-unit path limit (seen with 1,439 units; the plug-in passes
    // up to 32,767, which Windows takes); such a dialog the user only cancels.
    bool longName = false;
    for (const ControlInfo &c : d.controls()) longName = longName || (c.hasClass(L"Edit") && c.text.size() >= 260);
    if (longName) {
        step("cancels a chooser with a long name");
        d.click(IDCANCEL);
        d.waitForClose(1500);
        out.closed = !d.isOpen();
        if (!out.closed) out.stuck = L"the chooser stayed open after Cancel";
        return out;
    }
    if (rng.chance(30)) {
        auto edits = usableOf(d, [](const ControlInfo &c) { return c.hasClass(L"Edit"); });
        if (!edits.empty()) {
            step("types into a chooser");
            d.clickClient(centre(rng.pick(edits)));
            d.typeText(typedText(rng).substr(0, 3));
            ++out.actions;
        }
    }
    // OK on a file dialog with no usable name keeps it open; Cancel then ends it.
    for (int id : {rng.chance(50) ? IDOK : IDCANCEL, IDCANCEL}) {
        if (!d.isOpen()) break;
        step("clicks button", id);
        if (d.control(id).exists()) d.click(id);
        d.waitForClose(1500);
    }
    out.closed = !d.isOpen();
    if (!out.closed) out.stuck = L"the chooser stayed open after Cancel";
    return out;
}

}  // namespace

UserOutcome playUser(Dialog &d, Rng &rng, const Call &call) {
    if (call.systemDialog) return playSystemDialog(d, rng);
    UserOutcome out;
    out.movedIntoView = bringIntoView(d);
    for (int i = rng.between(0, 4); i > 0 && d.isOpen(); --i, ++out.actions) act(d, rng, call.timerSeconds > 0);
    if (!d.isOpen()) {
        out.closed = true;  // Esc or a click on a button did it
        return out;
    }

    const unsigned timerMs = call.timerSeconds > 0 ? unsigned(call.timerSeconds) * 1000 + 2000 : 0;
    const uint32_t way = rng.below(100);
    step("closes by way", long(way));
    if (way < 55) {
        clickSomePushButton(d, rng);
    } else if (way < 65) {
        d.close();
    } else if (way < 73) {
        d.pressKey(VK_F4, VK_MENU);
    } else if (way < 81) {
        d.pressKey(VK_RETURN);
    } else if (way < 88) {
        d.pressKey(VK_ESCAPE);
    } else if (timerMs > 0) {
        d.waitForClose(timerMs);
    } else {
        clickSomePushButton(d, rng);
    }
    if (d.waitForClose(400)) {
        out.closed = true;
        return out;
    }

    // That way out did not work (Esc and the close box are ignored by some
    // dialogs, a button may be disabled): every enabled button in turn, then
    // the timer, then the close box.
    auto buttons = usableOf(d, isPushButton);
    for (const ControlInfo &b : buttons) {
        if (!d.isOpen()) break;
        d.clickClient(centre(b));
        d.waitForClose(400);
    }
    if (d.isOpen() && timerMs > 0) d.waitForClose(timerMs);
    if (d.isOpen()) {
        d.close();
        d.waitForClose(1000);
    }
    out.closed = !d.isOpen();
    if (!out.closed) {
        out.stuck = L"no button, key, timer or close box ended the dialog (" + std::to_wstring(buttons.size()) +
                    L" usable buttons)";
    }
    return out;
}

void poke(Rng &rng) {
    std::optional<Dialog> progress = driver::findModeless();
    if (!progress) return;
    if (rng.chance(30)) {
        for (const ControlInfo &c : progress->controls()) {
            if (usable(c) && isPushButton(c)) {
                progress->queueClick(c.id);
                return;
            }
        }
    }
    if (rng.chance(10)) progress->resize(rng.between(100, 700), rng.between(60, 400));
}

}  // namespace soak
