// The UTF-8 decoder and encoder: whatever bytes come in, the decoder gives
// only well-formed UTF-16 (no unpaired surrogate), encoding that and decoding
// it again changes nothing, and valid UTF-8 comes back byte for byte. The
// encoder, fed the input as raw UTF-16 units, gives valid UTF-8.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/text.h"

// Strict UTF-8 validity: shortest forms, no surrogates, nothing past U+10FFFF.
static bool validUtf8(const std::string &s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        int extra;
        unsigned long cp;
        if (b < 0x80) { ++i; continue; }
        if ((b & 0xE0) == 0xC0) { extra = 1; cp = b & 0x1F; }
        else if ((b & 0xF0) == 0xE0) { extra = 2; cp = b & 0x0F; }
        else if ((b & 0xF8) == 0xF0) { extra = 3; cp = b & 0x07; }
        else return false;
        if (i + extra >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            unsigned char c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        static const unsigned long kSmallest[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

static void checkWellFormed(const WideText &text) {
    for (size_t i = 0; i < text.length(); ++i) {
        TextUnit unit = text[i];
        if ((unit & 0xFC00) == 0xD800) {
            if (i + 1 >= text.length() || (text[i + 1] & 0xFC00) != 0xDC00) abort();
            ++i;
        } else if ((unit & 0xFC00) == 0xDC00) {
            abort();
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The decoder takes a C string: the bytes up to the first zero.
    std::string bytes(reinterpret_cast<const char *>(data), size);
    bytes = bytes.c_str();

    WideText wide = utf8ToWide(bytes.c_str());
    checkWellFormed(wide);
    std::string encoded = wideToUtf8(wide.data());
    if (!validUtf8(encoded)) abort();
    if (validUtf8(bytes) && encoded != bytes) abort();
    if (utf8ToWide(encoded.c_str()) != wide) abort();

    std::vector<TextUnit> units(size / 2 + 1, 0);
    if (size >= 2) std::memcpy(units.data(), data, (size / 2) * 2);
    std::string fromUnits = wideToUtf8(units.data());
    if (!validUtf8(fromUnits)) abort();
    WideText back = utf8ToWide(fromUnits.c_str());
    checkWellFormed(back);
    return 0;
}
