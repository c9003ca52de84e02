#include "runtime/grid_rules.h"

#include "model/numbers.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr TextUnit kCarriageReturn = TextUnit(13);
constexpr TextUnit kLineFeed = TextUnit(10);

// The span of line `column` (from 1) of the choices text; false when the
// column has no line.
bool lineOf(const WideText &values, int column, size_t &start, size_t &length) {
    const TextUnit *text = values.data();
    const size_t size = values.length();
    const TextUnit *end = text + size;
    if (std::find(text, end, kCarriageReturn) == end) {
        start = 0;
        length = size;
        return true;
    }
    size_t at = 0;
    for (int line = 1; line < column; ++line) {
        const TextUnit *cr = std::find(text + at, end, kCarriageReturn);
        if (cr == end) return false;
        at = size_t(cr - text) + 1;
        if (at < size && text[at] == kLineFeed) ++at;
    }
    start = at;
    length = size_t(std::find(text + at, end, kCarriageReturn) - (text + at));
    return true;
}

TextUnit folded(TextUnit unit) {
    return unit >= TextUnit('A') && unit <= TextUnit('Z') ? TextUnit(unit - 'A' + 'a') : unit;
}

bool choiceBefore(const WideText &a, const WideText &b) {
    const bool foldedLess = std::lexicographical_compare(a.data(), a.data() + a.length(), b.data(),
                                                         b.data() + b.length(), [](TextUnit x, TextUnit y) {
                                                             return folded(x) < folded(y);
                                                         });
    if (foldedLess) return true;
    const bool foldedMore = std::lexicographical_compare(b.data(), b.data() + b.length(), a.data(),
                                                         a.data() + a.length(), [](TextUnit x, TextUnit y) {
                                                             return folded(x) < folded(y);
                                                         });
    if (foldedMore) return false;
    return std::lexicographical_compare(a.data(), a.data() + a.length(), b.data(), b.data() + b.length());
}

} // namespace

CellEdit cellEditOf(const NarrowText &kinds, int column) {
    if (column < 1 || size_t(column) > kinds.length()) return CellEdit::kFixed;
    switch (kinds[size_t(column - 1)]) {
    case 'E':
        return CellEdit::kText;
    case 'C':
        return CellEdit::kChoice;
    default:
        return CellEdit::kFixed;
    }
}

std::vector<WideText> columnChoices(const WideText &values, int column) {
    std::vector<WideText> choices;
    size_t start = 0;
    size_t length = 0;
    if (column < 1 || !lineOf(values, column, start, length)) return choices;
    const WideFields fields(values.data() + start, length);
    choices.reserve(fields.itemCount());
    for (size_t n = 0; n < fields.itemCount(); ++n) choices.push_back(fields.text(n));
    std::sort(choices.begin(), choices.end(), choiceBefore);
    return choices;
}

GridCell nextEditableCell(const NarrowText &kinds, const WideText &values, int rows, int columns, GridCell from,
                          int step) {
    if (rows < 1 || columns < 1) return GridCell{-1, 0};
    // Whether each column opens anything, decided once: the choices of a
    // column are a split of the whole text.
    std::vector<bool> opens(size_t(columns) + 1, false);
    bool any = false;
    for (int column = 1; column <= columns; ++column) {
        const CellEdit edit = cellEditOf(kinds, column);
        opens[size_t(column)] =
            edit == CellEdit::kText || (edit == CellEdit::kChoice && !columnChoices(values, column).empty());
        any = any || opens[size_t(column)];
    }
    if (!any) return GridCell{-1, 0};
    const long long cells = static_cast<long long>(rows) * columns;
    const int row = std::min(std::max(from.row, 0), rows - 1);
    const int column = std::min(std::max(from.column, 1), columns);
    const long long at = static_cast<long long>(row) * columns + (column - 1);
    const int direction = step < 0 ? -1 : 1;
    for (long long k = 1; k <= cells; ++k) {
        const long long index = ((at + direction * k) % cells + cells) % cells;
        const int next = int(index % columns) + 1;
        if (opens[size_t(next)]) return GridCell{int(index / columns), next};
    }
    return GridCell{row, column};
}

int choiceIndex(const std::vector<WideText> &choices, const WideText &current) {
    for (size_t i = 0; i < choices.size(); ++i) {
        if (choices[i] == current) return int(i);
    }
    return -1;
}

int dataColumnsRoom(const ListRoom &list) {
    int room = list.insideWidth - list.fixedWidth;
    const bool overflows = list.rows > 0 && list.rowHeight > 0 &&
                           int64_t(list.rows) * int64_t(list.rowHeight) > int64_t(list.viewHeight);
    if (overflows) room -= list.scrollBarWidth;
    return std::max(room, 0);
}

std::vector<int> dataColumnWidths(const NarrowFields &widths, int count, int room) {
    std::vector<int> out;
    if (room <= 0 || count < 1) return out;
    out.assign(size_t(count), 0);
    // Percentages as given, -1 for an empty piece; the sum of the given ones.
    std::vector<double> given(size_t(count), -1.0);
    double total = 0;
    int empty = 0;
    for (int k = 0; k < count; ++k) {
        if (widths.length(size_t(k)) == 0) {
            ++empty;
            continue;
        }
        given[size_t(k)] = std::max(leadingDecimal(widths.data(size_t(k)), widths.length(size_t(k))), 0.0);
        total += given[size_t(k)];
    }
    // Pieces such as 33.3|33.3|33.4 add up to a hair over 100 in binary
    // fractions; scaling them would cost a column a pixel.
    constexpr double kOverHundred = 100 + 1e-9;
    const double scale = total > kOverHundred ? 100 / total : 1;
    // What the given pieces leave, shared by the empty ones: all of it when
    // none is given, so that each gets exactly room / count.
    const double left = std::max(100 - total, 0.0);
    // The list view takes a column width as a signed 16-bit number.
    constexpr double kWidest = 32767;
    for (int k = 0; k < count; ++k) {
        const double width = given[size_t(k)] < 0 ? left / 100 * room / empty : given[size_t(k)] * scale / 100 * room;
        out[size_t(k)] = int(std::min(width, kWidest));
    }
    return out;
}
