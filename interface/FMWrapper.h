/*
 * The contract between a database host and a plug-in module.
 *
 * Both sides include this one header: the plug-in calls the FM_* functions
 * that the host library (FMWrapper.dll) exports, and the host fills the
 * parameter block that it passes to the plug-in's FMExternCallProc.
 * FMExternCallProc and the FM_* functions use the C calling convention with
 * undecorated names. On 32-bit Windows the database calls the function
 * handlers and the memory-handle entries of the parameter block with
 * __stdcall (the callee removes its arguments), so they are declared so
 * here; x86-64 has one convention only. Any host built to this header can
 * load any plug-in built to it, and so can the database itself.
 *
 * Texts are sequences of UTF-16 code units. Every FM_* function takes a
 * pointer to an FMError record as its last argument; the library sets its
 * code to 0 on success, 1 when it ran out of memory and 2 for any other
 * failure. Functions that return a 16-bit code return 0 for success.
 *
 * Our library (host/fmwrapper) also fixes what the database leaves open:
 * - a null object pointer is a failure with code 2, except that the
 *   FM_*_Delete functions accept null as "nothing to delete";
 * - no exception leaves any function; a null error record is allowed;
 * - encoding 0 is the system's ANSI code page (the native build uses
 *   Windows-1252); encoding 1 is UTF-8. Malformed UTF-8 becomes U+FFFD;
 * - positions and counts are clamped to the text; FM_Text_GetUnicode writes
 *   exactly the units it copies, without a terminator;
 * - FM_Text_operatorEQ compares units exactly (case matters);
 * - FM_Text_Find with an empty text finds it at start (if start <= size);
 * - FM_Data_SetAsText accepts only FMDataTypeText;
 * - FM_BinaryData_Add refuses (2) a second stream of the same type;
 * - registration returns 2, with the error record left at 0, when the id is
 *   already registered for that plug-in or a test refused it; maxArgs -1
 *   means no upper bound. Unregistering an unknown id returns 2.
 */
#ifndef TESSARY_FMWRAPPER_H
#define TESSARY_FMWRAPPER_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define FMW_CDECL __cdecl
#define FMW_STDCALL __stdcall /* the same as FMW_CDECL on x86-64 */
#if defined(FMW_BUILDING_LIBRARY)
#define FMW_API __declspec(dllexport)
#elif defined(FMW_STATIC)
#define FMW_API
#else
#define FMW_API __declspec(dllimport)
#endif
#else
#define FMW_CDECL
#define FMW_STDCALL
#define FMW_API
#endif

/* Opaque host objects; only the host library knows their layout. */
typedef struct FMText FMText;
typedef struct FMData FMData;
typedef struct FMDataVect FMDataVect;
typedef struct FMLocale FMLocale;
typedef struct FMBinaryData FMBinaryData;
typedef struct FMQuadChar FMQuadChar;
typedef struct FMExprEnv FMExprEnv;

typedef uint16_t FMUniChar; /* one UTF-16 code unit */

enum {
    FMErrorNone = 0,
    FMErrorOutOfMemory = 1,
    FMErrorGeneral = 2
};

typedef struct FMError {
    int32_t version; /* 1 */
    int32_t code;    /* FMErrorNone, FMErrorOutOfMemory or FMErrorGeneral */
} FMError;

enum {
    FMEncodingAnsi = 0, /* the system's ANSI code page */
    FMEncodingUtf8 = 1
};

enum { FMDataTypeText = 1 };

enum { FMTextNotFound = 0xFFFFFFFFu };

/* Handler of an external function, called by the host directly. */
typedef int16_t(FMW_STDCALL *FMExternalHandler)(int16_t functionId,
                                                const FMExprEnv *env,
                                                const FMDataVect *args,
                                                FMData *result);

