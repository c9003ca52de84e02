// The swatch images: CRC-32, the patched PNG template and the constant JPEG.
// swatch_check.py decodes both with decoders other than ours.
#include "functions/swatch_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

uint32_t crcOf(const std::string &s) {
    return pngCrc32(reinterpret_cast<const uint8_t *>(s.data()), s.size());
}

uint32_t bigEndian32(const uint8_t *p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

std::vector<uint8_t> swatch(const uint8_t rgba[4]) {
    std::vector<uint8_t> png(kSwatchPngSize);
    writeSwatchPng(png.data(), rgba[0], rgba[1], rgba[2], rgba[3]);
    return png;
}

} // namespace

TEST(SwatchCrc, KnownValues) {
    const struct {
        std::string input;
        uint32_t expected;
    } cases[] = {
        {"", 0x00000000u},
        {"a", 0xE8B7BE43u},
        {"123456789", 0xCBF43926u}, // the usual check value of CRC-32
        {std::string(32, '\0'), 0x190A55ADu},
        {"IEND", 0xAE426082u},
        {std::string("IHDR\0\0\0\xFF\0\0\0\xFF\x01\x03\0\0\0", 17), 0x04C69289u},
        {std::string("IDAT\x78\xDA\xED\xC1\x31\x01\0\0\0\xC2\xA0\xF5\x4F\x6D\x0D\x0F"
                     "\xA0\0\0\0\0\0\0\0\0\xAE\x0D\x20\xDF\0\x01", 35), 0xDB243B5Du},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, crcOf(c.input)) << "input of " << c.input.size() << " bytes";
}

TEST(SwatchCrc, RunningValueMatchesOneCall) {
    const std::string text = "The quick brown fox jumps over the lazy dog";
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(text.data());
    ASSERT_EQ(0x414FA339u, crcOf(text));
    for (size_t split = 0; split <= text.size(); ++split) {
        uint32_t crc = updateCrc32(0xFFFFFFFFu, bytes, split);
        crc = updateCrc32(crc, bytes + split, text.size() - split);
        EXPECT_EQ(0x414FA339u, crc ^ 0xFFFFFFFFu) << "split at " << split;
    }
    EXPECT_EQ(0x12345678u, updateCrc32(0x12345678u, nullptr, 10));
}

TEST(SwatchPng, CarriesColorAlphaAndValidCrcs) {
    const struct {
        uint8_t rgba[4];
        uint32_t paletteCrc, alphaCrc; // computed with zlib's crc32
    } cases[] = {
        {{0, 0, 0, 255}, 0xA77A3DDAu, 0x6DE437EBu},
        {{255, 255, 255, 255}, 0xA7C41BC8u, 0x6DE437EBu},
        {{255, 128, 0, 128}, 0x2261917Cu, 0xAD5E5B46u},
        {{1, 2, 3, 0}, 0x0D8764D5u, 0x40E6D866u},
    };
    // Each chunk: offset of its type, data length, expected type.
    const struct {
        size_t typeOffset, length;
        const char *type;
    } chunks[] = {{12, 13, "IHDR"}, {37, 3, "PLTE"}, {52, 1, "tRNS"}, {65, 31, "IDAT"}, {108, 0, "IEND"}};

    for (const auto &c : cases) {
        const std::vector<uint8_t> png = swatch(c.rgba);
        SCOPED_TRACE(testing::Message() << int(c.rgba[0]) << "," << int(c.rgba[1]) << ","
                                        << int(c.rgba[2]) << " alpha " << int(c.rgba[3]));
        EXPECT_EQ(std::string("\x89PNG\r\n\x1A\n"), std::string(png.begin(), png.begin() + 8));
        for (const auto &k : chunks) {
            const uint8_t *type = &png[k.typeOffset];
            EXPECT_EQ(k.length, bigEndian32(type - 4)) << k.type;
            EXPECT_EQ(std::string(k.type), std::string(type, type + 4));
            EXPECT_EQ(pngCrc32(type, 4 + k.length), bigEndian32(type + 4 + k.length)) << k.type;
        }
        EXPECT_EQ(std::vector<uint8_t>(c.rgba, c.rgba + 3),
                  std::vector<uint8_t>(&png[41], &png[44]));
        EXPECT_EQ(c.paletteCrc, bigEndian32(&png[44]));
        EXPECT_EQ(c.rgba[3], png[56]);
        EXPECT_EQ(c.alphaCrc, bigEndian32(&png[57]));
    }
}

