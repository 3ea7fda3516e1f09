#include "headless/program/PluginRun.h"

#include <exception>
#include <iostream>
#include <memory>
#include <optional>

#include "abi/ZMTKPluginInterface.h"
#include "headless/HostSession.h"
#include "headless/program/FileIdentity.h"
#include "headless/program/InputFiles.h"
#include "headless/program/PluginLibrary.h"
#include "headless/program/RunFiles.h"
#include "headless/program/RunReportText.h"

namespace headless {

// The plug-in library and its creation function; empty with `error` when path holds none.
struct LoadedPlugin {
    PluginLibrary library;
    ZMTKPluginInterface* (*create)() = nullptr;
    const char* (*name)() = nullptr;
};

namespace {

constexpr char kPrefix[] = "sdmweaver: ";

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

// The usage error when the log or the report would replace a file of the run, or both name one
// file; empty when neither does. Nothing is opened.
std::string checkOwnOutputs(const Options& options, const ListRun* list,
                            const std::string& pluginPath) {
    if (!options.log && !options.report) {
        return {};
    }
    if (options.log) {
        if (std::string why = refusal("--log", *options.log, list, options.vmr, pluginPath);
            !why.empty()) {
            return why;
        }
    }
    if (options.report) {
        if (std::string why = refusal("--report", *options.report, list, options.vmr, pluginPath);
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
// successful run's status kStepRefused, and so does a report that cannot be written.
int finishReport(const RunReport& report, const std::optional<std::string>& reportFile,
                 int status) {
    Console& console = hostSession().console;
    if (!report.listHandedOut() || status == kRunFailed) {
        console.show(kPrefix, "the plug-in did not read the file list: no run report");
        return status;
    }
    if (report.unreadable()) {
        console.show("report: ", "the plug-in read none of the file list: " + *report.unreadable());
    }
    bool written = false;
    const ReportSummary summary = publishRunReport(report, console, reportFile, written);
    if (reportFile && !written) {
        console.show(kPrefix, "cannot write the report file " + *reportFile);
    }
    return worsened(status, summary.failed > 0 || (reportFile && !written));
}

// A log that did not reach standard output or the log file whole makes a successful run's
// status kStepRefused.
int finishLog(const std::optional<std::string>& logFile, int status) {
    Console& console = hostSession().console;
    if (console.logLost()) {
        console.show(kPrefix, "cannot write standard output");
    }
    const bool fileLost = logFile && console.logFileLost();
    if (fileLost) {
        console.show(kPrefix, "cannot write the log file " + *logFile);
    }
    return worsened(status, console.logLost() || fileLost);
}

}  // namespace

PreparedRun::PreparedRun() = default;
PreparedRun::PreparedRun(PreparedRun&&) noexcept = default;
PreparedRun& PreparedRun::operator=(PreparedRun&&) noexcept = default;
PreparedRun::~PreparedRun() = default;

int prepareRun(Options options, PreparedRun& run) {
    run.pluginPath = options.plugin.value_or(defaultPluginPath());
    // Every input is checked, and the list read as the plug-in will read it, before the log,
    // the report or a picture folder is touched.
    HostSession& session = hostSession();
    if (options.hostVersion) {
        session.version = *options.hostVersion;
    }
    std::string error;
    if (options.vmr && !session.openVolumeDocument(*options.vmr, error)) {
        return usageError(error);
    }
    if (error = prepareListFile(options.list); !error.empty()) {
        return usageError(error);
    }
    {
        std::optional<ListRun> list;
        if (options.list) {
            list = readListRun(*options.list, options.zTransform);
        }
        if (error = checkOwnOutputs(options, list ? &*list : nullptr, run.pluginPath);
            !error.empty()) {
            return usageError(error);
        }
        if (list) {
            run.report = std::make_unique<RunReport>(
                std::move(*list),
                ReportOptions{options.vmr.value_or(""), options.skipFirst, options.strict});
        }
    }
    run.plugin = std::make_unique<LoadedPlugin>(loadPlugin(run.pluginPath, error));
    if (!run.plugin->create) {
        return usageError(error);
    }
    if (options.plot) {
        if (error = prepareOutputFolder(*options.plot, "picture folder"); !error.empty()) {
            return usageError(error);
        }
    }
    if (options.qc) {
        if (error = prepareOutputFolder(*options.qc, "quality report folder"); !error.empty()) {
            return usageError(error);
        }
    }
    if (options.log && !session.console.openLogFile(*options.log)) {
        return usageError("cannot write the log file " + *options.log);
    }
    addDialogAnswers(options, session.answers);
    session.observer = run.report.get();
    run.options = std::move(options);
    return kReadyToRun;
}

PluginOutcome callPlugin(const PreparedRun& run) {
    return callPlugin(*run.plugin);
}

int finishRun(const PreparedRun& run, PluginOutcome outcome, const AfterReport& after) {
    HostSession& session = hostSession();
    session.observer = nullptr;
    int status = statusOf(outcome);
    RunEnding ending;
    ending.options = &run.options;
    if (run.report) {
        run.report->runEnded();
        status = finishReport(*run.report, run.options.report, status);
        ending.produced = run.report->produced();
        if (run.report->listHandedOut()) {
            ending.plan = &run.report->plan();
            run.report->evaluate([&](const PairOutcome& pair) { ending.pairs.push_back(pair); });
        }
    }
    if (after) {
        status = after(ending, status);
    }
    status = finishLog(run.options.log, status);
    const int saved = session.savedDesignMatrices;
    session.console.show(
        kPrefix, std::to_string(saved) + (saved == 1 ? " design matrix" : " design matrices") +
                     " saved by the host, " + std::to_string(session.refusedSteps) +
                     " step(s) refused; exit status " + std::to_string(status));
    return status;
}

int showPluginName(const Options& options) {
    std::string error;
    const LoadedPlugin plugin = loadPlugin(options.plugin.value_or(defaultPluginPath()), error);
    if (!plugin.name) {
        return usageError(error + "; its name is unknown");
    }
    std::cout << plugin.name() << '\n';
    return kRunSucceeded;
}

int runPlugin(const Options& options, const AfterReport& after) {
    // Nothing the run did not foresee ends it without a word.
    try {
        if (options.version) {
            return showPluginName(options);
        }
        PreparedRun run;
        const int prepared = prepareRun(options, run);
        if (prepared != kReadyToRun) {
            return prepared;
        }
        return finishRun(run, callPlugin(run), after);
    } catch (const std::exception& error) {
        say(std::string("stopped: ") + error.what());
    } catch (...) {
        say("stopped on an unknown error");
    }
    return kRunFailed;
}

}  // namespace headless
