// Control fonts built from a slot's FontSpec.
#ifndef TESSARY_RUNTIME_FONTS_H
#define TESSARY_RUNTIME_FONTS_H

#include <windows.h>

#include "model/dialog_definition.h"

// Gives `control` a font built from the default GUI font and the request.
// The font belongs to the control's dialog and goes when that dialog's
// record does, after its controls.
void applyControlFont(HWND control, const FontSpec &font);

#endif
