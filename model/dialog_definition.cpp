#include "model/dialog_definition.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Copies a zero-terminated UTF-8 text into a field of `size` bytes, cutting
// before a character that would not fit whole.
void copyUtf8Cut(char *dest, size_t size, const char *src) {
    size_t n = 0;
    if (src != nullptr) {
        while (src[n] && n + 1 < size) ++n;
        if (src[n] != 0) {
            // Cut inside a multi-byte character: step back to its lead byte.
            while (n > 0 && (static_cast<unsigned char>(src[n]) & 0xC0) == 0x80) --n;
        }
        std::memcpy(dest, src, n);
    }
    dest[n] = 0;
}

const WideText kNoWide;
const NarrowText kNoNarrow;

bool validNumber(int n) {
    return n >= 1 && n <= 3;
}

} // namespace

void clearFont(FontSpec &font) {
    font.faceName[0] = 0;
    font.style[0] = 0;
    font.pointSize = 0;
}

void setFont(FontSpec &font, const char *faceName, const char *style, int32_t pointSize) {
    copyUtf8Cut(font.faceName, sizeof font.faceName, faceName);
    copyUtf8Cut(font.style, sizeof font.style, style);
    font.pointSize = pointSize > kLargestPointSize ? kLargestPointSize : pointSize;
}

ControlSpec::ControlSpec() {
    resetNumbers();
    clearFont(font);
}

void ControlSpec::reset(bool keepFont, bool keepText, bool keepKind) {
    // An empty text holds no buffer, so a slot that holds nothing is reset
    // at almost no cost, and what an old slot held is released (and
    // overwritten) as it goes.
    value.clear();
    if (!keepText) text.clear();
    if (!keepKind) kind.clear();
    if (!keepFont) clearFont(font);
    extraText[0].clear();
    extraText[1].clear();
    extraText[2].clear();
    extraNarrow[0].clear();
    extraNarrow[1].clear();
    extraNarrow[2].clear();
    linkSeparator.clear();
    resetNumbers();
}

void ControlSpec::resetNumbers() {
    ownerIndex = -1;
    for (int32_t &p : param) p = 0;
    for (uint8_t &f : flag) f = 0;
    x = y = width = height = 0;
    growWidth = growHeight = 0.0;
    followRight = followBottom = 0;
    disabled = 0;
    requiresSelection = 0;
    linkIndex = -1;
    linkMode = 0;
    linksEmptyValue = 0;
    extraStyle = 0;
    initialFocus = 0;
}

void setLayout(ControlSpec &slot, const SlotLayout &layout) {
    slot.x = layout.x;
    slot.y = layout.y;
    slot.width = layout.width;
    slot.height = layout.height;
    slot.growWidth = layout.growWidth;
    slot.growHeight = layout.growHeight;
    slot.followRight = layout.followRight ? 1 : 0;
    slot.followBottom = layout.followBottom ? 1 : 0;
}

const WideText &extraText(const ControlSpec &slot, int n) {
    return validNumber(n) ? slot.extraText[n - 1] : kNoWide;
}
void setExtraText(ControlSpec &slot, int n, const WideText &text) {
    if (validNumber(n)) slot.extraText[n - 1] = text;
}
const NarrowText &extraNarrow(const ControlSpec &slot, int n) {
    return validNumber(n) ? slot.extraNarrow[n - 1] : kNoNarrow;
}
void setExtraNarrow(ControlSpec &slot, int n, const NarrowText &text) {
    if (validNumber(n)) slot.extraNarrow[n - 1] = text;
}
int32_t param(const ControlSpec &slot, int n) {
    return validNumber(n) ? slot.param[n - 1] : 0;
}
void setParam(ControlSpec &slot, int n, int32_t value) {
    if (validNumber(n)) slot.param[n - 1] = value;
}
uint8_t flag(const ControlSpec &slot, int n) {
    return validNumber(n) ? slot.flag[n - 1] : 0;
}
void setFlag(ControlSpec &slot, int n, uint8_t value) {
    if (validNumber(n)) slot.flag[n - 1] = value;
}

namespace {
constexpr TextUnit kCarriageReturn = TextUnit(13);
constexpr TextUnit kLineFeed = TextUnit(10);
} // namespace

// In a buffer of its final size: a text without a CR is handed back as it is.
WideText withLineFeeds(const WideText &source) {
    const size_t returns = size_t(std::count(source.data(), source.data() + source.length(), kCarriageReturn));
    if (returns == 0) return source;
    WideText out;
    out.reserve(source.length() + returns);
    for (size_t i = 0; i < source.length(); ++i) {
        out.push_back(source[i]);
        if (source[i] == kCarriageReturn) out.push_back(kLineFeed);
    }
    return out;
}

WideText withoutAddedLineFeeds(const WideText &shown) {
    WideText out;
    out.reserve(shown.length());
    for (size_t i = 0; i < shown.length(); ++i) {
        if (shown[i] == kLineFeed && i > 0 && shown[i - 1] == kCarriageReturn) continue;
        out.push_back(shown[i]);
    }
    return out;
}


ControlKind controlKindOf(const NarrowText &keyword) {
    static const struct {
        const char *keyword;
        ControlKind kind;
    } kKeywords[] = {
        {"static", ControlKind::kStatic},     {"button", ControlKind::kButton},
        {"editBox", ControlKind::kEditBox},   {"edit", ControlKind::kEdit},
        {"password", ControlKind::kPassword}, {"combobox", ControlKind::kComboBox},
        {"listbox", ControlKind::kPlainList}, {"listboxview", ControlKind::kGrid},
        {"slider", ControlKind::kSlider},     {"date", ControlKind::kDate},
        {"datedd", ControlKind::kDateDropDown}, {"time", ControlKind::kTime},
        {"checkbox", ControlKind::kCheckBox}, {"progressbar", ControlKind::kProgressBar},
        {"radio", ControlKind::kRadio},       {"tabcontrol", ControlKind::kTabControl},
    };
    if (keyword.empty()) return ControlKind::kNone;
    for (const auto &k : kKeywords) {
        // The first letter tells most keywords apart without a full compare.
        if (k.keyword[0] == keyword[0] && equals(keyword, k.keyword)) return k.kind;
    }
    return ControlKind::kNone;
}

ControlKind slotKind(const ControlSpec &slot) {
    const ControlKind kind = slot.kind.control();
    return kind == ControlKind::kPlainList && listHasCheckBoxes(slot) == 1 ? ControlKind::kCheckList : kind;
}

DialogDefinition::DialogDefinition()
    : valueSeparator{TextUnit('|'), 0}, templateId(0), left(0), top(0), width(0), height(0), minHeight(0),
      minWidth(0), timerEnabled(0), timerInterval(0), controlCount(0), resizable(0), resultIndex(0),
      defaultButton(0), noCaption(0), holdsMarkupObjects(0), creationOrder{}, ordered(0), copiesMessage(0),
      sizeGiven(0), positionGiven(0), cancelButton(0), messageIcon(MessageIcon::kNone) {}

ScreenRect DialogDefinition::windowRect() const {
    return ScreenRect{left, top, left + width, top + height};
}

int slotMadeAt(const DialogDefinition &d, int place) {
    if (place < 0 || place >= kSlotCount) return -1;
    return d.ordered ? d.creationOrder[place] : place;
}

DialogDefinition &dialog() {
    // Built on first use, which the module's own start-up triggers below, so
    // no other static can see it half made.
    static DialogDefinition record;
    return record;
}

namespace {
struct BuildAtLoad {
    BuildAtLoad() { dialog(); }
} buildAtLoad;
} // namespace

