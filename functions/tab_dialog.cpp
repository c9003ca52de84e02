// Tessary_DoTabDialog: the staged rows on up to three tab pages of eight
// rows, each page with an optional text at its top, and up to eight buttons
// under the pages; returns the number of the button pressed.
#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "functions/input_rows.h"
#include "model/dialog_definition.h"
#include "model/options.h"
#include "model/call.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace {


constexpr int32_t kWidth = 400;          // script units
constexpr int32_t kHeight = 432;
constexpr int32_t kHeightWithoutTexts = 396;
constexpr int32_t kPageX = 3;            // in the tab control
constexpr int32_t kPageY = 22;
constexpr int32_t kPageWidthAllowance = 35; // window width minus a page's
constexpr int32_t kPageAboveButtons = 30;   // the buttons' y minus a page's height
// A page text ends as far inside its page as it starts, never under the
// page's right edge, where the ends of its lines would be cut off.
constexpr int32_t kTextWidthAllowance = kPageWidthAllowance + 2 * kContentLeft; // window width minus a page text's
constexpr int32_t kTextHeight = 30;
constexpr int32_t kRowsBelowText = 45;   // the first row's y on a page with a text
constexpr uint32_t kTwoButtonRowsArguments = 13; // from this many arguments on, buttons take two rows
constexpr uint32_t kFirstButtonArgument = 8;
constexpr int kButtonCount = 8;
constexpr int kRows = 24;

// The three pages: their tab control slot, their text slot, their rows, and
// the arguments of their title and text.
struct Page {
    int slot;
    int textSlot;
    int firstInput;
    uint32_t titleArgument;
};
const Page kPages[] = {
    {kFirstTabPageSlot, kMessageSlot, kFirstInputSlot, 2},
    {kFirstTabPageSlot + 1, kMessageSlot + 1, kFirstInputSlot + 8, 4},
    {kFirstTabPageSlot + 2, kMessageSlot + 2, kFirstInputSlot + 16, 6},
};
static_assert(sizeof(kPages) / sizeof(kPages[0]) == kTabPageCount, "one page per tab control slot");
constexpr int kPageCount = kTabPageCount;
constexpr int kRowsPerPage = 8;


// The page shown first: page 2 or 3 when asked for, else page 1. A page
// that turns out not to exist loses the mark and page 1 is shown.
void markFirstPage(const OptionSet &options) {
    for (const Page &page : kPages) setTabShownFirst(slotAt(page.slot), 0);
    int first = options.has("gotoTab2") ? 1 : options.has("gotoTab3") ? 2 : 0;
    setTabShownFirst(slotAt(kPages[first].slot), 1);
}

// Row n (1..24) takes the focus; other numbers name no row.
void applyFocus(const OptionSet &options) {
    if (!options.has("focus")) return;
    const int row = options.numericValue("focus");
    if (row >= 1 && row <= kRows) slotAt(kFirstInputSlot + row - 1).initialFocus = 1;
}

void fillPageText(const Page &page, const WideText &text, const ControlSpec &firstText) {
    ControlSpec &s = slotAt(page.textSlot);
    placeStatic(s, text,
                SlotLayout{firstText.x, firstText.y, firstText.width, firstText.height, 0.0, 0.0, false, false});
    s.ownerIndex = page.slot;
}

void fillPage(const Page &page, int position, const WideText &title, int32_t width, int32_t height) {
    ControlSpec &s = slotAt(page.slot);
    s.kind = NarrowText("tabcontrol");
    setTabTitle(s, title);
    setTabPosition(s, position);
    setLayout(s, SlotLayout{kPageX, kPageY, width, height, 0.0, 0.0, false, false});
}

void dropPage(const Page &page) {
    for (int slot = page.firstInput; slot < page.firstInput + kRowsPerPage; ++slot) dropRow(slot);
    resetSlot(page.slot, true, true);
}

} // namespace

void doTabDialogFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();
    const uint32_t count = args.count();
    const int32_t extra = count >= kTwoButtonRowsArguments ? kSecondRowExtra : 0;

    startFrame(d, keepStagedRows(kRows), FrameStart{IDD_MESSAGE, kWidth, kHeight, kWidth, kHeight, false, kFirstButtonSlot},
               args.wide(1));
    OptionSet options(args.narrow(0, kLongOptionsBytes));
    markFirstPage(options);
    // The pages and their rows are laid out for the size asked for.
    applyExplicitSize(d, options);
    clampToMinimum(d);
    applyPosition(d, options);
    applyFocus(options);
    d.defaultButton = defaultButtonSlot(options, kButtonCount, kFirstButtonSlot);

    // Page 1's text decides for all pages: without it no page has one.
    const WideText &firstText = args.wide(kPages[0].titleArgument + 1);
    resetSlot(kMessageSlot, true, true);
    if (options.has("noTabText")) {
        d.minHeight = kHeightWithoutTexts;
        if (!options.has("height")) d.height = kHeightWithoutTexts;
    } else if (!firstText.empty()) {
        ControlSpec &s = slotAt(kMessageSlot);
        placeStatic(
            s, firstText,
            SlotLayout{kContentLeft, kContentTop, d.width - kTextWidthAllowance, kTextHeight, 0.0, 0.0, false, false});
        s.ownerIndex = kPages[0].slot;
    }
    const bool withTexts = !slotAt(kMessageSlot).kind.empty();
    const int32_t top = withTexts ? kRowsBelowText : kContentTop;
    const StagedTexts staged(kFirstInputSlot, kFirstInputSlot + kRowSlots);
    for (const Page &page : kPages) stackTabPageRows(page.firstInput, page.firstInput + kRowsPerPage, top, page.slot);

    placeButtonRow(args, ButtonRow{kFirstButtonArgument, kButtonCount, extra, false}, d.width, d.height);
    applyCancelButton(d, options);
    const int32_t pageWidth = d.width - kPageWidthAllowance;
    const int32_t pageHeight = slotAt(kFirstButtonSlot).y - kPageAboveButtons;
    fillPage(kPages[0], 0, args.wide(kPages[0].titleArgument), pageWidth, pageHeight);
    for (int p = 1; p < kPageCount; ++p) {
        const Page &page = kPages[p];
        const WideText &title = args.wide(page.titleArgument);
        resetSlot(page.textSlot, true, true);
        if (title.empty()) {
            dropPage(page);
            continue;
        }
        fillPage(page, p, title, pageWidth, pageHeight);
        const WideText &text = args.wide(page.titleArgument + 1);
        if (withTexts && !text.empty()) fillPageText(page, text, slotAt(kMessageSlot));
    }
    if (!tabShownFirst(slotAt(kPages[1].slot)) && !tabShownFirst(slotAt(kPages[2].slot))) {
        setTabShownFirst(slotAt(kPages[0].slot), 1);
    }
    d.controlCount = kTabDialogControlCount;

    showFrame();
    staged.restoreUnlessPressed();
    return frameResult(result);
}
