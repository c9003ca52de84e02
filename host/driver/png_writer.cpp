#include "png_writer.h"

#include <array>

namespace driver {
namespace {

constexpr size_t kStoredBlockMax = 65535;  // bytes of one stored deflate block
constexpr unsigned char kColorTypeRgb = 2;
constexpr unsigned char kBitDepth = 8;
constexpr unsigned char kFilterNone = 0;
constexpr uint32_t kAdlerModulus = 65521;

void putBigEndian32(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

// Appends one chunk: length, type, data, CRC over type and data.
void putChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data)
{
    putBigEndian32(out, static_cast<uint32_t>(data.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian32(out, pngCrc32(out.data() + typeAt, 4 + data.size()));
}

// The byte-wise table of the reflected CRC-32 polynomial.
std::array<uint32_t, 256> makeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

// Wraps raw bytes in a zlib stream of stored blocks.
std::vector<unsigned char> zlibStored(const std::vector<unsigned char>& raw)
{
    std::vector<unsigned char> z;
    z.reserve(raw.size() + raw.size() / kStoredBlockMax * 5 + 16);
    z.push_back(0x78);  // deflate, 32 KiB window
    z.push_back(0x01);  // no preset dictionary, fastest; (0x7801 % 31 == 0)
    size_t at = 0;
    do {
        size_t n = raw.size() - at;
        if (n > kStoredBlockMax) n = kStoredBlockMax;
        bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        z.push_back(static_cast<unsigned char>(n));
        z.push_back(static_cast<unsigned char>(n >> 8));
        z.push_back(static_cast<unsigned char>(~n));
        z.push_back(static_cast<unsigned char>(~n >> 8));
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    putBigEndian32(z, zlibAdler32(raw.data(), raw.size()));
    return z;
}

}  // namespace

uint32_t pngCrc32(const unsigned char* data, size_t len, uint32_t crc)
{
    static const std::array<uint32_t, 256> table = makeCrcTable();
    crc = ~crc;
    for (size_t i = 0; i < len; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t zlibAdler32(const unsigned char* data, size_t len, uint32_t adler)
{
    uint32_t a = adler & 0xFFFF;
    uint32_t b = adler >> 16;
    for (size_t i = 0; i < len; ++i) {
        a = (a + data[i]) % kAdlerModulus;
        b = (b + a) % kAdlerModulus;
    }
    return (b << 16) | a;
}

std::vector<unsigned char> encodePng(const std::vector<unsigned char>& rgb, uint32_t width,
                                     uint32_t height)
{
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    if (width == 0 || height == 0 || rgb.size() / rowBytes < height) return {};

    std::vector<unsigned char> raw;  // each row: filter type byte, then the pixels
    raw.reserve((rowBytes + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(kFilterNone);
        const unsigned char* row = rgb.data() + y * rowBytes;
        raw.insert(raw.end(), row, row + rowBytes);
    }

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> ihdr;
    putBigEndian32(ihdr, width);
    putBigEndian32(ihdr, height);
    ihdr.push_back(kBitDepth);
    ihdr.push_back(kColorTypeRgb);
    ihdr.push_back(0);  // compression: deflate
    ihdr.push_back(0);  // filter method 0
    ihdr.push_back(0);  // no interlace
    putChunk(png, "IHDR", ihdr);
    putChunk(png, "IDAT", zlibStored(raw));
    putChunk(png, "IEND", {});
    return png;
}

}  // namespace driver
