// Layout of the host objects behind the opaque FMWrapper types, and the
// boundary that every exported function passes through.
//
// The library serves one thread, the host's user-interface thread, as the
// database does; nothing here is locked.
#ifndef TESSARY_FMW_INTERNAL_H
#define TESSARY_FMW_INTERNAL_H

#include "FMWrapper.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

struct FMText {
    std::u16string units; // UTF-16 code units, no terminator
};

struct FMLocale {
    std::string tag; // language tag such as "en-US"; one per data value
};

struct FMQuadChar {
    char code[4]; // four characters, not terminated
};

struct FMExprEnv {
    int reserved; // the host keeps no per-call state yet
};

namespace fmw {

struct Stream {
    char type[4];               // four-character stream type, e.g. "PNGf"
    std::vector<uint8_t> bytes; // the stream's content
};

}  // namespace fmw

struct FMBinaryData {
    std::vector<fmw::Stream> streams; // in the order they were added
};

struct FMData {
    enum class Kind { Empty, Text, Binary };
    Kind kind = Kind::Empty;
    FMText text;                      // Text: the value; otherwise empty
    FMLocale locale{"en-US"};         // every value carries one
    std::vector<fmw::Stream> streams; // Binary: copies of the streams
};

struct FMDataVect {
    std::vector<std::unique_ptr<FMData>> items; // the arguments, in order
    FMData pastEnd;                              // what an index past the end yields
};

namespace fmw {

// Thrown inside a boundary to report a failure with the given error code.
struct Failure {
    int32_t code;
};

inline void require(bool condition) {
    if (!condition) throw Failure{FMErrorGeneral};
}

// Clears the error record and returns the code of an armed fault that this
// call of the named function fires, or 0.
int32_t enterBoundary(const char* name, FMError* err);
void setError(FMError* err, int32_t code);
// True once when a test armed a refusal for this function id.
bool takeRegistrationRefusal(int16_t functionId);
// True once when a test armed a failure for this handle allocation.
bool takeHandleAllocationFailure();
// An argument read at `index` of a vector of `size`: in strict mode a read
// past the end is recorded for the host to report (the first one wins).
void noteArgumentRead(const char* function, uint32_t index, size_t size);

// Runs the body of an exported function so that no exception leaves it:
// out of memory reports code 1, anything else code 2, and the function then
// returns failValue.
template <typename R, typename Body>
R guard(const char* name, FMError* err, R failValue, Body&& body) noexcept {
    try {
        const int32_t injected = enterBoundary(name, err);
        if (injected != 0) {
            setError(err, injected);
            return failValue;
        }
        return body();
    } catch (const Failure& f) {
        setError(err, f.code);
    } catch (const std::bad_alloc&) {
        setError(err, FMErrorOutOfMemory);
    } catch (...) {
        setError(err, FMErrorGeneral);
    }
    return failValue;
}

// The same for functions that return a 16-bit code: on failure the code
// returned equals the error record's code.
template <typename Body>
int16_t guardCode(const char* name, FMError* err, Body&& body) noexcept {
    int32_t code = 0;
    try {
        code = enterBoundary(name, err);
        if (code == 0) return body();
    } catch (const Failure& f) {
        code = f.code;
    } catch (const std::bad_alloc&) {
        code = FMErrorOutOfMemory;
    } catch (...) {
        code = FMErrorGeneral;
    }
    setError(err, code);
    return static_cast<int16_t>(code);
}

template <typename Body>
void guardVoid(const char* name, FMError* err, Body&& body) noexcept {
    guard<int>(name, err, 0, [&] {
        body();
        return 0;
    });
}

// The system's ANSI code page: on Windows the active code page (CP_ACP); in
// the native build Windows-1252, the code page of western Windows systems.
std::u16string ansiToUtf16(const std::string& bytes);
// Encodes one character (one unit, or a surrogate pair) into out (up to 8
// bytes) and returns the byte count; a character the code page lacks
// becomes '?', as Windows does.
std::size_t ansiEncode(const char16_t* units, std::size_t count, char out[8]);

}  // namespace fmw

#endif