/* Host memory handles, offered through the 32-bit parameter block. */
typedef char **(FMW_STDCALL *FMNewHandleProc)(int32_t size);
typedef int32_t(FMW_STDCALL *FMHandleSizeProc)(char **handle);
typedef void(FMW_STDCALL *FMHandleProc)(char **handle);
typedef int16_t(FMW_STDCALL *FMMemErrorProc)(void);

/* Message selectors (offset 9 of the 32-bit parameter block, 13 of the
 * 64-bit one). */
enum {
    FMCallStartup = 0,
    FMCallShutdown = 4,
    FMCallGetString = 7
};

/* String selectors of a get-string message (offset 11, or 15 in 64 bits). */
enum {
    FMStringName = 128,
    FMStringDescription = 129,
    FMStringOptions = 131
};

/* The kind of host process, sent at start-up. */
enum FMAppType {
    FMAppDeveloper = 0,
    FMAppDesktop = 1,
    FMAppRuntime = 2,
    FMAppServer = 3,
    FMAppWebPublishing = 4,
    FMAppMobile = 5,
    FMAppDatabaseDriver = 6, /* ODBC and JDBC */
    FMAppServerScripting = 7,
    FMAppInstantWeb = 8,
    FMAppDataApi = 9
};

/*
 * The parameter block of FMExternCallProc, in the layout of the pointer size
 * the module is built for: 32-bit Windows, or 64 bits (64-bit Windows, and
 * the native build of the portable core, which is a 64-bit program and so
 * sees what the .fmx64 sees). Only the named fields that the comments
 * describe are used; the others keep the offsets a host relies on (checked
 * below).
 */
#if UINTPTR_MAX == 0xFFFFFFFFu
#define FMW_BLOCK_HAS_HANDLES 1 /* memory-handle entries at 32..68 */
typedef struct FMExternCallStruct {
    int16_t extnVersion;       /* 0: host's extension version (start-up) */
    uint16_t unused2;
    void *entryPoint;          /* 4: the plug-in's FMExternCallProc */
    uint8_t cfmCalls;          /* 8 */
    uint8_t whichCall;         /* 9: FMCallStartup, FMCallShutdown, FMCallGetString */
    uint8_t unsafeCalls;       /* 10 */
    union {                    /* 11: the call's one-byte parameter */
        uint8_t stringSelector;    /* get string: FMStringName, ... */
        uint8_t appType;           /* start-up: FMAppType of the host */
    };
    uint32_t languageId;       /* 12 (get string) */
    uint32_t bufferSize;       /* 16: size of the string buffer in UTF-16 units */
    void *instanceId;          /* 20: module instance handle of the plug-in */
    intptr_t result;           /* 24: start-up result, or the FMUniChar* buffer */
    void *unused28;
    FMNewHandleProc newHandle;     /* 32: new handle of n bytes, 0 on failure */
    void *reserved36;
    FMHandleSizeProc handleSize;   /* 40 */
    FMHandleProc disposeHandle;    /* 44 */
    void *reserved48;
    FMHandleProc lockHandle;       /* 52 */
    FMHandleProc unlockHandle;     /* 56 */
    void *reserved60;
    void *reserved64;
    FMMemErrorProc memError;       /* 68: last memory error of the host */
} FMExternCallStruct;
#else
/* Packed: the entry point lies at offset 4. There are no memory-handle
 * entries; a plug-in keeps image data in its own memory. */
#define FMW_BLOCK_HAS_HANDLES 0
#pragma pack(push, 1)
typedef struct FMExternCallStruct {
    int16_t extnVersion;       /* 0: host's extension version (start-up) */
    uint16_t unused2;
    void *entryPoint;          /* 4: the plug-in's FMExternCallProc */
    uint8_t cfmCalls;          /* 12 */
    uint8_t whichCall;         /* 13: FMCallStartup, FMCallShutdown, FMCallGetString */
    uint8_t unsafeCalls;       /* 14 */
    union {                    /* 15: the call's one-byte parameter */
        uint8_t stringSelector;    /* get string: FMStringName, ... */
        uint8_t appType;           /* start-up: FMAppType of the host */
    };
    uintptr_t languageId;      /* 16 (get string) */
    uintptr_t bufferSize;      /* 24: size of the string buffer in UTF-16 units */
    void *instanceId;          /* 32: module instance handle of the plug-in */
    intptr_t result;           /* 40: start-up result, or the FMUniChar* buffer */
    void *unused48;
    void *scriptCallback56;    /* 56: script call-backs of the host, unused here */
    void *scriptCallback64;    /* 64 */
} FMExternCallStruct;
#pragma pack(pop)
#endif

