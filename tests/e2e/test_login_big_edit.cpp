// Tessary_DoLogin and Tessary_BigEditBox through the host, with the dialog
// driver typing, picking and pressing as a user does; the entered texts come
// back through Tessary_GetInput.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "dialog_test.h"

namespace {

using e2e::Args;
using e2e::narrow;

constexpr int kUserCombo = 36 + 4000; // a drop-down's id is its slot + 4000
constexpr int kUserEdit = 36;
constexpr int kPassword = 37;
constexpr int kEditBox = 36;

// Outside the ANSI code page: Greek, CJK and a character beyond the BMP.
const std::wstring kGreek = L"\u0393\u03b5\u03b9\u03ac";
const std::wstring kCjk = L"\u4e2d\u6587\u65e5\u672c";
const std::wstring kSmiley = L"\U0001F600";

SIZE outerSize(const driver::Dialog &d) {
    RECT r = d.windowRect();
    return SIZE{r.right - r.left, r.bottom - r.top};
}

class LoginAndBigEdit : public e2e::DialogTest {};

Args loginArgs(const std::wstring &options, const std::wstring &names, const std::wstring &selected) {
    return {options, L"Sign in", L"Please sign in.", L"User", L"Password", names, selected, L"OK", L"Cancel"};
}

} // namespace

// ---- Tessary_DoLogin -------------------------------------------------------

TEST_F(LoginAndBigEdit, LoginPickAUserTypeAPasswordAndPressAButton) {
    const std::wstring password = L"pw " + kGreek + kCjk + kSmiley;
    std::wstring result = show(L"Tessary_DoLogin", loginArgs(L"", L"ann|" + kGreek + L"|", kGreek),
                               [&](driver::Dialog &d) {
        EXPECT_EQ(outerSize(d).cx, 354);
        EXPECT_EQ(outerSize(d).cy, 187);
        EXPECT_FALSE(d.style() & WS_THICKFRAME);
        EXPECT_EQ(d.caption(), L"Sign in");
        EXPECT_EQ(d.defaultButtonId(), 4);
        driver::ControlInfo combo = d.control(kUserCombo);
        ASSERT_TRUE(combo.hasClass(L"COMBOBOX"));
        EXPECT_EQ(combo.rect.left, 120);
        EXPECT_EQ(combo.rect.top, 52);
        EXPECT_EQ(combo.width(), 215);
        EXPECT_EQ(d.comboItems(kUserCombo), std::vector<std::wstring>({L"ann", kGreek}));
        EXPECT_EQ(d.comboSelection(kUserCombo), 1);
        driver::ControlInfo field = d.control(kPassword);
        EXPECT_TRUE(field.style & ES_PASSWORD);
        EXPECT_TRUE(field.focused) << "the password field has the focus";
        EXPECT_EQ(d.control(12).text, L"User");
        EXPECT_EQ(d.control(13).text, L"Password");
        EXPECT_EQ(d.control(5).text, L"Cancel");

        ASSERT_TRUE(d.typeText(password));
        ASSERT_TRUE(d.clickComboItem(kUserCombo, 0));
        EXPECT_EQ(d.comboSelection(kUserCombo), 0);
        d.click(5);
    });
    EXPECT_EQ(result, L"2");
    EXPECT_EQ(input(L"text1"), L"ann");
    EXPECT_EQ(input(L"text2"), password);
}

