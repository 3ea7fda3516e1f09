#include "bids/Commands.h"

#include <filesystem>

#include "bids/ConfoundsFile.h"
#include "bids/DesignMatrixText.h"
#include "bids/EventsFile.h"
#include "bids/InputError.h"
#include "bids/MotionFile.h"
#include "bids/OutputFiles.h"
#include "bids/ProtocolText.h"
#include "bids/RunTiming.h"

namespace bids {

namespace {

std::vector<std::string> pathsOf(const std::vector<OutputFile>& files) {
    std::vector<std::string> paths;
    for (const OutputFile& file : files) {
        paths.push_back(file.path);
    }
    return paths;
}

}  // namespace

std::string protocolFileName(const std::string& eventsPath) {
    const std::string tsv = ".tsv";
    if (eventsPath.size() > tsv.size() &&
        eventsPath.compare(eventsPath.size() - tsv.size(), tsv.size(), tsv) == 0) {
        return eventsPath.substr(0, eventsPath.size() - tsv.size()) + ".prt";
    }
    return eventsPath + ".prt";
}

std::vector<std::string> eventsToProtocol(const EventsToProtocolCommand& command,
                                          std::vector<std::string>& notes) {
    const std::string output = command.outputPath.value_or(protocolFileName(command.eventsPath));
    refuseOverwritingInput(output, {command.eventsPath});
    const EventsFile events = readEventsFile(command.eventsPath);
    const std::vector<OutputFile> files = {
        {output, protocolText(protocolFromEvents(events, command.protocol, notes))}};
    writeOutputs(files);
    return pathsOf(files);
}

std::vector<std::string> confoundsToMotion(const ConfoundsToMotionCommand& command,
                                           std::vector<std::string>& notes) {
    const std::string output = command.outputPath.value_or(motionFileName(command.confoundsPath));
    refuseOverwritingInput(output, {command.confoundsPath});
    const TsvTable table = readConfoundsFile(command.confoundsPath);
    const std::vector<OutputFile> files = {
        {output, designMatrixText(motionFromConfounds(table, command.dummies, notes))}};
    if (output.find("_3DMC") == std::string::npos) {
        notes.push_back("warning: " + output +
                        " has no _3DMC in its name: a file list takes it for motion estimates "
                        "only with one");
    }
    writeOutputs(files);
    return pathsOf(files);
}

std::vector<std::string> makeDesign(const DesignCommand& command, std::vector<std::string>& notes) {
    std::vector<std::string> inputs = {command.design.eventsPath};
    DesignRequest request = command.design;
    if (command.boldPath) {
        inputs.push_back(*command.boldPath);
        const std::vector<std::string> sidecars = boldSidecars(*command.boldPath);
        inputs.insert(inputs.end(), sidecars.begin(), sidecars.end());
    } else {
        request.timing.repetitionTime = command.repetitionTime.value_or(0.0);
        request.timing.volumes = command.volumes.value_or(0);
    }
    if (request.confoundsPath) {
        inputs.push_back(*request.confoundsPath);
    }
    refuseOverwritingInput(command.outputPath, inputs);
    if (command.tablePath) {
        refuseOverwritingInput(*command.tablePath, inputs);
        refuseOverwritingInput(*command.tablePath, {command.outputPath});
    }
    if (command.boldPath) {
        request.timing = boldRunTiming(*command.boldPath, notes);
    }
    const Design design = buildDesign(request, notes);
    std::vector<OutputFile> files = {{command.outputPath, designMatrixText(design)}};
    if (command.tablePath) {
        files.push_back({*command.tablePath, designTableText(design), false});
    }
    writeOutputs(files);
    return pathsOf(files);
}

std::vector<std::string> listRuns(const ListingRequest& command, std::vector<std::string>& notes) {
    const Listing listing = planListing(command, notes);
    std::error_code code;
    std::filesystem::create_directories(command.outputFolder, code);
    if (!std::filesystem::is_directory(command.outputFolder, code)) {
        throw InputError("cannot make the output folder " + command.outputFolder);
    }
    std::vector<OutputFile> files;
    for (const PlannedFile& file : listing.files) {
        files.push_back({file.path, file.text});
    }
    writeOutputs(files);
    notes.push_back(std::to_string(listing.listed) + " run(s) listed in " + files.back().path +
                    ", " + std::to_string(listing.skipped) + " skipped");
    return pathsOf(files);
}

}  // namespace bids
