// The order a list shows its rows in when a user sorts it by a column,
// without windows: the rows stay where the dialog keeps them, and the order
// is a list of their numbers. What a dialog returns never follows it. The
// native build tests these rules with a stand-in for the locale's order.
#ifndef TESSARY_RUNTIME_SORT_RULES_H
#define TESSARY_RUNTIME_SORT_RULES_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "model/text.h"

// The units of a row's cell in the sorted column; `length` units, which
// stay valid until the next call.
typedef std::function<const TextUnit *(int row, size_t &length)> SortCell;
// Appends to `key` the locale's key of a text without digits, ignoring
// case: two such keys compare as bytes the way the locale orders the texts.
typedef std::function<void(const TextUnit *text, size_t length, std::string &key)> TextSortKey;

// A cell read as a number: blanks around, an optional sign, digits with at
// most one decimal point ('.' or ','), at least one digit. False for any
// other text, the empty one included.
bool cellNumber(const TextUnit *text, size_t length, double &value);

// Appends the key of a cell that orders digits as numbers ("Item 2" before
// "Item 10"): the stretches between runs of the digits 0-9 by `textKey`,
// each run by its value, whatever its leading zeros.
void appendNaturalKey(const TextUnit *text, size_t length, const TextSortKey &textKey, std::string &key);

// Rows 0..rows-1 in the order of their cells, descending when asked. A
// column whose cells are all numbers (empty cells aside, which come first)
// sorts by value; any other by the natural key. Rows of equal cells keep
// their order, in either direction.
std::vector<int> sortedRows(int rows, const SortCell &cell, const TextSortKey &textKey, bool descending);

#endif
