// The progress window: a modeless window with one or two bars and their
// texts, created by a "show" and driven by later calls while a script runs.
// The function decides what each call does to the record; these operations
// carry that onto the window. Each acts only while the window exists, and
// does nothing otherwise, so a command sent after another dialog has
// dropped the window changes nothing on screen.
#ifndef TESSARY_RUNTIME_PROGRESS_H
#define TESSARY_RUNTIME_PROGRESS_H

#include <bitset>

#include "model/dialog_definition.h"
#include "runtime/dialog_hooks.h"

// Slots of the progress window.
constexpr int kProgressTextSlot = kMessageSlot;              // the dialog text above everything
constexpr int kProgressDefaultSlot = kFirstButtonSlot;       // the default button, never shown
constexpr int kProgressCancelSlot = kFirstButtonSlot + 1;    // the cancel button, when one was asked for
constexpr int kProgressLabel1Slot = kFirstLabelSlot;         // the text above bar 1
constexpr int kProgressLabel2Slot = kFirstLabelSlot + 1;     // the text above bar 2
constexpr int kProgressBar1Slot = kFirstInputSlot;
constexpr int kProgressBar2Slot = kFirstInputSlot + 1;

typedef std::bitset<kSlotCount> SlotSet;

const DialogHooks &progressHooks();

// True while the progress window exists.
bool progressWindowExists();
// Handles what the user did in the window since the last call: clicks and
// keys that arrived while the script was busy reach its controls now.
void progressHandleInput();
// Shows the window when it is hidden.
void progressShow();
// Stops the hide timer and hides the window.
void progressHide();
// With the hide timer enabled, starts it again from its full period.
void progressArmTimer();
// Moves the bar of `slot` to its step counter.
void progressSetBar(int slot);
// Puts `text` (line breaks as CR LF) into the control of `slot` with the
// slot's font; the slot's own text stays as it is.
void progressSetText(int slot, const WideText &text);
// After a "show": brings every control of the window in line with the
// record (texts, fonts, ranges, positions, marquee, the cancel button
// enabled again), moves the window and the controls to their rectangles,
// and shows exactly the controls of `shown`. The hide timer stops.
void progressPresent(const SlotSet &shown);

#ifndef _WIN32
// The native build's stand-in for the window: what a "show" made visible.
struct NativeProgressWindow {
    bool visible = false;
    SlotSet shown; // controls shown by the last "show"
};
NativeProgressWindow &nativeProgressWindow();
#endif

#endif
