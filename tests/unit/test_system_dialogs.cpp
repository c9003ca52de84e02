#include <gtest/gtest.h>

#include "text_helpers.h"

#include <string>

#include "runtime/system_dialogs.h"

// The file types list the system takes: NUL-separated, ended by two NULs.
TEST(SystemDialogs, FilterListIsNulSeparatedAndDoublyEnded) {
    struct Case {
        std::u16string filter, expected; // expected includes the final terminator
    } cases[] = {
        {u"", std::u16string(1, u'\0')},
        {u"Text files|*.txt|All files|*.*|", std::u16string(u"Text files\0*.txt\0All files\0*.*\0\0", 32)},
        // A text without its closing '|' still ends the list.
        {u"Text|*.txt", std::u16string(u"Text\0*.txt\0\0", 12)},
        {u"Pictures|*.png;*.jpg|", std::u16string(u"Pictures\0*.png;*.jpg\0\0", 22)},
    };
    for (const Case &c : cases) {
        WideText list = systemFilterList(W(c.filter.c_str()));
        std::u16string got(list.data(), list.data() + list.length() + 1);
        EXPECT_EQ(got, c.expected) << "filter of " << c.filter.size() << " units";
    }
}

// What the save dialog adds to a name typed without an extension.
TEST(SystemDialogs, DefaultExtensionIsTheFirstPatterns) {
    struct Case {
        std::u16string filter, expected;
    } cases[] = {
        {u"Text|*.txt|", u"txt"},
        {u"Text|*.txt", u"txt"},
        {u"Pictures|*.png;*.jpg|All|*.*|", u"png"},
        {u"Archives|*.tar.gz|", u"tar.gz"},
        {u"All|*.*|Text|*.txt|", u""},
        {u"Any|*|", u""},
        {u"Logs|log?.*|", u""},
        {u"Odd|*.t?t|", u""},
        {u"Empty||", u""},
        {u"No pattern", u""},
        {u"", u""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(U(defaultExtension(W(c.filter.c_str()))), c.expected) << std::string(c.filter.begin(), c.filter.end());
    }
}
