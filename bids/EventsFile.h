#pragma once

// Reader of BIDS events files (*_events.tsv): one event per row with its onset and duration in
// seconds, and its condition from trial_type.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bids/TsvTable.h"

namespace bids {

// The condition of every event of a file without a trial_type column.
inline constexpr std::string_view kSingleCondition = "task";

struct Event {
    std::size_t row = 0;  // in the table, from 0
    double onset = 0.0;   // seconds from the first volume in the run's data file; may be < 0
    std::optional<double> duration;             // seconds, >= 0; none for n/a
    std::optional<std::string_view> condition;  // none for a trial_type of n/a or nothing
};

struct EventsFile {
    TsvTable table;
    std::vector<Event> events;  // in file order
    // Conditions in the order they first appear.
    std::vector<std::string> conditions;
    std::size_t untyped = 0;  // events whose trial_type is n/a or empty
};

// Reads the file. InputError, naming file and row, for a missing onset or duration column, an
// onset that is not a number (n/a included), a duration that is neither a number nor n/a, a
// negative duration, a file without events, and whatever TsvTable refuses.
EventsFile readEventsFile(const std::string& path);
EventsFile parseEventsFile(std::string path, std::string text);

// Values of a free column for each event: none for n/a; InputError naming file, row and column
// for a missing column or a value that is not a number.
std::vector<std::optional<double>> eventValues(const EventsFile& file, std::string_view column);

// The warning for events that start at or after the run's end (`volumes` x `repetitionTime`
// seconds on the events' clock); none when no event does.
std::optional<std::string> eventsPastRunEnd(const EventsFile& file, std::int64_t volumes,
                                            double repetitionTime);

}  // namespace bids
