#pragma once

// The sdmweaver program in two stages around the plug-in calls, exported by the host module for a
// host program that loads the plug-in and makes those calls itself, as the workstation does: the
// module then holds the documents, answers the dialogs and does every host operation, and says
// on standard error what it would have said. No exception leaves a stage. Includes no standard
// header, so that a program built without any C++ library can include it.

#include "abi/HostExportMacros.h"

// sdmweaverPrepareRun's answer when the plug-in may be loaded and called.
inline constexpr int kSdmweaverReadyToRun = -1;

// What the caller's plug-in calls came to, for sdmweaverFinishRun.
enum SdmweaverPluginOutcome : int {
    kSdmweaverNoObject = 0,      // createPlugin answered null
    kSdmweaverInitFailed = 1,    // initPlugin answered false
    kSdmweaverRunFailed = 2,     // execute answered false
    kSdmweaverRunSucceeded = 3,  // execute answered true
};

extern "C" {
// Reads the command line (argv[0] the program, as main gets it) and does what the program does
// before it loads the plug-in. kSdmweaverReadyToRun with the plug-in's path in pluginPath
// (pluginPathSize bytes, NUL-terminated); otherwise the exit status to end with.
SDMWEAVER_HOST_API int sdmweaverPrepareRun(int argc, char** argv, char* pluginPath,
                                           int pluginPathSize);
// Everything the program does after the plug-in calls (an SdmweaverPluginOutcome): messages,
// the run report, the summary line. Pictures and the quality report are the sdmweaver
// program's: the first stage refuses --plot and --qc. Answers the exit status.
SDMWEAVER_HOST_API int sdmweaverFinishRun(int outcome);
}
