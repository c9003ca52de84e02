#include "runtime/readback.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/dialog_definition.h"
#include "runtime/control_factory.h"
#include "runtime/control_kinds.h"
#include "runtime/dialog_hooks.h"
#include "runtime/list_view_win.h"
#include "runtime/open_dialog.h"
#include "runtime/owner_data_win.h"
#include "runtime/readback_rules.h"

namespace {

constexpr size_t kFirstTextGuess = 1023;     // window text units asked for first
constexpr int kLastRadioButton = kRadioIdFactor - 1; // button numbers 1..99 of a group

WideText decimal(long long value) {
    return integerToText(value, 10);
}

} // namespace

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

WideText readSlider(const ControlReading &reading) {
    return decimal(SendMessageW(reading.control, TBM_GETPOS, 0, 0));
}

// Every row's data cells (columns 1..param 3), each followed by '|', rows
// separated by CR.
WideText readGrid(const ControlReading &reading) {
    const HWND grid = reading.control;
    return gridValue(rowCount(grid), std::max(listColumnCount(reading.slot), 0),
                     [grid](int row, int column, size_t &length) {
                         // In the script's order, however the user sorted the grid.
                         return heldCell(grid, viewRowOf(grid, row), column, length);
                     });
}

// A plain list chooses every row it shows.
WideText readPlainList(const ControlReading &reading) {
    std::vector<int> chosen(size_t(std::max(rowCount(reading.control), 0)));
    for (size_t row = 0; row < chosen.size(); ++row) chosen[row] = int(row);
    return chosenRowsValue(reading.slot, chosen);
}

// The checked rows of a check-box list.
WideText readCheckList(const ControlReading &reading) {
    std::vector<int> chosen;
    const int rows = rowCount(reading.control);
    for (int row = 0; row < rows; ++row) {
        // In the script's order, however the user sorted the list.
        if (heldCheck(reading.control, viewRowOf(reading.control, row)) == kCheckedImage) chosen.push_back(row);
    }
    return chosenRowsValue(reading.slot, chosen);
}

WideText readCheckBox(const ControlReading &reading) {
    bool checked = SendMessageW(reading.control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return passValueOn(reading.index, WideText(checked ? TEXT16("1") : TEXT16("0")));
}

// The number (from 1) of the group's first checked button; empty when none.
WideText readRadioGroup(const ControlReading &reading) {
    for (int number = 1; number <= kLastRadioButton; ++number) {
        HWND button = GetDlgItem(reading.parent, reading.index * kRadioIdFactor + number);
        if (button != nullptr && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) return decimal(number);
    }
    return WideText();
}

WideText readWindowText(const ControlReading &reading) {
    return passValueOn(reading.index, withoutAddedLineFeeds(windowText(reading.control)));
}

WideText readControlValue(HWND parent, int slot) {
    if (slot < 0 || slot >= kSlotCount) return WideText();
    const OpenDialog *open = openDialogOf(parent);
    WideText value;
    if (open != nullptr && open->hooks->readValue != nullptr && open->hooks->readValue(parent, slot, value)) {
        return value;
    }
    ControlSpec &s = dialog().controls[slot];
    const KindRow &row = kindRow(s);
    if (row.read == nullptr) return WideText();
    HWND control = GetDlgItem(parent, slot * row.readIdFactor + row.readFirstId);
    if (control == nullptr) return WideText();
    return row.read(ControlReading{control, parent, slot, s});
}
