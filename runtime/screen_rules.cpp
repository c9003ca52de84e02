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

namespace {

int32_t scaled(int32_t value, int from, int to) {
    if (from <= 0 || to <= 0 || from == to) return value;
    const int64_t product = int64_t(value) * to;
    const int64_t half = from / 2;
    const int64_t rounded = product >= 0 ? (product + half) / from : -((-product + half) / from);
    return int32_t(std::clamp<int64_t>(rounded, INT32_MIN, INT32_MAX));
}

} // namespace

int32_t Scale::pixels(int32_t units) const {
    return scaled(units, kScriptDpi, dpi);
}

int32_t Scale::units(int32_t pixels) const {
    return scaled(pixels, dpi, kScriptDpi);
}

ScreenRect drawnAt(const Scale &scale, const ScreenRect &asked) {
    const int64_t width = scale.pixels(int32_t(std::clamp<int64_t>(int64_t(asked.right) - asked.left, 0, INT32_MAX)));
    const int64_t height = scale.pixels(int32_t(std::clamp<int64_t>(int64_t(asked.bottom) - asked.top, 0, INT32_MAX)));
    return ScreenRect{asked.left, asked.top, int32_t(std::min<int64_t>(asked.left + width, INT32_MAX)),
                      int32_t(std::min<int64_t>(asked.top + height, INT32_MAX))};
}

ScreenRect keepInside(const ScreenRect &window, const ScreenRect &workArea) {
    const int64_t width = int64_t(window.right) - window.left;
    const int64_t height = int64_t(window.bottom) - window.top;
    const int32_t left = moveInto(window.left, width, workArea.left, workArea.right);
    const int32_t top = moveInto(window.top, height, workArea.top, workArea.bottom);
    return ScreenRect{left, top, int32_t(left + width), int32_t(top + height)};
}

ScreenRect centredOn(const ScreenRect &window, const ScreenRect &on) {
    const int64_t width = int64_t(window.right) - window.left;
    const int64_t height = int64_t(window.bottom) - window.top;
    const int64_t left = (int64_t(on.left) + on.right - width) / 2;
    const int64_t top = (int64_t(on.top) + on.bottom - height) / 2;
    auto held = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return ScreenRect{held(left), held(top), held(left + width), held(top + height)};
}
