#include "batch/BatchRun.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "abi/HostRecords.h"
#include "batch/RunPlan.h"
#include "designmatrix/ProtocolToDesignMatrix.h"
#include "host/HostOperations.h"
#include "paths/FileSet.h"
#include "paths/PathOperations.h"

namespace batch {

namespace {

// The user's four answers; they hold for the whole run.
struct RunSettings {
    int hrfKind = 0;  // 1 = two-gamma, anything else = Boynton
    float predictorValue = 0.0f;
    bool skipFirstCondition = false;
    bool zTransform = false;
};

constexpr float kPredictorMinimum = -100.0f;
constexpr float kPredictorMaximum = 100.0f;
constexpr float kPredictorCancelled = kPredictorMinimum - 1.0f;

// Asks the four questions, logging each answer. No settings when the predictor dialog was
// cancelled; the two questions after it are asked all the same.
std::optional<RunSettings> askRunSettings() {
    RunSettings settings;
    settings.hrfKind = host::yesNoMessageBox(
        "Would you like to apply the 2-gamma HRF (click 'Yes') or the Boynton HRF (click 'No')?");
    host::logFormat("HRF function: %s", settings.hrfKind == 1 ? "2-gamma" : "Boynton");

    settings.predictorValue = host::getFloatInput("Please enter the value for the predictor:", 1.0f,
                                                  kPredictorMinimum, kPredictorMaximum);
    const bool cancelled = settings.predictorValue == kPredictorCancelled;
    host::logFormat("Predictor value: %f", static_cast<double>(settings.predictorValue));

    settings.skipFirstCondition =
        host::yesNoMessageBox(
            "Skip first condition of protocol for creation of design matrix (if "
            "this is the fixation condition)?") != 0;
    host::logFormat("Set to skip first condition: %s", settings.skipFirstCondition ? "yes" : "no");

    settings.zTransform =
        host::yesNoMessageBox("Would you like to z-transform the confound(s)?") != 0;
    host::logFormat("z-transform the confound(s): %s", settings.zTransform ? "yes" : "no");

    if (cancelled) {
        return std::nullopt;
    }
    return settings;
}

// Writes the protocol's file name into the header's name field, cut to what the field holds.
void setLinkedProtocolName(host::VtcHeaderRecord& header, const std::string& name) {
    const std::size_t length = std::min(name.size(), host::kMaxLinkedProtocolNameLength);
    std::memcpy(header.linkedProtocolName, name.data(), length);
    header.linkedProtocolName[length] = '\0';
}

// Links, builds and merges the plan's pair; no design matrix replaces one of `listFiles`.
// Returns the run's new `succeeded` flag, or nothing when the pair leaves it unchanged.
std::optional<bool> runPair(const RunPlan& plan, const PlannedPair& pair,
                            const paths::FileSet& listFiles, const RunSettings& settings,
                            const ConfoundMerger& merger) {
    if (!pair.timeCourse) {
        host::logText("No VTC file found for PRT");
        return std::nullopt;
    }

    const std::string& vtcPath = plan.list.entries[*pair.timeCourse];
    host::logFormat("\nLoad %s to VMR...", vtcPath.c_str());
    // The host saves the design matrix without asking: it must not be the list or one of the
    // files it names, which this or a later protocol reads.
    if (listFiles.contains(pair.base)) {
        host::logFormat("The design matrix %s would replace a file of the list: it is not made.",
                        pair.base.c_str());
        return false;
    }
    if (host::linkVTCToCurrentVMR(vtcPath.c_str(), 1) != 1) {
        host::logText("Did not succeed in linking and generating.");
        return false;
    }

    host::VtcHeaderRecord header{};
    if (host::getHeaderOfVTCOfCurrentVMR(header) == 0) {
        host::logText("Not able to retrieve VTC header information.");
        return false;
    }
    host::clearProtocol(false);
    host::clearDesignMatrix();

    // Only the file name goes into the header: the host finds the protocol beside the time
    // course or the volume.
    const std::string& protocolPath = plan.list.entries[pair.protocol];
    const std::string protocolName =
        paths::extractFileName(protocolPath.c_str(), false, false).value_or(std::string());
    setLinkedProtocolName(header, protocolName);
    host::setHeaderOfVTCOfCurrentVMR(header);
    host::logFormat("Linking %s to VTC...", protocolName.c_str());

    std::optional<std::string> sdmPath;
    const bool saved = designmatrix::buildDesignMatrixFromProtocol(
        settings.hrfKind, true, settings.predictorValue, settings.skipFirstCondition, true,
        header.nrOfVolumes, sdmPath, vtcPath);
    // Without a protocol no path was formed: the protocol's own message is all there is to say.
    if (!sdmPath) {
        return saved;
    }
    host::logFormat("New SDM name: %s", sdmPath->c_str());
    // Merging into a design matrix that was not saved now would read a missing file, or a stale
    // one from an earlier run, and write a wrong one.
    if (!saved) {
        host::logText(
            "The design matrix was not saved: no confounds are merged for this protocol.");
        return saved;
    }
    collectConfounds(plan, pair, *sdmPath, settings.zTransform, merger, &listFiles);
    return saved;
}

// One line naming the operations a run may call that the host does not export; empty when it
// exports them all.
std::string missingOperationsLine() {
    const std::vector<std::string_view> missing = host::missingRunOperations();
    if (missing.empty()) {
        return {};
    }
    std::string line = "sdmweaver cannot run: the host lacks the operation(s)";
    for (std::size_t i = 0; i < missing.size(); ++i) {
        line += i == 0 ? " " : ", ";
        line += missing[i];
    }
    return line + '.';
}

bool run(const char* pluginName, const ConfoundMerger& merger) {
    host::showLogTab();
    host::logFormat("\n%s> Started...", pluginName);
    // A run never calls through an empty entry: after its first line (which a host that lacks
    // the log does not see), it goes no further unless all it may call is bound.
    if (const std::string missing = missingOperationsLine(); !missing.empty()) {
        host::logText(missing);
        return false;
    }
    int dimX = 0;
    int dimY = 0;
    int dimZ = 0;
    if (host::getCurrentVMR(dimX, dimY, dimZ) == nullptr) {
        host::messageBox(
            "This plugin requires that a VMR document is available and selected in Zemlar.");
        host::logText("No VMR present, action cancelled.");
        return false;
    }

    const std::optional<RunSettings> settings = askRunSettings();
    std::array<char, host::kPathBufferSize> listPath{};
    if (!settings ||
        host::getOpenFileName("Please select the file list", "", "PRT-VTC(-SDM) file list (*.txt)",
                              listPath.data()) == 0) {
        host::logText("Cancelled further operations.");
        host::logText("Finished.\n");
        return true;
    }

    std::optional<FileList> fileList = readFileList(listPath.data());
    if (!fileList) {
        host::logText("Finished.\n");
        return true;
    }
    const RunPlan plan = planRun(std::move(*fileList), settings->zTransform);
    // The files no design matrix may replace: the list itself and every file it names.
    const paths::FileSet listFiles(listPath.data(), plan.list.entries);
    if (plan.countDiffers()) {
        host::logText("Warning: not all files have been properly read or classified.");
    }

    if (plan.pairs.empty()) {
        host::logText("The file list holds no protocol (*.prt): no design matrix is made.");
    }
    bool succeeded = true;
    for (const PlannedPair& pair : plan.pairs) {
        succeeded = runPair(plan, pair, listFiles, *settings, merger).value_or(succeeded);
    }

    if (succeeded) {
        host::logText("*.sdm file(s) available in the *.vtc file directory.");
    }
    host::logText("Finished.\n");
    return true;
}

}  // namespace

bool runBatch(const char* pluginName, const ConfoundMerger& merger) {
    // Nothing may leave the plug-in towards the host as an exception.
    try {
        return run(pluginName, merger);
    } catch (const std::exception& error) {
        host::logFormat("The run stopped on an unexpected error: %s", error.what());
        host::logText("Finished.\n");
        return true;
    } catch (...) {
        host::logText("The run stopped on an unexpected error.");
        host::logText("Finished.\n");
        return true;
    }
}

}  // namespace batch
