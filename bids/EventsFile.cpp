#include "bids/EventsFile.h"

#include <algorithm>
#include <cstdio>

#include "bids/InputError.h"

namespace bids {

namespace {

std::size_t requiredColumn(const TsvTable& table, std::string_view name) {
    const std::optional<std::size_t> column = table.column(name);
    if (!column) {
        throw InputError(table.path() + ": line 1 (the header) has no " + std::string(name) +
                         " column; an events file needs onset and duration");
    }
    return *column;
}

EventsFile eventsOf(TsvTable table) {
    EventsFile file;
    const std::size_t onsetColumn = requiredColumn(table, "onset");
    const std::size_t durationColumn = requiredColumn(table, "duration");
    const std::optional<std::size_t> typeColumn = table.column("trial_type");
    if (table.rowCount() == 0) {
        throw InputError(table.path() + ": the file holds a header line but no events");
    }
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        Event event;
        event.row = row;
        event.onset = table.number(row, onsetColumn);
        event.duration = table.optionalNumber(row, durationColumn);
        if (event.duration && *event.duration < 0.0) {
            throw InputError(cellPlace(table.path(), row, "duration") + ": the duration " +
                             std::string(table.cell(row, durationColumn)) + " is negative");
        }
        if (!typeColumn) {
            event.condition = kSingleCondition;
        } else if (const std::string_view type = table.cell(row, *typeColumn);
                   !type.empty() && type != kMissing) {
            event.condition = type;
        }
        if (!event.condition) {
            ++file.untyped;
        } else if (std::find(file.conditions.begin(), file.conditions.end(), *event.condition) ==
                   file.conditions.end()) {
            file.conditions.emplace_back(*event.condition);
        }
        file.events.push_back(event);
    }
    file.table = std::move(table);
    return file;
}

}  // namespace

EventsFile readEventsFile(const std::string& path) {
    return eventsOf(TsvTable::read(path));
}

EventsFile parseEventsFile(std::string path, std::string text) {
    return eventsOf(TsvTable::parse(std::move(path), std::move(text)));
}

std::vector<std::optional<double>> eventValues(const EventsFile& file, std::string_view column) {
    const std::optional<std::size_t> index = file.table.column(column);
    if (!index) {
        throw InputError(file.table.path() + ": line 1 (the header) has no column " +
                         std::string(column));
    }
    std::vector<std::optional<double>> values;
    values.reserve(file.events.size());
    for (const Event& event : file.events) {
        values.push_back(file.table.optionalNumber(event.row, *index));
    }
    return values;
}

std::optional<std::string> eventsPastRunEnd(const EventsFile& file, std::int64_t volumes,
                                            double repetitionTime) {
    const double end = static_cast<double>(volumes) * repetitionTime;
    std::size_t past = 0;
    const Event* first = nullptr;
    for (const Event& event : file.events) {
        if (event.onset >= end) {
            ++past;
            first = first == nullptr ? &event : first;
        }
    }
    if (past == 0) {
        return std::nullopt;
    }
    char text[160];
    std::snprintf(text, sizeof text,
                  "%zu event(s) start at or after the run's end (%lld volumes x %.9g s = %.9g s); "
                  "the first at ",
                  past, static_cast<long long>(volumes), repetitionTime, end);
    return "warning: " + file.table.path() + ": " + text + rowPlace("", first->row).substr(2) +
           ": they add nothing to the run's predictors";
}

}  // namespace bids
