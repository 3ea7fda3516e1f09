#pragma once

// How the program ends: its exit statuses and the usage error, shared by every command.

#include <string>

namespace headless {

enum ExitStatus : int {
    kRunSucceeded = 0,  // the run returned true and the host refused nothing
    kRunFailed = 1,     // the plug-in could not start, or its run returned false
    kUsageError = 2,    // bad arguments, an unreadable plug-in, volume document, list or log
    kStepRefused = 3,   // the run completed but a pair lacks a design matrix due (or has a
                        // warning under --strict), the host refused a step, or the report, the
                        // log or standard output could not be written whole
};

// Says the usage error on standard error, with a pointer to --help; answers kUsageError.
int usageError(const std::string& what);

}  // namespace headless
