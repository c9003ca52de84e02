// The host layer: loads a plug-in module and talks to it the way the
// database application does. fmhost and the end-to-end tests build on it.
//
//     hostcore::PluginHost host;
//     std::wstring error;
//     if (!host.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error)) ...
//     if (host.startup(60) != hostcore::kStartupSuccess) ...
//     host.getString(FMStringName).text             // L"Tessary Plug-In"
//     auto r = host.call(L"Tessary_Version", {L"long"});
//     r.status == hostcore::CallStatus::Called, r.code == 0, r.text == L"Tessary Plug-In 0.55"
//     host.evaluate("Tessary_Version( \"long\" )\n", std::cout, {});
//     host.shutdown();
//     host.unload();
//
// One thread: everything, plug-in calls and their dialogs included, runs on
// the thread that calls these functions, as on the database's UI thread.
#ifndef TESSARY_HOSTCORE_H
#define TESSARY_HOSTCORE_H

#include "FMWrapper.h"
#include "calc/calc.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace hostcore {

// Start-up result of a plug-in that registered its functions: the extension
// version it is written to, 51, or 53 (the first that a 64-bit host accepts).
constexpr int32_t kStartupSuccess = sizeof(void*) == 8 ? 53 : 51;
// The file name suffix of the plug-ins this host loads: a 64-bit host loads
// 64-bit plug-ins only, and they carry their own suffix.
constexpr const wchar_t* kPluginSuffix = sizeof(void*) == 8 ? L".fmx64" : L".fmx";
// Extension version the host announces unless told otherwise.
constexpr int16_t kDefaultExtnVersion = 60;

// A registered function of the loaded plug-in, from FMWrapper's registry.
struct FunctionInfo {
    std::string pluginId;   // four characters, e.g. "VRNQ"
    int16_t id = 0;         // the plug-in's function id
    std::wstring name;      // e.g. L"Tessary_Version"
    std::wstring prototype; // e.g. L"Tessary_Version( versionFormat )"
    int16_t minArgs = 0;
    int16_t maxArgs = 0;    // -1: no upper bound
    uint32_t flags = 0;
};

struct Stream {
    std::string type;           // four characters, e.g. "PNGf"
    std::vector<uint8_t> bytes; // the stream's content
};

enum class CallStatus {
    Called,           // the handler ran; see code and the result
    NotLoaded,        // no plug-in is loaded
    UnknownFunction,  // no function of the loaded plug-in has this name
    TooFewArguments,  // refused before the handler, as the database does
    TooManyArguments,
    OutOfMemory       // the argument vector or result could not be built
};

struct CallResult {
    CallStatus status = CallStatus::Called;
    int16_t code = 0;            // Called: the handler's return value
    bool isText = false;         // the handler set a text result
    bool isBinary = false;       // the handler set binary data
    std::wstring text;           // isText: the result
    std::vector<Stream> streams; // isBinary: the streams in order
};

// What a get-string message left in the buffer. The buffer is prefilled
// with 0xFFFF units, so "written" means "a unit changed".
struct StringResult {
    bool written = false;         // any unit of the buffer (or past it) changed
    bool terminated = false;      // a zero unit lies within the buffer size
    std::wstring text;            // up to the first zero unit, or every unit if none
    std::vector<FMUniChar> units; // the buffer (bufferSize units) as left
    uint32_t overrun = 0;         // units written past bufferSize: a plug-in fault
};

struct EvalOptions {
    std::wstring saveStreamsDir; // not empty: binary results are saved here as
                                 // <number>-<TYPE>.<png|jpg|bin>
    int firstNumber = 1;         // number of the first statement
};

class PluginHost {
public:
    PluginHost();
    // Shuts a started plug-in down and unloads it.
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Loads the module and finds FMExternCallProc. A relative path is taken
    // from the current directory; modules beside the plug-in are found.
    // The host is strict from here on: a function that reads an argument
    // past the ones it was passed ends the program with a message that
    // names it (FMW_Test_SetStrict).
    // On failure returns false and describes why in *error.
    bool load(const std::wstring& path, std::wstring* error = nullptr);
    bool loaded() const;
    // The module handle (HMODULE) passed to the plug-in as its instance.
    void* module() const;

    // Sends start-up (selector 0) with this extension version and the kind
    // of host process, and returns the result (offset 24 of the 32-bit
    // block, 40 of the 64-bit one) as a 32-bit value.
    int32_t startup(int16_t extnVersion = kDefaultExtnVersion, uint8_t appType = FMAppDesktop);
    // Sends get-string (selector 7) with a buffer of bufferSize units (at
    // most 1,048,576; a larger size sends nothing).
    StringResult getString(uint8_t selector, uint32_t bufferSize = 1024);
    // Sends any selector with the block exactly as it is otherwise.
    void send(uint8_t whichCall);
    // The parameter block the plug-in receives on every message; it stays
    // at this address while the plug-in is loaded.
    FMExternCallStruct& block();
    // Sends shut-down (selector 4).
    void shutdown();
    // Shuts down first if the last start-up succeeded and no shut-down
    // followed; then frees the module.
    void unload();

    // The registered functions whose handlers lie in the loaded module, in
    // registration order.
    std::vector<FunctionInfo> functions() const;
    // Finds a function by name: exact match first, then ignoring ASCII case.
    bool findFunction(const std::wstring& name, FunctionInfo* info) const;
    // Calls a function with text arguments, refusing counts outside its
    // minimum and maximum before the handler runs.
    CallResult call(const std::wstring& name, const std::vector<std::wstring>& args);

    // Runs a UTF-8 script (see calc/calc.h) against the plug-in and writes
    // one UTF-8 line per statement to out, flushed at once. Window messages
    // are dispatched between statements, as the database's own loop would.
    calc::ScriptSummary evaluate(const std::string& utf8Script, std::ostream& out,
                                 const EvalOptions& options = EvalOptions());
    // The same, handing each statement and its line to a callback.
    calc::ScriptSummary evaluate(
        const std::string& utf8Script,
        const std::function<void(const calc::StatementResult&, const std::string& line)>& onStatement,
        const EvalOptions& options = EvalOptions());

private:
    bool ownsHandler(FMExternalHandler handler) const;
    bool findRecord(const std::wstring& name, FMRegisteredFunction* record) const;

    void* module_ = nullptr;                  // HMODULE
    uintptr_t imageEnd_ = 0;                  // first address past the module's image
    FMExternCallProcPtr entry_ = nullptr;     // FMExternCallProc
    FMExternCallStruct block_;                // see block()
    bool running_ = false;                    // started and not shut down
};

// Dispatches every queued window message of this thread and returns.
void pumpMessages();

// File name under which a stream of a statement's binary result is saved.
std::wstring streamFileName(int statementNumber, const std::string& type);

}  // namespace hostcore

#endif
