// sdmweaver bids-list: every run of a task in a BIDS dataset made ready for the batch: its
// protocol, its motion file and one file list.

#include <stdexcept>

#include "bids/Commands.h"
#include "headless/program/BidsProgram.h"
#include "headless/program/Commands.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/QualityCommand.h"

namespace headless {

namespace {

CommandSpec bidsListSpec(bids::ListingRequest& request, std::optional<std::string>& qcFolder) {
    CommandSpec spec{
        "bids-list",
        "sdmweaver bids-list BIDS_DIR --task T --derivatives FMRIPREP_DIR --out DIR --vtc PATTERN\n"
        "    [--conditions A,B,...] [--modulation COLUMN] [--fixation NAME] [--min-duration MS]\n"
        "    [--dummy N] [--slice-time-ref F] [--qc DIR]",
        "for every run of the task: its protocol (as events-to-prt makes it) and motion file (as "
        "confounds-to-motion makes it) in DIR, and one file list for the batch, "
        "task-T_list.txt, naming each run's time course from the pattern ({sub}, {ses}, {task}, "
        "{run}: the run's values). Runs without events or without a confound table are "
        "skipped, with the reason. Every run gets the task's conditions in one order (first "
        "appearance over the runs). A run with a file that cannot be used is named (file, row, "
        "column) and left out; the others are written.",
        {{"--task", "T", "The task label.", "--task nback", assign(request.task)},
         {"--derivatives", "DIR", "The fMRIPrep output folder.",
          "--derivatives derivatives/fmriprep", assign(request.derivativesFolder)},
         {"-o|--out", "DIR",
          "Where the protocols, motion files and the list go (created when missing).",
          "--out batch", assign(request.outputFolder)},
         {"--vtc", "PATTERN", "The time course of each run.",
          "--vtc 'D:/study/sub-{sub}/sub-{sub}_task-{task}_run-{run}.vtc'",
          assign(request.timeCoursePattern)}},
        oneOperand(request.bidsFolder, "BIDS folder"),
        std::string(kBidsInputHelp) +
            "\n\nExit status: 0 every run found was written or skipped; 2 a usage error; 3 a run "
            "was left out for a file that cannot be used, or the quality report was not written.",
        {"sdmweaver bids-list ds001 --task nback --derivatives ds001/derivatives/fmriprep \\\n"
         "    --out batch --vtc 'D:/study/sub-{sub}_task-{task}_run-{run}.vtc'"}};
    for (Option& option : protocolOptions(request.protocol)) {
        spec.options.push_back(std::move(option));
    }
    spec.options.push_back(dummyOption(
        request.dummies,
        "Drops N rows of each motion file and moves each run's events by -(N + F) x its own TR "
        "(from its BOLD file and sidecars).",
        "--dummy 4"));
    spec.options.push_back(sliceReferenceOption(
        request.sliceReference,
        "F of the move above, a fraction of the TR from 0 to 1; default: fMRIPrep's StartTime / "
        "TR of each run.",
        "--slice-time-ref 0.5"));
    spec.options.push_back(
        {"--qc", "DIR",
         "Also writes the quality report of the designs the batch will make (see sdmweaver qc "
         "--help), before any time course exists: each run's protocol and motion file with the "
         "host's model as a batch with the default answers runs it (two-gamma, value 1, no "
         "condition skipped, no z-transform), its volumes (dummies left out) and TR from its "
         "BOLD file.",
         "--qc qc", assign(qcFolder)});
    return spec;
}

std::string checkListing(const bids::ListingRequest& request) {
    for (const auto& [value, what] :
         {std::pair<const std::string&, const char*>{request.bidsFolder, "a BIDS folder"},
          {request.task, "--task T"},
          {request.derivativesFolder, "--derivatives FMRIPREP_DIR"},
          {request.outputFolder, "--out DIR"},
          {request.timeCoursePattern, "--vtc PATTERN"}}) {
        if (value.empty()) {
            return std::string("bids-list needs ") + what;
        }
    }
    if (!request.timeCoursePattern.ends_with(".vtc")) {
        return "--vtc " + request.timeCoursePattern +
               " does not end in .vtc: the batch takes a time course by that extension";
    }
    return checkProtocolRequest(request.protocol);
}

}  // namespace

int runBidsListCommand(const std::vector<std::string>& arguments) {
    bids::ListingRequest request;
    std::optional<std::string> qcFolder;
    if (const auto status = readBidsArguments(bidsListSpec(request, qcFolder), arguments,
                                              [&request] { return checkListing(request); })) {
        return *status;
    }
    const auto outcome = doBidsWork([&request](std::vector<std::string>& notes) {
        bids::ListingOutcome listing = bids::listRuns(request, notes);
        return BidsOutcome{std::move(listing.written), "", listing.failed};
    });
    if (!outcome) {
        return kUsageError;
    }
    const auto sources = [&] {
        if (outcome->written.empty()) {
            throw std::runtime_error("no file list was written");
        }
        return listingQualitySources(request, outcome->written.back());  // the list comes last
    };
    return publishBidsQuality(qcFolder, sources,
                              outcome->failedRuns > 0 ? kStepRefused : kRunSucceeded);
}

}  // namespace headless
