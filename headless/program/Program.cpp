#include "headless/program/Program.h"

#include <filesystem>
#include <iostream>

#include "abi/ZMTKPluginInterface.h"
#include "headless/HostSession.h"
#include "headless/program/BidsProgram.h"
#include "headless/program/CommandLine.h"
#include "headless/program/PluginLibrary.h"
#include "plot/PlotCommandLine.h"
#include "plot/PlotRun.h"

namespace headless {

namespace {

constexpr char kPrefix[] = "sdmweaver: ";
constexpr std::size_t kFileResultSize = 512;  // the file dialog's result buffer

int usageError(const std::string& what) {
    Console& console = hostSession().console;
    console.show(kPrefix, what);
    console.show(kPrefix, "see sdmweaver --help");
    return kUsageError;
}

// The plug-in library and its creation function; empty with `error` when path holds none.
struct LoadedPlugin {
    PluginLibrary library;
    ZMTKPluginInterface* (*create)() = nullptr;
    const char* (*name)() = nullptr;
};

LoadedPlugin loadPlugin(const std::string& path, std::string& error) {
    LoadedPlugin plugin;
    std::string reason;
    plugin.library = PluginLibrary::open(path, reason);
    if (!plugin.library) {
        error = "cannot load the plug-in " + path + ": " + reason;
        return plugin;
    }
    plugin.create =
        reinterpret_cast<ZMTKPluginInterface* (*)()>(plugin.library.symbol("createPlugin"));
    plugin.name = reinterpret_cast<const char* (*)()>(plugin.library.symbol("getPluginName"));
    if (plugin.create == nullptr || plugin.name == nullptr) {
        error =
            path + " is not a Zemlar plug-in: it does not export createPlugin and getPluginName";
        plugin.library = PluginLibrary();
    }
    return plugin;
}

// Checks the file list before the file dialog can answer with it: the dialog only ever hands
// out an existing file, by its absolute path.
bool prepareList(Options& options, std::string& error) {
    if (!options.list) {
        return true;
    }
    std::error_code code;
    if (!std::filesystem::is_regular_file(*options.list, code)) {
        error = "the file list " + *options.list + " does not exist or is not a file";
        return false;
    }
    const std::string absolute =
        std::filesystem::absolute(*options.list, code).lexically_normal().string();
    if (absolute.size() >= kFileResultSize) {
        error = "the path of the file list " + absolute + " is longer than 511 characters";
        return false;
    }
    options.list = absolute;
    return true;
}

// Creates the plug-in object, binds it, runs it once and deletes it through its virtual
// destructor, as the workstation does.
PluginOutcome callPlugin(const LoadedPlugin& loaded) {
    ZMTKPluginInterface* plugin = nullptr;
    PluginOutcome outcome = PluginOutcome::kNoObject;
    try {
        plugin = loaded.create();
        if (plugin == nullptr) {
            outcome = PluginOutcome::kNoObject;
        } else if (!plugin->initPlugin()) {
            outcome = PluginOutcome::kInitFailed;
        } else if (!plugin->execute()) {
            outcome = PluginOutcome::kRunFailed;
        } else {
            outcome = PluginOutcome::kRunSucceeded;
        }
    } catch (...) {
        outcome = PluginOutcome::kThrew;
    }
    delete plugin;
    return outcome;
}

// Says what went wrong, if anything; answers the exit status the outcome gives.
int statusOf(PluginOutcome outcome) {
    HostSession& session = hostSession();
    switch (outcome) {
        case PluginOutcome::kNoObject:
            session.console.show(kPrefix, "the plug-in made no plug-in object");
            return kRunFailed;
        case PluginOutcome::kInitFailed:
            session.console.show(kPrefix,
                                 "the plug-in could not start (initPlugin answered "
                                 "false)");
            return kRunFailed;
        case PluginOutcome::kRunFailed:
            session.console.show(kPrefix, "the plug-in's run returned false");
            return kRunFailed;
        case PluginOutcome::kRunSucceeded:
            return session.refusedSteps > 0 ? kStepRefused : kRunSucceeded;
        case PluginOutcome::kUnknown:
            return kRunFailed;
        case PluginOutcome::kThrew:
            break;
    }
    session.console.show(kPrefix, "the plug-in raised an exception");
    return kRunFailed;
}

plot::Say sayOnConsole() {
    return [](std::string_view prefix, std::string_view text) {
        hostSession().console.show(prefix, text);
    };
}

std::string countOf(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// sdmweaver plot FILE... [-o DIR]: draws existing files; nothing on standard output but help.
int runPlotCommand(const std::vector<std::string>& arguments) {
    const plot::PlotCommandLine commandLine = plot::parsePlotCommandLine(arguments);
    if (!commandLine.error.empty()) {
        return usageError(commandLine.error);
    }
    if (commandLine.help) {
        std::cout << plot::plotHelpText();
        return kRunSucceeded;
    }
    std::string error;
    if (!plot::preparePictureFolder(commandLine.folder, error)) {
        return usageError(error);
    }
    const plot::PlotOutcome outcome =
        plot::plotDesignMatrices(commandLine.files, commandLine.folder, sayOnConsole());
    hostSession().console.show(kPrefix, countOf(outcome.drawn, "picture", "pictures") +
                                            " written to " + commandLine.folder + ", " +
                                            countOf(outcome.failed, "file", "files") +
                                            " not drawn");
    return outcome.failed == 0 ? kRunSucceeded : kRunFailed;
}

// Draws what the run produced into the folder; a design matrix that could not be drawn makes a
// successful run's status kStepRefused.
int plotProducedDesignMatrices(const std::string& folder, int status) {
    const std::vector<std::string>& produced = hostSession().produced.paths();
    const plot::PlotOutcome outcome = plot::plotDesignMatrices(produced, folder, sayOnConsole());
    hostSession().console.show(
        kPrefix, countOf(outcome.drawn, "picture", "pictures") + " of the design matrices " +
                     "produced written to " + folder + ", " +
                     countOf(outcome.failed, "design matrix", "design matrices") + " not drawn");
    return outcome.failed > 0 && status == kRunSucceeded ? kStepRefused : status;
}

}  // namespace

int prepareRun(const std::vector<std::string>& arguments, PreparedRun& run) {
    if (!arguments.empty() && arguments.front() == "plot") {
        return runPlotCommand(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    }
    if (const auto bidsCommand =
            arguments.empty() ? std::nullopt : bidsCommandNamed(arguments.front())) {
        return runBidsCommand(*bidsCommand,
                              std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    }
    CommandLine commandLine = parseCommandLine(arguments);
    if (!commandLine.error.empty()) {
        return usageError(commandLine.error);
    }
    Options& options = commandLine.options;
    if (options.help) {
        std::cout << helpText() << bidsHelpText();
        return kRunSucceeded;
    }
    run.pluginPath = options.plugin.value_or(defaultPluginPath());
    std::string error;
    if (options.version) {
        const LoadedPlugin plugin = loadPlugin(run.pluginPath, error);
        if (!plugin.name) {
            return usageError(error + "; its name is unknown");
        }
        std::cout << plugin.name() << '\n';
        return kRunSucceeded;
    }

    HostSession& session = hostSession();
    if (options.hostVersion) {
        session.version = *options.hostVersion;
    }
    if (options.log && !session.console.openLogFile(*options.log)) {
        return usageError("cannot write the log file " + *options.log);
    }
    if (options.vmr && !session.openVolumeDocument(*options.vmr, error)) {
        return usageError(error);
    }
    if (!prepareList(options, error)) {
        return usageError(error);
    }
    if (options.plot && !plot::preparePictureFolder(*options.plot, error)) {
        return usageError(error);
    }
    addDialogAnswers(options, session.answers);
    run.plotFolder = options.plot;
    return kReadyToRun;
}

int finishRun(const PreparedRun& run, PluginOutcome outcome) {
    HostSession& session = hostSession();
    int status = statusOf(outcome);
    if (run.plotFolder) {
        status = plotProducedDesignMatrices(*run.plotFolder, status);
    }
    const std::size_t saved = session.savedDesignMatrices.size();
    session.console.show(
        kPrefix, std::to_string(saved) + (saved == 1 ? " design matrix" : " design matrices") +
                     " saved by the host, " + std::to_string(session.refusedSteps) +
                     " step(s) refused; exit status " + std::to_string(status));
    return status;
}

int runProgram(const std::vector<std::string>& arguments) {
    PreparedRun run;
    const int prepared = prepareRun(arguments, run);
    if (prepared != kReadyToRun) {
        return prepared;
    }
    std::string error;
    const LoadedPlugin plugin = loadPlugin(run.pluginPath, error);
    if (!plugin.create) {
        return usageError(error);
    }
    return finishRun(run, callPlugin(plugin));
}

}  // namespace headless

int sdmweaverMain(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return headless::runProgram(arguments);
}
