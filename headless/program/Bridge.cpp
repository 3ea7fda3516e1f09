#include <iostream>

#include "headless/program/BidsProgram.h"
#include "headless/program/Commands.h"
#include "headless/program/ExitStatus.h"
#include "plot/PlotCommandLine.h"
#include "plot/PlotRun.h"

namespace headless {
int runPlotCommand(const std::vector<std::string>& arguments) {
    const plot::PlotCommandLine commandLine = plot::parsePlotCommandLine(arguments);
    if (!commandLine.error.empty()) {
        return usageError(commandLine.error, "plot");
    }
    if (commandLine.help) {
        std::cout << plot::plotHelpText();
        return kRunSucceeded;
    }
    std::string error;
    if (!plot::preparePictureFolder(commandLine.folder, error)) {
        return usageError(error, "plot");
    }
    const plot::PlotOutcome outcome =
        plot::plotDesignMatrices(commandLine.files, commandLine.folder, show);
    say(std::to_string(outcome.drawn) + (outcome.drawn == 1 ? " picture" : " pictures") +
        " written to " + commandLine.folder + ", " + std::to_string(outcome.failed) +
        (outcome.failed == 1 ? " file" : " files") + " not drawn");
    return outcome.failed == 0 ? kRunSucceeded : kRunFailed;
}
int runEventsToPrtCommand(const std::vector<std::string>& a) {
    return runBidsCommand(BidsCommand::EventsToPrt, a);
}
int runConfoundsToMotionCommand(const std::vector<std::string>& a) {
    return runBidsCommand(BidsCommand::ConfoundsToMotion, a);
}
int runDesignCommand(const std::vector<std::string>& a) {
    return runBidsCommand(BidsCommand::Design, a);
}
int runBidsListCommand(const std::vector<std::string>& a) {
    return runBidsCommand(BidsCommand::List, a);
}
}  // namespace headless
