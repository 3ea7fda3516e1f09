#pragma once

// The design matrix under construction: predictors of one length (the linked time course's
// number of volumes), each with the events it was filled from. Volume k (from 0) is sampled at
// t = k x TR.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Protocol.h"
#include "response/ResponseFunction.h"

namespace headless {

// A block of constant value, in seconds. A Volumes interval [s, e] covers [(s-1) TR, e TR);
// an msec interval [s, e] covers [s, e] ms, both ends included.
struct PredictorEvent {
    double start = 0.0;
    double end = 0.0;
    bool endIncluded = false;
    double value = 0.0;
};

struct Predictor {
    std::string name;
    std::vector<float> values;  // one per volume
    std::vector<PredictorEvent> events;
    std::optional<std::int32_t> conditionColor;  // set once filled from a condition
};

// The events of a condition's intervals, each with `value`.
std::vector<PredictorEvent> conditionEvents(const formats::ProtocolCondition& condition,
                                            formats::TimeResolution resolution,
                                            double repetitionTimeMs, double value);

class DesignMatrix {
  public:
    // Empties the matrix; later predictors get nrOfVolumes values, sampled every TR.
    void reset(int nrOfVolumes, double repetitionTimeMs);
    void clear() { predictors_.clear(); }

    // Appends a predictor of zeros.
    void addPredictor(std::string name);
    // The last added predictor of that name; null when there is none.
    Predictor* find(std::string_view name);
    // Replaces the predictor's events and values: volume k holds an event's value when its time
    // lies in the event.
    void fill(Predictor& predictor, std::vector<PredictorEvent> events, std::int32_t color);
    // Convolves the predictor with the kernel, exactly, and samples the result at the volume
    // times. A predictor without events is taken as one block per volume holding its value.
    void convolve(Predictor& predictor, response::ResponseFunction function);

    // Values of the predictor at the index; null when out of range. Valid until the matrix
    // changes.
    float* values(int index);

    const std::vector<Predictor>& predictors() const { return predictors_; }
    int nrOfVolumes() const { return nrOfVolumes_; }
    double repetitionTimeMs() const { return repetitionTimeMs_; }

  private:
    double volumeTime(int k) const { return k * repetitionTimeMs_ / 1000.0; }

    int nrOfVolumes_ = 0;
    double repetitionTimeMs_ = 0.0;
    std::vector<Predictor> predictors_;
};

}  // namespace headless
