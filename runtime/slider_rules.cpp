#include "runtime/slider_rules.h"

#include <algorithm>

SliderScale sliderScale(int32_t maximum, int32_t position) {
    SliderScale scale{};
    const int32_t top = std::max<int32_t>(maximum, 0);
    scale.position = std::min(std::max<int32_t>(position, 0), top);
    if (top <= kMaxSliderSpan) {
        scale.minimum = 0;
    } else {
        // Centred on the position where it can be; never before 0 or past
        // the maximum. No sum here can leave 32 bits: top - span >= 0.
        const int32_t latestStart = top - kMaxSliderSpan;
        scale.minimum = std::min(std::max<int32_t>(scale.position - kMaxSliderSpan / 2, 0), latestStart);
    }
    scale.maximum = std::min<int32_t>(top, scale.minimum + kMaxSliderSpan);
    const int32_t span = scale.maximum - scale.minimum;
    scale.tickFrequency = std::max<int32_t>(1, (span + kMaxSliderTicks - 1) / kMaxSliderTicks);
    return scale;
}
