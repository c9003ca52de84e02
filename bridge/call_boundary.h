// Where a call of an external function crosses between the host and the
// functions: its arguments are read once, the count first and never an
// index past it, and the function's result is handed to the host.
#ifndef TESSARY_BRIDGE_CALL_BOUNDARY_H
#define TESSARY_BRIDGE_CALL_BOUNDARY_H

#include <cstdint>

#include "FMWrapper.h"
#include "model/call.h"

// Every argument the host passed, each read whole.
CallArguments readArguments(const FMDataVect *args);

// Hands `answer` to the host in `result`: a text in the locale of the first
// argument (of the result object itself in a call without arguments), or
// container data. Returns the host's code; a container stream the host has
// no memory for, or refuses, leaves the result unset and returns its code.
int16_t writeResult(const CallResult &answer, const CallArguments &arguments, const FMDataVect *args,
                    FMData *result);

#endif
