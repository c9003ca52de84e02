#include "functions/input_rows.h"

#include "model/carry_over.h"
#include "model/numbers.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "model/datetext.h"
#include "model/fields.h"
#include "model/options.h"

namespace {

// ---- sizes (script units) ----------------------------------------------------

constexpr int32_t kRowLeft = 17;          // a label, or a text that takes the whole row
constexpr int32_t kStaticShift = 3;       // a whole-row text sits this much lower, as labels do
constexpr int32_t kFieldHeight = 23;
constexpr int32_t kSliderHeight = 30;
constexpr int32_t kPickerWidth = 86;      // a date or time field
constexpr int32_t kDateAfterTime = 90;    // the date field's x past the time field's
constexpr int32_t kRangeLabelWidth = 95;
// A text range: field, caption and field at fixed places from the label.
constexpr int32_t kRangeFieldOffset = 103;
constexpr int32_t kRangeFieldWidth = 81;
constexpr int32_t kRangeCaptionOffset = 190;
constexpr int32_t kRangeCaptionWidth = 70;
constexpr int32_t kRangeSecondOffset = 65; // the second field's x past the caption's
// A date or time range: field, caption and field side by side after the label.
constexpr int32_t kPickerRangeGap = 8;
constexpr int32_t kPickerRangeCaptionWidth = 55;
constexpr int32_t kPickerRangeSecondGap = 3;
// Boxes and buttons taken from the label's captions: one sits where the
// input would; two or three share the row from the left edge.
constexpr int32_t kSingleChoiceX = 119;
constexpr int32_t kSingleChoiceWidth = 200;
constexpr int32_t kSharedChoiceX = 20;
constexpr int32_t kTwoChoiceAllowance = 201;   // window width minus a box's width, two boxes
constexpr int32_t kThreeChoiceAllowance = 268; // three boxes
constexpr int kMaxCheckBoxes = 3;
constexpr size_t kMaxStateUnits = 15;     // a longer check box default reads as "000"
constexpr size_t kMaxSplitUnits = 32;     // split texts are read this far

// On a tab page (script units).
constexpr int32_t kPageBottomAllowance = 57; // window height minus the lowest row's bottom
constexpr int32_t kPageWidthAllowance = 162; // window width minus an input's width
constexpr int32_t kPageRowEndAllowance = kPageWidthAllowance - kSingleChoiceX; // window width minus where inputs end
constexpr int32_t kLabelShift = 3;           // a label sits this much below its input's y
constexpr int32_t kLineGap = 10;             // a control of n lines ends this much above the next line
// A radio group of n lines takes 23 x n + 10, less than n lines of
// fields: its buttons stand closer together than rows do.
constexpr int32_t kRadioLineShift = 12;
constexpr int32_t kRadioLineBase = 10;
constexpr int kMaxRadioColumns = 3;

// Extra styles of an edit (window style bits ES_CENTER and ES_RIGHT).
constexpr uint32_t kCentredText = 1;
constexpr uint32_t kRightText = 2;

constexpr TextUnit kSeparator = TextUnit('|');


// No growth and no following: the control keeps its place as the window grows.
void pin(ControlSpec &s) {
    s.growWidth = 0.0;
    s.growHeight = 0.0;
    s.followRight = 0;
    s.followBottom = 0;
}

// A text cut to its first kMaxSplitUnits units (never half a character)
// and split at its first '|': `first` before it, `rest` after it, or only up
// to the next '|' when `restToNextBar`.
struct Split {
    WideText first, rest;
    bool split; // a '|' was found
};

Split splitAtBar(const WideText &text, bool restToNextBar) {
    const size_t used = wholeCharacterCut(text.data(), text.length(), kMaxSplitUnits);
    const WideFields fields(text.data(), used);
    Split split{fields.text(0), WideText(), fields.size() > 1};
    if (!split.split) return split;
    const size_t start = size_t(fields.data(1) - text.data());
    split.rest = restToNextBar ? fields.text(1) : WideText(text.data() + start, used - start);
    return split;
}

size_t barCount(const WideText &text) {
    return wideCount(text.data(), kSeparator);
}

// Partners pass their value to the input slot, which then holds the row's
// one text.
void linkToRow(ControlSpec &partner, int inputSlot) {
    partner.linkMode = 1;
    partner.linkIndex = inputSlot;
}

// Tessary_SetFont reaches only the input of a row; every part of the row
// shows in its font, so one row never mixes two sizes.
void takeRowFont(ControlSpec &part, const ControlSpec &input) {
    part.font = input.font;
}

// ---- one expansion per kind -------------------------------------------

struct InputKind;

struct Row {
    int input;       // slot
    int owner;
    ControlSpec &s;  // the input
    ControlSpec &label;
    ControlSpec &second; // input + 24
    ControlSpec &third;  // input + 48
};

void expandSlider(const Row &row, const InputKind &) {
    ControlSpec &s = row.s;
    s.height = kSliderHeight;
    const WideFields parts(s.text.data(), std::min(s.text.length(), kMaxFieldScan));
    setSliderPosition(s, leadingInteger(parts.data(0), parts.length(0)));
    setSliderMaximum(s, leadingInteger(parts.data(1), parts.length(1)));
}

void expandHalfEdit(const Row &row, const InputKind &kind);

void expandStatic(const Row &row, const InputKind &) {
    resetSlot(row.input - kRowSlots, true, true);
    row.s.x = kRowLeft;
    row.s.y += kStaticShift;
    row.s.width += kRowLeft;
}

void expandDate(const Row &row, const InputKind &) {
    row.s.width = kPickerWidth;
    row.s.growWidth = 0.0;
    row.s.growHeight = 0.0;
}

// A time field and a date field: the row reads "time|date".
void expandDateTime(const Row &row, const InputKind &kind);

// The input kinds that are rewritten before the factory sees them, one row
// each: how the row is expanded, and the kind and style of the fields it
// makes. Kinds without a row ("edit", "combobox", ...) stay as staged.
struct InputKind {
    const char *keyword;
    void (*expand)(const Row &row, const InputKind &kind);
    const char *fieldKind = nullptr; // the kind of the fields the row is made of
    uint32_t extraStyle = 0;         // their text alignment; 0: the field's own
    bool pickers = false;            // a range of date or time pickers, placed after the label
};

void expandDateTime(const Row &row, const InputKind &kind) {
    ControlSpec &s = row.s;
    ControlSpec &date = row.second;
    row.label.x = kRowLeft;
    Split text = splitAtBar(s.text, false);
    date.kind = NarrowText(kind.fieldKind);
    date.text = text.rest;
    setLayout(date, SlotLayout{s.x + kDateAfterTime, s.y, kPickerWidth, kFieldHeight, 0.0, 0.0, false, false});
    date.disabled = s.disabled;
    date.ownerIndex = row.owner;
    linkToRow(date, row.input);
    takeRowFont(date, s);

    s.kind = NarrowText("time");
    s.text = text.first;
    s.width = kPickerWidth;
    s.followRight = 0;
    s.growWidth = 0.0;
    linkToRow(s, row.input);
    s.linkSeparator = WideText(dialog().valueSeparator);
}

// Two fields with a caption between them: the row reads "from|to".
void expandRange(const Row &row, const InputKind &range) {
    ControlSpec &s = row.s;
    ControlSpec &caption = row.second;
    ControlSpec &to = row.third;
    ControlSpec &label = row.label;
    label.x = kRowLeft;

    Split captions = splitAtBar(label.text, true);
    label.text = captions.first;
    label.width = kRangeLabelWidth;
    caption.kind = NarrowText("static");
    caption.text = captions.rest;
    caption.y = label.y;
    caption.height = kFieldHeight;
    pin(caption);
    takeRowFont(caption, s);

    // Everything after the first '|' is the second field's, further bars
    // included, so that both come back as they were given; a row given with
    // its '|' keeps it when the second field is left empty.
    Split values = splitAtBar(s.text, false);
    to.linksEmptyValue = values.split ? 1 : 0;
    for (ControlSpec *field : {&s, &to}) {
        field->kind = NarrowText(range.fieldKind);
        if (range.extraStyle != 0) field->extraStyle = range.extraStyle;
        field->height = kFieldHeight;
        pin(*field);
        linkToRow(*field, row.input);
    }
    s.text = values.first;
    s.linkSeparator = WideText(dialog().valueSeparator);
    to.text = values.rest;
    to.y = s.y;
    to.disabled = s.disabled;
    takeRowFont(to, s);

    if (range.pickers) {
        s.x = label.x + label.width + kPickerRangeGap;
        s.width = kPickerWidth;
        caption.x = s.x + s.width + kPickerRangeGap;
        caption.width = kPickerRangeCaptionWidth;
        to.x = caption.x + caption.width + kPickerRangeSecondGap;
        to.width = kPickerWidth;
    } else {
        s.x = label.x + kRangeFieldOffset;
        s.width = kRangeFieldWidth;
        caption.x = label.x + kRangeCaptionOffset;
        caption.width = kRangeCaptionWidth;
        to.x = caption.x + kRangeSecondOffset;
        to.width = kPickerWidth;
    }
    caption.ownerIndex = row.owner;
    to.ownerIndex = row.owner;
    label.ownerIndex = row.owner;
}

// Where boxes or buttons sit when `count` of them share the row: the first
// one's x and each one's width.
struct ChoicePlaces {
    int32_t x, width;
};

// On a tab page two or three share the row only as far as the page's
// inputs reach: the window's widths would carry the last one past the
// page's edge, where it could be neither seen nor clicked.
ChoicePlaces choicePlaces(int count, int owner) {
    const int32_t w = dialog().width;
    if (count <= 1) return ChoicePlaces{kSingleChoiceX, kSingleChoiceWidth};
    if (owner != kNoOwner) return ChoicePlaces{kSharedChoiceX, (w - kPageRowEndAllowance - kSharedChoiceX) / count};
    if (count == 2) return ChoicePlaces{kSharedChoiceX, w - kTwoChoiceAllowance};
    return ChoicePlaces{kSharedChoiceX, w - kThreeChoiceAllowance};
}

// One to three boxes whose captions come from the label: the row reads the
// boxes' states, "101" for three boxes of which the second is unchecked.
void expandCheckBoxes(const Row &row, const InputKind &) {
    ControlSpec &s = row.s;
    const int count = std::min(std::max(int(barCount(row.label.text)), 1), kMaxCheckBoxes);
    const ChoicePlaces places = choicePlaces(count, row.owner);
    const WideText states =
        s.text.length() >= 1 && s.text.length() <= kMaxStateUnits ? s.text : WideText(TEXT16("000"));
    const WideText captionsText = row.label.text;
    const WideFields captions(captionsText);
    const ControlSpec box = s; // what every box takes from the staged input
    ControlSpec *boxes[kMaxCheckBoxes] = {&s, &row.second, &row.third};
    for (int k = 0; k < count; ++k) {
        ControlSpec &b = *boxes[k];
        b.value = box.value;
        b.kind = box.kind;
        b.text = WideText(captions.data(size_t(k)),
                          wholeCharacterCut(captions.data(size_t(k)), captions.length(size_t(k)), kMaxSplitUnits));
        setLayout(b, SlotLayout{places.x + k * places.width, box.y, places.width, kFieldHeight, 0.0, 0.0, false,
                                false});
        b.disabled = box.disabled;
        linkToRow(b, row.input);
        takeRowFont(b, box);
        setCheckBoxChecked(b, size_t(k) < states.length() && states[size_t(k)] == TextUnit('1') ? 1 : 0);
        if (k > 0) b.ownerIndex = row.owner;
    }
    resetSlot(row.input - kRowSlots, false, true);
}

// A radio group whose captions come from the label: the row reads the
// number of the chosen button.
void expandRadio(const Row &row, const InputKind &) {
    ControlSpec &s = row.s;
    if (radioColumns(s) == 0) setRadioColumns(s, std::max(int(barCount(row.label.text)), 1));
    setRadioChecked(s, digitsToInteger(s.text.data(), s.text.length()));
    const ChoicePlaces places = choicePlaces(radioColumns(s), row.owner);
    s.x = places.x;
    s.width = places.width;
    // Each button is the slot's width: a group that grew with the window
    // would grow by as much for every button of a line.
    s.growWidth = 0.0;
    s.text = row.label.text;
    resetSlot(row.input - kRowSlots, false, true);
}

void expandHalfEdit(const Row &row, const InputKind &kind) {
    ControlSpec &s = row.s;
    s.width /= 2;
    s.growWidth /= 2;
    if (kind.extraStyle != 0) s.extraStyle = kind.extraStyle;
    s.kind = NarrowText(kind.fieldKind);
}

const InputKind kInputKinds[] = {
    {.keyword = "slider", .expand = expandSlider},
    {.keyword = "hedit", .expand = expandHalfEdit, .fieldKind = "edit"},
    {.keyword = "heditR", .expand = expandHalfEdit, .fieldKind = "edit", .extraStyle = kRightText},
    {.keyword = "heditC", .expand = expandHalfEdit, .fieldKind = "edit", .extraStyle = kCentredText},
    {.keyword = "static", .expand = expandStatic},
    {.keyword = "date", .expand = expandDate},
    {.keyword = "datedd", .expand = expandDate},
    {.keyword = "datetime", .expand = expandDateTime, .fieldKind = "date"},
    {.keyword = "datetimedd", .expand = expandDateTime, .fieldKind = "datedd"},
    {.keyword = "checkbox", .expand = expandCheckBoxes},
    {.keyword = "radio", .expand = expandRadio},
    {.keyword = "daterange", .expand = expandRange, .fieldKind = "date", .pickers = true},
    {.keyword = "daterangedd", .expand = expandRange, .fieldKind = "datedd", .pickers = true},
    {.keyword = "timerange", .expand = expandRange, .fieldKind = "time", .pickers = true},
    {.keyword = "range", .expand = expandRange, .fieldKind = "edit"},
    {.keyword = "rangeC", .expand = expandRange, .fieldKind = "edit", .extraStyle = kCentredText},
    {.keyword = "rangeR", .expand = expandRange, .fieldKind = "edit", .extraStyle = kRightText},
};

} // namespace

