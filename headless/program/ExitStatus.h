#pragma once

// How the program ends and what it says of itself: its exit statuses, its own notes on standard
// error and the usage error, shared by every command.

#include <string>
#include <string_view>

namespace headless {

enum ExitStatus : int {
    kRunSucceeded = 0,  // the run returned true and the host refused nothing
    kRunFailed = 1,     // the plug-in could not start, or its run returned false
    kUsageError = 2,    // bad arguments, an unreadable plug-in, volume document, list or log
    kStepRefused = 3,   // the run completed but a pair lacks a design matrix due (or has a
                        // warning under --strict), the host refused a step, or the report, the
                        // log or standard output could not be written whole
};

// A successful status becomes kStepRefused when `failed`; any other stays as it is.
inline int worsened(int status, bool failed) {
    return failed && status == kRunSucceeded ? kStepRefused : status;
}

// "1 picture", "2 pictures".
inline std::string countOf(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Each line of `text` on standard error behind `prefix`.
void show(std::string_view prefix, std::string_view text);
// The program's own note: each line behind "sdmweaver: ".
void say(std::string_view text);

// Says the usage error on standard error, with a pointer to the help of `command` (the run's
// when empty); answers kUsageError.
int usageError(const std::string& what, std::string_view command = {});

}  // namespace headless
