// The dialog driver plays the user of the dialogs that a function call shows.
//
// A call that shows a modal dialog blocks in the dialog's modal loop on the
// calling (user-interface) thread. The driver acts from inside that loop: a
// thread timer polls for a new dialog window of this thread, and when one
// appears it runs the action that a test armed, with a Dialog object through
// which the action reads the controls and acts with real mouse and keyboard
// input. Waiting inside an action pumps messages, so the dialog stays alive
// and answers as it would to a person. A watchdog ends every dialog that
// outlives its session's time limit, so a failing test fails fast instead of
// hanging the run.
//
//     driver::Session session([](driver::Dialog& d) {
//         EXPECT_EQ(L"Hello", d.control(12).text);
//         d.click(4);                      // a real click; the dialog ends
//     });
//     std::wstring result = call(L"Tessary_Dialog( \"\" ; \"T\" ; \"Hello\" ; \"OK\" )");
//     EXPECT_TRUE(session.ran());
//
// Everything here runs on the one thread that shows the dialogs; nothing is
// thread-safe and nothing needs to be.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace driver {

// Time a session's dialog may stay open before the watchdog ends it.
constexpr unsigned kDefaultTimeoutMs = 10000; /* ms */

// One child window of a dialog, as read at one moment.
struct ControlInfo {
    HWND hwnd = nullptr;     // the control; null when no control was found
    HWND parent = nullptr;   // its parent: the dialog, a tab page or another control
    int id = 0;              // child-window id (GetDlgCtrlID)
    std::wstring className;  // window class, e.g. L"BUTTON", L"SysListView32"
    DWORD style = 0;         // GWL_STYLE bits
    DWORD exStyle = 0;       // GWL_EXSTYLE bits
    RECT rect{};             // outer rectangle in the dialog's client coordinates, pixels
    std::wstring text;       // window text (WM_GETTEXT)
    bool enabled = false;    // IsWindowEnabled
    bool visible = false;    // IsWindowVisible: false as well when an ancestor is hidden
    int checked = 0;         // BM_GETCHECK of a BUTTON (BST_CHECKED = 1), 0 for other classes
    bool focused = false;    // holds the keyboard focus

    bool exists() const { return hwnd != nullptr; }
    bool hasClass(const wchar_t* name) const;  // ignoring case: the system reports L"Button"
    int width() const { return rect.right - rect.left; }
    int height() const { return rect.bottom - rect.top; }
};

// Thrown by the waits and inputs of an action whose dialog the watchdog has
// ended, so that an action never outlives its dialog. The session catches it.
class Aborted : public std::runtime_error {
public:
    Aborted() : std::runtime_error("the watchdog ended the dialog") {}
};

namespace detail {
struct SessionState;
}

// A top-level window of this thread, seen as a user sees it. Reading never
// changes the dialog; acting uses real input (SendInput) where a user would
// act and messages only where real input is impractical. Every input action
// returns after the dialog has processed the input, and returns false when
// the dialog is closed or its control is missing or hidden (a click there
// would land on whatever lies under it). A disabled control is clicked, as a
// user can, and ignores the click.
class Dialog {
public:
    explicit Dialog(HWND hwnd);
    Dialog(HWND hwnd, std::shared_ptr<const detail::SessionState> session);

    HWND hwnd() const { return hwnd_; }
    bool isOpen() const;  // the window exists and is visible

    // ---- the window
    std::wstring caption() const;
    RECT windowRect() const;  // screen pixels, caption and frame included
    SIZE clientSize() const;
    DWORD style() const;
    DWORD exStyle() const;
    int defaultButtonId() const;  // DM_GETDEFID; 0 when the dialog has none

    // ---- controls (all descendants, tab pages included, depth first)
    std::vector<ControlInfo> controls() const;
    ControlInfo control(int id) const;  // the first control of the dialog or a tab page with this id,
                                        // else the first part of a control (a picker's arrows are 1)
    ControlInfo focusedControl() const;

    // ---- list views (SysListView32)
    int listRowCount(int id) const;
    int listColumnCount(int id) const;
    std::vector<int> listColumnWidths(int id) const;
    std::wstring listCell(int id, int row, int column) const;
    bool listRowChecked(int id, int row) const;  // state image 2
    int listSelectedRow(int id) const;           // first selected row, -1 when none
    // A cell's rectangle in the dialog's client coordinates, where the list
    // view draws it (also when scrolled out of view); empty when there is no
    // such cell.
    RECT listCellRect(int id, int row, int column) const;

