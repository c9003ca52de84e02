// Small helpers that the end-to-end test programs share.
#ifndef TESSARY_TESTS_E2E_SUPPORT_H
#define TESSARY_TESTS_E2E_SUPPORT_H

#include <windows.h>

#include <string>

namespace e2e {

// For failure messages: characters outside ASCII become '?'.
inline std::string narrow(const std::wstring &s) {
    std::string out;
    for (wchar_t c : s) out += c < 0x80 ? char(c) : '?';
    return out;
}

// The folder of the running test program, where the host, the plug-ins and
// FMWrapper.dll lie.
inline std::wstring binDir() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

} // namespace e2e

#endif
