#include "bids/Regressors.h"

#include <cmath>

namespace bids {

void VolumeTimes::volumesAround(double from, double to, std::size_t& first,
                                std::size_t& last) const {
    first = 0;
    last = 0;
    if (count_ == 0) {
        return;
    }
    const double low = std::floor(from / repetitionTime_ - offset_) - 1.0;
    const double high = std::ceil(to / repetitionTime_ - offset_) + 1.0;
    const auto end = static_cast<double>(count_);
    if (!(high >= 0.0) || !(low < end)) {
        return;
    }
    first = low <= 0.0 ? 0 : static_cast<std::size_t>(low);
    last = high >= end - 1.0 ? count_ : static_cast<std::size_t>(high) + 1;
}

namespace {

// Adds each event's `term` over the volumes its response reaches: from its onset to 32 s after
// its end.
template <typename Term>
std::vector<double> sumOverEvents(const std::vector<StimulusEvent>& events,
                                  const VolumeTimes& times, Term term) {
    std::vector<double> sums(times.count(), 0.0);
    for (const StimulusEvent& event : events) {
        std::size_t first = 0;
        std::size_t last = 0;
        times.volumesAround(event.onset, event.onset + event.duration + headless::kKernelSeconds,
                            first, last);
        for (std::size_t k = first; k < last; ++k) {
            sums[k] += term(event, times.at(k));
        }
    }
    return sums;
}

}  // namespace

std::vector<double> eventResponse(headless::ResponseFunction function,
                                  const std::vector<StimulusEvent>& events,
                                  const VolumeTimes& times) {
    return sumOverEvents(events, times, [function](const StimulusEvent& event, double t) {
        if (event.duration > 0.0) {
            return headless::blockResponse(function, event.onset, event.onset + event.duration,
                                           event.amplitude, t);
        }
        return event.amplitude * headless::kernelValue(function, t - event.onset);
    });
}

std::vector<double> eventResponseSlope(headless::ResponseFunction function,
                                       const std::vector<StimulusEvent>& events,
                                       const VolumeTimes& times) {
    return sumOverEvents(events, times, [function](const StimulusEvent& event, double t) {
        if (event.duration > 0.0) {
            return event.amplitude *
                   (headless::kernelValue(function, t - event.onset) -
                    headless::kernelValue(function, t - event.onset - event.duration));
        }
        return event.amplitude * headless::kernelSlope(function, t - event.onset);
    });
}

void orthogonalise(std::vector<double>& column, const std::vector<double>& against) {
    double product = 0.0;
    double norm = 0.0;
    for (std::size_t k = 0; k < column.size() && k < against.size(); ++k) {
        product += column[k] * against[k];
        norm += against[k] * against[k];
    }
    if (!(norm > 0.0)) {
        return;
    }
    const double factor = product / norm;
    for (std::size_t k = 0; k < column.size() && k < against.size(); ++k) {
        column[k] -= factor * against[k];
    }
}

}  // namespace bids
