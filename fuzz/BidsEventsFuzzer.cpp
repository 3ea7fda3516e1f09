// Any bytes as a BIDS events file: either events with finite onsets, durations that are n/a or
// finite and not negative, and every typed event's condition among the conditions, once each; or
// one refusal that names the file. Every column then reads as numbers or is refused by name.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "bids/EventsFile.h"
#include "bids/InputError.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr char kPath[] = "sub-01_task-x_events.tsv";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    bids::EventsFile file;
    try {
        file = bids::parseEventsFile(kPath, std::move(text));
    } catch (const bids::InputError& error) {
        FUZZ_CHECK(std::string(error.what()).starts_with(kPath), "a refusal names no file");
        return 0;
    }
    FUZZ_CHECK(!file.events.empty(), "a file without events is read");
    const std::set<std::string> conditions(file.conditions.begin(), file.conditions.end());
    FUZZ_CHECK(conditions.size() == file.conditions.size(), "a condition is listed twice");
    std::size_t untyped = 0;
    for (const bids::Event& event : file.events) {
        FUZZ_CHECK(std::isfinite(event.onset), "an onset is not finite");
        if (event.duration) {
            FUZZ_CHECK(std::isfinite(*event.duration) && *event.duration >= 0.0,
                       "a duration is negative or not finite");
        }
        if (event.condition) {
            FUZZ_CHECK(conditions.contains(std::string(*event.condition)),
                       "an event's condition is not among the conditions");
        } else {
            ++untyped;
        }
    }
    FUZZ_CHECK(untyped == file.untyped, "the untyped events are miscounted");
    for (const auto& column : file.table.header()) {
        try {
            const auto values = bids::eventValues(file, column);
            FUZZ_CHECK(values.size() == file.events.size(), "a column's values are miscounted");
            for (const auto& value : values) {
                FUZZ_CHECK(!value || std::isfinite(*value), "a column value is not finite");
            }
        } catch (const bids::InputError& error) {
            FUZZ_CHECK(std::string(error.what()).starts_with(kPath),
                       "a column's refusal names no file");
        }
    }
    return 0;
}
