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

// In the order of ControlKind.
const KindRow kKinds[] = {
    // class                 ex style                       style               options                                        id offset       common controls       content          finish        read: factory, first id, reader          notify          relayout              opened            focus
    /* none */
    {nullptr,                0,                             0,                  0,                                             0,              0,                    nullptr,         kNoFinish,    1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* static */
    {TEXT16("STATIC"),       0,                             kStaticStyle,       kAddsExtraStyle,                               0,              0,                    noContent,       kFontAndText, 1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* button */
    {TEXT16("BUTTON"),       0,                             kButtonStyle,       kPressable,                                    0,              0,                    markButton,      kFontAndText, 1, 0,              nullptr,          nullptr,        nullptr,              nullptr, nullptr},
    /* editBox */
    {TEXT16("EDIT"),         kEdge,                         kEditBoxStyle,      kAddsExtraStyle,                               0,              0,                    liftEditLimit,   kFontAndText, 1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* edit */
    {TEXT16("EDIT"),         kEdge,                         kEditStyle,         kAddsExtraStyle,                               0,              0,                    liftEditLimit,   kFontAndText, 1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* password */
    {TEXT16("EDIT"),         kEdge,                         kPasswordStyle,     kAddsExtraStyle,                               0,              0,                    liftEditLimit,   kFontAndText, 1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* combobox */
    {TEXT16("COMBOBOX"),     0,                             kComboBoxStyle,     0,                                             kComboIdOffset, 0,                    fillComboBox,    kFontAndText, 1, kComboIdOffset, readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* listbox */
    {WC_LISTVIEWW,           0,                             kListStyle,         kHeaderless,                                   0,              ICC_LISTVIEW_CLASSES, fillList,        kFontOnly,    1, 0,              readChoiceList,   onListNotify,   relayoutListColumns,  nullptr, nullptr, onListKey},
    /* listboxview */
    {WC_LISTVIEWW,           0,                             kListStyle,         0,                                             0,              ICC_LISTVIEW_CLASSES, fillTable,       kFontOnly,    1, 0,              readTable,        onTableNotify,  relayoutTableColumns, startCellCursor, nullptr, cellEditorKey},
    /* slider */
    {TRACKBAR_CLASSW,        0,                             kSliderStyle,       0,                                             0,              ICC_BAR_CLASSES,      setSliderRange,  kNoFinish,    1, 0,              readSlider,       nullptr,        nullptr,              nullptr, nullptr},
    /* date */
    {DATETIMEPICK_CLASSW,    0,                             kDateStyle,         0,                                             0,              ICC_DATE_CLASSES,     setDate,         kFontAndText, 1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* datedd */
    {DATETIMEPICK_CLASSW,    0,                             kDateDropDownStyle, 0,                                             0,              ICC_DATE_CLASSES,     setDate,         kFontAndText, 1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* time */
    {DATETIMEPICK_CLASSW,    WS_EX_RIGHT,                   kTimeStyle,         0,                                             0,              ICC_DATE_CLASSES,     setTime,         kFontAndText, 1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* checkbox */
    {TEXT16("BUTTON"),       0,                             kCheckBoxStyle,     0,                                             0,              0,                    setCheck,        kFontAndText, 1, 0,              readCheckBox,     nullptr,        nullptr,              nullptr, nullptr},
    /* progressbar */
    {PROGRESS_CLASSW,        kEdge | WS_EX_WINDOWEDGE,      kProgressBarStyle,  kNoWindowName,                                 0,              ICC_PROGRESS_CLASS,   noContent,       kFontAndText, 1, 0,              readWindowText,   nullptr,        nullptr,              nullptr, nullptr},
    /* radio */
    {TEXT16("BUTTON"),       0,                             kRadioStyle,        kComposite,                                    0,              0,                    makeRadioGroup,  kNoFinish,    kRadioIdFactor, 1, readRadioGroup, nullptr,        relayoutRadioGroup,   nullptr, nullptr},
    /* tabcontrol */
    {WC_TABCONTROLW,         0,                             kTabControlStyle,   kComposite | kMadeFirst,                       0,              ICC_TAB_CLASSES,      makeTabPage,     kNoFinish,    1, 0,              readWindowText,   onTabNotify,    nullptr,              showFirstTabPage, tabFocusWindow},
};
static_assert(sizeof kKinds / sizeof kKinds[0] == size_t(kControlKindCount), "one row per control kind");

} // namespace

const KindRow &kindRow(ControlKind kind) {
    const size_t at = size_t(kind);
    return at < sizeof kKinds / sizeof kKinds[0] ? kKinds[at] : kKinds[0];
}

int controlIdOf(const ControlSpec &slot, int index) {
    return index + kindRow(slot.kind.control()).idOffset;
}
