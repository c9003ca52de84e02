#include "calls.h"

#include <cstdio>
#include <cwchar>
#include <functional>

#include "tests/common/list_text.h"

namespace soak {

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint32_t Rng::below(uint32_t n) { return n == 0 ? 0 : uint32_t(next() % n); }

int Rng::between(int low, int high) { return low + int(below(uint32_t(high - low + 1))); }

bool Rng::chance(uint32_t percent) { return below(100) < percent; }

namespace {

typedef std::vector<std::wstring> Texts;

const Texts kWords{L"Anna", L"Jonas", L"Zo\u00eb", L"\u03a9\u03bc\u03ad\u03b3\u03b1", L"\u65e5\u672c\u8a9e",
                   L"\U0001F600", L"Norway", L"\u0645\u0631\u062d\u0628\u0627", L"e\u0301t\u00e9", L"42",
                   L"OK", L"Cancel", L"Save", L"Ja"};

const Texts kKinds{L"edit", L"password", L"editBox", L"hedit", L"heditR", L"heditC", L"combobox", L"checkbox",
                   L"radio", L"slider", L"date", L"datedd", L"datetime", L"datetimedd", L"daterange",
                   L"daterangedd", L"timerange", L"range", L"rangeC", L"rangeR", L"static", L"edit3",
                   L"static2", L"radio31", L"editRO", L"checkboxRO", L"sliderRO", L"comboboxRO", L"bogus"};

const Texts kMarkupKinds{L"static", L"button", L"edit", L"editBox", L"password", L"combobox", L"checkbox",
                         L"radio", L"slider", L"date", L"datedd", L"time", L"listbox", L"listboxview",
                         L"progressbar", L"tabcontrol", L"button", L"button"};

std::wstring number(Rng &rng, int low, int high) { return std::to_wstring(rng.between(low, high)); }

std::wstring word(Rng &rng) { return rng.pick(kWords); }

// A few words, sometimes with a line break (CR, as the host writes it).
std::wstring phrase(Rng &rng) {
    std::wstring out = word(rng);
    for (int i = rng.between(0, 4); i > 0; --i) out += (rng.chance(10) ? L"\r" : L" ") + word(rng);
    return out;
}

// `count` items, each followed by '|'.
std::wstring items(Rng &rng, int count) {
    return listtext::cellsOf(count, 1, [&](int row, int) { return word(rng) + std::to_wstring(row); });
}

// Mostly a text of its kind, now and then a hostile one.
std::wstring maybeHostile(Rng &rng, std::wstring valid) { return rng.chance(12) ? hostileText(rng) : valid; }

struct Options {
    std::wstring text;
    int timerSeconds = 0;
};

// Keywords a function reads, with the window keywords every dialog knows.
// A timer is short, so a dialog nobody answers does not hold the run, and
// `noButtons` (which leaves only the timer to close the dialog) comes only
// with one.
Options options(Rng &rng, const Texts &own) {
    static const Texts window{L"noresize", L"small", L"medium", L"large", L"width=", L"height=", L"left=", L"top="};
    Options o;
    for (int i = rng.between(0, 4); i > 0; --i) {
        std::wstring keyword = rng.chance(50) && !own.empty() ? rng.pick(own) : rng.pick(window);
        if (keyword.back() == L'=') {
            const bool place = keyword == L"left=" || keyword == L"top=";
            keyword += rng.chance(8) ? rng.pick(Texts{L"-99999", L"2147483647", L"99999999999", L"x"})
                                     : number(rng, place ? 0 : 100, place ? 400 : 700);
        }
        o.text += keyword + L" ";
    }
    if (rng.chance(6)) {
        o.timerSeconds = rng.between(1, 2);
        o.text += L"timer=" + std::to_wstring(o.timerSeconds) + (rng.chance(40) ? L" noButtons" : L"");
    }
    if (rng.chance(8)) {
        o.text += hostileText(rng);
        // A hostile text may hold no timer, but must not pretend to.
        if (o.text.find(L"noButtons") != std::wstring::npos && o.timerSeconds == 0) o.text.clear();
    }
    return o;
}

Texts defaultButtons(int count) {
    Texts out;
    for (int i = 1; i <= count; ++i) out.push_back(L"defaultButton" + std::to_wstring(i));
    return out;
}

// Button 1 stands at index `firstButton` and is already there; the others
// follow it now and then.
void addButtons(Rng &rng, Call &c, size_t firstButton, int buttons) {
    for (int i = 1; i <= buttons; ++i) c.buttonResults.push_back(std::to_wstring(i));
    while (c.args.size() > firstButton && c.args.size() < firstButton + size_t(buttons) && rng.chance(70)) {
        c.args.push_back(rng.chance(15) ? L"" : maybeHostile(rng, word(rng)));
    }
}

// Cells for a list of `columns` columns.
std::wstring listText(Rng &rng, int columns) {
    if (rng.chance(10)) return hostileText(rng);
    const int rows = rng.chance(5) ? rng.between(500, 3000) : rng.between(0, 12);
    return items(rng, rows * (columns < 1 ? 1 : columns));
}

std::wstring columnLetters(Rng &rng, const wchar_t *alphabet, int columns) {
    std::wstring out;
    const size_t n = std::wcslen(alphabet);
    for (int i = 0; i < columns; ++i) out += alphabet[rng.below(uint32_t(n))];
    return out;
}

std::wstring widths(Rng &rng, int columns) {
    std::wstring out;
    for (int i = 0; i < columns; ++i) out += (rng.chance(20) ? L"" : number(rng, 5, 60)) + L"|";
    return out;
}

std::wstring markupObject(Rng &rng, Call &c, int index) {
    const std::wstring kind = rng.pick(kMarkupKinds);
    const std::wstring name = L"o" + std::to_wstring(index);
    std::wstring text = kind == L"radio" || kind == L"combobox" || kind == L"listbox" ? items(rng, rng.between(0, 5))
                        : kind == L"date" || kind == L"datedd" ? L"11/14/2024"
                                                                : phrase(rng);
    std::wstring o = L"<object><type>" + kind + L"</type><name>" + name + L"</name><text>" + maybeHostile(rng, text) +
                     L"</text><left>" + number(rng, 0, 300) + L"</left><top>" + number(rng, 0, 300) +
                     L"</top><width>" + number(rng, 0, 200) + L"</width><height>" + number(rng, 0, 120) + L"</height>";
    if (rng.chance(20)) o += L"<readonly>true</readonly>";
    if (rng.chance(20)) o += L"<setcheckbox>true</setcheckbox>";
    if (rng.chance(15)) o += L"<columns>" + number(rng, 0, 4) + L"</columns><selected>" + number(rng, 0, 4) + L"</selected>";
    if (rng.chance(15)) o += L"<totalsteps>" + number(rng, -5, 1000) + L"</totalsteps><startstep>7</startstep>";
    if (rng.chance(15)) o += L"<fontname>Tahoma</fontname><fontsize>" + number(rng, 0, 40) + L"</fontsize>";
    if (rng.chance(20)) o += L"<moveX>true</moveX><moveY>true</moveY>";
    if (rng.chance(10)) o += L"<hasfocus>true</hasfocus>";
    if (kind == L"button") c.buttonResults.push_back(name);
    return o + L"</object>";
}

std::wstring markup(Rng &rng, Call &c) {
    if (rng.chance(10)) return hostileText(rng);
    std::wstring m = L"<title>" + maybeHostile(rng, phrase(rng)) + L"</title>";
    if (rng.chance(50)) m += L"<width>" + number(rng, 0, 800) + L"</width><height>" + number(rng, 0, 600) + L"</height>";
    if (rng.chance(30)) m += L"<resize>true</resize><minwidth>" + number(rng, 0, 500) + L"</minwidth>";
    m += L"<left>" + number(rng, 0, 300) + L"</left><top>" + number(rng, 0, 300) + L"</top>";
    const int objects = rng.chance(3) ? rng.between(100, 140) : rng.between(0, 12);
    for (int i = 0; i < objects; ++i) m += markupObject(rng, c, i);
    if (rng.chance(10)) m += L"<object><type>button"; // cut off in the middle
    return m;
}

// Staging arguments: up to 24 of a kind.
void staging(Rng &rng, Call &c, int maxArgs, const std::function<std::wstring(Rng &)> &valid) {
    const int count = rng.between(1, maxArgs);
    for (int i = 0; i < count; ++i) c.args.push_back(rng.chance(15) ? L"" : maybeHostile(rng, valid(rng)));
}

std::wstring defaultInput(Rng &rng) {
    switch (rng.below(6)) {
    case 0: return number(rng, 0, 3) + L"|" + number(rng, 1, 100);
    case 1: return L"1:30 PM|12/24/2024";
    case 2: return items(rng, 3) + L"=" + word(rng);
    case 3: return L"101";
    case 4: return L"11/14/2024|12/24/2024";
    default: return phrase(rng);
    }
}

}  // namespace

std::wstring typedText(Rng &rng) {
    std::wstring out = word(rng);
    if (rng.chance(30)) out += L"|" + word(rng);
    if (rng.chance(10)) out += L"\n" + word(rng);
    return out;
}

std::wstring hostileText(Rng &rng) {
    switch (rng.below(7)) {
    case 0: {  // a megabyte: every argument of the host may be that long
        // In lines: Wine's multi-line edit control lays a paragraph out again
        // on every change, and a megabyte on one line takes it most of a
        // minute each time, which would time a Wine limit, not the plug-in.
        std::wstring big(1 << 20, L'x');
        for (size_t i = 0; i < big.size(); i += 1 + rng.below(200)) {
            const uint32_t roll = rng.below(3);
            big[i] = roll == 0 ? L'|' : roll == 1 ? L'\r' : L'\u65e5';
        }
        return big;
    }
    case 1: return std::wstring(rng.between(1000, 20000), L'|');
    case 2: return rng.pick(Texts{L"-2147483648", L"2147483648", L"4294967296", L"-1", L"99999999999999999999",
                                  L"1e309", L"0x7fffffff", L"-0", L"000000000000000000255"});
    case 3: {  // control characters, NUL included: host texts carry a length
        std::wstring out;
        for (int i = rng.between(1, 40); i > 0; --i) out += wchar_t(rng.below(32));
        return out;
    }
    case 4: {  // unpaired surrogates, a reversed direction, a lone combining mark
        std::wstring out{wchar_t(0xD800), L'x', wchar_t(0xDC00)};
        return out + L"\U0001F600\u202e\u0301" + word(rng);
    }
    case 5: {  // keywords with values from outside every range
        std::wstring out;
        for (const wchar_t *k : {L"width=", L"height=", L"left=", L"top=", L"focus=", L"returnColumnNumber="}) {
            if (rng.chance(50)) out += std::wstring(k) + rng.pick(Texts{L"-2147483648", L"999999999", L"-1", L""}) + L" ";
        }
        return out + L"small large multi b1ns gotoTab3 moveText";
    }
    default: return std::wstring(rng.between(100, 5000), wchar_t(rng.between(0x4e00, 0x4fff)));
    }
}

Call nextCall(Rng &rng, const std::wstring &f, int minArgs, int maxArgs) {
    Call c;
    c.function = f;
    const int cap = maxArgs < 0 ? 30 : maxArgs;
    auto arg = [&](std::wstring valid) {
        if (int(c.args.size()) < cap) c.args.push_back(maybeHostile(rng, std::move(valid)));
    };
    auto opts = [&](const Texts &own) {
        Options o = options(rng, own);
        c.timerSeconds = o.timerSeconds;
        c.args.push_back(o.text);
    };

    if (f == L"Tessary_Version") {
        arg(rng.pick(Texts{L"", L"short", L"long", L"platform", L"LoginUsername", L"ComputerName", L"LONG", L"x"}));
    } else if (f == L"Tessary_Dialog" || f == L"Tessary_DoDialog") {
        c.mayShowDialog = true;
        opts(f == L"Tessary_Dialog" ? Texts{L"noButtons", L"defaultButton3"} : Texts{L"focus=3", L"defaultButton2", L"focus=1"});
        arg(phrase(rng));
        arg(phrase(rng));
        arg(word(rng));
        addButtons(rng, c, 3, 8);
    } else if (f == L"Tessary_DoLogin") {
        c.mayShowDialog = true;
        opts({L"editBox", L"defaultButton1", L"defaultButton2"});
        for (const std::wstring &a : {phrase(rng), phrase(rng), word(rng), word(rng), items(rng, rng.between(0, 4)),
                                      word(rng), word(rng), word(rng)}) {
            arg(a);
        }
        c.buttonResults = {L"1", L"2"};
    } else if (f == L"Tessary_GetInput") {
        arg(rng.chance(70) ? L"text" + number(rng, 0, 25) : L"o" + number(rng, 0, 12));
    } else if (f == L"Tessary_DoList") {
        c.mayShowDialog = true;
        const int columns = rng.between(0, 4);
        Texts own = defaultButtons(4);
        for (const wchar_t *k : {L"multi", L"b1ns", L"b2ns", L"returnColumnNumber=2"}) own.push_back(k);
        opts(own);
        arg(std::to_wstring(columns));
        arg(items(rng, columns));
        arg(widths(rng, columns));
        arg(columnLetters(rng, L"LRC", columns));
        arg(phrase(rng));
        arg(phrase(rng));
        c.args.push_back(listText(rng, columns));
        arg(word(rng) + L"0|");
        arg(word(rng));
        addButtons(rng, c, 9, 4);
        while (int(c.args.size()) < minArgs) c.args.push_back(L"");
        if (int(c.args.size()) == 13 && rng.chance(50)) {
            for (const std::wstring &a : {items(rng, 0), rng.pick(kKinds), word(rng), defaultInput(rng)}) arg(a);
        }
    } else if (f == L"Tessary_ProgressBar") {
        c.args = progressCommand(rng);
    } else if (f == L"Tessary_SetPosition") {
        arg(number(rng, 0, 500));
        arg(number(rng, 0, 400));
    } else if (f == L"Tessary_BigEditBox") {
        c.mayShowDialog = true;
        opts(defaultButtons(4));
        for (const std::wstring &a : {phrase(rng), phrase(rng), phrase(rng), word(rng)}) arg(a);
        addButtons(rng, c, 4, 4);
    } else if (f == L"Tessary_SetLabels") {
        staging(rng, c, cap, [](Rng &r) { return r.chance(20) ? items(r, r.between(1, 3)) : phrase(r); });
    } else if (f == L"Tessary_SetInputTypes") {
        staging(rng, c, cap, [](Rng &r) { return r.pick(kKinds); });
    } else if (f == L"Tessary_SetDefaultInputs") {
        staging(rng, c, cap, defaultInput);
    } else if (f == L"Tessary_ColorPicker" || f == L"Tessary_CreateColor") {
        c.mayShowDialog = c.systemDialog = f == L"Tessary_ColorPicker";
        arg(rng.chance(30) ? L"width=" + number(rng, -10, 70000) + L" height=" + number(rng, 0, 300) : L"");
        if (rng.chance(80)) arg(rng.chance(80) ? number(rng, 0, 999) + number(rng, 100, 999) + number(rng, 100, 999) : L"12");
    } else if (f == L"Tessary_DoTabDialog") {
        c.mayShowDialog = true;
        opts({L"gotoTab2", L"gotoTab3", L"noTabText", L"focus=12", L"defaultButton2"});
        const int pages = rng.between(1, 3);
        arg(phrase(rng));
        for (int p = 0; p < 3; ++p) {
            arg(p < pages ? word(rng) : L"");
            arg(phrase(rng));
        }
        arg(word(rng));
        addButtons(rng, c, 8, 8);
        while (int(c.args.size()) < minArgs) c.args.push_back(word(rng));
    } else if (f == L"Tessary_DoDualListDialog") {
        c.mayShowDialog = true;
        Texts own = defaultButtons(4);
        own.push_back(L"moveText");
        opts(own);
        arg(phrase(rng));
        arg(phrase(rng));
        arg(word(rng));
        c.args.push_back(listText(rng, 1));
        arg(word(rng));
        c.args.push_back(listText(rng, 1));
        arg(word(rng));
        addButtons(rng, c, 7, 4);
    } else if (f == L"Tessary_SelectFolderDialog" || f == L"Tessary_SelectFileDialog") {
        c.mayShowDialog = c.systemDialog = true;
        const int count = rng.between(minArgs, cap);
        const Texts valid{rng.chance(30) ? L"saveDialog" : L"", phrase(rng),
                          rng.pick(Texts{L"C:\\windows", L"C:\\", L"", L"C:\\nowhere\\\u65e5\u672c.txt"}),
                          L"Text files|*.txt|All files|*.*"};
        for (int i = 0; i < count; ++i) arg(valid[size_t(i)]);
    } else if (f == L"Tessary_GetPosition") {
        if (cap > 0 && rng.chance(50)) arg(word(rng));
    } else if (f == L"Tessary_SetFont") {
        arg(rng.pick(Texts{L"setAll", L"clearAll", L"setAllButtons", L"setAllDialogText", L"setAllLabels",
                           L"setAllInputTypes", L"setLabel3", L"setInputType24", L"setButton8", L"clearAllButtons",
                           L"setDialogText1", L"setButton99"}));
        arg(rng.pick(Texts{L"Tahoma", L"Courier New", L"Arial", L"No Such Font", L"\u5b8b\u4f53"}));
        arg(rng.pick(Texts{L"", L"Bold", L"Italic Underline", L"StrikeOut Bold"}));
        arg(rng.pick(Texts{L"", L"0", L"-3", L"9", L"14", L"72", L"5000"}));
    } else if (f == L"Tessary_CustomDialog") {
        c.mayShowDialog = true;
        c.args.push_back(markup(rng, c));
    } else if (f == L"Tessary_DoListView") {
        c.mayShowDialog = true;
        const int columns = rng.between(0, 4);
        Texts own = defaultButtons(4);
        own.push_back(L"b1ns");
        opts(own);
        arg(columnLetters(rng, L"ECeX", columns));
        arg(items(rng, columns));
        arg(widths(rng, columns));
        arg(rng.chance(50) ? items(rng, 4) : items(rng, 3) + L"\r" + items(rng, 2));
        arg(columnLetters(rng, L"LRC", columns));
        arg(phrase(rng));
        arg(phrase(rng));
        c.args.push_back(listText(rng, columns));
        arg(word(rng));
        addButtons(rng, c, 9, 4);
        while (int(c.args.size()) < minArgs) c.args.push_back(L"");
    } else {  // Tessary_Calendar, Tessary_System: they take anything
        for (int i = rng.between(minArgs, cap); i > 0; --i) c.args.push_back(maybeHostile(rng, phrase(rng)));
    }
    while (int(c.args.size()) < minArgs) c.args.push_back(maybeHostile(rng, L""));
    if (int(c.args.size()) > cap) c.args.resize(size_t(cap));
    return c;
}

std::vector<std::wstring> progressCommand(Rng &rng) {
    const uint32_t roll = rng.below(100);
    if (roll < 10) {
        std::vector<std::wstring> show{
            L"show " + options(rng, {L"barberpole", L"noDialogText"}).text, phrase(rng),
            rng.pick(Texts{L"", L"10", L"100000", L"-5", L"x", L"2147483647"}), number(rng, -3, 20)};
        const int more = rng.between(0, 5);
        const Texts rest{word(rng), rng.pick(Texts{L"", L"5", L"70000"}), L"0", word(rng), L"Cancel"};
        for (int i = 0; i < more; ++i) show.push_back(rest[size_t(i)]);
        return show;
    }
    if (roll < 55) return {rng.pick(Texts{L"incr", L"incr1", L"incr2"})};
    if (roll < 65) return {rng.pick(Texts{L"reset1", L"reset2"})};
    if (roll < 80) return {rng.pick(Texts{L"setDialogText", L"setLabel1", L"setLabel2"}), maybeHostile(rng, phrase(rng))};
    if (roll < 85) return {L"hide"};
    if (roll < 95) return {L"cancelled"};
    return {hostileText(rng)};
}

std::string describe(const std::wstring &text) {
    std::string out = "\"";
    size_t shown = 0;
    for (wchar_t ch : text) {
        if (++shown > 60) break;
        if (ch >= 0x20 && ch < 0x7f && ch != L'"' && ch != L'\\') {
            out += char(ch);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", unsigned(ch));
            out += buffer;
        }
    }
    out += "\"";
    if (text.size() > 60) out += " (" + std::to_string(text.size()) + " units)";
    return out;
}

}  // namespace soak
