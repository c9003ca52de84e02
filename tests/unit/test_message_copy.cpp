// What Ctrl+C in a message dialog puts on the clipboard.
#include <gtest/gtest.h>

#include "text_helpers.h"

#include "runtime/message_copy.h"

TEST(MessageCopy, TitleLineThenTheMessageWithWindowsLineBreaks) {
    struct Case {
        const char16_t *title, *message, *copy;
    } cases[] = {
        {u"Error", u"The file is locked.", u"Error\r\n\r\nThe file is locked."},
        {u"Error", u"a\rb\nc\r\nd\n\re", u"Error\r\n\r\na\r\nb\r\nc\r\nd\r\n\r\ne"},
        {u"Two\rlines", u"m", u"Two\r\nlines\r\n\r\nm"},
        {u"", u"Only a message", u"Only a message"},
        {u"Only a title", u"", u"Only a title"},
        {u"", u"", u""},
        {u"\u65e5\u672c", u"\U0001F600\r", u"\u65e5\u672c\r\n\r\n\U0001F600\r\n"},
    };
    for (const Case &c : cases) EXPECT_EQ(U(messageCopyText(W(c.title), W(c.message))), c.copy) << "case " << &c - cases;
}
