// The session queue: a thread timer finds new dialogs, runs the armed actions
// on them and ends the dialogs that outlive their time limit.
#include "driver_internal.h"

#include <algorithm>
#include <cwchar>

namespace driver {
namespace detail {
namespace {

constexpr UINT kPollPeriodMs = 25;      /* ms between looks for a new dialog */
constexpr DWORD kDestroyGraceMs = 300;  /* ms an ended dialog may linger before it is destroyed */
constexpr int kClassNameChars = 64;
constexpr int kCaptionChars = 256;
constexpr UINT kWmSysTimer = 0x0118;    // the caret's blink timer; not in the SDK headers

struct Driver {
    std::vector<std::shared_ptr<SessionState>> queue;  // armed sessions, in arming order
    std::vector<HWND> retired;  // dialogs taken by sessions since disarmed; never taken again
    std::vector<HWND> preexisting;  // dialogs open when polling started: never strays
    UINT_PTR timer = 0;         // the polling thread timer, 0 when not polling
    bool keepPolling = false;   // a script was armed: poll for good, so no dialog is left unanswered
    std::function<void(const std::wstring&)> onUnanswered;  // set: end strays at once and tell this
    std::wstring failures;      // lines of failed scripts and stray dialogs not yet collected
};

Driver& driverState()
{
    static Driver d;
    return d;
}

void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD);

bool isOnThisThread(HWND hwnd)
{
    return GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

BOOL CALLBACK collectThreadDialog(HWND hwnd, LPARAM found)
{
    if (isOnThisThread(hwnd) && isDialogClass(hwnd) && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    }
    return TRUE;
}

// Top-level dialog windows of this thread, topmost first.
std::vector<HWND> threadDialogs()
{
    std::vector<HWND> found;
    EnumWindows(collectThreadDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Polls while anything is armed, and for good once a script was armed.
void updateTimer()
{
    Driver& d = driverState();
    const bool wanted = !d.queue.empty() || d.keepPolling;
    if (wanted && d.timer == 0) {
        d.preexisting = threadDialogs();
        d.timer = SetTimer(nullptr, 0, kPollPeriodMs, onTick);
    } else if (!wanted && d.timer != 0) {
        KillTimer(nullptr, d.timer);
        d.timer = 0;
    }
}

bool isTaken(const Driver& d, HWND hwnd)
{
    for (const auto& s : d.queue) {
        if (s->window == hwnd) return true;
    }
    return std::find(d.retired.begin(), d.retired.end(), hwnd) != d.retired.end();
}

bool isOwnedBy(HWND hwnd, HWND owner)
{
    for (HWND w = GetWindow(hwnd, GW_OWNER); w; w = GetWindow(w, GW_OWNER)) {
        if (w == owner) return true;
    }
    return false;
}

// Dialogs a user could answer now, newest first: visible, enabled (a dialog
// under a nested modal one is disabled), not tool windows, not taken before.
std::vector<HWND> findNewDialogs(const Driver& d)
{
    std::vector<HWND> found;
    for (HWND hwnd : threadDialogs()) {
        if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) &&
            !(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && !isTaken(d, hwnd)) {
            found.push_back(hwnd);
        }
    }
    return found;
}

// Ends a session's dialog together with every dialog it owns: a nested modal
// loop above it must end too, or the outer loop never gets control back.
void endSessionDialog(SessionState& s, bool watchdog)
{
    Driver& d = driverState();
    std::vector<HWND> tree;
    for (HWND hwnd : threadDialogs()) {
        if (isOwnedBy(hwnd, s.window)) tree.push_back(hwnd);
    }
    tree.push_back(s.window);
    const DWORD now = GetTickCount();
    for (HWND hwnd : tree) {
        EndDialog(hwnd, 0);
        for (auto& other : d.queue) {
            if (other->window == hwnd && !other->ended) {
                other->ended = true;
                other->endedAt = now;
                other->watchdogFired = other->watchdogFired || watchdog;
            }
        }
    }
}

void noteFailure(const SessionState& s, const std::wstring& what)
{
    if (s.queueOwned) driverState().failures += s.label + L": " + what + L"\n";
}

// The watchdog's look at one session.
void watch(SessionState& s, DWORD now)
{
    if (!s.window || !IsWindow(s.window)) return;
    if (!s.ended && now - s.takenAt >= s.timeoutMs) {
        s.watchdogFired = true;
        endSessionDialog(s, true);
        noteFailure(s, L"the dialog was still open after " + std::to_wstring(s.timeoutMs) +
                                 L" ms; the watchdog ended it");
    } else if (s.ended && !s.running && now - s.endedAt >= kDestroyGraceMs) {
        // A modal dialog is gone once its loop has seen EndDialog; a window
        // still here is modeless and needs destroying.
        DestroyWindow(s.window);
    }
}

void runAction(const std::shared_ptr<SessionState>& s)
{
    s->running = true;
    s->ran = true;
    Dialog dialog(s->window, s);
    try {
        s->action(dialog);
    } catch (const Aborted&) {
        // The watchdog has ended the dialog and said so.
    } catch (const std::exception& e) {
        s->failure = widenUtf8(e.what());
    } catch (...) {
        s->failure = L"the action threw an exception of unknown type";
    }
    s->running = false;
    s->done = true;
    if (!s->failure.empty()) {
        noteFailure(*s, s->failure);
        // Nobody else will answer this dialog: end it now rather than at the limit.
        if (!s->ended && IsWindow(s->window)) endSessionDialog(*s, false);
    }
}

// A dialog that appears with no session waiting would block its caller for
// good: the driver watches it like a session with nothing to do, so the
// watchdog ends it and the failure is reported. Under endUnanswered nobody
// will ever answer it, so it ends at once, and that is no failure.
void adoptStray(HWND hwnd)
{
    Driver& d = driverState();
    wchar_t caption[kCaptionChars] = {};
    GetWindowTextW(hwnd, caption, kCaptionChars);
    auto stray = std::make_shared<SessionState>();
    stray->queueOwned = true;
    stray->label = L"dialog \"" + std::wstring(caption) + L"\" (no session was armed for it)";
    stray->window = hwnd;
    stray->takenAt = GetTickCount();
    stray->done = true;
    d.queue.push_back(stray);
    if (d.onUnanswered) {
        endSessionDialog(*stray, false);
        d.onUnanswered(caption);
    }
}

// Gives a newly found dialog to the first session still waiting for one.
void claimNext()
{
    Driver& d = driverState();
    std::shared_ptr<SessionState> pending;
    for (const auto& s : d.queue) {
        if (!s->window) {
            pending = s;
            break;
        }
    }
    std::vector<HWND> found = findNewDialogs(d);
    if (found.empty()) return;
    if (!pending) {
        for (HWND hwnd : found) {
            if (std::find(d.preexisting.begin(), d.preexisting.end(), hwnd) == d.preexisting.end()) {
                adoptStray(hwnd);
            }
        }
        return;
    }
    pending->window = found.front();
    pending->takenAt = GetTickCount();
    runAction(pending);
}

// A script or stray is finished once its action returned and its dialog is gone.
void dropFinishedScripts()
{
    auto& q = driverState().queue;
    q.erase(std::remove_if(q.begin(), q.end(),
                           [](const std::shared_ptr<SessionState>& s) {
                               return s->queueOwned && s->done && !IsWindow(s->window);
                           }),
            q.end());
}

void forgetDestroyedWindows()
{
    for (auto* list : {&driverState().retired, &driverState().preexisting}) {
        list->erase(std::remove_if(list->begin(), list->end(), [](HWND hwnd) { return !IsWindow(hwnd); }),
                    list->end());
    }
}

// Runs inside whatever loop is pumping this thread's messages: the dialog's
// modal loop, a wait of a running action, or the host's own loop. Actions
// started here can pump again, so this re-enters; it only ever works on
// copies of the queue and on sessions it keeps alive itself.
void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD)
{
    const DWORD now = GetTickCount();
    const auto sessions = driverState().queue;
    for (const auto& s : sessions) watch(*s, now);
    claimNext();
    dropFinishedScripts();
    forgetDestroyedWindows();
    updateTimer();
}

}  // namespace

void arm(const std::shared_ptr<SessionState>& session)
{
    Driver& d = driverState();
    d.queue.push_back(session);
    d.keepPolling = d.keepPolling || session->queueOwned;  // only scripts are armed this way
    updateTimer();
}

bool isDialogClass(HWND hwnd)
{
    wchar_t name[kClassNameChars] = {};
    return GetClassNameW(hwnd, name, kClassNameChars) > 0 && wcscmp(name, L"#32770") == 0;
}

bool pumpPending(bool* quit)
{
    bool active = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the loop that owns the thread.
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (quit) *quit = true;
            return true;
        }
        // Ticks and repaints come on their own (blinking carets, animations);
        // only other messages are consequences of what the driver did.
        if (msg.message != WM_TIMER && msg.message != kWmSysTimer && msg.message != WM_PAINT) active = true;
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && isDialogClass(root) && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return active;
}

bool pumpFor(unsigned ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        bool quit = false;
        pumpPending(&quit);
        if (quit) return false;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return true;
        MsgWaitForMultipleObjectsEx(0, nullptr, ms - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

std::wstring widenUtf8(const char* text)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

std::string narrowUtf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], n, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(n - 1));
    return narrow;
}

}  // namespace detail

