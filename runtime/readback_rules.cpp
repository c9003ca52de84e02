#include "runtime/readback_rules.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_set>

#include "model/fields.h"

namespace {

constexpr TextUnit kSeparator = TextUnit('|');
constexpr TextUnit kCarriageReturn = TextUnit(13);

// The '|'-fields of a whole text as pipeField numbers them (from 0, a field
// past the last one empty), split once so that a long list is not scanned
// again for every row.
class Fields : public WideFields {
public:
    explicit Fields(const WideText &text) : WideFields(text) {}
    void appendTo(ResultText &result, size_t n) const { result.append(data(n), length(n)); }
};

// Cells per row as the factory laid the list out: a plain list and a
// check-box list without column titles show one cell per row whatever the
// column count says, so their chosen rows are read one cell per row too.
int cellsPerRow(const ControlSpec &slot) {
    if (listHasCheckBoxes(slot) != 1 || listColumnTitles(slot).empty()) return 1;
    return std::max(listColumnCount(slot), 0);
}

} // namespace

void ResultText::append(const TextUnit *units, size_t count) {
    if (cut_) return;
    size_t room = limit_ - text_.length();
    size_t kept = wholeCharacterCut(units, count, room);
    text_.append(units, kept);
    cut_ = kept < count;
}

WideText chosenRowsValue(const ControlSpec &slot, const std::vector<int> &chosen) {
    const Fields cells(slot.text);
    const Fields hidden(listHiddenKeys(slot));
    const bool hasHidden = !listHiddenKeys(slot).empty();
    const size_t columns = size_t(cellsPerRow(slot));
    const int returnColumn = listReturnColumn(slot);

    ResultText result(ResultText::kNoLimit);
    bool rowWritten = false; // an earlier chosen row left at least one cell
    for (size_t k = 0; k < chosen.size() && !result.full(); ++k) {
        const int row = chosen[k];
        if (row < 0) continue;
        const size_t first = columns * size_t(row);
        if (hasHidden) {
            if (!result.empty()) result.append(kSeparator);
            hidden.appendTo(result, size_t(row));
        } else if (columns > 1 && returnColumn >= 1) {
            if (!result.empty()) result.append(kSeparator);
            cells.appendTo(result, first + size_t(returnColumn) - 1);
        } else if (columns > 1) {
            // Whole rows: cells joined by '|', empty cells left out, rows
            // apart by a CR. The CR follows every row that wrote a cell, not
            // only one whose last cell was filled: otherwise a row ending in
            // an empty cell would run into the next and the two could not be
            // told apart.
            if (rowWritten) result.append(kCarriageReturn);
            for (size_t column = 0; column < columns; ++column) {
                if (cells.length(first + column) == 0) continue;
                cells.appendTo(result, first + column);
                result.append(kSeparator);
                rowWritten = true;
            }
        } else {
            if (!result.empty()) result.append(kSeparator);
            cells.appendTo(result, size_t(row));
        }
    }
    if (chosen.size() > 1 && (columns <= 1 || (returnColumn != -1 && hasHidden))) result.append(kSeparator);
    return result.text();
}

std::vector<int> preselectedRows(const ControlSpec &slot, const WideFields &cells, int columns, int rows,
                                 bool firstOnly) {
    typedef std::basic_string_view<TextUnit> Key;
    std::vector<int> found;
    const WideText &wanted = listPreselected(slot);
    if (wanted.empty() || rows < 1 || columns < 1) return found;
    const WideFields values(wanted);
    std::unordered_set<Key> keys;
    keys.reserve(values.itemCount());
    for (size_t v = 0; v < values.itemCount(); ++v) keys.insert(Key(values.data(v), values.length(v)));

    const WideText &hidden = listHiddenKeys(slot);
    const WideFields hiddenKeys(hidden);
    for (int row = 0; row < rows; ++row) {
        const size_t n = hidden.empty() ? size_t(row) * size_t(columns) : size_t(row);
        const WideFields &from = hidden.empty() ? cells : hiddenKeys;
        if (keys.count(Key(from.data(n), from.length(n))) == 0) continue;
        found.push_back(row);
        if (firstOnly) break;
    }
    return found;
}

int listRowCount(size_t cellCount, int columns) {
    if (columns < 1) return 0;
    const size_t rows = (cellCount + size_t(columns) - 1) / size_t(columns);
    return rows > size_t(INT_MAX) ? INT_MAX : int(rows);
}

WideText gridValue(int rows, int columns,
                    const std::function<const TextUnit *(int row, int column, size_t &length)> &cell) {
    // Like a list's, the grid's value keeps every row and every cell whole.
    ResultText result(ResultText::kNoLimit);
    for (int row = 0; row < rows && !result.full(); ++row) {
        if (row > 0) result.append(kCarriageReturn);
        for (int column = 1; column <= columns && !result.full(); ++column) {
            size_t length = 0;
            const TextUnit *units = cell(row, column, length);
            result.append(units, length);
            result.append(kSeparator);
        }
    }
    return result.text();
}

WideText passValueOn(int index, const WideText &value) {
    if (index < 0 || index >= kSlotCount) return value;
    const ControlSpec &slot = dialog().controls[index];
    const int target = slot.linkIndex;
    if (target < 1 || (value.empty() && slot.linksEmptyValue != 1) || target == index) return value;
    // A target outside the table cannot receive anything; keep the value.
    if (target >= kSlotCount) return value;
    ControlSpec &receiver = dialog().controls[target];
    if (slot.linkMode == 1) {
        WideText joined = receiver.text;
        joined.append(receiver.linkSeparator);
        joined.append(value);
        receiver.text = joined;
    } else if (slot.linkMode == 2) {
        receiver.text = value;
    }
    return WideText();
}
