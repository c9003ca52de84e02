// The one global record that describes the dialog to show next and, after it
// closes, what the user did in it. It is plain data: what lives only while a
// dialog's window does (the windows, fonts, lent cells) is in that dialog's
// own record in the runtime. Every external function fills it, the
// dialog runtime reads it and writes the results back into it, and whatever a
// function does not reset carries over to the next call.
#ifndef TESSARY_MODEL_DIALOG_DEFINITION_H
#define TESSARY_MODEL_DIALOG_DEFINITION_H

#include <cstdint>
#include <utility>

#include "model/text.h"

constexpr int kSlotCount = 120;

// Slot roles shared by the standard dialogs.
constexpr int kMessageSlot = 1;      // slots 1..3 are dialog texts
constexpr int kFirstButtonSlot = 4;  // buttons 1..8 in slots 4..11
constexpr int kFirstLabelSlot = 12;  // labels 1..24 in slots 12..35
constexpr int kFirstInputSlot = 36;  // inputs 1..24 in slots 36..59
constexpr int kFirstExtraSlot = 60;  // further controls, 60..119
constexpr int kRowSlots = 24;        // rows of a table: label = input - 24, partners = input + 24, input + 48
constexpr int kFirstTabPageSlot = 110; // a tab dialog's pages, 110..112: its tab control's entries
constexpr int kTabPageCount = 3;
constexpr int kLastTabPageSlot = kFirstTabPageSlot + kTabPageCount - 1;
// Slots that take part in resizing and list notifications: the list dialogs
// take every slot below the pages, the tab dialog its pages and two more.
constexpr int kListDialogControlCount = kFirstTabPageSlot;
constexpr int kTabDialogControlCount = kLastTabPageSlot + 3;

constexpr int kFontFieldSize = 32; // bytes of a FontSpec text, terminator included

struct FontSpec {
    char faceName[kFontFieldSize]; // UTF-8, zero-terminated; empty: the default face
    char style[kFontFieldSize];    // any of "Italic", "Bold", "StrikeOut", "Underline"
    int32_t pointSize;             // points; 0 or less: the default size
};

// Largest point size a font request keeps; a larger one is taken as this.
// Far beyond it the height in pixels overflows and the text vanishes.
constexpr int32_t kLargestPointSize = 1638;

void clearFont(FontSpec &font);
// Copies both texts cut to fit their fields without splitting a UTF-8
// character; a point size above kLargestPointSize becomes that size.
void setFont(FontSpec &font, const char *faceName, const char *style, int32_t pointSize);

// The control kinds the runtime can make, resolved once from a slot's kind
// keyword when it is set; every other keyword (the input kinds a form row
// names before it is laid out, an unknown word) makes no control.
enum class ControlKind : uint8_t {
    kNone,
    kStatic,
    kButton,
    kEditBox,
    kEdit,
    kPassword,
    kComboBox,
    kPlainList,   // "listbox" without check boxes: one column of rows, the dual list's lists
    kCheckList,   // "listbox" with check boxes (listHasCheckBoxes): rows held in the dialog's record
    kGrid,        // "listboxview": the grid of editable cells
    kSlider,
    kDate,
    kDateDropDown,
    kTime,
    kCheckBox,
    kProgressBar,
    kRadio,
    kTabControl,
};
constexpr int kControlKindCount = int(ControlKind::kTabControl) + 1;

// The kind a keyword names, compared exactly ("static", "listboxview", ...);
// "listbox" names the plain list, which slotKind tells from the check-box list.
ControlKind controlKindOf(const NarrowText &keyword);

