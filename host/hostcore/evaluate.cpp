// Scripts of calculations run against the loaded plug-in.
#include "hostcore.h"

#include <windows.h>

namespace hostcore {

namespace {

std::wstring wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::u16string utf16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// The evaluator's view of the plug-in: its registered functions.
class PluginFunctions : public calc::FunctionHost {
public:
    explicit PluginFunctions(PluginHost& host) : host_(host) {}

    bool lookup(const std::u16string& name, calc::Signature* signature) override {
        FunctionInfo info;
        if (!host_.findFunction(wide(name), &info)) return false;
        signature->minArgs = info.minArgs;
        signature->maxArgs = info.maxArgs;
        return true;
    }

    calc::CallResult call(const std::u16string& name, const std::vector<std::u16string>& args) override {
        std::vector<std::wstring> wideArgs;
        wideArgs.reserve(args.size());
        for (const auto& a : args) wideArgs.push_back(wide(a));
        CallResult r = host_.call(wide(name), wideArgs);
        calc::CallResult out;
        // Checked by the evaluator already; a handler that unregistered a
        // function mid-script could still make it vanish.
        if (r.status != CallStatus::Called) {
            out.code = -1;
            return out;
        }
        out.code = r.code;
        out.binary = r.isBinary;
        out.text = utf16(r.text);
        for (Stream& s : r.streams) out.streams.push_back(calc::Stream{s.type, std::move(s.bytes)});
        return out;
    }

private:
    PluginHost& host_;
};

const char* extensionFor(const std::string& type) {
    if (type == "PNGf") return "png";
    if (type == "JPEG") return "jpg";
    return "bin";
}

bool writeFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// Saves every stream of a binary result; returns the names that could not
// be written, for the statement's line.
std::string saveStreams(const calc::StatementResult& r, const std::wstring& dir) {
    std::string failed;
    for (const calc::Stream& s : r.result.streams) {
        const std::wstring name = streamFileName(r.number, s.type);
        if (!writeFile(dir + L"\\" + name, s.bytes)) {
            failed += failed.empty() ? " (could not save " : ", ";
            failed += std::string(name.begin(), name.end());
        }
    }
    return failed.empty() ? failed : failed + ")";
}

}  // namespace

std::wstring streamFileName(int statementNumber, const std::string& type) {
    std::wstring name = std::to_wstring(statementNumber) + L"-";
    for (char c : type) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        name += plain ? static_cast<wchar_t>(c) : L'_';
    }
    const char* ext = extensionFor(type);
    return name + L"." + std::wstring(ext, ext + std::char_traits<char>::length(ext));
}

calc::ScriptSummary PluginHost::evaluate(
    const std::string& utf8Script,
    const std::function<void(const calc::StatementResult&, const std::string& line)>& onStatement,
    const EvalOptions& options) {
    PluginFunctions functions(*this);
    int unsaved = 0; // statements whose streams could not all be saved
    calc::ScriptSummary summary = calc::runScript(
        utf8Script, functions,
        [&](const calc::StatementResult& r) {
            std::string line = calc::formatStatement(r);
            if (!options.saveStreamsDir.empty() && r.kind == calc::StatementResult::Kind::Value &&
                r.result.binary) {
                const std::string failed = saveStreams(r, options.saveStreamsDir);
                if (!failed.empty()) ++unsaved;
                line += failed;
            }
            if (onStatement) onStatement(r, line);
            pumpMessages();
        },
        options.firstNumber);
    summary.failed += unsaved;
    return summary;
}

calc::ScriptSummary PluginHost::evaluate(const std::string& utf8Script, std::ostream& out,
                                         const EvalOptions& options) {
    return evaluate(
        utf8Script,
        [&](const calc::StatementResult&, const std::string& line) { out << line << '\n' << std::flush; },
        options);
}

}  // namespace hostcore
