// The colour text and the swatch, with fuzzed colours, texts and sizes:
// colorText always gives nine digits that parseColorText reads back as the
// same colour; a text of nine digits reads as each group's value modulo
// 256 and any other ASCII text of another length as black; writeSwatchPng
// gives a 255 x 255 palette PNG whose every chunk has a valid CRC (checked
// here with a CRC of our own) and whose palette and transparency are the
// colour and alpha asked for. Tessary_CreateColor, called through the
// plug-in's entry point, answers the constant JPEG, such a PNG of the
// colour its text names, and a SIZE stream of the width and height options
// clamped to 0..65535 (10 each without the option).
// Input: a flags byte (bit 0: a width option, bit 1: a height option, bit 2:
// more options follow the colour text), width and height as 4 bytes each,
// red, green, blue and alpha, then the colour text, one unit per byte; with
// bit 2 the text ends at the first zero byte and the rest goes into the
// options.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "functions/color_text.h"
#include "functions/swatch_image.h"
#include "fuzz_support.h"

namespace {

using fuzz::Reader;

// A bitwise CRC-32 (polynomial 0xEDB88320), independent of the table the
// encoder uses.
uint32_t crc32(const uint8_t *bytes, size_t length) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t bigEndian(const uint8_t *p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Walks the chunks of a swatch PNG; aborts unless it is the 255 x 255
// one-bit palette image of (red, green, blue, alpha).
void checkSwatch(const uint8_t *png, size_t size, Rgb color, uint8_t alpha) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    static const char *const kChunks[] = {"IHDR", "PLTE", "tRNS", "IDAT", "IEND"};
    if (size != kSwatchPngSize || std::memcmp(png, kSignature, 8) != 0) abort();
    size_t at = 8;
    for (const char *type : kChunks) {
        if (at + 12 > size) abort();
        const uint32_t length = bigEndian(png + at);
        if (length > size - at - 12) abort();
        if (std::memcmp(png + at + 4, type, 4) != 0) abort();
        const uint8_t *body = png + at + 8;
        if (bigEndian(body + length) != crc32(png + at + 4, length + 4)) abort();
        if (std::strcmp(type, "IHDR") == 0) {
            if (length != 13 || bigEndian(body) != 255 || bigEndian(body + 4) != 255) abort();
            if (body[8] != 1 || body[9] != 3) abort(); // one bit per pixel, palette
        } else if (std::strcmp(type, "PLTE") == 0) {
            if (length != 3 || body[0] != color.red || body[1] != color.green || body[2] != color.blue) abort();
        } else if (std::strcmp(type, "tRNS") == 0) {
            if (length != 1 || body[0] != alpha) abort();
        }
        at += 12 + length;
    }
    if (at != size) abort();
}

// The colour that an ASCII text names, when the rule is plain from the
// text: nine digits, or another length (black). False otherwise.
bool expectedColor(const std::string &text, Rgb &out) {
    // A zero ends the text as the function reads it.
    for (char c : text) {
        if (c == 0 || static_cast<unsigned char>(c) >= 0x80) return false;
    }
    if (text.size() != 9) {
        out = Rgb{0, 0, 0};
        return true;
    }
    uint8_t component[3];
    for (size_t group = 0; group < 3; ++group) {
        unsigned value = 0;
        for (size_t i = group * 3; i < group * 3 + 3; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            value = value * 10 + unsigned(text[i] - '0');
        }
        component[group] = uint8_t(value % 256);
    }
    out = Rgb{component[0], component[1], component[2]};
    return true;
}

// An option's value in decimal, at most nine characters as an option value
// is read: the clamp decides the same for the cut and the whole number.
std::string optionNumber(int32_t value) {
    return std::to_string(value % 1000000000);
}

uint16_t clamped(int32_t value) {
    value %= 1000000000;
    return uint16_t(value < 0 ? 0 : value > 65535 ? 65535 : value);
}

struct Stream {
    std::string type;
    std::vector<uint8_t> bytes;
};

std::vector<Stream> createColor(const std::u16string &options, const std::u16string &color) {
    FMRegisteredFunction f;
    if (!harness::findFunction(u"Tessary_CreateColor", f)) abort();
    FMDataVect *v = FMW_DataVect_New();
    for (const std::u16string *a : {&options, &color}) {
        FMW_DataVect_PushText(v, reinterpret_cast<const FMUniChar *>(a->data()), uint32_t(a->size()));
    }
    FMData *d = FMW_Data_New();
    if (f.handler(f.functionId, nullptr, v, d) != 0) abort();
    std::vector<Stream> streams;
    for (uint32_t i = 0; i < FMW_Data_StreamCount(d); ++i) {
        char type[5] = {0};
        uint32_t size = 0;
        const uint8_t *bytes = nullptr;
        if (!FMW_Data_StreamAt(d, i, type, &size, &bytes)) abort();
        streams.push_back(Stream{type, std::vector<uint8_t>(bytes, bytes + size)});
    }
    FMW_Data_Delete(d);
    FMW_DataVect_Delete(v);
    return streams;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::startPluginOnce();
    Reader in{data, size};
    const uint8_t flags = in.take<uint8_t>();
    const int32_t width = in.take<int32_t>();
    const int32_t height = in.take<int32_t>();
    const Rgb rgb{in.take<uint8_t>(), in.take<uint8_t>(), in.take<uint8_t>()};
    const uint8_t alpha = in.take<uint8_t>();
    std::string text(reinterpret_cast<const char *>(in.data), in.size);
    std::string extra;
    if (flags & 4) {
        const size_t zero = text.find('\0');
        if (zero != std::string::npos) {
            extra = text.substr(zero + 1);
            text.resize(zero);
        }
    }

    const std::string digits = colorText(rgb);
    if (digits.size() != 9 || digits.find_first_not_of("0123456789") != std::string::npos) abort();
    const Rgb back = parseColorText(digits);
    if (back.red != rgb.red || back.green != rgb.green || back.blue != rgb.blue) abort();

    Rgb expected;
    const bool plain = expectedColor(text, expected);
    if (plain) {
        const Rgb parsed = parseColorText(text);
        if (parsed.red != expected.red || parsed.green != expected.green || parsed.blue != expected.blue) abort();
    }

    uint8_t png[kSwatchPngSize];
    writeSwatchPng(png, rgb.red, rgb.green, rgb.blue, alpha);
    checkSwatch(png, sizeof png, rgb, alpha);

    std::string options;
    if (flags & 1) options += "width=" + optionNumber(width) + " ";
    if (flags & 2) options += "height=" + optionNumber(height) + " ";
    options += extra;
    const std::vector<Stream> streams =
        createColor(std::u16string(options.begin(), options.end()), std::u16string(text.begin(), text.end()));
    if (streams.size() != 3) abort();
    if (streams[0].type != "JPEG" || streams[0].bytes.size() != kConstantJpegSize ||
        std::memcmp(streams[0].bytes.data(), kConstantJpeg, kConstantJpegSize) != 0) {
        abort();
    }
    if (streams[1].type != "PNGf") abort();
    // The colour the function saw is what its own text reading gives; for
    // a plain text that is the expected one.
    Rgb shown{streams[1].bytes.size() > 43 ? streams[1].bytes[41] : uint8_t(0),
              streams[1].bytes.size() > 43 ? streams[1].bytes[42] : uint8_t(0),
              streams[1].bytes.size() > 43 ? streams[1].bytes[43] : uint8_t(0)};
    if (plain && (shown.red != expected.red || shown.green != expected.green || shown.blue != expected.blue)) abort();
    checkSwatch(streams[1].bytes.data(), streams[1].bytes.size(), shown, 255);
    if (streams[2].type != "SIZE" || streams[2].bytes.size() != 4) abort();
    if (extra.empty()) {
        const uint16_t w = (flags & 1) ? clamped(width) : 10;
        const uint16_t h = (flags & 2) ? clamped(height) : 10;
        const std::vector<uint8_t> expectedSize = {uint8_t(w >> 8), uint8_t(w & 0xFF), uint8_t(h >> 8),
                                                   uint8_t(h & 0xFF)};
        if (streams[2].bytes != expectedSize) abort();
    }
    return 0;
}