// A slot's kind keyword together with the control kind it names. The
// keyword stays what scripts and the row layout read; the kind is looked up
// once, whenever the keyword is set.
class KindName : public NarrowText {
public:
    KindName() = default;
    KindName(const NarrowText &keyword) : NarrowText(keyword), control_(controlKindOf(keyword)) {}
    KindName &operator=(const NarrowText &keyword) {
        NarrowText::operator=(keyword);
        control_ = controlKindOf(keyword);
        return *this;
    }
    // A keyword made for the slot is taken over, not copied.
    KindName &operator=(NarrowText &&keyword) {
        control_ = controlKindOf(keyword);
        NarrowText::operator=(std::move(keyword));
        return *this;
    }
    void clear() {
        NarrowText::clear();
        control_ = ControlKind::kNone;
    }
    ControlKind control() const { return control_; }

private:
    ControlKind control_ = ControlKind::kNone;
};

struct ControlSpec {
    int32_t ownerIndex;       // slot of the hosting tab page; -1: the dialog itself
    WideText value;           // reported value; for buttons the result code ("1")
    WideText text;            // caption, content or items; inputs receive the entered text here
    KindName kind;            // control kind keyword; empty: no control
    FontSpec font;            // font request of the control
    WideText extraText[3];    // per-kind texts 1..3 (see the kind table)
    NarrowText extraNarrow[3];// per-kind narrow texts 1..3
    int32_t param[3];         // per-kind integers 1..3
    uint8_t flag[3];          // per-kind flags 1..3
    int32_t x, y, width, height; // script units (96-dpi pixels), client coordinates of the parent
    double growWidth;         // share of the dialog's width change added to width (> 0 used)
    double growHeight;        // share of the dialog's height change added to height
    uint8_t followRight;      // 1: x moves with the dialog's right edge
    uint8_t followBottom;     // 1: y moves with the dialog's bottom edge
    uint8_t disabled;         // 1: created disabled
    uint8_t requiresSelection;// 1: enabled only while its list has a chosen row
    int32_t linkIndex;        // slot that receives this value on close; < 1: none
    int32_t linkMode;         // 1 append after the target's linkSeparator, 2 replace
    uint8_t linksEmptyValue;  // 1: an empty value is passed on too (a range given as two fields)
    WideText linkSeparator;   // put before a value another slot appends here
    uint32_t extraStyle;      // window style bits added at creation
    uint8_t initialFocus;     // 1: gets the keyboard focus when the dialog opens

    ControlSpec();
    // Every field back to what a new slot holds, in place, but the font, the
    // text and the kind keyword where asked to keep them. A field added
    // above is reset here too.
    void reset(bool keepFont, bool keepText, bool keepKind = false);

private:
    void resetNumbers();
};

// The kind of control a slot makes: its keyword's kind, where a "listbox"
// with check boxes is the check-box list.
ControlKind slotKind(const ControlSpec &slot);

// Where a control sits and how it follows the dialog when resized.
struct SlotLayout {
    int32_t x, y, width, height; // script units (96-dpi pixels), client coordinates of the parent
    double growWidth;            // share of the dialog's width change
    double growHeight;           // share of the dialog's height change
    bool followRight;            // x moves with the right edge
    bool followBottom;           // y moves with the bottom edge
};
void setLayout(ControlSpec &slot, const SlotLayout &layout);

// Numbered per-kind fields, numbered 1..3 as the kinds use them. Reads of a
// number outside 1..3 give an empty or zero value; writes are ignored.
const WideText &extraText(const ControlSpec &slot, int n);
void setExtraText(ControlSpec &slot, int n, const WideText &text);
const NarrowText &extraNarrow(const ControlSpec &slot, int n);
void setExtraNarrow(ControlSpec &slot, int n, const NarrowText &text);
int32_t param(const ControlSpec &slot, int n);
void setParam(ControlSpec &slot, int n, int32_t value);
uint8_t flag(const ControlSpec &slot, int n);
void setFlag(ControlSpec &slot, int n, uint8_t value);

// Names for the numbered fields, one per meaning a kind gives them. Code
// says listColumnCount(slot), never param(slot, 3); the storage stays the
// numbered fields above, so a slot reused by another kind carries no field
// of its own.
#define TESSARY_KIND_FIELD(Type, getter, setter, field, setField, n) \
    inline Type getter(const ControlSpec &slot) { return field(slot, n); } \
    inline void setter(ControlSpec &slot, Type value) { setField(slot, n, value); }
