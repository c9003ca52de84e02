#include "runtime/progress.h"

// Without windows the stand-in keeps what the window would show; the native
// runner gives a modeless dialog a token handle, so the window exists by the
// same rule as on Windows. Nothing presses the cancel button here: a test
// sets the record's flag as the button would.

const DialogHooks &progressHooks() {
    static const DialogHooks hooks = {"progress", true, nullptr, nullptr, nullptr, nullptr};
    return hooks;
}

NativeProgressWindow &nativeProgressWindow() {
    static NativeProgressWindow window;
    return window;
}

bool progressWindowExists() {
    return dialog().dialogWindow != nullptr && &dialogHooks() == &progressHooks();
}

void progressHandleInput() {
    if (progressWindowExists()) ++nativeProgressWindow().inputHandled;
}

void progressShow() {
    if (progressWindowExists()) nativeProgressWindow().visible = true;
}

void progressHide() {
    if (!progressWindowExists()) return;
    nativeProgressWindow().visible = false;
    nativeProgressWindow().timerRunning = false;
}

void progressArmTimer() {
    if (progressWindowExists() && dialog().timerEnabled == 1) nativeProgressWindow().timerRunning = true;
}

void progressSetBar(int slot) {
    if (!progressWindowExists() || (slot != kProgressBar1Slot && slot != kProgressBar2Slot)) return;
    nativeProgressWindow().barPosition[slot - kProgressBar1Slot] = progressCounter(dialog().controls[slot]);
}

void progressSetText(int slot, const WideText &text) {
    if (progressWindowExists() && slot >= 0 && slot < kSlotCount) nativeProgressWindow().texts[slot] = text;
}

void progressPresent(const SlotSet &shown) {
    if (!progressWindowExists()) return;
    NativeProgressWindow &w = nativeProgressWindow();
    const DialogDefinition &d = dialog();
    w.visible = true;
    w.timerRunning = false;
    w.shown = shown;
    for (int slot : {kProgressTextSlot, kProgressCancelSlot, kProgressLabel1Slot, kProgressLabel2Slot}) {
        w.texts[slot] = d.controls[slot].text;
    }
    w.barPosition[0] = progressCounter(d.controls[kProgressBar1Slot]);
    w.barPosition[1] = progressCounter(d.controls[kProgressBar2Slot]);
}
