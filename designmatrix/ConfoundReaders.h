#pragma once

// Readers of confound files in the design-matrix (*.sdm) and reference time-course (*.rtc)
// layouts. Each always returns a record; success shows only in its readOk. Progress and failures
// go to the host's log.

#include <cstdint>

#include "designmatrix/DesignMatrixFile.h"

namespace designmatrix {

DesignMatrixFilePtr readMotionEstimatesRtc(const char* path);
DesignMatrixFilePtr readMotionEstimatesSdm(const char* path);
// kind: kHeartRateKind or kRespirationKind.
DesignMatrixFilePtr readConfoundsRtc(const char* path, std::int32_t kind);
DesignMatrixFilePtr readConfoundsSdm(const char* path, std::int32_t kind);

}  // namespace designmatrix
