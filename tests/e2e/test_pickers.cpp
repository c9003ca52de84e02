// Tessary_ColorPicker, Tessary_SelectFileDialog and Tessary_SelectFolderDialog
// through the host, with the dialog driver as the user of the system's own
// choosers: what they show, what a choice returns, paths outside the ANSI
// code page coming back whole, and a host window that stays disabled and
// a current folder that stays put while they are open.
#include "dialog_test.h"

#include <commctrl.h>

#include <memory>

namespace {

using e2e::Args;

std::string utf8(const std::wstring &s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), int(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, s.c_str(), int(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

// Control ids of the system's choosers.
constexpr int kRedEdit = 706;          // colour chooser: Red, Green, Blue
constexpr int kGreenEdit = 707;
constexpr int kBlueEdit = 708;
constexpr int kCustomColors = 721;     // the two rows of custom colour boxes
constexpr int kAddCustomColor = 712;
constexpr int kFileName = 0x47c;       // file dialogs: the file name box
constexpr int kFileTypes = 0x470;      // the file type list
constexpr int kLookIn = 0x471;         // the folder it shows
constexpr int kFolderTitle = 0x3742;   // folder browser: the text above the tree
constexpr int kFolderTree = 0x3741;

// Files and folders the choosers are pointed at, named outside the ANSI code
// page; made with the system's own calls.
const std::wstring kRoot = L"C:\\tessary-pickers";
const std::wstring kGreekFolder = kRoot + L"\\\u03a6\u03ac\u03ba\u03b5\u03bb\u03bf\u03c2";
const std::wstring kGreekFile = kRoot + L"\\\u0396\u03c9\u03ae \u65e5\u672c.txt";

// The colour of one client pixel of a window, as the screen shows it.
COLORREF pixel(HWND window, POINT at) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, at.x, at.y);
    ReleaseDC(window, dc);
    return c;
}

// The centre of the first custom colour box.
POINT firstCustomBox(const driver::Dialog &d) {
    RECT r = d.control(kCustomColors).rect;
    return POINT{r.left + (r.right - r.left) / 16, r.top + (r.bottom - r.top) / 4};
}

std::wstring selectedTreeItem(const driver::Dialog &d) {
    HWND tree = d.control(kFolderTree).hwnd;
    HTREEITEM item = HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    wchar_t text[MAX_PATH] = {0};
    TVITEMW query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = MAX_PATH;
    if (item == nullptr || !SendMessageW(tree, TVM_GETITEMW, 0, LPARAM(&query))) return L"(none)";
    return text;
}

class Pickers : public e2e::DialogTest {
protected:
    void SetUp() override {
        e2e::DialogTest::SetUp();
        CreateDirectoryW(kRoot.c_str(), nullptr);
        CreateDirectoryW(kGreekFolder.c_str(), nullptr);
        HANDLE file = CreateFileW(kGreekFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        // The database's own window, active when a script calls.
        database = CreateWindowExW(0, L"STATIC", L"Database", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 600, 300, 200,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(database, nullptr);
        SetActiveWindow(database);
    }
    void TearDown() override { DestroyWindow(database); }

    // Calls `function` with `act` as the user of the chooser it shows.
    std::wstring choose(const wchar_t *function, const Args &args, std::function<void(driver::Dialog &)> act) {
        const std::wstring before = currentDirectory();
        std::wstring chosen = show(function, args, [&](driver::Dialog &d) {
            // A chooser is modal to the database's window, as every dialog is.
            EXPECT_EQ(GetWindow(d.hwnd(), GW_OWNER), database) << utf8(function);
            EXPECT_FALSE(IsWindowEnabled(database)) << utf8(function);
            act(d);
        });
        // The host's current folder is the host's: browsing must not move it.
        EXPECT_EQ(currentDirectory(), before) << utf8(function) << " left the process in another folder";
        return chosen;
    }

    static std::wstring currentDirectory() {
        wchar_t folder[MAX_PATH] = {0};
        GetCurrentDirectoryW(MAX_PATH, folder);
        return folder;
    }

    // Arms the driver for a message box that a chooser shows over itself,
    // and answers it with `button`.
    static std::unique_ptr<driver::Session> answerBox(int button) {
        return std::unique_ptr<driver::Session>(
            new driver::Session([button](driver::Dialog &d) { d.click(button); }, 20000));
    }

    HWND database = nullptr;
};

} // namespace

TEST_F(Pickers, TheColourChooserStartsOnTheColourAndReturnsTheChoice) {
    // Confirmed as shown; the colour text is read into the chooser's fields.
    std::wstring orange = choose(L"Tessary_ColorPicker", {L"", L"255128000"}, [](driver::Dialog &d) {
        EXPECT_EQ(d.control(kRedEdit).text, L"255");
        EXPECT_EQ(d.control(kGreenEdit).text, L"128");
        EXPECT_EQ(d.control(kBlueEdit).text, L"0");
        // A custom colour the user adds shows in the first box...
        d.click(kAddCustomColor);
        d.waitMs(200);
        EXPECT_EQ(pixel(d.hwnd(), firstCustomBox(d)), RGB(255, 128, 0));
        d.click(IDOK);
    });
    EXPECT_EQ(orange, L"255128000");

    // A red typed by the user comes back as three digits.
    std::wstring typed = choose(L"Tessary_ColorPicker", {L"", L"007008009"}, [](driver::Dialog &d) {
        // ...and is gone the next time: every call starts with white ones.
        EXPECT_EQ(pixel(d.hwnd(), firstCustomBox(d)), RGB(255, 255, 255));
        EXPECT_EQ(d.control(kBlueEdit).text, L"9");
        d.click(kRedEdit);
        d.pressKey('A', VK_CONTROL);
        d.typeText(L"200");
        d.pressKey(VK_TAB);
        d.click(IDOK);
    });
    EXPECT_EQ(typed, L"200008009");

    std::wstring cancelled = choose(L"Tessary_ColorPicker", {L"", L"255128000"}, [](driver::Dialog &d) {
        d.click(kRedEdit);
        d.pressKey('A', VK_CONTROL);
        d.typeText(L"1");
        d.click(IDCANCEL);
    });
    EXPECT_EQ(cancelled, L"");
}

TEST_F(Pickers, TheOpenDialogReturnsATypedPathWholeAndRefusesAMissingFile) {
    const Args args{L"", L"Pick a file", kRoot, L"Text files|*.txt|All files|*.*"};
    std::wstring chosen = choose(L"Tessary_SelectFileDialog", args, [](driver::Dialog &d) {
        EXPECT_EQ(d.caption(), L"Pick a file");
        EXPECT_EQ(d.control(kLookIn).text, L"tessary-pickers");
        // The filter without its closing '|' still makes exactly its two types.
        std::vector<std::wstring> types{L"Text files", L"All files"};
        EXPECT_EQ(d.comboItems(kFileTypes), types);
        d.click(kFileName);
        d.typeText(kGreekFile);
        d.click(IDOK);
    });
    EXPECT_EQ(chosen, kGreekFile) << utf8(chosen);

    std::unique_ptr<driver::Session> box;
    std::wstring refused = choose(L"Tessary_SelectFileDialog", {L"", L"Pick a file", kRoot}, [&](driver::Dialog &d) {
        box = answerBox(IDOK); // the system's "does not exist"
        d.click(kFileName);
        d.typeText(kRoot + L"\\missing.txt");
        d.click(IDOK);
        EXPECT_TRUE(d.waitUntil([&] { return box->ran(); }, 5000)) << "no message about the missing file";
        EXPECT_TRUE(d.isOpen()) << "the dialog took a file that does not exist";
        d.click(IDCANCEL);
    });
    EXPECT_EQ(refused, L"");
}

TEST_F(Pickers, TheSaveDialogStartsWithTheDefaultPathAndAsksBeforeOverwriting) {
    const std::wstring fresh = kRoot + L"\\\u039d\u03ad\u03bf.txt";
    std::wstring saved = choose(L"Tessary_SelectFileDialog", {L"saveDialog", L"Save as", fresh}, [](driver::Dialog &d) {
        EXPECT_EQ(d.caption(), L"Save as");
        EXPECT_EQ(d.control(kLookIn).text, L"tessary-pickers");
        EXPECT_EQ(d.control(kFileName).text, L"\u039d\u03ad\u03bf.txt");
        d.click(IDOK);
    });
    EXPECT_EQ(saved, fresh) << utf8(saved);

    std::unique_ptr<driver::Session> box;
    const Args existing{L"saveDialog", L"", kGreekFile};
    std::wstring replaced = choose(L"Tessary_SelectFileDialog", existing, [&](driver::Dialog &d) {
        box = answerBox(IDYES);
        d.click(IDOK);
        EXPECT_TRUE(d.waitUntil([&] { return box->ran(); }, 5000)) << "no question before overwriting";
    });
    EXPECT_EQ(replaced, kGreekFile) << utf8(replaced);
}

// A name typed without an extension gets the first file type's; one typed
// with an extension keeps it. The save dialog has no Help button, which
// nothing would answer.
TEST_F(Pickers, TheSaveDialogAddsTheFirstTypesExtension) {
    constexpr int kHelpButton = 0x40E;
    auto shown = [](driver::Dialog &d, int id) {
        const HWND control = d.control(id).hwnd;
        return control != nullptr && IsWindowVisible(control);
    };
    const struct {
        const wchar_t *typed, *expected;
    } cases[] = {{L"report2", L"report2.txt"}, {L"notes.md", L"notes.md"}};
    for (const auto &c : cases) {
        const Args args{L"saveDialog", L"Save as", kRoot + L"\\draft", L"Text|*.txt|All files|*.*|"};
        std::wstring saved = choose(L"Tessary_SelectFileDialog", args, [&](driver::Dialog &d) {
            EXPECT_FALSE(shown(d, kHelpButton)) << "a Help button that does nothing";
            d.setText(kFileName, kRoot + L"\\" + c.typed);
            d.click(IDOK);
        });
        EXPECT_EQ(saved, kRoot + L"\\" + c.expected) << utf8(saved);
    }
}

TEST_F(Pickers, TheFolderBrowserOpensOnTheDefaultFolderAndReturnsItWhole) {
    const Args args{L"", L"Where do the files go?", kGreekFolder};
    std::wstring chosen = choose(L"Tessary_SelectFolderDialog", args, [](driver::Dialog &d) {
        EXPECT_EQ(d.control(kFolderTitle).text, L"Where do the files go?");
        // The shell fills the tree before it selects the folder; on a busy
        // machine that has taken more than 3 s under 64-bit Wine.
        EXPECT_TRUE(d.waitUntil([&] { return selectedTreeItem(d) == L"\u03a6\u03ac\u03ba\u03b5\u03bb\u03bf\u03c2"; },
                                15000))
            << "selected: " << utf8(selectedTreeItem(d));
        d.click(IDOK);
    });
    EXPECT_EQ(chosen, kGreekFolder) << utf8(chosen);

    std::wstring cancelled =
        choose(L"Tessary_SelectFolderDialog", {L"", L"", kGreekFolder}, [](driver::Dialog &d) { d.click(IDCANCEL); });
    EXPECT_EQ(cancelled, L"");
}

TEST_F(Pickers, NoArgumentAtAllOpensNoWindow) {
    for (const wchar_t *function : {L"Tessary_SelectFileDialog", L"Tessary_SelectFolderDialog"}) {
        driver::Session session([](driver::Dialog &d) { d.click(IDCANCEL); }, 20000);
        hostcore::CallResult r = host.call(function, {});
        EXPECT_EQ(r.status, hostcore::CallStatus::Called) << utf8(function);
        EXPECT_TRUE(r.isText) << utf8(function);
        EXPECT_EQ(r.text, L"") << utf8(function);
        EXPECT_FALSE(session.ran()) << utf8(function) << " opened a window";
    }
}
