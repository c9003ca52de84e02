// The bodies of the 24 external functions. Each reads its arguments from the
// host's vector, does its work and writes its result; it may throw (a failed
// host call, no memory), and the registry's boundary turns that into the
// host's error code.
#ifndef TESSARY_FUNCTIONS_FUNCTIONS_H
#define TESSARY_FUNCTIONS_FUNCTIONS_H

#include <cstdint>

#include "FMWrapper.h"

typedef int16_t (*FunctionBody)(const FMDataVect *args, FMData *result);

int16_t versionFunction(const FMDataVect *args, FMData *result);
int16_t dialogFunction(const FMDataVect *args, FMData *result);
int16_t doLoginFunction(const FMDataVect *args, FMData *result);
int16_t getInputFunction(const FMDataVect *args, FMData *result);
int16_t doListFunction(const FMDataVect *args, FMData *result);
int16_t progressBarFunction(const FMDataVect *args, FMData *result);
int16_t setPositionFunction(const FMDataVect *args, FMData *result);
int16_t bigEditBoxFunction(const FMDataVect *args, FMData *result);
int16_t setLabelsFunction(const FMDataVect *args, FMData *result);
int16_t setInputTypesFunction(const FMDataVect *args, FMData *result);
int16_t setDefaultInputsFunction(const FMDataVect *args, FMData *result);
int16_t doDialogFunction(const FMDataVect *args, FMData *result);
int16_t colorPickerFunction(const FMDataVect *args, FMData *result);
int16_t createColorFunction(const FMDataVect *args, FMData *result);
int16_t calendarFunction(const FMDataVect *args, FMData *result);
int16_t doTabDialogFunction(const FMDataVect *args, FMData *result);
int16_t doDualListDialogFunction(const FMDataVect *args, FMData *result);
int16_t selectFolderDialogFunction(const FMDataVect *args, FMData *result);
int16_t selectFileDialogFunction(const FMDataVect *args, FMData *result);
int16_t getPositionFunction(const FMDataVect *args, FMData *result);
int16_t setFontFunction(const FMDataVect *args, FMData *result);
int16_t customDialogFunction(const FMDataVect *args, FMData *result);
int16_t systemFunction(const FMDataVect *args, FMData *result);
int16_t doListViewFunction(const FMDataVect *args, FMData *result);

#endif
