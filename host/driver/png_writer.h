// A small PNG encoder for screenshots: 8-bit RGB, no filtering, and a zlib
// stream of stored (uncompressed) deflate blocks. Files are larger than a
// compressing encoder's but every decoder reads them, and the code stays short
// enough to check by eye.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace driver {

// CRC-32 (ISO 3309, as in PNG chunks) of len bytes, continuing from crc.
uint32_t pngCrc32(const unsigned char* data, size_t len, uint32_t crc = 0);

// Adler-32 (RFC 1950) of len bytes, continuing from adler (start with 1).
uint32_t zlibAdler32(const unsigned char* data, size_t len, uint32_t adler = 1);

// The bytes of a PNG file for width x height pixels given as rows from top to
// bottom, 3 bytes (R, G, B) per pixel, no row padding. Returns an empty vector
// when a size is 0 or the pixel buffer is too short.
std::vector<unsigned char> encodePng(const std::vector<unsigned char>& rgb, uint32_t width,
                                     uint32_t height);

}  // namespace driver
