// The frame that every standard dialog shares: how it starts, what the
// shared options keywords do to it, its close timer and default button, the
// row of buttons in its bottom right corner, and the result a button gives.
// A dialog function reads as fill, run, result on top of this: it starts the
// frame, applies the options it reads, lays out its own controls and the
// buttons, runs the dialog and answers with frameResult.
#ifndef TESSARY_FUNCTIONS_DIALOG_FRAME_H
#define TESSARY_FUNCTIONS_DIALOG_FRAME_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "model/call.h"
#include "model/carry_over.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "runtime/dialog_hooks.h"

// ---- sizes shared by the dialogs (script units) ---------------------------------

constexpr int kContentLeft = 17;         // x of the text, list or field at the left edge
constexpr int kContentTop = 10;          // y of the first control
constexpr int kContentWidthAllowance = 44; // window width minus a full-width control's
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonStep = 82;          // from one button's left edge to the next
constexpr int kButtonRight = 93;         // window width minus the rightmost button's x
constexpr int kButtonBottom = 65;        // window height minus the lower button row's y
constexpr int kSecondRowExtra = 31;      // height a second row of buttons adds

// Longest close timer period the system timer takes, milliseconds.
constexpr uint32_t kLongestTimerPeriod = 0x7FFFFFFF;

// ---- starting and sizing ----------------------------------------------

struct FrameStart {
    int32_t templateId;
    int32_t width, height;       // the size before the options
    int32_t minWidth, minHeight; // the smallest size the user can resize to
    bool resizable;
    int32_t defaultButton;       // slot; one that holds no button leaves Enter with nothing to press
};

// Empties the slots as `carry` says, then resets what every dialog sets:
// title, template, sizes, sizing border, default button, and no timer, a
// caption bar, no reading order of its own and no copying of the message.
// Position and resultIndex are left alone.
void startFrame(DialogDefinition &d, const CarryOver &carry, const FrameStart &start, const WideText &title);

struct PresetSize {
    const char *keyword;
    int32_t width, height;
};

// What "small", "medium" and "large" make of each dialog.
// Tessary_Dialog:
constexpr PresetSize kMessageDialogPresets[] = {{"small", 383, 280}, {"medium", 450, 300}, {"large", 600, 400}};
// The dialogs built round a list or a large field (the list dialogs, the
// dual list, the big edit box):
constexpr PresetSize kFieldDialogPresets[] = {{"small", 250, 290}, {"medium", 350, 400}, {"large", 500, 600}};
// The progress window:
constexpr PresetSize kProgressPresets[] = {{"small", 250, 102}, {"medium", 420, 145}, {"large", 550, 220}};

enum PresetRule {
    kFirstPresetWins, // the first keyword present in table order sets the size
    kLastPresetWins   // each keyword present sets it, so the last one in table order wins
};

void applyPresetSizes(DialogDefinition &d, const OptionSet &options, const PresetSize *presets, size_t count,
                      PresetRule rule);
template <size_t N>
void applyPresetSizes(DialogDefinition &d, const OptionSet &options, const PresetSize (&presets)[N], PresetRule rule) {
    applyPresetSizes(d, options, presets, N, rule);
}

// "width" and "height": their values become the window size.
void applyExplicitSize(DialogDefinition &d, const OptionSet &options);
// The same for dialogs with a large resizable field: a width below 277
// becomes 277 and a height below 159 becomes 160, so the field keeps room.
void applyExplicitSizeAtLeast(DialogDefinition &d, const OptionSet &options);
// "width" and "height" for a dialog laid out for its default size: the
// layout follows the new size as it follows the user's resizing. A size
// below the least the layout needs is raised to it.
void applySizeAfterLayout(DialogDefinition &d, const OptionSet &options);
// "left" and "top": their values become the window position.
void applyPosition(DialogDefinition &d, const OptionSet &options);
// "noresize": no sizing border.
void applyNoResize(DialogDefinition &d, const OptionSet &options);

// "timer": the close timer runs, with a period of the value's seconds (0 for
// a value of 0 or less, which closes at the first tick). The period is
// computed in 64 bits and held to kLongestTimerPeriod, so a huge value never
// wraps round to a short one. "noButtons" with a positive timer takes the
// caption bar away.
void applyCloseTimer(DialogDefinition &d, const OptionSet &options);
// The period, in milliseconds, of a timer of `seconds`.
uint32_t timerPeriod(int seconds);

