#pragma once

// The host operations the headless host exports, under their exact names with C linkage and
// exactly the signatures the plug-in calls them with.
// Operations the plug-in only binds are not exported; their table entries stay empty.

#include "abi/HostApi.h"
#include "abi/HostExportMacros.h"

// Each is declared with the plug-in's own signature from abi/HostApi.h, so that a definition with
// any other does not compile.
extern "C" {

// Dialogs, messages and the log (DialogOperations.cpp).
SDMWEAVER_HOST_API host::api::TkGetVersionOfZemlarTK tkGetVersionOfZemlarTK;
SDMWEAVER_HOST_API host::api::TkShowLogTab tkShowLogTab;
SDMWEAVER_HOST_API host::api::TkLogText tkLogText;
SDMWEAVER_HOST_API host::api::TkMessageBox tkMessageBox;
SDMWEAVER_HOST_API host::api::TkYesNoMessageBox tkYesNoMessageBox;
SDMWEAVER_HOST_API host::api::TkGetFloatInput tkGetFloatInput;
SDMWEAVER_HOST_API host::api::TkGetOpenFileName tkGetOpenFileName;

// The volume document and its linked time course (DocumentOperations.cpp).
SDMWEAVER_HOST_API host::api::TkGetCurrentVMR tkGetCurrentVMR;
SDMWEAVER_HOST_API host::api::TkLinkVTCToCurrentVMR tkLinkVTCToCurrentVMR;
SDMWEAVER_HOST_API host::api::TkGetHeaderOfVTCOfCurrentVMR tkGetHeaderOfVTCOfCurrentVMR;
SDMWEAVER_HOST_API host::api::TkSetHeaderOfVTCOfCurrentVMR tkSetHeaderOfVTCOfCurrentVMR;

// The current protocol (ProtocolOperations.cpp).
SDMWEAVER_HOST_API host::api::TkClearProtocol tkClearProtocol;
SDMWEAVER_HOST_API host::api::TkGetProtocol tkGetProtocol;
SDMWEAVER_HOST_API host::api::TkGetProtocolCondition tkGetProtocolCondition;

// The design matrix under construction (DesignMatrixOperations.cpp).
SDMWEAVER_HOST_API host::api::TkClearDesignMatrix tkClearDesignMatrix;
SDMWEAVER_HOST_API host::api::TkAddPredictor tkAddPredictor;
SDMWEAVER_HOST_API host::api::TkSetPredictorValuesFromConditionName
    tkSetPredictorValuesFromConditionName;
SDMWEAVER_HOST_API host::api::TkApplyTwoGammaHRFToPredictorWithName
    tkApplyTwoGammaHRFToPredictorWithName;
SDMWEAVER_HOST_API host::api::TkApplyBoyntonHRFToPredictorWithName
    tkApplyBoyntonHRFToPredictorWithName;
SDMWEAVER_HOST_API host::api::TkGetPredictor tkGetPredictor;
SDMWEAVER_HOST_API host::api::TkSaveSingleStudyGLMDesignMatrix tkSaveSingleStudyGLMDesignMatrix;
}
