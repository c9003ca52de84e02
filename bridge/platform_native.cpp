// Stand-ins for the system services in the native build, so the portable
// core runs and is tested without Windows.
#include "bridge/platform.h"

namespace {

struct StringRow {
    unsigned id;
    const char16_t *text;
};

const StringRow kStrings[] = {
#define STRING_ROW(id, text) {id, u"" text},
#include "resources/string_table.inc"
#undef STRING_ROW
};

unsigned long gLoginStatus = 0;
WideText gLoginName = WideText(u"tester");
bool gComputerOk = true;
WideText gComputerName = WideText(u"TESTHOST");
bool gStationVisible = true;
PlatformWindow gActiveWindow = nullptr;
PlatformWindow gFocusedWindow = nullptr;

} // namespace

int platformLoadString(unsigned id, TextUnit *buffer, int size) {
    if (buffer == nullptr || size <= 0) return 0;
    for (const StringRow &row : kStrings) {
        if (row.id == id) return int(wideCopy(buffer, size_t(size), row.text));
    }
    buffer[0] = 0;
    return 0;
}

PlatformWindow platformActiveWindow() {
    return gActiveWindow;
}

void platformGiveFocus(PlatformWindow window) {
    if (window != nullptr) gFocusedWindow = window;
}

unsigned long platformLoginUserName(WideText &name) {
    if (gLoginStatus == 0) name = gLoginName;
    return gLoginStatus;
}

bool platformComputerName(WideText &name) {
    if (gComputerOk) name = gComputerName;
    return gComputerOk;
}

bool platformWindowStationVisible() {
    return gStationVisible;
}

void platformSetWindowStationVisible(bool visible) {
    gStationVisible = visible;
}

void platformSetLoginUser(unsigned long status, const WideText &name) {
    gLoginStatus = status;
    gLoginName = name;
}

void platformSetComputerName(bool ok, const WideText &name) {
    gComputerOk = ok;
    gComputerName = name;
}

void platformSetActiveWindow(PlatformWindow window) {
    gActiveWindow = window;
}

PlatformWindow platformFocusedWindow() {
    return gFocusedWindow;
}
