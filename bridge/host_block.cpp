#include "bridge/host_block.h"

#include <new>

namespace {
FMExternCallStruct *gBlock = nullptr;
void *gOwnModule = nullptr;
#ifndef _WIN32
unsigned gFailImageAllocation = 0;
#endif
} // namespace

FMExternCallStruct *savedBlock() {
    return gBlock;
}

void saveBlock(FMExternCallStruct *block) {
    gBlock = block;
}

void *pluginInstance() {
    if (gBlock != nullptr && gBlock->instanceId != nullptr) return gBlock->instanceId;
    return gOwnModule;
}

void setOwnModule(void *module) {
    gOwnModule = module;
}

uint8_t *newImageBytes(size_t size) {
#ifndef _WIN32
    if (gFailImageAllocation != 0 && --gFailImageAllocation == 0) return nullptr;
#endif
    return new (std::nothrow) uint8_t[size];
}

#ifndef _WIN32
void failImageAllocation(unsigned nth) {
    gFailImageAllocation = nth;
}
#endif
