// What the fuzz targets share: typed values read off the fuzzer's bytes, and
// the plug-in started once per process.
#ifndef TESSARY_TESTS_FUZZ_FUZZ_SUPPORT_H
#define TESSARY_TESTS_FUZZ_FUZZ_SUPPORT_H

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "plugin_harness.h"

namespace fuzz {

// Takes values off the front of the input; past its end they read as zero.
struct Reader {
    const uint8_t *data;
    size_t size;
    template <typename T>
    T take() {
        T value{};
        size_t n = size < sizeof(T) ? size : sizeof(T);
        std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }
};

// Starts the plug-in through its entry point for the first input; the later
// inputs of the process find it started.
inline void startPluginOnce() {
    static bool started = false;
    if (started) return;
    if (harness::startPlugin() != kStartupOk) abort();
    started = true;
}

} // namespace fuzz

#endif
