// The external functions and their registration with the host: the 24 of
// the dialogs, then Tessary_LastWarnings.
#ifndef TESSARY_PLUGIN_REGISTRY_H
#define TESSARY_PLUGIN_REGISTRY_H

#include <cstdint>

#include "FMWrapper.h"

struct ExternalFunction {
    int16_t id;               // 1..25; its name and prototype are string id + 100
    int16_t minArgs;          // argument counts the host enforces
    int16_t maxArgs;
    FMExternalHandler handler;
};

constexpr int kExternalFunctionCount = 25;
constexpr int16_t kLastWarningsId = 25;   // the one call that keeps the last call's warnings
constexpr uint32_t kFunctionFlags = 0xFF01; // compatibility flags of every row
constexpr char kPluginId[5] = "VRNQ";

extern const ExternalFunction kExternalFunctions[kExternalFunctionCount];

// Registers the rows in order. On the first failure at row k the rows
// k-1 down to 1 are unregistered again and false is returned.
bool registerAll();
// Unregisters the rows from the last down to 1; failures are ignored.
void unregisterAll();
int16_t registerOne(const ExternalFunction &row);
int16_t unregisterOne(int16_t id);

#endif
