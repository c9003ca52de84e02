// Our FMWrapper library as a plug-in and a host use it: texts and their
// conversions, data values, arguments, containers, registration, handles and
// injected faults.
#include "FMWrapper.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TextDeleter {
    void operator()(FMText* t) const { FM_Text_Delete(t, nullptr); }
};
using Text = std::unique_ptr<FMText, TextDeleter>;

Text makeText(const std::u16string& units) {
    FMError err{1, 0};
    Text t(FM_Text_Constructor1(&err));
    std::u16string terminated = units + u'\0';
    FM_Text_AssignUnicode(t.get(), reinterpret_cast<const FMUniChar*>(terminated.c_str()), &err);
    return t;
}

std::u16string unitsOf(const FMText* t) {
    FMError err{1, 0};
    std::u16string out(FM_Text_GetSize(t, &err), u'\0');
    if (!out.empty()) FM_Text_GetUnicode(t, reinterpret_cast<FMUniChar*>(&out[0]), 0, 0xFFFFFFFFu, &err);
    return out;
}

std::string hex(const std::u16string& units) {
    std::string out;
    char buf[8];
    for (char16_t u : units) {
        std::snprintf(buf, sizeof buf, "%04X ", static_cast<unsigned>(u));
        out += buf;
    }
    return out;
}

std::string hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        out += buf;
    }
    return out;
}

class FMWrapperTest : public ::testing::Test {
protected:
    void SetUp() override {
        FMW_Test_Reset();
        FMW_Registry_Clear();
    }
    void TearDown() override {
        FMW_Test_Reset();
        FMW_Registry_Clear();
    }
    FMError err{1, 0};
};

TEST_F(FMWrapperTest, AssignDecodesUtf8AndReplacesMalformedBytes) {
    struct Case {
        const char* bytes;
        std::u16string expected;
    };
    const Case cases[] = {
        {"abc", u"abc"},
        {"", u""},
        {"\xC3\xA9", u"\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\xC3", u"a\uFFFD"},                        // cut off
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                // overlong "/"
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},      // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"\xE2\x82x", u"\uFFFD\uFFFDx"},
    };
    for (const Case& c : cases) {
        Text t = makeText(u"old");
        FM_Text_Assign(t.get(), c.bytes, FMEncodingUtf8, &err);
        EXPECT_EQ(err.code, 0) << c.bytes;
        EXPECT_EQ(hex(unitsOf(t.get())), hex(c.expected)) << "input " << hex(std::string(c.bytes));
    }
}

#ifndef _WIN32
TEST_F(FMWrapperTest, AnsiIsWindows1252InTheNativeBuild) {
    struct Case {
        const char* bytes;
        std::u16string units;
    };
    const Case cases[] = {
        {"\x80", u"\u20AC"}, {"\x9F", u"\u0178"}, {"\xE9", u"\u00E9"},
        {"\x81", u"\u0081"}, // unassigned: kept as its C1 control
        {"Ab", u"Ab"},
    };
    for (const Case& c : cases) {
        Text t = makeText(u"");
        FM_Text_Assign(t.get(), c.bytes, FMEncodingAnsi, &err);
        EXPECT_EQ(hex(unitsOf(t.get())), hex(c.units)) << hex(std::string(c.bytes));
        char back[8];
        std::memset(back, 0x55, sizeof back);
        FM_Text_GetBytes(t.get(), back, sizeof back, 0, 100, FMEncodingAnsi, &err);
        EXPECT_STREQ(back, c.bytes) << "round trip of " << hex(std::string(c.bytes));
    }
}
#endif

