#include "bridge/call_boundary.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "bridge/host_block.h"
#include "bridge/host_values.h"

namespace {

#if FMW_BLOCK_HAS_HANDLES
// Whether the saved block offers every memory-handle entry. The host's
// interface has called them deprecated for many versions, so a host may
// leave them null.
bool handleServicesPresent() {
    const FMExternCallStruct *block = savedBlock();
    return block != nullptr && block->newHandle != nullptr && block->handleSize != nullptr &&
           block->disposeHandle != nullptr && block->lockHandle != nullptr && block->unlockHandle != nullptr &&
           block->memError != nullptr;
}

// A host memory handle from the services of the saved parameter block
// (which the caller has checked are there), disposed of when it goes out of
// scope. When the host has no memory, the handle is invalid and
// failureCode() tells the host why.
class HostHandle {
public:
    explicit HostHandle(int32_t size) : block_(savedBlock()), handle_(nullptr), failureCode_(0) {
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

// Adds one stream; returns the host's code. An image goes to a 32-bit host
// that offers memory handles from a handle of its own, which is released
// before this returns.
int16_t addStream(HostBinaryData &container, const CallResult::Stream &stream) {
    HostQuadChar quad(stream.type);
    const uint32_t size = uint32_t(stream.bytes.size());
    if (!stream.image) return container.add(quad, size, stream.bytes.data());
#if FMW_BLOCK_HAS_HANDLES
    if (handleServicesPresent()) {
        HostHandle handle{int32_t(size)};
        if (!handle.valid()) return handle.failureCode();
        HandleLock lock(handle);
        std::copy(stream.bytes.begin(), stream.bytes.end(), lock.bytes());
        return container.add(quad, size, lock.bytes());
    }
#endif
    // Memory of the plug-in's own, as a host without handle services gets
    // its images; none left fails the call like a host's refusal.
    std::unique_ptr<uint8_t[]> bytes(newImageBytes(size));
    if (!bytes) return FMErrorOutOfMemory;
    std::copy(stream.bytes.begin(), stream.bytes.end(), bytes.get());
    return container.add(quad, size, bytes.get());
}

} // namespace

CallArguments readArguments(const FMDataVect *args) {
    const uint32_t count = argumentCount(args);
    std::vector<WideText> texts = CallArguments::spareRoom();
    texts.reserve(count);
    for (uint32_t i = 0; i < count; ++i) texts.push_back(argumentWide(args, i));
    return CallArguments(std::move(texts));
}

int16_t writeResult(const CallResult &answer, const CallArguments &arguments, const FMDataVect *args,
                    FMData *result) {
    if (!answer.isContainer()) return setResultText(result, arguments.count() > 0 ? args : nullptr, answer.text());
    HostBinaryData container;
    for (const CallResult::Stream &stream : answer.streams()) {
        const int16_t code = addStream(container, stream);
        if (code != 0) return code;
    }
    setResultBinary(result, container);
    return 0;
}
