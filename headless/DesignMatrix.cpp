#include "headless/DesignMatrix.h"

#include <utility>

namespace headless {

std::vector<PredictorEvent> conditionEvents(const ProtocolCondition& condition,
                                            TimeResolution resolution, double repetitionTimeMs,
                                            double value) {
    std::vector<PredictorEvent> events;
    const double tr = repetitionTimeMs / 1000.0;
    for (std::size_t i = 0; i < condition.starts.size() && i < condition.ends.size(); ++i) {
        PredictorEvent event;
        if (resolution == TimeResolution::Volumes) {
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

void DesignMatrix::fill(Predictor& predictor, std::vector<PredictorEvent> events,
                        std::int32_t color) {
    predictor.events = std::move(events);
    predictor.conditionColor = color;
    for (int k = 0; k < nrOfVolumes_; ++k) {
        const double t = volumeTime(k);
        float value = 0.0f;
        for (const PredictorEvent& event : predictor.events) {
            if (t >= event.start && (t < event.end || (event.endIncluded && t == event.end))) {
                value = static_cast<float>(event.value);
            }
        }
        predictor.values[static_cast<std::size_t>(k)] = value;
    }
}

void DesignMatrix::convolve(Predictor& predictor, ResponseFunction function) {
    std::vector<PredictorEvent> events = predictor.events;
    if (events.empty()) {
        const double tr = repetitionTimeMs_ / 1000.0;
        for (int k = 0; k < nrOfVolumes_; ++k) {
            const float value = predictor.values[static_cast<std::size_t>(k)];
            if (value != 0.0f) {
                events.push_back({volumeTime(k), volumeTime(k) + tr, false, value});
            }
        }
    }
    for (int k = 0; k < nrOfVolumes_; ++k) {
        const double t = volumeTime(k);
        double sum = 0.0;
        for (const PredictorEvent& event : events) {
            sum += blockResponse(function, event.start, event.end, event.value, t);
        }
        predictor.values[static_cast<std::size_t>(k)] = static_cast<float>(sum);
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