TEST_F(FMWrapperTest, GetBytesNeverSplitsACharacterNorWritesPastTheBuffer) {
    struct Case {
        std::u16string text;
        uint32_t bufferSize, position, count;
        int32_t encoding;
        std::string expected; // without the terminating zero
    };
    const Case cases[] = {
        {u"Hello", 10, 0, 5, FMEncodingUtf8, "Hello"},
        {u"Hello", 3, 0, 5, FMEncodingUtf8, "He"},
        {u"Hello", 1, 0, 5, FMEncodingUtf8, ""},
        {u"Hello", 10, 1, 3, FMEncodingUtf8, "ell"},
        {u"Hello", 10, 3, 0xFFFFFFFFu, FMEncodingUtf8, "lo"},
        {u"Hello", 10, 9, 2, FMEncodingUtf8, ""},
        {u"a\u00E9", 3, 0, 2, FMEncodingUtf8, "a"},
        {u"a\u00E9", 4, 0, 2, FMEncodingUtf8, "a\xC3\xA9"},
        {u"\U0001F600", 4, 0, 2, FMEncodingUtf8, ""},
        {u"\U0001F600", 5, 0, 2, FMEncodingUtf8, "\xF0\x9F\x98\x80"},
        {u"a\U0001F600", 10, 2, 1, FMEncodingUtf8, ""},  // starts inside the pair
        {u"\U0001F600b", 10, 0, 1, FMEncodingUtf8, ""},  // ends inside the pair
        {u"\xD800x", 10, 0, 2, FMEncodingUtf8, "\xEF\xBF\xBDx"}, // a lone half
        {std::u16string(30, u'x'), 10, 0, 30, FMEncodingUtf8, std::string(9, 'x')},
        {u"ab\U0001F600", 10, 0, 4, FMEncodingAnsi, "ab?"},
        {u"\u4E2D", 10, 0, 1, FMEncodingAnsi, "?"},
#ifndef _WIN32
        {u"\u20AC5", 10, 0, 2, FMEncodingAnsi, "\x80" "5"},
#endif
    };
    for (const Case& c : cases) {
        Text t = makeText(c.text);
        std::vector<char> buffer(c.bufferSize + 8, '#');
        FM_Text_GetBytes(t.get(), buffer.data(), c.bufferSize, c.position, c.count, c.encoding, &err);
        EXPECT_EQ(err.code, 0);
        const std::string written(buffer.data());
        EXPECT_EQ(hex(written), hex(c.expected))
            << "text " << hex(c.text) << " size " << c.bufferSize << " at " << c.position;
        for (std::size_t i = c.bufferSize; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], '#') << "byte " << i << " written past a buffer of " << c.bufferSize;
    }
    // A zero-sized buffer is left alone.
    Text t = makeText(u"abc");
    char untouched = '#';
    FM_Text_GetBytes(t.get(), &untouched, 0, 0, 3, FMEncodingUtf8, &err);
    EXPECT_EQ(untouched, '#');
    EXPECT_EQ(err.code, 0);
}

TEST_F(FMWrapperTest, GetUnicodeCopiesTheClampedRangeOnly) {
    struct Case {
        uint32_t position, count;
        std::u16string expected;
    };
    const Case cases[] = {
        {0, 5, u"Hello"}, {1, 2, u"el"}, {3, 100, u"lo"}, {5, 1, u""}, {50, 2, u""}, {0, 0, u""},
    };
    Text t = makeText(u"Hello");
    for (const Case& c : cases) {
        std::u16string buffer(8, u'#');
        FM_Text_GetUnicode(t.get(), reinterpret_cast<FMUniChar*>(&buffer[0]), c.position, c.count, &err);
        EXPECT_EQ(err.code, 0);
        const std::u16string expected = c.expected + std::u16string(8 - c.expected.size(), u'#');
        EXPECT_EQ(hex(buffer), hex(expected)) << "position " << c.position << " count " << c.count;
    }
}

