#include "plugin/host_block.h"

namespace {
FMExternCallStruct *gBlock = nullptr;
void *gOwnModule = nullptr;
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
