#include "plugin/entry.h"

#include "model/dialog_definition.h"
#include "model/text.h"
#include "bridge/platform.h"
#include "plugin/registry.h"
#include "runtime/module.h"
#include "runtime/presence.h"
#include "runtime/runner.h"

namespace {

constexpr int16_t kOldestExtnVersion = 50;
constexpr int16_t kNewestExtnVersion = 255;

// A modeless window left open (the progress window) would get its messages
// from a dialog procedure that is gone once the host unloads the module.
void shutdownHook() {
    closeModelessDialog();
}

// The window active when the host starts the module gets the focus back
// when the host shuts the module down. Both are done on the host's messages,
// never while the module loads or unloads: then the system holds its loader
// lock, and a window call made under it can deadlock the host.
PlatformWindow gActiveAtStart = nullptr;

void takeOwnerWindow() {
    gActiveAtStart = platformActiveWindow();
}
void giveFocusBack() {
    platformGiveFocus(gActiveAtStart);
    gActiveAtStart = nullptr;
}

// The host's server processes (and the database drivers) have nobody at a
// screen; the mobile and web clients' processes are driven by a user.
bool appTypeHasUser(uint8_t appType) {
    switch (appType) {
    case FMAppServer:
    case FMAppWebPublishing:
    case FMAppDatabaseDriver:
    case FMAppServerScripting:
    case FMAppInstantWeb:
    case FMAppDataApi:
        return false;
    default:
        return true;
    }
}

int32_t startup(int16_t extnVersion, uint8_t appType) {
    if (extnVersion < kOldestExtnVersion || extnVersion > kNewestExtnVersion) return kStartupBadVersion;
    // A service's window station shows nothing to anybody, whatever the
    // host says it is.
    setUserPresent(appTypeHasUser(appType) && platformWindowStationVisible());
    takeOwnerWindow();
    if (registerAll()) return kStartupOk;
    shutdownHook();
    return kStartupFailed;
}

void shutdown() {
    unregisterAll();
    shutdownHook();
    // Last, so a closing modeless window cannot move the focus after it.
    giveFocusBack();
}

void getString(FMExternCallStruct &block) {
    TextUnit *buffer = reinterpret_cast<TextUnit *>(block.result);
    if (buffer == nullptr) return;
    switch (block.stringSelector) {
    case FMStringName:
        platformLoadString(1, buffer, int(block.bufferSize > 0x7FFFFFFF ? 0x7FFFFFFF : block.bufferSize));
        break;
    case FMStringDescription:
        platformLoadString(2, buffer, int(block.bufferSize > 0x7FFFFFFF ? 0x7FFFFFFF : block.bufferSize));
        break;
    case FMStringOptions: {
        // Twelve units with the terminator; a host that offers less room
        // gets the string cut, never a write past its buffer.
        static const char options[] = "VRNQ1nnYnnn";
        uint32_t units = block.bufferSize < sizeof options ? uint32_t(block.bufferSize) : uint32_t(sizeof options);
        if (units == 0) break;
        for (uint32_t i = 0; i + 1 < units; ++i) buffer[i] = TextUnit(static_cast<unsigned char>(options[i]));
        buffer[units - 1] = 0;
        break;
    }
    default:
        // Every other id (the help address that newer hosts ask for, ids
        // not yet known) gets the empty string: the host reads its buffer
        // whatever the answer, and must not find what it held before.
        if (block.bufferSize > 0) buffer[0] = 0;
        break;
    }
}

} // namespace

extern "C" void FMW_CDECL FMExternCallProc(FMExternCallStruct *block) {
    if (block == nullptr) return;
    saveBlock(block);
    setRuntimeModule(pluginInstance());
    // An exception that reached the host would take the host process, and
    // its user's unsaved work, down with it.
    try {
        switch (block->whichCall) {
        case FMCallStartup:
            block->result = startup(block->extnVersion, block->appType);
            break;
        case FMCallShutdown:
            shutdown();
            break;
        case FMCallGetString:
            getString(*block);
            break;
        default:
            break;
        }
    } catch (...) {
        if (block->whichCall == FMCallStartup) block->result = kStartupFailed;
    }
}
