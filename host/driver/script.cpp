// The answer scripts: a line of commands that plays the user of one dialog,
// for the host program's answers and the demo (see armScript).
#include "driver_internal.h"

#include <cstring>
#include <cwchar>
#include <cwctype>

namespace driver {
namespace {

enum class Op {
    Wait, Shot, Click, ClickText, Type, Key, Check, CheckRow, Cell, Title, Tab, Combo, Slider, Date, Time, SetText, Resize,
    Close
};

// One row per command. Argument kinds, one letter each: 'n' a whole number,
// 't' a text (quoted, or a single bare word), 'k' a key name.
struct CommandRow {
    const wchar_t* name;
    Op op;
    const char* args;
};

constexpr CommandRow kCommands[] = {
    {L"wait", Op::Wait, "n"},
    {L"shot", Op::Shot, "t"},
    {L"click", Op::Click, "n"},
    {L"clicktext", Op::ClickText, "t"},
    {L"type", Op::Type, "t"},
    {L"key", Op::Key, "k"},
    {L"check", Op::Check, "n"},
    {L"checkrow", Op::CheckRow, "nn"},
    {L"cell", Op::Cell, "nnn"},
    {L"title", Op::Title, "nn"},
    {L"tab", Op::Tab, "nn"},
    {L"combo", Op::Combo, "nn"},
    {L"slider", Op::Slider, "nn"},
    {L"date", Op::Date, "nnnn"},
    {L"time", Op::Time, "nnn"},
    {L"settext", Op::SetText, "nt"},
    {L"resize", Op::Resize, "nn"},
    {L"close", Op::Close, ""},
};

struct KeyName {
    const wchar_t* name;
    WORD vk;
};

constexpr KeyName kKeys[] = {
    {L"TAB", VK_TAB},       {L"ENTER", VK_RETURN}, {L"ESC", VK_ESCAPE},      {L"SPACE", VK_SPACE},
    {L"UP", VK_UP},         {L"DOWN", VK_DOWN},    {L"LEFT", VK_LEFT},       {L"RIGHT", VK_RIGHT},
    {L"HOME", VK_HOME},     {L"END", VK_END},      {L"BACKSPACE", VK_BACK},  {L"DELETE", VK_DELETE},
    {L"F4", VK_F4},
};

constexpr KeyName kModifiers[] = {{L"SHIFT", VK_SHIFT}, {L"CTRL", VK_CONTROL}, {L"ALT", VK_MENU}};

constexpr long kMaxNumber = 1000000;  // largest number a command takes (ids, ms, pixels)

struct Command {
    Op op = Op::Close;
    std::vector<int> numbers;  // the 'n' arguments in order
    std::wstring text;         // the 't' argument
    WORD vk = 0;               // the 'k' argument's key
    WORD modifierVk = 0;       // and its modifier, 0 for none
    std::wstring source;       // the command as written, for failure lines
};

struct Token {
    std::wstring text;
    bool quoted = false;
};

// Splits a script into commands of tokens. Fails on an unfinished quotation.
bool tokenize(const std::wstring& script, std::vector<std::vector<Token>>* commands,
              std::vector<std::wstring>* sources, std::wstring* error)
{
    std::vector<Token> tokens;
    std::wstring source;
    auto finish = [&] {
        size_t first = source.find_first_not_of(L" \t\r");
        size_t last = source.find_last_not_of(L" \t\r");
        if (!tokens.empty()) {
            commands->push_back(tokens);
            sources->push_back(first == std::wstring::npos ? L"" : source.substr(first, last - first + 1));
        }
        tokens.clear();
        source.clear();
    };
    size_t i = 0;
    while (i < script.size()) {
        wchar_t c = script[i];
        if (c == L';' || c == L'\n') {
            finish();
            ++i;
        } else if (iswspace(c)) {
            source += c;
            ++i;
        } else if (c == L'"') {
            Token t;
            t.quoted = true;
            size_t start = i++;
            bool closed = false;
            while (i < script.size() && !closed) {
                wchar_t q = script[i++];
                if (q == L'"') {
                    closed = true;
                } else if (q == L'\\' && i < script.size() && (script[i] == L'"' || script[i] == L'\\')) {
                    // Only \" and \\ are escapes, so Windows paths need no doubling.
                    t.text += script[i++];
                } else {
                    t.text += q;
                }
            }
            if (!closed) {
                *error = L"a quoted text has no closing quote";
                return false;
            }
            source += script.substr(start, i - start);
            tokens.push_back(t);
        } else {
            Token t;
            while (i < script.size() && !iswspace(script[i]) && script[i] != L';') t.text += script[i++];
            source += t.text;
            tokens.push_back(t);
        }
    }
    finish();
    return true;
}

bool parseNumber(const Token& token, int* value)
{
    if (token.quoted || token.text.empty() || token.text.size() > 7) return false;
    long v = 0;
    for (wchar_t c : token.text) {
        if (c < L'0' || c > L'9') return false;
        v = v * 10 + (c - L'0');
    }
    if (v > kMaxNumber) return false;
    *value = static_cast<int>(v);
    return true;
}

bool sameName(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

// "TAB", "shift+tab", "ALT+F4", "CTRL+A".
bool parseKey(const std::wstring& name, WORD* vk, WORD* modifierVk)
{
    std::wstring key = name;
    *modifierVk = 0;
    size_t plus = name.find(L'+');
    if (plus != std::wstring::npos) {
        std::wstring modifier = name.substr(0, plus);
        key = name.substr(plus + 1);
        for (const KeyName& m : kModifiers) {
            if (sameName(modifier, m.name)) *modifierVk = m.vk;
        }
        if (*modifierVk == 0) return false;
    }
    for (const KeyName& k : kKeys) {
        if (sameName(key, k.name)) {
            *vk = k.vk;
            return true;
        }
    }
    // A letter key's virtual-key code is its capital letter.
    const wchar_t letter = key.size() == 1 ? towupper(key[0]) : L'\0';
    if (letter >= L'A' && letter <= L'Z') {
        *vk = static_cast<WORD>(letter);
        return true;
    }
    return false;
}

// Checks one command's tokens against its row of the table.
bool parseCommand(const std::vector<Token>& tokens, Command* cmd, std::wstring* error)
{
    const CommandRow* row = nullptr;
    for (const CommandRow& s : kCommands) {
        if (!tokens[0].quoted && sameName(tokens[0].text, s.name)) row = &s;
    }
    if (!row) {
        *error = L"unknown command \"" + tokens[0].text + L"\"";
        return false;
    }
    const size_t wanted = strlen(row->args);
    if (tokens.size() - 1 != wanted) {
        *error = std::wstring(row->name) + L" takes " + std::to_wstring(wanted) + L" argument" +
                 (wanted == 1 ? L"" : L"s") + L", not " + std::to_wstring(tokens.size() - 1);
        return false;
    }
    cmd->op = row->op;
    for (size_t a = 0; a < wanted; ++a) {
        const Token& t = tokens[a + 1];
        switch (row->args[a]) {
        case 'n': {
            int v = 0;
            if (!parseNumber(t, &v)) {
                *error = L"\"" + t.text + L"\" is not a whole number from 0 to " + std::to_wstring(kMaxNumber);
                return false;
            }
            cmd->numbers.push_back(v);
            break;
        }
        case 'k':
            if (t.quoted || !parseKey(t.text, &cmd->vk, &cmd->modifierVk)) {
                *error = L"unknown key \"" + t.text + L"\"";
                return false;
            }
            break;
        default:
            cmd->text = t.text;
            break;
        }
    }
    return true;
}

bool parseScript(const std::wstring& script, std::vector<Command>* commands, std::wstring* error)
{
    std::vector<std::vector<Token>> tokenLists;
    std::vector<std::wstring> sources;
    if (!tokenize(script, &tokenLists, &sources, error)) return false;
    if (tokenLists.empty()) {
        *error = L"the script has no commands";
        return false;
    }
    for (size_t i = 0; i < tokenLists.size(); ++i) {
        Command cmd;
        cmd.source = sources[i];
        std::wstring why;
        if (!parseCommand(tokenLists[i], &cmd, &why)) {
            *error = L"command " + std::to_wstring(i + 1) + L" (" + cmd.source + L"): " + why;
            return false;
        }
        commands->push_back(cmd);
    }
    return true;
}

// A caption as shown: "&OK" is displayed "OK", "&&" is a literal '&'.
std::wstring withoutMnemonics(const std::wstring& text)
{
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        else if (text[i] == L'&') continue;
        shown += text[i];
    }
    return shown;
}

bool clickText(Dialog& d, const std::wstring& caption)
{
    for (const ControlInfo& c : d.controls()) {
        if (c.visible && withoutMnemonics(c.text) == caption) {
            return d.clickClient(POINT{(c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2});
        }
    }
    return false;
}

// Runs one command; on failure says why in *why.
bool runCommand(Dialog& d, const Command& cmd, std::wstring* why)
{
    const std::vector<int>& n = cmd.numbers;
    auto noControl = [&](int id) {
        *why = L"no control with id " + std::to_wstring(id) + L" could be used";
        return false;
    };
    switch (cmd.op) {
    case Op::Wait:
        d.waitMs(static_cast<unsigned>(n[0]));
        return true;
    case Op::Shot:
        if (d.savePng(cmd.text)) return true;
        *why = L"could not save the window as " + cmd.text;
        return false;
    case Op::Click:
        return d.click(n[0]) || noControl(n[0]);
    case Op::ClickText:
        if (clickText(d, cmd.text)) return true;
        *why = L"no visible control shows the text \"" + cmd.text + L"\"";
        return false;
    case Op::Type:
        if (d.typeText(cmd.text)) return true;
        *why = L"the dialog is closed";
        return false;
    case Op::Key:
        if (d.pressKey(cmd.vk, cmd.modifierVk)) return true;
        *why = L"the dialog is closed";
        return false;
    case Op::Check: {
        ControlInfo c = d.control(n[0]);
        if (!c.exists()) return noControl(n[0]);
        return c.checked == BST_CHECKED || d.click(n[0]) || noControl(n[0]);
    }
    case Op::CheckRow:
        if (d.clickListCheckbox(n[0], n[1])) return true;
        *why = L"list view " + std::to_wstring(n[0]) + L" has no check box in row " + std::to_wstring(n[1]);
        return false;
    case Op::Cell:
        if (d.clickListCell(n[0], n[1], n[2])) return true;
        *why = L"list view " + std::to_wstring(n[0]) + L" shows no cell in row " + std::to_wstring(n[1]) +
               L", column " + std::to_wstring(n[2]);
        return false;
    case Op::Title:
        if (d.clickListTitle(n[0], n[1])) return true;
        *why = L"list view " + std::to_wstring(n[0]) + L" shows no title of column " + std::to_wstring(n[1]);
        return false;
    case Op::Tab:
        if (d.clickTab(n[0], n[1])) return true;
        *why = L"tab control " + std::to_wstring(n[0]) + L" has no tab " + std::to_wstring(n[1]);
        return false;
    case Op::Combo:
        if (d.clickComboItem(n[0], n[1])) return true;
        *why = L"combo box " + std::to_wstring(n[0]) + L" has no item " + std::to_wstring(n[1]);
        return false;
    case Op::Slider:
        if (d.setSliderPos(n[0], n[1])) return true;
        *why = L"slider " + std::to_wstring(n[0]) + L" could not be moved to " + std::to_wstring(n[1]);
        return false;
    case Op::Date:
        if (d.setDate(n[0], n[1], n[2], n[3])) return true;
        *why = L"date picker " + std::to_wstring(n[0]) + L" could not be set to " + std::to_wstring(n[1]) + L"-" +
               std::to_wstring(n[2]) + L"-" + std::to_wstring(n[3]);
        return false;
    case Op::Time:
        if (d.setTime(n[0], n[1], n[2])) return true;
        *why = L"time picker " + std::to_wstring(n[0]) + L" could not be set to " + std::to_wstring(n[1]) + L":" +
               std::to_wstring(n[2]);
        return false;
    case Op::SetText:
        return d.setText(n[0], cmd.text) || noControl(n[0]);
    case Op::Resize:
        if (d.resize(n[0], n[1])) return true;
        *why = L"the window could not be resized";
        return false;
    case Op::Close:
        if (d.close()) return true;
        *why = L"the dialog is closed";
        return false;
    }
    return false;
}

}  // namespace

bool armScript(const std::wstring& commands, std::wstring* error)
{
    static int scriptsArmed = 0;  // numbers the scripts in failure lines
    std::vector<Command> parsed;
    std::wstring why;
    if (!parseScript(commands, &parsed, &why)) {
        if (error) *error = why;
        return false;
    }
    auto state = std::make_shared<detail::SessionState>();
    state->queueOwned = true;
    state->label = L"script " + std::to_wstring(++scriptsArmed);
    // The limit covers the script's own waits.
    unsigned waits = 0;
    for (const Command& c : parsed) {
        if (c.op == Op::Wait) waits += static_cast<unsigned>(c.numbers[0]);
    }
    state->timeoutMs = kDefaultTimeoutMs + waits;
    state->action = [parsed](Dialog& d) {
        for (size_t i = 0; i < parsed.size(); ++i) {
            std::wstring failure;
            if (!runCommand(d, parsed[i], &failure)) {
                throw std::runtime_error(detail::narrowUtf8(L"command " + std::to_wstring(i + 1) + L" (" +
                                                            parsed[i].source + L"): " + failure));
            }
        }
    };
    detail::arm(state);
    if (error) error->clear();
    return true;
}

}  // namespace driver
