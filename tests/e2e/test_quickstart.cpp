// The recipes of docs/quickstart.md, run as the page writes them: each
// recipe's calls are evaluated against a freshly loaded plug-in, its answer
// scripts play the user, and every result must be the one its "what comes
// back" block prints. The page is read at run time, so a recipe whose text
// changes is checked as it now stands.
//
// A recipe is a "## N." section. Its first code block holds the calls, its
// second the results, one line per call: the call's first words, " → " and
// the result as fmhost prints it. Comments after the calls:
//   <!-- answer: SCRIPT -->                    answers the next dialog (as fmhost --answer)
//   <!-- modeless after call N: click ID -->   the user clicks control ID of the
//                                              progress window once call N has returned
// The dates in the results are those of Wine's default settings, US English.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "driver/dialog_driver.h"
#include "hostcore.h"
#include "tests/e2e/support.h"

namespace {

const std::string kArrow = " \xE2\x86\x92 ";  // " → ", between a call and its result

struct ResultLine {
    std::string call;    // the call's first words
    std::string result;  // as fmhost prints it: "\"1\"", "error 2"
};

struct Recipe {
    std::string heading;
    std::vector<std::vector<std::string>> blocks;  // the code blocks' lines
    std::vector<std::wstring> answers;
    std::map<int, int> modelessClicks;  // call number -> control id
    std::vector<std::string> pictures;  // the file names under docs/images
    std::vector<std::string> problems;  // what could not be read
};

std::wstring wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &out[0], n);
    return out;
}

bool readFile(const std::wstring& path, std::string* bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes->append(chunk, got);
    CloseHandle(f);
    return true;
}

bool startsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

std::string trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// One comment line of a recipe: what it asks the test to do.
void readComment(const std::string& body, Recipe* recipe) {
    int call = 0, id = 0;
    char tail = 0;
    if (startsWith(body, "answer:")) {
        recipe->answers.push_back(wide(trim(body.substr(7))));
    } else if (std::sscanf(body.c_str(), "modeless after call %d: click %d%c", &call, &id, &tail) == 2) {
        recipe->modelessClicks[call] = id;
    } else {
        recipe->problems.push_back("a comment this test does not know: " + body);
    }
}

std::vector<Recipe> readRecipes(const std::string& page) {
    std::vector<Recipe> recipes;
    std::vector<std::string>* block = nullptr;  // the code block being read
    size_t start = 0;
    while (start < page.size()) {
        size_t end = page.find('\n', start);
        if (end == std::string::npos) end = page.size();
        std::string line = page.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        if (startsWith(line, "## ")) {
            block = nullptr;
            const bool numbered = line.size() > 3 && line[3] >= '0' && line[3] <= '9';
            if (numbered) {
                recipes.emplace_back();
                recipes.back().heading = line.substr(3);
            } else if (!recipes.empty()) {
                break;  // the recipes end at the first other section
            }
            continue;
        }
        if (recipes.empty()) continue;
        Recipe& recipe = recipes.back();
        if (startsWith(line, "```")) {
            if (block) {
                block = nullptr;
            } else {
                recipe.blocks.emplace_back();
                block = &recipe.blocks.back();
            }
        } else if (block) {
            block->push_back(line);
        } else if (startsWith(line, "<!--")) {
            const size_t close = line.find("-->");
            if (close == std::string::npos) recipe.problems.push_back("a comment that does not end on its line");
            else readComment(trim(line.substr(4, close - 4)), &recipe);
        } else if (startsWith(line, "![")) {
            const size_t open = line.find("](images/");
            const size_t close = line.find(')', open);
            if (open == std::string::npos || close == std::string::npos) recipe.problems.push_back("a picture outside docs/images");
            else recipe.pictures.push_back(line.substr(open + 9, close - open - 9));
        }
    }
    return recipes;
}

