#pragma once

// How the host saves its design matrix under construction: which predictor is the constant and
// which colour each predictor gets.

#include <string>
#include <vector>

#include "headless/DesignMatrix.h"

namespace headless {

inline constexpr char kConstantName[] = "Constant";

// 1 when the last predictor is named "Constant" and holds 1 in every volume, else 0.
int includesConstant(const std::vector<Predictor>& predictors);

// The whole file text. Colours: a condition predictor its condition's colour, "Constant" white,
// any other grey. FirstConfoundPredictor: the number of predictors with a constant, one more
// without.
std::string formatDesignMatrix(const DesignMatrix& matrix);

// Writes the design matrix to path. False (nothing written) when it has no predictor; false
// when the file cannot be written. `error` says why.
bool saveDesignMatrix(const DesignMatrix& matrix, const std::string& path, std::string& error);

}  // namespace headless
