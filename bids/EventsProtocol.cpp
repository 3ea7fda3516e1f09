#include "bids/EventsProtocol.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "bids/ConditionColors.h"
#include "bids/InputError.h"

namespace bids {

namespace {

constexpr double kLargestMs = std::numeric_limits<std::int32_t>::max();

std::int32_t milliseconds(const EventsFile& file, const Event& event, double seconds) {
    const double ms = std::round(seconds * 1000.0);
    if (!(std::fabs(ms) <= kLargestMs)) {
        throw InputError(rowPlace(file.table.path(), event.row) +
                         ": the time lies beyond what a protocol in milliseconds can hold");
    }
    return static_cast<std::int32_t>(ms);
}

// The interval of one event in milliseconds.
std::pair<std::int32_t, std::int32_t> intervalOf(const EventsFile& file, const Event& event,
                                                 const ProtocolRequest& request) {
    const double onset = event.onset - request.shiftSeconds;
    const std::int32_t start = milliseconds(file, event, onset);
    std::int32_t end = event.duration ? milliseconds(file, event, onset + *event.duration) : start;
    if (request.minimumDurationMs) {
        if (static_cast<double>(start) + *request.minimumDurationMs > kLargestMs) {
            throw InputError(rowPlace(file.table.path(), event.row) +
                             ": the time lies beyond what a protocol in milliseconds can hold");
        }
        end = std::max(end, start + *request.minimumDurationMs);
    } else if (end == start) {
        const std::string length =
            !event.duration ? "n/a"
            : *event.duration == 0.0
                ? "0"
                : std::string(file.table.cell(event.row, *file.table.column("duration"))) +
                      " s, which rounds to no millisecond";
        throw InputError(
            cellPlace(file.table.path(), event.row, "duration") + ": the duration is " + length +
            "; an interval of a protocol needs a length (give --min-duration MS to use one)");
    }
    return {start, end};
}

// The weights of a condition's events: their values; 0 for a condition whose events have none.
std::vector<double> weightsOf(const EventsFile& file, const std::vector<const Event*>& events,
                              const std::vector<std::optional<double>>& values,
                              const std::string& condition, const std::string& column,
                              std::vector<std::string>& notes) {
    std::vector<double> weights;
    const Event* missing = nullptr;
    for (const Event* event : events) {
        const auto& value = values[static_cast<std::size_t>(event - file.events.data())];
        weights.push_back(value.value_or(0.0));
        if (!value && missing == nullptr) {
            missing = event;
        }
    }
    const auto valued = static_cast<std::size_t>(
        std::count_if(events.begin(), events.end(), [&](const Event* event) {
            return values[static_cast<std::size_t>(event - file.events.data())].has_value();
        }));
    if (valued == 0) {
        notes.push_back(condition + ": its events have n/a in " + column + "; their weights are 0");
    } else if (missing != nullptr) {
        throw InputError(cellPlace(file.table.path(), missing->row, column) + ": n/a for an " +
                         "event of " + condition + ", whose other events have values");
    }
    return weights;
}

// The time no event covers, from 0 to the end of the last interval.
formats::ProtocolCondition fixationOf(const formats::Protocol& protocol, std::string name,
                                      int weightColumns) {
    std::vector<std::pair<std::int32_t, std::int32_t>> intervals;
    for (const auto& condition : protocol.conditions) {
        for (std::size_t i = 0; i < condition.starts.size(); ++i) {
            intervals.emplace_back(condition.starts[i], condition.ends[i]);
        }
    }
    std::sort(intervals.begin(), intervals.end());
    formats::ProtocolCondition fixation;
    fixation.name = std::move(name);
    fixation.color = kFixationColor;
    std::int32_t covered = 0;
    for (const auto& [start, end] : intervals) {
        if (start > covered) {
            fixation.starts.push_back(covered);
            fixation.ends.push_back(start);
            fixation.weights.insert(fixation.weights.end(), static_cast<std::size_t>(weightColumns),
                                    0.0);
        }
        covered = std::max(covered, end);
    }
    return fixation;
}

}  // namespace

formats::Protocol protocolFromEvents(const EventsFile& file, const ProtocolRequest& request,
                                     std::vector<std::string>& notes) {
    // A fixation named as a trial_type would make two conditions of one name.
    if (request.fixation && std::find(file.conditions.begin(), file.conditions.end(),
                                      *request.fixation) != file.conditions.end()) {
        throw InputError("--fixation " + *request.fixation + " is a trial_type of " +
                         file.table.path() + ": name the fixation condition otherwise");
    }
    formats::Protocol protocol;
    protocol.fileVersion = request.modulation ? 3 : 2;
    protocol.resolution = formats::TimeResolution::Milliseconds;
    protocol.experimentName =
        std::filesystem::path(file.table.path()).filename().replace_extension().string();
    protocol.parametricWeights = request.modulation ? 1 : 0;

    const std::vector<std::string>& names =
        request.conditions ? *request.conditions : request.taskConditions.value_or(file.conditions);
    std::vector<std::optional<double>> values;
    if (request.modulation) {
        values = eventValues(file, *request.modulation);
    }
    std::size_t used = 0;
    std::size_t early = 0;  // intervals that start before 0
    for (std::size_t c = 0; c < names.size(); ++c) {
        std::vector<const Event*> events;
        for (const Event& event : file.events) {
            if (event.condition == names[c]) {
                events.push_back(&event);
            }
        }
        formats::ProtocolCondition condition;
        condition.name = names[c];
        condition.color = conditionColor(c);
        for (const Event* event : events) {
            const auto [start, end] = intervalOf(file, *event, request);
            condition.starts.push_back(start);
            condition.ends.push_back(end);
            early += start < 0 ? 1U : 0U;
        }
        if (request.modulation && !events.empty()) {
            condition.weights =
                weightsOf(file, events, values, names[c], *request.modulation, notes);
        }
        if (events.empty()) {
            notes.push_back((request.conditions ? "warning: " : "") + file.table.path() +
                            " has no event of condition " + names[c] + "; it stays empty");
        }
        used += events.size();
        protocol.conditions.push_back(std::move(condition));
    }
    const std::size_t typed = file.events.size() - file.untyped;
    if (used < typed) {
        notes.push_back(file.table.path() + ": " + std::to_string(typed - used) +
                        " event(s) of conditions not picked left out");
    }
    if (file.untyped > 0) {
        notes.push_back(file.table.path() + ": " + std::to_string(file.untyped) +
                        " event(s) without trial_type (n/a) left out");
    }
    if (early > 0) {
        notes.push_back(file.table.path() + ": " + std::to_string(early) +
                        " interval(s) start before the first volume kept and keep their negative "
                        "start; the host integrates them");
    }
    if (request.fixation) {
        protocol.conditions.insert(
            protocol.conditions.begin(),
            fixationOf(protocol, *request.fixation, protocol.parametricWeights));
    }
    return protocol;
}

}  // namespace bids
