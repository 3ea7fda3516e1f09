#include "headless/program/FailureLines.h"

#include <array>
#include <utility>

namespace headless {

namespace {

// Lines that say something failed without saying which file, or why.
constexpr std::array<std::string_view, 7> kGeneral = {
    "Unable to open the motion estimates file.",
    "Unable to open the design matrix file.",
    "Problem with reading *.sdm file. Please check results.",
    "Problem with reading *.rtc file. Please check results.",
    "Number of datapoints in *.sdm/*.rtc file(s) not sufficient!",
    "Saving of design matrix did not succeed.",
    "Unable to open a file for writing.",
};

// Beginnings of the lines that name the file or the cause.
constexpr std::array<std::string_view, 20> kSpecificStarts = {
    "No VTC file found for PRT",
    "Did not succeed in linking and generating.",
    "Not able to retrieve VTC header information.",
    "The stimulation protocol could not be retrieved.",
    "The protocol's path fills the host's field",
    "The design matrix was not saved",
    "The design matrix ",         // ... would replace ...: it is not made.
    "The merged design matrix ",  // ... would replace ...: nothing is written.
    "Motion estimates need six predictors",
    "The confound file ",
    "Confounds from ",
    "Number of datapoints in *.sdm/*.rtc files (",
    "Design matrix file version ",
    "Problem with reading ",
    "Problem with writing ",
    "Unable to open the design matrix file ",
    "Error while converting PRT to SDM",
    "The run stopped on an unexpected error",
    "Constant predictor not filled",
    "Condition number ",  // ... was not delivered by the host: no predictor made for it.
};

// Parts of specific lines that do not begin alike.
constexpr std::array<std::string_view, 4> kSpecificParts = {
    " data points; the design matrix has ",  // "PATH holds N data points; ..."
    " were loaded: no merged design matrix is written.", " is not a regular file: it is not read.",
    " values; the file declares ",  // "Row N of PATH holds M values; ..."
};

}  // namespace

FailureLine failureLine(std::string_view text) {
    for (std::string_view line : kGeneral) {
        if (text == line) {
            return FailureLine::General;
        }
    }
    for (std::string_view start : kSpecificStarts) {
        if (text.starts_with(start)) {
            // Progress lines that share a beginning with a failure.
            return start == "The design matrix " && text.find(" would replace ") == text.npos
                       ? FailureLine::None
                       : FailureLine::Specific;
        }
    }
    for (std::string_view part : kSpecificParts) {
        if (text.find(part) != std::string_view::npos) {
            return FailureLine::Specific;
        }
    }
    return FailureLine::None;
}

}  // namespace headless