#define TESSARY_KIND_TEXT(Type, getter, setter, field, setField, n) \
    inline const Type &getter(const ControlSpec &slot) { return field(slot, n); } \
    inline void setter(ControlSpec &slot, const Type &value) { setField(slot, n, value); }

// "listbox" (check-box list, plain list, dual list) and "listboxview" (grid)
TESSARY_KIND_TEXT(WideText, listColumnTitles, setListColumnTitles, extraText, setExtraText, 1)   // "|"-separated
TESSARY_KIND_TEXT(WideText, listPreselected, setListPreselected, extraText, setExtraText, 2)     // keys checked at start
TESSARY_KIND_TEXT(WideText, listHiddenKeys, setListHiddenKeys, extraText, setExtraText, 3)       // one key per row
TESSARY_KIND_TEXT(NarrowText, listColumnWidths, setListColumnWidths, extraNarrow, setExtraNarrow, 2) // percent, "|"-separated
TESSARY_KIND_TEXT(NarrowText, listAlignment, setListAlignment, extraNarrow, setExtraNarrow, 3)     // "L", "R" or "C" per column
TESSARY_KIND_FIELD(int32_t, listChosenRow, setListChosenRow, param, setParam, 1)       // -1 none; click count when multiple
TESSARY_KIND_FIELD(int32_t, listReturnColumn, setListReturnColumn, param, setParam, 2) // from 1; 0 or less whole rows
TESSARY_KIND_FIELD(int32_t, listColumnCount, setListColumnCount, param, setParam, 3)   // data columns
TESSARY_KIND_FIELD(uint8_t, listHasCheckBoxes, setListHasCheckBoxes, flag, setFlag, 1)
TESSARY_KIND_FIELD(uint8_t, listMultiple, setListMultiple, flag, setFlag, 2)
TESSARY_KIND_FIELD(uint8_t, dualListMoves, setDualListMoves, flag, setFlag, 2)         // items leave the source list
// "listboxview" (grid) only
TESSARY_KIND_TEXT(NarrowText, gridColumnKinds, setGridColumnKinds, extraNarrow, setExtraNarrow, 1) // letter per column: E text, C choice, e fixed
TESSARY_KIND_TEXT(WideText, gridChoices, setGridChoices, extraText, setExtraText, 2) // a line of '|'-ended choices per column, CR apart
// "radio"
TESSARY_KIND_FIELD(int32_t, radioLineCount, setRadioLineCount, param, setParam, 1)
TESSARY_KIND_FIELD(int32_t, radioColumns, setRadioColumns, param, setParam, 2)         // buttons per row
TESSARY_KIND_FIELD(int32_t, radioChecked, setRadioChecked, param, setParam, 3)         // button number from 1; 0 none
// "slider"
TESSARY_KIND_FIELD(int32_t, sliderMaximum, setSliderMaximum, param, setParam, 1)
TESSARY_KIND_FIELD(int32_t, sliderPosition, setSliderPosition, param, setParam, 2)
// "checkbox"
TESSARY_KIND_FIELD(uint8_t, checkBoxChecked, setCheckBoxChecked, flag, setFlag, 1)
// "progressbar"
TESSARY_KIND_FIELD(int32_t, progressSteps, setProgressSteps, param, setParam, 1)       // the bar's maximum, 0 or more
TESSARY_KIND_FIELD(int32_t, progressCounter, setProgressCounter, param, setParam, 2)   // the position the next step shows
TESSARY_KIND_FIELD(uint8_t, progressMarquee, setProgressMarquee, flag, setFlag, 1)     // runs as a barber pole
// "button" of the progress window
TESSARY_KIND_FIELD(uint8_t, cancelPressed, setCancelPressed, flag, setFlag, 1)         // pressed since the last "show"
// "tabcontrol"
TESSARY_KIND_TEXT(WideText, tabTitle, setTabTitle, extraText, setExtraText, 1)
TESSARY_KIND_FIELD(int32_t, tabPosition, setTabPosition, param, setParam, 1)           // from 0
TESSARY_KIND_FIELD(uint8_t, tabShownFirst, setTabShownFirst, flag, setFlag, 1)

