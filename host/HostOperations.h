#pragma once

// Typed calls of the host operations, each through its entry in the host function table.
// A call whose entry is empty is never made: it answers as the host would on a refusal
// (0, null, or "cancelled"), so that nothing jumps through a null address.

#include <string>
#include <string_view>
#include <vector>

#include "abi/HostRecords.h"
#include "text/FormattedText.h"

namespace host {

// The operations a batch run may call, by export name.
std::vector<std::string_view> operationsCalledByRun();
// Those of the above whose table entry is empty, in table order.
std::vector<std::string_view> missingRunOperations();
// True when the table entry of the named operation is filled.
bool isBound(std::string_view name);

int getVersionOfZemlarTK(int& major, int& minor, int& third);
void showLogTab();
void logText(const char* text);
void logText(const std::string& text);
// Composes a log entry of any length and logs it.
void logFormat(const char* format, ...) SDMWEAVER_PRINTF(1, 2);
void messageBox(const char* text);
int yesNoMessageBox(const char* question);
float getFloatInput(const char* prompt, float initial, float minimum, float maximum);
// result must hold kPathBufferSize bytes; it is NUL-terminated on return.
int getOpenFileName(const char* title, const char* directory, const char* filter, char* result);
inline constexpr std::size_t kPathBufferSize = 512;
unsigned char* getCurrentVMR(int& dimX, int& dimY, int& dimZ);
int linkVTCToCurrentVMR(const char* vtcPath, int flag);
int getHeaderOfVTCOfCurrentVMR(VtcHeaderRecord& header);
int setHeaderOfVTCOfCurrentVMR(VtcHeaderRecord& header);
int clearProtocol(bool flag);
int clearDesignMatrix();
int getProtocol(ProtocolRecord& protocol);
int getProtocolCondition(int index, ProtocolConditionRecord& condition);
int addPredictor(const char* name);
int setPredictorValuesFromConditionName(const char* predictorName, const char* conditionName,
                                        float value);
int applyTwoGammaHRFToPredictorWithName(const char* predictorName);
int applyBoyntonHRFToPredictorWithName(const char* predictorName);
float* getPredictor(int index);
int saveSingleStudyGLMDesignMatrix(const char* path);

}  // namespace host
