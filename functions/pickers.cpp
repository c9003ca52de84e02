// The system's own choosers: Tessary_ColorPicker, Tessary_SelectFileDialog
// and Tessary_SelectFolderDialog. Each fills one request for the chooser,
// lets the user answer, and returns the answer as text; a cancel is the
// empty text. None of them uses the dialog definition.
//
// Texts go to the system whole: nothing limits a caption, a filter list or the
// folder browser's start folder, and cutting one would show a wrong title, a
// broken file type or the wrong folder. The save dialog's initial file name
// shares the buffer the chosen path comes back in, and is cut to fit it; the
// open dialog's start folder is passed only when the system can take it.
#include "functions/color_text.h"
#include "functions/functions.h"
#include "model/options.h"
#include "model/call.h"
#include "runtime/presence.h"
#include "runtime/system_dialogs.h"

namespace {

constexpr uint32_t kColorBytes = 128;

// Arguments
constexpr uint32_t kOptionsArgument = 0;
constexpr uint32_t kColorArgument = 1;
constexpr uint32_t kTitleArgument = 1;
constexpr uint32_t kFolderArgument = 2;
constexpr uint32_t kFilterArgument = 3;

// The system's colour value, 0x00BBGGRR.
uint32_t systemColor(Rgb color) {
    return uint32_t(color.red) | uint32_t(color.green) << 8 | uint32_t(color.blue) << 16;
}

Rgb rgbOf(uint32_t value) {
    return Rgb{uint8_t(value & 0xFF), uint8_t(value >> 8 & 0xFF), uint8_t(value >> 16 & 0xFF)};
}

// At most the units the path buffer holds before its terminator, never half
// a character.
WideText fitPathBuffer(const WideText &text) {
    return WideText(text.data(), wholeCharacterCut(text.data(), text.length(), kPathBufferUnits - 1));
}

// Shows the chooser and returns the chosen path; the empty text on cancel.
void answerPath(const SystemDialogRequest &request, CallResult &result) {
    SystemDialogAnswer answer{WideText(), 0};
    // A chooser that failed answers as one the user cancelled: scripts know
    // only the empty text for "nothing chosen".
    if (!userPresent() || runSystemDialog(request, answer) != ChooserOutcome::kChosen) return result.setEmpty();
    return result.setText(answer.path);
}

} // namespace

void colorPickerFunction(const CallArguments &args, CallResult &result) {
    // No option changes the chooser, so the options argument is not read.
    // A colour not passed reads as the empty text, which is black.
    const Rgb start = parseColorText(args.narrow(kColorArgument, kColorBytes));

    SystemDialogRequest request{kColorChooser, WideText(), WideText(), WideText(), systemColor(start)};
    SystemDialogAnswer answer{WideText(), 0};
    if (!userPresent() || runSystemDialog(request, answer) != ChooserOutcome::kChosen) return result.setEmpty();
    return result.setText(colorText(rgbOf(answer.color)).c_str());
}

void selectFileDialogFunction(const CallArguments &args, CallResult &result) {
    // A call with nothing to say opens nothing.
    if (args.count() == 0) return result.setEmpty();
    OptionSet options(args.narrow(kOptionsArgument, kMediumOptionsBytes));
    const bool save = options.has("saveDialog");

    SystemDialogRequest request{save ? kSaveFileDialog : kOpenFileDialog, args.wide(kTitleArgument),
                                args.wide(kFolderArgument), args.wide(kFilterArgument), 0};
    // The save dialog starts with the text in its file name box.
    if (save) request.folder = fitPathBuffer(request.folder);
    else if (request.folder.length() >= kStartFolderUnits) request.folder = WideText();
    return answerPath(request, result);
}

void selectFolderDialogFunction(const CallArguments &args, CallResult &result) {
    if (args.count() == 0) return result.setEmpty();
    // The options argument is not read: no keyword changes the browser.
    SystemDialogRequest request{kFolderBrowser, args.wide(kTitleArgument), args.wide(kFolderArgument),
                                WideText(), 0};
    return answerPath(request, result);
}
