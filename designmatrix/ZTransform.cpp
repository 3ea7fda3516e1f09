#include "designmatrix/ZTransform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "designmatrix/RecordDescription.h"
#include "host/HostOperations.h"
#include "response/ZTransform.h"

namespace designmatrix {

namespace {

void transformLogged(std::vector<double>& column, std::int32_t nrOfDataPoints, std::size_t index,
                     const DesignMatrixFile& record) {
    // Never past the column's end, whatever the header said.
    const auto available = static_cast<std::int32_t>(
        std::min<std::size_t>(column.size(), static_cast<std::size_t>(INT32_MAX)));
    if (!response::zTransformColumn(column.data(), std::min(nrOfDataPoints, available))) {
        host::logFormat("Column %zu of %s does not vary: its z-transformed values are set to 0.",
                        index + 1, describeRecord(record).c_str());
    }
}

}  // namespace

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
