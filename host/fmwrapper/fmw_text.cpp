// Texts: UTF-16 strings with the conversions and edits a plug-in asks for.
//
// Positions and counts are in UTF-16 units and are clamped to the text, so a
// caller that asks for "everything from here" may pass any large count.
#include "fmw_internal.h"
#include "utf.h"

#include <algorithm>
#include <cstring>

namespace {

// The range [position, position + count) cut to the text.
struct Range {
    std::size_t begin;
    std::size_t end;
};

Range clampRange(const std::u16string& units, uint32_t position, uint32_t count) {
    const std::size_t begin = std::min<std::size_t>(position, units.size());
    const std::size_t end = begin + std::min<std::size_t>(count, units.size() - begin);
    return Range{begin, end};
}

bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Encodes the character starting at units[i] (inside range) and returns the
// number of units it spans.
std::size_t encodeCharacter(const std::u16string& units, std::size_t i, std::size_t end,
                            int32_t encoding, char out[8], std::size_t* byteCount) {
    const bool pair = isHighSurrogate(units[i]) && i + 1 < end && isLowSurrogate(units[i + 1]);
    const std::size_t span = pair ? 2 : 1;
    if (encoding == FMEncodingUtf8) {
        char32_t cp = units[i];
        if (pair) cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
        *byteCount = hostutf::encodeUtf8(cp, out);
    } else {
        *byteCount = fmw::ansiEncode(&units[i], span, out);
    }
    return span;
}

}  // namespace

extern "C" {

FMW_API FMText* FMW_CDECL FM_Text_Constructor1(FMError* err) {
    return fmw::guard<FMText*>("FM_Text_Constructor1", err, nullptr, [] { return new FMText(); });
}

// Deleting nothing is not a failure, as with free(NULL).
FMW_API void FMW_CDECL FM_Text_Delete(FMText* text, FMError* err) {
    fmw::guardVoid("FM_Text_Delete", err, [&] { delete text; });
}

FMW_API uint32_t FMW_CDECL FM_Text_GetSize(const FMText* text, FMError* err) {
    return fmw::guard<uint32_t>("FM_Text_GetSize", err, 0, [&] {
        fmw::require(text != nullptr);
        return static_cast<uint32_t>(text->units.size());
    });
}

FMW_API void FMW_CDECL FM_Text_Assign(FMText* text, const char* s, int32_t encoding, FMError* err) {
    fmw::guardVoid("FM_Text_Assign", err, [&] {
        fmw::require(text != nullptr && s != nullptr);
        fmw::require(encoding == FMEncodingAnsi || encoding == FMEncodingUtf8);
        text->units = encoding == FMEncodingUtf8 ? hostutf::toUtf16(std::string_view(s))
                                                 : fmw::ansiToUtf16(s);
    });
}

FMW_API void FMW_CDECL FM_Text_AssignUnicode(FMText* text, const FMUniChar* s, FMError* err) {
    fmw::guardVoid("FM_Text_AssignUnicode", err, [&] {
        fmw::require(text != nullptr && s != nullptr);
        std::size_t length = 0;
        while (s[length] != 0) ++length;
        text->units.assign(reinterpret_cast<const char16_t*>(s), length);
    });
}

// Copies the units without a terminator: the caller sized its buffer for
// exactly the count it asked for.
FMW_API void FMW_CDECL FM_Text_GetUnicode(const FMText* text, FMUniChar* buffer, uint32_t position,
                                          uint32_t count, FMError* err) {
    fmw::guardVoid("FM_Text_GetUnicode", err, [&] {
        fmw::require(text != nullptr);
        const Range r = clampRange(text->units, position, count);
        if (r.end == r.begin) return;
        fmw::require(buffer != nullptr);
        std::memcpy(buffer, text->units.data() + r.begin, (r.end - r.begin) * sizeof(FMUniChar));
    });
}

FMW_API void FMW_CDECL FM_Text_GetBytes(const FMText* text, char* buffer, uint32_t bufferSize,
                                        uint32_t position, uint32_t count, int32_t encoding,
                                        FMError* err) {
    fmw::guardVoid("FM_Text_GetBytes", err, [&] {
        fmw::require(text != nullptr && (buffer != nullptr || bufferSize == 0));
        fmw::require(encoding == FMEncodingAnsi || encoding == FMEncodingUtf8);
        if (bufferSize == 0) return;
        const std::u16string& units = text->units;
        Range r = clampRange(units, position, count);
        // Half of a pair cut off by the range belongs to a character that
        // is not wholly inside it: leave it out rather than write U+FFFD.
        if (r.begin < r.end && r.begin > 0 && isLowSurrogate(units[r.begin]) &&
            isHighSurrogate(units[r.begin - 1]))
            ++r.begin;
        if (r.begin < r.end && r.end < units.size() && isHighSurrogate(units[r.end - 1]) &&
            isLowSurrogate(units[r.end]))
            --r.end;
        const std::size_t limit = bufferSize - 1;
        std::size_t used = 0;
        for (std::size_t i = r.begin; i < r.end;) {
            char bytes[8];
            std::size_t byteCount = 0;
            const std::size_t span = encodeCharacter(units, i, r.end, encoding, bytes, &byteCount);
            if (used + byteCount > limit) break;
            std::memcpy(buffer + used, bytes, byteCount);
            used += byteCount;
            i += span;
        }
        buffer[used] = '\0';
    });
}

FMW_API void FMW_CDECL FM_Text_AppendText(FMText* text, const FMText* other, uint32_t position,
                                          uint32_t count, FMError* err) {
    fmw::guardVoid("FM_Text_AppendText", err, [&] {
        fmw::require(text != nullptr && other != nullptr);
        const Range r = clampRange(other->units, position, count);
        // A copy first: the text may be appended to itself.
        const std::u16string part = other->units.substr(r.begin, r.end - r.begin);
        text->units += part;
    });
}

// Compares unit by unit: "LONG" and "long" differ, as in the database's
// own comparison of plug-in texts.
FMW_API uint8_t FMW_CDECL FM_Text_operatorEQ(const FMText* text, const FMText* other, FMError* err) {
    return fmw::guard<uint8_t>("FM_Text_operatorEQ", err, 0, [&] {
        fmw::require(text != nullptr && other != nullptr);
        return static_cast<uint8_t>(text->units == other->units ? 1 : 0);
    });
}

FMW_API uint32_t FMW_CDECL FM_Text_Find(const FMText* text, const FMText* other, uint32_t start,
                                        FMError* err) {
    return fmw::guard<uint32_t>("FM_Text_Find", err, FMTextNotFound, [&]() -> uint32_t {
        fmw::require(text != nullptr && other != nullptr);
        if (start > text->units.size()) return FMTextNotFound;
        const std::size_t at = text->units.find(other->units, start);
        return at == std::u16string::npos ? FMTextNotFound : static_cast<uint32_t>(at);
    });
}

FMW_API void FMW_CDECL FM_Text_DeleteText(FMText* text, uint32_t position, uint32_t count,
                                          FMError* err) {
    fmw::guardVoid("FM_Text_DeleteText", err, [&] {
        fmw::require(text != nullptr);
        const Range r = clampRange(text->units, position, count);
        text->units.erase(r.begin, r.end - r.begin);
    });
}

}  // extern "C"
