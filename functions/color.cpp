// The color swatch: a color text turned into container data that the host
// can keep in a container field.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>
#include <string>

#include "functions/color_text.h"
#include "functions/functions.h"
#include "functions/swatch_image.h"
#include "model/options.h"
#include "model/call.h"

namespace {

constexpr uint32_t kColorBufferSize = 128;
constexpr int kDefaultSwatchSize = 10;    // display pixels, when no option gives one
constexpr int kLargestSwatchSize = 65535; // the SIZE stream holds 16 bits per value
constexpr uint8_t kOpaque = 255;

// Display size along one axis. A value outside what 16 bits hold is clamped,
// never wrapped: 70000 wrapped would show a 4464-pixel swatch, -1 a 65535 one.
uint16_t swatchDimension(const OptionSet &options, const char *keyword) {
    const int value = options.numericValue(keyword, kDefaultSwatchSize);
    return static_cast<uint16_t>(std::min(std::max(value, 0), kLargestSwatchSize));
}

// An image of `size` bytes made by `fill`.
template <typename Fill>
std::vector<uint8_t> image(size_t size, Fill fill) {
    std::vector<uint8_t> bytes(size);
    fill(bytes.data());
    return bytes;
}

} // namespace

// Three streams: the JPEG and PNG images and the display size. Handing them
// to the host (in its own memory, for a 32-bit host) is the boundary's work.
void createColorFunction(const CallArguments &args, CallResult &result) {
    OptionSet options(args.narrow(0, kShortOptionsBytes));
    uint16_t width = swatchDimension(options, "width");
    uint16_t height = swatchDimension(options, "height");
    Rgb color = parseColorText(args.count() > 1 ? args.narrow(1, kColorBufferSize) : std::string());

    result.addStream("JPEG", std::vector<uint8_t>(kConstantJpeg, kConstantJpeg + kConstantJpegSize), true);
    result.addStream("PNGf", image(kSwatchPngSize, [&color](uint8_t *out) {
                         writeSwatchPng(out, color.red, color.green, color.blue, kOpaque);
                     }), true);
    result.addStream("SIZE", {uint8_t(width >> 8), uint8_t(width & 0xFF), uint8_t(height >> 8), uint8_t(height & 0xFF)},
                     false);
}