TEST_F(FMWrapperTest, EditingAndSearchingClampToTheText) {
    struct Edit {
        const char* what;
        std::function<void(FMText*)> apply;
        std::u16string expected;
    };
    Text other = makeText(u"XYZ");
    const Edit edits[] = {
        {"append middle", [&](FMText* t) { FM_Text_AppendText(t, other.get(), 1, 1, &err); }, u"abcdY"},
        {"append rest", [&](FMText* t) { FM_Text_AppendText(t, other.get(), 1, 99, &err); }, u"abcdYZ"},
        {"append past end", [&](FMText* t) { FM_Text_AppendText(t, other.get(), 7, 1, &err); }, u"abcd"},
        {"append itself", [&](FMText* t) { FM_Text_AppendText(t, t, 0, 0xFFFFFFFFu, &err); }, u"abcdabcd"},
        {"delete middle", [&](FMText* t) { FM_Text_DeleteText(t, 1, 2, &err); }, u"ad"},
        {"delete to end", [&](FMText* t) { FM_Text_DeleteText(t, 2, 0xFFFFFFFFu, &err); }, u"ab"},
        {"delete past end", [&](FMText* t) { FM_Text_DeleteText(t, 9, 1, &err); }, u"abcd"},
    };
    for (const Edit& e : edits) {
        Text t = makeText(u"abcd");
        e.apply(t.get());
        EXPECT_EQ(err.code, 0) << e.what;
        EXPECT_EQ(hex(unitsOf(t.get())), hex(e.expected)) << e.what;
    }

    struct Find {
        std::u16string text, needle;
        uint32_t start, expected;
    };
    const Find finds[] = {
        {u"Tessary_Dialog( options )", u"(", 0, 14},
        {u"abcabc", u"bc", 2, 4},
        {u"abc", u"x", 0, FMTextNotFound},
        {u"abc", u"a", 1, FMTextNotFound},
        {u"abc", u"", 3, 3},
        {u"abc", u"", 4, FMTextNotFound},
        {u"", u"(", 0, FMTextNotFound},
    };
    for (const Find& f : finds) {
        Text t = makeText(f.text), n = makeText(f.needle);
        EXPECT_EQ(FM_Text_Find(t.get(), n.get(), f.start, &err), f.expected)
            << hex(f.needle) << " in " << hex(f.text) << " from " << f.start;
    }

    struct Equal {
        std::u16string a, b;
        uint8_t expected;
    };
    const Equal equals[] = {{u"long", u"long", 1}, {u"LONG", u"long", 0}, {u"", u"", 1}, {u"a", u"", 0}};
    for (const Equal& e : equals) {
        Text a = makeText(e.a), b = makeText(e.b);
        EXPECT_EQ(FM_Text_operatorEQ(a.get(), b.get(), &err), e.expected) << hex(e.a) << "vs " << hex(e.b);
    }
}

