// The measuring half of fitting a dialog to its content: every text in the
// font its control will have, at the dialog's scale.
#include "runtime/fit_rules.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <utility>
#include <string>

#include <cstring>
#include <vector>

#include "model/fields.h"
#include "runtime/fonts.h"
#include "runtime/open_dialog.h"
#include "runtime/screen_rules.h"

namespace {

// Script units a control adds round its text.
constexpr int32_t kChoiceBoxAndGap = 20; // a check or radio box, its gap and the focus frame
constexpr int32_t kButtonMargins = 16;   // a push button's edges either side
constexpr int32_t kFieldMargins = 7;     // a field's borders and padding, top and bottom
constexpr int32_t kComboMargins = 8;
constexpr int32_t kButtonHeightMargins = 8;
constexpr int32_t kChoiceHeightMargins = 4;
constexpr UINT kWrapped = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
constexpr UINT kOneLine = DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX;
const wchar_t kEllipsis[] = L"\x2026";

// Pixels to script units, rounded up: a text needs every pixel it takes.
int32_t unitsUp(const Scale &scale, int32_t pixels) {
    const int32_t units = scale.units(pixels);
    return scale.pixels(units) < pixels ? units + 1 : units;
}

class MeasuredNeeds : public ContentNeeds {
public:
    MeasuredNeeds(const DialogDefinition &d, const Scale &scale)
        : d_(d), scale_(scale), dc_(CreateCompatibleDC(nullptr)) {}
    ~MeasuredNeeds() override {
        if (dc_ != nullptr) {
            SelectObject(dc_, GetStockObject(SYSTEM_FONT));
            DeleteDC(dc_);
        }
        for (const Made &made : fonts_) DeleteObject(made.font);
    }
    MeasuredNeeds(const MeasuredNeeds &) = delete;
    MeasuredNeeds &operator=(const MeasuredNeeds &) = delete;

    // The message's width is searched for, which asks for one text at many
    // widths and at some more than once.
    int32_t wrappedHeight(int slot, int32_t width) const override {
        const auto known = wrapped_.find(std::make_pair(slot, width));
        if (known != wrapped_.end()) return known->second;
        const WideText shown = withLineFeeds(d_.controls[slot].text);
        if (shown.empty() || !select(slot)) return 0;
        RECT r{0, 0, scale_.pixels(width), 0};
        DrawTextW(dc_, reinterpret_cast<LPCWSTR>(shown.data()), int(shown.length()), &r, kWrapped);
        const int32_t height = unitsUp(scale_, r.bottom - r.top);
        wrapped_[std::make_pair(slot, width)] = height;
        return height;
    }

    int32_t captionWidth(int slot, size_t caption) const override {
        const ControlSpec &s = d_.controls[slot];
        const ControlKind kind = slotKind(s);
        const WideText text = withLineFeeds(kind == ControlKind::kRadio ? WideFields(s.text).text(caption) : s.text);
        if (!select(slot)) return 0;
        RECT r{0, 0, 0, 0};
        if (!text.empty()) DrawTextW(dc_, reinterpret_cast<LPCWSTR>(text.data()), int(text.length()), &r, kOneLine);
        const int32_t width = unitsUp(scale_, r.right - r.left);
        return width + (kind == ControlKind::kButton ? kButtonMargins : kChoiceBoxAndGap);
    }

    int32_t leastHeight(int slot) const override {
        if (!select(slot)) return 0;
        TEXTMETRICW metrics{};
        if (!GetTextMetricsW(dc_, &metrics)) return 0;
        const int32_t line = unitsUp(scale_, metrics.tmHeight);
        switch (slotKind(d_.controls[slot])) {
        case ControlKind::kButton:
            return line + kButtonHeightMargins;
        case ControlKind::kCheckBox:
        case ControlKind::kRadio:
            return line + kChoiceHeightMargins;
        case ControlKind::kComboBox:
            return line + kComboMargins;
        case ControlKind::kStatic:
            return line;
        default:
            return line + kFieldMargins;
        }
    }

private:
    struct Made {
        FontSpec request;
        HFONT font;
    };

    bool select(int slot) const {
        if (dc_ == nullptr) return false;
        const FontSpec &request = d_.controls[slot].font;
        for (const Made &made : fonts_) {
            if (std::memcmp(&made.request, &request, sizeof request) == 0) {
                return SelectObject(dc_, made.font) != nullptr;
            }
        }
        HFONT font = createRequestedFont(request, scale_.dpi);
        if (font == nullptr) return false;
        fonts_.push_back(Made{request, font});
        return SelectObject(dc_, font) != nullptr;
    }