namespace {

// The kinds a row keeps as it is staged: the factory makes them as they are.
const char *const kPlainInputKinds[] = {"edit", "password", "combobox", "editBox", "time"};

bool equalsIgnoringCase(const std::string &a, const char *b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != 0; ++i) {
        const char x = a[i], y = b[i];
        if (x != y && ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z')) return false;
    }
    return i == a.size() && b[i] == 0;
}

} // namespace

bool isInputKind(const std::string &staged, const char *&sameButCase) {
    sameButCase = nullptr;
    std::string kind = staged;
    takeReadOnlySuffix(kind);
    const RowLines lines = readRowLines(NarrowText(kind.c_str()));
    if (lines.suffixed) return true;
    std::vector<const char *> known(std::begin(kPlainInputKinds), std::end(kPlainInputKinds));
    for (const InputKind &k : kInputKinds) known.push_back(k.keyword);
    for (const char *k : known) {
        if (kind == k) return true;
    }
    for (const char *k : known) {
        if (equalsIgnoringCase(kind, k)) sameButCase = k;
    }
    return false;
}

RowLines readRowLines(const NarrowText &kind) {
    auto digit = [&kind](size_t i) { return kind[i] >= '0' && kind[i] <= '9' ? kind[i] - '0' : 0; };
    const size_t n = kind.length();
    const char *text = kind.data();
    if (n == 7 && std::strncmp(text, "static", 6) == 0) return RowLines{true, digit(6), 0, NarrowText("static"), false};
    if (n == 5 && std::strncmp(text, "edit", 4) == 0) return RowLines{true, digit(4), 0, NarrowText("editBox"), false};
    if (n == 6 && std::strncmp(text, "radio", 5) == 0) return RowLines{true, digit(5), 1, NarrowText("radio"), true};
    if (n == 7 && std::strncmp(text, "radio", 5) == 0) {
        return RowLines{true, digit(5), std::min(digit(6), kMaxRadioColumns), NarrowText("radio"), true};
    }
    return RowLines{false, 1, 0, kind, equals(kind, "radio")};
}

