// Functions that are registered but not built yet: each accepts its
// arguments and answers the empty text, so scripts that call them run on.
#include "functions/functions.h"
#include "plugin/host_values.h"

#define PENDING(name) \
    int16_t name(const FMDataVect *args, FMData *result) { return setResultEmpty(result, args); }

PENDING(progressBarFunction)
