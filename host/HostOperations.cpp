#include "host/HostOperations.h"

#include <array>

#include "abi/HostApi.h"
#include "host/HostFunctionTable.h"

namespace host {

namespace {

// One typed entry of the table: the operation's signature and its position, found by name.
template <typename Signature>
struct Operation {
    std::size_t index;

    Signature* function() const { return reinterpret_cast<Signature*>(hostFunctionTable()[index]); }
};

template <typename Signature>
consteval Operation<Signature> operation(std::string_view name) {
    return Operation<Signature>{hostFunctionIndex(name)};
}

constexpr auto kGetVersion = operation<api::TkGetVersionOfZemlarTK>("tkGetVersionOfZemlarTK");
constexpr auto kShowLogTab = operation<api::TkShowLogTab>("tkShowLogTab");
constexpr auto kLogText = operation<api::TkLogText>("tkLogText");
constexpr auto kMessageBox = operation<api::TkMessageBox>("tkMessageBox");
constexpr auto kYesNoMessageBox = operation<api::TkYesNoMessageBox>("tkYesNoMessageBox");
constexpr auto kGetFloatInput = operation<api::TkGetFloatInput>("tkGetFloatInput");
constexpr auto kGetOpenFileName = operation<api::TkGetOpenFileName>("tkGetOpenFileName");
constexpr auto kGetCurrentVMR = operation<api::TkGetCurrentVMR>("tkGetCurrentVMR");
constexpr auto kLinkVTC = operation<api::TkLinkVTCToCurrentVMR>("tkLinkVTCToCurrentVMR");
constexpr auto kGetVTCHeader =
    operation<api::TkGetHeaderOfVTCOfCurrentVMR>("tkGetHeaderOfVTCOfCurrentVMR");
constexpr auto kSetVTCHeader =
    operation<api::TkSetHeaderOfVTCOfCurrentVMR>("tkSetHeaderOfVTCOfCurrentVMR");
constexpr auto kClearProtocol = operation<api::TkClearProtocol>("tkClearProtocol");
constexpr auto kClearDesignMatrix = operation<api::TkClearDesignMatrix>("tkClearDesignMatrix");
constexpr auto kGetProtocol = operation<api::TkGetProtocol>("tkGetProtocol");
constexpr auto kGetProtocolCondition =
    operation<api::TkGetProtocolCondition>("tkGetProtocolCondition");
constexpr auto kAddPredictor = operation<api::TkAddPredictor>("tkAddPredictor");
constexpr auto kSetPredictorValues =
    operation<api::TkSetPredictorValuesFromConditionName>("tkSetPredictorValuesFromConditionName");
constexpr auto kApplyTwoGamma =
    operation<api::TkApplyTwoGammaHRFToPredictorWithName>("tkApplyTwoGammaHRFToPredictorWithName");
constexpr auto kApplyBoynton =
    operation<api::TkApplyBoyntonHRFToPredictorWithName>("tkApplyBoyntonHRFToPredictorWithName");
constexpr auto kGetPredictor = operation<api::TkGetPredictor>("tkGetPredictor");
constexpr auto kSaveDesignMatrix =
    operation<api::TkSaveSingleStudyGLMDesignMatrix>("tkSaveSingleStudyGLMDesignMatrix");

// Every operation a batch run may reach, in table order.
constexpr std::array<std::string_view, 20> kRunOperations = {
    "tkShowLogTab",
    "tkLogText",
    "tkMessageBox",
    "tkYesNoMessageBox",
    "tkGetFloatInput",
    "tkGetOpenFileName",
    "tkGetCurrentVMR",
    "tkLinkVTCToCurrentVMR",
    "tkGetHeaderOfVTCOfCurrentVMR",
    "tkSetHeaderOfVTCOfCurrentVMR",
    "tkClearProtocol",
    "tkGetProtocol",
    "tkGetProtocolCondition",
    "tkClearDesignMatrix",
    "tkAddPredictor",
    "tkSetPredictorValuesFromConditionName",
    "tkApplyTwoGammaHRFToPredictorWithName",
    "tkApplyBoyntonHRFToPredictorWithName",
    "tkGetPredictor",
    "tkSaveSingleStudyGLMDesignMatrix",
};

// Calls the operation when its entry is filled; otherwise answers `refused`.
template <typename Signature, typename Result, typename... Arguments>
Result callOr(Operation<Signature> op, Result refused, Arguments... arguments) {
    Signature* function = op.function();
    return function != nullptr ? static_cast<Result>(function(arguments...)) : refused;
}

}  // namespace

std::vector<std::string_view> operationsCalledByRun() {
    return {kRunOperations.begin(), kRunOperations.end()};
}

bool isBound(std::string_view name) {
    const std::size_t index = findHostFunction(name);
    return index < kHostFunctionCount && hostFunctionTable()[index] != nullptr;
}

std::vector<std::string_view> missingRunOperations() {
    std::vector<std::string_view> missing;
    for (std::string_view name : kRunOperations) {
        if (!isBound(name)) {
            missing.push_back(name);
        }
    }
    return missing;
}

int getVersionOfZemlarTK(int& major, int& minor, int& third) {
    return callOr(kGetVersion, 0, &major, &minor, &third);
}

void showLogTab() {
    callOr(kShowLogTab, 0);
}

void logText(const char* text) {
    callOr(kLogText, 0, text);
}

void logText(const std::string& text) {
    logText(text.c_str());
}

void logFormat(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    const std::string entry = text::formatTextV(format, arguments);
    va_end(arguments);
    logText(entry);
}

void messageBox(const char* text) {
    callOr(kMessageBox, 0, text);
}

int yesNoMessageBox(const char* question) {
    return callOr(kYesNoMessageBox, 0, question);
}

float getFloatInput(const char* prompt, float initial, float minimum, float maximum) {
    return callOr(kGetFloatInput, minimum - 1.0f, prompt, initial, minimum, maximum);
}

int getOpenFileName(const char* title, const char* directory, const char* filter, char* result) {
    const int chosen = callOr(kGetOpenFileName, 0, title, directory, filter, result);
    result[kPathBufferSize - 1] = '\0';
    return chosen;
}

unsigned char* getCurrentVMR(int& dimX, int& dimY, int& dimZ) {
    return callOr(kGetCurrentVMR, static_cast<unsigned char*>(nullptr), &dimX, &dimY, &dimZ);
}

int linkVTCToCurrentVMR(const char* vtcPath, int flag) {
    return callOr(kLinkVTC, 0, vtcPath, flag);
}

int getHeaderOfVTCOfCurrentVMR(VtcHeaderRecord& header) {
    return callOr(kGetVTCHeader, 0, &header);
}

int setHeaderOfVTCOfCurrentVMR(VtcHeaderRecord& header) {
    return callOr(kSetVTCHeader, 0, &header);
}

int clearProtocol(bool flag) {
    return callOr(kClearProtocol, 0, flag);
}

int clearDesignMatrix() {
    return callOr(kClearDesignMatrix, 0);
}

int getProtocol(ProtocolRecord& protocol) {
    return callOr(kGetProtocol, 0, &protocol);
}

int getProtocolCondition(int index, ProtocolConditionRecord& condition) {
    return callOr(kGetProtocolCondition, 0, index, &condition);
}

int addPredictor(const char* name) {
    return callOr(kAddPredictor, 0, name);
}

int setPredictorValuesFromConditionName(const char* predictorName, const char* conditionName,
                                        float value) {
    return callOr(kSetPredictorValues, 0, predictorName, conditionName, value);
}

int applyTwoGammaHRFToPredictorWithName(const char* predictorName) {
    return callOr(kApplyTwoGamma, 0, predictorName);
}

int applyBoyntonHRFToPredictorWithName(const char* predictorName) {
    return callOr(kApplyBoynton, 0, predictorName);
}

float* getPredictor(int index) {
    return callOr(kGetPredictor, static_cast<float*>(nullptr), index);
}

int saveSingleStudyGLMDesignMatrix(const char* path) {
    return callOr(kSaveDesignMatrix, 0, path);
}

}  // namespace host
