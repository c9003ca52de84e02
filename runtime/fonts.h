// Control fonts built from a slot's FontSpec.
#ifndef TESSARY_RUNTIME_FONTS_H
#define TESSARY_RUNTIME_FONTS_H

#include <windows.h>

#include "model/dialog_definition.h"

// Gives `control` a font built from the default GUI font and the request.
// The font belongs to the control's dialog and goes when that dialog's
// record does, after its controls.
// Point sizes are drawn at the dialog's scale, and so is the default GUI
// font, which the system makes for the scale of the whole screen.
void applyControlFont(HWND control, const FontSpec &font);

// The font applyControlFont would give a control of a dialog drawn at
// `dpi`, for measuring its text before the control exists; the caller
// deletes it.
HFONT createRequestedFont(const FontSpec &font, int dpi);

class OpenDialog;
// The fonts `open` made, made again for a scale that went from `fromDpi`
// to `toDpi`, each control given its new one.
void rescaleOwnedFonts(OpenDialog &open, int fromDpi, int toDpi);

#endif
