#pragma once

// sdmweaver check: the pre-flight check as a command. Loads no plug-in and writes nothing but
// its report (standard output, and the TSV when asked).

#include <string>
#include <vector>

namespace headless {

// Runs the check with the arguments after "check"; answers the exit status: 0 nothing fails,
// 3 something would, 2 a usage error.
int runCheckCommand(const std::vector<std::string>& arguments);

}  // namespace headless
