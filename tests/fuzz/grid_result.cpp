// The grid of Tessary_DoListView end to end through the plug-in's entry
// point, with fuzzed column kinds, headers, widths, choices, list text and
// cell edits. A player stands in for the window: it lays the list text out
// in rows of the column count, edits cells as the cell editor allows (typed
// text in 'E' columns, one of the column's choices in 'C' columns, nothing
// elsewhere), builds the grid's value with the read-back rule and stores it
// as the dialog procedure does. What must hold: the slot holds the list
// text as given; the value asks only for cells inside the grid; the
// choices of a column are pieces of its line of the choices text and each
// is found where it is; column widths stay within 0..32767 and add up
// to at most the grid's width; the function answers the pressed button's
// number, "1" to "4" (nothing after the close
// box); and "text1" reads back every row: re-split at CR and '|' it gives
// the rows and cells of the grid, each cell the given one or its edit.
// Input: UTF-16 units (U+0000 dropped, as a list view ends a cell there) in
// fields apart by U+0001: a control field (unit 0 picks the button), then
// the 13 arguments from the options to button 4, then any number of edits,
// each one field: unit 0 picks the row, unit 1 the column, unit 2 the
// choice, the rest is typed.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/dialog_definition.h"
#include "model/fields.h"
#include "fuzz_support.h"
#include "runtime/grid_rules.h"
#include "runtime/readback_rules.h"
#include "runtime/runner.h"

namespace {

constexpr size_t kArguments = 13;
constexpr int kListSlot = kFirstInputSlot;

WideText wide(const std::u16string &s) {
    return WideText(reinterpret_cast<const TextUnit *>(s.data()), s.size());
}

bool hasSeparator(const WideText &cell) {
    for (size_t i = 0; i < cell.length(); ++i) {
        if (cell[i] == '|' || cell[i] == 13) return true;
    }
    return false;
}

struct Grid {
    int rows = 0;
    int columns = 0;
    std::vector<WideText> cells; // row by row
    WideText &at(int row, int column) { return cells[size_t(row) * size_t(columns) + size_t(column - 1)]; }
};

Grid gGrid;
void checkChoices(const ControlSpec &grid, int column, const std::vector<WideText> &choices) {
    const WideText &values = gridChoices(grid);
    const std::u16string all(values.data(), values.length());
    for (size_t k = 0; k < choices.size(); ++k) {
        if (hasSeparator(choices[k])) abort();
        if (all.find(std::u16string(choices[k].data(), choices[k].length())) == std::u16string::npos) abort();
        const int found = choiceIndex(choices, choices[k]);
        if (found < 0 || size_t(found) > k || choices[size_t(found)] != choices[k]) abort();
    }
    if (column < 1) abort();
}

void play(DialogDefinition &d, const std::vector<std::u16string> &edits, int32_t press, const WideText &listText) {
    ControlSpec &grid = d.controls[kListSlot];
    if (!equals(grid.kind, "listboxview")) abort();
    // The list text is kept as given, line breaks and all.
    if (grid.text != listText) abort();

    Grid &g = gGrid;
    g = Grid();
    g.columns = std::max(listColumnCount(grid), 0);
    const WideFields cells(grid.text);
    g.rows = listRowCount(cells.itemCount(), g.columns);
    if (g.columns > 0 && size_t(g.rows) * size_t(g.columns) < cells.itemCount()) abort();
    for (int row = 0; row < g.rows; ++row) {
        for (int column = 1; column <= g.columns; ++column) {
            g.cells.push_back(cells.text(size_t(row) * size_t(g.columns) + size_t(column - 1)));
        }
    }

    const NarrowText &widthText = listColumnWidths(grid);
    const NarrowFields widths(widthText.data(), std::min(widthText.length(), kMaxWidthTextUnits));
    const std::vector<int> columnWidths = dataColumnWidths(widths, g.columns, grid.width);
    long long widthSum = 0;
    for (int width : columnWidths) {
        if (width < 0 || width > 32767) abort();
        widthSum += width;
    }
    // Widths that add up to more than the room are scaled down to it.
    if (widthSum > std::max(grid.width, 0)) abort();

    for (const std::u16string &edit : edits) {
        if (g.rows == 0 || edit.size() < 3) continue;
        const int row = int(edit[0] % unsigned(g.rows));
        const int column = int(edit[1] % unsigned(g.columns)) + 1;
        WideText &cell = g.at(row, column);
        switch (cellEditOf(gridColumnKinds(grid), column)) {
        case CellEdit::kText: {
            // The editor takes whatever is typed, however long the cell.
            cell = wide(edit.substr(3));
            break;
        }
        case CellEdit::kChoice: {
            const std::vector<WideText> choices = columnChoices(gridChoices(grid), column);
            checkChoices(grid, column, choices);
            if (!choices.empty()) cell = choices[edit[2] % choices.size()];
            break;
        }
        case CellEdit::kFixed:
            break;
        }
    }

    const WideText value = gridValue(g.rows, g.columns, [](int row, int column, size_t &length) {
        if (row < 0 || row >= gGrid.rows || column < 1 || column > gGrid.columns) abort();
        const WideText &cell = gGrid.at(row, column);
        length = cell.length();
        return cell.data();
    });
    grid.text = value;
    d.resultIndex = press;
}

// "text1" after a button closed the grid.
void checkReadBack(const std::u16string &text) {
    const Grid &g = gGrid;
    std::u16string shown;
    for (int row = 0; row < g.rows; ++row) {
        if (row > 0) shown.push_back(13);
        for (int column = 1; column <= g.columns; ++column) {
            const WideText &cell = g.cells[size_t(row) * size_t(g.columns) + size_t(column - 1)];
            shown.append(cell.data(), cell.length());
            shown.push_back(u'|');
        }
    }
    if (text != shown) abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::startPluginOnce();
    std::vector<std::u16string> fields(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        char16_t unit = char16_t(data[i] | (data[i + 1] << 8));
        if (unit == 1) {
            fields.emplace_back();
        } else if (unit != 0) {
            fields.back().push_back(unit);
        }
    }
    if (fields.size() < 1 + kArguments) fields.resize(1 + kArguments);
    const std::vector<std::u16string> args(fields.begin() + 1, fields.begin() + 1 + kArguments);
    const std::vector<std::u16string> edits(fields.begin() + 1 + kArguments, fields.end());
    const unsigned choice = fields[0].empty() ? 1 : fields[0][0] % 5;
    // 0: the close box; 1..4: button n, in slot 3 + n, when it was made.
    const int32_t press = choice == 0 ? -1 : int32_t(kFirstButtonSlot + choice - 1);
    const WideText listText = wide(args[8]);

    bool played = false;
    setDialogPlayer([&](DialogDefinition &d) {
        played = true;
        const bool made = press < 0 || equals(d.controls[press].kind, "button");
        play(d, edits, made ? press : -1, listText);
    });
    const harness::Result r = harness::call(u"Tessary_DoListView", args);
    setDialogPlayer(nullptr);
    if (r.code != 0 || !played) abort();

    const int32_t pressed = dialog().resultIndex;
    const harness::Result text1 = harness::call(u"Tessary_GetInput", {u"text1"});
    if (pressed < 0) {
        if (!r.text.empty() || !text1.text.empty()) abort();
        return 0;
    }
    // A button's number skips the empty captions before it, so it is the
    // slot's value, one of "1" to "4".
    const WideText &value = dialog().controls[pressed].value;
    if (value.length() != 1 || value[0] < '1' || value[0] > '4') abort();
    if (r.text != std::u16string(value.data(), value.length())) abort();
    checkReadBack(text1.text);
    return 0;
}
