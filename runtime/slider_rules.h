// The scale a slider's track bar is given, from the maximum and position a
// script asks for. The track bar computes a thumb's place as a product of
// its pixel width and a step count in 32-bit integers: a span of billions
// of steps overflows that (a division fault in the host's process), and
// with automatic tick marks it would also draw one mark per step. The rule
// keeps the span within what the control computes with and keeps the
// asked-for position inside it, so an untouched slider reads back exactly
// the position it was given.
#ifndef TESSARY_RUNTIME_SLIDER_RULES_H
#define TESSARY_RUNTIME_SLIDER_RULES_H

#include <cstdint>

// Most steps one track bar spans: with a slider of up to 21,474 pixels the
// place of every step stays within 32 bits.
constexpr int32_t kMaxSliderSpan = 100000;
// Most tick marks drawn along one track bar; a longer scale marks every
// n-th step.
constexpr int32_t kMaxSliderTicks = 1000;

struct SliderScale {
    int32_t minimum;
    int32_t maximum;
    int32_t position;      // minimum <= position <= maximum
    int32_t tickFrequency; // steps between two tick marks, at least 1
};

// The scale for a slider asked to run from 0 to `maximum` (below 0 counts
// as 0) at `position` (kept within 0..maximum). A maximum past
// kMaxSliderSpan shows kMaxSliderSpan steps around the position, from 0
// whenever the position lies within the first half of them.
SliderScale sliderScale(int32_t maximum, int32_t position);

#endif
