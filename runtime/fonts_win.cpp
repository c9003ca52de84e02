#include "runtime/fonts.h"

#include <cstring>
#include <vector>

#include "model/text.h"
#include "runtime/open_dialog.h"

namespace {

constexpr int kPointsPerInch = 72;
constexpr LONG kWeightNormal = FW_NORMAL; // 400
constexpr LONG kWeightBold = FW_BOLD;     // 700

// Deletes the fonts of controls that no longer exist. Handles of destroyed
// windows may be reused, but a dead control draws with nothing, so its font
// can never be in use.
void releaseFontsOfDeadControls(std::vector<OwnedFont> &fonts) {
    for (size_t i = 0; i < fonts.size();) {
        if (IsWindow(fonts[i].control)) {
            ++i;
            continue;
        }
        DeleteObject(fonts[i].font);
        fonts[i] = fonts.back();
        fonts.pop_back();
    }
}

// Records `font` as the font of `control`; returns the font the control had
// from here before, which the caller deletes once the control has let go.
HFONT recordFont(std::vector<OwnedFont> &fonts, HWND control, HFONT font) {
    for (OwnedFont &owned : fonts) {
        if (owned.control == control) {
            HFONT previous = owned.font;
            owned.font = font;
            return previous;
        }
    }
    fonts.push_back(OwnedFont{control, font});
    return nullptr;
}

// The default GUI font's description with the request applied on top, for
// a dialog drawn at `dpi`.
LOGFONTW requestedFont(HDC dc, const FontSpec &request, int dpi) {
    LOGFONTW font = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    const int screenDpi = GetDeviceCaps(dc, LOGPIXELSY);
    if (screenDpi > 0 && screenDpi != dpi) font.lfHeight = MulDiv(font.lfHeight, dpi, screenDpi);
    font.lfQuality = DEFAULT_QUALITY;
    font.lfWidth = 0;

    if (request.faceName[0] != 0) {
        // The face arrives as UTF-8; a name that does not fit LF_FACESIZE is
        // cut rather than overrunning the field.
        WideText face = utf8ToWide(request.faceName);
        wideCopy(font.lfFaceName, LF_FACESIZE, face.data());
    }
    if (request.pointSize > 0) font.lfHeight = -MulDiv(request.pointSize, dpi, kPointsPerInch);
    if (request.style[0] != 0) {
        // Words are matched case-sensitively anywhere in the text, so any
        // separator or none works; a text without them means plain.
        font.lfItalic = std::strstr(request.style, "Italic") != nullptr;
        font.lfWeight = std::strstr(request.style, "Bold") != nullptr ? kWeightBold : kWeightNormal;
        font.lfStrikeOut = std::strstr(request.style, "StrikeOut") != nullptr;
        font.lfUnderline = std::strstr(request.style, "Underline") != nullptr;
    }
    return font;
}

} // namespace

void applyControlFont(HWND control, const FontSpec &request) {
    // GetDC of no window is the screen's, which would make a font for nobody.
    if (control == nullptr) return;
    // The font belongs to the control's dialog, which deletes it when it
    // closes; a control of no dialog of ours keeps the font it has.
    OpenDialog *open = openDialogOf(control);
    if (open == nullptr) return;
    HDC dc = GetDC(control);
    if (dc == nullptr) return;
    LOGFONTW description = requestedFont(dc, request, open->scale.dpi);
    HFONT font = CreateFontIndirectW(&description);
    if (font != nullptr) {
        releaseFontsOfDeadControls(open->fonts);
        HFONT previous = recordFont(open->fonts, control, font);
        SendMessageW(control, WM_SETFONT, WPARAM(font), TRUE);
        // A control given a second font (the progress window's texts are
        // updated that way) no longer uses its first.
        if (previous != nullptr) DeleteObject(previous);
    }
    ReleaseDC(control, dc);
}

HFONT createRequestedFont(const FontSpec &request, int dpi) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return nullptr;
    LOGFONTW description = requestedFont(screen, request, dpi);
    ReleaseDC(nullptr, screen);
    return CreateFontIndirectW(&description);
}

void rescaleOwnedFonts(OpenDialog &open, int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return;
    releaseFontsOfDeadControls(open.fonts);
    for (OwnedFont &owned : open.fonts) {
        LOGFONTW description = {};
        if (GetObjectW(owned.font, sizeof description, &description) == 0) continue;
        description.lfHeight = MulDiv(description.lfHeight, toDpi, fromDpi);
        HFONT font = CreateFontIndirectW(&description);
        if (font == nullptr) continue;
        SendMessageW(owned.control, WM_SETFONT, WPARAM(font), TRUE);
        DeleteObject(owned.font);
        owned.font = font;
    }
}
