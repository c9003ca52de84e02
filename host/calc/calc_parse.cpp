// Splitting a script into statements and parsing each into a tree.
//
// A newline ends a statement unless a parenthesis is open. After a syntax
// error the statement's true end is unknown, so parsing resumes at the next
// line that begins, at its first column, with a name: the way statements
// are written, that is where the next call starts.
#include "calc_internal.h"
#include "utf.h"

#include <algorithm>
#include <new>

namespace calc::detail {

namespace {

constexpr char32_t kPilcrow = 0x00B6;          // ¶ in literals: a carriage return
constexpr char16_t kCarriageReturn = 13;

struct SyntaxError {
    std::size_t offset;
    std::string message;
};

bool isSpace(char32_t c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }

// Letters of any script may start a name; ×, ÷ and ¶ are not letters.
bool isNameStart(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') return true;
    return c >= 0xC0 && c != 0xD7 && c != 0xF7 && c != 0xFEFF;
}

bool isNameChar(char32_t c) { return isNameStart(c) || isDigit(c) || c == '.'; }

std::u32string normaliseLineEnds(std::u32string text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// Parses one statement from a position; records the spans of its tokens so
// that the statement can be shown without its comments and line breaks.
class Parser {
public:
    Parser(const std::u32string& text, std::size_t pos) : s_(text), pos_(pos) {}

    Node parseStatement() {
        Node root = parseExpression();
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] != '\n') throw SyntaxError{pos_, "expected end of line"};
        return root;
    }

    std::size_t position() const { return pos_; }

    // The statement's tokens, joined by what stood between them on one
    // line, or by one space where a line break did.
    std::string source() const {
        std::u32string out;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            if (i > 0) {
                const std::size_t gapStart = tokens_[i - 1].second;
                const std::u32string gap = s_.substr(gapStart, tokens_[i].first - gapStart);
                out += gap.find('\n') == std::u32string::npos ? gap : std::u32string(1, ' ');
            }
            out += s_.substr(tokens_[i].first, tokens_[i].second - tokens_[i].first);
        }
        return hostutf::toUtf8(out);
    }

private:
    bool at(char32_t c) const { return pos_ < s_.size() && s_[pos_] == c; }
    bool startsWith(const char* ascii) const {
        for (std::size_t k = 0; ascii[k] != '\0'; ++k)
            if (pos_ + k >= s_.size() || s_[pos_ + k] != static_cast<char32_t>(ascii[k])) return false;
        return true;
    }
    bool onlySpaceBeforeOnLine(std::size_t p) const {
        while (p > 0 && isSpace(s_[p - 1])) --p;
        return p == 0 || s_[p - 1] == '\n';
    }
    void skipToLineEnd() {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
    }
    void token(std::size_t begin) { tokens_.emplace_back(begin, pos_); }

    // Skips blanks and comments; line breaks too while a parenthesis is open.
    void skipSpace() {
        for (;;) {
            while (pos_ < s_.size() && isSpace(s_[pos_])) ++pos_;
            if (startsWith("//") || (at('#') && onlySpaceBeforeOnLine(pos_))) {
                skipToLineEnd();
            } else if (depth_ > 0 && at('\n')) {
                ++pos_;
            } else {
                return;
            }
        }
    }

    Node parseExpression() {
        Node first = parseOperand();
        skipSpace();
        if (!at('&')) return first;
        Node concat;
        concat.kind = Node::Kind::Concat;
        concat.offset = first.offset;
        concat.children.push_back(std::move(first));
        while (at('&')) {
            const std::size_t begin = pos_++;
            token(begin);
            concat.children.push_back(parseOperand());
            skipSpace();
        }
        return concat;
    }

    Node parseOperand() {
        skipSpace();
        if (pos_ >= s_.size() || s_[pos_] == '\n') throw SyntaxError{pos_, "expected a value"};
        const char32_t c = s_[pos_];
        if (c == '"') return parseString();
        if (c == kPilcrow) {
            Node literal = literalAt(pos_);
            literal.text.assign(1, kCarriageReturn);
            ++pos_;
            token(literal.offset);
            return literal;
        }
        if (isDigit(c) || (c == '-' && pos_ + 1 < s_.size() && isDigit(s_[pos_ + 1])))
            return parseNumber();
        if (c == '(') return parseGroup();
        if (isNameStart(c)) return parseCall();
        throw SyntaxError{pos_, "expected a value"};
    }

    Node literalAt(std::size_t offset) const {
        Node literal;
        literal.kind = Node::Kind::Literal;
        literal.offset = offset;
        return literal;
    }

