// Tessary_CreateColor through the host: the three streams of the container,
// the color and size they carry, and every failure path. The native build
// has the 64-bit block, so the images are built in the plug-in's own memory
// (AddressSanitizer finds any that is not freed); the host handles of 32-bit
// hosts are tested end to end. The images themselves are decoded by
// swatch_check.py.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "functions/swatch_image.h"
#include "bridge/host_block.h"
#include "plugin_harness.h"

namespace {

typedef std::vector<std::u16string> Args;

struct Stream {
    std::string type;
    std::vector<uint8_t> bytes;
};

struct BinaryResult {
    int16_t code = 0;
    bool isText = false;
    std::vector<Stream> streams;
};

// Like harness::call, but keeps the container's streams.
BinaryResult callCreateColor(const Args &args) {
    BinaryResult r;
    FMRegisteredFunction f;
    if (!harness::findFunction(u"Tessary_CreateColor", f)) {
        r.code = -1;
        return r;
    }
    FMDataVect *v = FMW_DataVect_New();
    for (const std::u16string &a : args)
        FMW_DataVect_PushText(v, reinterpret_cast<const FMUniChar *>(a.c_str()), uint32_t(a.size()));
    FMData *d = FMW_Data_New();
    r.code = f.handler(f.functionId, nullptr, v, d);
    r.isText = FMW_Data_IsText(d) != 0;
    for (uint32_t i = 0; i < FMW_Data_StreamCount(d); ++i) {
        char type[5] = {0};
        uint32_t size = 0;
        const uint8_t *bytes = nullptr;
        if (!FMW_Data_StreamAt(d, i, type, &size, &bytes)) break;
        r.streams.push_back(Stream{type, std::vector<uint8_t>(bytes, bytes + size)});
    }
    FMW_Data_Delete(d);
    FMW_DataVect_Delete(v);
    return r;
}

std::u16string widen(const std::string &s) {
    return std::u16string(s.begin(), s.end());
}

std::string hex(const std::vector<uint8_t> &bytes) {
    std::string out;
    char b[4];
    for (uint8_t x : bytes) {
        std::snprintf(b, sizeof b, "%02X ", x);
        out += b;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

std::string types(const BinaryResult &r) {
    std::string out;
    for (const Stream &s : r.streams) out += (out.empty() ? "" : " ") + s.type + "(" + std::to_string(s.bytes.size()) + ")";
    return out;
}

class CreateColorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(harness::startPlugin(), kStartupOk); }
    void TearDown() override {
        failImageAllocation(0);
        FMW_Test_Reset();
    }
};

} // namespace

TEST_F(CreateColorTest, ContainerHoldsJpegPngAndSizeInThisOrder) {
    BinaryResult r = callCreateColor({u"", u"255128000"});
    EXPECT_EQ(r.code, 0);
    EXPECT_FALSE(r.isText);
    ASSERT_EQ(types(r), "JPEG(631) PNGf(116) SIZE(4)");
    EXPECT_EQ(r.streams[0].bytes, std::vector<uint8_t>(kConstantJpeg, kConstantJpeg + kConstantJpegSize));
    std::vector<uint8_t> png(kSwatchPngSize);
    writeSwatchPng(png.data(), 255, 128, 0, 255);
    EXPECT_EQ(hex(r.streams[1].bytes), hex(png));
    EXPECT_EQ(hex(r.streams[2].bytes), "00 0A 00 0A");
}

