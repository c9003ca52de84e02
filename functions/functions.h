// The bodies of the external functions. Each takes the call's arguments as
// the boundary read them, does its work and sets its result; it may throw
// (no memory, a dialog that could not be made), and the registry's boundary
// turns that into the host's error code. Tessary_Version, which asks the host
// itself, lives with the registry.
#ifndef TESSARY_FUNCTIONS_FUNCTIONS_H
#define TESSARY_FUNCTIONS_FUNCTIONS_H

#include <cstdint>

#include "model/call.h"

typedef void (*FunctionBody)(const CallArguments &args, CallResult &result);

void versionFunction(const CallArguments &args, CallResult &result);
void dialogFunction(const CallArguments &args, CallResult &result);
void doLoginFunction(const CallArguments &args, CallResult &result);
void getInputFunction(const CallArguments &args, CallResult &result);
void doListFunction(const CallArguments &args, CallResult &result);
void progressBarFunction(const CallArguments &args, CallResult &result);
void setPositionFunction(const CallArguments &args, CallResult &result);
void bigEditBoxFunction(const CallArguments &args, CallResult &result);
void setLabelsFunction(const CallArguments &args, CallResult &result);
void setInputTypesFunction(const CallArguments &args, CallResult &result);
void setDefaultInputsFunction(const CallArguments &args, CallResult &result);
void doDialogFunction(const CallArguments &args, CallResult &result);
void colorPickerFunction(const CallArguments &args, CallResult &result);
void createColorFunction(const CallArguments &args, CallResult &result);
void calendarFunction(const CallArguments &args, CallResult &result);
void doTabDialogFunction(const CallArguments &args, CallResult &result);
void doDualListDialogFunction(const CallArguments &args, CallResult &result);
void selectFolderDialogFunction(const CallArguments &args, CallResult &result);
void selectFileDialogFunction(const CallArguments &args, CallResult &result);
void getPositionFunction(const CallArguments &args, CallResult &result);
void setFontFunction(const CallArguments &args, CallResult &result);
void customDialogFunction(const CallArguments &args, CallResult &result);
void systemFunction(const CallArguments &args, CallResult &result);
void doListViewFunction(const CallArguments &args, CallResult &result);

#endif
