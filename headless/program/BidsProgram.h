#pragma once

// What the four BIDS commands of the sdmweaver program share: the options several of them take,
// reading their arguments, and doing the work of the BIDS library with its notes and failures
// said on standard error.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bids/EventsProtocol.h"
#include "headless/program/OptionTable.h"
#include "headless/program/QualityReport.h"

namespace headless {

// Comma-separated names, none of them empty, in `items`; else the usage error of `option`.
std::string listOf(const std::string& option, const std::string& text,
                   std::vector<std::string>& items);

// --dummy N, --slice-time-ref F and --tr S, each with its help for the command.
Option dummyOption(std::size_t& dummies, std::string help, std::string examples);
Option sliceReferenceOption(std::optional<double>& reference, std::string help,
                            std::string examples);
Option repetitionTimeOption(std::optional<double>& repetitionTime, std::string help,
                            std::string examples);

// The options that shape the protocols of events-to-prt and bids-list, and the usage error of
// a request whose fixation is one of its conditions.
std::vector<Option> protocolOptions(bids::ProtocolRequest& protocol);
std::string checkProtocolRequest(const bids::ProtocolRequest& protocol);

// What the help of every BIDS command says of its inputs, notes and failures.
extern const char kBidsInputHelp[];

// Reads the arguments with the command's table, then `check`s what they give. Answers the exit
// status when the command ends here (its help shown, or a usage error said), none when it goes
// on.
std::optional<int> readBidsArguments(const CommandSpec& command,
                                     const std::vector<std::string>& arguments,
                                     const std::function<std::string()>& check);

// What a command did: the files it wrote, the design's timing line, the runs a listing left out
// for a file that cannot be used.
struct BidsOutcome {
    std::vector<std::string> written;
    std::string summary;
    std::size_t failedRuns = 0;
};

// Does the command's work: says the design's timing line, the notes and each file written, or
// the notes and then the failure (bids::InputError as the BIDS library words it). None after a
// failure: nothing was written.
std::optional<BidsOutcome> doBidsWork(
    const std::function<BidsOutcome(std::vector<std::string>& notes)>& work);

// Writes the quality report of the `sources` into `folder` when one is given; answers `status`,
// or kStepRefused for a successful one when the report could not be made or written.
int publishBidsQuality(const std::optional<std::string>& folder,
                       const std::function<std::vector<QualitySource>()>& sources, int status);

}  // namespace headless
