#pragma once

// Which lines of the plug-in's log tell why a pair lacks a design matrix. Some name the file and
// the fault; others only that something failed, and are quoted when nothing better was said.

#include <string_view>

namespace headless {

enum class FailureLine {
    None,      // progress, or a warning that leaves the design matrices whole
    General,   // a failure, but not which file or why ("Problem with reading *.sdm file. ...")
    Specific,  // a failure with its file or its cause
};

// How the log entry `text` counts.
FailureLine failureLine(std::string_view text);

}  // namespace headless
