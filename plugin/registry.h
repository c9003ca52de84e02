// The 24 external functions and their registration with the host.
#ifndef TESSARY_PLUGIN_REGISTRY_H
#define TESSARY_PLUGIN_REGISTRY_H

#include <cstdint>

#include "FMWrapper.h"

struct ExternalFunction {
    int16_t id;               // 1..24; its name and prototype are string id + 100
    int16_t minArgs;          // argument counts the host enforces
    int16_t maxArgs;
    FMExternalHandler handler;
};

constexpr int kExternalFunctionCount = 24;
constexpr uint32_t kFunctionFlags = 0xFF01; // compatibility flags of every row
constexpr char kPluginId[5] = "VRNQ";

extern const ExternalFunction kExternalFunctions[kExternalFunctionCount];

// Registers rows 1..24 in order. On the first failure at row k the rows
// k-1 down to 1 are unregistered again and false is returned.
bool registerAll();
// Unregisters rows 24 down to 1; failures are ignored.
void unregisterAll();
int16_t registerOne(const ExternalFunction &row);
int16_t unregisterOne(int16_t id);

#endif
