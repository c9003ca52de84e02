#include "runtime/dialog_signs_win.h"

#include <commctrl.h>

#include "model/dialog_definition.h"
#include "runtime/control_factory.h"

namespace {

constexpr int kTimerBarHeight = 4;      // script units
constexpr UINT kShortestBarStep = 50;   // ms; the bar moves by about a pixel a step, never more often

struct IconKind {
    const wchar_t *image; // the system's icon
    UINT sound;           // MessageBeep's sound
};

IconKind iconKindOf(MessageIcon kind) {
    switch (kind) {
    case MessageIcon::kInformation:
        return {IDI_INFORMATION, MB_ICONASTERISK};
    case MessageIcon::kWarning:
        return {IDI_WARNING, MB_ICONEXCLAMATION};
    case MessageIcon::kError:
        return {IDI_ERROR, MB_ICONHAND};
    case MessageIcon::kQuestion:
        return {IDI_QUESTION, MB_ICONQUESTION};
    case MessageIcon::kNone:
        break;
    }
    return {nullptr, 0};
}

// The system's large icon size at `dpi`. Systems before the per-monitor
// metrics give it at their own scale, taken here as 96 dpi.
int largeIconSize(int dpi) {
    typedef int(WINAPI * MetricsForDpi)(int, UINT);
    static const MetricsForDpi metricsForDpi = reinterpret_cast<MetricsForDpi>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (metricsForDpi != nullptr) return metricsForDpi(SM_CXICON, UINT(dpi));
    return MulDiv(GetSystemMetrics(SM_CXICON), dpi, 96);
}

// The system's icon drawn for `size` pixels, from its largest image scaled
// down, as the task dialog draws it; an icon the caller destroys.
HICON loadSystemIcon(const wchar_t *image, int size) {
    typedef HRESULT(WINAPI * ScaleDown)(HINSTANCE, PCWSTR, int, int, HICON *);
    // Loaded inside the dialog's activation context, this is the common
    // controls' version 6, which alone has it.
    HMODULE controls = LoadLibraryW(L"comctl32.dll");
    const ScaleDown scaleDown = controls != nullptr ? reinterpret_cast<ScaleDown>(reinterpret_cast<void *>(
                                                          GetProcAddress(controls, "LoadIconWithScaleDown")))
                                                    : nullptr;
    HICON icon = nullptr;
    if (scaleDown == nullptr || FAILED(scaleDown(nullptr, image, size, size, &icon))) icon = nullptr;
    if (controls != nullptr) FreeLibrary(controls);
    if (icon != nullptr) return icon;
    // A system icon loads only shared; the copy is the dialog's own.
    HANDLE shared = LoadImageW(nullptr, image, IMAGE_ICON, size, size, LR_SHARED);
    return shared != nullptr ? static_cast<HICON>(CopyImage(shared, IMAGE_ICON, size, size, 0)) : nullptr;
}

// Where the icon stands: left of the message, level with its first line.
POINT iconPlace(const OpenDialog &open) {
    const ControlSpec &message = dialog().controls[kMessageSlot];
    return POINT{open.scale.pixels(message.x - kMessageIconSize - kMessageIconGap), open.scale.pixels(message.y)};
}

void showIcon(OpenDialog &open) {
    const IconKind kind = iconKindOf(dialog().messageIcon);
    if (kind.image == nullptr) return;
    MessageBeep(kind.sound);
    if (dialog().controls[kMessageSlot].kind.empty()) return;
    const int size = largeIconSize(open.scale.dpi);
    open.iconImage = loadSystemIcon(kind.image, size);
    if (open.iconImage == nullptr) return;
    const POINT at = iconPlace(open);
    open.icon = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, at.x, at.y, size, size,
                                open.window, reinterpret_cast<HMENU>(INT_PTR(kMessageIconId)), GetModuleHandleW(nullptr),
                                nullptr);
    if (open.icon != nullptr) SendMessageW(open.icon, STM_SETICON, WPARAM(open.iconImage), 0);
}

void placeTimerBar(const OpenDialog &open) {
    RECT client;
    GetClientRect(open.window, &client);
    const int height = open.scale.pixels(kTimerBarHeight);
    SetWindowPos(open.timerBar, nullptr, 0, client.bottom - height, client.right, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void showTimerBar(OpenDialog &open) {
    const DialogDefinition &d = dialog();
    // A timer of no length closes the dialog before a bar could be seen.
    if (d.timerEnabled != 1 || d.timerInterval == 0 || open.hooks->modeless) return;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    open.timerBar = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0, 0, 0,
                                    open.window, reinterpret_cast<HMENU>(INT_PTR(kTimerBarId)), GetModuleHandleW(nullptr),
                                    nullptr);
    if (open.timerBar == nullptr) return;
    open.timerStarted = GetTickCount();
    SendMessageW(open.timerBar, PBM_SETRANGE32, 0, LPARAM(d.timerInterval));
    SendMessageW(open.timerBar, PBM_SETPOS, WPARAM(d.timerInterval), 0);
    placeTimerBar(open);
    RECT client;
    GetClientRect(open.window, &client);
    const UINT perPixel = client.right > 0 ? UINT(d.timerInterval / UINT(client.right)) : d.timerInterval;
    SetTimer(open.window, kTimerBarTimerId, perPixel > kShortestBarStep ? perPixel : kShortestBarStep, nullptr);
}

} // namespace

void showDialogSigns(OpenDialog &open) {
    showIcon(open);
    showTimerBar(open);
}

void placeDialogSigns(const OpenDialog &open) {
    if (open.icon != nullptr) {
        const POINT at = iconPlace(open);
        SetWindowPos(open.icon, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (open.timerBar != nullptr) placeTimerBar(open);
}

void stepTimerBar(const OpenDialog &open) {
    if (open.timerBar == nullptr) return;
    const DWORD interval = dialog().timerInterval;
    const DWORD passed = GetTickCount() - open.timerStarted;
    SendMessageW(open.timerBar, PBM_SETPOS, WPARAM(passed < interval ? interval - passed : 0), 0);
}