    // ---- other common controls
    std::vector<std::wstring> comboItems(int id) const;
    int comboSelection(int id) const;                     // CB_GETCURSEL, -1 when none
    int trackbarPos(int id) const;
    std::pair<int, int> trackbarRange(int id) const;      // (min, max)
    int progressPos(int id) const;
    std::pair<int, int> progressRange(int id) const;      // (low, high)
    std::optional<SYSTEMTIME> dateTime(int id) const;     // empty when no date is set
    int selectedTab(int id) const;                        // TCM_GETCURSEL, -1 when none
    std::vector<std::wstring> tabTitles(int id) const;

    // ---- real input
    bool click(int id);                                   // centre of the control
    bool clickAt(int id, POINT offset);                   // offset from the control's top left
    bool clickClient(POINT point);                        // dialog client coordinates
    bool doubleClick(int id);
    bool clickListCheckbox(int id, int row);              // the row's state image
    bool clickListCell(int id, int row, int column, int clicks = 1);
    bool clickListTitle(int id, int column);              // the column's title in the header
    bool clickTab(int id, int index);
    // A real click on the centre of control ID that is only queued: it returns
    // once the pointer is in place and the click sent, before the window has
    // handled it, as when a user clicks a modeless window while its thread is
    // busy. The window's own code reads the click later.
    bool queueClick(int id);
    bool clickComboItem(int id, int index);               // drops the list down if needed
    bool drag(POINT from, POINT to);                      // dialog client coordinates, left button held
    bool typeText(const std::wstring& text);              // into the focused control
    bool pressKey(WORD vk, WORD modifierVk = 0, int times = 1);  // e.g. (VK_TAB, VK_SHIFT), ('A', VK_CONTROL)

    // Sliders and date and time pickers, set as a user sets them: a click
    // gives the control the focus, keys do the rest, and the control's own
    // answer (TBM_GETPOS, DTM_GETSYSTEMTIME) says whether it worked. False
    // when the value is out of the control's range or no date or time at all
    // (nothing is typed then), or when the control did not take it; a picker
    // may then show part of the change, as it would to a person.
    //
    // setSliderPos clicks the thumb (a click on the channel would page the
    // thumb) and presses Home, End, Page Up/Down and the arrow keys.
    // setDate and setTime click the picker's first field and step through its
    // fields with Right and Left, telling each field by the part of the value
    // that Up or Down changes, so any field order works: the user's short
    // date, a custom format, "h:mm tt". Each field gets its digits typed; one
    // that ignores digits (a month shown by name, the century of a two-digit
    // year) is stepped with Up or Down, and so is the AM/PM field. setTime
    // keeps the picker's date and seconds; setDate keeps its time.
    bool setSliderPos(int id, int pos);
    bool setDate(int id, int year, int month, int day);   // month 1..12
    bool setTime(int id, int hour, int minute);           // hour 0..23 on any picker format

    // ---- messages, where real input is impractical
    bool setText(int id, const std::wstring& text);       // WM_SETTEXT
    bool selectTab(int id, int index);                    // TCM_SETCURSEL and TCN_SELCHANGE
    bool resize(int width, int height);                   // outer size, SetWindowPos
    bool close();                                         // WM_CLOSE, as the caption's close box

    // ---- time; every wait pumps messages
    void waitMs(unsigned ms);
    bool waitUntil(const std::function<bool()>& predicate, unsigned timeoutMs);
    bool waitForClose(unsigned timeoutMs);                // true once the dialog is hidden or gone

    // Captures the whole window, caption and frame included, from the screen
    // into a PNG file. A window reaching past its monitor's edge is moved into
    // view for the capture, keeping its size, and put back; of one larger
    // than the monitor, the part on screen is saved. Returns false when the
    // window or the file cannot be had.
    bool savePng(const std::wstring& path);

private:
    HWND item(int id) const;
    HWND itemOfClass(int id, const wchar_t* className) const;
    bool movePointer(POINT screenPoint);
    bool clickScreen(POINT screenPoint, int clicks);
    bool bringToFront();
    void settle();
    void throwIfAborted() const;

    HWND hwnd_;
    std::shared_ptr<const detail::SessionState> session_;  // null outside a session
};

