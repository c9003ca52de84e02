// Where a window goes on the screen. Scripts place their dialogs where they
// want them, but a modal dialog opened off the screen could be neither seen
// nor answered, and the host would wait for it for ever.
#ifndef TESSARY_RUNTIME_SCREEN_RULES_H
#define TESSARY_RUNTIME_SCREEN_RULES_H

#include "model/dialog_definition.h"

// The rectangle `window` moved, never resized, until it lies inside
// `workArea`; unchanged when it lies inside already. A window larger than
// the work area keeps its top-left corner inside.
ScreenRect keepInside(const ScreenRect &window, const ScreenRect &workArea);

#ifdef _WIN32
// `window` kept inside the work area of the monitor nearest to it.
ScreenRect keepOnNearestScreen(const ScreenRect &window);
#endif

#endif
