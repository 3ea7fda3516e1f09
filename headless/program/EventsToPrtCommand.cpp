// sdmweaver events-to-prt: a BIDS events file as a protocol the workstation reads.

#include "bids/Commands.h"
#include "headless/program/BidsProgram.h"
#include "headless/program/Commands.h"
#include "headless/program/ExitStatus.h"

namespace headless {

namespace {

CommandSpec eventsToPrtSpec(bids::EventsToProtocolCommand& command, bool& dummiesGiven) {
    bids::TimingRequest& timing = command.timing;
    CommandSpec spec{
        "events-to-prt",
        "sdmweaver events-to-prt EVENTS.tsv [-o FILE.prt] [--conditions A,B,...]\n"
        "    [--modulation COLUMN] [--fixation NAME] [--min-duration MS]\n"
        "    [--dummy N] [--slice-time-ref F] [--tr S | --bold BOLD.nii[.gz]]",
        "turns a BIDS events file into a protocol in milliseconds that the workstation reads: "
        "one condition per trial_type (one condition \"task\" without that column) in the order "
        "they first appear, each event the interval [round(onset x 1000), round((onset + "
        "duration) x 1000)], colours from a fixed palette.",
        {{"-o|--output", "FILE.prt",
          "The protocol to write; default: the events file with .prt for .tsv.",
          "-o sub-01_task-nback_run-1.prt", assign(command.outputPath)}},
        oneOperand(command.eventsPath, "events file"),
        std::string(kBidsInputHelp) +
            "\n\nExit status: 0 the protocol was written; 2 a usage error or an input that "
            "cannot be used.",
        {"sdmweaver events-to-prt sub-01_task-nback_run-1_events.tsv --fixation Rest",
         "sdmweaver events-to-prt sub-01_task-nback_run-1_events.tsv --dummy 4 \\\n"
         "    --bold sub-01_task-nback_run-1_desc-preproc_bold.nii.gz"}};
    for (Option& option : protocolOptions(command.protocol)) {
        spec.options.push_back(std::move(option));
    }
    Option dummies = dummyOption(
        timing.dummies,
        "Every event moves by -(N + F) x TR, so that the workstation's volume k (of the time "
        "course without the N dummies) is sampled where design samples it; an interval moved "
        "before 0 keeps its negative start. Needs the TR.",
        "--dummy 4 --slice-time-ref 0.5");
    dummies.set = [&dummiesGiven, set = dummies.set](const std::string& value) {
        dummiesGiven = true;
        return set(value);
    };
    spec.options.push_back(std::move(dummies));
    spec.options.push_back(sliceReferenceOption(
        timing.sliceReference,
        "F of the move above: the slice-timing reference as a fraction of the TR (0 to 1; "
        "default StartTime / TR from the sidecar with --bold, else 0). Needs the TR.",
        "--slice-time-ref 0.5"));
    spec.options.push_back(
        repetitionTimeOption(timing.repetitionTime, "The TR in seconds.", "--tr 2"));
    spec.options.push_back(
        {"--bold", "FILE",
         "The TR from the BOLD file and its sidecars, whose StartTime gives F (StartTime / TR) "
         "unless --slice-time-ref does.",
         "--bold sub-01_task-nback_run-1_desc-preproc_bold.nii.gz", assign(timing.boldPath)});
    return spec;
}

}  // namespace

int runEventsToPrtCommand(const std::vector<std::string>& arguments) {
    bids::EventsToProtocolCommand command;
    bool dummiesGiven = false;
    const bids::TimingRequest& timing = command.timing;
    const auto check = [&]() -> std::string {
        if (command.eventsPath.empty()) {
            return "events-to-prt needs an events file (*_events.tsv)";
        }
        if (timing.repetitionTime && timing.boldPath) {
            return "events-to-prt takes either --tr or --bold, not both";
        }
        if ((dummiesGiven || timing.sliceReference) && !timing.repetitionTime && !timing.boldPath) {
            return std::string(dummiesGiven ? "--dummy" : "--slice-time-ref") +
                   " moves the events by a number of volumes: give the TR with --tr S or --bold "
                   "BOLD.nii[.gz]";
        }
        return checkProtocolRequest(command.protocol);
    };
    if (const auto status =
            readBidsArguments(eventsToPrtSpec(command, dummiesGiven), arguments, check)) {
        return *status;
    }
    const auto outcome = doBidsWork([&command](std::vector<std::string>& notes) {
        return BidsOutcome{bids::eventsToProtocol(command, notes), "", 0};
    });
    return outcome ? kRunSucceeded : kUsageError;
}

}  // namespace headless