TEST(SwatchPng, ColorAndAlphaChangeOnlyTheirBytes) {
    // A changed component changes its own byte; besides it only the CRC of
    // its chunk may change (one CRC byte can happen to stay the same).
    const struct {
        uint8_t first[4], second[4];
    } cases[] = {
        {{0, 0, 0, 255}, {255, 255, 255, 255}},
        {{10, 20, 30, 255}, {10, 20, 31, 255}},
        {{7, 7, 7, 0}, {7, 7, 7, 255}},
        {{1, 2, 3, 4}, {5, 6, 7, 8}},
        {{9, 9, 9, 9}, {9, 9, 9, 9}},
    };
    const size_t componentOffsets[4] = {41, 42, 43, 56};
    for (const auto &c : cases) {
        const std::vector<uint8_t> x = swatch(c.first), y = swatch(c.second);
        std::vector<size_t> changed;
        for (size_t i = 0; i < kSwatchPngSize; ++i)
            if (x[i] != y[i]) changed.push_back(i);

        const bool colorChanged = !std::equal(c.first, c.first + 3, c.second);
        const bool alphaChanged = c.first[3] != c.second[3];
        size_t expectedAtLeast = (colorChanged ? 4 : 0) + (alphaChanged ? 4 : 0);
        for (int i = 0; i < 4; ++i) {
            const bool differs = c.first[i] != c.second[i];
            EXPECT_EQ(differs, std::count(changed.begin(), changed.end(), componentOffsets[i]) == 1)
                << "case " << (&c - cases) << ", byte " << componentOffsets[i];
        }
        for (size_t offset : changed) {
            const bool allowed = (offset >= 41 && offset <= 47 && colorChanged) ||
                                 (offset >= 56 && offset <= 60 && alphaChanged);
            EXPECT_TRUE(allowed) << "case " << (&c - cases) << ", byte " << offset;
        }
        EXPECT_GE(changed.size(), expectedAtLeast) << "case " << (&c - cases);
    }
}

TEST(SwatchJpeg, MarkersOfABaselineOnePixelJfif) {
    const uint8_t *j = kConstantJpeg;
    ASSERT_EQ(631u, kConstantJpegSize);
    EXPECT_EQ(0xFFD8u, (j[0] << 8u) | j[1]);
    EXPECT_EQ(0xFFD9u, (j[kConstantJpegSize - 2] << 8u) | j[kConstantJpegSize - 1]);

    // Marker segments up to and including the scan header.
    std::vector<int> markers;
    std::vector<std::vector<uint8_t>> payloads;
    size_t at = 2;
    while (at + 4 <= kConstantJpegSize && j[at] == 0xFF && markers.size() < 10) {
        const size_t length = size_t(j[at + 2]) << 8 | j[at + 3];
        ASSERT_GE(length, 2u);
        ASSERT_LE(at + 2 + length, kConstantJpegSize);
        markers.push_back(j[at + 1]);
        payloads.emplace_back(j + at + 4, j + at + 2 + length);
        at += 2 + length;
        if (markers.back() == 0xDA) break;
    }
    ASSERT_EQ(std::vector<int>({0xE0, 0xFE, 0xDB, 0xC0, 0xC4, 0xDA}), markers);
    EXPECT_EQ(std::vector<uint8_t>({'J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 71, 0, 71, 0, 0}), payloads[0])
        << "JFIF 1.1, dots per inch, 71 x 71, no thumbnail";
    EXPECT_EQ(10u, payloads[1].size()) << "comment";
    EXPECT_EQ(130u, payloads[2].size()) << "two 8-bit quantisation tables";
    EXPECT_EQ(std::vector<uint8_t>({8, 0, 1, 0, 1, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}), payloads[3])
        << "8-bit, 1 x 1, Y 2x2, Cb and Cr 1x1";
    EXPECT_EQ(4u * 17 + 12 + 162 + 12 + 162, payloads[4].size()) << "the four standard Huffman tables";
    EXPECT_EQ(std::vector<uint8_t>({3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}), payloads[5]);
    EXPECT_LT(at, kConstantJpegSize - 2) << "entropy-coded data before EOI";
}
