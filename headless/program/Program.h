#pragma once

// The sdmweaver program: reads the command line, opens the documents, loads the plug-in, binds
// and runs it once, and says how it went.

#include <string>
#include <vector>

#include "abi/HostExportMacros.h"

namespace headless {

enum ExitStatus : int {
    kRunSucceeded = 0,  // the run returned true and the host refused nothing
    kRunFailed = 1,     // the plug-in could not start, or its run returned false
    kUsageError = 2,    // bad arguments, an unreadable plug-in, volume document, list or log
    kStepRefused = 3,   // the run completed but the host refused a step
};

// Runs the program with the arguments after its name; answers the exit status.
int runProgram(const std::vector<std::string>& arguments);

}  // namespace headless

// The program's entry, exported so that the executable itself stays a one-line shell.
extern "C" SDMWEAVER_HOST_API int sdmweaverMain(int argc, char** argv);
