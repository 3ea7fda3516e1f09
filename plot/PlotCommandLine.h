#pragma once

// The command line of `sdmweaver plot FILE... [-o DIR]`: draws existing design matrix files.

#include <string>
#include <vector>

namespace plot {

struct PlotCommandLine {
    bool help = false;
    std::vector<std::string> files;
    std::string folder = ".";  // where the pictures go
    std::string error;         // a usage error; empty when the arguments are fine
};

// Reads the arguments after "plot": files, and -o DIR (or --output DIR, --output=DIR); the last
// folder given counts. At least one file unless --help.
PlotCommandLine parsePlotCommandLine(const std::vector<std::string>& arguments);

// The text of `sdmweaver plot --help`.
std::string plotHelpText();

}  // namespace plot
