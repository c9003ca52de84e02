// A small plug-in that the host layer's own tests load, so that loading,
// start-up, strings, argument counts, results and shut-down can be checked
// without the real plug-in. Plug-in id "TSTP".
//   Test_Echo( a [; b [; c]] )  the arguments joined by "|"
//   Test_Blob( [mode] )         a container with streams PNGf (3 bytes, built
//                               in a host handle where the block has them)
//                               and SIZE; mode "fail" returns code 7 and
//                               sets nothing
//   Test_Calls()                how many handler calls came before this one
// Get-string 131 writes its 12 units whatever the buffer size.
#include "FMWrapper.h"

#include <string>

namespace {

FMExternCallStruct* gBlock = nullptr; // of the most recent message
int gHandlerCalls = 0;

constexpr int16_t kEchoId = 1, kBlobId = 2, kCallsId = 3;
constexpr int16_t kFailCode = 7;

struct Error : FMError {
    Error() : FMError{1, 0} {}
};

struct Function {
    int16_t id;
    const char16_t* name;
    const char16_t* prototype;
    int16_t minArgs, maxArgs;
    FMExternalHandler handler;
};

int16_t FMW_STDCALL echo(int16_t, const FMExprEnv*, const FMDataVect*, FMData*);
int16_t FMW_STDCALL blob(int16_t, const FMExprEnv*, const FMDataVect*, FMData*);
int16_t FMW_STDCALL calls(int16_t, const FMExprEnv*, const FMDataVect*, FMData*);

const Function kFunctions[] = {
    {kEchoId, u"Test_Echo", u"Test_Echo( a ; b ; c )", 1, 3, echo},
    {kBlobId, u"Test_Blob", u"Test_Blob( mode ) ", 0, 1, blob},
    {kCallsId, u"Test_Calls", u"Test_Calls", 0, 0, calls},
};
constexpr int kFunctionCount = 3;

std::u16string argument(const FMDataVect* args, uint32_t i) {
    Error err;
    const FMText* text = FM_DataVect_AtAsText(args, i, &err);
    std::u16string out(FM_Text_GetSize(text, &err), u'\0');
    if (!out.empty()) FM_Text_GetUnicode(text, reinterpret_cast<FMUniChar*>(&out[0]), 0, 0xFFFFFFFFu, &err);
    return out;
}

int16_t setText(FMData* result, const FMDataVect* args, const std::u16string& value) {
    Error err;
    FMText* text = FM_Text_Constructor1(&err);
    FM_Text_AssignUnicode(text, reinterpret_cast<const FMUniChar*>(value.c_str()), &err);
    // The first argument's locale; without arguments, the result's own.
    const FMData* first = FM_DataVect_Size(args, &err) > 0 ? FM_DataVect_At(args, 0, &err) : result;
    const FMLocale* locale = FM_Data_GetLocale(first, &err);
    const int16_t code = FM_Data_SetAsText(result, text, locale, FMDataTypeText, &err);
    FM_Text_Delete(text, &err);
    return code;
}

int16_t FMW_STDCALL echo(int16_t, const FMExprEnv*, const FMDataVect* args, FMData* result) {
    ++gHandlerCalls;
    try {
        Error err;
        std::u16string joined;
        const uint32_t n = FM_DataVect_Size(args, &err);
        for (uint32_t i = 0; i < n; ++i) joined += (i ? u"|" : u"") + argument(args, i);
        return setText(result, args, joined);
    } catch (...) {
        return FMErrorOutOfMemory;
    }
}

int16_t addStream(FMBinaryData* binary, const char type[4], uint32_t size, const void* bytes) {
    Error err;
    FMQuadChar* quad = FM_QuadChar_Constructor2(type[0], type[1], type[2], type[3], &err);
    const int16_t code = FM_BinaryData_Add(binary, quad, size, bytes, &err);
    FM_QuadChar_Delete(quad, &err);
    return code;
}

// The PNGf stream goes through a host handle, as image data of real 32-bit
// plug-ins does, so the handle entries of the parameter block are used.
int16_t FMW_STDCALL blob(int16_t, const FMExprEnv*, const FMDataVect* args, FMData* result) {
    ++gHandlerCalls;
    try {
        Error err;
        if (FM_DataVect_Size(args, &err) > 0 && argument(args, 0) == u"fail") return kFailCode;
#if FMW_BLOCK_HAS_HANDLES
        char** handle = gBlock->newHandle(3);
        if (handle == nullptr) return gBlock->memError();
        gBlock->lockHandle(handle);
        (*handle)[0] = 1;
        (*handle)[1] = 2;
        (*handle)[2] = 3;
        FMBinaryData* binary = FM_BinaryData_Constructor1(&err);
        int16_t code = addStream(binary, "PNGf", static_cast<uint32_t>(gBlock->handleSize(handle)), *handle);
        gBlock->unlockHandle(handle);
        gBlock->disposeHandle(handle);
#else
        const char bytes[3] = {1, 2, 3};
        FMBinaryData* binary = FM_BinaryData_Constructor1(&err);
        int16_t code = addStream(binary, "PNGf", 3, bytes);
#endif
        const unsigned char size[4] = {0, 10, 0, 10};
        if (code == 0) code = addStream(binary, "SIZE", 4, size);
        if (code == 0) FM_Data_SetBinaryData(result, binary, 1, &err);
        FM_BinaryData_Delete(binary, &err);
        return code;
    } catch (...) {
        return FMErrorOutOfMemory;
    }
}

int16_t FMW_STDCALL calls(int16_t, const FMExprEnv*, const FMDataVect* args, FMData* result) {
    const int earlier = gHandlerCalls++;
    try {
        const std::string digits = std::to_string(earlier);
        return setText(result, args, std::u16string(digits.begin(), digits.end()));
    } catch (...) {
        return FMErrorOutOfMemory;
    }
}

int16_t registerFunction(const Function& f) {
    Error err;
    FMQuadChar* id = FM_QuadChar_Constructor2('T', 'S', 'T', 'P', &err);
    FMText* name = FM_Text_Constructor1(&err);
    FMText* prototype = FM_Text_Constructor1(&err);
    FM_Text_AssignUnicode(name, reinterpret_cast<const FMUniChar*>(f.name), &err);
    FM_Text_AssignUnicode(prototype, reinterpret_cast<const FMUniChar*>(f.prototype), &err);
    const int16_t code =
        FM_ExprEnv_RegisterExternalFunction(id, f.id, name, prototype, f.minArgs, f.maxArgs, 0xFF01, f.handler, &err);
    FM_Text_Delete(name, &err);
    FM_Text_Delete(prototype, &err);
    FM_QuadChar_Delete(id, &err);
    return code;
}

void unregisterFunctions(int count) {
    Error err;
    FMQuadChar* id = FM_QuadChar_Constructor2('T', 'S', 'T', 'P', &err);
    for (int i = count - 1; i >= 0; --i) FM_ExprEnv_UnRegisterExternalFunction(id, kFunctions[i].id, &err);
    FM_QuadChar_Delete(id, &err);
}

int32_t startup(int16_t version) {
    if (version < 50 || version > 255) return -1;
    for (int i = 0; i < kFunctionCount; ++i) {
        if (registerFunction(kFunctions[i]) != 0) {
            unregisterFunctions(i);
            return -2;
        }
    }
    return sizeof(void*) == 8 ? 53 : 51;
}

// Copies at most size - 1 units and a zero, as LoadStringW does.
void copyString(const char16_t* s, FMUniChar* buffer, uint32_t size) {
    if (buffer == nullptr || size == 0) return;
    uint32_t i = 0;
    for (; s[i] != 0 && i + 1 < size; ++i) buffer[i] = s[i];
    buffer[i] = 0;
}

}  // namespace

extern "C" __declspec(dllexport) void FMW_CDECL FMExternCallProc(FMExternCallStruct* block) {
    gBlock = block;
    auto* buffer = reinterpret_cast<FMUniChar*>(block->result);
    switch (block->whichCall) {
    case FMCallStartup:
        block->result = startup(block->extnVersion);
        break;
    case FMCallShutdown:
        unregisterFunctions(kFunctionCount);
        break;
    case FMCallGetString:
        if (block->stringSelector == FMStringName) copyString(u"Test Plug-In", buffer, block->bufferSize);
        if (block->stringSelector == FMStringDescription)
            copyString(u"Loaded by the tests of the host layer.", buffer, block->bufferSize);
        // Twelve units whatever the buffer's size, as plug-ins commonly write
        // their options string: lets tests see the host notice an overrun.
        if (block->stringSelector == FMStringOptions) copyString(u"TSTP1nnYnnn", buffer, 12);
        break;
    default:
        break;
    }
}
