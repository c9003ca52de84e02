// The plug-in's one exported entry point and the parameter block it saves.
#ifndef TESSARY_PLUGIN_ENTRY_H
#define TESSARY_PLUGIN_ENTRY_H

#include "FMWrapper.h"

extern "C" void FMW_CDECL FMExternCallProc(FMExternCallStruct *block);

// The block of the most recent entry-point call; null before the first.
// Registered functions are called without it, so they reach the host's
// handle services and the module instance through this.
FMExternCallStruct *savedBlock();
// The module instance named by the saved block, or the module's own when the
// host gave none.
void *pluginInstance();
void setOwnModule(void *module);

constexpr int16_t kStartupOk = 51;
constexpr int16_t kStartupBadVersion = -1;
constexpr int16_t kStartupFailed = -2;

#endif
