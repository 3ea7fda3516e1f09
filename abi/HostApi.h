#pragma once

// Signatures of the host operations the plug-in calls. A host (the workstation, or the headless
// host of this project) exports each under its exact name with C linkage.

#include "abi/HostRecords.h"

extern "C" {

namespace host::api {

// Writes major, minor and third version number. The result is not used.
using TkGetVersionOfZemlarTK = int(int* major, int* minor, int* third);
// Shows the log pane.
using TkShowLogTab = int();
// Appends text (which may hold line breaks) to the log as one entry.
using TkLogText = int(const char* text);
// Shows a message to the user.
using TkMessageBox = int(const char* text);
// Asks a question: 1 = Yes, 0 = No.
using TkYesNoMessageBox = int(const char* question);
// The number entered, or exactly minimum - 1 when the user cancelled.
using TkGetFloatInput = float(const char* prompt, float initial, float minimum, float maximum);
// Non-zero with the chosen path in result (512 bytes); 0 when the user chose no file.
using TkGetOpenFileName = int(const char* title, const char* directory, const char* filter,
                              char* result);
// Non-null while a volume document is current; writes its three dimensions.
using TkGetCurrentVMR = unsigned char*(int* dimX, int* dimY, int* dimZ);
// 1 when the time course was linked to the current volume document.
using TkLinkVTCToCurrentVMR = int(const char* vtcPath, int flag);
// Non-zero when the record was filled.
using TkGetHeaderOfVTCOfCurrentVMR = int(host::VtcHeaderRecord* header);
// The host takes up the record's values.
using TkSetHeaderOfVTCOfCurrentVMR = int(host::VtcHeaderRecord* header);
// Afterwards there is no current protocol.
using TkClearProtocol = int(bool flag);
// Afterwards the host's design matrix is empty.
using TkClearDesignMatrix = int();
// 1 when the record was filled.
using TkGetProtocol = int(host::ProtocolRecord* protocol);
// Non-zero when the record of the condition at the zero-based index was filled.
using TkGetProtocolCondition = int(int index, host::ProtocolConditionRecord* condition);
// Appends a predictor of that name.
using TkAddPredictor = int(const char* name);
// Fills the predictor from the condition's intervals with the value.
using TkSetPredictorValuesFromConditionName = int(const char* predictorName,
                                                  const char* conditionName, float value);
// Convolves the named predictor with the two-gamma response function.
using TkApplyTwoGammaHRFToPredictorWithName = int(const char* predictorName);
// Convolves the named predictor with the Boynton response function.
using TkApplyBoyntonHRFToPredictorWithName = int(const char* predictorName);
// Writable values of the predictor at the zero-based index, one per volume; null when none.
using TkGetPredictor = float*(int index);
// Non-zero when the design matrix was saved to that path.
using TkSaveSingleStudyGLMDesignMatrix = int(const char* path);

}  // namespace host::api
}
