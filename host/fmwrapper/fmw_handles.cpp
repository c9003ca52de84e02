// Memory handles of the parameter block: a pointer to a pointer to the
// bytes. The bytes never move, so locking only counts; the host keeps every
// live handle so that a handle it did not hand out, or one already disposed
// of, is refused instead of freed twice.
#include "fmw_internal.h"

#include <unordered_set>

namespace {

struct HandleBlock {
    char* bytes;    // first member: the handle points here
    int32_t size;   // in bytes, as requested
    int32_t locks;  // lock calls not yet matched by unlock calls
};

enum : int16_t {
    kMemNoError = 0,
    kMemFull = 1,      // the allocation failed
    kMemBadHandle = 2, // not a live handle, or an invalid size
};

struct Handles {
    std::unordered_set<HandleBlock*> live;
    int16_t lastError = kMemNoError;
};

Handles& handles() {
    static Handles instance;
    return instance;
}

// The block behind a handle, or nullptr (and a recorded error) when the
// handle is not one of ours.
HandleBlock* lookup(char** handle) {
    Handles& h = handles();
    auto* block = reinterpret_cast<HandleBlock*>(handle);
    if (handle == nullptr || h.live.count(block) == 0) {
        h.lastError = kMemBadHandle;
        return nullptr;
    }
    h.lastError = kMemNoError;
    return block;
}

}  // namespace

extern "C" {

FMW_API char** FMW_STDCALL FMW_NewHandle(int32_t size) {
    Handles& h = handles();
    if (size < 0) {
        h.lastError = kMemBadHandle;
        return nullptr;
    }
    if (fmw::takeHandleAllocationFailure()) {
        h.lastError = kMemFull;
        return nullptr;
    }
    // One byte at least, so that even an empty handle points somewhere.
    char* bytes = new (std::nothrow) char[size > 0 ? size : 1]();
    auto* block = new (std::nothrow) HandleBlock{bytes, size, 0};
    bool tracked = false;
    if (bytes != nullptr && block != nullptr) {
        try {
            tracked = h.live.insert(block).second;
        } catch (...) {
            tracked = false;
        }
    }
    if (!tracked) {
        delete[] bytes;
        delete block;
        h.lastError = kMemFull;
        return nullptr;
    }
    h.lastError = kMemNoError;
    return &block->bytes;
}

FMW_API int32_t FMW_STDCALL FMW_HandleSize(char** handle) {
    const HandleBlock* block = lookup(handle);
    return block != nullptr ? block->size : 0;
}

FMW_API void FMW_STDCALL FMW_DisposeHandle(char** handle) {
    HandleBlock* block = lookup(handle);
    if (block == nullptr) return;
    handles().live.erase(block);
    delete[] block->bytes;
    delete block;
}

FMW_API void FMW_STDCALL FMW_LockHandle(char** handle) {
    HandleBlock* block = lookup(handle);
    if (block != nullptr) ++block->locks;
}

FMW_API void FMW_STDCALL FMW_UnlockHandle(char** handle) {
    HandleBlock* block = lookup(handle);
    if (block != nullptr && block->locks > 0) --block->locks;
}

FMW_API int16_t FMW_STDCALL FMW_MemError(void) { return handles().lastError; }

FMW_API int32_t FMW_CDECL FMW_LiveHandles(void) {
    return static_cast<int32_t>(handles().live.size());
}

FMW_API void FMW_CDECL FMW_Block_SetHandleEntries(FMExternCallStruct* block) {
#if FMW_BLOCK_HAS_HANDLES
    if (block == nullptr) return;
    block->newHandle = FMW_NewHandle;
    block->handleSize = FMW_HandleSize;
    block->disposeHandle = FMW_DisposeHandle;
    block->lockHandle = FMW_LockHandle;
    block->unlockHandle = FMW_UnlockHandle;
    block->memError = FMW_MemError;
#else
    (void)block;
#endif
}

}  // extern "C"
