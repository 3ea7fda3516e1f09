#include "bids/Commands.h"

#include <cstdio>
#include <filesystem>
#include <optional>

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

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The timing a --tr or a --bold gives; none without either.
std::optional<RunTiming> givenTiming(const std::optional<double>& repetitionTime,
                                     const std::optional<std::string>& boldPath,
                                     std::vector<std::string>& notes) {
    if (boldPath) {
        return boldRunTiming(*boldPath, notes);
    }
    if (repetitionTime) {
        checkRepetitionTime(*repetitionTime, "--tr " + numberText(*repetitionTime));
        RunTiming timing;
        timing.repetitionTime = *repetitionTime;
        timing.repetitionTimeSource = "--tr";
        return timing;
    }
    return std::nullopt;
}

// "design: 297 volumes (300 in sub-01_bold.nii less 3 dummies), TR 2 s (sub-01_bold.json),
// slice-time reference 0.5 (StartTime 1 s in sub-01_bold.json), 3 dummies (--dummy)".
std::string designSummary(const DesignRequest& request, const DesignCommand& command) {
    const RunTiming& timing = request.timing;
    const std::string dummies =
        std::to_string(request.dummies) + (request.dummies == 1 ? " dummy" : " dummies");
    std::string line =
        std::to_string(timing.volumes - static_cast<std::int64_t>(request.dummies)) + " volumes (" +
        std::to_string(timing.volumes) +
        (command.boldPath ? " in " + fileNameOf(*command.boldPath) : " from --volumes") +
        (request.dummies > 0 ? " less " + dummies : std::string()) + "), TR " +
        secondsText(timing.repetitionTime) + " (" +
        (command.boldPath ? fileNameOf(timing.repetitionTimeSource) : "--tr") +
        "), slice-time reference " + numberText(request.sliceReference) + " (";
    if (command.sliceReference) {
        line += "--slice-time-ref";
    } else if (command.boldPath && timing.startTime) {
        line += "StartTime " + secondsText(*timing.startTime) + " in " +
                fileNameOf(timing.startTimeSource);
    } else {
        line += "default";
    }
    return line + "), " + dummies + (request.dummies > 0 ? " (--dummy)" : " (default)");
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
    std::vector<std::string> inputs = {command.eventsPath};
    if (command.timing.boldPath) {
        inputs.push_back(*command.timing.boldPath);
    }
    refuseOverwritingInput(output, inputs);
    ProtocolRequest request = command.protocol;
    const std::optional<RunTiming> timing =
        givenTiming(command.timing.repetitionTime, command.timing.boldPath, notes);
    const EventsFile events = readEventsFile(command.eventsPath);
    if (events.table.readingNote()) {
        notes.push_back(*events.table.readingNote());
    }
    if (timing) {
        const double reference = sliceReferenceOf(*timing, command.timing.sliceReference, notes);
        request.shiftSeconds =
            (static_cast<double>(command.timing.dummies) + reference) * timing->repetitionTime;
        if (request.shiftSeconds != 0.0) {
            notes.push_back("events moved by -" + secondsText(request.shiftSeconds) + " ((" +
                            std::to_string(command.timing.dummies) + " dummies + " +
                            numberText(reference) + ") x TR " +
                            secondsText(timing->repetitionTime) + ")");
        }
        if (timing->volumes > 0) {
            if (auto past = eventsPastRunEnd(events, timing->volumes, timing->repetitionTime)) {
                notes.push_back(*past);
            }
        }
    }
    const std::vector<OutputFile> files = {
        {output, protocolText(protocolFromEvents(events, request, notes))}};
    writeOutputs(files);
    return pathsOf(files);
}

std::vector<std::string> confoundsToMotion(const ConfoundsToMotionCommand& command,
                                           std::vector<std::string>& notes) {
    const std::string output = command.outputPath.value_or(motionFileName(command.confoundsPath));
    refuseOverwritingInput(output, {command.confoundsPath});
    const TsvTable table = readConfoundsFile(command.confoundsPath);
    if (table.readingNote()) {
        notes.push_back(*table.readingNote());
    }
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

std::vector<std::string> makeDesign(const DesignCommand& command, std::vector<std::string>& notes,
                                    std::string* summary) {
    std::vector<std::string> inputs = {command.design.eventsPath};
    DesignRequest request = command.design;
    if (command.boldPath) {
        inputs.push_back(*command.boldPath);
        for (const std::filesystem::path& sidecar : boldSidecars(*command.boldPath)) {
            inputs.push_back(sidecar.generic_string());
        }
    }
    if (request.confoundsPath) {
        inputs.push_back(*request.confoundsPath);
    }
    refuseOverwritingInput(command.outputPath, inputs);
    if (command.tablePath) {
        refuseOverwritingInput(*command.tablePath, inputs);
        refuseOverwritingInput(*command.tablePath, {command.outputPath});
    }
    if (const auto timing = givenTiming(command.repetitionTime, command.boldPath, notes)) {
        request.timing = *timing;
        if (command.sliceReference || command.boldPath) {
            request.sliceReference = sliceReferenceOf(*timing, command.sliceReference, notes);
        }
    }
    if (!command.boldPath) {
        request.timing.volumes = command.volumes.value_or(0);
        request.timing.volumesSource = "--volumes";
    }
    const Design design = buildDesign(request, notes);
    if (summary != nullptr) {
        *summary = designSummary(request, command);
    }
    std::vector<OutputFile> files = {{command.outputPath, designMatrixText(design)}};
    if (command.tablePath) {
        files.push_back({*command.tablePath, designTableText(design), false});
    }
    writeOutputs(files);
    return pathsOf(files);
}

ListingOutcome listRuns(const ListingRequest& command, std::vector<std::string>& notes) {
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
                    ", " + std::to_string(listing.skipped) + " skipped" +
                    (listing.failed > 0 ? " (" + std::to_string(listing.failed) +
                                              " for a file that cannot be used)"
                                        : std::string()));
    return {pathsOf(files), listing.failed};
}

}  // namespace bids