TEST_F(FMWrapperTest, NullPointersAndBadCodesReportGeneralError) {
    Text t = makeText(u"abc");
    char bytes[4];
    FMUniChar units[4];
    FMQuadChar* id = FM_QuadChar_Constructor2('T', 'E', 'S', 'T', &err);
    FMDataVect* vect = FMW_DataVect_New();
    const std::pair<const char*, std::function<void(FMError*)>> calls[] = {
        {"GetSize", [&](FMError* e) { FM_Text_GetSize(nullptr, e); }},
        {"Assign null text", [&](FMError* e) { FM_Text_Assign(nullptr, "x", 1, e); }},
        {"Assign null bytes", [&](FMError* e) { FM_Text_Assign(t.get(), nullptr, 1, e); }},
        {"Assign bad encoding", [&](FMError* e) { FM_Text_Assign(t.get(), "x", 7, e); }},
        {"AssignUnicode", [&](FMError* e) { FM_Text_AssignUnicode(t.get(), nullptr, e); }},
        {"GetUnicode", [&](FMError* e) { FM_Text_GetUnicode(t.get(), nullptr, 0, 3, e); }},
        {"GetBytes", [&](FMError* e) { FM_Text_GetBytes(t.get(), nullptr, 4, 0, 3, 1, e); }},
        {"GetBytes encoding", [&](FMError* e) { FM_Text_GetBytes(t.get(), bytes, 4, 0, 3, 9, e); }},
        {"Append", [&](FMError* e) { FM_Text_AppendText(t.get(), nullptr, 0, 1, e); }},
        {"Find", [&](FMError* e) { FM_Text_Find(nullptr, t.get(), 0, e); }},
        {"Delete range", [&](FMError* e) { FM_Text_DeleteText(nullptr, 0, 1, e); }},
        {"Equal", [&](FMError* e) { FM_Text_operatorEQ(t.get(), nullptr, e); }},
        {"DataVect_Size", [&](FMError* e) { FM_DataVect_Size(nullptr, e); }},
        {"DataVect_At", [&](FMError* e) { FM_DataVect_At(nullptr, 0, e); }},
        {"GetLocale", [&](FMError* e) { FM_Data_GetLocale(nullptr, e); }},
        {"SetAsText", [&](FMError* e) { FM_Data_SetAsText(nullptr, t.get(), nullptr, 1, e); }},
        {"SetBinaryData", [&](FMError* e) { FM_Data_SetBinaryData(nullptr, nullptr, 1, e); }},
        {"BinaryData_Add", [&](FMError* e) { FM_BinaryData_Add(nullptr, id, 0, nullptr, e); }},
        {"Register", [&](FMError* e) { FM_ExprEnv_RegisterExternalFunction(id, 1, nullptr, t.get(), 0, 1, 0, nullptr, e); }},
        {"Unregister", [&](FMError* e) { FM_ExprEnv_UnRegisterExternalFunction(nullptr, 1, e); }},
    };
    for (const auto& call : calls) {
        FMError e{1, 0};
        call.second(&e);
        EXPECT_EQ(e.code, FMErrorGeneral) << call.first;
        call.second(nullptr); // no error record: still no crash
    }
    FMError e{1, 0};
    FM_Text_GetUnicode(t.get(), units, 0, 3, &e);
    EXPECT_EQ(e.code, 0) << "a valid call after the failures";
    FM_Text_Delete(nullptr, &e);
    EXPECT_EQ(e.code, 0) << "deleting nothing is not a failure";
    FM_QuadChar_Delete(id, &e);
    FMW_DataVect_Delete(vect);
}

TEST_F(FMWrapperTest, ArgumentsPastTheEndAreEmptyAndEveryValueHasALocale) {
    FMDataVect* vect = FMW_DataVect_New();
    const std::u16string args[] = {u"first", u"", u"\U0001F600\u00B6"};
    for (const auto& a : args)
        ASSERT_EQ(FMW_DataVect_PushText(vect, reinterpret_cast<const FMUniChar*>(a.data()),
                                        static_cast<uint32_t>(a.size())), 1);
    EXPECT_EQ(FM_DataVect_Size(vect, &err), 3u);
    for (uint32_t i = 0; i < 5; ++i) {
        const FMText* text = FM_DataVect_AtAsText(vect, i, &err);
        EXPECT_EQ(err.code, 0) << "index " << i;
        ASSERT_NE(text, nullptr) << "index " << i;
        EXPECT_EQ(hex(unitsOf(text)), hex(i < 3 ? args[i] : u"")) << "index " << i;
        const FMData* data = FM_DataVect_At(vect, i, &err);
        EXPECT_EQ(err.code, 0) << "index " << i;
        EXPECT_NE(FM_Data_GetLocale(data, &err), nullptr) << "index " << i;
        EXPECT_EQ(err.code, 0) << "index " << i;
    }

    // The strict host yields the same, and records the first read past the
    // end until it is taken; within the vector it records nothing.
    char violation[80];
    for (int strict : {1, 0}) {
        FMW_Test_SetStrict(strict);
        for (uint32_t i = 0; i < 3; ++i) FM_DataVect_AtAsText(vect, i, &err);
        EXPECT_EQ(FMW_Test_TakeViolation(violation, sizeof violation), 0u) << "strict " << strict;
        FM_DataVect_At(vect, 4, &err);
        FM_DataVect_AtAsText(vect, 3, &err);
        EXPECT_EQ(err.code, 0);
        const uint32_t length = FMW_Test_TakeViolation(violation, sizeof violation);
        EXPECT_EQ(std::string(violation, strict ? length : 0),
                  strict ? "FM_DataVect_At read argument 4 of a vector of 3" : "");
        EXPECT_EQ(FMW_Test_TakeViolation(violation, 8), 0u) << "taken once";
    }
    FMW_DataVect_Delete(vect);
}