std::vector<ResultLine> readResults(const std::vector<std::string>& lines, std::vector<std::string>* problems) {
    std::vector<ResultLine> results;
    for (const std::string& line : lines) {
        const size_t arrow = line.find(kArrow);
        if (arrow == std::string::npos) problems->push_back("a result line without an arrow: " + line);
        else results.push_back(ResultLine{line.substr(0, arrow), line.substr(arrow + kArrow.size())});
    }
    return results;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

// Runs a recipe's calls against a plug-in of their own, as fmhost runs a
// script: each statement's printed line, in order.
std::vector<std::string> run(const Recipe& recipe) {
    std::vector<std::string> printed;
    hostcore::PluginHost host;
    std::wstring error;
    if (!host.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error)) {
        ADD_FAILURE() << e2e::narrow(error);
        return printed;
    }
    EXPECT_EQ(host.startup(), hostcore::kStartupSuccess);
    for (const std::wstring& script : recipe.answers) {
        EXPECT_TRUE(driver::armScript(script, &error)) << e2e::narrow(script) << ": " << e2e::narrow(error);
    }
    host.evaluate(joined(recipe.blocks[0]), [&](const calc::StatementResult& r, const std::string& line) {
        printed.push_back(line);
        auto click = recipe.modelessClicks.find(r.number);
        if (click == recipe.modelessClicks.end()) return;
        std::optional<driver::Dialog> window = driver::findModeless();
        // Queued, as a click made while the script is busy with its records.
        if (!window || !window->queueClick(click->second)) {
            ADD_FAILURE() << "after call " << r.number << " no window shows a control " << click->second;
        }
    });
    // The driver forgets a finished script on its next poll.
    driver::pumpMessages(100);
    EXPECT_EQ(driver::takeFailures(), L"") << "the answers did not go as the recipe says";
    EXPECT_EQ(driver::pendingScripts(), 0u) << "an answer found no dialog";
    host.shutdown();
    host.unload();
    return printed;
}

TEST(Quickstart, EveryRecipeReturnsWhatItsPageSays) {
    const std::wstring docs = wide(TESSARY_DOCS_DIR);
    std::string page;
    ASSERT_TRUE(readFile(docs + L"\\quickstart.md", &page)) << TESSARY_DOCS_DIR "\\quickstart.md cannot be read";
    const std::vector<Recipe> recipes = readRecipes(page);
    ASSERT_FALSE(recipes.empty()) << "no \"## N.\" recipe on the page";

    int number = 0;
    for (const Recipe& recipe : recipes) {
        SCOPED_TRACE("recipe " + recipe.heading);
        EXPECT_EQ(std::atoi(recipe.heading.c_str()), ++number) << "the recipes are numbered in order";
        for (const std::string& problem : recipe.problems) ADD_FAILURE() << problem;
        ASSERT_EQ(recipe.blocks.size(), 2u) << "a recipe has a block of calls and a block of results";
        for (const std::string& picture : recipe.pictures) {
            EXPECT_NE(GetFileAttributesW((docs + L"\\images\\" + wide(picture)).c_str()), INVALID_FILE_ATTRIBUTES)
                << "docs/images/" << picture << " is missing";
        }
        EXPECT_FALSE(recipe.pictures.empty()) << "the recipe shows no picture";

        std::vector<std::string> problems;
        const std::vector<ResultLine> expected = readResults(recipe.blocks[1], &problems);
        for (const std::string& problem : problems) ADD_FAILURE() << problem;
        const std::vector<std::string> printed = run(recipe);
        EXPECT_EQ(printed.size(), expected.size()) << "one result line per call:\n" << joined(printed);
        for (size_t i = 0; i < printed.size() && i < expected.size(); ++i) {
            const ResultLine& want = expected[i];
            EXPECT_TRUE(startsWith(printed[i], want.call)) << "line " << i + 1 << " names another call:\n" << printed[i];
            const std::string tail = kArrow + want.result;
            const bool same = printed[i].size() >= tail.size() &&
                              printed[i].compare(printed[i].size() - tail.size(), tail.size(), tail) == 0;
            EXPECT_TRUE(same) << "the page says " << want.call << kArrow << want.result << "\nthe call returned "
                              << printed[i];
        }
    }
}

}  // namespace
