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

// Writes the host's version triple; the result is not used (0 when the entry is empty).
int getVersionOfZemlarTK(int& major, int& minor, int& third);
// Shows the host's log pane.
void showLogTab();
// Appends the text to the log as one entry; it may hold line breaks.
void logText(const char* text);
void logText(const std::string& text);
// Composes a log entry of any length and logs it.
void logFormat(const char* format, ...) SDMWEAVER_PRINTF(1, 2);
// Shows the text in a message box until the user closes it.
void messageBox(const char* text);
// 1 = Yes, 0 = No (also when the entry is empty).
int yesNoMessageBox(const char* question);
// The number entered; exactly minimum - 1 when the user cancelled (or the entry is empty).
float getFloatInput(const char* prompt, float initial, float minimum, float maximum);
// Non-zero with the chosen path in result; 0 when no file was chosen. result must hold
// kPathBufferSize bytes; it is NUL-terminated on return.
int getOpenFileName(const char* title, const char* directory, const char* filter, char* result);
inline constexpr std::size_t kPathBufferSize = 512;
// Non-null while a volume document is current, with its three dimensions written.
unsigned char* getCurrentVMR(int& dimX, int& dimY, int& dimZ);
// 1 when the time course was linked to the current volume document.
int linkVTCToCurrentVMR(const char* vtcPath, int flag);
// Non-zero when the host filled the record.
int getHeaderOfVTCOfCurrentVMR(VtcHeaderRecord& header);
// The host takes up the record's values; the result is not examined.
int setHeaderOfVTCOfCurrentVMR(VtcHeaderRecord& header);
// Afterwards the host has no current protocol; the result is not examined.
int clearProtocol(bool flag);
// Afterwards the host's design matrix is empty; the result is not examined.
int clearDesignMatrix();
// 1 when the host filled the record with its current protocol.
int getProtocol(ProtocolRecord& protocol);
// Non-zero when the host filled the record of the condition at the zero-based index; the
// interval arrays stay the host's.
int getProtocolCondition(int index, ProtocolConditionRecord& condition);
// Appends a predictor of that name; the result is not examined.
int addPredictor(const char* name);
// Fills the predictor from the condition's intervals with the value; the result is not examined.
int setPredictorValuesFromConditionName(const char* predictorName, const char* conditionName,
                                        float value);
// Convolves the named predictor with the two-gamma response function; the result is not
// examined.
int applyTwoGammaHRFToPredictorWithName(const char* predictorName);
// Convolves the named predictor with the Boynton response function; the result is not examined.
int applyBoyntonHRFToPredictorWithName(const char* predictorName);
// The host's writable values of the predictor at the zero-based index, one per volume; null when
// there is none.
float* getPredictor(int index);
// Non-zero when the host saved its design matrix to the path.
int saveSingleStudyGLMDesignMatrix(const char* path);

}  // namespace host