#if defined(__cplusplus)
#define FMW_AT(field, offset) static_assert(offsetof(FMExternCallStruct, field) == offset, #field)
FMW_AT(extnVersion, 0);
FMW_AT(unused2, 2);
FMW_AT(entryPoint, 4);
#if UINTPTR_MAX == 0xFFFFFFFFu
FMW_AT(cfmCalls, 8);
FMW_AT(whichCall, 9);
FMW_AT(unsafeCalls, 10);
FMW_AT(stringSelector, 11);
FMW_AT(appType, 11);
FMW_AT(languageId, 12);
FMW_AT(bufferSize, 16);
FMW_AT(instanceId, 20);
FMW_AT(result, 24);
FMW_AT(unused28, 28);
FMW_AT(newHandle, 32);
FMW_AT(reserved36, 36);
FMW_AT(handleSize, 40);
FMW_AT(disposeHandle, 44);
FMW_AT(reserved48, 48);
FMW_AT(lockHandle, 52);
FMW_AT(unlockHandle, 56);
FMW_AT(reserved60, 60);
FMW_AT(reserved64, 64);
FMW_AT(memError, 68);
static_assert(sizeof(FMExternCallStruct) == 72, "32-bit block size");
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
FMW_AT(cfmCalls, 12);
FMW_AT(whichCall, 13);
FMW_AT(unsafeCalls, 14);
FMW_AT(stringSelector, 15);
FMW_AT(appType, 15);
FMW_AT(languageId, 16);
FMW_AT(bufferSize, 24);
FMW_AT(instanceId, 32);
FMW_AT(result, 40);
FMW_AT(unused48, 48);
FMW_AT(scriptCallback56, 56);
FMW_AT(scriptCallback64, 64);
static_assert(sizeof(FMExternCallStruct) == 72, "64-bit block size");
#else
#error "the parameter block has a layout for 32-bit and 64-bit pointers only"
#endif
#undef FMW_AT
#endif

typedef void(FMW_CDECL *FMExternCallProcPtr)(FMExternCallStruct *block);

/* ---- Functions a plug-in calls ---------------------------------------- */

FMW_API FMText *FMW_CDECL FM_Text_Constructor1(FMError *err);
FMW_API void FMW_CDECL FM_Text_Delete(FMText *text, FMError *err);
FMW_API uint32_t FMW_CDECL FM_Text_GetSize(const FMText *text, FMError *err);
FMW_API void FMW_CDECL FM_Text_Assign(FMText *text, const char *s, int32_t encoding, FMError *err);
FMW_API void FMW_CDECL FM_Text_AssignUnicode(FMText *text, const FMUniChar *s, FMError *err);
FMW_API void FMW_CDECL FM_Text_GetUnicode(const FMText *text, FMUniChar *buffer, uint32_t position,
                                          uint32_t count, FMError *err);
/* Writes at most bufferSize - 1 bytes and a terminating zero when bufferSize
 * > 0; a character that does not fit whole is left out, never split. */
FMW_API void FMW_CDECL FM_Text_GetBytes(const FMText *text, char *buffer, uint32_t bufferSize,
                                        uint32_t position, uint32_t count, int32_t encoding,
                                        FMError *err);
FMW_API void FMW_CDECL FM_Text_AppendText(FMText *text, const FMText *other, uint32_t position,
                                          uint32_t count, FMError *err);
