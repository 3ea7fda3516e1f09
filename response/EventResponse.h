#pragma once

// Predictors from events, computed exactly at sample times: a block's response is the difference
// of the response function's running integral, an impulse's response is the response function
// itself, and the time derivative of either is exact too. Times are in seconds.

#include <cstddef>
#include <span>
#include <vector>

#include "response/ResponseFunction.h"

namespace response {

// A block of `value` from `start` to `end`, or, when `impulse`, an impulse of weight `value` at
// `start` (`end` unused).
struct Event {
    double start = 0.0;
    double end = 0.0;
    double value = 1.0;
    bool impulse = false;
};

// Sample k (from 0 to count - 1) is taken at (k + offset) x step / divisor seconds, worked out for
// each sample (the host gives its TR in milliseconds with divisor 1000).
class SampleTimes {
  public:
    SampleTimes(std::size_t count, double step, double divisor = 1.0, double offset = 0.0)
        : count_(count), step_(step), divisor_(divisor), offset_(offset) {}

    std::size_t count() const { return count_; }
    double at(std::size_t k) const { return (static_cast<double>(k) + offset_) * step_ / divisor_; }
    // The first and one past the last sample whose time may lie in [from, to] seconds, widened by
    // one sample on each side; first >= last when none does.
    void around(double from, double to, std::size_t& first, std::size_t& last) const;

  private:
    std::size_t count_;
    double step_;
    double divisor_;
    double offset_;
};

// The response to the events at each sample time, summed in event order.
std::vector<double> eventResponse(ResponseFunction function, std::span<const Event> events,
                                  const SampleTimes& times);

// The exact time derivative of eventResponse.
std::vector<double> eventResponseSlope(ResponseFunction function, std::span<const Event> events,
                                       const SampleTimes& times);

}  // namespace response