// The topmost visible dialog window of this thread that no running action is
// driving: the way to reach a modeless window such as the progress window.
std::optional<Dialog> findModeless();

// Dispatches this thread's messages for the given time (for tests that wait on
// a modeless window outside any modal loop).
void pumpMessages(unsigned ms);

// Arms the driver for the next new dialog of this thread. Sessions queue: each
// takes one dialog, in the order they were made. The action runs on the
// dialog's own thread inside its message loop; when the dialog is still open
// timeoutMs after it was found, the watchdog ends it (EndDialog with result 0,
// and DestroyWindow when the window outlives that, as a modeless one does).
// Tool windows (WS_EX_TOOLWINDOW, such as a progress window) are never taken;
// use findModeless for them. The destructor disarms.
class Session {
public:
    explicit Session(std::function<void(Dialog&)> action, unsigned timeoutMs = kDefaultTimeoutMs);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool ran() const;             // the action was started on a dialog
    bool watchdogFired() const;   // the dialog outlived the time limit and was ended
    std::wstring failure() const; // what the action threw, empty when nothing
    HWND window() const;          // the dialog taken, null before

private:
    std::shared_ptr<detail::SessionState> state_;
};

// Arms the driver with a script for the next dialog, as Session does; scripts
// and sessions share one queue. Commands are separated by ';' or line breaks;
// a text argument is one word or a quoted text, in which \" stands for a quote
// and \\ for a backslash (any other backslash is itself, as in C:\out\a.png):
//   wait MS             pump messages for MS milliseconds
//   shot PATH           save a PNG of the dialog (PATH may be quoted)
//   click ID            real click on the centre of control ID
//   clicktext "TEXT"    real click on the visible control whose text is TEXT ('&' ignored)
//   type "TEXT"         type TEXT into the focused control (line breaks press Enter)
//   key NAME            press TAB, ENTER, ESC, SPACE, UP, DOWN, LEFT, RIGHT, HOME, END,
//                       BACKSPACE, DELETE, F4 or a letter A to Z, optionally after SHIFT+,
//                       CTRL+ or ALT+ (CTRL+A selects an edit field's whole text)
//   check ID            click check box or radio button ID unless it is already checked
//   checkrow ID ROW     click the check box of list row ROW (from 0) of list view ID
//   cell ID ROW COLUMN  click the cell of list view ID in row ROW and column COLUMN (from 0)
//   title ID COLUMN     click the title of column COLUMN (from 0) of list view ID
//   tab ID INDEX        click tab INDEX (from 0) of tab control ID
//   combo ID INDEX      pick item INDEX (from 0) of combo box ID from its dropped-down list
//   slider ID POS       move slider ID to position POS with the keyboard (setSliderPos)
//   date ID YYYY MM DD  type the date into date picker ID, field by field (setDate)
//   time ID HH MM       type the time, HH from 0 to 23, into time picker ID (setTime)
//   settext ID "TEXT"   set the text of control ID (WM_SETTEXT)
//   resize W H          set the window's outer size in pixels
//   close               send WM_CLOSE
// Returns false and describes the first error in *error when the script does
// not parse; nothing is armed then. A command that fails at run time stops its
// script and ends its dialog at once; the failure is kept for takeFailures.
// Once a script has been armed the driver keeps watching for good: a dialog
// that appears when no script or session is left is ended by the watchdog.
bool armScript(const std::wstring& commands, std::wstring* error);

// For a host that nobody sits in front of. From now on the driver watches for
// good, and a dialog that appears when no session or script is waiting for it
// is ended at once, as the watchdog ends one (EndDialog with result 0, so the
// call returns as when the dialog's timer closes it), instead of blocking its
// caller; onEnded then gets the dialog's caption. Ending such a dialog is the
// purpose here, not a failure: takeFailures does not list it.
void endUnanswered(std::function<void(const std::wstring& caption)> onEnded);

// What went wrong since the last call, one line each, and clears it: scripts
// that failed or outlived their limit, and dialogs that appeared while the
// driver was watching but no session was waiting for them (the watchdog ends
// those after kDefaultTimeoutMs, so an unexpected dialog never hangs a run).
std::wstring takeFailures();

// Scripts armed and not yet finished with their dialog.
size_t pendingScripts();

}  // namespace driver
