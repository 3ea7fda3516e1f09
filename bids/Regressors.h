#pragma once

// Predictors from BIDS events at the volume times, through the response loop the host convolves
// with (response/EventResponse.h).

#include <cstddef>
#include <vector>

#include "response/EventResponse.h"

namespace bids {

struct StimulusEvent {
    double onset = 0.0;     // seconds
    double duration = 0.0;  // seconds; 0 is an impulse of area 1 s x amplitude
    double amplitude = 1.0;
};

// The times of the volumes kept: volume k (from 0, after `dummies` dropped) is sampled at
// (k + dummies + sliceReference) x TR, worked out for each volume.
class VolumeTimes : public response::SampleTimes {
  public:
    VolumeTimes(std::size_t count, double repetitionTime, std::size_t dummies,
                double sliceReference)
        : SampleTimes(count, repetitionTime, 1.0, static_cast<double>(dummies) + sliceReference) {}
};

// The response to the events at each volume time, summed in event order.
std::vector<double> eventResponse(response::ResponseFunction function,
                                  const std::vector<StimulusEvent>& events,
                                  const VolumeTimes& times);

// The exact time derivative of eventResponse.
std::vector<double> eventResponseSlope(response::ResponseFunction function,
                                       const std::vector<StimulusEvent>& events,
                                       const VolumeTimes& times);

// Removes from `column` its projection on `against` (over all their values): afterwards the two
// are orthogonal. Changes nothing when `against` is all zeros.
void orthogonalise(std::vector<double>& column, const std::vector<double>& against);

}  // namespace bids
