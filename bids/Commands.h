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

// The timing the protocols of events-to-prt and bids-list follow: with dummies or a slice-time
// reference, every event moves by -(dummies + reference) x TR.
struct TimingRequest {
    std::size_t dummies = 0;
    std::optional<double> sliceReference;  // given; else StartTime / TR from a sidecar, else 0
    std::optional<double> repetitionTime;  // --tr
    std::optional<std::string> boldPath;   // --bold
};

struct EventsToProtocolCommand {
    std::string eventsPath;
    std::optional<std::string> outputPath;  // default: the events file with ".prt" for ".tsv"
    ProtocolRequest protocol;               // its shift is filled from the timing
    TimingRequest timing;
};

struct ConfoundsToMotionCommand {
    std::string confoundsPath;
    std::optional<std::string> outputPath;  // default: motionFileName(confoundsPath)
    std::size_t dummies = 0;
};

struct DesignCommand {
    DesignRequest design;                  // its timing is filled from the fields below
    std::optional<double> sliceReference;  // given; else StartTime / TR with --bold
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
// `summary`, when given, receives the one line saying which volumes, TR, slice-time reference
// and dummies the design used and where each came from.
std::vector<std::string> makeDesign(const DesignCommand& command, std::vector<std::string>& notes,
                                    std::string* summary = nullptr);

struct ListingOutcome {
    std::vector<std::string> written;
    std::size_t failed = 0;  // runs left out for a file that could not be used
};
ListingOutcome listRuns(const ListingRequest& command, std::vector<std::string>& notes);

// The protocol's default name beside the events file.
std::string protocolFileName(const std::string& eventsPath);

}  // namespace bids