// The slot of the button named by the first of "defaultButton1" ..
// "defaultButtonN" present, tested in that order; `fallback` when none is.
int32_t defaultButtonSlot(const OptionSet &options, int buttonCount, int32_t fallback);

// Raises the size to the minimum where it is smaller.
void clampToMinimum(DialogDefinition &d);

// ---- buttons --------------------------------------------------------

// Makes `slot` a text the user reads: a label, a caption, a message.
void placeStatic(ControlSpec &slot, const WideText &text, const SlotLayout &layout);
// The same with a text the slot takes over.
void placeStatic(ControlSpec &slot, WideText &&text, const SlotLayout &layout);

// Makes `slot` a push button of the frame: fixed size, kept in the bottom
// right corner as the window grows, reporting `number` as its value.
void placeButton(int slot, const WideText &caption, int32_t x, int32_t y, int number);

// The buttons of a dialog, taken from consecutive arguments.
struct ButtonRow {
    uint32_t firstArgument; // argument of button 1
    int buttonCount;        // buttons 1..buttonCount at most
    int32_t secondRowExtra; // kSecondRowExtra when buttons 1..4 take an upper row and 5..8 a lower one, else 0
    bool packSlots;         // a button takes the next free slot; otherwise button n always takes slot n + 3
};

// Button 1 always goes into its slot at the right end, also with an empty
// caption. Every further argument present takes the next place to the left,
// and a button is made only for a caption that is not empty, so an empty
// caption leaves its place free. With two rows the upper row holds four
// places. Slots that may take a button are reset first (fonts kept). Returns
// the slot after the last button made.
int placeButtonRow(const CallArguments &args, const ButtonRow &row, int32_t width, int32_t height);

// "cancel=N": Esc, Alt+F4 and the close box (shown only then) press the
// button that reports N, as a click on it would, wherever an empty caption
// before it moved it; called once the buttons are made. Without the option,
// or when no button reports N, they press nothing.
void applyCancelButton(DialogDefinition &d, const OptionSet &options);

// ---- the message's kind ----------------------------------------------------

// "error", "warning", "question", "info" (the first present in that order):
// the system's icon of that kind stands left of the message of slot 1, which
// moves right to make room and becomes at least as high as the icon, and the
// dialog opens with the system's sound of that kind. Returns the height the
// message gained, by which what stands below it must move down; 0 without a
// keyword or a message, when nothing changes.
int32_t applyMessageIcon(DialogDefinition &d, const OptionSet &options);

// ---- running ------------------------------------------------------------

// Shows the dialog and returns when it has closed (a modeless one once it
// is shown). A modal dialog of staged rows that set no reading order of its
// own is made in the standard one (functions/reading_order.h). A dialog the system could not create throws DialogNotShown, so
// the host gets its general error code instead of a result that reads as
// "closed without a button". Closed without a button, the dialog read
// nothing back: each slot of `unread` (one given a list, which is no value
// of the user's) is emptied. Where nobody can answer a window (see
// runtime/presence.h), nothing is shown and the dialog reads as closed
// without a button.
void showFrame(const DialogHooks &hooks = kPlainDialog, std::initializer_list<int> unread = {});

// The texts of input slots [first, end) as staged, taken before the rows are
// laid out, which splits a row's text over its parts. A dialog that closes
// without a button reads nothing back: restoreUnlessPressed then gives the
// rows their staged texts again, so that each reads exactly as it was given.
class StagedTexts {
public:
    StagedTexts(int first, int end);
    void restoreUnlessPressed() const;

private:
    int first_;
    std::vector<WideText> texts_;
};

// ---- result -------------------------------------------------------------

// Whether a button closed the dialog. Closed any other way, the dialog read
// nothing back: a slot that was given a list then still holds the list,
// which is no value of the user's, and the function empties it.
bool buttonPressed();

// The value of the button that closed the dialog, or the empty text when no
// button did (resultIndex outside the table).
void frameResult(CallResult &result);

#endif
