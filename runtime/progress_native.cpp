#include "runtime/progress.h"

#include "runtime/runner.h"

// Without windows the stand-in keeps only what a "show" makes visible; the
// native runner gives a modeless dialog a token handle, so the window exists
// by the same rule as on Windows.

const DialogHooks &progressHooks() {
    static const DialogHooks hooks = {"progress", true, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, true};
    return hooks;
}

NativeProgressWindow &nativeProgressWindow() {
    static NativeProgressWindow window;
    return window;
}

bool progressWindowExists() {
    return modelessDialogWindow(progressHooks()) != nullptr;
}

void progressHandleInput() {}

void progressShow() {
    if (progressWindowExists()) nativeProgressWindow().visible = true;
}

void progressHide() {
    if (progressWindowExists()) nativeProgressWindow().visible = false;
}

void progressArmTimer() {}

void progressSetBar(int) {}

void progressSetText(int, const WideText &) {}

void progressPresent(const SlotSet &shown) {
    if (!progressWindowExists()) return;
    nativeProgressWindow().visible = true;
    nativeProgressWindow().shown = shown;
}
