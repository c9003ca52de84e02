#include "runtime/presence.h"

namespace {
// Until the host says otherwise, as in a program that links the runtime
// itself: somebody is there.
bool gUserPresent = true;
} // namespace

void setUserPresent(bool present) {
    gUserPresent = present;
}

bool userPresent() {
    return gUserPresent;
}
