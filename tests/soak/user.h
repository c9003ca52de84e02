// The random user of the soak: answers whatever dialog a call shows, as a
// person trying things would, and always ends it in the end.
#ifndef TESSARY_TESTS_SOAK_USER_H
#define TESSARY_TESTS_SOAK_USER_H

#include "calls.h"
#include "driver/dialog_driver.h"

#include <string>

namespace soak {

// Set: each step of the user is written to standard error.
extern bool traceUser;

struct UserOutcome {
    int actions = 0;          // inputs made before the closing one
    bool closed = false;      // the dialog went away
    bool movedIntoView = false;
    std::wstring stuck;       // not empty: how every way out failed
};

// Plays the user of `dialog`, the window `call` showed. Draws from its own
// generator, so what the user does never shifts the calls that follow.
UserOutcome playUser(driver::Dialog &dialog, Rng &rng, const Call &call);

// Now and then clicks the progress window's cancel button, as a user does
// while the script is busy.
void poke(Rng &rng);

}  // namespace soak

#endif
