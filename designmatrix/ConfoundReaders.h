#pragma once

// Readers of confound files in the design-matrix (*.sdm) and reference time-course (*.rtc)
// layouts. Each always returns a record; success shows only in its readOk. Progress and failures
// go to the host's log.

#include <cstdint>

#include "designmatrix/DesignMatrixFile.h"

namespace designmatrix {

// Six motion columns from a time-course file; the colours are the six fixed motion colours.
DesignMatrixFilePtr readMotionEstimatesRtc(const char* path);
// Six motion columns and their colours from a design-matrix file.
DesignMatrixFilePtr readMotionEstimatesSdm(const char* path);
// Every predictor of a time-course file, with generated colours (255, 255, 20 x i).
// kind: kHeartRateKind or kRespirationKind, stored as given.
DesignMatrixFilePtr readConfoundsRtc(const char* path, std::int32_t kind);
// The predictors of a design-matrix file without its constant (nrOfPredictors is the number
// kept, includesConstant 0). kind: kHeartRateKind or kRespirationKind, stored as given.
DesignMatrixFilePtr readConfoundsSdm(const char* path, std::int32_t kind);

}  // namespace designmatrix
