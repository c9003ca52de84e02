// The color swatch: a color text turned into container data that the host
// can keep in a container field. A 32-bit host expects image data in its
// memory handles; the 64-bit block has none, so there the images are built in
// the plug-in's own memory.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "functions/color_text.h"
#include "functions/functions.h"
#include "functions/swatch_image.h"
#include "model/options.h"
#include "bridge/host_block.h"
#include "bridge/host_values.h"

namespace {

constexpr uint32_t kOptionsBufferSize = 128;
constexpr uint32_t kColorBufferSize = 128;
constexpr int kDefaultSwatchSize = 10;    // display pixels, when no option gives one
constexpr int kLargestSwatchSize = 65535; // the SIZE stream holds 16 bits per value
constexpr uint8_t kOpaque = 255;
constexpr size_t kSizeStreamBytes = 4;

// Display size along one axis. A value outside what 16 bits hold is clamped,
// never wrapped: 70000 wrapped would show a 4464-pixel swatch, -1 a 65535 one.
uint16_t swatchDimension(const OptionSet &options, const char *keyword) {
    if (!options.has(keyword)) return kDefaultSwatchSize;
    return static_cast<uint16_t>(std::min(std::max(options.numericValue(keyword), 0), kLargestSwatchSize));
}

#if FMW_BLOCK_HAS_HANDLES
// A host memory handle from the services of the saved parameter block,
// disposed of when it goes out of scope. When the host has no memory, or no
// services, the handle is invalid and failureCode() tells the host why.
class HostHandle {
public:
    explicit HostHandle(int32_t size) : block_(savedBlock()), handle_(nullptr), failureCode_(0) {
        if (!servicesPresent()) {
            failureCode_ = FMErrorOutOfMemory;
            return;
        }
        handle_ = block_->newHandle(size);
        if (handle_ == nullptr) {
            failureCode_ = block_->memError();
        } else if (block_->handleSize(handle_) < size) {
            // Too small to hold what was asked for: writing would run past it.
            dispose();
            failureCode_ = FMErrorOutOfMemory;
        }
        // A host that fails without saying why must not see success.
        if (handle_ == nullptr && failureCode_ == 0) failureCode_ = FMErrorOutOfMemory;
    }
    ~HostHandle() { dispose(); }
    HostHandle(const HostHandle &) = delete;
    HostHandle &operator=(const HostHandle &) = delete;

    bool valid() const { return handle_ != nullptr; }
    int16_t failureCode() const { return failureCode_; }
    char **get() const { return handle_; }
    const FMExternCallStruct *block() const { return block_; }

private:
    bool servicesPresent() const {
        return block_ != nullptr && block_->newHandle != nullptr && block_->handleSize != nullptr &&
               block_->disposeHandle != nullptr && block_->lockHandle != nullptr &&
               block_->unlockHandle != nullptr && block_->memError != nullptr;
    }
    void dispose() {
        if (handle_ == nullptr) return;
        block_->disposeHandle(handle_);
        handle_ = nullptr;
    }

    const FMExternCallStruct *block_;
    char **handle_;
    int16_t failureCode_;
};

// Keeps a valid handle locked, so its bytes stay put while they are used.
class HandleLock {
public:
    explicit HandleLock(const HostHandle &handle) : handle_(handle) { handle_.block()->lockHandle(handle_.get()); }
    ~HandleLock() { handle_.block()->unlockHandle(handle_.get()); }
    HandleLock(const HandleLock &) = delete;
    HandleLock &operator=(const HandleLock &) = delete;

    uint8_t *bytes() const { return reinterpret_cast<uint8_t *>(*handle_.get()); }

private:
    const HostHandle &handle_;
};

#endif

// Adds `size` bytes as a stream of the four-character type; returns the
// host's code.
int16_t addStream(HostBinaryData &container, const char type[4], uint32_t size, const void *bytes) {
    HostQuadChar quad(type);
    return container.add(quad, size, bytes);
}

// Builds an image of `size` bytes with `fill` and adds it as a stream.
// Returns 0, the host's memory error code when there is no memory for the
// image, or the host's code when it refuses the stream. The memory is
// released before this returns.
template <typename Fill>
int16_t addImageStream(HostBinaryData &container, const char type[4], size_t size, Fill fill) {
#if FMW_BLOCK_HAS_HANDLES
    HostHandle handle{int32_t(size)};
    if (!handle.valid()) return handle.failureCode();
    HandleLock lock(handle);
    fill(lock.bytes());
    return addStream(container, type, uint32_t(size), lock.bytes());
#else
    std::unique_ptr<uint8_t[]> bytes(newImageBytes(size));
    if (!bytes) return FMErrorOutOfMemory;
    fill(bytes.get());
    return addStream(container, type, uint32_t(size), bytes.get());
#endif
}

} // namespace

// Returns 0, or the host's code when it has no memory for an image or
// refuses a stream; no result is set then.
int16_t createColorFunction(const FMDataVect *args, FMData *result) {
    OptionSet options(argumentNarrow(args, 0, kOptionsBufferSize).c_str());
    uint16_t width = swatchDimension(options, "width");
    uint16_t height = swatchDimension(options, "height");
    Rgb color = parseColorText(argumentCount(args) > 1 ? argumentNarrow(args, 1, kColorBufferSize) : std::string());

    HostBinaryData container;
    int16_t code = addImageStream(container, "JPEG", kConstantJpegSize,
                                  [](uint8_t *out) { std::memcpy(out, kConstantJpeg, kConstantJpegSize); });
    if (code != 0) return code;
    code = addImageStream(container, "PNGf", kSwatchPngSize, [&color](uint8_t *out) {
        writeSwatchPng(out, color.red, color.green, color.blue, kOpaque);
    });
    if (code != 0) return code;

    const uint8_t size[kSizeStreamBytes] = {uint8_t(width >> 8), uint8_t(width & 0xFF), uint8_t(height >> 8),
                                            uint8_t(height & 0xFF)};
    code = addStream(container, "SIZE", kSizeStreamBytes, size);
    if (code != 0) return code;

    setResultBinary(result, container);
    return 0;
}
