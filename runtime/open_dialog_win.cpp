#include "runtime/open_dialog.h"

namespace {

// Tells our records from whatever another window procedure keeps at
// DWLP_USER of a top-level window.
struct Attached {
    static constexpr DWORD kTag = 0x544F444C; // "TODL"
    DWORD tag = kTag;
    OpenDialog record;
    explicit Attached(const DialogHooks &hooks) : record(hooks) {}
};

Attached *attachedTo(HWND dialogWindow) {
    if (dialogWindow == nullptr) return nullptr;
    Attached *attached = reinterpret_cast<Attached *>(GetWindowLongPtrW(dialogWindow, DWLP_USER));
    return attached != nullptr && attached->tag == Attached::kTag ? attached : nullptr;
}

} // namespace

OpenDialog::~OpenDialog() {
    for (const OwnedFont &owned : fonts) DeleteObject(owned.font);
    if (copyHook != nullptr) UnhookWindowsHookEx(copyHook);
    if (iconImage != nullptr) DestroyIcon(iconImage);
}

int OpenDialog::slotOf(HWND control) const {
    const auto found = slotsOfWindows.find(control);
    return found != slotsOfWindows.end() ? found->second : -1;
}

void OpenDialog::madeFor(int slot, HWND control) {
    if (slot < 0 || slot >= kSlotCount) return;
    slotWindows[slot] = control;
    if (control != nullptr) slotsOfWindows[control] = slot;
}

OpenDialog &openDialogRecord(HWND dialogWindow, const DialogHooks &hooks) {
    closeDialogRecord(dialogWindow);
    Attached *attached = new Attached(hooks);
    attached->record.window = dialogWindow;
    SetWindowLongPtrW(dialogWindow, DWLP_USER, reinterpret_cast<LONG_PTR>(attached));
    return attached->record;
}

void closeDialogRecord(HWND dialogWindow) {
    Attached *attached = attachedTo(dialogWindow);
    if (attached == nullptr) return;
    SetWindowLongPtrW(dialogWindow, DWLP_USER, 0);
    attached->tag = 0;
    delete attached;
}

OpenDialog *openDialogOf(HWND window) {
    if (window == nullptr) return nullptr;
    Attached *attached = attachedTo(GetAncestor(window, GA_ROOT));
    return attached != nullptr ? &attached->record : nullptr;
}

Scale scaleOf(HWND window) {
    const OpenDialog *open = openDialogOf(window);
    return open != nullptr ? open->scale : Scale{};
}

RECT pixelRect(const Scale &scale, const ControlSpec &slot) {
    const int left = scale.pixels(slot.x), top = scale.pixels(slot.y);
    return RECT{left, top, left + scale.pixels(slot.width), top + scale.pixels(slot.height)};
}
