// The calculation evaluator of the host: what a script's calls receive, the
// line each statement prints, and how problems are reported and skipped.
#include "host/calc/calc.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct Call {
    std::u16string name;
    std::vector<std::u16string> args;
};

// Functions as a plug-in would register them; every call is recorded.
class TableHost : public calc::FunctionHost {
public:
    bool lookup(const std::u16string& name, calc::Signature* signature) override {
        static const std::map<std::u16string, calc::Signature> table = {
            {u"Echo", {1, 3}}, {u"Version", {1, 1}}, {u"Join", {0, -1}},
            {u"Fail", {0, 1}}, {u"Blob", {0, 0}},
        };
        const auto it = table.find(name);
        if (it == table.end()) return false;
        *signature = it->second;
        return true;
    }

    calc::CallResult call(const std::u16string& name, const std::vector<std::u16string>& args) override {
        calls.push_back(Call{name, args});
        calc::CallResult r;
        if (name == u"Echo" || name == u"Join") {
            for (std::size_t i = 0; i < args.size(); ++i) r.text += (i ? u"|" : u"") + args[i];
        } else if (name == u"Version") {
            r.text = u"v:" + args[0];
        } else if (name == u"Fail") {
            r.code = 7;
        } else if (name == u"Blob") {
            r.binary = true;
            r.streams = {{"PNGf", {1, 2, 3}}, {"SIZE", {0, 10, 0, 10}}};
        }
        return r;
    }

    std::vector<Call> calls;
};

std::vector<std::string> run(const std::string& script, TableHost& host, calc::ScriptSummary* summary = nullptr,
                             int firstNumber = 1, std::vector<int>* numbers = nullptr) {
    std::vector<std::string> lines;
    const calc::ScriptSummary s = calc::runScript(
        script, host,
        [&](const calc::StatementResult& r) {
            lines.push_back(calc::formatStatement(r));
            if (numbers) numbers->push_back(r.number);
        },
        firstNumber);
    if (summary) *summary = s;
    return lines;
}

std::string show(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += "  " + l + "\n";
    return out;
}

std::string show(const std::vector<Call>& calls) {
    std::string out;
    for (const Call& c : calls) {
        out += "  " + calc::quoteText(c.name) + "(";
        for (const auto& a : c.args) out += " " + calc::quoteText(a);
        out += " )\n";
    }
    return out;
}

TEST(Calc, ArgumentsReachTheFunctionAsWritten) {
    struct Case {
        const char* script;
        std::vector<Call> calls;
    };
    const Case cases[] = {
        {"Echo( \"Hello\xC2\xB6World\" )", {{u"Echo", {u"Hello\rWorld"}}}},
        {"Echo( \"say \\\"hi\\\"\" )", {{u"Echo", {u"say \"hi\""}}}},
        {"Echo( \"a\\\\b\" ; \"\\\xC2\xB6\" )", {{u"Echo", {u"a\\b", u"\u00B6"}}}},
        {"Echo( \"C:\\temp\" )", {{u"Echo", {u"C:\\temp"}}}},
        {"Echo( 12 ; -3.5 ; \xC2\xB6 )", {{u"Echo", {u"12", u"-3.5", u"\r"}}}},
        {"Echo( \"a\" & \"b\" & 1 )", {{u"Echo", {u"ab1"}}}},
        {"Echo( ( \"a\" & \"b\" ) )", {{u"Echo", {u"ab"}}}},
        {"Join()", {{u"Join", {}}}},
        {"Join(\"\";\"\")", {{u"Join", {u"", u""}}}},
        {"Echo( \"\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80\" )", {{u"Echo", {u"\u65E5\u672C\U0001F600"}}}},
        {"Echo( Version( \"x\" ) & \"!\" ; Version( 2 ) )",
         {{u"Version", {u"x"}}, {u"Version", {u"2"}}, {u"Echo", {u"v:x!", u"v:2"}}}},
        {"Echo( \"a\" ;\n  # a comment line\n  \"b\" // and one at the end\n)", {{u"Echo", {u"a", u"b"}}}},
    };
    for (const Case& c : cases) {
        TableHost host;
        calc::ScriptSummary summary;
        const auto lines = run(c.script, host, &summary);
        EXPECT_EQ(summary.failed, 0) << c.script << "\n" << show(lines);
        EXPECT_EQ(show(host.calls), show(c.calls)) << c.script;
    }
}

TEST(Calc, EachStatementPrintsOneLine) {
    struct Case {
        const char* script;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Version( \"long\" )", {"Version( \"long\" ) \xE2\x86\x92 \"v:long\""}},
        {"Echo( \"a\xC2\xB6\" ; \"\\\\\" )", {"Echo( \"a\xC2\xB6\" ; \"\\\\\" ) \xE2\x86\x92 \"a\xC2\xB6|\\\\\""}},
        {"Echo( \"a\" ;\n    \"b\" )   // why not", {"Echo( \"a\" ; \"b\" ) \xE2\x86\x92 \"a|b\""}},
        {"Blob()", {"Blob() \xE2\x86\x92 container PNGf 3 bytes, SIZE 4 bytes"}},
        {"Fail()", {"Fail() \xE2\x86\x92 error 7"}},
        {"\n\n# only comments\n// and blank lines\n\n", {}},
        {"Echo(\"x\")\nEcho(\"y\")", {"Echo(\"x\") \xE2\x86\x92 \"x\"", "Echo(\"y\") \xE2\x86\x92 \"y\""}},
    };
    for (const Case& c : cases) {
        TableHost host;
        EXPECT_EQ(show(run(c.script, host)), show(c.lines)) << c.script;
    }
}

