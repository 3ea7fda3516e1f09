#pragma once

// The sdmweaver program: one table of commands, and the run when no command is named.

#include <string>
#include <vector>

namespace headless {

// Runs the program with the arguments after its name; answers the exit status.
int runProgram(const std::vector<std::string>& arguments);

}  // namespace headless
