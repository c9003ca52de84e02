// The functions that plug-ins registered, keyed by (plug-in id, function id),
// and the log of every register and unregister call.
#include "fmw_internal.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct Entry {
    FMRegisteredFunction record; // what FMW_Registry_At hands out
    FMText name;                 // copies: the plug-in frees its own texts
    FMText prototype;
};

struct Registry {
    std::vector<std::unique_ptr<Entry>> entries; // in registration order
    std::string log;                             // "R1 R2 U2 U1"
};

Registry& registry() {
    static Registry instance;
    return instance;
}

bool samePlugin(const FMRegisteredFunction& r, const FMQuadChar* id) {
    return std::memcmp(r.pluginId, id->code, 4) == 0;
}

std::vector<std::unique_ptr<Entry>>::iterator findEntry(const FMQuadChar* pluginId,
                                                        int16_t functionId) {
    auto& entries = registry().entries;
    return std::find_if(entries.begin(), entries.end(), [&](const std::unique_ptr<Entry>& e) {
        return e->record.functionId == functionId && samePlugin(e->record, pluginId);
    });
}

void logCall(char kind, int16_t functionId) {
    std::string& log = registry().log;
    if (!log.empty()) log += ' ';
    log += kind;
    log += std::to_string(functionId);
}

// Argument counts as the database accepts them: maxArgs -1 means "no
// upper bound"; otherwise 0 <= minArgs <= maxArgs.
bool validCounts(int16_t minArgs, int16_t maxArgs) {
    if (minArgs < 0) return false;
    return maxArgs == -1 || maxArgs >= minArgs;
}

}  // namespace

extern "C" {

// Returns 0, or FMErrorGeneral (2) when the id is already registered for
// this plug-in, an argument is invalid, or a test refused it; only invalid
// arguments also set the error record.
FMW_API int16_t FMW_CDECL FM_ExprEnv_RegisterExternalFunction(
    const FMQuadChar* pluginId, int16_t functionId, const FMText* name, const FMText* prototype,
    int16_t minArgs, int16_t maxArgs, uint32_t flags, FMExternalHandler handler, FMError* err) {
    return fmw::guardCode("FM_ExprEnv_RegisterExternalFunction", err, [&]() -> int16_t {
        logCall('R', functionId);
        fmw::require(pluginId != nullptr && name != nullptr && prototype != nullptr &&
                     handler != nullptr && !name->units.empty());
        fmw::require(validCounts(minArgs, maxArgs));
        if (fmw::takeRegistrationRefusal(functionId)) return FMErrorGeneral;
        if (findEntry(pluginId, functionId) != registry().entries.end()) return FMErrorGeneral;

        auto entry = std::make_unique<Entry>();
        entry->name = *name;
        entry->prototype = *prototype;
        FMRegisteredFunction& r = entry->record;
        std::memcpy(r.pluginId, pluginId->code, 4);
        r.pluginId[4] = '\0';
        r.functionId = functionId;
        r.minArgs = minArgs;
        r.maxArgs = maxArgs;
        r.flags = flags;
        r.handler = handler;
        r.name = &entry->name;
        r.prototype = &entry->prototype;
        registry().entries.push_back(std::move(entry));
        return 0;
    });
}

// Returns 0, or FMErrorGeneral (2) when nothing is registered under the id.
FMW_API int16_t FMW_CDECL FM_ExprEnv_UnRegisterExternalFunction(const FMQuadChar* pluginId,
                                                                int16_t functionId, FMError* err) {
    return fmw::guardCode("FM_ExprEnv_UnRegisterExternalFunction", err, [&]() -> int16_t {
        logCall('U', functionId);
        fmw::require(pluginId != nullptr);
        const auto it = findEntry(pluginId, functionId);
        if (it == registry().entries.end()) return FMErrorGeneral;
        registry().entries.erase(it);
        return 0;
    });
}

FMW_API uint32_t FMW_CDECL FMW_Registry_Count(void) {
    return static_cast<uint32_t>(registry().entries.size());
}

FMW_API int FMW_CDECL FMW_Registry_At(uint32_t index, FMRegisteredFunction* out) {
    const auto& entries = registry().entries;
    if (out == nullptr || index >= entries.size()) return 0;
    *out = entries[index]->record;
    return 1;
}

FMW_API void FMW_CDECL FMW_Registry_Clear(void) {
    registry().entries.clear();
    registry().log.clear();
}

FMW_API uint32_t FMW_CDECL FMW_Registry_Log(char* buffer, uint32_t size) {
    if (buffer == nullptr || size == 0) return 0;
    const std::string& log = registry().log;
    const std::size_t length = std::min<std::size_t>(log.size(), size - 1);
    std::memcpy(buffer, log.data(), length);
    buffer[length] = '\0';
    return static_cast<uint32_t>(length);
}

}  // extern "C"
