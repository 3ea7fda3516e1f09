#include "headless/program/BidsProgram.h"

#include <exception>
#include <filesystem>
#include <iostream>

#include "bids/InputError.h"
#include "formats/DesignTable.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/QualityCommand.h"
#include "plot/DesignCheck.h"
#include "plot/PlotRun.h"

namespace headless {

namespace {

void sayAll(const std::vector<std::string>& notes) {
    for (const std::string& note : notes) {
        say(note);
    }
}

// The design check of the written design matrix, as the batch shows it with --plot; with a
// folder, its picture too. Answers the exit status.
int checkDesign(const std::string& path, const std::optional<std::string>& folder) {
    if (folder) {
        const plot::PlotOutcome outcome = plot::plotDesignMatrices({path}, *folder, show);
        return outcome.failed == 0 ? kRunSucceeded : kStepRefused;
    }
    const formats::DesignTableRead read = formats::readDesignTable(path);
    if (!read.table) {
        say("no design check of " + path + ": " + read.error);
        return kRunSucceeded;
    }
    for (const std::string& line :
         plot::describeDesignCheck(*read.table, plot::checkDesign(*read.table), path)) {
        show("check: ", line);
    }
    return kRunSucceeded;
}

// What a command did: the files it wrote, the design's timing line, the runs a listing left out
// for a bad file.
struct CommandOutcome {
    std::vector<std::string> written;
    std::string summary;
    std::size_t failedRuns = 0;
};

CommandOutcome run(const BidsCommandLine& line, std::vector<std::string>& notes) {
    CommandOutcome outcome;
    switch (line.command) {
        case BidsCommand::EventsToPrt:
            outcome.written = bids::eventsToProtocol(line.eventsToPrt, notes);
            break;
        case BidsCommand::ConfoundsToMotion:
            outcome.written = bids::confoundsToMotion(line.confoundsToMotion, notes);
            break;
        case BidsCommand::Design:
            outcome.written = bids::makeDesign(line.design, notes, &outcome.summary);
            break;
        case BidsCommand::List: {
            bids::ListingOutcome listing = bids::listRuns(line.list, notes);
            outcome.written = std::move(listing.written);
            outcome.failedRuns = listing.failed;
            break;
        }
    }
    return outcome;
}

}  // namespace

int runBidsCommand(BidsCommand command, const std::vector<std::string>& arguments) {
    const BidsCommandLine line = parseBidsCommandLine(command, arguments);
    if (!line.error.empty()) {
        return usageError(line.error);
    }
    if (line.help) {
        std::cout << bidsCommandHelp(command);
        return kRunSucceeded;
    }
    // The picture folder is made first, so that a folder that cannot be is said before any work;
    // a failure then takes it away again when this made it.
    std::string error;
    std::error_code code;
    const bool folderMade = line.plotFolder && !std::filesystem::exists(*line.plotFolder, code);
    if (line.plotFolder && !plot::preparePictureFolder(*line.plotFolder, error)) {
        say(error);
        return kUsageError;
    }
    const auto fail = [&](const std::vector<std::string>& notes, const std::string& what) {
        sayAll(notes);
        say(what);
        if (folderMade) {
            std::filesystem::remove(*line.plotFolder, code);  // only when still empty
        }
        return kUsageError;
    };
    std::vector<std::string> notes;
    CommandOutcome outcome;
    try {
        outcome = run(line, notes);
    } catch (const bids::InputError& failure) {
        return fail(notes, failure.what());
    } catch (const std::exception& failure) {
        return fail(notes, std::string("cannot go on: ") + failure.what());
    }
    if (!outcome.summary.empty()) {
        show("design: ", outcome.summary);
    }
    sayAll(notes);
    for (const std::string& path : outcome.written) {
        say("wrote " + path);
    }
    int status = kRunSucceeded;
    if (command == BidsCommand::Design) {
        status = checkDesign(line.design.outputPath, line.plotFolder);
    }
    if (outcome.failedRuns > 0 && status == kRunSucceeded) {
        status = kStepRefused;
    }
    if (line.qcFolder && (command == BidsCommand::Design || command == BidsCommand::List)) {
        try {
            status = publishQuality(command == BidsCommand::Design
                                        ? designQualitySources(line.design)
                                        : listingQualitySources(line.list, outcome.written.back()),
                                    *line.qcFolder, status);
        } catch (const std::exception& failure) {
            say(std::string("no quality report: ") + failure.what());
            status = status == kRunSucceeded ? kStepRefused : status;
        }
    }
    return status;
}

}  // namespace headless
