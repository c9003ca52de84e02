// Calculations written the way the database writes calls of external
// functions, evaluated statement by statement against a function host:
//
//     # comment lines start with # or //
//     Tessary_Dialog( "" ; "Title" ; "Hello¶World" ; "OK" )
//     Tessary_Version( "long" ) & " on " & Tessary_Version( "platform" )
//     Tessary_Dialog( "" ;
//         "Title" ; "a statement spans lines while a parenthesis is open" ;
//         "OK" )   // comments may also end a line
//
// Operands are string literals in double quotes (¶ is a carriage return,
// 13; \" a quote, \\ a backslash, \¶ the character ¶; any other backslash
// stays as written), numbers such as 12 or -3.5 (their text as written), a
// bare ¶, calls, and parenthesised expressions; & concatenates. A statement
// with a syntax error, an unknown function or a wrong argument count yields
// one problem line and the statements after it still run; so does one that
// needs more memory than there is.
#ifndef TESSARY_HOST_CALC_H
#define TESSARY_HOST_CALC_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace calc {

// Argument counts a function accepts.
struct Signature {
    int minArgs = 0;
    int maxArgs = 0; // -1: no upper bound
};

struct Stream {
    std::string type;           // four characters, e.g. "PNGf"
    std::vector<uint8_t> bytes; // the stream's content
};

// What one call of a function gave back.
struct CallResult {
    int code = 0;                // the handler's 16-bit code, 0 for success
    bool binary = false;         // true: the result is the streams below
    std::u16string text;         // the text result (empty when binary)
    std::vector<Stream> streams; // the container's streams, in order
};

// Where calls go: the loaded plug-in in the host, a table in tests.
class FunctionHost {
public:
    virtual ~FunctionHost() = default;
    // Fills the signature of the function registered under name; false
    // when there is none.
    virtual bool lookup(const std::u16string& name, Signature* signature) = 0;
    // Calls it; the evaluator has already checked the argument count.
    virtual CallResult call(const std::u16string& name, const std::vector<std::u16string>& args) = 0;
};

// The outcome of one statement.
struct StatementResult {
    enum class Kind {
        Value,        // every call succeeded; result holds the value
        HandlerError, // a handler returned a nonzero code (result.code)
        Problem       // not run: syntax, unknown function, argument count; or
                      // stopped where memory ran out (calls before may have run)
    };
    Kind kind = Kind::Value;
    int number = 0;      // 1-based position among the statements run
    int line = 0;        // Problem: where it is; otherwise the statement's start
    int column = 0;      // 1-based, in characters
    std::string source;  // UTF-8 statement text, continuation lines joined
    std::string problem; // Problem: e.g. "expected ';' or ')'"
    CallResult result;   // Value: the value; HandlerError: the failing call
    std::u16string failedFunction; // HandlerError: name of the failing call
};

struct ScriptSummary {
    int statements = 0; // statements seen, problems included
    int failed = 0;     // problems and handler errors
};

// Runs a UTF-8 script (a byte order mark is skipped; malformed bytes read
// as U+FFFD). onStatement sees each statement's result before the next
// statement runs; numbers start at firstNumber.
ScriptSummary runScript(std::string_view utf8Script, FunctionHost& host,
                        const std::function<void(const StatementResult&)>& onStatement,
                        int firstNumber = 1);

// One output line (UTF-8, no newline):
//   Tessary_Version( "long" ) → "Tessary Plug-In 0.55"
//   Tessary_CreateColor( "" ; "255000000" ) → container JPEG 631 bytes, PNGf 116 bytes, SIZE 4 bytes
//   Tessary_Dialog( ... ) → error 7
//   line 3, column 17: expected ';' or ')'
std::string formatStatement(const StatementResult& statement);

// A text as a quoted literal in the evaluator's own notation: CR as ¶, and
// \" \\ \¶ for the characters it escapes. Other control characters, which a
// literal cannot hold, are shown as \n, \t or \xHH.
std::string quoteText(std::u16string_view text);

}  // namespace calc

#endif