#undef TESSARY_KIND_FIELD
#undef TESSARY_KIND_TEXT

// A slot's texts are kept as the host gave them, CR line breaks and all;
// only the Windows edge changes them. What goes into a window gets an LF
// after every CR, so a host line break shows as a Windows one; what is read
// out of a window loses the LF right after each CR, so a text that was shown
// and not touched comes back unit for unit, a lone LF and a CR LF included,
// and a line break typed into a field comes back as the host's CR.
WideText withLineFeeds(const WideText &source);
WideText withoutAddedLineFeeds(const WideText &shown);

struct ScreenRect {
    int32_t left, top, right, bottom;
};

// The kinds of message a dialog can show the system's icon and sound of.
enum class MessageIcon : uint8_t { kNone, kInformation, kWarning, kError, kQuestion };
// Room the icon takes left of the message, script units: the system's large
// icon at 96 dpi and a gap, as in the system's message box.
constexpr int32_t kMessageIconSize = 32;
constexpr int32_t kMessageIconGap = 10;

struct DialogDefinition {
    ControlSpec controls[kSlotCount]; // the control table
    TextUnit valueSeparator[2];   // "|": joins the parts of composite input rows
    WideText title;               // window caption
    int32_t templateId;           // dialog template resource to run
    int32_t left, top;            // window position, screen pixels
    int32_t width, height;        // outer window size, script units; kept current on resize
    int32_t minHeight, minWidth;  // smallest size the user can resize to
    uint8_t timerEnabled;         // 1: the close timer runs
    uint32_t timerInterval;       // close timer period, milliseconds
    int32_t controlCount;         // slots 0..controlCount-1 take part in resizing and list notifications
    uint8_t resizable;            // 1: the window has a sizing border
    int32_t resultIndex;          // slot of the button that closed the dialog; -1: none
    int32_t defaultButton;        // slot of the default button; -1 none
    uint8_t noCaption;            // 1: no caption bar
    uint8_t holdsMarkupObjects;   // 1: the slots hold a markup dialog's objects, not staged rows
    // The order the slots' controls are made in, which is the order the
    // keyboard walks them and a screen reader reads them: slot
    // creationOrder[k] is made k-th. Without it (ordered == 0) the slots
    // are made in index order, as a markup dialog's objects are.
    uint8_t creationOrder[kSlotCount];
    uint8_t ordered;
    uint8_t copiesMessage;        // 1: Ctrl+C copies the title and the message of slot 1
    uint8_t sizeGiven;            // 1: the script gave the size ("width", "height"): it does not grow with the content
    // 1: a script set the position, or a user moved a dialog: later dialogs
    // open at left, top. 0: each opens centred on its owner.
    uint8_t positionGiven;
    int32_t cancelButton;         // slot of the button that Esc, Alt+F4 and the close box press; 0: none
    MessageIcon messageIcon;      // the system's icon of that kind left of the message of slot 1, and its sound

    DialogDefinition();
    DialogDefinition(const DialogDefinition &) = delete;
    DialogDefinition &operator=(const DialogDefinition &) = delete;

    ScreenRect windowRect() const;
};

// The slot whose control is made `place`-th (0..kSlotCount-1).
int slotMadeAt(const DialogDefinition &d, int place);

// The module-global record, built when the module loads. The plug-in layer
// gives it its owner window at load and the focus back at unload; the model
// itself asks nothing of the system.
DialogDefinition &dialog();

// Slot `index` (0..kSlotCount-1) of the record's control table.
inline ControlSpec &slotAt(int index) {
    return dialog().controls[index];
}

#endif
