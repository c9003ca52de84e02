// Control fonts built from a slot's FontSpec.
#ifndef TESSARY_RUNTIME_FONTS_H
#define TESSARY_RUNTIME_FONTS_H

#include <windows.h>

#include "model/dialog_definition.h"

// Gives `control` a font built from the default GUI font and the request.
// The font belongs to the dialog being built and is deleted by
// releaseDialogFonts when that dialog closes.
void applyControlFont(HWND control, const FontSpec &font);
// Deletes every font made for the dialog `dialogWindow`; call after the
// dialog and its controls are gone.
void releaseDialogFonts(HWND dialogWindow);

#endif
