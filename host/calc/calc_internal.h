// The parsed form of calculations, shared by the parser and the evaluator.
#ifndef TESSARY_HOST_CALC_INTERNAL_H
#define TESSARY_HOST_CALC_INTERNAL_H

#include "calc.h"

#include <cstddef>
#include <string>
#include <vector>

namespace calc::detail {

// The problem of a statement that needed more memory than there was.
constexpr const char* kNoMemory = "not enough memory for this statement";

struct Node {
    enum class Kind { Literal, Call, Concat };
    Kind kind = Kind::Literal;
    std::u16string text;        // Literal: its value
    std::u16string name;        // Call: the function name
    std::size_t offset = 0;     // where the node starts in the script
    std::vector<Node> children; // Call: arguments; Concat: operands
};

struct Statement {
    bool parsed = false;      // false: a syntax error, see error
    Node root;                // parsed: the expression
    std::size_t offset = 0;   // first character of the statement
    std::string source;       // parsed: UTF-8 text, lines joined by a space
    std::size_t errorOffset = 0;
    std::string error;        // not parsed: what is wrong at errorOffset
};

// A script split into statements, parsed one at a time.
class Script {
public:
    explicit Script(std::string_view utf8);
    // Parses the next statement; false when none is left.
    bool next(Statement* statement);
    // 1-based line and column of an offset.
    void position(std::size_t offset, int* line, int* column) const;

private:
    std::u32string text_;               // line ends normalised to LF
    std::vector<std::size_t> lineStarts_; // offset of each line's start
    std::size_t pos_ = 0;
};

}  // namespace calc::detail

#endif