    const DialogDefinition &d_;
    Scale scale_;
    HDC dc_;
    mutable std::vector<Made> fonts_;
    mutable std::map<std::pair<int, int32_t>, int32_t> wrapped_;
};

// ---- after the controls are made ------------------------------------------

int32_t textWidth(HWND control, const wchar_t *text, int length) {
    HDC dc = GetDC(control);
    if (dc == nullptr) return 0;
    HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text, length, &r, kOneLine);
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    return r.right - r.left;
}

std::wstring windowText(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// The longest start of `text` that fits `room` pixels with an ellipsis
// after it.
std::wstring cutToFit(HWND control, const std::wstring &text, int32_t room) {
    size_t low = 0, high = text.size(); // low fits, high does not
    while (high - low > 1) {
        const size_t mid = low + (high - low) / 2;
        const std::wstring tried = text.substr(0, mid) + kEllipsis;
        if (textWidth(control, tried.c_str(), int(tried.size())) <= room) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return text.substr(0, low) + kEllipsis;
}

void addTip(OpenDialog &open, HWND control, const std::wstring &text) {
    if (open.tips == nullptr) {
        open.tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, open.window, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        if (open.tips == nullptr) return;
        // Long captions show on lines of their own rather than across the screen.
        SendMessageW(open.tips, TTM_SETMAXTIPWIDTH, 0, LPARAM(open.scale.pixels(400)));
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = UINT_PTR(control);
    tool.lpszText = const_cast<wchar_t *>(text.c_str());
    SendMessageW(open.tips, TTM_ADDTOOLW, 0, LPARAM(&tool));
}

// A check box, radio button or push button whose caption is wider than the
// control: the caption ends in an ellipsis where it is cut, and its whole
// text shows when the mouse rests on it. What the control reads back is its
// state, never its caption, so nothing returned changes.
void cutCaption(OpenDialog &open, HWND button) {
    const LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    const bool pushes = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    if (!pushes && type != BS_AUTOCHECKBOX && type != BS_AUTORADIOBUTTON) return;
    const std::wstring text = windowText(button);
    if (text.empty() || text.find(L'\n') != std::wstring::npos) return;
    RECT client{};
    GetClientRect(button, &client);
    const int32_t room = client.right - open.scale.pixels(pushes ? kButtonMargins : kChoiceBoxAndGap);
    if (textWidth(button, text.c_str(), int(text.size())) <= room) return;
    SetWindowTextW(button, cutToFit(button, text, room).c_str());
    addTip(open, button, text);
}

// A combo box drops down as wide as its longest item, within the screen.
void widenDropDown(const OpenDialog &open, HWND combo) {
    const int count = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    int32_t widest = 0;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(i), 0);
        if (length <= 0) continue;
        std::wstring item(size_t(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(item.data()));
        widest = std::max(widest, textWidth(combo, item.c_str(), int(length)));
    }
    RECT r{};
    GetWindowRect(combo, &r);
    const ScreenRect work = openingWorkArea(combo, ScreenRect{r.left, r.top, r.right, r.bottom}, true);
    const int32_t wanted = widest + GetSystemMetrics(SM_CXVSCROLL) + open.scale.pixels(kButtonMargins);
    if (wanted > r.right - r.left) {
        SendMessageW(combo, CB_SETDROPPEDWIDTH, WPARAM(std::min<int32_t>(wanted, work.right - work.left)), 0);
    }
}

BOOL CALLBACK finishOne(HWND control, LPARAM context) {
    OpenDialog &open = *reinterpret_cast<OpenDialog *>(context);
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"Button") == 0) cutCaption(open, control);
    if (lstrcmpiW(className, L"ComboBox") == 0) widenDropDown(open, control);
    return TRUE;
}

} // namespace

void fitToContent(OpenDialog &open, unsigned long style) {
    if (open.hooks->modeless) return;
    DialogDefinition &d = dialog();
    const ScreenRect asked = drawnAt(open.scale, d.windowRect());
    const ScreenRect work = openingWorkArea(GetWindow(open.window, GW_OWNER), asked, d.positionGiven == 1);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, DWORD(style), FALSE, DWORD(GetWindowLongW(open.window, GWL_EXSTYLE)));
    const FitRoom room{open.scale.units(work.right - work.left), open.scale.units(work.bottom - work.top),
                       open.scale.units(frame.right - frame.left), open.scale.units(frame.bottom - frame.top)};
    const MeasuredNeeds needs(d, open.scale);
    open.scrollingTexts = fitContent(d, needs, room).scrolls;
}

void finishFitting(OpenDialog &open) {
    EnumChildWindows(open.window, finishOne, LPARAM(&open));
}
