// What a call did not use or did not understand, for Tessary_LastWarnings:
// an option word none of the function's keywords matched, an input kind
// that is none of the kinds, an argument past those the function reads, a
// value that was clamped. A warning never changes what the call does or
// answers, and only the last call's are kept. Gathering costs nothing while
// there is nothing to say: the lines are made only when one is due.
#ifndef TESSARY_MODEL_WARNINGS_H
#define TESSARY_MODEL_WARNINGS_H

#include <cstdint>
#include <string>

class CallArguments;

// A new call of function `functionId` begins: the last call's lines go.
void startWarnings(int16_t functionId);
// Adds one line about the running call (without the function's name, which
// lastWarnings puts before it).
void warn(const std::string &line);
// The function the lines are about, and the lines, apart by CR.
int16_t warnedFunction();
const std::string &warningLines();

// Adds a line for each argument after the last one the call read that is
// not empty: the function never looked at it.
void warnUnreadArguments(const CallArguments &args);

// A keyword in double quotes for a warning, cut to a sensible length.
std::string quoted(const std::string &text);

#endif
