#pragma once

// The command lines of the four BIDS commands of the sdmweaver program: events-to-prt,
// confounds-to-motion, design and bids-list. Options take their value as the next argument or
// after '=' (--tr=2); the last of a repeated option counts.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bids/Commands.h"

namespace headless {

enum class BidsCommand { EventsToPrt, ConfoundsToMotion, Design, List };

struct BidsCommandLine {
    BidsCommand command = BidsCommand::EventsToPrt;
    bool help = false;
    bids::EventsToProtocolCommand eventsToPrt;
    bids::ConfoundsToMotionCommand confoundsToMotion;
    bids::DesignCommand design;
    std::optional<std::string> plotFolder;  // design --plot
    std::optional<std::string> qcFolder;    // design and bids-list --qc
    bids::ListingRequest list;
    std::string error;  // a usage error; empty when the arguments are fine
};

// The command a first argument names; none for any other.
std::optional<BidsCommand> bidsCommandNamed(std::string_view name);

// Reads the arguments after the command's name.
BidsCommandLine parseBidsCommandLine(BidsCommand command,
                                     const std::vector<std::string>& arguments);

// The section of `sdmweaver --help` on the four commands, and the help of one of them.
std::string bidsHelpText();
std::string bidsCommandHelp(BidsCommand command);

}  // namespace headless
