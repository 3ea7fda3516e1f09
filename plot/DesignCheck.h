#pragma once

// The design check: how close two predictors come to each other, and how close the design as a
// whole comes to having linearly dependent columns.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formats/DesignTable.h"

namespace plot {

using formats::DesignTable;
using formats::PredictorRole;

inline constexpr double kCorrelationWarning = 0.9;   // warn when |r| is above this
inline constexpr double kConditionWarning = 1000.0;  // warn when the condition number is above
inline constexpr std::size_t kMaximumPairWarnings = 10;

struct CorrelatedPair {
    std::size_t first = 0;  // predictor indices, from 0, first < second
    std::size_t second = 0;
    double r = 0.0;  // Pearson correlation
};

struct DesignCheck {
    // The pair of non-constant predictors with the largest |r| (the first such pair on a tie);
    // none with fewer than two non-constant predictors.
    std::optional<CorrelatedPair> largestCorrelation;
    // Every pair of non-constant predictors with |r| above kCorrelationWarning, in predictor
    // order.
    std::vector<CorrelatedPair> highCorrelations;
    // Largest over smallest singular value after scaling every column to unit length; infinity
    // when the columns are linearly dependent (an all-zero column, fewer volumes than
    // predictors, or a smallest singular value below the rounding level).
    double conditionNumber = 0.0;
};

// Checks the design. The table holds at least one predictor and one volume.
DesignCheck checkDesign(const DesignTable& table);

// The check as lines for standard error, each beginning with `label` (the file): the largest
// correlation, the condition number, then a warning line for each pair above the correlation
// threshold (at most kMaximumPairWarnings, then how many more) and one for the condition number.
std::vector<std::string> describeDesignCheck(const DesignTable& table, const DesignCheck& check,
                                             const std::string& label);

// The condition number as the check shows it: two decimals, exponent form from a million,
// "infinite".
std::string conditionText(double condition);

// The values scaled by their largest magnitude, so that sums of squares cannot overflow.
std::vector<double> scaledToUnitPeak(const std::vector<double>& values);

}  // namespace plot
