#include "runtime/module.h"

namespace {
void *gModule = nullptr;
} // namespace

void setRuntimeModule(void *module) {
    gModule = module;
}

void *runtimeModule() {
    return gModule;
}
