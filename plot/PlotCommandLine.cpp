#include "plot/PlotCommandLine.h"

namespace plot {

PlotCommandLine parsePlotCommandLine(const std::vector<std::string>& arguments) {
    PlotCommandLine result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            result.help = true;
        } else if (argument == "-o" || argument == "--output") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                result.error = argument + " needs a folder";
                return result;
            }
            result.folder = arguments[++i];
        } else if (argument.starts_with("--output=")) {
            result.folder = argument.substr(std::string("--output=").size());
            if (result.folder.empty()) {
                result.error = "--output needs a folder";
                return result;
            }
        } else if (argument.starts_with("-") && argument != "-") {
            result.error = "unknown option " + argument + " of plot";
            return result;
        } else {
            result.files.push_back(argument);
        }
    }
    if (result.files.empty() && !result.help) {
        result.error = "plot needs at least one *.sdm or *.rtc file";
    }
    return result;
}

std::string plotHelpText() {
    return R"(sdmweaver plot: draws design matrix files (*.sdm) and reference time courses (*.rtc)
as SVG pictures: one column per predictor, one row per volume, each column from its minimum
(black) to its maximum (white). Each picture is named after its file with ".svg" appended. A
design check for each file goes to standard error: the largest correlation between two
predictors, the condition number, and warnings above |r| 0.9 or a condition number of 1000.

Usage:
  sdmweaver plot FILE... [-o DIR]

Options:
  -o DIR, --output DIR
                     The folder for the pictures (created when missing; default: the current
                     folder).
                       -o pictures
  --help             Shows this text.

Exit status: 0 every file drawn; 1 a file could not be read or its picture not written; 2 a
usage error (no file, unknown option, a folder that cannot be made).

Example:
  sdmweaver plot run1_task.sdm run1_HR.rtc -o pictures
)";
}

}  // namespace plot
