// The plug-in's own activation context: its manifest asks for the common
// controls version 6, but a DLL's manifest only applies while its context is
// active, so everything that creates our windows runs inside this scope.
#ifndef TESSARY_RUNTIME_ACTIVATION_WIN_H
#define TESSARY_RUNTIME_ACTIVATION_WIN_H

#include <windows.h>

class ActivationScope {
public:
    ActivationScope();
    ~ActivationScope();
    ActivationScope(const ActivationScope &) = delete;
    ActivationScope &operator=(const ActivationScope &) = delete;

private:
    ULONG_PTR cookie_;
    bool active_;
};

#endif
