// The order a sorted list shows its rows in.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>
#include <vector>

#include "runtime/sort_rules.h"

namespace {

// A stand-in for the locale's key: the text with A to Z folded to a to z.
void foldedKey(const TextUnit *text, size_t length, std::string &key) {
    for (size_t i = 0; i < length; ++i) {
        const TextUnit c = text[i] >= 'A' && text[i] <= 'Z' ? TextUnit(text[i] - 'A' + 'a') : text[i];
        key += char(c >> 8 | 0x80);
        key += char(c & 0xff);
    }
}

std::vector<int> order(const std::vector<std::u16string> &cells, bool descending) {
    return sortedRows(int(cells.size()),
                      [&](int row, size_t &length) {
                          length = cells[size_t(row)].size();
                          return reinterpret_cast<const TextUnit *>(cells[size_t(row)].data());
                      },
                      foldedKey, descending);
}

} // namespace

TEST(SortRules, CellsThatAreNumbers) {
    struct Case {
        const char16_t *cell;
        bool number;
        double value;
    } cases[] = {
        {u"42", true, 42},      {u" -3.5 ", true, -3.5}, {u"+7", true, 7},     {u"0,25", true, 0.25},
        {u".5", true, 0.5},     {u"12.", true, 12},      {u"", false, 0},      {u"-", false, 0},
        {u"1.2.3", false, 0},   {u"1 000", false, 0},    {u"12a", false, 0},   {u"\u0661", false, 0},
    };
    for (const Case &c : cases) {
        const WideText text = W(c.cell);
        double value = -1;
        EXPECT_EQ(cellNumber(text.data(), text.length(), value), c.number) << std::string(c.cell, c.cell + text.length());
        if (c.number) {
            EXPECT_DOUBLE_EQ(value, c.value);
        }
    }
}

TEST(SortRules, RowsInTheOrderOfAColumn) {
    struct Case {
        const char *what;
        std::vector<std::u16string> cells;
        std::vector<int> up, down;
    } cases[] = {
        {"texts, case aside, equal ones kept in order",
         {u"pear", u"Apple", u"apple", u"banana"}, {1, 2, 3, 0}, {0, 3, 1, 2}},
        {"digits as numbers", {u"Item 10", u"Item 2", u"item 1", u"Item 02b", u"Item"}, {4, 2, 1, 3, 0}, {0, 3, 1, 2, 4}},
        {"digits before letters; a shorter text first", {u"ab", u"a1", u"a", u"b"}, {2, 1, 0, 3}, {3, 0, 1, 2}},
        {"a column of numbers by value, empty cells first",
         {u"10", u"9.5", u"", u"-2", u"100", u"9,5"}, {2, 3, 1, 5, 0, 4}, {4, 0, 1, 5, 3, 2}},
        {"one text among numbers sorts it all as text, numbers before letters",
         {u"10", u"9", u"x", u"-2"}, {1, 0, 3, 2}, {2, 3, 0, 1}},
        {"only empty cells", {u"", u""}, {0, 1}, {0, 1}},
        {"long runs of digits", {u"123456789012345678901", u"99999999999999999999", u"0001"}, {2, 1, 0}, {0, 1, 2}},
        {"no rows", {}, {}, {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(order(c.cells, false), c.up) << c.what;
        EXPECT_EQ(order(c.cells, true), c.down) << c.what;
    }
}
