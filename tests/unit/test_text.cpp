#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>

#include "model/fields.h"
#include "model/text.h"

TEST(Text, OwnedTextsCopyAndKeepTheirTerminator) {
    WideText a = W(u"abc");
    WideText b = a;
    a.clear();
    EXPECT_EQ(U(b), u"abc");
    EXPECT_EQ(b.data()[3], 0);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.data()[0], 0);
    b = b; // self-assignment keeps the text
    EXPECT_EQ(U(b), u"abc");

    NarrowText n("options");
    EXPECT_TRUE(equals(n, "options"));
    EXPECT_FALSE(equals(n, "Options"));
    EXPECT_FALSE(equals(n, nullptr));
    EXPECT_TRUE(NarrowText(static_cast<const char *>(nullptr)).empty());
}

TEST(Text, ClampedReadNeverLeavesTheText) {
    WideText t = W(u"abc");
    EXPECT_EQ(t.at(5), 'c');
    EXPECT_EQ(t.at(3), 0);
    EXPECT_EQ(t.at(1), 'b');
    EXPECT_EQ(WideText().at(4), 0);
}

TEST(Text, LengthsPastSixteenBitsAreKeptWhole) {
    std::u16string big(70000, u'x');
    big[69999] = u'y';
    WideText t(reinterpret_cast<const TextUnit *>(big.c_str()));
    EXPECT_EQ(t.length(), 70000u);
    EXPECT_EQ(t[69999], 'y');
    WideText copy = t;
    EXPECT_EQ(copy.length(), 70000u);
}

TEST(Text, BoundedCopiesNeverWritePastTheirCapacity) {
    TextUnit buffer[6];
    for (TextUnit &u : buffer) u = TextUnit('#');
    EXPECT_EQ(wideCopy(buffer, 4, W(u"abcdef").data()), 3u);
    EXPECT_EQ(U(WideText(buffer)), u"abc");
    EXPECT_EQ(buffer[4], '#');


    EXPECT_EQ(wideCopyNarrow(buffer, 6, "\xE9t\xE9"), 3u);
    EXPECT_EQ(buffer[0], 0xE9);
    EXPECT_EQ(wideCopy(buffer, 0, W(u"x").data()), 0u);
}

TEST(Text, CompareCountReverse) {
    struct Case {
        const char16_t *a;
        const char16_t *b;
        int sign;
    } cases[] = {{u"abc", u"abc", 0}, {u"abc", u"abd", -1}, {u"b", u"a", 1}, {u"ab", u"abc", -1}, {u"", u"", 0}};
    for (const Case &c : cases) {
        int r = wideCompare(W(c.a).data(), W(c.b).data());
        EXPECT_EQ((r > 0) - (r < 0), c.sign);
    }
    EXPECT_EQ(wideCompareNarrow(W(u"listbox").data(), "listbox"), 0);
    EXPECT_NE(wideCompareNarrow(W(u"listbox").data(), "Listbox"), 0);
    EXPECT_EQ(wideCount(W(u"a|b||c").data(), TextUnit('|')), 3u);
    WideText r = W(u"abcd");
    wideReverse(r.data());
    EXPECT_EQ(U(r), u"dcba");
}

TEST(Text, IntegerToTextInEveryRadix) {
    struct Case {
        long long value;
        int radix;
        const char16_t *expected;
    } cases[] = {
        {0, 10, u"0"},        {3, 10, u"3"},        {-42, 10, u"-42"}, {255, 16, u"ff"},
        {35, 36, u"z"},       {5, 2, u"101"},       {7, 1, u""},       {7, 37, u""},
        {-9223372036854775807LL - 1, 10, u"-9223372036854775808"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(U(integerToText(c.value, c.radix)), c.expected) << c.value << " radix " << c.radix;
    }
}

TEST(Text, Utf8RoundTripKeepsEveryCharacter) {
    const char *samples[] = {"plain", "caf\xC3\xA9", "\xE4\xB8\xAD\xE6\x96\x87", "\xF0\x9F\x98\x80 smile", ""};
    for (const char *s : samples) EXPECT_EQ(wideToUtf8(utf8ToWide(s).data()), s);
    // A lone continuation byte or a cut sequence becomes one replacement
    // character instead of swallowing what follows.
    EXPECT_EQ(U(utf8ToWide("a\x80z")), u"a\uFFFDz");
    EXPECT_EQ(U(utf8ToWide("a\xE4\xB8")), u"a\uFFFD");
    EXPECT_EQ(utf8ToWide("\xF0\x9F\x98\x80").length(), 2u);
    // Overlong forms are invalid: they must not decode to a NUL or a '/'
    // that a check of the bytes never saw.
    EXPECT_EQ(U(utf8ToWide("a\xC0\x80z")), u"a\uFFFDz");
    EXPECT_EQ(U(utf8ToWide("\xC0\xAF")), u"\uFFFD");
    EXPECT_EQ(U(utf8ToWide("\xE0\x80\xAF")), u"\uFFFD");
    EXPECT_EQ(U(utf8ToWide("\xF0\x80\x80\xAF")), u"\uFFFD");
}

TEST(Text, PipeFieldSplitsAtBars) {
    struct Case {
        const char16_t *text;
        size_t n;
        const char16_t *expected;
    } cases[] = {
        {u"a|bb|c", 0, u"a"}, {u"a|bb|c", 1, u"bb"}, {u"a|bb|c", 2, u"c"}, {u"a|bb|c", 3, u""},
        {u"whole", 0, u"whole"}, {u"", 0, u""}, {u"a||c", 1, u""}, {u"a|b|", 2, u""},
        {u"|x", 0, u""}, {u"|x", 1, u"x"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(U(pipeField(W(c.text).data(), c.n)), c.expected) << "field " << c.n;
        // The one-pass list numbers its fields the same way.
        WideText text = W(c.text);
        EXPECT_EQ(U(WideFields(text).text(c.n)), c.expected) << "listed field " << c.n;
    }
    // As a list of items, a closing '|' is optional and an empty text holds none.
    struct Items {
        const char16_t *text;
        size_t fields, items;
    } items[] = {{u"", 1, 0}, {u"a", 1, 1}, {u"a|b|", 3, 2}, {u"a|b", 2, 2}, {u"a||", 3, 2}, {u"|", 2, 1}};
    for (const Items &c : items) {
        WideText text = W(c.text);
        WideFields fields(text);
        EXPECT_EQ(fields.size(), c.fields) << wideToUtf8(text.data());
        EXPECT_EQ(fields.itemCount(), c.items) << wideToUtf8(text.data());
    }
    EXPECT_TRUE(pipeField(nullptr, 0).empty());
}

TEST(Text, PipeFieldStopsScanningAtItsLimit) {
    std::u16string big(kMaxFieldScan + 50, u'a');
    big[kMaxFieldScan + 10] = u'|';
    WideText t(reinterpret_cast<const TextUnit *>(big.c_str()));
    EXPECT_EQ(pipeField(t.data(), 0).length(), kMaxFieldScan);
    EXPECT_TRUE(pipeField(t.data(), 1).empty());
}
