// sdmweaver plot: pictures of existing design matrices and reference time courses, with their
// design check; nothing on standard output but help.

#include <iostream>

#include "headless/program/Commands.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/InputFiles.h"
#include "headless/program/OptionTable.h"
#include "plot/PlotRun.h"

namespace headless {

int runPlotCommand(const std::vector<std::string>& arguments) {
    std::vector<std::string> files;
    std::string folder = ".";
    const CommandSpec spec{
        "plot",
        "sdmweaver plot FILE... [-o DIR]",
        "draws design matrix files (*.sdm) and reference time courses (*.rtc) as SVG pictures: "
        "one column per predictor, one row per volume, each column from its minimum (black) to "
        "its maximum (white). Each picture is named after its file with \".svg\" appended. A "
        "design check for each file goes to standard error: the largest correlation between two "
        "predictors, the condition number, and warnings above |r| 0.9 or a condition number of "
        "1000.",
        {{"-o|--output", "DIR",
          "The folder for the pictures (created when missing; default: the current folder).",
          "-o pictures", assign(folder)}},
        [&files](const std::string& file) {
            files.push_back(file);
            return std::string();
        },
        "Exit status: 0 every file drawn; 1 a file could not be read or its picture not written; "
        "2 a usage error (no file, unknown option, a folder that cannot be made).",
        {"sdmweaver plot run1_task.sdm run1_HR.rtc -o pictures"}};
    const ParsedArguments parsed = parseArguments(spec, arguments);
    if (parsed.error.empty() && parsed.help) {
        std::cout << helpText(spec);
        return kRunSucceeded;
    }
    if (!parsed.error.empty() || files.empty()) {
        return usageError(
            parsed.error.empty() ? "plot needs at least one *.sdm or *.rtc file" : parsed.error,
            spec.name);
    }
    if (const std::string error = prepareOutputFolder(folder, "picture folder"); !error.empty()) {
        return usageError(error, spec.name);
    }
    const plot::PlotOutcome outcome = plot::plotDesignMatrices(files, folder, show);
    say(countOf(outcome.drawn, "picture", "pictures") + " written to " + folder + ", " +
        countOf(outcome.failed, "file", "files") + " not drawn");
    return outcome.failed == 0 ? kRunSucceeded : kRunFailed;
}

}  // namespace headless
