// The window-free rules of Tessary_ProgressBar: which command an options text
// asks for, where the controls of one and of two bars go, and how a step
// counter advances.
#ifndef TESSARY_FUNCTIONS_PROGRESS_BAR_H
#define TESSARY_FUNCTIONS_PROGRESS_BAR_H

#include <cstdint>

#include "model/options.h"

enum class ProgressCommand {
    kNone,
    kShow,
    kIncrement2,
    kIncrement1,
    kReset1,
    kReset2,
    kSetDialogText,
    kSetLabel1,
    kSetLabel2,
    kHide,
    kCancelled
};

// The first command of the command table whose keyword the options hold, in
// the table's order whatever the text's: "incr2" before "incr", "show"
// before everything. kNone when the options hold none.
ProgressCommand progressCommand(const OptionSet &options);

struct ProgressLayoutRequest {
    int32_t width, height; // the window's size after the options and the least size
    bool dialogText;       // a dialog text was given
    bool label1, label2;   // the texts above bar 1 and bar 2 were passed (empty or not)
    bool secondBar;
    bool noDialogText;     // "noDialogText": with two bars, no dialog text and a low window
    bool cancelButton;
};

// A control that the layout shows, at x, y with width x height script units in
// the window's client coordinates.
struct PlacedControl {
    int slot;
    int32_t x, y, width, height;
};

constexpr int kMostPlacedControls = 6;

struct ProgressLayout {
    int32_t width, height; // the window's outer size
    bool dialogText;       // the dialog text stays (noDialogText may take it away)
    int count;             // controls shown, in placed[0 .. count - 1]
    PlacedControl placed[kMostPlacedControls];
};

// One bar: the bar below the dialog text, or alone at the top. Two bars:
// stacked up from the bottom edge, each text above its bar, the dialog text
// filling what is left above. A cancel button goes below all of that in a
// band that makes the window taller.
ProgressLayout layOutProgress(const ProgressLayoutRequest &request);

// The counter after one step: one more, never past the largest count.
int32_t nextStep(int32_t counter);

#endif
