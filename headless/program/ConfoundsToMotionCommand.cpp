// sdmweaver confounds-to-motion: the motion estimates of an fMRIPrep confound table as a motion
// file the plug-in reads.

#include "bids/Commands.h"
#include "headless/program/BidsProgram.h"
#include "headless/program/Commands.h"
#include "headless/program/ExitStatus.h"

namespace headless {

int runConfoundsToMotionCommand(const std::vector<std::string>& arguments) {
    bids::ConfoundsToMotionCommand command;
    const CommandSpec spec{
        "confounds-to-motion",
        "sdmweaver confounds-to-motion CONFOUNDS.tsv [-o FILE_3DMC.sdm] [--dummy N]",
        "writes the six motion columns of an fMRIPrep confound table (trans_x trans_y trans_z "
        "rot_x rot_y rot_z, or the older X Y Z RotX RotY RotZ) as a motion file the plug-in "
        "reads: the design-matrix layout, six predictors, no constant; rotations from radians to "
        "degrees.",
        {{"-o|--output", "FILE_3DMC.sdm",
          "The motion file to write (keep _3DMC in its name for the file list); default: the "
          "table's name without \"_desc-confounds_timeseries.tsv\", then \"_3DMC.sdm\".",
          "-o sub-01_task-nback_run-1_3DMC.sdm", assign(command.outputPath)},
         dummyOption(command.dummies,
                     "Drops the first N rows (the volumes left out of the time course).",
                     "--dummy 4")},
        oneOperand(command.confoundsPath, "confound table"),
        std::string(kBidsInputHelp) +
            "\n\nExit status: 0 the motion file was written; 2 a usage error or an input that "
            "cannot be used.",
        {"sdmweaver confounds-to-motion \\\n"
         "    sub-01_task-nback_run-1_desc-confounds_timeseries.tsv --dummy 4"}};
    const auto check = [&command]() -> std::string {
        return command.confoundsPath.empty()
                   ? "confounds-to-motion needs a confound table (*_desc-confounds_timeseries.tsv)"
                   : "";
    };
    if (const auto status = readBidsArguments(spec, arguments, check)) {
        return *status;
    }
    const auto outcome = doBidsWork([&command](std::vector<std::string>& notes) {
        return BidsOutcome{bids::confoundsToMotion(command, notes), "", 0};
    });
    return outcome ? kRunSucceeded : kUsageError;
}

}  // namespace headless
