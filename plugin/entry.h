// The plug-in's one exported entry point and the parameter block it saves.
#ifndef TESSARY_PLUGIN_ENTRY_H
#define TESSARY_PLUGIN_ENTRY_H

#include "FMWrapper.h"
#include "plugin/host_block.h"

extern "C" void FMW_CDECL FMExternCallProc(FMExternCallStruct *block);

constexpr int16_t kStartupOk = 51;
constexpr int16_t kStartupBadVersion = -1;
constexpr int16_t kStartupFailed = -2;

#endif
