#pragma once

// The host operations the headless host exports, under their exact names with C linkage and
// exactly the signatures the plug-in calls them with (checked below against abi/HostApi.h).
// Operations the plug-in only binds are not exported; their table entries stay empty.

#include <type_traits>

#include "abi/HostApi.h"
#include "abi/HostExportMacros.h"

extern "C" {

// Dialogs, messages and the log (DialogOperations.cpp).
SDMWEAVER_HOST_API int tkGetVersionOfZemlarTK(int* major, int* minor, int* third);
SDMWEAVER_HOST_API int tkShowLogTab();
SDMWEAVER_HOST_API int tkLogText(const char* text);
SDMWEAVER_HOST_API int tkMessageBox(const char* text);
SDMWEAVER_HOST_API int tkYesNoMessageBox(const char* question);
SDMWEAVER_HOST_API float tkGetFloatInput(const char* prompt, float initial, float minimum,
                                         float maximum);
SDMWEAVER_HOST_API int tkGetOpenFileName(const char* title, const char* directory,
                                         const char* filter, char* result);

// The volume document and its linked time course (DocumentOperations.cpp).
SDMWEAVER_HOST_API unsigned char* tkGetCurrentVMR(int* dimX, int* dimY, int* dimZ);
SDMWEAVER_HOST_API int tkLinkVTCToCurrentVMR(const char* vtcPath, int flag);
SDMWEAVER_HOST_API int tkGetHeaderOfVTCOfCurrentVMR(host::VtcHeaderRecord* header);
SDMWEAVER_HOST_API int tkSetHeaderOfVTCOfCurrentVMR(host::VtcHeaderRecord* header);

// The current protocol (ProtocolOperations.cpp).
SDMWEAVER_HOST_API int tkClearProtocol(bool flag);
SDMWEAVER_HOST_API int tkGetProtocol(host::ProtocolRecord* protocol);
SDMWEAVER_HOST_API int tkGetProtocolCondition(int index, host::ProtocolConditionRecord* condition);

// The design matrix under construction (DesignMatrixOperations.cpp).
SDMWEAVER_HOST_API int tkClearDesignMatrix();
SDMWEAVER_HOST_API int tkAddPredictor(const char* name);
SDMWEAVER_HOST_API int tkSetPredictorValuesFromConditionName(const char* predictorName,
                                                             const char* conditionName,
                                                             float value);
SDMWEAVER_HOST_API int tkApplyTwoGammaHRFToPredictorWithName(const char* predictorName);
SDMWEAVER_HOST_API int tkApplyBoyntonHRFToPredictorWithName(const char* predictorName);
SDMWEAVER_HOST_API float* tkGetPredictor(int index);
SDMWEAVER_HOST_API int tkSaveSingleStudyGLMDesignMatrix(const char* path);
}

#define SDMWEAVER_CHECK_HOST_OPERATION(name, Signature)      \
    static_assert(std::is_same_v<decltype(name), Signature>, \
                  #name " must have the signature the plug-in calls it with")

SDMWEAVER_CHECK_HOST_OPERATION(tkGetVersionOfZemlarTK, host::api::TkGetVersionOfZemlarTK);
SDMWEAVER_CHECK_HOST_OPERATION(tkShowLogTab, host::api::TkShowLogTab);
SDMWEAVER_CHECK_HOST_OPERATION(tkLogText, host::api::TkLogText);
SDMWEAVER_CHECK_HOST_OPERATION(tkMessageBox, host::api::TkMessageBox);
SDMWEAVER_CHECK_HOST_OPERATION(tkYesNoMessageBox, host::api::TkYesNoMessageBox);
SDMWEAVER_CHECK_HOST_OPERATION(tkGetFloatInput, host::api::TkGetFloatInput);
SDMWEAVER_CHECK_HOST_OPERATION(tkGetOpenFileName, host::api::TkGetOpenFileName);
SDMWEAVER_CHECK_HOST_OPERATION(tkGetCurrentVMR, host::api::TkGetCurrentVMR);
SDMWEAVER_CHECK_HOST_OPERATION(tkLinkVTCToCurrentVMR, host::api::TkLinkVTCToCurrentVMR);
SDMWEAVER_CHECK_HOST_OPERATION(tkGetHeaderOfVTCOfCurrentVMR,
                               host::api::TkGetHeaderOfVTCOfCurrentVMR);
SDMWEAVER_CHECK_HOST_OPERATION(tkSetHeaderOfVTCOfCurrentVMR,
                               host::api::TkSetHeaderOfVTCOfCurrentVMR);
SDMWEAVER_CHECK_HOST_OPERATION(tkClearProtocol, host::api::TkClearProtocol);
SDMWEAVER_CHECK_HOST_OPERATION(tkGetProtocol, host::api::TkGetProtocol);
SDMWEAVER_CHECK_HOST_OPERATION(tkGetProtocolCondition, host::api::TkGetProtocolCondition);
SDMWEAVER_CHECK_HOST_OPERATION(tkClearDesignMatrix, host::api::TkClearDesignMatrix);
SDMWEAVER_CHECK_HOST_OPERATION(tkAddPredictor, host::api::TkAddPredictor);
SDMWEAVER_CHECK_HOST_OPERATION(tkSetPredictorValuesFromConditionName,
                               host::api::TkSetPredictorValuesFromConditionName);
SDMWEAVER_CHECK_HOST_OPERATION(tkApplyTwoGammaHRFToPredictorWithName,
                               host::api::TkApplyTwoGammaHRFToPredictorWithName);
SDMWEAVER_CHECK_HOST_OPERATION(tkApplyBoyntonHRFToPredictorWithName,
                               host::api::TkApplyBoyntonHRFToPredictorWithName);
SDMWEAVER_CHECK_HOST_OPERATION(tkGetPredictor, host::api::TkGetPredictor);
SDMWEAVER_CHECK_HOST_OPERATION(tkSaveSingleStudyGLMDesignMatrix,
                               host::api::TkSaveSingleStudyGLMDesignMatrix);

#undef SDMWEAVER_CHECK_HOST_OPERATION
