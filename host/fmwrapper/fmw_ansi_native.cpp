// The ANSI code page of the native build: Windows-1252, the code page of
// western Windows systems, so texts behave as on the machines users run.
// Its five unassigned bytes map to the C1 controls of the same value, as
// Windows' own conversion does, so every byte survives a round trip.
#include "fmw_internal.h"

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest equal their byte value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t decodeByte(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
}

}  // namespace

namespace fmw {

std::u16string ansiToUtf16(const std::string& bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes) out.push_back(decodeByte(static_cast<unsigned char>(c)));
    return out;
}

std::size_t ansiEncode(const char16_t* units, std::size_t count, char out[8]) {
    out[0] = '?';
    if (count != 1) return 1;
    const char16_t u = units[0];
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        out[0] = static_cast<char>(u);
        return 1;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == u) {
            out[0] = static_cast<char>(0x80 + i);
            return 1;
        }
    }
    return 1;
}

}  // namespace fmw
