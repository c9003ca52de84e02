// Whether anybody can answer a window in this process. The host also runs
// plug-ins in processes with nobody at a screen (its server, web publishing,
// database drivers): a modal dialog there would wait for ever and hang the
// script that called it. The plug-in decides once, at start-up; while
// nobody can answer, no dialog and no chooser is shown, and each function
// answers as if the user had closed its dialog without a button.
#ifndef TESSARY_RUNTIME_PRESENCE_H
#define TESSARY_RUNTIME_PRESENCE_H

void setUserPresent(bool present);
bool userPresent();

#endif
