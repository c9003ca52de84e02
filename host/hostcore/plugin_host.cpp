// Loading a plug-in, its lifecycle messages, and calls of its functions.
#include "hostcore.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <cstring>
#include <memory>

namespace hostcore {

namespace {

constexpr FMUniChar kUnwritten = 0xFFFF;       // prefill of get-string buffers
constexpr uint32_t kGuardUnits = 64;           // watched past the buffer's end
constexpr uint32_t kMaxStringBuffer = 1u << 20; // units

std::wstring textOf(const FMText* text) {
    FMError err{1, 0};
    const uint32_t size = FM_Text_GetSize(text, &err);
    std::wstring out(size, L'\0');
    if (size != 0) FM_Text_GetUnicode(text, reinterpret_cast<FMUniChar*>(&out[0]), 0, size, &err);
    if (err.code != 0) out.clear();
    return out;
}

std::wstring systemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring message = length != 0 ? std::wstring(buffer, length) : std::wstring();
    if (buffer != nullptr) LocalFree(buffer);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message + L" (error " + std::to_wstring(code) + L")";
}

bool equalIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

FunctionInfo infoOf(const FMRegisteredFunction& r) {
    FunctionInfo info;
    info.pluginId = r.pluginId;
    info.id = r.functionId;
    info.name = textOf(r.name);
    info.prototype = textOf(r.prototype);
    info.minArgs = r.minArgs;
    info.maxArgs = r.maxArgs;
    info.flags = r.flags;
    return info;
}

// Host objects handed to one handler call, released whatever happens.
struct CallObjects {
    FMDataVect* args = FMW_DataVect_New();
    FMData* result = FMW_Data_New();
    FMExprEnv* env = FMW_ExprEnv_New();
    ~CallObjects() {
        FMW_DataVect_Delete(args);
        FMW_Data_Delete(result);
        FMW_ExprEnv_Delete(env);
    }
    bool complete() const { return args != nullptr && result != nullptr && env != nullptr; }
};

void readResult(const FMData* data, CallResult* r) {
    if (FMW_Data_IsText(data)) {
        r->isText = true;
        r->text = textOf(FMW_Data_Text(data));
        return;
    }
    const uint32_t count = FMW_Data_StreamCount(data);
    for (uint32_t i = 0; i < count; ++i) {
        char type[5];
        uint32_t size = 0;
        const uint8_t* bytes = nullptr;
        if (!FMW_Data_StreamAt(data, i, type, &size, &bytes)) break;
        Stream s;
        s.type = type;
        if (size != 0) s.bytes.assign(bytes, bytes + size);
        r->streams.push_back(std::move(s));
        r->isBinary = true;
    }
}

}  // namespace

PluginHost::PluginHost() { std::memset(&block_, 0, sizeof block_); }

PluginHost::~PluginHost() { unload(); }

bool PluginHost::load(const std::wstring& path, std::wstring* error) {
    unload();
    // The full path, so that LOAD_WITH_ALTERED_SEARCH_PATH finds the
    // plug-in's own neighbours.
    wchar_t full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    const wchar_t* target = length != 0 && length < std::size(full) ? full : path.c_str();
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExW(target, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD loadError = GetLastError();
    SetErrorMode(oldMode);
    if (module == nullptr) {
        if (error) *error = L"cannot load " + path + L": " + systemMessage(loadError);
        return false;
    }
    auto entry = reinterpret_cast<FMExternCallProcPtr>(
        reinterpret_cast<void*>(GetProcAddress(module, "FMExternCallProc")));
    if (entry == nullptr) {
        FreeLibrary(module);
        if (error) *error = path + L" exports no FMExternCallProc";
        return false;
    }
    module_ = module;
    entry_ = entry;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const char*>(module) + dos->e_lfanew);
    imageEnd_ = reinterpret_cast<uintptr_t>(module) + nt->OptionalHeader.SizeOfImage;
    std::memset(&block_, 0, sizeof block_);
    block_.entryPoint = reinterpret_cast<void*>(entry);
    block_.instanceId = module;
    FMW_Block_SetHandleEntries(&block_);
    FMW_Test_SetStrict(1);
    return true;
}

bool PluginHost::loaded() const { return module_ != nullptr; }

void* PluginHost::module() const { return module_; }

FMExternCallStruct& PluginHost::block() { return block_; }

void PluginHost::send(uint8_t whichCall) {
    if (entry_ == nullptr) return;
    block_.whichCall = whichCall;
    entry_(&block_);
}

int32_t PluginHost::startup(int16_t extnVersion, uint8_t appType) {
    if (entry_ == nullptr) return 0;
    block_.extnVersion = extnVersion;
    block_.appType = appType;
    block_.result = 0;
    send(FMCallStartup);
    const auto result = static_cast<int32_t>(block_.result);
    running_ = result == kStartupSuccess;
    return result;
}

