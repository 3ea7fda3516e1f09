#pragma once

// Runs another program as a user would, from a given folder, and keeps what it printed: the
// platform's part of the program tests (ProgramRunPosix.cpp, ProgramRunWindows.cpp).

#include <filesystem>
#include <string>
#include <vector>

namespace headlesstest {

struct ProgramResult {
    int status = -1;  // the exit status; -1 when the program could not run or did not exit
    std::string out;  // standard output, as text (line ends as '\n', see testsupport::readText)
    std::string err;  // standard error, as text
};

// Runs `program` with `arguments`, each passed on as one argument exactly as given, in `folder`,
// with no standard input; waits for it to end.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& folder);

}  // namespace headlesstest
