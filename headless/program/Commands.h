#pragma once

// The sdmweaver program's commands besides the run, each in its own file. Each reads the
// arguments after its name (its options declared once, in its own table) and answers the exit
// status; `sdmweaver COMMAND --help` shows its help alone.

#include <string>
#include <vector>

namespace headless {

// The pre-flight check: 0 nothing fails, 3 something would, 2 a usage error.
int runCheckCommand(const std::vector<std::string>& arguments);
// Pictures of existing design matrices and time courses.
int runPlotCommand(const std::vector<std::string>& arguments);
// The quality report of existing design matrices.
int runQualityCommand(const std::vector<std::string>& arguments);
// The BIDS and fMRIPrep commands: 0 done, 2 a usage error or an input that cannot be used
// (nothing written), 3 a design written whose picture could not be drawn.
int runEventsToPrtCommand(const std::vector<std::string>& arguments);
int runConfoundsToMotionCommand(const std::vector<std::string>& arguments);
int runDesignCommand(const std::vector<std::string>& arguments);
int runBidsListCommand(const std::vector<std::string>& arguments);

}  // namespace headless