FMW_API uint8_t FMW_CDECL FM_Text_operatorEQ(const FMText *text, const FMText *other, FMError *err);
FMW_API uint32_t FMW_CDECL FM_Text_Find(const FMText *text, const FMText *other, uint32_t start,
                                        FMError *err);
FMW_API void FMW_CDECL FM_Text_DeleteText(FMText *text, uint32_t position, uint32_t count,
                                          FMError *err);

FMW_API uint32_t FMW_CDECL FM_DataVect_Size(const FMDataVect *vect, FMError *err);
/* An index past the end yields an empty value, not an error. */
FMW_API const FMData *FMW_CDECL FM_DataVect_At(const FMDataVect *vect, uint32_t index, FMError *err);
FMW_API const FMText *FMW_CDECL FM_DataVect_AtAsText(const FMDataVect *vect, uint32_t index,
                                                     FMError *err);

FMW_API const FMLocale *FMW_CDECL FM_Data_GetLocale(const FMData *data, FMError *err);
FMW_API int16_t FMW_CDECL FM_Data_SetAsText(FMData *data, const FMText *text, const FMLocale *locale,
                                            int32_t dataType, FMError *err);
FMW_API void FMW_CDECL FM_Data_SetBinaryData(FMData *data, const FMBinaryData *binary,
                                             uint8_t forceBinary, FMError *err);

FMW_API FMBinaryData *FMW_CDECL FM_BinaryData_Constructor1(FMError *err);
FMW_API void FMW_CDECL FM_BinaryData_Delete(FMBinaryData *binary, FMError *err);
FMW_API int16_t FMW_CDECL FM_BinaryData_Add(FMBinaryData *binary, const FMQuadChar *type,
                                            uint32_t size, const void *bytes, FMError *err);

FMW_API FMQuadChar *FMW_CDECL FM_QuadChar_Constructor2(char c0, char c1, char c2, char c3,
                                                       FMError *err);
FMW_API void FMW_CDECL FM_QuadChar_Delete(FMQuadChar *quad, FMError *err);

FMW_API int16_t FMW_CDECL FM_ExprEnv_RegisterExternalFunction(
    const FMQuadChar *pluginId, int16_t functionId, const FMText *name, const FMText *prototype,
    int16_t minArgs, int16_t maxArgs, uint32_t flags, FMExternalHandler handler, FMError *err);
FMW_API int16_t FMW_CDECL FM_ExprEnv_UnRegisterExternalFunction(const FMQuadChar *pluginId,
                                                                int16_t functionId, FMError *err);

/* ---- Functions only a host calls ---------------------------------------
 * These build the argument vectors and result objects a host hands to a
 * handler, enumerate what plug-ins registered, provide the memory handle
 * services of the parameter block, and inject faults for tests. */

typedef struct FMRegisteredFunction {
    char pluginId[5];          /* four characters and a zero */
    int16_t functionId;
    int16_t minArgs;
    int16_t maxArgs;
    uint32_t flags;
    FMExternalHandler handler;
    const FMText *name;        /* owned by the registry */
    const FMText *prototype;   /* owned by the registry */
} FMRegisteredFunction;

FMW_API uint32_t FMW_CDECL FMW_Registry_Count(void);
/* Returns 0 when index is past the end; the record stays valid until the
 * registry next changes. */
FMW_API int FMW_CDECL FMW_Registry_At(uint32_t index, FMRegisteredFunction *out);
FMW_API void FMW_CDECL FMW_Registry_Clear(void);
/* Every register and unregister call in order, as "R1 R2 U2 U1", newest
 * last; cleared by FMW_Registry_Clear. Returns the length written, cut to
 * fit size - 1 bytes plus a zero. */
FMW_API uint32_t FMW_CDECL FMW_Registry_Log(char *buffer, uint32_t size);

