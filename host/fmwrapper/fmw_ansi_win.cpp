// The ANSI code page on Windows: whatever the system is set to (CP_ACP),
// which may use two bytes for one character.
#include "fmw_internal.h"

#include <windows.h>

namespace fmw {

std::u16string ansiToUtf16(const std::string& bytes) {
    if (bytes.empty()) return std::u16string();
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) throw Failure{FMErrorGeneral};
    std::u16string out(static_cast<std::size_t>(needed), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(&out[0]), needed);
    return out;
}

std::size_t ansiEncode(const char16_t* units, std::size_t count, char out[8]) {
    const int written = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(units),
                                            static_cast<int>(count), out, 8, nullptr, nullptr);
    if (written <= 0) {
        out[0] = '?';
        return 1;
    }
    return static_cast<std::size_t>(written);
}

}  // namespace fmw
