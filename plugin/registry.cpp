#include "plugin/registry.h"

#include <new>

#include "functions/functions.h"
#include "plugin/version.h"
#include "bridge/call_boundary.h"
#include "bridge/host_values.h"
#include "bridge/platform.h"
#include "model/warnings.h"

namespace {

// The boundary between the host and a function body: the call's arguments
// are read once, the body runs on them, and its result goes to the host.
// Whatever is thrown on the way ends here as the host's error code, never
// inside the host. The host calls it with its handlers' convention
// (__stdcall on 32 bits).
template <FunctionBody Body>
int16_t FMW_STDCALL guarded(int16_t id, const FMExprEnv *, const FMDataVect *args, FMData *result) {
    try {
        if (id != kLastWarningsId) startWarnings(id);
        const CallArguments arguments = readArguments(args);
        CallResult answer;
        Body(arguments, answer);
        if (id != kLastWarningsId) warnUnreadArguments(arguments);
        return writeResult(answer, arguments, args, result);
    } catch (const std::bad_alloc &) {
        return FMErrorOutOfMemory;
    } catch (...) {
        return FMErrorGeneral;
    }
}

// The same boundary for a body that works on the host's values itself.
template <int16_t (*Body)(const FMDataVect *, FMData *)>
int16_t FMW_STDCALL guardedHostBody(int16_t id, const FMExprEnv *, const FMDataVect *args, FMData *result) {
    try {
        startWarnings(id);
        return Body(args, result);
    } catch (const std::bad_alloc &) {
        return FMErrorOutOfMemory;
    } catch (...) {
        return FMErrorGeneral;
    }
}

constexpr int kNameBufferUnits = 1024;

// The registered name of function `id`: its prototype up to the "(".
WideText functionName(int16_t id) {
    TextUnit prototype[kNameBufferUnits] = {0};
    platformLoadString(unsigned(id) + 100, prototype, kNameBufferUnits);
    size_t n = 0;
    while (prototype[n] != 0 && prototype[n] != TextUnit('(')) ++n;
    while (n > 0 && prototype[n - 1] == TextUnit(' ')) --n;
    return WideText(prototype, n);
}

// Tessary_LastWarnings(): what the last call of another function did not
// use or understand, a line each, each led by that function's name; empty
// after a clean call.
void lastWarningsFunction(const CallArguments &, CallResult &result) {
    const std::string &lines = warningLines();
    if (lines.empty()) return result.setEmpty();
    const WideText name = functionName(warnedFunction());
    WideText text;
    size_t start = 0;
    while (start <= lines.size()) {
        size_t end = lines.find('\r', start);
        if (end == std::string::npos) end = lines.size();
        if (!text.empty()) text.push_back(TextUnit('\r'));
        text.append(name);
        text.append(utf8ToWide(": "));
        text.append(utf8ToWide(lines.substr(start, end - start).c_str()));
        start = end + 1;
    }
    return result.setText(text);
}

} // namespace

#define ROW(id, minArgs, maxArgs, body) {id, minArgs, maxArgs, &guarded<body>}

const ExternalFunction kExternalFunctions[kExternalFunctionCount] = {
    {1, 1, 1, &guardedHostBody<versionFunction>},
    ROW(2, 4, 11, dialogFunction),
    ROW(3, 9, 9, doLoginFunction),
    ROW(4, 1, 1, getInputFunction),
    ROW(5, 11, 17, doListFunction),
    ROW(6, 1, 9, progressBarFunction),
    ROW(7, 2, 2, setPositionFunction),
    ROW(8, 6, 8, bigEditBoxFunction),
    ROW(9, 1, 24, setLabelsFunction),
    ROW(10, 1, 24, setInputTypesFunction),
    ROW(11, 1, 24, setDefaultInputsFunction),
    ROW(12, 4, 13, doDialogFunction),
    ROW(13, 1, 2, colorPickerFunction),
    ROW(14, 1, 2, createColorFunction),
    ROW(15, 1, 4, calendarFunction),
    ROW(16, 4, 16, doTabDialogFunction),
    ROW(17, 8, 11, doDualListDialogFunction),
    ROW(18, 0, 3, selectFolderDialogFunction),
    ROW(19, 0, 4, selectFileDialogFunction),
    ROW(20, 0, 1, getPositionFunction),
    ROW(21, 1, 4, setFontFunction),
    ROW(22, 1, 1, customDialogFunction),
    ROW(23, 1, 4, systemFunction),
    ROW(24, 11, 13, doListViewFunction),
    ROW(kLastWarningsId, 0, 0, lastWarningsFunction),
};

#undef ROW

int16_t registerOne(const ExternalFunction &row) {
    HostQuadChar pluginId(kPluginId);

    TextUnit resource[kNameBufferUnits] = {0};
    platformLoadString(unsigned(row.id) + 100, resource, kNameBufferUnits);

    // The name is the prototype up to its "(".
    HostText name;
    name.assignUnicode(resource);
    HostText parenthesis;
    parenthesis.assign("(", FMEncodingAnsi);
    uint32_t position = name.find(parenthesis.get(), 0);
    if (position != FMTextNotFound) name.deleteText(position, name.size() - position);

    HostText prototype;
    prototype.assignUnicode(resource);

    FMError error{1, 0};
    int16_t code = FM_ExprEnv_RegisterExternalFunction(pluginId.get(), row.id, name.get(), prototype.get(),
                                                       row.minArgs, row.maxArgs, kFunctionFlags, row.handler,
                                                       &error);
    checkHostError(error);
    return code;
}

int16_t unregisterOne(int16_t id) {
    HostQuadChar pluginId(kPluginId);
    FMError error{1, 0};
    int16_t code = FM_ExprEnv_UnRegisterExternalFunction(pluginId.get(), id, &error);
    checkHostError(error);
    return code;
}

bool registerAll() {
    for (int k = 0; k < kExternalFunctionCount; ++k) {
        bool ok;
        try {
            ok = registerOne(kExternalFunctions[k]) == 0;
        } catch (...) {
            ok = false;
        }
        if (!ok) {
            for (int j = k - 1; j >= 0; --j) {
                try {
                    unregisterOne(kExternalFunctions[j].id);
                } catch (...) {
                    // Rolling back goes on; a function the host no longer
                    // knows is what we want anyway.
                }
            }
            return false;
        }
    }
    return true;
}

void unregisterAll() {
    FMQuadChar *pluginId = nullptr;
    FMError error{1, 0};
    pluginId = FM_QuadChar_Constructor2(kPluginId[0], kPluginId[1], kPluginId[2], kPluginId[3], &error);
    if (pluginId == nullptr) return;
    for (int k = kExternalFunctionCount - 1; k >= 0; --k) {
        FMError ignored{1, 0};
        FM_ExprEnv_UnRegisterExternalFunction(pluginId, kExternalFunctions[k].id, &ignored);
    }
    FM_QuadChar_Delete(pluginId, &error);
}
