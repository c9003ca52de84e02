// The calls of the soak: a seeded generator of function calls with valid and
// hostile arguments, the same sequence for the same seed on every machine.
#ifndef TESSARY_TESTS_SOAK_CALLS_H
#define TESSARY_TESTS_SOAK_CALLS_H

#include <cstdint>
#include <string>
#include <vector>

namespace soak {

// splitmix64: tiny, and its sequence is fixed by the seed alone (the
// standard library's distributions differ between implementations).
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    uint32_t below(uint32_t n);               // 0 .. n-1; 0 when n is 0
    int between(int low, int high);           // low .. high, both included
    bool chance(uint32_t percent);            // true in `percent` of 100 draws
    template <class T> const T &pick(const std::vector<T> &items) { return items[below(uint32_t(items.size()))]; }

private:
    uint64_t state_;
};

// One planned call and what the soak knows in advance about its answer.
struct Call {
    std::wstring function;
    std::vector<std::wstring> args;
    std::vector<std::wstring> buttonResults;  // results a button may give ("1".."8", markup names)
    bool mayShowDialog = false;               // a dialog of the plug-in or of the system
    bool systemDialog = false;                // the colour, file or folder chooser
    int timerSeconds = 0;                     // > 0: the dialog closes itself after this long
};

// The next call: one of the 24 functions, with an argument count within
// [minArgs, maxArgs] of the function (maxArgs < 0: no bound).
Call nextCall(Rng &rng, const std::wstring &function, int minArgs, int maxArgs);

// A command for the progress window between calls: the arguments of one
// Tessary_ProgressBar call.
std::vector<std::wstring> progressCommand(Rng &rng);

// A short text a user might type: letters, digits, text outside every ANSI
// code page, now and then a '|' or a line break.
std::wstring typedText(Rng &rng);

// Arguments meant to break the plug-in: 1 MB texts, thousands of '|', huge
// and negative numbers, control characters, unpaired surrogates.
std::wstring hostileText(Rng &rng);

// Shortens a text for a log line: ASCII kept, the rest as \uXXXX, long texts
// cut with their length given.
std::string describe(const std::wstring &text);

}  // namespace soak

#endif
