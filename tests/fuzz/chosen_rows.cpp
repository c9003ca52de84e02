// The value of a list's chosen rows, with fuzzed cells, hidden keys, column
// count, return column and chosen rows: it never outgrows what the chosen rows
// hold, and a one-column list whose chosen cells are all filled reads as
// those cells joined by '|' (closed by one more '|' when several are chosen).
// Input: a flags byte, column count and return column as 4 bytes each, a
// count of chosen rows and that many 2-byte signed rows, then the cells and
// (after a zero unit) the hidden keys as UTF-16 units.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "model/text.h"
#include "runtime/readback_rules.h"

namespace {

using fuzz::Reader;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Reader in{data, size};
    uint8_t flags = in.take<uint8_t>();
    int32_t columns = in.take<int32_t>();
    int32_t returnColumn = in.take<int32_t>();
    // The list fill lets at most 10 columns through; counts up to 63 (and
    // negative ones) cover that and more, while a huge count would only make
    // every run slow without reaching new code.
    columns = columns % 64;
    size_t count = in.take<uint8_t>() % 16;
    std::vector<int> chosen;
    for (size_t i = 0; i < count; ++i) chosen.push_back(in.take<int16_t>());

    std::vector<TextUnit> units(in.size / 2);
    if (!units.empty()) std::memcpy(units.data(), in.data, units.size() * 2);
    size_t zero = 0;
    while (zero < units.size() && units[zero] != 0) ++zero;
    WideText cells(units.data(), zero);
    WideText hidden = zero < units.size() ? WideText(units.data() + zero + 1, units.size() - zero - 1) : WideText();

    ControlSpec slot;
    slot.kind = NarrowText("listbox");
    slot.text = cells;
    setListHasCheckBoxes(slot, flags & 1);
    setListColumnCount(slot, columns);
    setListReturnColumn(slot, returnColumn);
    setListColumnTitles(slot, (flags & 2) ? WideText(TEXT16("A|B")) : WideText());
    setListHiddenKeys(slot, (flags & 4) ? hidden : WideText());

    WideText value = chosenRowsValue(slot, chosen);

    // Each chosen row gives at most its cells (or its key) with a separator
    // after each, and a CR; one more separator may close the value.
    size_t cellsPerRow = columns > 1 ? size_t(columns) : 1;
    size_t bound = 1;
    for (size_t i = 0; i < chosen.size(); ++i) {
        if (chosen[i] >= 0) bound += cells.length() + hidden.length() + cellsPerRow + 2;
    }
    if (value.length() > bound) abort();

    bool oneColumn = (flags & 1) == 0 || (flags & 2) == 0 || columns <= 1;
    if (oneColumn && (flags & 4) == 0) {
        WideText expected;
        bool allFilled = true;
        for (int row : chosen) {
            if (row < 0) continue;
            WideText cell = pipeField(cells.data(), size_t(row));
            if (cell.empty()) allFilled = false;
            if (!expected.empty()) expected.push_back(TextUnit('|'));
            expected.append(cell);
        }
        if (chosen.size() > 1) expected.push_back(TextUnit('|'));
        if (allFilled && value != expected) abort();
    }
    return 0;
}
