#include "response/EventResponse.h"

#include <cmath>

namespace response {

void SampleTimes::around(double from, double to, std::size_t& first, std::size_t& last) const {
    first = 0;
    last = 0;
    if (count_ == 0) {
        return;
    }
    const double seconds = step_ / divisor_;
    const double low = std::floor(from / seconds - offset_) - 1.0;
    const double high = std::ceil(to / seconds - offset_) + 1.0;
    const auto end = static_cast<double>(count_);
    if (!(high >= 0.0) || !(low < end)) {
        return;
    }
    first = low <= 0.0 ? 0 : static_cast<std::size_t>(low);
    last = high >= end - 1.0 ? count_ : static_cast<std::size_t>(high) + 1;
}

namespace {

// Adds each event's `term` over the samples its response reaches: from its start to 32 s after
// its end (outside them every term is exactly 0).
template <typename Term>
std::vector<double> sumOverEvents(std::span<const Event> events, const SampleTimes& times,
                                  Term term) {
    std::vector<double> sums(times.count(), 0.0);
    for (const Event& event : events) {
        std::size_t first = 0;
        std::size_t last = 0;
        times.around(event.start, (event.impulse ? event.start : event.end) + kKernelSeconds, first,
                     last);
        for (std::size_t k = first; k < last; ++k) {
            sums[k] += term(event, times.at(k));
        }
    }
    return sums;
}

}  // namespace

std::vector<double> eventResponse(ResponseFunction function, std::span<const Event> events,
                                  const SampleTimes& times) {
    return sumOverEvents(events, times, [function](const Event& event, double t) {
        if (event.impulse) {
            return event.value * kernelValue(function, t - event.start);
        }
        return blockResponse(function, event.start, event.end, event.value, t);
    });
}

std::vector<double> eventResponseSlope(ResponseFunction function, std::span<const Event> events,
                                       const SampleTimes& times) {
    return sumOverEvents(events, times, [function](const Event& event, double t) {
        if (event.impulse) {
            return event.value * kernelSlope(function, t - event.start);
        }
        return event.value *
               (kernelValue(function, t - event.start) - kernelValue(function, t - event.end));
    });
}

}  // namespace response
