#pragma once

// z-transformation of the confound records' columns (the column rule is response/ZTransform.h),
// with a log line for each column that does not vary.

#include <cstdint>

#include "designmatrix/DesignMatrixFile.h"

namespace designmatrix {

// The six motion columns, nrOfDataPoints values each; sets zTransformed. Logs one line per
// column that does not vary, naming the record's file.
void zTransformMotion(DesignMatrixFile& record);

// Every predictor column, nrOfDataPoints values each; sets zTransformed, also without columns.
// Logs one line per column that does not vary, naming the record's file.
void zTransformPredictors(DesignMatrixFile& record);

}  // namespace designmatrix