FMW_API FMDataVect *FMW_CDECL FMW_DataVect_New(void);
FMW_API void FMW_CDECL FMW_DataVect_Delete(FMDataVect *vect);
/* Appends a text argument of length units (s need not be terminated);
 * returns 1, or 0 when out of memory or vect is null. */
FMW_API int FMW_CDECL FMW_DataVect_PushText(FMDataVect *vect, const FMUniChar *s, uint32_t length);

/* An empty value (neither text nor binary) for a handler's result. */
FMW_API FMData *FMW_CDECL FMW_Data_New(void);
FMW_API void FMW_CDECL FMW_Data_Delete(FMData *data);
/* 1 when the data holds text; 0 when empty or binary. */
FMW_API int FMW_CDECL FMW_Data_IsText(const FMData *data);
FMW_API const FMText *FMW_CDECL FMW_Data_Text(const FMData *data);
FMW_API uint32_t FMW_CDECL FMW_Data_StreamCount(const FMData *data);
/* Stream i of binary data: type (four characters and a zero), size and bytes. */
FMW_API int FMW_CDECL FMW_Data_StreamAt(const FMData *data, uint32_t index, char type[5],
                                        uint32_t *size, const uint8_t **bytes);

/* The expression environment a host passes to a handler. */
FMW_API FMExprEnv *FMW_CDECL FMW_ExprEnv_New(void);
FMW_API void FMW_CDECL FMW_ExprEnv_Delete(FMExprEnv *env);

/* The memory-handle entries of the 32-bit parameter block (__stdcall there,
 * as the block's types say); exported on 64 bits too, where the block has
 * no place for them.
 * Handles hold zero-filled bytes that never move. FMW_MemError reports the
 * last handle call: 0 success, 1 out of memory, 2 a negative size or a
 * handle that is not live (such a handle is left alone, never freed). */
FMW_API char **FMW_STDCALL FMW_NewHandle(int32_t size);
FMW_API int32_t FMW_STDCALL FMW_HandleSize(char **handle);
FMW_API void FMW_STDCALL FMW_DisposeHandle(char **handle);
FMW_API void FMW_STDCALL FMW_LockHandle(char **handle);
FMW_API void FMW_STDCALL FMW_UnlockHandle(char **handle);
FMW_API int16_t FMW_STDCALL FMW_MemError(void);
/* Number of handles allocated and not yet disposed of. */
FMW_API int32_t FMW_CDECL FMW_LiveHandles(void);

/* Fault injection. Each armed fault fires once and is then disarmed. */
FMW_API void FMW_CDECL FMW_Test_RefuseRegistration(int16_t functionId);
/* The n-th (from 1) later call of the named FM_* function reports code
 * (1 or 2) through its error record. */
FMW_API void FMW_CDECL FMW_Test_FailCall(const char *functionName, uint32_t nth, int32_t code);
/* The n-th (from 1) later handle allocation returns 0 and sets the memory
 * error to 1. */
FMW_API void FMW_CDECL FMW_Test_FailHandleAllocation(uint32_t nth);
FMW_API void FMW_CDECL FMW_Test_Reset(void);
/* Strict mode plays a host that promises nothing past an argument vector's
 * end: such a read still yields an empty value, and is recorded. Switching
 * the mode forgets what was recorded. */
FMW_API void FMW_CDECL FMW_Test_SetStrict(int on);
/* The first read past the end since the last take, as "FM_DataVect_AtAsText
 * read argument 3 of a vector of 2", cut to fit size - 1 bytes plus a zero;
 * returns its full length, 0 when there was none, and forgets it. */
FMW_API uint32_t FMW_CDECL FMW_Test_TakeViolation(char *buffer, uint32_t size);
/* Fills the memory-handle entries of a 32-bit block with this library's
 * handles, as a host that offers them does; nothing on 64 bits. */
FMW_API void FMW_CDECL FMW_Block_SetHandleEntries(FMExternCallStruct *block);

#ifdef __cplusplus
}
#endif

#endif