TEST_F(FMWrapperTest, ResultTakesTextOrACopyOfTheStreams) {
    FMData* result = FMW_Data_New();
    FMDataVect* vect = FMW_DataVect_New();
    FMW_DataVect_PushText(vect, nullptr, 0);
    const FMLocale* locale = FM_Data_GetLocale(FM_DataVect_At(vect, 0, &err), &err);
    EXPECT_EQ(FMW_Data_IsText(result), 0) << "a new result is empty";

    Text text = makeText(u"0.55");
    EXPECT_EQ(FM_Data_SetAsText(result, text.get(), locale, FMDataTypeText, &err), 0);
    EXPECT_EQ(err.code, 0);
    text.reset(); // the result keeps its own copy
    EXPECT_EQ(FMW_Data_IsText(result), 1);
    EXPECT_EQ(hex(unitsOf(FMW_Data_Text(result))), hex(u"0.55"));

    Text other = makeText(u"other");
    EXPECT_EQ(FM_Data_SetAsText(result, other.get(), locale, 2, &err), FMErrorGeneral);
    EXPECT_EQ(err.code, FMErrorGeneral);
    EXPECT_EQ(hex(unitsOf(FMW_Data_Text(result))), hex(u"0.55")) << "a refused type changes nothing";

    FMBinaryData* binary = FM_BinaryData_Constructor1(&err);
    FMQuadChar* png = FM_QuadChar_Constructor2('P', 'N', 'G', 'f', &err);
    FMQuadChar* size = FM_QuadChar_Constructor2('S', 'I', 'Z', 'E', &err);
    const uint8_t pngBytes[] = {0x89, 'P', 'N', 'G'};
    const uint8_t sizeBytes[] = {0, 10, 0, 10};
    EXPECT_EQ(FM_BinaryData_Add(binary, png, 4, pngBytes, &err), 0);
    EXPECT_EQ(FM_BinaryData_Add(binary, size, 4, sizeBytes, &err), 0);
    EXPECT_NE(FM_BinaryData_Add(binary, png, 4, pngBytes, &err), 0) << "a second PNGf stream";
    EXPECT_NE(FM_BinaryData_Add(binary, size, 4, nullptr, &err), 0) << "bytes missing";
    FM_Data_SetBinaryData(result, binary, 1, &err);
    EXPECT_EQ(err.code, 0);
    FM_BinaryData_Delete(binary, &err);

    EXPECT_EQ(FMW_Data_IsText(result), 0);
    ASSERT_EQ(FMW_Data_StreamCount(result), 2u);
    const struct {
        const char* type;
        std::vector<uint8_t> bytes;
    } expected[] = {{"PNGf", {0x89, 'P', 'N', 'G'}}, {"SIZE", {0, 10, 0, 10}}};
    for (uint32_t i = 0; i < 2; ++i) {
        char type[5];
        uint32_t n = 0;
        const uint8_t* bytes = nullptr;
        ASSERT_EQ(FMW_Data_StreamAt(result, i, type, &n, &bytes), 1);
        EXPECT_STREQ(type, expected[i].type);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + n), expected[i].bytes) << type;
    }
    EXPECT_EQ(FMW_Data_StreamAt(result, 2, nullptr, nullptr, nullptr), 0);
    FM_QuadChar_Delete(png, &err);
    FM_QuadChar_Delete(size, &err);
    FMW_Data_Delete(result);
    FMW_DataVect_Delete(vect);
}

int16_t FMW_CDECL handlerA(int16_t, const FMExprEnv*, const FMDataVect*, FMData*) { return 0; }

