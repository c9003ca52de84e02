#include "runtime/readback.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/dialog_definition.h"
#include "resources/resource_ids.h"
#include "runtime/control_factory.h"

namespace {

constexpr size_t kMaxResultUnits = 200000;   // longest value of one slot
constexpr size_t kMaxCellUnits = 10000;      // longest table cell or list row read
constexpr size_t kFirstTextGuess = 1023;     // window text units asked for first
constexpr int kUncheckedImage = 1;           // state image of an unchecked list row
constexpr int kDualSourceSlot = 36;          // the dual list's source list reads as empty
constexpr int kLastRadioButton = kRadioIdFactor - 1; // button numbers 1..99 of a group
constexpr TextUnit kSeparator = TextUnit('|');
constexpr TextUnit kCarriageReturn = TextUnit(13);

// The value being read, never longer than kMaxResultUnits: what does not
// fit is cut, so a huge list cannot outgrow what a slot may hold.
class ResultText {
public:
    void append(const TextUnit *units, size_t count) {
        size_t room = kMaxResultUnits - text_.length();
        text_.append(units, std::min(count, room));
    }
    void append(const WideText &text) { append(text.data(), text.length()); }
    void append(TextUnit unit) { append(&unit, 1); }
    bool empty() const { return text_.empty(); }
    bool full() const { return text_.length() >= kMaxResultUnits; }
    const WideText &text() const { return text_; }

private:
    WideText text_;
};

// What one read works on.
struct Reading {
    HWND control;       // the slot's control (for a radio group its first button)
    HWND parent;        // the dialog or tab page hosting it
    int index;          // slot index
    ControlSpec &slot;
};

// The '|'-fields of a text as pipeField numbers them (from 0, the text
// looked at up to kMaxFieldScan units, a field past the last one empty),
// split once so that a long list is not scanned again for every row.
class Fields {
public:
    explicit Fields(const WideText &text) : text_(text) {
        size_t length = std::min(text.length(), kMaxFieldScan);
        size_t begin = 0;
        for (size_t i = 0; i < length; ++i) {
            if (text[i] != kSeparator) continue;
            spans_.push_back(Span{begin, i - begin});
            begin = i + 1;
        }
        spans_.push_back(Span{begin, length - begin});
    }
    const TextUnit *data(size_t n) const { return n < spans_.size() ? text_.data() + spans_[n].start : text_.data(); }
    size_t length(size_t n) const { return n < spans_.size() ? spans_[n].length : 0; }
    void appendTo(ResultText &result, size_t n) const { result.append(data(n), length(n)); }

private:
    struct Span {
        size_t start;
        size_t length;
    };
    const WideText &text_;
    std::vector<Span> spans_;
};

WideText decimal(long long value) {
    return integerToText(value, 10);
}

int rowCount(HWND list) {
    return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// Reads the cells of one list view through one buffer, each cut to
// kMaxCellUnits units.
class CellReader {
public:
    explicit CellReader(HWND list) : list_(list), buffer_(kMaxCellUnits + 1, 0) {}
    void appendTo(ResultText &result, int row, int column) {
        buffer_[0] = 0;
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer_.data();
        item.cchTextMax = int(buffer_.size());
        SendMessageW(list_, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
        buffer_.back() = 0;
        // The list may answer with its own buffer instead of filling ours.
        const TextUnit *text = item.pszText != nullptr ? item.pszText : buffer_.data();
        size_t length = 0;
        while (length < kMaxCellUnits && text[length] != 0) ++length;
        result.append(text, length);
    }

private:
    HWND list_;
    std::vector<TextUnit> buffer_;
};

// The window text, at most kMaxResultUnits units. The buffer starts at the
// size the control reports and grows while the text fills it, because not
// every control reports the length of the text it answers with.
WideText windowText(HWND control) {
    size_t reported = size_t(std::max<LRESULT>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0), 0));
    size_t capacity = std::min(std::max(reported, kFirstTextGuess), kMaxResultUnits) + 1;
    for (;;) {
        std::vector<TextUnit> buffer(capacity, 0);
        SendMessageW(control, WM_GETTEXT, WPARAM(capacity), LPARAM(buffer.data()));
        buffer.back() = 0;
        size_t length = wideLength(buffer.data());
        if (length + 1 < capacity || capacity > kMaxResultUnits) return WideText(buffer.data(), length);
        capacity = std::min(capacity * 2, kMaxResultUnits + 1);
    }
}

// ---- link step ---------------------------------------------------------

// Passes a value on to the slot's link target. Returns what the slot itself
// keeps: the value when there is no link (or it is empty, or links to the
// slot itself), nothing when the value went to the target or was dropped.
WideText passOn(const Reading &reading, const WideText &value) {
    const int target = reading.slot.linkIndex;
    if (target < 1 || value.empty() || target == reading.index) return value;
    // A target outside the table cannot receive anything; keep the value.
    if (target >= kSlotCount) return value;
    ControlSpec &receiver = dialog().controls[target];
    if (reading.slot.linkMode == 1) {
        WideText joined = receiver.text;
        joined.append(receiver.linkSeparator);
        joined.append(value);
        setText(receiver, joined.data());
    } else if (reading.slot.linkMode == 2) {
        setText(receiver, value.data());
    }
    return WideText();
}

// ---- readers -----------------------------------------------------------

WideText readSlider(const Reading &reading) {
    return decimal(SendMessageW(reading.control, TBM_GETPOS, 0, 0));
}

// Every row's data cells (columns 1..param 3), each followed by '|', rows
// separated by CR.
WideText readTable(const Reading &reading) {
    ResultText result;
    CellReader cells(reading.control);
    const int columns = std::max(param(reading.slot, 3), 0);
    const int rows = rowCount(reading.control);
    for (int row = 0; row < rows && !result.full(); ++row) {
        if (row > 0) result.append(kCarriageReturn);
        for (int column = 1; column <= columns && !result.full(); ++column) {
            cells.appendTo(result, row, column);
            result.append(kSeparator);
        }
    }
    return result.text();
}

// A list of the dual-list dialog: the source list reads as empty; the
// other gives every row's text followed by '|', and with replace mode that
// text goes to its link target instead.
WideText readDualList(const Reading &reading) {
    if (reading.index == kDualSourceSlot) return WideText();
    ResultText result;
    CellReader labels(reading.control);
    const int rows = rowCount(reading.control);
    for (int row = 0; row < rows && !result.full(); ++row) {
        labels.appendTo(result, row, 0);
        result.append(kSeparator);
    }
    const int target = reading.slot.linkIndex;
    if (reading.slot.linkMode == 2 && target >= 1 && target < kSlotCount) {
        setText(dialog().controls[target], result.text().data());
        return WideText();
    }
    return result.text();
}

int stateImage(HWND list, int row) {
    LRESULT state = SendMessageW(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK);
    return int((state & LVIS_STATEIMAGEMASK) >> 12);
}

// Cells per row as the factory laid the list out: a plain list and a
// check-box list without column titles show one cell per row whatever the
// column count says, so their chosen rows are read one cell per row too.
int cellsPerRow(const ControlSpec &slot) {
    if (flag(slot, 1) != 1 || extraText(slot, 1).empty()) return 1;
    return std::max(param(slot, 3), 0);
}

// The chosen rows of a list (checked ones, or every row of a list without
// check boxes), with their values taken from the slot's texts.
WideText readChoiceList(const Reading &reading) {
    const ControlSpec &slot = reading.slot;
    const Fields cells(slot.text);
    const Fields hidden(extraText(slot, 3));
    const bool hasHidden = !extraText(slot, 3).empty();
    const size_t columns = size_t(cellsPerRow(slot));
    const int returnColumn = param(slot, 2);

    ResultText result;
    int chosen = 0;
    bool lastCellFilled = false;
    const int rows = rowCount(reading.control);
    for (int row = 0; row < rows && !result.full(); ++row) {
        if (stateImage(reading.control, row) == kUncheckedImage) continue;
        ++chosen;
        const size_t first = columns * size_t(row);
        if (hasHidden) {
            if (!result.empty()) result.append(kSeparator);
            hidden.appendTo(result, size_t(row));
        } else if (columns > 1 && returnColumn >= 1) {
            if (!result.empty()) result.append(kSeparator);
            cells.appendTo(result, first + size_t(returnColumn) - 1);
        } else if (columns > 1) {
            // Whole rows: cells joined by '|', empty cells left out; a CR
            // before a row whose predecessor ended in a filled cell.
            if (lastCellFilled) result.append(kCarriageReturn);
            for (size_t column = 0; column < columns; ++column) {
                if (cells.length(first + column) == 0) continue;
                cells.appendTo(result, first + column);
                result.append(kSeparator);
            }
            lastCellFilled = cells.length(first + columns - 1) != 0;
        } else {
            if (!result.empty()) result.append(kSeparator);
            cells.appendTo(result, size_t(row));
        }
    }
    if (chosen > 1 && (columns <= 1 || (returnColumn != -1 && hasHidden))) result.append(kSeparator);
    return result.text();
}

WideText readList(const Reading &reading) {
    return dialog().templateId == IDD_DUAL_LIST ? readDualList(reading) : readChoiceList(reading);
}

WideText readCheckBox(const Reading &reading) {
    bool checked = SendMessageW(reading.control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return passOn(reading, WideText(checked ? TEXT16("1") : TEXT16("0")));
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
    return passOn(reading, windowText(reading.control));
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
    {"listbox", 0, 1, readList},
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
    const ReaderRow &reader = readerOf(kind);
    HWND control = GetDlgItem(parent, slot * reader.idFactor + reader.firstId);
    if (control == nullptr) return WideText();
    Reading reading{control, parent, slot, dialog().controls[slot]};
    return reader.read(reading);
}
