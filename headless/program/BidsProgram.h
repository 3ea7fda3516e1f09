#pragma once

// Running one of the BIDS commands of the sdmweaver program: the options read, the work done by
// the BIDS library, its notes and failures said on standard error, and for a design its check
// and, on request, its picture.

#include <string>
#include <vector>

#include "headless/program/BidsCommandLine.h"

namespace headless {

// Runs the command with the arguments after its name; answers the exit status: 0 done, 2 a
// usage error or an input that cannot be used (nothing written), 3 the design was written but its
// picture could not be drawn.
int runBidsCommand(BidsCommand command, const std::vector<std::string>& arguments);

}  // namespace headless
