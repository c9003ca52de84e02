// The order in which a user reads a standard dialog: the order its controls
// are made in, so that Tab walks them as they stand on the screen and a
// screen reader names each field by the text made just before it.
#ifndef TESSARY_FUNCTIONS_READING_ORDER_H
#define TESSARY_FUNCTIONS_READING_ORDER_H

#include <initializer_list>

#include "model/dialog_definition.h"

// Puts the slots of `d` in reading order: `leading` first, as given; then
// the dialog texts; then the input rows from row 1 on, each as its label,
// its input and the input's partner slots, left to right; then the buttons,
// row by row from the top, each row left to right; then every other slot in
// index order. A slot named twice keeps its first place.
void orderForReading(DialogDefinition &d, std::initializer_list<int> leading = {});

#endif
