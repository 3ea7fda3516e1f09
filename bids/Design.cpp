#include "bids/Design.h"

#include <algorithm>
#include <cmath>

#include "bids/ConditionColors.h"
#include "bids/ConfoundsFile.h"
#include "bids/EventsFile.h"
#include "bids/InputError.h"
#include "bids/Regressors.h"
#include "response/ZTransform.h"

namespace bids {

namespace {

std::string plural(std::size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

bool allZero(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return v == 0.0; });
}

// The events of one condition, each with its amplitude.
struct ConditionEvents {
    std::string name;
    std::vector<const Event*> events;
};

std::vector<ConditionEvents> groupByCondition(const EventsFile& file) {
    std::vector<ConditionEvents> groups;
    for (const std::string& name : file.conditions) {
        groups.push_back({name, {}});
    }
    for (const Event& event : file.events) {
        if (event.condition) {
            const auto group = std::find_if(
                groups.begin(), groups.end(),
                [&event](const ConditionEvents& g) { return g.name == *event.condition; });
            group->events.push_back(&event);
        }
    }
    return groups;
}

std::vector<StimulusEvent> stimuli(const std::vector<const Event*>& events,
                                   const std::vector<double>& amplitudes) {
    std::vector<StimulusEvent> result;
    result.reserve(events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        result.push_back({events[i]->onset, events[i]->duration.value_or(0.0), amplitudes[i]});
    }
    return result;
}

// The modulation amplitudes of a condition's events: their values less the condition's mean.
// None (with a note) when the condition has no value or they are all the same.
// With `naMean`, an event of n/a among values takes the condition's mean: after centring it
// adds nothing, and it keeps its place among the condition's events.
std::optional<std::vector<double>> modulationAmplitudes(
    const EventsFile& file, const ConditionEvents& condition,
    const std::vector<std::optional<double>>& values, const std::string& column, bool naMean,
    std::vector<std::string>& notes) {
    std::vector<double> amplitudes;
    const Event* missing = nullptr;
    std::size_t missingCount = 0;
    double mean = 0.0;
    std::size_t valued = 0;
    for (const Event* event : condition.events) {
        const std::optional<double>& value =
            values[static_cast<std::size_t>(event - file.events.data())];
        if (value) {
            mean += *value;
            ++valued;
        } else {
            missing = missing == nullptr ? event : missing;
            ++missingCount;
        }
    }
    if (valued == 0) {
        notes.push_back("no modulation of " + condition.name + ": its events have n/a in " +
                        column);
        return std::nullopt;
    }
    if (missing != nullptr && !naMean) {
        throw InputError(cellPlace(file.table.path(), missing->row, column) + ": n/a for an " +
                         "event of " + condition.name +
                         ", whose other events have values (give --modulation-na mean to give "
                         "such events the condition's mean)");
    }
    mean /= static_cast<double>(valued);
    if (missingCount > 0) {
        notes.push_back(file.table.path() + ": " + plural(missingCount, "event", "events") +
                        " of " + condition.name + " with n/a in " + column +
                        " given the condition's mean (--modulation-na mean)");
    }
    for (const Event* event : condition.events) {
        const std::optional<double>& value =
            values[static_cast<std::size_t>(event - file.events.data())];
        amplitudes.push_back(value ? *value - mean : 0.0);
    }
    if (allZero(amplitudes)) {
        notes.push_back("no modulation of " + condition.name + ": " + column +
                        " has one value for all its events");
        return std::nullopt;
    }
    return amplitudes;
}

void addConfounds(const DesignRequest& request, Design& design, std::vector<std::string>& notes) {
    const std::string& path = *request.confoundsPath;
    const TsvTable table = readConfoundsFile(path);
    if (table.readingNote()) {
        notes.push_back(*table.readingNote());
    }
    const auto volumes = static_cast<std::size_t>(request.timing.volumes);
    if (table.rowCount() != volumes) {
        throw InputError(path + ": " + plural(table.rowCount(), "row", "rows") +
                         ", but the run has " + plural(volumes, "volume", "volumes") +
                         (request.dummies > 0
                              ? " (" +
                                    std::to_string(table.rowCount() -
                                                   std::min(table.rowCount(), request.dummies)) +
                                    " against " + std::to_string(design.rows) + " after the " +
                                    plural(request.dummies, "dummy", "dummies") + " dropped)"
                              : std::string()) +
                         "; the table needs one row per volume");
    }
    std::size_t cells = 0;
    std::size_t columns = 0;
    const StrategyColumns strategy =
        strategyColumns(table, request.strategy, request.dummies, notes);
    std::vector<std::size_t> picked = strategy.columns;
    for (const std::size_t column : pickColumns(table, request.confoundPatterns)) {
        if (std::find(picked.begin(), picked.end(), column) == picked.end()) {
            picked.push_back(column);
        }
    }
    for (const std::size_t column : picked) {
        ConfoundColumn confound = confoundColumn(table, column, request.dummies);
        if (confound.leadingMissing > 0) {
            cells += confound.leadingMissing;
            ++columns;
        }
        if (request.zTransform &&
            !response::zTransformColumn(confound.values.data(),
                                        static_cast<std::int32_t>(confound.values.size()))) {
            notes.push_back("confound " + confound.name +
                            " does not vary: its z-transformed values are set to 0");
        }
        design.predictors.push_back({confound.name, kConfoundColor, std::move(confound.values)});
        ++design.confounds;
    }
    for (std::size_t i = 0; i < strategy.censored.size(); ++i) {
        std::vector<double> spike(design.rows, 0.0);
        spike[strategy.censored[i]] = 1.0;
        design.predictors.push_back({spikeColumnName(i), kConfoundColor, std::move(spike)});
        ++design.confounds;
    }
    if (cells > 0) {
        notes.push_back(path + ": n/a in the first rows of " +
                        plural(columns, "confound column", "confound columns") + ": " +
                        plural(cells, "cell", "cells") + " set to 0");
    }
}

}  // namespace

