// Tessary_CustomDialog: a whole dialog described by one markup text (see
// model/markup.h): window settings and a list of objects, each one control
// of any kind the control factory makes. Returns the name of the button that
// closed it; the other objects' values wait under their names for
// Tessary_GetInput.
#include <algorithm>
#include <string>

#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "model/dialog_definition.h"
#include "model/markup.h"
#include "model/call.h"
#include "resources/resource_ids.h"
#include "runtime/runner.h"

namespace {

constexpr int kFirstObjectSlot = 3;                        // object n sits in slot n + 2
constexpr int kMaxObjects = kSlotCount - kFirstObjectSlot; // 117; later objects are ignored

// What a window gets where the markup leaves a size at 0 (script units).
constexpr int32_t kWidth = 383;
constexpr int32_t kHeight = 360;
constexpr int32_t kMinWidth = 363;
constexpr int32_t kMinHeight = 170;

// Units of a kind, font name or font style value looked at; the font record
// then keeps what fits its fields.
constexpr size_t kMaxNarrowValue = 1023;

// Style bits of "alignment", the same for texts and fields.
constexpr uint32_t kAlignCenter = 1; // SS_CENTER, ES_CENTER
constexpr uint32_t kAlignRight = 2;  // SS_RIGHT, ES_RIGHT

const char kNoButtonError[] = "Error: At least one button must be specified";

// ---- window elements -------------------------------------------------------

struct WindowNumber {
    const char *name;
    int32_t DialogDefinition::*field;
};

const WindowNumber kWindowNumbers[] = {
    {"left", &DialogDefinition::left},         {"top", &DialogDefinition::top},
    {"width", &DialogDefinition::width},       {"height", &DialogDefinition::height},
    {"minwidth", &DialogDefinition::minWidth}, {"minheight", &DialogDefinition::minHeight},
};

void applyWindowElement(DialogDefinition &d, const MarkupElement &element) {
    for (const WindowNumber &row : kWindowNumbers) {
        if (element.nameIs(row.name)) {
            d.*row.field = markupNumber(element);
            if (row.field == &DialogDefinition::left || row.field == &DialogDefinition::top) d.positionGiven = 1;
            return;
        }
    }
    if (element.nameIs("title")) {
        d.title = element.valueText();
    } else if (element.nameIs("resize") && markupFlag(element)) {
        d.resizable = 1;
    }
}

// ---- object attributes -----------------------------------------------------

// A kind keyword is ASCII. Any other unit becomes '?', so that no character
// can pass for a keyword's letter by its low byte ("\u0162utton" is no
// button) or end the keyword early with a zero byte.
NarrowText kindOf(const MarkupElement &element) {
    const size_t length = std::min(element.valueLength, kMaxNarrowValue);
    std::string kind(length, '?');
    for (size_t i = 0; i < length; ++i) {
        if (element.value[i] > 0 && element.value[i] < 0x80) kind[i] = char(element.value[i]);
    }
    return NarrowText(kind.c_str());
}

// Font names and styles are kept as UTF-8, as the font record holds them, so
// a face named outside the ANSI code page still reaches the font.
std::string fontTextOf(const MarkupElement &element) {
    const size_t length = wholeCharacterCut(element.value, element.valueLength, kMaxNarrowValue);
    return wideToUtf8(WideText(element.value, length).data());
}

void setFontFace(ControlSpec &s, const MarkupElement &e) {
    const FontSpec was = s.font;
    setFont(s.font, fontTextOf(e).c_str(), was.style, was.pointSize);
}

void setFontStyle(ControlSpec &s, const MarkupElement &e) {
    const FontSpec was = s.font;
    setFont(s.font, was.faceName, fontTextOf(e).c_str(), was.pointSize);
}

void setFontSize(ControlSpec &s, const MarkupElement &e) {
    const FontSpec was = s.font;
    setFont(s.font, was.faceName, was.style, markupNumber(e));
}

void setAlignment(ControlSpec &s, const MarkupElement &e) {
    if (e.valueIs("center")) {
        s.extraStyle = kAlignCenter;
    } else if (e.valueIs("right")) {
        s.extraStyle = kAlignRight;
    }
}

struct ObjectAttribute {
    const char *name;
    void (*apply)(ControlSpec &slot, const MarkupElement &element);
};

// The numbered attributes keep the names they have for the kinds that use
// them; a list reads the same fields as its chosen row, return column and
// column count, and "setcheckbox" as its check-box form.
const ObjectAttribute kObjectAttributes[] = {
    {"type", [](ControlSpec &s, const MarkupElement &e) { s.kind = kindOf(e); }},
    {"name", [](ControlSpec &s, const MarkupElement &e) { s.value = e.valueText(); }},
    {"text", [](ControlSpec &s, const MarkupElement &e) { s.text = e.valueText(); }},
    {"left", [](ControlSpec &s, const MarkupElement &e) { s.x = markupNumber(e); }},
    {"top", [](ControlSpec &s, const MarkupElement &e) { s.y = markupNumber(e); }},
    {"width", [](ControlSpec &s, const MarkupElement &e) { s.width = markupNumber(e); }},
    {"height", [](ControlSpec &s, const MarkupElement &e) { s.height = markupNumber(e); }},
    {"moveX", [](ControlSpec &s, const MarkupElement &e) { if (markupFlag(e)) s.followRight = 1; }},
    {"moveY", [](ControlSpec &s, const MarkupElement &e) { if (markupFlag(e)) s.followBottom = 1; }},
    {"readonly", [](ControlSpec &s, const MarkupElement &e) { if (markupFlag(e)) s.disabled = 1; }},
    {"alignment", setAlignment},
    {"fontname", setFontFace},
    {"fontstyle", setFontStyle},
    {"fontsize", setFontSize},
    {"hasfocus", [](ControlSpec &s, const MarkupElement &e) { if (markupFlag(e)) s.initialFocus = 1; }},
    {"rows", [](ControlSpec &s, const MarkupElement &e) { setRadioLineCount(s, markupNumber(e)); }},
    {"columns", [](ControlSpec &s, const MarkupElement &e) { setRadioColumns(s, markupNumber(e)); }},
    {"selected", [](ControlSpec &s, const MarkupElement &e) { setRadioChecked(s, markupNumber(e)); }},
    {"totalsteps", [](ControlSpec &s, const MarkupElement &e) { setSliderMaximum(s, markupNumber(e)); }},
    {"startstep", [](ControlSpec &s, const MarkupElement &e) { setSliderPosition(s, markupNumber(e)); }},
    {"setcheckbox", [](ControlSpec &s, const MarkupElement &e) { if (markupFlag(e)) setCheckBoxChecked(s, 1); }},
};

void applyObjectAttribute(DialogDefinition &d, int slot, const MarkupElement &element) {
    if (element.nameIs("defaultbutton")) {
        if (markupFlag(element)) d.defaultButton = slot;
        return;
    }
    for (const ObjectAttribute &row : kObjectAttributes) {
        if (element.nameIs(row.name)) {
            row.apply(d.controls[slot], element);
            return;
        }
    }
}

// ---- after the markup ------------------------------------------------------

// What the markup cannot say for a kind but its control needs, one row per
// kind that needs something; the other kinds have none.
struct MarkupKind {
    ControlKind kind;
    void (*complete)(ControlSpec &s); // null: nothing to add
    bool closes;                      // a press ends the dialog, which needs one such object
};

const MarkupKind kMarkupKinds[] = {
    // Radio buttons stand in rows of "columns"; without it, one a row.
    {ControlKind::kRadio, [](ControlSpec &s) { if (radioColumns(s) < 1) setRadioColumns(s, 1); }, false},
    // No row of a list starts checked, so none is chosen: a chosen row 0
    // left from "rows" would let a click check a second row of a list that
    // allows one.
    {ControlKind::kPlainList, [](ControlSpec &s) { setListChosenRow(s, -1); }, false},
    {ControlKind::kButton, nullptr, true},
};

const MarkupKind *markupKindOf(const ControlSpec &s) {
    for (const MarkupKind &k : kMarkupKinds) {
        if (k.kind == s.kind.control()) return &k;
    }
    return nullptr;
}

void completeObject(ControlSpec &s) {
    const MarkupKind *kind = markupKindOf(s);
    if (kind != nullptr && kind->complete != nullptr) kind->complete(s);
}

bool holdsButton(const DialogDefinition &d, int objects) {
    for (int slot = kFirstObjectSlot; slot < kFirstObjectSlot + objects; ++slot) {
        const MarkupKind *kind = markupKindOf(d.controls[slot]);
        if (kind != nullptr && kind->closes) return true;
    }
    return false;
}

void applyDefaultSizes(DialogDefinition &d) {
    if (d.width == 0) d.width = kWidth;
    if (d.height == 0) d.height = kHeight;
    if (d.minWidth == 0) d.minWidth = kMinWidth;
    if (d.minHeight == 0) d.minHeight = kMinHeight;
}

} // namespace

void customDialogFunction(const CallArguments &args, CallResult &result) {
    DialogDefinition &d = dialog();
    // Nothing of earlier calls carries over: not the position, the title,
    // the fonts of Tessary_SetFont or the staged rows.
    carryOver(kNothingCarries);

    const WideText &markup = args.wide(0);
    MarkupScanner scanner(markup.data(), markup.length());
    MarkupElement element;
    while (scanner.next(element)) {
        if (element.object == 0) {
            applyWindowElement(d, element);
        } else if (element.object <= kMaxObjects) {
            applyObjectAttribute(d, kFirstObjectSlot + element.object - 1, element);
        }
    }
    const int objects = std::min(scanner.objectCount(), kMaxObjects);
    if (objects == 0 || !holdsButton(d, objects)) return result.setText(kNoButtonError);

    for (int slot = kFirstObjectSlot; slot < kFirstObjectSlot + objects; ++slot) completeObject(d.controls[slot]);
    applyDefaultSizes(d);
    d.templateId = IDD_MESSAGE;
    d.controlCount = kFirstObjectSlot + objects;
    d.holdsMarkupObjects = 1;

    showFrame();
    return frameResult(result);
}
