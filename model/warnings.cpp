#include "model/warnings.h"

#include "model/call.h"

namespace {

// One call runs at a time, on the host's thread.
int16_t gFunction = 0;
std::string gLines;

constexpr size_t kLongestQuote = 60; // characters of a quoted text shown

} // namespace

void startWarnings(int16_t functionId) {
    gFunction = functionId;
    // Keeps its buffer: a clean call allocates nothing.
    gLines.clear();
}

void warn(const std::string &line) {
    if (!gLines.empty()) gLines += '\r';
    gLines += line;
}

int16_t warnedFunction() {
    return gFunction;
}

const std::string &warningLines() {
    return gLines;
}

std::string quoted(const std::string &text) {
    size_t kept = text.size();
    if (kept > kLongestQuote) {
        // Never half a UTF-8 character.
        kept = kLongestQuote;
        while (kept > 0 && (static_cast<unsigned char>(text[kept]) & 0xC0) == 0x80) --kept;
    }
    std::string out;
    out.reserve(kept + 5);
    out.push_back('"');
    out.append(text, 0, kept);
    if (kept < text.size()) out.append("...");
    out.push_back('"');
    return out;
}

void warnUnreadArguments(const CallArguments &args) {
    for (uint32_t index = args.readCount(); index < args.count(); ++index) {
        if (args.wide(index).empty()) continue;
        warn("argument " + std::to_string(index + 1) + " is not read: " + quoted(wideToUtf8(args.wide(index).data())));
    }
}
