// Tessary_Version: the plug-in's version, name and platform, and the user's
// login and computer names. It compares its argument with the host's own
// text equality, so it works on the host's values rather than on arguments
// read at the boundary.
#include "plugin/version.h"

#include <cstdio>

#include "bridge/host_values.h"
#include "bridge/platform.h"

namespace {

constexpr unsigned kNameString = 1;
constexpr unsigned kVersionString = 3;
constexpr int kStringBufferUnits = 256;

WideText loadString(unsigned id) {
    TextUnit buffer[kStringBufferUnits] = {0};
    platformLoadString(id, buffer, kStringBufferUnits);
    return WideText(buffer);
}

// The host's own equality decides, so a host that ignores case does here too.
bool argumentIs(const FMText *argument, const char *keyword) {
    HostText candidate;
    candidate.assign(keyword, FMEncodingAnsi);
    return candidate.equals(argument);
}

} // namespace

int16_t versionFunction(const FMDataVect *args, FMData *result) {
    FMError error{1, 0};
    const FMText *format = FM_DataVect_AtAsText(args, 0, &error);
    checkHostError(error);
    if (format == nullptr) return setResultEmpty(result, args);

    if (argumentIs(format, "")) return setResultText(result, args, loadString(kVersionString));
    if (argumentIs(format, "long")) {
        HostText text;
        text.assignUnicode(loadString(kNameString).data());
        HostText space;
        space.assign(" ", FMEncodingAnsi);
        text.append(space.get(), 0, space.size());
        HostText version;
        version.assignUnicode(loadString(kVersionString).data());
        text.append(version.get(), 0, version.size());
        return setResultHostText(result, args, text);
    }
    if (argumentIs(format, "platform")) return setResultNarrow(result, args, "Windows");
    if (argumentIs(format, "short")) return setResultText(result, args, loadString(kVersionString));
    if (argumentIs(format, "LoginUsername")) {
        WideText name;
        unsigned long status = platformLoginUserName(name);
        if (status != 0) {
            char message[1024];
            std::snprintf(message, sizeof message, "Error: %d\n", int(status));
            return setResultNarrow(result, args, message);
        }
        return setResultText(result, args, name);
    }
    if (argumentIs(format, "ComputerName")) {
        WideText name;
        if (!platformComputerName(name)) return setResultEmpty(result, args);
        return setResultText(result, args, name);
    }
    return setResultEmpty(result, args);
}
