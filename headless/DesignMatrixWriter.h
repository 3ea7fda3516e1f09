#pragma once

// The design matrix file as the host saves it (*.sdm, text, version 1): header, one colour
// triple per predictor, the quoted names (blanks kept) and one row of values per volume.

#include <string>
#include <vector>

#include "headless/DesignMatrix.h"

namespace headless {

inline constexpr char kConstantName[] = "Constant";

// 1 when the last predictor is named "Constant" and holds 1 in every volume, else 0.
int includesConstant(const std::vector<Predictor>& predictors);

// The whole file text. Colours: a condition predictor its condition's colour, "Constant" white,
// any other grey. Values with six decimals.
std::string formatDesignMatrix(const DesignMatrix& matrix);

// Writes the design matrix to path. False (nothing written) when it has no predictor; false
// when the file cannot be written. `error` says why.
bool saveDesignMatrix(const DesignMatrix& matrix, const std::string& path, std::string& error);

}  // namespace headless