    Node parseString() {
        Node literal = literalAt(pos_);
        std::u32string value;
        ++pos_;
        for (;;) {
            if (pos_ >= s_.size() || s_[pos_] == '\n')
                throw SyntaxError{literal.offset, "unterminated string"};
            const char32_t c = s_[pos_];
            if (c == '"') {
                ++pos_;
                break;
            }
            if (c == '\\' && pos_ + 1 < s_.size() &&
                (s_[pos_ + 1] == '"' || s_[pos_ + 1] == '\\' || s_[pos_ + 1] == kPilcrow)) {
                value.push_back(s_[pos_ + 1]);
                pos_ += 2;
                continue;
            }
            value.push_back(c == kPilcrow ? char32_t(kCarriageReturn) : c);
            ++pos_;
        }
        literal.text = hostutf::toUtf16(value);
        token(literal.offset);
        return literal;
    }

    Node parseNumber() {
        Node literal = literalAt(pos_);
        if (at('-')) ++pos_;
        while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
        if (at('.') && pos_ + 1 < s_.size() && isDigit(s_[pos_ + 1])) {
            ++pos_;
            while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
        }
        literal.text = hostutf::toUtf16(s_.substr(literal.offset, pos_ - literal.offset));
        token(literal.offset);
        return literal;
    }

    Node parseGroup() {
        const std::size_t open = pos_++;
        token(open);
        ++depth_;
        Node inner = parseExpression();
        skipSpace();
        if (!at(')')) throw SyntaxError{pos_, "expected ')'"};
        const std::size_t close = pos_++;
        token(close);
        --depth_;
        return inner;
    }

    Node parseCall() {
        Node call;
        call.kind = Node::Kind::Call;
        call.offset = pos_;
        while (pos_ < s_.size() && isNameChar(s_[pos_])) ++pos_;
        call.name = hostutf::toUtf16(s_.substr(call.offset, pos_ - call.offset));
        token(call.offset);
        skipSpace();
        if (!at('(')) throw SyntaxError{pos_, "expected '(' after " + hostutf::toUtf8(call.name)};
        std::size_t begin = pos_++;
        token(begin);
        ++depth_;
        skipSpace();
        if (at(')')) {
            begin = pos_++;
            token(begin);
            --depth_;
            return call;
        }
        for (;;) {
            call.children.push_back(parseExpression());
            skipSpace();
            if (at(';')) {
                begin = pos_++;
                token(begin);
            } else if (at(')')) {
                begin = pos_++;
                token(begin);
                --depth_;
                return call;
            } else {
                throw SyntaxError{pos_, "expected ';' or ')'"};
            }
        }
    }

    const std::u32string& s_;
    std::size_t pos_;
    int depth_ = 0; // parentheses open
    std::vector<std::pair<std::size_t, std::size_t>> tokens_;
};

}  // namespace

Script::Script(std::string_view utf8) {
    text_ = normaliseLineEnds(hostutf::decodeUtf8(utf8));
    if (!text_.empty() && text_[0] == 0xFEFF) text_.erase(0, 1);
    lineStarts_.push_back(0);
    for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == '\n') lineStarts_.push_back(i + 1);
}

void Script::position(std::size_t offset, int* line, int* column) const {
    const auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    const std::size_t index = static_cast<std::size_t>(it - lineStarts_.begin()) - 1;
    *line = static_cast<int>(index + 1);
    *column = static_cast<int>(offset - lineStarts_[index] + 1);
}

bool Script::next(Statement* statement) {
    // Blank lines and comment lines between statements.
    for (;;) {
        while (pos_ < text_.size() && (isSpace(text_[pos_]) || text_[pos_] == '\n')) ++pos_;
        const bool comment = pos_ < text_.size() &&
                             (text_[pos_] == '#' ||
                              (text_[pos_] == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/'));
        if (!comment) break;
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    }
    if (pos_ >= text_.size()) return false;

    *statement = Statement();
    statement->offset = pos_;
    Parser parser(text_, pos_);
    try {
        statement->root = parser.parseStatement();
        statement->source = parser.source();
        statement->parsed = true;
        pos_ = parser.position();
        return true;
    } catch (const SyntaxError& e) {
        statement->errorOffset = e.offset;
        statement->error = e.message;
    } catch (const std::bad_alloc&) {
        // A literal too large to hold: unwinding has freed what the parse
        // took, and the statements after it may well fit.
        statement->errorOffset = statement->offset;
        statement->error = kNoMemory;
    }

    int startLine = 0, errorLine = 0, errorColumn = 0;
    position(statement->offset, &startLine, &errorColumn);
    position(statement->errorOffset, &errorLine, &errorColumn);
    // Lines are 1-based; lineStarts_ is 0-based.
    std::size_t line = errorColumn == 1 && errorLine > startLine ? errorLine - 1 : errorLine;
    pos_ = text_.size();
    for (; line < lineStarts_.size(); ++line) {
        const std::size_t start = lineStarts_[line];
        if (start < text_.size() && isNameStart(text_[start])) {
            pos_ = start;
            break;
        }
    }
    return true;
}

}  // namespace calc::detail
