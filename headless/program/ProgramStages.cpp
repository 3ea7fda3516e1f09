#include "headless/program/ProgramStages.h"

#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "headless/HostSession.h"
#include "headless/program/PluginRun.h"

namespace {

constexpr char kPrefix[] = "sdmweaver: ";

// What the first stage keeps for the second.
headless::PreparedRun& preparedRun() {
    static headless::PreparedRun run;
    return run;
}

// The caller may have no C++ runtime of its own: nothing leaves a stage as an exception.
int stoppedBy(const char* what) {
    headless::hostSession().console.show(kPrefix, std::string("stopped: ") + what);
    return headless::kRunFailed;
}

}  // namespace

int sdmweaverPrepareRun(int argc, char** argv, char* pluginPath, int pluginPathSize) try {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    headless::PreparedRun& run = preparedRun();
    run = headless::PreparedRun();
    const headless::CommandLine commandLine = headless::parseCommandLine(arguments);
    int status = headless::kReadyToRun;
    if (!commandLine.error.empty()) {
        status = headless::usageError(commandLine.error);
    } else if (commandLine.options.help) {
        headless::Options unused;
        std::cout << headless::helpText(headless::runCommandLine(unused));
        status = headless::kRunSucceeded;
    } else if (commandLine.options.version) {
        status = headless::showPluginName(commandLine.options);
    } else if (commandLine.options.plot || commandLine.options.qc) {
        status = headless::usageError(
            "--plot and --qc are the sdmweaver program's: a host program that calls the "
            "plug-in itself draws no pictures");
    } else {
        status = headless::prepareRun(commandLine.options, run);
    }
    if (status != headless::kReadyToRun) {
        std::cout.flush();
        return status;
    }
    if (pluginPath == nullptr || pluginPathSize <= 0 ||
        run.pluginPath.size() >= static_cast<std::size_t>(pluginPathSize)) {
        headless::hostSession().console.show(
            kPrefix, "the plug-in's path " + run.pluginPath + " does not fit the caller's buffer");
        return headless::kUsageError;
    }
    std::memcpy(pluginPath, run.pluginPath.c_str(), run.pluginPath.size() + 1);
    return kSdmweaverReadyToRun;
} catch (const std::exception& error) {
    return stoppedBy(error.what());
}

int sdmweaverFinishRun(int outcome) try {
    headless::PluginOutcome kind = headless::PluginOutcome::kUnknown;
    switch (outcome) {
        case kSdmweaverNoObject:
            kind = headless::PluginOutcome::kNoObject;
            break;
        case kSdmweaverInitFailed:
            kind = headless::PluginOutcome::kInitFailed;
            break;
        case kSdmweaverRunFailed:
            kind = headless::PluginOutcome::kRunFailed;
            break;
        case kSdmweaverRunSucceeded:
            kind = headless::PluginOutcome::kRunSucceeded;
            break;
        default:
            headless::hostSession().console.show(
                kPrefix, "the host program reported an unknown outcome " + std::to_string(outcome));
            break;
    }
    const int status = headless::finishRun(preparedRun(), kind, nullptr);
    // The caller may end the process without the C++ library's exit handlers.
    std::cout.flush();
    std::cerr.flush();
    return status;
} catch (const std::exception& error) {
    return stoppedBy(error.what());
}