Design buildDesign(const DesignRequest& request, std::vector<std::string>& notes) {
    const EventsFile file = readEventsFile(request.eventsPath);
    if (file.table.readingNote()) {
        notes.push_back(*file.table.readingNote());
    }
    const auto volumes =
        static_cast<std::size_t>(std::max<std::int64_t>(request.timing.volumes, 0));
    if (const auto past =
            eventsPastRunEnd(file, request.timing.volumes, request.timing.repetitionTime)) {
        notes.push_back(*past);
    }
    if (request.dummies >= volumes) {
        throw InputError("--dummy " + std::to_string(request.dummies) +
                         " leaves none of the run's " + plural(volumes, "volume", "volumes"));
    }
    Design design;
    design.rows = volumes - request.dummies;
    const VolumeTimes times(design.rows, request.timing.repetitionTime, request.dummies,
                            request.sliceReference);

    if (file.untyped > 0) {
        notes.push_back(
            request.eventsPath + ": " + plural(file.untyped, "event has", "events have") +
            " no trial_type (n/a) and " + (file.untyped == 1 ? "is" : "are") + " left out");
    }
    const std::size_t impulses = static_cast<std::size_t>(std::count_if(
        file.events.begin(), file.events.end(), [](const Event& e) { return !e.duration; }));
    if (impulses > 0) {
        notes.push_back(request.eventsPath + ": " + plural(impulses, "event has", "events have") +
                        " a duration of n/a, taken as an impulse");
    }

    const std::vector<ConditionEvents> conditions = groupByCondition(file);
    std::vector<std::vector<StimulusEvent>> conditionStimuli;
    for (std::size_t c = 0; c < conditions.size(); ++c) {
        conditionStimuli.push_back(
            stimuli(conditions[c].events, std::vector<double>(conditions[c].events.size(), 1.0)));
        std::vector<double> values = eventResponse(request.function, conditionStimuli[c], times);
        if (allZero(values)) {
            notes.push_back("warning: condition " + conditions[c].name +
                            " has no response within the run's volumes");
        }
        design.predictors.push_back({conditions[c].name, conditionColor(c), std::move(values)});
    }
    if (request.derivatives) {
        for (std::size_t c = 0; c < conditions.size(); ++c) {
            std::vector<double> slope =
                eventResponseSlope(request.function, conditionStimuli[c], times);
            orthogonalise(slope, design.predictors[c].values);
            design.predictors.push_back(
                {conditions[c].name + " derivative", conditionColor(c), std::move(slope)});
        }
    }
    if (request.modulation) {
        const std::vector<std::optional<double>> values = eventValues(file, *request.modulation);
        for (std::size_t c = 0; c < conditions.size(); ++c) {
            const auto amplitudes = modulationAmplitudes(
                file, conditions[c], values, *request.modulation, request.modulationNaMean, notes);
            if (amplitudes) {
                design.predictors.push_back(
                    {conditions[c].name + " x " + *request.modulation, conditionColor(c),
                     eventResponse(request.function, stimuli(conditions[c].events, *amplitudes),
                                   times)});
            }
        }
    }
    if (request.confoundsPath) {
        addConfounds(request, design, notes);
    }
    design.predictors.push_back(
        {"Constant", kConstantColor, std::vector<double>(design.rows, 1.0)});
    return design;
}

}  // namespace bids
