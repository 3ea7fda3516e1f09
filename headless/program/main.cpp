// The sdmweaver program: one table of commands, and the run when no command is named. The run
// lives in the host module (ZemlarTK.exe), which the plug-in binds by name; the commands, the
// pictures and the quality report live here.

#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "headless/program/Commands.h"
#include "headless/program/PluginRun.h"
#include "headless/program/QualityCommand.h"
#include "plot/PlotRun.h"

namespace headless {

namespace {

struct Command {
    std::string_view name;
    int (*run)(const std::vector<std::string>& arguments);
    std::string_view about;
};

constexpr Command kCommands[] = {
    {"check", runCheckCommand, "checks the list before a run, without the plug-in"},
    {"plot", runPlotCommand, "draws design matrices and time courses as SVG pictures"},
    {"qc", runQualityCommand, "writes the quality report of existing design matrices"},
    {"events-to-prt", runEventsToPrtCommand, "turns a BIDS events file into a protocol"},
    {"confounds-to-motion", runConfoundsToMotionCommand,
     "writes the motion estimates of an fMRIPrep confound table as a motion file"},
    {"design", runDesignCommand, "writes a design matrix straight from BIDS events"},
    {"bids-list", runBidsListCommand,
     "writes the file list of a BIDS dataset with fMRIPrep derivatives"},
};

// The run's help, then the commands.
std::string programHelp() {
    Options unused;
    std::string text = helpText(runCommandLine(unused)) + "\nCommands:\n";
    for (const Command& command : kCommands) {
        std::string line = "  " + std::string(command.name);
        line.resize(23, ' ');
        text += line + std::string(command.about) + '\n';
    }
    return text + "Each shows its options with sdmweaver COMMAND --help.\n";
}

// Draws what the run produced into the folder; a design matrix that could not be drawn makes a
// successful run's status kStepRefused.
int plotProduced(const std::vector<std::string>& produced, const std::string& folder, int status) {
    const plot::PlotOutcome outcome = plot::plotDesignMatrices(produced, folder, show);
    say(countOf(outcome.drawn, "picture", "pictures") + " of the design matrices " +
        "produced written to " + folder + ", " +
        countOf(outcome.failed, "design matrix", "design matrices") + " not drawn");
    return worsened(status, outcome.failed > 0);
}

// The pictures and the quality report of what the run produced, as the options ask.
int afterReport(const RunEnding& ending, int status) {
    try {
        const Options& options = *ending.options;
        if (options.plot) {
            status = plotProduced(ending.produced, *options.plot, status);
        }
        if (options.qc && ending.plan != nullptr) {
            status = publishQuality(runQualitySources(*ending.plan, ending.pairs, options.vmr),
                                    *options.qc, status);
        }
        return status;
    } catch (const std::exception& error) {
        say(std::string("no pictures or quality report: ") + error.what());
    }
    return worsened(status, true);
}

// The run itself: the plug-in loaded and run once over the options.
int runWithPlugin(const std::vector<std::string>& arguments) {
    const CommandLine commandLine = parseCommandLine(arguments);
    if (!commandLine.error.empty()) {
        return usageError(commandLine.error);
    }
    if (commandLine.options.help) {
        std::cout << programHelp();
        return kRunSucceeded;
    }
    return runPlugin(commandLine.options, afterReport);
}

// Runs the command the first argument names, or else the plug-in.
int runProgram(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        Options unused;
        std::string commands;
        for (const Command& command : kCommands) {
            commands += (commands.empty() ? "commands: " : ", ") + std::string(command.name);
        }
        say("usage:\n" + runCommandLine(unused).synopsis + '\n' + commands);
        return usageError("no arguments given");
    }
    for (const Command& command : kCommands) {
        if (arguments.front() == command.name) {
            return command.run({arguments.begin() + 1, arguments.end()});
        }
    }
    return runWithPlugin(arguments);
}

}  // namespace

}  // namespace headless

int main(int argc, char** argv) {
    // Nothing the program did not foresee ends it without a word.
    try {
        return headless::runProgram(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        headless::say(std::string("stopped: ") + error.what());
    } catch (...) {
        headless::say("stopped on an unknown error");
    }
    return headless::kRunFailed;
}
