// Where a window goes on the screen and how large it is drawn there.
// Scripts place their dialogs where they want them, but a modal dialog
// opened off the screen could be neither seen nor answered, and the host
// would wait for it for ever. Sizes are written in script units, the pixels
// of a screen at 96 dpi, and drawn at the scale of the screen the dialog
// opens on, so a dialog written at 100 % looks the same at 150 %.
#ifndef TESSARY_RUNTIME_SCREEN_RULES_H
#define TESSARY_RUNTIME_SCREEN_RULES_H

#include "model/dialog_definition.h"

// The rectangle `window` moved, never resized, until it lies inside
// `workArea`; unchanged when it lies inside already. A window larger than
// the work area keeps its top-left corner inside.
ScreenRect keepInside(const ScreenRect &window, const ScreenRect &workArea);

// `window` moved so that its centre is the centre of `on`.
ScreenRect centredOn(const ScreenRect &window, const ScreenRect &on);

constexpr int kScriptDpi = 96;

// The scale of one dialog: script units to the pixels of its screen and
// back. Both round to the nearest whole number, halves away from zero, so a
// size read back from the screen gives the size that was asked for.
struct Scale {
    int dpi = kScriptDpi;

    int32_t pixels(int32_t units) const;
    int32_t units(int32_t pixels) const;
};

// A window asked for at `asked` (position in screen pixels, size in script
// units) as it is drawn at `scale`: the same position, the size in pixels.
ScreenRect drawnAt(const Scale &scale, const ScreenRect &asked);

#ifdef _WIN32
struct HWND__;

// The dots per inch that `window` is drawn at: its own where the system
// keeps one per window, else the screen's. A host that is not DPI-aware
// gets 96, since the system stretches such a host's windows itself.
int dpiOfWindow(HWND__ *window);

// `window` kept inside the work area of the monitor nearest to it.
ScreenRect keepOnNearestScreen(const ScreenRect &window);

// The window that a dialog opening now is centred on: `owner` when it is
// shown and not minimised; else null, and the dialog goes to the middle of
// the work area of the monitor with the mouse.
HWND__ *centringWindow(HWND__ *owner);

// The work area of the monitor a dialog opens on: the one of the place the
// record gives once a position is given, else the one of the window it is
// centred on, else the one with the mouse.
ScreenRect openingWorkArea(HWND__ *owner, const ScreenRect &asked, bool positionGiven);

// Where a dialog of the size `drawn` gives (in pixels) opens: at the
// position `drawn` holds once a script or a user gave one, else centred on
// its owner or on the work area with the mouse; inside a work area either
// way.
ScreenRect openingPlace(HWND__ *owner, const ScreenRect &drawn, bool positionGiven);

// Where the dialog `window`, drawn at `scale`, opens (see openingPlace). A
// dialog centred keeps its place in the record, so that the position a
// script reads back is where the dialog really was.
ScreenRect placeOpening(HWND__ *window, const Scale &scale);
#endif

#endif
