// Checking and evaluating parsed statements, and the lines that show them.
#include "calc_internal.h"
#include "utf.h"

#include <cstdio>
#include <new>

namespace calc {

namespace {

using detail::Node;

// UTF-8 bytes spelled out, so the sources mean the same to every compiler
// whatever its execution character set.
constexpr const char* kArrow = " \xE2\x86\x92 ";  // " → "
constexpr const char* kPilcrow = "\xC2\xB6";       // "¶"

struct Problem {
    std::size_t offset;
    std::string message;
};

std::string plural(int n, const char* noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

std::string acceptedCounts(const Signature& s) {
    if (s.maxArgs < 0) return "at least " + plural(s.minArgs, "argument");
    if (s.minArgs == s.maxArgs) return plural(s.minArgs, "argument");
    return std::to_string(s.minArgs) + " to " + std::to_string(s.maxArgs) + " arguments";
}

// The first unknown function or wrong argument count in source order; the
// database rejects such a calculation before any of its calls runs.
bool findProblem(const Node& node, FunctionHost& host, Problem* problem) {
    if (node.kind == Node::Kind::Call) {
        const std::string name = hostutf::toUtf8(node.name);
        Signature signature;
        if (!host.lookup(node.name, &signature)) {
            *problem = Problem{node.offset, name + " is not a registered function"};
            return true;
        }
        const int count = static_cast<int>(node.children.size());
        if (count < signature.minArgs || (signature.maxArgs >= 0 && count > signature.maxArgs)) {
            *problem = Problem{node.offset, name + " takes " + acceptedCounts(signature) + ", not " +
                                                std::to_string(count)};
            return true;
        }
    }
    for (const Node& child : node.children)
        if (findProblem(child, host, problem)) return true;
    return false;
}

// A handler's nonzero code ends the statement, as an error ends a
// calculation in the database.
struct HandlerFailure {
    CallResult result;
    std::u16string name;
};

CallResult evaluate(const Node& node, FunctionHost& host) {
    CallResult value;
    switch (node.kind) {
    case Node::Kind::Literal:
        value.text = node.text;
        break;
    case Node::Kind::Concat:
        for (const Node& operand : node.children) value.text += evaluate(operand, host).text;
        break;
    case Node::Kind::Call: {
        std::vector<std::u16string> args;
        args.reserve(node.children.size());
        for (const Node& arg : node.children) args.push_back(evaluate(arg, host).text);
        value = host.call(node.name, args);
        if (value.code != 0) throw HandlerFailure{std::move(value), node.name};
        break;
    }
    }
    return value;
}

std::string describeValue(const CallResult& result) {
    if (!result.binary) return quoteText(result.text);
    if (result.streams.empty()) return "container with no streams";
    std::string out = "container";
    for (std::size_t i = 0; i < result.streams.size(); ++i) {
        out += i == 0 ? " " : ", ";
        out += result.streams[i].type + " " + std::to_string(result.streams[i].bytes.size()) + " bytes";
    }
    return out;
}

}  // namespace

ScriptSummary runScript(std::string_view utf8Script, FunctionHost& host,
                        const std::function<void(const StatementResult&)>& onStatement,
                        int firstNumber) {
    detail::Script script(utf8Script);
    detail::Statement statement;
    ScriptSummary summary;
    while (script.next(&statement)) {
        StatementResult r;
        r.number = firstNumber + summary.statements;
        ++summary.statements;
        Problem problem;
        if (!statement.parsed) {
            r.kind = StatementResult::Kind::Problem;
            r.problem = statement.error;
            script.position(statement.errorOffset, &r.line, &r.column);
        } else {
            try {
                if (findProblem(statement.root, host, &problem)) {
                    r.kind = StatementResult::Kind::Problem;
                    r.problem = problem.message;
                    script.position(problem.offset, &r.line, &r.column);
                } else {
                    r.source = std::move(statement.source);
                    script.position(statement.offset, &r.line, &r.column);
                    r.result = evaluate(statement.root, host);
                }
            } catch (HandlerFailure& failure) {
                r.kind = StatementResult::Kind::HandlerError;
                r.result = std::move(failure.result);
                r.failedFunction = std::move(failure.name);
            } catch (const std::bad_alloc&) {
                // The values of a huge statement, its arguments or its result:
                // this statement fails, and what it held is free for the next.
                const int number = r.number;
                r = StatementResult();
                r.number = number;
                r.kind = StatementResult::Kind::Problem;
                r.problem = detail::kNoMemory;
                script.position(statement.offset, &r.line, &r.column);
            }
        }
        // Its tree and text can be large; the next statement may need the room.
        statement = detail::Statement();
        if (r.kind != StatementResult::Kind::Value) ++summary.failed;
        if (onStatement) onStatement(r);
    }
    return summary;
}

std::string formatStatement(const StatementResult& statement) {
    switch (statement.kind) {
    case StatementResult::Kind::Problem:
        return "line " + std::to_string(statement.line) + ", column " +
               std::to_string(statement.column) + ": " + statement.problem;
    case StatementResult::Kind::HandlerError:
        return statement.source + kArrow + "error " + std::to_string(statement.result.code);
    case StatementResult::Kind::Value:
        break;
    }
    return statement.source + kArrow + describeValue(statement.result);
}

std::string quoteText(std::u16string_view text) {
    std::string out = "\"";
    for (char32_t c : hostutf::decodeUtf16(text)) {
        switch (c) {
        case 13: out += kPilcrow; break;
        case 0x00B6: out += "\\"; out += kPilcrow; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
                out += hex;
            } else {
                hostutf::appendUtf8(out, c);
            }
        }
    }
    return out + "\"";
}

}  // namespace calc
