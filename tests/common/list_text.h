// The list texts that the list dialogs take, built for the programs that
// call them many times over (the soak, the list benchmark): the cells of
// every row one after another, each followed by '|'.
#ifndef TESSARY_TESTS_COMMON_LIST_TEXT_H
#define TESSARY_TESTS_COMMON_LIST_TEXT_H

#include <string>

namespace listtext {

// `rows` rows of `columns` cells, the cell of a row and column being
// cell(row, column). The cells are asked for row by row, left to right, so a
// generator drawn on inside `cell` gives the same text for the same seed.
template <class Cell>
std::wstring cellsOf(int rows, int columns, Cell cell) {
    std::wstring text;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            text += cell(row, column);
            text += L'|';
        }
    }
    return text;
}

} // namespace listtext

#endif
