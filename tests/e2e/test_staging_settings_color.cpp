// The functions that show no dialog, called through the host layer on the
// real plug-in: staging and Tessary_GetInput, the position pair,
// and the color swatch with its three streams, also when the host runs out
// of memory for a handle.
#include "hostcore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::wstring> Args;

std::string narrow(const std::wstring &s) {
    std::string out;
    for (wchar_t c : s) out += c < 0x80 ? char(c) : '?';
    return out;
}

std::string hex(const std::vector<uint8_t> &bytes, size_t from, size_t count) {
    std::string out;
    char b[4];
    for (size_t i = from; i < from + count && i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, "%02X ", bytes[i]);
        out += b;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

std::string streamList(const hostcore::CallResult &r) {
    std::string out;
    for (const hostcore::Stream &s : r.streams)
        out += (out.empty() ? "" : " ") + s.type + "(" + std::to_string(s.bytes.size()) + ")";
    return out;
}

class StagingSettingsColorTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring error;
        ASSERT_TRUE(host_.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error)) << narrow(error);
        ASSERT_EQ(host_.startup(), hostcore::kStartupSuccess);
    }
    void TearDown() override {
        FMW_Test_Reset();
        host_.unload();
    }

    // A call that must run and answer text.
    std::wstring text(const wchar_t *function, const Args &args) {
        hostcore::CallResult r = host_.call(function, args);
        EXPECT_EQ(r.status, hostcore::CallStatus::Called) << narrow(function);
        EXPECT_EQ(r.code, 0) << narrow(function);
        EXPECT_TRUE(r.isText) << narrow(function);
        return r.text;
    }

    hostcore::PluginHost host_;
};

} // namespace

TEST_F(StagingSettingsColorTest, StagedRowsAreFoundByName) {
    EXPECT_EQ(text(L"Tessary_SetLabels", {L"Name", L"", L"Note"}), L"");
    EXPECT_EQ(text(L"Tessary_SetDefaultInputs", {L"Ada", L"", L"first\rsecond"}), L"");
    EXPECT_EQ(text(L"Tessary_SetInputTypes", {L"edit", L"", L"editBoxRO"}), L"");
    struct Case {
        const wchar_t *name;
        const wchar_t *expected;
    } cases[] = {
        {L"text1", L"Ada"},
        {L"text2", L""},
        {L"text3", L"first\rsecond"}, // never shown: exactly as staged
        {L"Text1", L""},
        {L"text", L""},
        {L"", L""},
    };
    for (const Case &c : cases) {
        std::wstring got = text(L"Tessary_GetInput", {c.name});
        EXPECT_EQ(got, c.expected) << "name \"" << narrow(c.name) << "\": expected \"" << narrow(c.expected)
                                   << "\", got \"" << narrow(got) << "\"";
    }

    // New defaults replace the old ones; the kinds stay.
    EXPECT_EQ(text(L"Tessary_SetDefaultInputs", {L"Grace"}), L"");
    EXPECT_EQ(text(L"Tessary_GetInput", {L"text1"}), L"Grace");
    EXPECT_EQ(text(L"Tessary_GetInput", {L"text3"}), L"");
}

