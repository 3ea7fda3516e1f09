#include "headless/DesignMatrix.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "response/EventResponse.h"

namespace headless {

std::vector<PredictorEvent> conditionEvents(const formats::ProtocolCondition& condition,
                                            formats::TimeResolution resolution,
                                            double repetitionTimeMs, double value) {
    std::vector<PredictorEvent> events;
    const double tr = repetitionTimeMs / 1000.0;
    for (std::size_t i = 0; i < condition.starts.size() && i < condition.ends.size(); ++i) {
        PredictorEvent event;
        if (resolution == formats::TimeResolution::Volumes) {
            event.start = (condition.starts[i] - 1) * tr;
            event.end = condition.ends[i] * tr;
            event.endIncluded = false;
        } else {
            event.start = condition.starts[i] / 1000.0;
            event.end = condition.ends[i] / 1000.0;
            event.endIncluded = true;
        }
        event.value = value;
        events.push_back(event);
    }
    return events;
}

void DesignMatrix::reset(int nrOfVolumes, double repetitionTimeMs) {
    nrOfVolumes_ = nrOfVolumes;
    repetitionTimeMs_ = repetitionTimeMs;
    predictors_.clear();
}

void DesignMatrix::addPredictor(std::string name) {
    Predictor predictor;
    predictor.name = std::move(name);
    predictor.values.assign(static_cast<std::size_t>(nrOfVolumes_), 0.0f);
    predictors_.push_back(std::move(predictor));
}

Predictor* DesignMatrix::find(std::string_view name) {
    for (auto it = predictors_.rbegin(); it != predictors_.rend(); ++it) {
        if (it->name == name) {
            return &*it;
        }
    }
    return nullptr;
}

namespace {

// The volumes from `first` to `last` seconds, widened by one on each side and cut to the run: a
// superset of the volumes whose times lie in [first, last].
std::pair<int, int> volumesAround(double first, double last, double tr, int nrOfVolumes) {
    const auto clamp = [nrOfVolumes](double k) {
        return k < 0.0 ? 0 : k > nrOfVolumes - 1 ? nrOfVolumes - 1 : static_cast<int>(k);
    };
    return {clamp(std::floor(first / tr) - 1.0), clamp(std::ceil(last / tr) + 1.0)};
}

}  // namespace

void DesignMatrix::fill(Predictor& predictor, std::vector<PredictorEvent> events,
                        std::int32_t color) {
    predictor.events = std::move(events);
    predictor.conditionColor = color;
    std::fill(predictor.values.begin(), predictor.values.end(), 0.0f);
    if (nrOfVolumes_ <= 0) {
        return;
    }
    // Event by event over the volumes near it; where events overlap, the later one's value
    // stays.
    const double tr = repetitionTimeMs_ / 1000.0;
    for (const PredictorEvent& event : predictor.events) {
        const auto [first, last] = volumesAround(event.start, event.end, tr, nrOfVolumes_);
        for (int k = first; k <= last; ++k) {
            const double t = volumeTime(k);
            if (t >= event.start && (t < event.end || (event.endIncluded && t == event.end))) {
                predictor.values[static_cast<std::size_t>(k)] = static_cast<float>(event.value);
            }
        }
    }
}

void DesignMatrix::convolve(Predictor& predictor, response::ResponseFunction function) {
    // The predictor's events, or, when it has none, a block of each volume's value.
    std::vector<response::Event> blocks;
    blocks.reserve(predictor.events.size());
    for (const PredictorEvent& event : predictor.events) {
        blocks.push_back({event.start, event.end, event.value});
    }
    if (blocks.empty()) {
        const double tr = repetitionTimeMs_ / 1000.0;
        for (int k = 0; k < nrOfVolumes_; ++k) {
            const float value = predictor.values[static_cast<std::size_t>(k)];
            if (value != 0.0f) {
                blocks.push_back({volumeTime(k), volumeTime(k) + tr, value});
            }
        }
    }
    const std::vector<double> sums = response::eventResponse(
        function, blocks,
        response::SampleTimes(static_cast<std::size_t>(std::max(nrOfVolumes_, 0)),
                              repetitionTimeMs_, 1000.0));
    for (std::size_t k = 0; k < sums.size(); ++k) {
        predictor.values[k] = static_cast<float>(sums[k]);
    }
    // The values are now the convolved predictor; a further convolution starts from them.
    predictor.events.clear();
}

float* DesignMatrix::values(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= predictors_.size()) {
        return nullptr;
    }
    return predictors_[static_cast<std::size_t>(index)].values.data();
}

}  // namespace headless
