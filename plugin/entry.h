// The plug-in's one exported entry point and the parameter block it saves.
#ifndef TESSARY_PLUGIN_ENTRY_H
#define TESSARY_PLUGIN_ENTRY_H

#include "FMWrapper.h"
#include "bridge/host_block.h"

extern "C" void FMW_CDECL FMExternCallProc(FMExternCallStruct *block);

// The start-up answer once every function is registered: the extension
// version the plug-in is written to. 53 is the first that knows 64-bit
// plug-ins, and 64-bit hosts send 53 or higher.
constexpr int16_t kStartupOk = sizeof(void *) == 8 ? 53 : 51;
constexpr int16_t kStartupBadVersion = -1;
constexpr int16_t kStartupFailed = -2;

#endif