TEST_F(LoginAndBigEdit, LoginWithAnEditFieldAndEnterForTheDefaultButton) {
    // Far wider than the field: all of it is kept.
    std::wstring user = kCjk + L" " + kGreek + kSmiley;
    while (user.size() < 72) user += L" name";
    std::wstring result = show(L"Tessary_DoLogin", loginArgs(L"editBox defaultButton2", L"", L"ignored"),
                               [&](driver::Dialog &d) {
        EXPECT_FALSE(d.control(kUserCombo).exists());
        driver::ControlInfo edit = d.control(kUserEdit);
        ASSERT_TRUE(edit.hasClass(L"EDIT"));
        EXPECT_FALSE(edit.style & ES_PASSWORD);
        EXPECT_EQ(edit.text, L"");
        EXPECT_EQ(d.defaultButtonId(), 5);
        // The name field opens empty, so it has the focus: what is typed
        // first is the name, never a name typed into the password field
        // and a password shown in the name field.
        EXPECT_TRUE(edit.focused);
        EXPECT_FALSE(d.control(kPassword).focused);
        ASSERT_TRUE(d.typeText(user));
        d.pressKey(VK_TAB);
        ASSERT_TRUE(d.typeText(L"secret"));
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(result, L"2");
    EXPECT_EQ(input(L"text1"), user);
    EXPECT_EQ(input(L"text2"), L"secret");
}

TEST_F(LoginAndBigEdit, LoginClosedByItsCloseBoxAnswersNothingAndKeepsNoPassword) {
    // An earlier press must not become this dialog's answer.
    show(L"Tessary_Dialog", {L"", L"T", L"M", L"A", L"B"}, [](driver::Dialog &d) { d.click(5); });
    std::wstring result = show(L"Tessary_DoLogin", loginArgs(L"", L"ann|", L"ann"), [](driver::Dialog &d) {
        d.typeText(L"typed then abandoned");
        EXPECT_TRUE(d.close());
        EXPECT_TRUE(d.waitForClose(3000));
    });
    EXPECT_EQ(result, L"");
    EXPECT_EQ(input(L"text2"), L"");
    // A name field's given text stays as it was given.
    result = show(L"Tessary_DoLogin", loginArgs(L"editBox", L"a\r\nb", L""), [](driver::Dialog &d) {
        EXPECT_TRUE(d.close());
        EXPECT_TRUE(d.waitForClose(3000));
    });
    EXPECT_EQ(result, L"");
    EXPECT_EQ(input(L"text1"), L"a\r\nb");
}

TEST_F(LoginAndBigEdit, LoginSurvivesHostileNameLists) {
    std::wstring manyNames;
    for (int i = 0; i < 100000; ++i) manyNames += L"n" + std::to_wstring(i) + L"|";
    struct Case {
        const wchar_t *options;
        std::wstring names, selected;
        int items; // in the drop-down; -1 for the edit field
        int selection = -2; // the drop-down's chosen item; -2: not looked at
    } cases[] = {
        // Far past the former 200,000-unit cut of a text: the last name is chosen.
        {L"", manyNames, L"n99999", 100000, 99999},
        {L"", std::wstring(10000, L'|'), std::wstring(10000, L'|'), 10000},
        {L"", std::wstring(3000, L'a') + L"|=|==", std::wstring(5000, L'a'), 1},
        {L"editBox", std::wstring(150000, L'|'), L"", -1},
    };
    for (const Case &c : cases) {
        int items = -2;
        std::wstring result = show(L"Tessary_DoLogin", loginArgs(c.options, c.names, c.selected),
                                   [&](driver::Dialog &d) {
            items = d.control(kUserCombo).exists() ? int(d.comboItems(kUserCombo).size()) : -1;
            if (c.selection != -2) {
                EXPECT_EQ(d.comboSelection(kUserCombo), c.selection);
            }
            d.click(4);
        }, 60000);
        EXPECT_EQ(result, L"1") << narrow(c.options);
        EXPECT_EQ(items, c.items) << narrow(c.options);
        if (c.selection >= 0) {
            EXPECT_EQ(input(L"text1"), c.selected);
        }
    }
}

TEST_F(LoginAndBigEdit, AFieldWithTheFocusLeavesTheWindowActive) {
    // Focusing the field before the window was shown left the caption drawn
    // as an inactive window's, although it took the keyboard.
    COLORREF caption = 0;
    show(L"Tessary_DoLogin", loginArgs(L"", L"ann|", L"ann"), [&](driver::Dialog &d) {
        EXPECT_TRUE(d.control(kPassword).focused);
        d.waitMs(200);
        RECT r = d.windowRect();
        HDC dc = GetWindowDC(d.hwnd());
        caption = GetPixel(dc, r.right - r.left - GetSystemMetrics(SM_CXFIXEDFRAME) - 12,
                           GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
        ReleaseDC(d.hwnd(), dc);
        d.click(4);
    });
    EXPECT_EQ(caption, GetSysColor(COLOR_ACTIVECAPTION)) << std::hex << caption;
}

// ---- Tessary_BigEditBox ----------------------------------------------------

TEST_F(LoginAndBigEdit, BigEditBoxShowsDefaultLinesAndReturnsTypedLinesWithCr) {
    std::wstring result = show(L"Tessary_BigEditBox",
                               {L"", L"Notes", L"Your notes", L"first\rsecond " + kSmiley, L"Save", L"Cancel"},
                               [&](driver::Dialog &d) {
        EXPECT_EQ(outerSize(d).cx, 495);
        EXPECT_EQ(outerSize(d).cy, 596);
        EXPECT_TRUE(d.style() & WS_THICKFRAME);
        EXPECT_EQ(d.control(1).text, L"Your notes");
        driver::ControlInfo edit = d.control(kEditBox);
        ASSERT_TRUE(edit.hasClass(L"EDIT"));
        EXPECT_TRUE(edit.style & ES_MULTILINE);
        EXPECT_TRUE(edit.focused);
        EXPECT_EQ(edit.rect.top, 35);
        EXPECT_EQ(edit.height(), 596 - 115);
        // The host's CR line break shows as a line of its own.
        EXPECT_EQ(edit.text, L"first\r\nsecond " + kSmiley);
        EXPECT_EQ(SendMessageW(edit.hwnd, EM_GETLINECOUNT, 0, 0), 2);
        // The caret starts at the end; Enter starts a new line.
        ASSERT_TRUE(d.typeText(L"\n" + kGreek + L"\n" + kCjk + kSmiley));
        EXPECT_EQ(d.control(kEditBox).text, L"first\r\nsecond " + kSmiley + L"\r\n" + kGreek + L"\r\n" + kCjk + kSmiley);
        d.click(5);
    });
    EXPECT_EQ(result, L"2");
    EXPECT_EQ(input(L"text1"), L"first\rsecond " + kSmiley + L"\r" + kGreek + L"\r" + kCjk + kSmiley);
}

TEST_F(LoginAndBigEdit, BigEditBoxWithoutCaptionFollowsTheWindow) {
    std::wstring result = show(L"Tessary_BigEditBox", {L"small", L"T", L"", L"", L"A", L"", L"C"},
                               [](driver::Dialog &d) {
        EXPECT_FALSE(d.control(1).exists());
        // 250 wide is below the smallest width the window keeps.
        EXPECT_EQ(outerSize(d).cx, 383);
        EXPECT_EQ(outerSize(d).cy, 290);
        EXPECT_EQ(d.control(kEditBox).rect.top, 10);
        EXPECT_EQ(d.control(kEditBox).width(), 383 - 44);
        EXPECT_EQ(d.control(kEditBox).height(), 290 - 90);
        EXPECT_EQ(d.control(5).text, L"C");
        EXPECT_EQ(d.control(5).rect.left, 383 - 257);
        d.resize(483, 390);
        EXPECT_EQ(d.control(kEditBox).width(), 483 - 44);
        EXPECT_EQ(d.control(kEditBox).height(), 390 - 90);
        EXPECT_EQ(d.control(4).rect.left, 483 - 93);
        EXPECT_EQ(d.control(4).rect.top, 390 - 65);
        d.click(5);
    });
    EXPECT_EQ(result, L"3");
}

TEST_F(LoginAndBigEdit, BigEditBoxClosedByItsCloseBoxAnswersNothing) {
    show(L"Tessary_Dialog", {L"", L"T", L"M", L"A", L"B"}, [](driver::Dialog &d) { d.click(5); });
    const std::wstring kept = L"a\r\nb\rc\nd";
    std::wstring result = show(L"Tessary_BigEditBox", {L"", L"T", L"", kept, L"OK", L"No"}, [](driver::Dialog &d) {
        d.typeText(L" and more");
        EXPECT_TRUE(d.close());
        EXPECT_TRUE(d.waitForClose(3000));
    });
    EXPECT_EQ(result, L"");
    EXPECT_EQ(input(L"text1"), kept) << "nothing is read back, and the given text stays as it was";
}

TEST_F(LoginAndBigEdit, BigEditBoxTakesAHugeText) {
    std::wstring text;
    for (int line = 0; line < 2000; ++line) text += std::wstring(70, L'a' + line % 26) + L"\r";
    std::wstring result = show(L"Tessary_BigEditBox", {L"", L"T", L"", text, L"OK", L"No"}, [](driver::Dialog &d) {
        d.click(4);
    }, 60000);
    EXPECT_EQ(result, L"1");
    EXPECT_EQ(input(L"text1"), text);
}