StringResult PluginHost::getString(uint8_t selector, uint32_t bufferSize) {
    StringResult r;
    if (entry_ == nullptr || bufferSize > kMaxStringBuffer) return r;
    std::vector<FMUniChar> buffer(bufferSize + kGuardUnits, kUnwritten);
    block_.stringSelector = selector;
    block_.bufferSize = bufferSize;
    block_.result = reinterpret_cast<intptr_t>(buffer.data());
    send(FMCallGetString);
    block_.result = 0; // the buffer is gone after this call

    r.units.assign(buffer.begin(), buffer.begin() + bufferSize);
    r.written = std::any_of(buffer.begin(), buffer.end(), [](FMUniChar u) { return u != kUnwritten; });
    r.overrun = static_cast<uint32_t>(
        std::count_if(buffer.begin() + bufferSize, buffer.end(), [](FMUniChar u) { return u != kUnwritten; }));
    const auto zero = std::find(r.units.begin(), r.units.end(), FMUniChar(0));
    r.terminated = zero != r.units.end();
    auto end = zero;
    if (!r.terminated) {
        end = r.units.begin();
        while (end != r.units.end() && *end != kUnwritten) ++end;
    }
    r.text.assign(r.units.begin(), end);
    return r;
}

void PluginHost::shutdown() {
    if (entry_ == nullptr) return;
    send(FMCallShutdown);
    running_ = false;
}

void PluginHost::unload() {
    if (module_ == nullptr) return;
    if (running_) shutdown();
    FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
    imageEnd_ = 0;
    entry_ = nullptr;
    std::memset(&block_, 0, sizeof block_);
}

// A handler of another module, or of a plug-in that was unloaded without
// unregistering, must never be called through this host.
bool PluginHost::ownsHandler(FMExternalHandler handler) const {
    const auto address = reinterpret_cast<uintptr_t>(handler);
    return module_ != nullptr && address >= reinterpret_cast<uintptr_t>(module_) && address < imageEnd_;
}

std::vector<FunctionInfo> PluginHost::functions() const {
    std::vector<FunctionInfo> out;
    const uint32_t count = FMW_Registry_Count();
    for (uint32_t i = 0; i < count; ++i) {
        FMRegisteredFunction r;
        if (FMW_Registry_At(i, &r) && ownsHandler(r.handler)) out.push_back(infoOf(r));
    }
    return out;
}

// Exact names first; then ASCII case is ignored, as the database does.
bool PluginHost::findRecord(const std::wstring& name, FMRegisteredFunction* record) const {
    const uint32_t count = FMW_Registry_Count();
    for (int pass = 0; pass < 2; ++pass) {
        for (uint32_t i = 0; i < count; ++i) {
            FMRegisteredFunction r;
            if (!FMW_Registry_At(i, &r) || !ownsHandler(r.handler)) continue;
            const std::wstring candidate = textOf(r.name);
            if (pass == 0 ? candidate == name : equalIgnoringAsciiCase(candidate, name)) {
                *record = r;
                return true;
            }
        }
    }
    return false;
}

bool PluginHost::findFunction(const std::wstring& name, FunctionInfo* info) const {
    FMRegisteredFunction r;
    if (!findRecord(name, &r)) return false;
    if (info) *info = infoOf(r);
    return true;
}

CallResult PluginHost::call(const std::wstring& name, const std::vector<std::wstring>& args) {
    CallResult r;
    if (module_ == nullptr) {
        r.status = CallStatus::NotLoaded;
        return r;
    }
    FMRegisteredFunction record;
    if (!findRecord(name, &record)) {
        r.status = CallStatus::UnknownFunction;
        return r;
    }
    const auto count = static_cast<int>(args.size());
    if (count < record.minArgs) {
        r.status = CallStatus::TooFewArguments;
        return r;
    }
    if (record.maxArgs >= 0 && count > record.maxArgs) {
        r.status = CallStatus::TooManyArguments;
        return r;
    }
    CallObjects objects;
    if (!objects.complete()) {
        r.status = CallStatus::OutOfMemory;
        return r;
    }
    for (const std::wstring& a : args) {
        if (!FMW_DataVect_PushText(objects.args, reinterpret_cast<const FMUniChar*>(a.data()),
                                   static_cast<uint32_t>(a.size()))) {
            r.status = CallStatus::OutOfMemory;
            return r;
        }
    }
    r.code = record.handler(record.functionId, objects.env, objects.args, objects.result);
    // A read past the arguments passed is a fault that the real host is not
    // documented to forgive: the run ends here, loudly, naming the call.
    char violation[256];
    if (FMW_Test_TakeViolation(violation, sizeof violation) != 0) {
        std::fprintf(stderr, "strict host: %ls with %u argument(s): %s\n", name.c_str(), unsigned(args.size()),
                     violation);
        std::fflush(stderr);
        std::abort();
    }
    readResult(objects.result, &r);
    return r;
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace hostcore
