#include "functions/functions.h"
#include "model/call.h"

// Tessary_Calendar takes its arguments for compatibility with scripts
// written for it and shows nothing.
void calendarFunction(const CallArguments &, CallResult &result) {
    return result.setEmpty();
}
