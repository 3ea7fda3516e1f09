#pragma once

// The run: the documents opened, the list read as the plug-in reads it, the plug-in loaded,
// bound and run once, every pair accounted for, the log closed and the summary line said. It
// lives in the host module with the host; what the program does with the design matrices
// produced (pictures, the quality report) it does after the report, through `AfterReport`.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "abi/HostExportMacros.h"
#include "headless/program/CommandLine.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/RunReport.h"

namespace headless {

// prepareRun's answer when the plug-in may be loaded and called; any other is an exit status.
inline constexpr int kReadyToRun = -1;

struct LoadedPlugin;

// What the program keeps from before the plug-in calls for after them.
struct PreparedRun {
    PreparedRun();
    PreparedRun(PreparedRun&&) noexcept;
    PreparedRun& operator=(PreparedRun&&) noexcept;
    ~PreparedRun();

    Options options;
    std::string pluginPath;                // the library to load
    std::unique_ptr<LoadedPlugin> plugin;  // loaded once, to know it can be, before the log opens
    std::unique_ptr<RunReport> report;     // follows the run when a list was given
};

// What the plug-in calls came to.
enum class PluginOutcome {
    kNoObject,      // createPlugin answered null
    kInitFailed,    // initPlugin answered false
    kRunFailed,     // execute answered false
    kRunSucceeded,  // execute answered true
    kThrew,         // an exception left the plug-in
    kUnknown,       // a host program making the calls itself reported nothing known (it said so)
};

// What the run produced, for the pictures and the quality report.
struct RunEnding {
    const Options* options = nullptr;
    std::vector<std::string> produced;     // every design matrix produced, once, in order
    const batch::RunPlan* plan = nullptr;  // with a list the plug-in read; then `pairs` too
    std::vector<PairOutcome> pairs;
};
// Draws and reports what the run produced; answers `status`, or a worse one.
using AfterReport = std::function<int(const RunEnding& ending, int status)>;

// Everything before the plug-in calls: the documents, the list read as the plug-in reads it,
// the plug-in loaded, the log opened, the dialog answers. kReadyToRun, or the usage error's
// status (said on standard error).
int prepareRun(Options options, PreparedRun& run);
// Creates the plug-in object, binds it, runs it once and deletes it, as the workstation does.
PluginOutcome callPlugin(const PreparedRun& run);
// Everything after the plug-in calls: says what went wrong, accounts for every pair of the
// list, hands what was produced to `after` (when given), and writes the summary line. Answers
// the exit status.
int finishRun(const PreparedRun& run, PluginOutcome outcome, const AfterReport& after);

// --version: the plug-in's name text on standard output; answers the exit status.
int showPluginName(const Options& options);

// The whole run as the sdmweaver program makes it, or --version; answers the exit status.
// Nothing leaves it as an exception.
SDMWEAVER_HOST_API int runPlugin(const Options& options, const AfterReport& after);

}  // namespace headless
