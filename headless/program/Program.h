#pragma once

// The sdmweaver program: reads the command line, opens the documents, loads the plug-in, binds
// and runs it once, and says how it went.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "abi/HostExportMacros.h"
#include "headless/program/ExitStatus.h"

namespace headless {

// Runs the program with the arguments after its name; answers the exit status.
int runProgram(const std::vector<std::string>& arguments);

// The program in two stages around the plug-in calls, for a host program that makes those calls
// itself (headless/program/ProgramStages.h).

// prepareRun's answer when the plug-in may be loaded and called; any other is an exit status.
inline constexpr int kReadyToRun = -1;

struct LoadedPlugin;
class RunReport;

// What the program keeps from before the plug-in calls for after them.
struct PreparedRun {
    std::string pluginPath;                 // the library to load
    std::shared_ptr<LoadedPlugin> plugin;   // loaded once, to know it can be, before the log opens
    std::optional<std::string> plotFolder;  // where pictures of the produced design matrices go
    std::optional<std::string> reportFile;  // where the run report goes as TSV
    std::optional<std::string> logFile;     // where the log is copied
    std::shared_ptr<RunReport> report;      // follows the run when a list was given
    std::optional<std::string> qcFolder;    // where the study's quality report goes
    std::optional<std::string> volumeDocument;
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

// Everything the program does before the plug-in calls: the command line, the documents, the
// list read as the plug-in reads it, the plug-in loaded, the log opened, the dialog answers.
// kReadyToRun with `run` filled; otherwise the program is done (help, version, the plot, check
// and BIDS commands, a usage error said on standard error) and this is its exit status.
int prepareRun(const std::vector<std::string>& arguments, PreparedRun& run);
// Everything after the plug-in calls: says what went wrong, accounts for every pair of the list,
// draws the pictures asked for and writes the summary line. Answers the exit status.
int finishRun(const PreparedRun& run, PluginOutcome outcome);

}  // namespace headless

// The program's entry, exported so that the executable itself stays a one-line shell.
extern "C" SDMWEAVER_HOST_API int sdmweaverMain(int argc, char** argv);
