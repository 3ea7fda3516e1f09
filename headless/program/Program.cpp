#include "headless/program/Program.h"

#include <iostream>
#include <optional>

#include "abi/ZMTKPluginInterface.h"
#include "headless/HostSession.h"
#include "headless/program/CheckCommand.h"
#include "headless/program/CommandLine.h"
#include "headless/program/FileSet.h"
#include "headless/program/InputFiles.h"
#include "headless/program/ListPlan.h"
#include "headless/program/PluginLibrary.h"
#include "headless/program/RunFiles.h"
#include "headless/program/RunReport.h"
#include "headless/program/RunReportText.h"
#include "plot/PlotCommandLine.h"
#include "plot/PlotRun.h"

namespace headless {

namespace {

constexpr char kPrefix[] = "sdmweaver: ";

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

int runPlugin(const LoadedPlugin& loaded) {
    HostSession& session = hostSession();
    ZMTKPluginInterface* plugin = nullptr;
    int status = kRunFailed;
    try {
        plugin = loaded.create();
        if (plugin == nullptr) {
            session.console.show(kPrefix, "the plug-in made no plug-in object");
        } else if (!plugin->initPlugin()) {
            session.console.show(kPrefix,
                                 "the plug-in could not start (initPlugin answered "
                                 "false)");
        } else if (!plugin->execute()) {
            session.console.show(kPrefix, "the plug-in's run returned false");
        } else {
            status = session.refusedSteps > 0 ? kStepRefused : kRunSucceeded;
        }
    } catch (...) {
        session.console.show(kPrefix, "the plug-in raised an exception");
        status = kRunFailed;
    }
    delete plugin;
    return status;
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
int plotProducedDesignMatrices(const std::vector<std::string>& produced, const std::string& folder,
                               int status) {
    const plot::PlotOutcome outcome = plot::plotDesignMatrices(produced, folder, sayOnConsole());
    hostSession().console.show(
        kPrefix, countOf(outcome.drawn, "picture", "pictures") + " of the design matrices " +
                     "produced written to " + folder + ", " +
                     countOf(outcome.failed, "design matrix", "design matrices") + " not drawn");
    return outcome.failed > 0 && status == kRunSucceeded ? kStepRefused : status;
}

// The usage error when the log or the report would replace a file of the run, or both name one
// file; empty when neither does. Nothing is opened.
std::string checkOwnOutputs(const Options& options, const ListPlan* plan,
                            const std::string& pluginPath) {
    if (!options.log && !options.report) {
        return {};
    }
    if (options.log) {
        if (std::string why =
                refusal("--log", *options.log, plan, options.vmr, pluginPath, options.zTransform);
            !why.empty()) {
            return why;
        }
    }
    if (options.report) {
        if (std::string why = refusal("--report", *options.report, plan, options.vmr, pluginPath,
                                      options.zTransform);
            !why.empty()) {
            return why;
        }
        if (options.log && SameFileAs(*options.log)(*options.report)) {
            return "--log and --report name the same file " + *options.report;
        }
        return checkOutputFile("report", *options.report);
    }
    return {};
}

// Accounts for every pair after the run; a pair without every design matrix due makes a
// successful run's status kStepRefused.
int finishReport(const RunReport& report, const Options& options, int status) {
    Console& console = hostSession().console;
    if (!report.listHandedOut() || status == kRunFailed) {
        console.show(kPrefix, "the plug-in did not read the file list: no run report");
        return status;
    }
    if (!report.unreadable().empty()) {
        console.show("report: ", "the plug-in read none of the file list: " + report.unreadable());
    }
    bool written = false;
    const ReportSummary summary = publishRunReport(report, console, options.report, written);
    if (options.report && !written) {
        console.show(kPrefix, "cannot write the report file " + *options.report);
    }
    return summary.failed > 0 && status == kRunSucceeded ? kStepRefused : status;
}

}  // namespace

int usageError(const std::string& what) {
    Console& console = hostSession().console;
    console.show(kPrefix, what);
    console.show(kPrefix, "see sdmweaver --help");
    return kUsageError;
}

int runProgram(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        hostSession().console.show(kPrefix, "usage:\n" + usageText());
        return usageError("no arguments given");
    }
    if (arguments.front() == "plot") {
        return runPlotCommand(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    }
    if (arguments.front() == "check") {
        return runCheckCommand(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    }
    CommandLine commandLine = parseCommandLine(arguments);
    if (!commandLine.error.empty()) {
        return usageError(commandLine.error);
    }
    Options& options = commandLine.options;
    if (options.help) {
        std::cout << helpText();
        return kRunSucceeded;
    }
    const std::string pluginPath = options.plugin.value_or(defaultPluginPath());
    std::string error;
    if (options.version) {
        const LoadedPlugin plugin = loadPlugin(pluginPath, error);
        if (!plugin.name) {
            return usageError(error + "; its name is unknown");
        }
        std::cout << plugin.name() << '\n';
        return kRunSucceeded;
    }

    // Every input is checked, and the list read as the plug-in will read it, before the log,
    // the report or a picture folder is touched.
    HostSession& session = hostSession();
    if (options.hostVersion) {
        session.version = *options.hostVersion;
    }
    if (options.vmr && !session.openVolumeDocument(*options.vmr, error)) {
        return usageError(error);
    }
    if (error = prepareListFile(options.list); !error.empty()) {
        return usageError(error);
    }
    std::optional<RunReport> report;
    {
        std::optional<ListPlan> plan;
        if (options.list) {
            plan = readListPlan(*options.list);
        }
        if (error = checkOwnOutputs(options, plan ? &*plan : nullptr, pluginPath); !error.empty()) {
            return usageError(error);
        }
        if (plan) {
            report.emplace(*plan, options.zTransform, session.console);
        }
    }
    const LoadedPlugin plugin = loadPlugin(pluginPath, error);
    if (!plugin.create) {
        return usageError(error);
    }
    if (options.plot && !plot::preparePictureFolder(*options.plot, error)) {
        return usageError(error);
    }
    if (options.log && !session.console.openLogFile(*options.log)) {
        return usageError("cannot write the log file " + *options.log);
    }
    addDialogAnswers(options, session.answers);

    session.observer = report ? &*report : nullptr;
    int status = runPlugin(plugin);
    session.observer = nullptr;
    if (report) {
        status = finishReport(*report, options, status);
    }
    if (options.plot) {
        status = plotProducedDesignMatrices(
            report ? report->produced() : std::vector<std::string>(), *options.plot, status);
    }
    const int saved = session.savedDesignMatrices;
    session.console.show(
        kPrefix, std::to_string(saved) + (saved == 1 ? " design matrix" : " design matrices") +
                     " saved by the host, " + std::to_string(session.refusedSteps) +
                     " step(s) refused; exit status " + std::to_string(status));
    return status;
}

}  // namespace headless

int sdmweaverMain(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return headless::runProgram(arguments);
}
