#include "designmatrix/ZTransform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "designmatrix/RecordDescription.h"
#include "host/HostOperations.h"

namespace designmatrix {

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

void transformLogged(std::vector<double>& column, std::int32_t nrOfDataPoints, std::size_t index,
                     const DesignMatrixFile& record) {
    // Never past the column's end, whatever the header said.
    const auto available = static_cast<std::int32_t>(
        std::min<std::size_t>(column.size(), static_cast<std::size_t>(INT32_MAX)));
    if (!zTransformColumn(column.data(), std::min(nrOfDataPoints, available))) {
        host::logFormat("Column %zu of %s does not vary: its z-transformed values are set to 0.",
                        index + 1, describeRecord(record).c_str());
    }
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

void zTransformMotion(DesignMatrixFile& record) {
    for (std::size_t j = 0; j < record.motionColumns.size(); ++j) {
        transformLogged(record.motionColumns[j], record.nrOfDataPoints, j, record);
    }
    record.zTransformed = true;
}

void zTransformPredictors(DesignMatrixFile& record) {
    const std::size_t columns = std::min<std::size_t>(
        record.predictorValues.size(),
        static_cast<std::size_t>(std::max<std::int32_t>(record.nrOfPredictors, 0)));
    for (std::size_t j = 0; j < columns; ++j) {
        transformLogged(record.predictorValues[j], record.nrOfDataPoints, j, record);
    }
    record.zTransformed = true;
}

}  // namespace designmatrix