TEST_F(StagingSettingsColorTest, GetPositionReportsWhatSetPositionStored) {
    EXPECT_EQ(narrow(text(L"Tessary_GetPosition", {})), "0|0|0|0") << "no position and no dialog yet";
    struct Case {
        const wchar_t *x, *y;
        const char *expected;
    } cases[] = {
        {L"100", L"50", "100|50|0|0"},
        {L"-20", L"left", "-20|0|0|0"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(text(L"Tessary_SetPosition", {c.x, c.y}), L"");
        std::wstring got = text(L"Tessary_GetPosition", {L"options are not read"});
        EXPECT_EQ(narrow(got), c.expected) << "x \"" << narrow(c.x) << "\", y \"" << narrow(c.y) << "\"";
    }
    EXPECT_EQ(text(L"Tessary_SetPosition", {L"5", L"6"}), L"");
    EXPECT_EQ(text(L"Tessary_System", {L"anything", L"1"}), L"");
    EXPECT_EQ(narrow(text(L"Tessary_GetPosition", {})), "5|6|0|0") << "System changes nothing";
}

TEST_F(StagingSettingsColorTest, CreateColorReturnsJpegPngAndSize) {
    struct Case {
        Args args;
        const char *palette; // PNG bytes 41..43
        const char *size;    // the SIZE stream
    } cases[] = {
        {{L"", L"255128000"}, "FF 80 00", "00 0A 00 0A"},
        {{L"width=300", L"255128000"}, "FF 80 00", "01 2C 00 0A"},
        {{L"height=20"}, "00 00 00", "00 0A 00 14"},
    };
    std::vector<uint8_t> firstJpeg;
    for (const Case &c : cases) {
        std::string what = "options \"" + narrow(c.args[0]) + "\"";
        int32_t live = FMW_LiveHandles();
        hostcore::CallResult r = host_.call(L"Tessary_CreateColor", c.args);
        ASSERT_EQ(r.status, hostcore::CallStatus::Called) << what;
        EXPECT_EQ(r.code, 0) << what;
        EXPECT_TRUE(r.isBinary) << what;
        ASSERT_EQ(streamList(r), "JPEG(631) PNGf(116) SIZE(4)") << what;
        EXPECT_EQ(hex(r.streams[0].bytes, 0, 4), "FF D8 FF E0") << what << ": a JFIF image";
        if (firstJpeg.empty()) firstJpeg = r.streams[0].bytes;
        EXPECT_TRUE(r.streams[0].bytes == firstJpeg) << what << ": the JPEG is the same for every color";
        EXPECT_EQ(hex(r.streams[1].bytes, 0, 8), "89 50 4E 47 0D 0A 1A 0A") << what << ": a PNG";
        EXPECT_EQ(hex(r.streams[1].bytes, 41, 3), c.palette) << what;
        EXPECT_EQ(hex(r.streams[1].bytes, 56, 1), "FF") << what << ": opaque";
        EXPECT_EQ(hex(r.streams[2].bytes, 0, 4), c.size) << what;
        EXPECT_EQ(FMW_LiveHandles(), live) << what << ": every handle disposed of";
    }
}

#if FMW_BLOCK_HAS_HANDLES
// Only 32-bit hosts lend the plug-in memory handles; the 64-bit plug-in's
// own allocations are failed by the native tests.
static int16_t FMW_STDCALL silentMemError() { return 0; }

TEST_F(StagingSettingsColorTest, AFailedHandleAllocationReturnsTheMemoryErrorAndNoResult) {
    struct Case {
        const char *what;
        uint32_t failAllocation; // n-th handle allocation fails; 0 none
        bool silentHost;         // the host's memory error says 0 all the same
    } cases[] = {
        {"the JPEG's handle", 1, false},
        {"the PNG's handle", 2, false},
        {"a host that does not say why", 1, true},
    };
    for (const Case &c : cases) {
        int32_t live = FMW_LiveHandles();
        if (c.failAllocation) FMW_Test_FailHandleAllocation(c.failAllocation);
        if (c.silentHost) host_.block().memError = silentMemError;
        hostcore::CallResult r = host_.call(L"Tessary_CreateColor", {L"width=300", L"255128000"});
        host_.block().memError = FMW_MemError;
        FMW_Test_Reset();
        ASSERT_EQ(r.status, hostcore::CallStatus::Called) << c.what;
        EXPECT_EQ(r.code, FMErrorOutOfMemory) << c.what;
        EXPECT_FALSE(r.isText) << c.what;
        EXPECT_FALSE(r.isBinary) << c.what;
        EXPECT_EQ(streamList(r), "") << c.what;
        EXPECT_EQ(FMW_LiveHandles(), live) << c.what;
    }
    hostcore::CallResult r = host_.call(L"Tessary_CreateColor", {L"", L"255128000"});
    EXPECT_EQ(r.code, 0) << "the next call works";
    EXPECT_EQ(streamList(r), "JPEG(631) PNGf(116) SIZE(4)");
}

// The handle entries are deprecated in the host's interface: a host that
// leaves any of them null gets the same images from the plug-in's memory.
TEST_F(StagingSettingsColorTest, WithoutHandleEntriesTheImagesAreTheSame) {
    const hostcore::CallResult withHandles = host_.call(L"Tessary_CreateColor", {L"width=300", L"255128000"});
    ASSERT_EQ(streamList(withHandles), "JPEG(631) PNGf(116) SIZE(4)");
    const FMExternCallStruct saved = host_.block();
    for (bool all : {true, false}) {
        const char *what = all ? "no handle entries" : "no lock entry";
        const int32_t live = FMW_LiveHandles();
        host_.block().lockHandle = nullptr;
        if (all) {
            host_.block().newHandle = nullptr;
            host_.block().handleSize = nullptr;
            host_.block().disposeHandle = nullptr;
            host_.block().unlockHandle = nullptr;
            host_.block().memError = nullptr;
        }
        const hostcore::CallResult r = host_.call(L"Tessary_CreateColor", {L"width=300", L"255128000"});
        host_.block() = saved;
        EXPECT_EQ(r.code, 0) << what;
        ASSERT_EQ(streamList(r), streamList(withHandles)) << what;
        for (size_t i = 0; i < r.streams.size(); ++i) {
            EXPECT_TRUE(r.streams[i].bytes == withHandles.streams[i].bytes) << what << ", stream " << i;
        }
        EXPECT_EQ(FMW_LiveHandles(), live) << what << ": no handle taken";
    }
}
#endif
