#pragma once

// The four BIDS commands of the sdmweaver program, as the program hands them its options: each
// reads its inputs, makes its outputs and writes them all or nothing. Notes for the user go to
// `notes` as they come (a warning begins with "warning: "); failures are InputError, naming the
// file and the place.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bids/Design.h"
#include "bids/EventsProtocol.h"
#include "bids/RunListing.h"

namespace bids {

struct EventsToProtocolCommand {
    std::string eventsPath;
    std::optional<std::string> outputPath;  // default: the events file with ".prt" for ".tsv"
    ProtocolRequest protocol;
};

struct ConfoundsToMotionCommand {
    std::string confoundsPath;
    std::optional<std::string> outputPath;  // default: motionFileName(confoundsPath)
    std::size_t dummies = 0;
};

struct DesignCommand {
    DesignRequest design;  // its timing is filled from the fields below
    std::optional<double> repetitionTime;
    std::optional<std::int64_t> volumes;
    std::optional<std::string> boldPath;
    std::string outputPath;
    std::optional<std::string> tablePath;  // --tsv
};

// Each answers the files it wrote.
std::vector<std::string> eventsToProtocol(const EventsToProtocolCommand& command,
                                          std::vector<std::string>& notes);
std::vector<std::string> confoundsToMotion(const ConfoundsToMotionCommand& command,
                                           std::vector<std::string>& notes);
std::vector<std::string> makeDesign(const DesignCommand& command, std::vector<std::string>& notes);
std::vector<std::string> listRuns(const ListingRequest& command, std::vector<std::string>& notes);

// The protocol's default name beside the events file.
std::string protocolFileName(const std::string& eventsPath);

}  // namespace bids