void expandInputRow(int inputSlot, int owner) {
    if (inputSlot < kFirstInputSlot || inputSlot >= kFirstInputSlot + kRowSlots) return;
    Row row{inputSlot, owner, slotAt(inputSlot), slotAt(inputSlot - kRowSlots), slotAt(inputSlot + kRowSlots),
            slotAt(inputSlot + 2 * kRowSlots)};
    row.s.ownerIndex = owner;
    row.label.ownerIndex = owner;
    for (const InputKind &kind : kInputKinds) {
        if (equals(row.s.kind, kind.keyword)) {
            kind.expand(row, kind);
            return;
        }
    }
}

bool takeReadOnlySuffix(std::string &kind) {
    static const char kSuffix[] = "RO";
    const size_t suffix = sizeof kSuffix - 1;
    const size_t n = kind.size();
    if (n <= suffix || kind.compare(n - suffix, suffix, kSuffix) != 0) return false;
    kind.resize(n - suffix);
    return true;
}

int takeRowLines(ControlSpec &s, int linesLeft) {
    const RowLines lines = readRowLines(s.kind);
    if (!lines.suffixed) {
        if (lines.buttons) {
            setRadioLineCount(s, 1);
            setRadioColumns(s, 0);
        }
        return 1;
    }
    const int taken = std::min(lines.lines, linesLeft);
    if (taken <= 0) return 0;
    s.kind = lines.kind;
    if (lines.buttons) {
        setRadioLineCount(s, taken);
        setRadioColumns(s, lines.columns);
    } else {
        s.height = kTabRowPitch * taken - kLineGap;
    }
    return taken;
}

