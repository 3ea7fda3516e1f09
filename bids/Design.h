#pragma once

// A design matrix made straight from a BIDS events file: one predictor per condition, their
// derivatives and parametric modulations, confounds picked from an fMRIPrep table, and the
// constant last.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bids/ConfoundStrategy.h"
#include "bids/RunTiming.h"
#include "response/ResponseFunction.h"

namespace bids {

struct DesignRequest {
    std::string eventsPath;
    RunTiming timing;
    std::size_t dummies = 0;      // volumes dropped from the start of the run
    double sliceReference = 0.0;  // volume k is sampled at (k + dummies + this) x TR
    response::ResponseFunction function = response::ResponseFunction::TwoGamma;
    bool derivatives = false;
    std::optional<std::string> modulation;  // the events column whose values modulate
    bool modulationNaMean = false;          // an n/a among values takes its condition's mean
    std::optional<std::string> confoundsPath;
    ConfoundStrategy strategy;  // its columns first, then those of the patterns
    std::vector<std::string> confoundPatterns;
    bool zTransform = false;  // z-transform the confound columns (the spike columns stay 0/1)
};

struct DesignPredictor {
    std::string name;
    std::int32_t color = 0;      // 0xRRGGBB
    std::vector<double> values;  // one per volume kept
};

struct Design {
    std::size_t rows = 0;
    // Conditions, their derivatives, their modulations, the confounds, then "Constant".
    std::vector<DesignPredictor> predictors;
    std::size_t confounds = 0;  // how many predictors before the constant are confounds
    bool constant = true;       // the last predictor is the constant

    // FirstConfoundPredictor: the number (from 1) of the first confound, or of the constant
    // when there is no confound.
    std::size_t firstConfound() const {
        return predictors.size() - confounds - (constant ? 1 : 0) + 1;
    }
};

inline constexpr std::int32_t kConfoundColor = 0x808080;
inline constexpr std::int32_t kConstantColor = 0xFFFFFF;

// Builds the design. Notes (events without a condition, durations of n/a, confound cells of n/a
// set to 0, predictors left out) go to `notes`. InputError naming file, row and column for input
// that cannot be used: see the readers, and a modulation with n/a beside values in one
// condition, a confound table whose rows are not the run's volumes, dummies that leave no volume.
Design buildDesign(const DesignRequest& request, std::vector<std::string>& notes);

}  // namespace bids
