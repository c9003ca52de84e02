// The module whose resources the runtime uses: dialog templates and the
// manifest that selects the common controls. The plug-in tells the runtime
// which one that is before it asks for any dialog; until then, and in a
// program that links the runtime itself, it is null, which makes the system
// look in the program's own module.
#ifndef TESSARY_RUNTIME_MODULE_H
#define TESSARY_RUNTIME_MODULE_H

void setRuntimeModule(void *module);
void *runtimeModule();

#endif