TEST_F(CreateColorTest, ColorTextGivesThePaletteEntryAndNeverChangesTheJpeg) {
    struct Case {
        Args args;
        std::vector<uint8_t> rgb;
    } cases[] = {
        {{u"", u"255128000"}, {255, 128, 0}},
        {{u"", u"007070255"}, {7, 70, 255}},
        {{u"", u"999000000"}, {231, 0, 0}},
        {{u"", u"-01000000"}, {255, 0, 0}},
        {{u"", u"abc12x 34"}, {0, 12, 34}},
        {{u"", u"12345"}, {0, 0, 0}},
        {{u"", u""}, {0, 0, 0}},
        {{u""}, {0, 0, 0}},
        {{u"", u"25\u00e4128000"}, {0, 0, 0}}, // 9 characters but 10 bytes
    };
    for (const Case &c : cases) {
        std::string what = c.args.size() > 1 ? "color of " + std::to_string(c.args[1].size()) + " units" : "no color";
        BinaryResult r = callCreateColor(c.args);
        EXPECT_EQ(r.code, 0) << what;
        ASSERT_EQ(types(r), "JPEG(631) PNGf(116) SIZE(4)") << what;
        EXPECT_EQ(r.streams[0].bytes, std::vector<uint8_t>(kConstantJpeg, kConstantJpeg + kConstantJpegSize)) << what;
        const std::vector<uint8_t> &png = r.streams[1].bytes;
        std::vector<uint8_t> palette(png.begin() + 41, png.begin() + 44);
        EXPECT_EQ(hex(palette), hex(c.rgb)) << what;
        EXPECT_EQ(png[56], 255) << what << ": opaque";
    }
}

TEST_F(CreateColorTest, SizeStreamHoldsWidthAndHeightClampedTo16Bits) {
    struct Case {
        const char *options;
        const char *size;
    } cases[] = {
        {"", "00 0A 00 0A"},
        {"width=300", "01 2C 00 0A"},
        {"width=300 height=200", "01 2C 00 C8"},
        {"width=255 height=256", "00 FF 01 00"},
        {"width=65535", "FF FF 00 0A"},
        {"width=65536 height=70000", "FF FF FF FF"},
        {"width=-1 height=-70000", "00 00 00 00"},
        {"width=1234567890", "FF FF 00 0A"},
        {"width=", "00 00 00 0A"},
        {"widthX300", "01 2C 00 0A"},
        {"WIDTH=300", "00 0A 00 0A"},
    };
    for (const Case &c : cases) {
        BinaryResult r = callCreateColor({widen(c.options), u"000000255"});
        EXPECT_EQ(r.code, 0) << c.options;
        ASSERT_EQ(r.streams.size(), 3u) << c.options;
        EXPECT_EQ(hex(r.streams[2].bytes), c.size) << "options \"" << c.options << "\"";
    }
}

TEST_F(CreateColorTest, FailedAllocationsAndHostCallsSetNoResult) {
    struct Case {
        const char *what;
        unsigned failAllocation;     // n-th image allocation fails; 0 none
        const char *failCall;        // host function that fails; null none
        uint32_t failCallNth;
        int16_t expected;
    } cases[] = {
        {"memory for the JPEG", 1, nullptr, 0, FMErrorOutOfMemory},
        {"memory for the PNG", 2, nullptr, 0, FMErrorOutOfMemory},
        {"adding the JPEG", 0, "FM_BinaryData_Add", 1, FMErrorGeneral},
        {"adding the PNG", 0, "FM_BinaryData_Add", 2, FMErrorGeneral},
        {"adding the size", 0, "FM_BinaryData_Add", 3, FMErrorGeneral},
        {"the quad char", 0, "FM_QuadChar_Constructor2", 2, FMErrorGeneral},
    };
    for (const Case &c : cases) {
        failImageAllocation(c.failAllocation);
        if (c.failCall) FMW_Test_FailCall(c.failCall, c.failCallNth, FMErrorGeneral);
        BinaryResult r = callCreateColor({u"width=300", u"255128000"});
        failImageAllocation(0);
        FMW_Test_Reset();
        EXPECT_EQ(r.code, c.expected) << c.what;
        EXPECT_FALSE(r.isText) << c.what;
        EXPECT_EQ(types(r), "") << c.what << ": no result";
    }
    // And the next call works as if nothing had happened.
    EXPECT_EQ(types(callCreateColor({u"", u"255128000"})), "JPEG(631) PNGf(116) SIZE(4)");
}
