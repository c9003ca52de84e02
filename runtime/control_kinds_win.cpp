#include "runtime/control_kinds.h"

#include "runtime/cell_editor.h"
#include "runtime/control_factory.h"

namespace {

// Edits. A one-line edit scrolls sideways (ES_AUTOHSCROLL): without it the
// control takes only what fits its visible width, and typing into a text
// already wider than the field corrupts it. None has bit 0x200, which the
// system's edit reserves for the edit inside a combo box.
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_NOHIDESEL;
constexpr DWORD kPasswordStyle = kEditStyle | ES_PASSWORD;
constexpr DWORD kEditBoxStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN;

constexpr DWORD kStaticStyle = WS_CHILD | WS_VISIBLE | SS_NOPREFIX;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kComboBoxStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP | CBS_HASSTRINGS |
                                 CBS_SORT | CBS_AUTOHSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LVS_EDITLABELS | LVS_AUTOARRANGE | LVS_REPORT;
constexpr DWORD kSliderStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_AUTOTICKS | TBS_TOP;
constexpr DWORD kDateStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | DTS_UPDOWN;
constexpr DWORD kDateDropDownStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
constexpr DWORD kTimeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | DTS_TIMEFORMAT | DTS_RIGHTALIGN;
constexpr DWORD kCheckBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_LEFT | BS_AUTOCHECKBOX;
constexpr DWORD kProgressBarStyle = WS_CHILD | WS_VISIBLE;
// The group's first button; the others are made without WS_GROUP, and the
// group is one stop for Tab.
constexpr DWORD kRadioStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_LEFT | BS_AUTORADIOBUTTON;
// A stop for Tab: its arrows switch the pages.
constexpr DWORD kTabControlStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;

constexpr DWORD kEdge = WS_EX_CLIENTEDGE;

// Every list shows a cut cell in a tip.
constexpr DWORD kListClasses = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;

// One row per kind, in the order of ControlKind; a field a row leaves out
// is the kind's "none" (no step, no option, ids from the slot itself).
constexpr KindRow kKinds[] = {
    {.kind = ControlKind::kNone},
    {.kind = ControlKind::kStatic, .className = TEXT16("STATIC"), .style = kStaticStyle,
     .options = kAddsExtraStyle | kOneLineAtLeast, .content = noContent, .finish = kFontAndText,
     .read = readWindowText},
    {.kind = ControlKind::kButton, .className = TEXT16("BUTTON"), .style = kButtonStyle, .options = kPressable,
     .content = markButton, .finish = kFontAndText},
    {.kind = ControlKind::kEditBox, .className = TEXT16("EDIT"), .exStyle = kEdge, .style = kEditBoxStyle,
     .options = kAddsExtraStyle | kTakesEveryKey, .content = liftEditLimit, .finish = kFontAndText,
     .read = readWindowText},
    {.kind = ControlKind::kEdit, .className = TEXT16("EDIT"), .exStyle = kEdge, .style = kEditStyle,
     .options = kAddsExtraStyle, .content = liftEditLimit, .finish = kFontAndText, .read = readWindowText},
    {.kind = ControlKind::kPassword, .className = TEXT16("EDIT"), .exStyle = kEdge, .style = kPasswordStyle,
     .options = kAddsExtraStyle, .content = liftEditLimit, .finish = kFontAndText, .read = readWindowText},
    {.kind = ControlKind::kComboBox, .className = TEXT16("COMBOBOX"), .style = kComboBoxStyle,
     .idOffset = kComboIdOffset, .content = fillComboBox, .finish = kFontAndText, .readFirstId = kComboIdOffset,
     .read = readWindowText},
    {.kind = ControlKind::kPlainList, .className = WC_LISTVIEWW, .style = kListStyle, .options = kHeaderless,
     .commonControls = kListClasses, .content = fillPlainList, .finish = kFontOnly, .read = readPlainList,
     .notify = onPlainListNotify, .relayout = relayoutListColumns, .fitColumns = fitPlainListColumns},
    {.kind = ControlKind::kCheckList, .className = WC_LISTVIEWW, .style = kListStyle | LVS_OWNERDATA,
     .options = kHeaderless, .commonControls = kListClasses, .content = fillCheckList, .finish = kFontOnly,
     .read = readCheckList, .notify = onCheckListNotify, .relayout = relayoutListColumns, .key = onCheckListKey,
     .fitColumns = fitCheckListColumns},
    {.kind = ControlKind::kGrid, .className = WC_LISTVIEWW, .style = kListStyle | LVS_OWNERDATA,
     .commonControls = kListClasses, .content = fillGrid, .finish = kFontOnly, .read = readGrid,
     .notify = onGridNotify, .relayout = relayoutGridColumns, .opened = startCellCursor, .key = onGridKey,
     .fitColumns = fitGridColumns},
    {.kind = ControlKind::kSlider, .className = TRACKBAR_CLASSW, .style = kSliderStyle,
     .commonControls = ICC_BAR_CLASSES, .content = setSliderRange, .read = readSlider},
    {.kind = ControlKind::kDate, .className = DATETIMEPICK_CLASSW, .style = kDateStyle,
     .commonControls = ICC_DATE_CLASSES, .content = setDate, .finish = kFontAndText, .read = readWindowText},
    {.kind = ControlKind::kDateDropDown, .className = DATETIMEPICK_CLASSW, .style = kDateDropDownStyle,
     .commonControls = ICC_DATE_CLASSES, .content = setDate, .finish = kFontAndText, .read = readWindowText},
    {.kind = ControlKind::kTime, .className = DATETIMEPICK_CLASSW, .exStyle = WS_EX_RIGHT, .style = kTimeStyle,
     .commonControls = ICC_DATE_CLASSES, .content = setTime, .finish = kFontAndText, .read = readWindowText},
    {.kind = ControlKind::kCheckBox, .className = TEXT16("BUTTON"), .style = kCheckBoxStyle, .content = setCheck,
     .finish = kFontAndText, .read = readCheckBox},
    {.kind = ControlKind::kProgressBar, .className = PROGRESS_CLASSW, .exStyle = kEdge | WS_EX_WINDOWEDGE,
     .style = kProgressBarStyle, .options = kNoWindowName, .commonControls = ICC_PROGRESS_CLASS,
     .content = noContent, .finish = kFontAndText, .read = readWindowText},
    {.kind = ControlKind::kRadio, .className = TEXT16("BUTTON"), .style = kRadioStyle,
     .options = kComposite | kButtonGroup, .content = makeRadioGroup, .readIdFactor = kRadioIdFactor,
     .readFirstId = 1, .read = readRadioGroup, .relayout = relayoutRadioGroup},
    {.kind = ControlKind::kTabControl, .className = WC_TABCONTROLW, .style = kTabControlStyle,
     .options = kComposite | kMadeFirst, .commonControls = ICC_TAB_CLASSES, .content = makeTabPage,
     .read = readWindowText, .notify = onTabNotify, .opened = showFirstTabPage, .focusWindow = tabFocusWindow},
};
static_assert(sizeof kKinds / sizeof kKinds[0] == size_t(kControlKindCount), "one row per control kind");

constexpr bool rowsInKindOrder() {
    for (size_t at = 0; at < sizeof kKinds / sizeof kKinds[0]; ++at) {
        if (size_t(kKinds[at].kind) != at) return false;
    }
    return true;
}
static_assert(rowsInKindOrder(), "each row stands at its kind's place");

} // namespace

const KindRow &kindRow(ControlKind kind) {
    const size_t at = size_t(kind);
    return at < sizeof kKinds / sizeof kKinds[0] ? kKinds[at] : kKinds[0];
}

const KindRow &kindRow(const ControlSpec &slot) {
    return kindRow(slotKind(slot));
}

int controlIdOf(const ControlSpec &slot, int index) {
    return index + kindRow(slot).idOffset;
}
