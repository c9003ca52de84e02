// The markup scanner on the edge cases of its reading rules. The markup is
// handed over in a buffer of exactly its length, with no terminator, so the
// sanitizer build catches any read past the text.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "model/markup.h"

namespace {

std::string ascii(const TextUnit *units, size_t length) {
    std::string out;
    for (size_t i = 0; i < length; ++i) out += units[i] < 0x80 ? char(units[i]) : '?';
    return out;
}

// Every element as "object:name=value", joined by " ", then "#" and the
// object count.
std::string scan(const std::u16string &markup) {
    std::vector<TextUnit> exact(markup.begin(), markup.end());
    MarkupScanner scanner(exact.data(), exact.size());
    std::string out;
    MarkupElement e;
    while (scanner.next(e)) {
        out += std::to_string(e.object) + ':' + ascii(e.name, e.nameLength) + '=' + ascii(e.value, e.valueLength) + ' ';
    }
    return out + '#' + std::to_string(scanner.objectCount());
}

} // namespace

TEST(MarkupScanner, ReadsElementsByItsRules) {
    struct Case {
        const char16_t *markup;
        const char *elements;
    } cases[] = {
        {u"ab<title>Pick</title>cd<width>2</width>", "0:title=Pick 0:width=2 #0"},
        {u"<Title>X</Title><title >Y</title>", "0:Title=X 0:title =Y #0"},      // case and blanks kept
        {u"<left>7</right>", "0:left=7 #0"},                                   // closing name not looked at
        {u"<dialog><left>7</left></dialog>", "0:dialog= 0:left=7 0:/dialog= #0"},
        {u"<title>A<b>B</b></title>", "0:title= 0:b=B 0:/title= #0"},          // a value ends at '<'
        {u"<resize/><top>3</top>", "0:resize/= 0:top=3 #0"},                   // single tags keep their '/'
        {u"<title>&lt;\u65e5</title>", "0:title=&lt;? #0"},                    // nothing decoded
        {u"<object><type>button</type></object><object><name>b</name></object><top>1</top>",
         "1:type=button 2:name=b 0:top=1 #2"},
        // An attribute directly followed by the object's closing tag takes
        // that tag as its own, so the object goes on.
        {u"<object><readonly>true</object><name>x</name></object><top>1</top>", "1:readonly=true 1:name=x 0:top=1 #1"},
        {u"<object><object><name>n</name>", "1:object= 1:name=n #1"},          // never closed, no second object
        {u"<object></object>", "#1"},
        {u"<title>Pick", "0:title= #0"},                                       // unterminated input
        {u"<title", "0:title= #0"},
        {u"<title>Pick</title", "0:title=Pick #0"},
        {u"<top>5<", "0:top= 0:= #0"},
        {u"<a<b>1</b>", "0:a<b=1 #0"},
        {u"", "#0"},
    };
    for (const Case &c : cases) EXPECT_EQ(scan(c.markup), c.elements);
}

TEST(MarkupScanner, AMegabyteOfTagCharactersIsReadQuickly) {
    const size_t size = 1 << 20;
    const std::u16string cases[] = {std::u16string(size, u'<'), std::u16string(size, u'>'),
                                    [&] { std::u16string s; while (s.size() < size) s += u"</"; return s; }(),
                                    [&] { std::u16string s; while (s.size() < size) s += u"<x>1</x><"; return s; }()};
    for (const std::u16string &markup : cases) {
        const auto start = std::chrono::steady_clock::now();
        scan(markup);
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);
    }
}

TEST(MarkupScanner, NumbersAreTheirLeadingDigitsAndFlagsExactlyTrue) {
    struct Case {
        const char16_t *value;
        int32_t number;
        bool flag;
    } cases[] = {
        {u"120", 120, false},  {u"12px", 12, false}, {u"-5", 0, false},   {u" 5", 0, false},
        {u"", 0, false},       {u"\uff15", 0, false}, {u"2147483648", 2147483647, false},
        {u"99999999999999999999999999999999999999999999999999999999999999999999999", 2147483647, false},
        {u"true", 0, true},    {u"True", 0, false},  {u"true ", 0, false},
    };
    for (const Case &c : cases) {
        const std::u16string value(c.value);
        std::vector<TextUnit> exact(value.begin(), value.end());
        MarkupElement e{0, nullptr, 0, exact.data(), exact.size()};
        EXPECT_EQ(markupNumber(e), c.number) << ascii(exact.data(), exact.size());
        EXPECT_EQ(markupFlag(e), c.flag) << ascii(exact.data(), exact.size());
    }
}
