#include "functions/functions.h"
#include "bridge/host_values.h"

// Tessary_Calendar takes its arguments for compatibility with scripts
// written for it and shows nothing.
int16_t calendarFunction(const FMDataVect *args, FMData *result) {
    return setResultEmpty(result, args);
}
