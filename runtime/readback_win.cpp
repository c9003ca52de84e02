#include "runtime/readback.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/dialog_definition.h"
#include "runtime/control_factory.h"
#include "runtime/dialog_hooks.h"
#include "runtime/list_view_win.h"
#include "runtime/readback_rules.h"

namespace {

constexpr size_t kFirstTextGuess = 1023;     // window text units asked for first
constexpr int kLastRadioButton = kRadioIdFactor - 1; // button numbers 1..99 of a group

// What one read works on.
struct Reading {
    HWND control;       // the slot's control (for a radio group its first button)
    HWND parent;        // the dialog or tab page hosting it
    int index;          // slot index
    ControlSpec &slot;
};

WideText decimal(long long value) {
    return integerToText(value, 10);
}

// The whole window text. The buffer starts at the size the control reports
// and grows while the text fills it, because not every control reports the
// length of the text it answers with. Every buffer is overwritten when
// released, as it may hold a password.
WideText windowText(HWND control) {
    size_t reported = size_t(std::max<LRESULT>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0), 0));
    size_t capacity = std::max(reported, kFirstTextGuess) + 1;
    for (;;) {
        WipedBuffer<TextUnit> buffer(capacity, 0);
        SendMessageW(control, WM_GETTEXT, WPARAM(capacity), LPARAM(buffer.data()));
        buffer.back() = 0;
        const size_t length = wideLength(buffer.data());
        if (length + 1 < capacity) return WideText(buffer.data(), length);
        capacity *= 2;
    }
}

// ---- readers -----------------------------------------------------------

WideText readSlider(const Reading &reading) {
    return decimal(SendMessageW(reading.control, TBM_GETPOS, 0, 0));
}

// Every row's data cells (columns 1..param 3), each followed by '|', rows
// separated by CR.
WideText readTable(const Reading &reading) {
    CellReader cells(reading.control);
    return tableValue(rowCount(reading.control), std::max(listColumnCount(reading.slot), 0),
                      [&cells](int row, int column, size_t &length) { return cells.read(row, column, length); });
}

// The chosen rows of a list: the checked ones, or every row of a list
// without check boxes (state image 0).
WideText readChoiceList(const Reading &reading) {
    std::vector<int> chosen;
    const int rows = rowCount(reading.control);
    for (int row = 0; row < rows; ++row) {
        if (rowStateImage(reading.control, row) != kUncheckedImage) chosen.push_back(row);
    }
    return chosenRowsValue(reading.slot, chosen);
}

WideText readCheckBox(const Reading &reading) {
    bool checked = SendMessageW(reading.control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return passValueOn(reading.index, WideText(checked ? TEXT16("1") : TEXT16("0")));
}

// The number (from 1) of the group's first checked button; empty when none.
WideText readRadioGroup(const Reading &reading) {
    for (int number = 1; number <= kLastRadioButton; ++number) {
        HWND button = GetDlgItem(reading.parent, reading.index * kRadioIdFactor + number);
        if (button != nullptr && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) return decimal(number);
    }
    return WideText();
}

WideText readWindowText(const Reading &reading) {
    return passValueOn(reading.index, windowText(reading.control));
}

// ---- the reader table --------------------------------------------------

struct ReaderRow {
    const char *keyword; // kind keyword; null ends the table and matches every other kind
    int firstId;         // id of the control to read: slot x idFactor + firstId
    int idFactor;
    WideText (*read)(const Reading &);
};

const ReaderRow kReaders[] = {
    {"slider", 0, 1, readSlider},
    {"listboxview", 0, 1, readTable},
    {"listbox", 0, 1, readChoiceList},
    {"checkbox", 0, 1, readCheckBox},
    {"radio", 1, kRadioIdFactor, readRadioGroup},
    {"combobox", kComboIdOffset, 1, readWindowText},
    {nullptr, 0, 1, readWindowText},
};

const ReaderRow &readerOf(const char *kind) {
    const ReaderRow *row = kReaders;
    for (; row->keyword != nullptr; ++row) {
        if (kind != nullptr && std::strcmp(kind, row->keyword) == 0) break;
    }
    return *row;
}

} // namespace

WideText readControlValue(HWND parent, const char *kind, int slot) {
    if (slot < 0 || slot >= kSlotCount) return WideText();
    const DialogHooks &hooks = dialogHooks();
    WideText value;
    if (hooks.readValue != nullptr && hooks.readValue(parent, slot, value)) return value;
    const ReaderRow &reader = readerOf(kind);
    HWND control = GetDlgItem(parent, slot * reader.idFactor + reader.firstId);
    if (control == nullptr) return WideText();
    Reading reading{control, parent, slot, dialog().controls[slot]};
    return reader.read(reading);
}
