#include "runtime/screen_rules.h"

#include <algorithm>
#include <cstdint>

namespace {

// The start of a span of `length` moved into [low, high): its end first,
// then its start, so the start wins when the span is the longer.
int32_t moveInto(int32_t start, int64_t length, int32_t low, int32_t high) {
    int64_t moved = start;
    if (moved + length > high) moved = high - length;
    if (moved < low) moved = low;
    return int32_t(moved);
}

} // namespace

ScreenRect keepInside(const ScreenRect &window, const ScreenRect &workArea) {
    const int64_t width = int64_t(window.right) - window.left;
    const int64_t height = int64_t(window.bottom) - window.top;
    const int32_t left = moveInto(window.left, width, workArea.left, workArea.right);
    const int32_t top = moveInto(window.top, height, workArea.top, workArea.bottom);
    return ScreenRect{left, top, int32_t(left + width), int32_t(top + height)};
}
