// The one external function that works on the host's values itself.
#ifndef TESSARY_PLUGIN_VERSION_H
#define TESSARY_PLUGIN_VERSION_H

#include <cstdint>

#include "FMWrapper.h"

int16_t versionFunction(const FMDataVect *args, FMData *result);

#endif
