#pragma once

// A stimulation protocol in milliseconds made from a BIDS events file: one condition per
// trial_type, each event an interval [round(onset x 1000), round((onset + duration) x 1000)].

#include <optional>
#include <string>
#include <vector>

#include "bids/EventsFile.h"
#include "formats/Protocol.h"

namespace bids {

struct ProtocolRequest {
    // The conditions, in this order; none: every trial_type in the order it first appears.
    std::optional<std::vector<std::string>> conditions;
    // A first condition that covers the time no event covers, from 0 to the last event's end.
    std::optional<std::string> fixation;
    // The events column whose values become each interval's parametric weight (version 3).
    std::optional<std::string> modulation;
    // The length in milliseconds of an event shorter than this (zero and n/a included).
    std::optional<int> minimumDurationMs;
    // Every event moves this many seconds earlier: (dummies + slice-time reference) x TR, so
    // that the host's volume k at k x TR is the run's volume k + dummies at its reference time.
    // An interval moved before 0 keeps its negative start.
    double shiftSeconds = 0.0;
    // The conditions of every run of the task, in one order, for a run without --conditions:
    // those the run lacks stay empty without a warning.
    std::optional<std::vector<std::string>> taskConditions;
};

// The protocol. A picked condition without events is kept empty with a warning in `notes`.
// InputError naming file and row for an event of zero or n/a duration without
// minimumDurationMs, a time beyond the protocol's range, or a modulation with n/a beside values
// in one condition. Intervals that start before 0 are counted in a note.
formats::Protocol protocolFromEvents(const EventsFile& file, const ProtocolRequest& request,
                                     std::vector<std::string>& notes);

}  // namespace bids
