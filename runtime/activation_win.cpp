#include "runtime/activation_win.h"

#include <commctrl.h>

#include "runtime/module.h"

namespace {

constexpr WORD kManifestResourceId = 2;

// Created once per process; the context lives as long as the module.
HANDLE pluginContext() {
    static HANDLE context = INVALID_HANDLE_VALUE;
    static bool tried = false;
    if (!tried) {
        tried = true;
        ACTCTXW request = {};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = static_cast<HMODULE>(runtimeModule());
        request.lpResourceName = MAKEINTRESOURCEW(kManifestResourceId);
        context = CreateActCtxW(&request);
    }
    return context;
}

} // namespace

ActivationScope::ActivationScope() : cookie_(0), active_(false) {
    HANDLE context = pluginContext();
    if (context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_) != FALSE;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES |
                                                        ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
}

ActivationScope::~ActivationScope() {
    if (active_) DeactivateActCtx(0, cookie_);
}
