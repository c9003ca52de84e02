// The calling conventions of the plug-in interface, seen from a frame that
// watches the stack pointer. On 32-bit Windows the database calls function
// handlers and the memory-handle entries of the parameter block with
// __stdcall (the callee removes its arguments) and FMExternCallProc and the
// FM_* functions with __cdecl (the caller removes them). A wrong convention
// in the shared header compiles alike on both sides and only unbalances the
// real host's stack, so the expectation here is the host's, written in
// assembly, not the header's.
#include "hostcore.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#if defined(__i386__)
extern "C" {
// Pushes `count` arguments (the last first) and calls `fn` the way the
// database does: it removes nothing after the call. Stores the 32-bit return
// value in *result and returns how far the stack pointer moved across the
// call: 0 when the callee removed its arguments, -4 * count when it left them.
int32_t callWatchingStack(const void *fn, const uintptr_t *args, int32_t count, uint32_t *result);
}
asm(R"(
    .text
    .globl _callWatchingStack
_callWatchingStack:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    movl 20(%ebp), %ecx
    movl %eax, (%ecx)
    movl %esp, %eax
    subl %edi, %eax
    movl %edi, %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
)");
#endif

namespace {

#if defined(__i386__)
struct Watched {
    int32_t drift;   // bytes the stack pointer moved across the call
    uint32_t result; // eax
};

template <typename... A>
Watched callWatched(const void *fn, A... args) {
    const uintptr_t list[] = {uintptr_t(args)..., 0};
    Watched w{};
    w.drift = callWatchingStack(fn, list, int32_t(sizeof...(A)), &w.result);
    return w;
}

std::wstring textOf(const FMText *text) {
    FMError err{1, 0};
    std::wstring out(FM_Text_GetSize(text, &err), L'\0');
    if (!out.empty()) FM_Text_GetUnicode(text, reinterpret_cast<FMUniChar *>(&out[0]), 0, uint32_t(out.size()), &err);
    return out;
}

FMExternalHandler handlerOf(const std::wstring &name) {
    for (uint32_t i = 0; i < FMW_Registry_Count(); ++i) {
        FMRegisteredFunction r;
        if (FMW_Registry_At(i, &r) && textOf(r.name) == name) return r.handler;
    }
    return nullptr;
}
#endif

class CallingConventions : public ::testing::Test {
protected:
    void SetUp() override {
        FMW_Registry_Clear();
        std::wstring error;
        ASSERT_TRUE(host.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error));
        ASSERT_EQ(host.startup(), hostcore::kStartupSuccess);
    }
    hostcore::PluginHost host;
};

} // namespace

TEST_F(CallingConventions, HandlersAndHandleEntriesRemoveTheirArgumentsAndTheRestLeaveThem) {
#if !defined(__i386__)
    GTEST_SKIP() << "x86-64 has a single calling convention";
#else
    // A handler of the plug-in, through the pointer it registered.
    FMExternalHandler handler = handlerOf(L"Tessary_Version");
    ASSERT_NE(handler, nullptr);
    FMDataVect *args = FMW_DataVect_New();
    const FMUniChar kShort[] = {'s', 'h', 'o', 'r', 't'};
    FMW_DataVect_PushText(args, kShort, 5);
    FMData *result = FMW_Data_New();
    FMExprEnv *env = FMW_ExprEnv_New();
    Watched call = callWatched(reinterpret_cast<const void *>(handler), 1, env, args, result);
    EXPECT_EQ(call.drift, 0) << "a handler removes its four arguments";
    EXPECT_EQ(call.result & 0xFFFF, 0u);
    ASSERT_TRUE(FMW_Data_IsText(result));
    EXPECT_EQ(textOf(FMW_Data_Text(result)), host.call(L"Tessary_Version", {L"short"}).text);
    FMW_ExprEnv_Delete(env);
    FMW_Data_Delete(result);
    FMW_DataVect_Delete(args);

    // The handle entries, through the block the plug-in receives.
    const FMExternCallStruct &block = host.block();
    const int32_t liveBefore = FMW_LiveHandles();
    Watched made = callWatched(reinterpret_cast<const void *>(block.newHandle), 16);
    EXPECT_EQ(made.drift, 0) << "newHandle";
    ASSERT_NE(made.result, 0u);
    const uintptr_t handle = made.result;
    Watched size = callWatched(reinterpret_cast<const void *>(block.handleSize), handle);
    EXPECT_EQ(size.drift, 0) << "handleSize";
    EXPECT_EQ(size.result, 16u);
    for (const void *entry : {reinterpret_cast<const void *>(block.lockHandle),
                              reinterpret_cast<const void *>(block.unlockHandle),
                              reinterpret_cast<const void *>(block.disposeHandle)}) {
        EXPECT_EQ(callWatched(entry, handle).drift, 0) << "lock, unlock and dispose";
    }
    EXPECT_EQ(FMW_LiveHandles(), liveBefore) << "the handle was disposed of";

    // FMExternCallProc and the FM_* functions leave their arguments.
    FMExternCallStruct &message = host.block();
    message.whichCall = 8; // a selector without meaning
    const void *entry = reinterpret_cast<const void *>(
        GetProcAddress(static_cast<HMODULE>(host.module()), "FMExternCallProc"));
    EXPECT_EQ(callWatched(entry, &message).drift, -4) << "FMExternCallProc";
    FMError err{1, 0};
    Watched text = callWatched(reinterpret_cast<const void *>(&FM_Text_Constructor1), &err);
    EXPECT_EQ(text.drift, -4) << "FM_Text_Constructor1";
    ASSERT_NE(text.result, 0u);
    FM_Text_Delete(reinterpret_cast<FMText *>(uintptr_t(text.result)), &err);
#endif
}
