#include "runtime/entry_guard_win.h"
#include "runtime/system_dialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "runtime/activation_win.h"

namespace {

constexpr size_t kCustomColorCount = 16;
constexpr COLORREF kWhite = 0x00FFFFFF;

// A common dialog that answered no choice: the system keeps an error code
// when it could not show it, none when the user cancelled.
ChooserOutcome notChosen() {
    return CommDlgExtendedError() == 0 ? ChooserOutcome::kCancelled : ChooserOutcome::kFailed;
}

ChooserOutcome chooseColor(const SystemDialogRequest &request, SystemDialogAnswer &answer) {
    // Every call starts with sixteen white custom colours; what a user
    // defines there is not kept for the next call.
    COLORREF customColors[kCustomColorCount];
    for (COLORREF &custom : customColors) custom = kWhite;
    CHOOSECOLORW choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = GetActiveWindow();
    choice.rgbResult = request.color;
    choice.lpCustColors = customColors;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choice)) return notChosen();
    answer.color = choice.rgbResult;
    return ChooserOutcome::kChosen;
}

ChooserOutcome chooseFile(const SystemDialogRequest &request, SystemDialogAnswer &answer) {
    const bool save = request.kind == kSaveFileDialog;
    std::vector<TextUnit> name(kPathBufferUnits, 0);
    WideText filter = systemFilterList(request.filter);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.data();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = DWORD(name.size());
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.data();
    // The process's current folder belongs to the host, which may resolve
    // relative paths against it; the dialog would leave it where the user
    // browsed to.
    dialog.Flags = OFN_NOCHANGEDIR;
    // A name typed without an extension gets the first file type's; the
    // dialog keeps an extension the user typed.
    const WideText extension = defaultExtension(request.filter);
    if (save) {
        wideCopy(name.data(), name.size(), request.folder.data());
        // No Help button: nothing would answer it.
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.data();
    } else {
        dialog.lpstrInitialDir = request.folder.empty() ? nullptr : request.folder.data();
        // No "Open as read-only" box: its answer has nowhere to go.
        dialog.Flags |= OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    }
    BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return notChosen();
    answer.path = WideText(name.data());
    return ChooserOutcome::kChosen;
}

// Selects the start folder once the browser is up.
int CALLBACK folderBrowseCallback(HWND browser, UINT message, LPARAM, LPARAM start) {
    return guardEntry(browser, 0, [&] {
        const TextUnit *folder = reinterpret_cast<const TextUnit *>(start);
        if (message == BFFM_INITIALIZED && folder != nullptr && folder[0] != 0) {
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, LPARAM(folder));
        }
        return 0;
    });
}

// The path comes back as UTF-16, so a folder named outside the ANSI code
// page keeps its name.
ChooserOutcome chooseFolder(const SystemDialogRequest &request, SystemDialogAnswer &answer) {
    // The browser is a shell view and needs COM on this thread; a host that
    // has it already keeps its own, whatever its model.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    struct ComScope {
        bool mine;
        ~ComScope() {
            if (mine) CoUninitialize();
        }
    } comScope{SUCCEEDED(com)};
    BROWSEINFOW browse = {};
    // Owned, as the other choosers are, so the host's window stays disabled
    // while the browser is open and no second call can start from it.
    browse.hwndOwner = GetActiveWindow();
    browse.lpszTitle = request.title.data();
    // Only a folder of the file system has a path to answer with: OK stays
    // disabled on My Computer, the Control Panel and the like.
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = folderBrowseCallback;
    browse.lParam = LPARAM(request.folder.data());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) return ChooserOutcome::kCancelled;
    std::vector<TextUnit> path(kPathBufferUnits, 0);
    bool named = SHGetPathFromIDListEx(chosen, path.data(), DWORD(path.size()), GPFIDL_DEFAULT) != FALSE;
    CoTaskMemFree(chosen);
    if (!named) return ChooserOutcome::kFailed;
    answer.path = WideText(path.data());
    return ChooserOutcome::kChosen;
}

} // namespace

ChooserOutcome runSystemDialog(const SystemDialogRequest &request, SystemDialogAnswer &answer) {
    ActivationScope scope;
    forgetEntryFailure();
    ChooserOutcome chosen = ChooserOutcome::kFailed;
    switch (request.kind) {
    case kColorChooser:
        chosen = chooseColor(request, answer);
        break;
    case kOpenFileDialog:
    case kSaveFileDialog:
        chosen = chooseFile(request, answer);
        break;
    case kFolderBrowser:
        chosen = chooseFolder(request, answer);
        break;
    }
    rethrowEntryFailure();
    return chosen;
}
