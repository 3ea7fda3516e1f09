#pragma once

// Runs another program as a user would, from a given folder, and keeps what it printed: the
// platform's part of the program tests (ProgramRunPosix.cpp, ProgramRunWindows.cpp).

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

struct ProgramResult {
    bool exited = false;  // false when the program could not run or ended on a signal (a crash)
    int status = -1;      // the exit status; -1 unless it exited
    std::string out;      // standard output, as text (line ends as '\n', see readText)
    std::string err;      // standard error, as text
};

// Runs `program` with `arguments`, each passed on as one argument exactly as given, in `folder`,
// with no standard input; waits for it to end. `wrapper` (POSIX only) are words of a command that
// starts the program in its turn, such as setpriv with its options.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& folder,
                         const std::vector<std::string>& wrapper = {});

}  // namespace testsupport
