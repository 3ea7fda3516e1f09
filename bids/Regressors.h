#pragma once

// Predictors from events, computed exactly at the volume times: a block's response is the
// difference of the response function's running integral (as the host convolves), an impulse's
// response is the response function itself, and the time derivative of either is exact too.

#include <cstddef>
#include <vector>

#include "headless/ResponseFunction.h"

namespace bids {

struct StimulusEvent {
    double onset = 0.0;     // seconds
    double duration = 0.0;  // seconds; 0 is an impulse of area 1 s x amplitude
    double amplitude = 1.0;
};

// The times of the volumes kept: volume k (from 0, after `dummies` dropped) is sampled at
// (k + dummies + sliceReference) x TR, worked out for each volume.
class VolumeTimes {
  public:
    VolumeTimes(std::size_t count, double repetitionTime, std::size_t dummies,
                double sliceReference)
        : count_(count),
          repetitionTime_(repetitionTime),
          offset_(static_cast<double>(dummies) + sliceReference) {}

    std::size_t count() const { return count_; }
    double at(std::size_t k) const { return (static_cast<double>(k) + offset_) * repetitionTime_; }
    // The first and one past the last volume whose time may lie in [from, to] seconds, widened by
    // one volume on each side; first >= last when none does.
    void volumesAround(double from, double to, std::size_t& first, std::size_t& last) const;

  private:
    std::size_t count_;
    double repetitionTime_;
    double offset_;
};

// The response to the events at each volume time, summed in event order.
std::vector<double> eventResponse(headless::ResponseFunction function,
                                  const std::vector<StimulusEvent>& events,
                                  const VolumeTimes& times);

// The exact time derivative of eventResponse.
std::vector<double> eventResponseSlope(headless::ResponseFunction function,
                                       const std::vector<StimulusEvent>& events,
                                       const VolumeTimes& times);

// Removes from `column` its projection on `against` (over all their values): afterwards the two
// are orthogonal. Changes nothing when `against` is all zeros.
void orthogonalise(std::vector<double>& column, const std::vector<double>& against);

}  // namespace bids
