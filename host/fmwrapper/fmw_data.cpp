// Data values, argument vectors, binary data and four-character codes.
#include "fmw_internal.h"

#include <cstring>

namespace {

const FMData* argumentAt(const char* function, const FMDataVect* vect, uint32_t index) {
    fmw::require(vect != nullptr);
    fmw::noteArgumentRead(function, index, vect->items.size());
    return index < vect->items.size() ? vect->items[index].get() : &vect->pastEnd;
}

}  // namespace

extern "C" {

FMW_API uint32_t FMW_CDECL FM_DataVect_Size(const FMDataVect* vect, FMError* err) {
    return fmw::guard<uint32_t>("FM_DataVect_Size", err, 0, [&] {
        fmw::require(vect != nullptr);
        return static_cast<uint32_t>(vect->items.size());
    });
}

FMW_API const FMData* FMW_CDECL FM_DataVect_At(const FMDataVect* vect, uint32_t index, FMError* err) {
    return fmw::guard<const FMData*>("FM_DataVect_At", err, nullptr,
                                     [&] { return argumentAt("FM_DataVect_At", vect, index); });
}

FMW_API const FMText* FMW_CDECL FM_DataVect_AtAsText(const FMDataVect* vect, uint32_t index,
                                                     FMError* err) {
    return fmw::guard<const FMText*>("FM_DataVect_AtAsText", err, nullptr,
                                     [&] { return &argumentAt("FM_DataVect_AtAsText", vect, index)->text; });
}

FMW_API const FMLocale* FMW_CDECL FM_Data_GetLocale(const FMData* data, FMError* err) {
    return fmw::guard<const FMLocale*>("FM_Data_GetLocale", err, nullptr, [&] {
        fmw::require(data != nullptr);
        return &data->locale;
    });
}

// Only text is a type this host stores; any other type code is refused
// rather than stored under a type the caller did not ask for.
FMW_API int16_t FMW_CDECL FM_Data_SetAsText(FMData* data, const FMText* text, const FMLocale* locale,
                                            int32_t dataType, FMError* err) {
    return fmw::guardCode("FM_Data_SetAsText", err, [&]() -> int16_t {
        fmw::require(data != nullptr && text != nullptr && locale != nullptr);
        fmw::require(dataType == FMDataTypeText);
        FMText copy = *text; // before anything changes: text may be data's own
        data->locale = *locale;
        data->text = std::move(copy);
        data->streams.clear();
        data->kind = FMData::Kind::Text;
        return 0;
    });
}

FMW_API void FMW_CDECL FM_Data_SetBinaryData(FMData* data, const FMBinaryData* binary,
                                             uint8_t forceBinary, FMError* err) {
    (void)forceBinary; // the host keeps no other representation of containers
    fmw::guardVoid("FM_Data_SetBinaryData", err, [&] {
        fmw::require(data != nullptr && binary != nullptr);
        std::vector<fmw::Stream> copy = binary->streams;
        data->streams = std::move(copy);
        data->text.units.clear();
        data->kind = FMData::Kind::Binary;
    });
}

FMW_API FMBinaryData* FMW_CDECL FM_BinaryData_Constructor1(FMError* err) {
    return fmw::guard<FMBinaryData*>("FM_BinaryData_Constructor1", err, nullptr,
                                     [] { return new FMBinaryData(); });
}

FMW_API void FMW_CDECL FM_BinaryData_Delete(FMBinaryData* binary, FMError* err) {
    fmw::guardVoid("FM_BinaryData_Delete", err, [&] { delete binary; });
}

// A container holds at most one stream of each type, so a second stream
// of a type already present is refused.
FMW_API int16_t FMW_CDECL FM_BinaryData_Add(FMBinaryData* binary, const FMQuadChar* type,
                                            uint32_t size, const void* bytes, FMError* err) {
    return fmw::guardCode("FM_BinaryData_Add", err, [&]() -> int16_t {
        fmw::require(binary != nullptr && type != nullptr && (bytes != nullptr || size == 0));
        for (const fmw::Stream& s : binary->streams)
            fmw::require(std::memcmp(s.type, type->code, 4) != 0);
        fmw::Stream stream;
        std::memcpy(stream.type, type->code, 4);
        const auto* first = static_cast<const uint8_t*>(bytes);
        if (size != 0) stream.bytes.assign(first, first + size);
        binary->streams.push_back(std::move(stream));
        return 0;
    });
}

FMW_API FMQuadChar* FMW_CDECL FM_QuadChar_Constructor2(char c0, char c1, char c2, char c3,
                                                       FMError* err) {
    return fmw::guard<FMQuadChar*>("FM_QuadChar_Constructor2", err, nullptr,
                                   [&] { return new FMQuadChar{{c0, c1, c2, c3}}; });
}

FMW_API void FMW_CDECL FM_QuadChar_Delete(FMQuadChar* quad, FMError* err) {
    fmw::guardVoid("FM_QuadChar_Delete", err, [&] { delete quad; });
}

// ---- host side ------------------------------------------------------------

FMW_API FMDataVect* FMW_CDECL FMW_DataVect_New(void) {
    return fmw::guard<FMDataVect*>("FMW_DataVect_New", nullptr, nullptr,
                                   [] { return new FMDataVect(); });
}

FMW_API void FMW_CDECL FMW_DataVect_Delete(FMDataVect* vect) { delete vect; }

FMW_API int FMW_CDECL FMW_DataVect_PushText(FMDataVect* vect, const FMUniChar* s, uint32_t length) {
    return fmw::guard<int>("FMW_DataVect_PushText", nullptr, 0, [&] {
        fmw::require(vect != nullptr && (s != nullptr || length == 0));
        auto data = std::make_unique<FMData>();
        data->kind = FMData::Kind::Text;
        if (length != 0) data->text.units.assign(reinterpret_cast<const char16_t*>(s), length);
        vect->items.push_back(std::move(data));
        return 1;
    });
}

FMW_API FMData* FMW_CDECL FMW_Data_New(void) {
    return fmw::guard<FMData*>("FMW_Data_New", nullptr, nullptr, [] { return new FMData(); });
}

FMW_API void FMW_CDECL FMW_Data_Delete(FMData* data) { delete data; }

FMW_API int FMW_CDECL FMW_Data_IsText(const FMData* data) {
    return data != nullptr && data->kind == FMData::Kind::Text ? 1 : 0;
}

FMW_API const FMText* FMW_CDECL FMW_Data_Text(const FMData* data) {
    return data != nullptr ? &data->text : nullptr;
}

FMW_API uint32_t FMW_CDECL FMW_Data_StreamCount(const FMData* data) {
    return data != nullptr && data->kind == FMData::Kind::Binary
               ? static_cast<uint32_t>(data->streams.size())
               : 0;
}

FMW_API int FMW_CDECL FMW_Data_StreamAt(const FMData* data, uint32_t index, char type[5],
                                        uint32_t* size, const uint8_t** bytes) {
    if (index >= FMW_Data_StreamCount(data)) return 0;
    const fmw::Stream& s = data->streams[index];
    if (type != nullptr) {
        std::memcpy(type, s.type, 4);
        type[4] = '\0';
    }
    if (size != nullptr) *size = static_cast<uint32_t>(s.bytes.size());
    if (bytes != nullptr) *bytes = s.bytes.data();
    return 1;
}

FMW_API FMExprEnv* FMW_CDECL FMW_ExprEnv_New(void) {
    return fmw::guard<FMExprEnv*>("FMW_ExprEnv_New", nullptr, nullptr,
                                  [] { return new FMExprEnv(); });
}

FMW_API void FMW_CDECL FMW_ExprEnv_Delete(FMExprEnv* env) { delete env; }

}  // extern "C"