struct Registration {
    FMQuadChar* id;
    int16_t functionId;
    int16_t minArgs, maxArgs;
    bool accepted;
};

TEST_F(FMWrapperTest, RegistryKeysByPluginAndFunctionIdAndLogsEveryCall) {
    FMQuadChar* vrnq = FM_QuadChar_Constructor2('V', 'R', 'N', 'Q', &err);
    FMQuadChar* other = FM_QuadChar_Constructor2('O', 'T', 'H', 'R', &err);
    Text name = makeText(u"Tessary_Version");
    Text prototype = makeText(u"Tessary_Version( versionFormat )");
    const Registration registrations[] = {
        {vrnq, 1, 1, 1, true},
        {vrnq, 2, 4, 11, true},
        {vrnq, 1, 1, 1, false},   // already registered
        {other, 1, 0, -1, true},  // same id, another plug-in; no upper bound
        {vrnq, 3, 3, 2, false},   // minimum above maximum
        {vrnq, 4, -1, 2, false},  // negative minimum
    };
    for (const Registration& r : registrations) {
        const int16_t code = FM_ExprEnv_RegisterExternalFunction(
            r.id, r.functionId, name.get(), prototype.get(), r.minArgs, r.maxArgs, 0xFF01, handlerA, &err);
        EXPECT_EQ(code == 0, r.accepted) << "id " << r.functionId << " code " << code;
    }
    name.reset();
    prototype.reset(); // the registry holds copies
    ASSERT_EQ(FMW_Registry_Count(), 3u);
    FMRegisteredFunction f;
    ASSERT_EQ(FMW_Registry_At(1, &f), 1);
    EXPECT_STREQ(f.pluginId, "VRNQ");
    EXPECT_EQ(f.functionId, 2);
    EXPECT_EQ(f.minArgs, 4);
    EXPECT_EQ(f.maxArgs, 11);
    EXPECT_EQ(f.flags, 0xFF01u);
    EXPECT_EQ(hex(unitsOf(f.name)), hex(u"Tessary_Version"));
    EXPECT_EQ(hex(unitsOf(f.prototype)), hex(u"Tessary_Version( versionFormat )"));
    EXPECT_EQ(FMW_Registry_At(3, &f), 0);

    EXPECT_EQ(FM_ExprEnv_UnRegisterExternalFunction(vrnq, 2, &err), 0);
    EXPECT_EQ(FM_ExprEnv_UnRegisterExternalFunction(vrnq, 2, &err), FMErrorGeneral) << "already gone";
    EXPECT_EQ(FM_ExprEnv_UnRegisterExternalFunction(vrnq, 1, &err), 0);
    EXPECT_EQ(err.code, 0);
    EXPECT_EQ(FMW_Registry_Count(), 1u);

    char log[64];
    const uint32_t length = FMW_Registry_Log(log, sizeof log);
    EXPECT_STREQ(log, "R1 R2 R1 R1 R3 R4 U2 U2 U1");
    EXPECT_EQ(length, std::strlen(log));
    char shortLog[5];
    EXPECT_EQ(FMW_Registry_Log(shortLog, sizeof shortLog), 4u);
    EXPECT_STREQ(shortLog, "R1 R");

    FMW_Registry_Clear();
    EXPECT_EQ(FMW_Registry_Count(), 0u);
    EXPECT_EQ(FMW_Registry_Log(log, sizeof log), 0u);
    FM_QuadChar_Delete(vrnq, &err);
    FM_QuadChar_Delete(other, &err);
}

