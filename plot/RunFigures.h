#pragma once

// The figures of one run's design for the study's quality page: its size, how collinear its
// predictors are (condition number, largest correlations, variance inflation), how well each
// condition can be estimated against baseline, predictors that are zero throughout, and how
// much the head moved.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formats/DesignTable.h"
#include "plot/FramewiseDisplacement.h"

namespace plot {

using formats::DesignTable;
using formats::PredictorRole;

struct NamedCorrelation {
    std::string first;
    std::string second;
    double r = 0.0;
};

struct NamedFigure {
    std::string name;
    double value = 0.0;  // NaN: none (the predictor does not vary)
};

struct RunFigures {
    std::size_t volumes = 0;
    std::size_t predictors = 0;
    double conditionNumber = 0.0;  // as the design check computes it
    // The largest |r| between two task predictors, and between a task predictor and a confound.
    std::optional<NamedCorrelation> maxTask;
    std::optional<NamedCorrelation> maxConfound;
    // Per task predictor, in predictor order: 1 / (1 - R^2) of its regression on every other
    // column and a constant (infinite when it lies in their span), and 1 / (c (X'X)^-1 c') with c
    // picking it (0 when it cannot be estimated).
    std::vector<NamedFigure> vif;
    std::vector<NamedFigure> efficiency;
    std::vector<std::string> zeroPredictors;  // task and confound predictors zero throughout
    std::optional<DisplacementSummary> displacement;
    // The correlations of the predictors but the constant, for the heat map: their names, then
    // row after row of the upper triangle without the diagonal; NaN where a column does not vary.
    std::vector<std::string> correlationNames;
    std::vector<double> correlations;

    double largestVif() const;          // NaN without a task predictor that varies
    double smallestEfficiency() const;  // NaN without a task predictor
};

// The figures of a table with at least one predictor and one volume. The displacement comes from
// `motion` when given (the run's motion file), else from the table's own motion columns.
RunFigures computeRunFigures(const DesignTable& table, const DesignTable* motion = nullptr);

// The squared length of what is left of column `target` after its projection on the span of
// `others` (indices into `columns`, all of one length).
double residualSquares(const std::vector<std::vector<double>>& columns, std::size_t target,
                       const std::vector<std::size_t>& others);

}  // namespace plot
