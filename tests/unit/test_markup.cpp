// The markup scanner on the edge cases of its reading rules. The markup is
// handed over in a buffer of exactly its length, with no terminator, so the
// sanitizer build catches any read past the text.
#include <gtest/gtest.h>

#include "text_helpers.h"

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

// Every element as "object:name=value", joined by " ", and the object count.
std::string scan(const std::u16string &markup, int *objects = nullptr) {
    std::vector<TextUnit> exact(markup.begin(), markup.end());
    MarkupScanner scanner(exact.data(), exact.size());
    std::string out;
    MarkupElement e;
    while (scanner.next(e)) {
        if (!out.empty()) out += ' ';
        out += std::to_string(e.object) + ':' + ascii(e.name, e.nameLength) + '=' + ascii(e.value, e.valueLength);
    }
    if (objects) *objects = scanner.objectCount();
    return out;
}

} // namespace

TEST(MarkupScanner, ReadsElementsByItsRules) {
    struct Case {
        const char *what;
        const char16_t *markup;
        const char *elements;
        int objects;
    } cases[] = {
        {"plain elements", u"<title>Pick</title><width>200</width>", "0:title=Pick 0:width=200", 0},
        {"text outside elements is no element", u"ab<top>5</top>cd", "0:top=5", 0},
        {"letter case is kept", u"<Title>X</Title>", "0:Title=X", 0},
        {"blanks belong to the name", u"<title >X</title>", "0:title =X", 0},
        {"the closing tag's name is not looked at", u"<left>7</right><top>8</top>", "0:left=7 0:top=8", 0},
        {"an enclosing element has no value and does not hide its contents",
         u"<dialog><left>7</left></dialog>", "0:dialog= 0:left=7 0:/dialog=", 0},
        {"a value ends at a nested element", u"<title>A<b>B</b></title>", "0:title= 0:b=B 0:/title=", 0},
        {"a single tag is named with its '/'", u"<resize/><top>3</top>", "0:resize/= 0:top=3", 0},
        {"nothing is decoded", u"<title>&lt;&amp;</title>", "0:title=&lt;&amp;", 0},
        {"text outside the ASCII range stays", u"<title>\u65e5</title>", "0:title=?", 0},
        {"attributes belong to their object",
         u"<object><type>button</type></object><object><name>b</name></object><top>1</top>",
         "1:type=button 2:name=b 0:top=1", 2},
        {"an attribute directly followed by the object's closing tag takes that tag as its own",
         u"<object><readonly>true</object><name>x</name></object><top>1</top>",
         "1:readonly=true 1:name=x 0:top=1", 1},
        {"an object never closed takes every later element", u"<object><type>edit</type><top>1</top>",
         "1:type=edit 1:top=1", 1},
        {"an empty object still counts", u"<object></object>", "", 1},
        {"an object element inside an object starts no other", u"<object><object><name>n</name></object>",
         "1:object= 1:name=n", 1},
        {"an element without its closing tag is empty", u"<title>Pick", "0:title=", 0},
        {"a tag never closed runs to the end", u"<title", "0:title=", 0},
        {"a closing tag never closed ends the text", u"<title>Pick</title", "0:title=Pick", 0},
        {"a '<' at the very end", u"<top>5<", "0:top= 0:=", 0},
        {"a name may hold '<'", u"<a<b>1</b>", "0:a<b=1", 0},
        {"no markup", u"just text", "", 0},
        {"empty", u"", "", 0},
    };
    for (const Case &c : cases) {
        int objects = -1;
        EXPECT_EQ(scan(c.markup, &objects), c.elements) << c.what;
        EXPECT_EQ(objects, c.objects) << c.what;
    }
}

TEST(MarkupScanner, HugeRunsOfTagCharactersAreReadInLinearTime) {
    const size_t megabyte = 1 << 20;
    struct Case {
        const char *what;
        std::u16string markup;
        size_t elements;
    } cases[] = {
        {"only '<'", std::u16string(megabyte, u'<'), 1},
        {"only '>'", std::u16string(megabyte, u'>'), 0},
        {"'<' and '/'", [&] { std::u16string s; while (s.size() < megabyte) s += u"</"; return s; }(), 1},
        {"elements", [&] { std::u16string s; while (s.size() < megabyte) s += u"<x>1</x>"; return s; }(), megabyte / 8},
        {"empty elements", [&] { std::u16string s; while (s.size() < megabyte) s += u"<>"; return s; }(), megabyte / 2},
    };
    for (const Case &c : cases) {
        const auto start = std::chrono::steady_clock::now();
        std::vector<TextUnit> exact(c.markup.begin(), c.markup.end());
        MarkupScanner scanner(exact.data(), exact.size());
        MarkupElement e;
        size_t count = 0;
        while (scanner.next(e)) ++count;
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(count, c.elements) << c.what;
        EXPECT_LT(seconds, 2.0) << c.what;
    }
}

TEST(MarkupScanner, NumbersAreTheirLeadingDigitsAndFlagsExactlyTrue) {
    struct Case {
        const char16_t *value;
        int32_t number;
        bool flag;
    } cases[] = {
        {u"120", 120, false},
        {u"007", 7, false},
        {u"12px", 12, false},
        {u"-5", 0, false},
        {u"+5", 0, false},
        {u" 5", 0, false},
        {u"", 0, false},
        {u"\uff15", 0, false}, // a full-width digit is no digit
        {u"2147483647", 2147483647, false},
        {u"2147483648", 2147483647, false},
        {u"999999999999999999999999999999999999999999999999999999999999999999999999", 2147483647, false},
        {u"true", 0, true},
        {u"True", 0, false},
        {u"true ", 0, false},
        {u"1", 1, false},
    };
    for (const Case &c : cases) {
        const std::u16string value(c.value);
        std::vector<TextUnit> exact(value.begin(), value.end());
        MarkupElement e{0, nullptr, 0, exact.data(), exact.size()};
        EXPECT_EQ(markupNumber(e), c.number) << ascii(exact.data(), exact.size());
        EXPECT_EQ(markupFlag(e), c.flag) << ascii(exact.data(), exact.size());
    }
}
