#pragma once

// z-transformation of confound columns: each column is centred on its mean and divided by its
// population standard deviation (divisor n).

#include <cstdint>

#include "designmatrix/DesignMatrixFile.h"

namespace designmatrix {

// z-transforms the first n values in place; n <= 0 changes nothing. A column that does not vary
// (every value equal to the first, a single value included, or a standard deviation of zero)
// becomes all zeros and the result is false;
// so does one holding a value that is not finite. Never writes NaN or infinity.
bool zTransformColumn(double* values, std::int32_t n);

// The six motion columns, nrOfDataPoints values each; sets zTransformed. Logs one line per
// column that does not vary, naming the record's file.
void zTransformMotion(DesignMatrixFile& record);

// Every predictor column, nrOfDataPoints values each; sets zTransformed, also without columns.
// Logs one line per column that does not vary, naming the record's file.
void zTransformPredictors(DesignMatrixFile& record);

}  // namespace designmatrix