TEST(Calc, ProblemsNameLineAndColumnAndNothingOfTheStatementRuns) {
    struct Case {
        const char* script;
        const char* line;
    };
    const Case cases[] = {
        {"Echo( \"a\" \"b\" )", "line 1, column 11: expected ';' or ')'"},
        {"Versoin( \"x\" )", "line 1, column 1: Versoin is not a registered function"},
        {"\n# c\nVersion( \"a\" ; \"b\" )", "line 3, column 1: Version takes 1 argument, not 2"},
        {"Echo()", "line 1, column 1: Echo takes 1 to 3 arguments, not 0"},
        {"Blob( 1 )", "line 1, column 1: Blob takes 0 arguments, not 1"},
        {"Echo( Nope( 1 ) )", "line 1, column 7: Nope is not a registered function"},
        {"Echo( Version( 1 ; 2 ) )", "line 1, column 7: Version takes 1 argument, not 2"},
        {"Join( 1 ) Join( 2 )", "line 1, column 11: expected end of line"},
        {"Echo( \"abc )", "line 1, column 7: unterminated string"},
        {"Echo( ;", "line 1, column 7: expected a value"},
        {"Echo( \"a\" ; )", "line 1, column 13: expected a value"},
        {"Echo \"a\"", "line 1, column 6: expected '(' after Echo"},
        {"Echo( \"\xE6\x97\xA5\xE6\x9C\xAC\" \"x\" )", "line 1, column 12: expected ';' or ')'"},
        {"Echo( \"a\"\n", "line 2, column 1: expected ';' or ')'"},
        {"Echo( \"a\" & )", "line 1, column 13: expected a value"},
        {"Echo( (\"a\" )", "line 1, column 13: expected ';' or ')'"},
    };
    for (const Case& c : cases) {
        TableHost host;
        calc::ScriptSummary summary;
        const auto lines = run(c.script, host, &summary);
        EXPECT_EQ(show(lines), show({c.line})) << c.script;
        EXPECT_EQ(summary.failed, 1) << c.script;
        EXPECT_EQ(show(host.calls), "") << c.script;
    }
    TableHost host;
    const auto lines = run("Echo( Fail() )", host);
    EXPECT_EQ(show(lines), show({"Echo( Fail() ) \xE2\x86\x92 error 7"}));
    EXPECT_EQ(host.calls.size(), 1u) << "the outer call must not run after a failed argument\n"
                                     << show(host.calls);
}

TEST(Calc, TheRestOfTheScriptRunsAfterAProblem) {
    struct Case {
        const char* script;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Echo( \"a\" ;;\n    \"b\" )\nVersion( \"x\" )",
         {"line 1, column 12: expected a value", "Version( \"x\" ) \xE2\x86\x92 \"v:x\""}},
        {"Echo( \"a\"\nVersion( \"y\" )",
         {"line 2, column 1: expected ';' or ')'", "Version( \"y\" ) \xE2\x86\x92 \"v:y\""}},
        {"Echo( \"a\" ;\n\"b\" ;;\n\"c\" )\nVersion( 1 )",
         {"line 2, column 6: expected a value", "Version( 1 ) \xE2\x86\x92 \"v:1\""}},
        {"\xEF\xBB\xBFVersion( \"a\" )\r\nVersoin( 1 )\r\nFail()\r\nEcho( 1 )",
         {"Version( \"a\" ) \xE2\x86\x92 \"v:a\"", "line 2, column 1: Versoin is not a registered function",
          "Fail() \xE2\x86\x92 error 7", "Echo( 1 ) \xE2\x86\x92 \"1\""}},
        {"Echo( \"open\nVersion( 2 )", {"line 1, column 7: unterminated string", "Version( 2 ) \xE2\x86\x92 \"v:2\""}},
    };
    for (const Case& c : cases) {
        TableHost host;
        EXPECT_EQ(show(run(c.script, host)), show(c.lines)) << c.script;
    }

    TableHost host;
    calc::ScriptSummary summary;
    std::vector<int> numbers;
    run("Echo( 1 )\nNope()\nFail()\nEcho( 2 )", host, &summary, 5, &numbers);
    EXPECT_EQ(summary.statements, 4);
    EXPECT_EQ(summary.failed, 2);
    EXPECT_EQ(numbers, (std::vector<int>{5, 6, 7, 8}));
}

TEST(Calc, QuotedResultsReadBackAsTheSameText) {
    struct Case {
        std::u16string text;
        const char* quoted;
    };
    const Case cases[] = {
        {u"a\rb", "\"a\xC2\xB6" "b\""},
        {u"\u00B6", "\"\\\xC2\xB6\""},
        {u"say \"hi\" \\o/", "\"say \\\"hi\\\" \\\\o/\""},
        {u"\u65E5\U0001F600", "\"\xE6\x97\xA5\xF0\x9F\x98\x80\""},
        {u"Error: 5\n", "\"Error: 5\\n\""},
        {u"a\tb\x01", "\"a\\tb\\x01\""},
        {u"", "\"\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(calc::quoteText(c.text), c.quoted);
        if (c.text.find_first_of(u"\n\t\x01") != std::u16string::npos) continue;
        TableHost host;
        run(std::string("Echo( ") + c.quoted + " )", host);
        ASSERT_EQ(host.calls.size(), 1u) << c.quoted;
        EXPECT_EQ(calc::quoteText(host.calls[0].args[0]), calc::quoteText(c.text)) << "read back " << c.quoted;
    }
}

}  // namespace
