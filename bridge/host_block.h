// The parameter block of the host's most recent entry-point call. Registered
// functions are called without it, so they reach the host's memory services
// and the module instance through this.
#ifndef TESSARY_BRIDGE_HOST_BLOCK_H
#define TESSARY_BRIDGE_HOST_BLOCK_H

#include <cstddef>
#include <cstdint>

#include "FMWrapper.h"

// Null before the first call.
FMExternCallStruct *savedBlock();
void saveBlock(FMExternCallStruct *block);
// The module instance named by the saved block, or the module's own when the
// host gave none.
void *pluginInstance();
void setOwnModule(void *module);

// Image bytes for a host that gives no memory handles (every 64-bit host, a
// 32-bit one that leaves the block's handle entries null): `size` bytes of
// the plug-in's own memory, freed with delete[], or null when there is none.
uint8_t *newImageBytes(size_t size);
#ifndef _WIN32
// Stand-in of the native build: the n-th (from 1) later newImageBytes call
// finds no memory; 0 disarms.
void failImageAllocation(unsigned nth);
#endif

#endif
