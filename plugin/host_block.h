// The parameter block of the host's most recent entry-point call. Registered
// functions are called without it, so they reach the host's memory services
// and the module instance through this.
#ifndef TESSARY_PLUGIN_HOST_BLOCK_H
#define TESSARY_PLUGIN_HOST_BLOCK_H

#include "FMWrapper.h"

// Null before the first call.
FMExternCallStruct *savedBlock();
void saveBlock(FMExternCallStruct *block);
// The module instance named by the saved block, or the module's own when the
// host gave none.
void *pluginInstance();
void setOwnModule(void *module);

#endif