TEST_F(FMWrapperTest, InjectedFaultsFireOnceOnTheChosenCall) {
    FMQuadChar* id = FM_QuadChar_Constructor2('V', 'R', 'N', 'Q', &err);
    Text name = makeText(u"F");
    // A refused registration is a refusal (nonzero code), not a failed call.
    FMW_Test_RefuseRegistration(2);
    const int16_t expected[] = {0, FMErrorGeneral, 0};
    const int16_t ids[] = {1, 2, 2};
    for (int i = 0; i < 3; ++i) {
        const int16_t code = FM_ExprEnv_RegisterExternalFunction(id, ids[i], name.get(), name.get(), 0, 0, 0,
                                                                 handlerA, &err);
        EXPECT_EQ(code, expected[i]) << "registration " << i + 1 << " of id " << ids[i];
        EXPECT_EQ(err.code, 0) << "registration " << i + 1;
    }

    FMW_Test_FailCall("FM_Text_GetSize", 2, FMErrorOutOfMemory);
    const int32_t codes[] = {0, FMErrorOutOfMemory, 0};
    const uint32_t sizes[] = {1, 0, 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(FM_Text_GetSize(name.get(), &err), sizes[i]) << "call " << i + 1;
        EXPECT_EQ(err.code, codes[i]) << "call " << i + 1;
    }

    FMData* result = FMW_Data_New();
    FMDataVect* vect = FMW_DataVect_New();
    const FMLocale* locale = FM_Data_GetLocale(FM_DataVect_At(vect, 0, &err), &err);
    FMW_Test_FailCall("FM_Data_SetAsText", 1, FMErrorGeneral);
    EXPECT_EQ(FM_Data_SetAsText(result, name.get(), locale, FMDataTypeText, &err), FMErrorGeneral);
    EXPECT_EQ(err.code, FMErrorGeneral);
    EXPECT_EQ(FMW_Data_IsText(result), 0) << "a failed call stores nothing";

    FMW_Test_FailCall("FM_Text_Find", 1, FMErrorGeneral);
    FMW_Test_Reset();
    EXPECT_EQ(FM_Text_Find(name.get(), name.get(), 0, &err), 0u);
    EXPECT_EQ(err.code, 0) << "reset disarms";

    FMW_Data_Delete(result);
    FMW_DataVect_Delete(vect);
    FM_QuadChar_Delete(id, &err);
}

TEST_F(FMWrapperTest, HandlesAreCountedAndForeignHandlesRefused) {
    const int32_t before = FMW_LiveHandles();
    char** a = FMW_NewHandle(116);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(FMW_MemError(), 0);
    EXPECT_EQ(FMW_HandleSize(a), 116);
    EXPECT_EQ((*a)[0], 0);
    EXPECT_EQ((*a)[115], 0);
    FMW_LockHandle(a);
    std::memcpy(*a, "PNG", 3);
    FMW_UnlockHandle(a);
    EXPECT_EQ(FMW_LiveHandles(), before + 1);

    char* notOurs = nullptr;
    FMW_DisposeHandle(&notOurs);
    EXPECT_EQ(FMW_MemError(), 2);
    FMW_DisposeHandle(a);
    EXPECT_EQ(FMW_MemError(), 0);
    EXPECT_EQ(FMW_LiveHandles(), before);
    FMW_DisposeHandle(a); // twice: refused, not freed again
    EXPECT_EQ(FMW_MemError(), 2);
    EXPECT_EQ(FMW_HandleSize(a), 0);

    EXPECT_EQ(FMW_NewHandle(-1), nullptr);
    EXPECT_EQ(FMW_MemError(), 2);

    FMW_Test_FailHandleAllocation(2);
    const bool allocated[] = {true, false, true};
    const int16_t memErrors[] = {0, 1, 0};
    std::vector<char**> handles;
    for (int i = 0; i < 3; ++i) {
        char** h = FMW_NewHandle(631);
        EXPECT_EQ(h != nullptr, allocated[i]) << "allocation " << i + 1;
        EXPECT_EQ(FMW_MemError(), memErrors[i]) << "allocation " << i + 1;
        if (h != nullptr) handles.push_back(h);
    }
    EXPECT_EQ(FMW_LiveHandles(), before + 2);
    for (char** h : handles) FMW_DisposeHandle(h);
    EXPECT_EQ(FMW_LiveHandles(), before);
}

}  // namespace
