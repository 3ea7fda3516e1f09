#pragma once

// Base design matrices and confound records shared by the merge and dispatch tests.

#include <cstdint>
#include <string>

#include "designmatrix/DesignMatrixFile.h"

namespace mergefixtures {

// Three predictors over four data points, the last the constant; names with blanks, header keys
// padded as the host saves them.
std::string baseWithConstant(std::int32_t version = 1);
// Two predictors over four data points without a constant, CR LF line ends.
std::string baseWithoutConstant();

// Six motion columns of four values in several magnitudes.
designmatrix::DesignMatrixFile motionRecord();
// One heart-rate predictor holding 1, 2, 3, ... over `points` data points.
designmatrix::DesignMatrixFile heartRateRecord(std::int32_t points = 4);
// Two respiration predictors over `points` data points (at most 4).
designmatrix::DesignMatrixFile respirationRecord(std::int32_t points = 4);

// The golden file's bytes, with the line ends the platform's text mode writes.
std::string golden(const std::string& name);
// text with every "\n" turned into the platform's text line end.
std::string textLines(const std::string& text);

}  // namespace mergefixtures
