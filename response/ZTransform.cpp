#include "response/ZTransform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace response {

namespace {

struct Moments {
    double mean = 0.0;
    double deviation = 0.0;
};

// Mean and population standard deviation, summed in index order, of the values each divided
// by scale.
Moments momentsOf(const double* values, std::size_t count, double scale) {
    Moments moments;
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += values[i] / scale;
    }
    moments.mean = sum / static_cast<double>(count);
    double squares = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double difference = values[i] / scale - moments.mean;
        squares += difference * difference;
    }
    moments.deviation = std::sqrt(squares / static_cast<double>(count));
    return moments;
}

}  // namespace

bool zTransformColumn(double* values, std::int32_t n) {
    if (n <= 0) {
        return true;
    }
    const auto count = static_cast<std::size_t>(n);
    // Equal values do not vary, whatever rounding their mean takes: 200 values of 0.1 sum to a
    // mean a little off 0.1, and would otherwise come out as -1 everywhere.
    if (std::all_of(values, values + count, [&](double v) { return v == values[0]; })) {
        std::fill(values, values + count, 0.0);
        return false;
    }
    Moments moments = momentsOf(values, count, 1.0);
    if (!std::isfinite(moments.mean) || !std::isfinite(moments.deviation)) {
        // The sums overflowed: the transformation does not depend on the scale, so the values
        // are summed again divided by their largest magnitude.
        double largest = 0.0;
        for (std::size_t i = 0; i < count; ++i) {
            largest = std::max(largest, std::fabs(values[i]));
        }
        if (std::isfinite(largest) && largest > 0.0) {
            moments = momentsOf(values, count, largest);
            for (std::size_t i = 0; i < count; ++i) {
                values[i] /= largest;
            }
        }
    }
    if (!(moments.deviation > 0.0) || !std::isfinite(moments.deviation) ||
        !std::isfinite(moments.mean)) {
        std::fill(values, values + count, 0.0);
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = (values[i] - moments.mean) / moments.deviation;
    }
    return true;
}

}  // namespace response
