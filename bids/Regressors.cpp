#include "bids/Regressors.h"

#include <cmath>

namespace bids {

namespace {

std::vector<response::Event> responseEvents(const std::vector<StimulusEvent>& events) {
    std::vector<response::Event> result;
    result.reserve(events.size());
    for (const StimulusEvent& event : events) {
        result.push_back(
            {event.onset, event.onset + event.duration, event.amplitude, !(event.duration > 0.0)});
    }
    return result;
}

}  // namespace

std::vector<double> eventResponse(response::ResponseFunction function,
                                  const std::vector<StimulusEvent>& events,
                                  const VolumeTimes& times) {
    return response::eventResponse(function, responseEvents(events), times);
}

std::vector<double> eventResponseSlope(response::ResponseFunction function,
                                       const std::vector<StimulusEvent>& events,
                                       const VolumeTimes& times) {
    return response::eventResponseSlope(function, responseEvents(events), times);
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