// ---- Session -------------------------------------------------------------

Session::Session(std::function<void(Dialog&)> action, unsigned timeoutMs)
    : state_(std::make_shared<detail::SessionState>())
{
    state_->action = std::move(action);
    state_->timeoutMs = timeoutMs;
    detail::arm(state_);
}

Session::~Session()
{
    auto& d = detail::driverState();
    d.queue.erase(std::remove(d.queue.begin(), d.queue.end(), state_), d.queue.end());
    if (state_->window && IsWindow(state_->window)) {
        if (state_->ended && !state_->running) {
            DestroyWindow(state_->window);  // ended but modeless, so still here
        } else {
            d.retired.push_back(state_->window);
        }
    }
    detail::updateTimer();
}

bool Session::ran() const { return state_->ran; }
bool Session::watchdogFired() const { return state_->watchdogFired; }
std::wstring Session::failure() const { return state_->failure; }
HWND Session::window() const { return state_->window; }

// ---- outside any session ---------------------------------------------------

std::optional<Dialog> findModeless()
{
    const auto& d = detail::driverState();
    for (HWND hwnd : detail::threadDialogs()) {
        if (!IsWindowVisible(hwnd)) continue;
        bool driven = false;
        for (const auto& s : d.queue) driven = driven || (s->window == hwnd && s->running);
        if (!driven) return Dialog(hwnd);
    }
    return std::nullopt;
}

void pumpMessages(unsigned ms) { detail::pumpFor(ms); }

void endUnanswered(std::function<void(const std::wstring& caption)> onEnded)
{
    auto& d = detail::driverState();
    d.onUnanswered = std::move(onEnded);
    d.keepPolling = true;
    detail::updateTimer();
}

std::wstring takeFailures()
{
    std::wstring failures;
    failures.swap(detail::driverState().failures);
    return failures;
}

size_t pendingScripts()
{
    const auto& q = detail::driverState().queue;
    return static_cast<size_t>(std::count_if(q.begin(), q.end(), [](const std::shared_ptr<detail::SessionState>& s) {
        return s->queueOwned && s->action && !(s->done && !IsWindow(s->window));
    }));
}

}  // namespace driver
