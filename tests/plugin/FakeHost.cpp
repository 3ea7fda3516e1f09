// A stand-in host module for the binding tests. Built several times, each build exporting a
// chosen subset of the host operations, under the host's module file names.
// FAKE_HOST_OPERATIONS: 0 = no version operation (log and message box only), 1 = only the
// version operation, 2 = version, log and message box, 3 = every operation a run calls.

#include <string>

#include "abi/HostApi.h"

#if defined(_WIN32)
#define FAKE_EXPORT extern "C" __declspec(dllexport)
#else
#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

int gMajor = 3;
int gMinor = 0;
int gThird = 0;
std::string gTranscript;

void record(const std::string& line) {
    gTranscript += line;
    gTranscript += '\n';
}

}  // namespace

// Control of the fake, for the tests.
FAKE_EXPORT void fakeHostSetVersion(int major, int minor, int third) {
    gMajor = major;
    gMinor = minor;
    gThird = third;
}
FAKE_EXPORT const char* fakeHostTranscript() {
    return gTranscript.c_str();
}
FAKE_EXPORT void fakeHostReset() {
    gTranscript.clear();
}

#if FAKE_HOST_OPERATIONS >= 1
FAKE_EXPORT int tkGetVersionOfZemlarTK(int* major, int* minor, int* third) {
    record("tkGetVersionOfZemlarTK");
    *major = gMajor;
    *minor = gMinor;
    *third = gThird;
    return 1;
}
#endif

#if FAKE_HOST_OPERATIONS != 1
FAKE_EXPORT int tkLogText(const char* text) {
    record(std::string("tkLogText: ") + text);
    return 1;
}
FAKE_EXPORT int tkMessageBox(const char* text) {
    record(std::string("tkMessageBox: ") + text);
    return 1;
}
#endif

#if FAKE_HOST_OPERATIONS >= 3
FAKE_EXPORT int tkShowLogTab() {
    record("tkShowLogTab");
    return 1;
}
FAKE_EXPORT int tkYesNoMessageBox(const char*) {
    return 0;
}
FAKE_EXPORT float tkGetFloatInput(const char*, float, float minimum, float) {
    return minimum - 1;
}
FAKE_EXPORT int tkGetOpenFileName(const char*, const char*, const char*, char*) {
    return 0;
}
FAKE_EXPORT unsigned char* tkGetCurrentVMR(int*, int*, int*) {
    record("tkGetCurrentVMR");
    return nullptr;
}
FAKE_EXPORT int tkLinkVTCToCurrentVMR(const char*, int) {
    return 0;
}
FAKE_EXPORT int tkGetHeaderOfVTCOfCurrentVMR(host::VtcHeaderRecord*) {
    return 0;
}
FAKE_EXPORT int tkSetHeaderOfVTCOfCurrentVMR(host::VtcHeaderRecord*) {
    return 0;
}
FAKE_EXPORT int tkClearProtocol(bool) {
    return 0;
}
FAKE_EXPORT int tkClearDesignMatrix() {
    return 0;
}
FAKE_EXPORT int tkGetProtocol(host::ProtocolRecord*) {
    return 0;
}
FAKE_EXPORT int tkGetProtocolCondition(int, host::ProtocolConditionRecord*) {
    return 0;
}
FAKE_EXPORT int tkAddPredictor(const char*) {
    return 0;
}
FAKE_EXPORT int tkSetPredictorValuesFromConditionName(const char*, const char*, float) {
    return 0;
}
FAKE_EXPORT int tkApplyTwoGammaHRFToPredictorWithName(const char*) {
    return 0;
}
FAKE_EXPORT int tkApplyBoyntonHRFToPredictorWithName(const char*) {
    return 0;
}
FAKE_EXPORT float* tkGetPredictor(int) {
    return nullptr;
}
FAKE_EXPORT int tkSaveSingleStudyGLMDesignMatrix(const char*) {
    return 0;
}
#endif