void dropRow(int inputSlot) {
    for (int slot = inputSlot - kRowSlots; slot <= inputSlot + 2 * kRowSlots; slot += kRowSlots) {
        resetSlot(slot, true, true);
    }
}

StackedRows stackRows(int first, int end, int32_t top, const RowStack &stack) {
    StackedRows stacked{0, -1, top};
    int32_t &y = stacked.y;
    for (int slot = first; slot < end; ++slot) {
        ControlSpec &s = slotAt(slot);
        ControlSpec &label = slotAt(slot - kRowSlots);
        if ((stack.emptyRowsGo && s.kind.empty()) || (stack.bottom > 0 && y + kTabRowPitch > stack.bottom)) {
            dropRow(slot);
            y += stack.leftOut;
            continue;
        }
        s.y = y;
        if (stack.inputWidth > 0) s.width = stack.inputWidth;
        s.followBottom = 0;
        label.y = y + kLabelShift;
        const RowLines lines = readRowLines(s.kind);
        const int taken = takeRowLines(s, stack.maxLines - stacked.used);
        if (taken == 0) {
            dropRow(slot);
            y += stack.leftOut;
            continue;
        }
        y += stack.advance(lines, taken);
        if (s.kind.empty()) resetSlot(slot - kRowSlots, true, true);
        stacked.used = stack.countsRows ? slot - first + 1 : stacked.used + taken;
        stacked.lastSlot = slot;
        expandInputRow(slot, stack.owner);
    }
    return stacked;
}

namespace {

// A page's line is 35 high; a group of radio lines packs tighter.
int32_t pageRowAdvance(const RowLines &lines, int taken) {
    const int32_t buttons = lines.suffixed && lines.buttons ? kRadioLineBase - kRadioLineShift * taken : 0;
    return buttons + kTabRowPitch * taken;
}

} // namespace

int stackTabPageRows(int first, int end, int32_t top, int owner) {
    const DialogDefinition &d = dialog();
    const RowStack page{owner, kMaxPageLines, false, false, d.height - kPageBottomAllowance,
                        d.width - kPageWidthAllowance, 0, pageRowAdvance};
    return stackRows(first, end, top, page).used;
}
