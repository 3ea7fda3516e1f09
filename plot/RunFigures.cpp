#include "plot/RunFigures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/DesignCheck.h"

namespace plot {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinite = std::numeric_limits<double>::infinity();
// A column whose length falls below this share of its own in the projection lies in the span.
constexpr double kDependent = 1e-10;

double dot(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0.0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        sum += a[k] * b[k];
    }
    return sum;
}

// Takes away from `x` its parts along the orthonormal `basis`, twice (the second pass mends what
// rounding left of the first).
void project(std::vector<double>& x, const std::vector<std::vector<double>>& basis) {
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& q : basis) {
            const double along = dot(x, q);
            for (std::size_t k = 0; k < x.size(); ++k) {
                x[k] -= along * q[k];
            }
        }
    }
}

bool zeroThroughout(const std::vector<double>& column) {
    return std::all_of(column.begin(), column.end(), [](double v) { return v == 0.0; });
}

// Pearson's r, NaN when either column does not vary.
double correlation(const std::vector<double>& a, const std::vector<double>& b) {
    const auto centred = [](const std::vector<double>& values) {
        std::vector<double> x = scaledToUnitPeak(values);
        double mean = 0.0;
        for (double v : x) {
            mean += v;
        }
        mean /= static_cast<double>(x.size());
        for (double& v : x) {
            v -= mean;
        }
        return x;
    };
    const std::vector<double> x = centred(a);
    const std::vector<double> y = centred(b);
    const double xx = dot(x, x);
    const double yy = dot(y, y);
    if (!(xx > 0.0) || !(yy > 0.0)) {
        return kNone;
    }
    return std::clamp(dot(x, y) / std::sqrt(xx * yy), -1.0, 1.0);
}

void keepLarger(std::optional<NamedCorrelation>& largest, const DesignTable& table, std::size_t a,
                std::size_t b, double r) {
    if (!std::isnan(r) && (!largest || std::abs(r) > std::abs(largest->r))) {
        largest = NamedCorrelation{table.names[a], table.names[b], r};
    }
}

void correlate(const DesignTable& table, RunFigures& figures) {
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < table.nrOfPredictors(); ++i) {
        if (table.roles[i] != PredictorRole::Constant) {
            kept.push_back(i);
            figures.correlationNames.push_back(table.names[i]);
        }
    }
    for (std::size_t a = 0; a < kept.size(); ++a) {
        for (std::size_t b = a + 1; b < kept.size(); ++b) {
            const std::size_t i = kept[a];
            const std::size_t j = kept[b];
            const double r = correlation(table.columns[i], table.columns[j]);
            figures.correlations.push_back(r);
            const bool taskI = table.roles[i] == PredictorRole::Task;
            const bool taskJ = table.roles[j] == PredictorRole::Task;
            if (taskI && taskJ) {
                keepLarger(figures.maxTask, table, i, j, r);
            } else if (taskI || taskJ) {
                keepLarger(figures.maxConfound, table, taskI ? i : j, taskI ? j : i, r);
            }
        }
    }
}

// VIF and efficiency of every task predictor.
void estimability(const DesignTable& table, RunFigures& figures) {
    const std::size_t count = table.nrOfPredictors();
    std::vector<std::vector<double>> columns = table.columns;
    bool hasConstant = false;
    for (std::size_t i = 0; i < count; ++i) {
        hasConstant = hasConstant || table.roles[i] == PredictorRole::Constant;
    }
    // The VIF's regression has a constant whether or not the design has one.
    const std::size_t constant = columns.size();
    columns.emplace_back(table.nrOfVolumes(), 1.0);
    for (std::size_t j = 0; j < count; ++j) {
        if (table.roles[j] != PredictorRole::Task) {
            continue;
        }
        std::vector<std::size_t> others;
        for (std::size_t i = 0; i < count; ++i) {
            if (i != j) {
                others.push_back(i);
            }
        }
        const double residual = residualSquares(columns, j, others);
        figures.efficiency.push_back({table.names[j], residual});
        if (!hasConstant) {
            others.push_back(constant);
        }
        const double withConstant = hasConstant ? residual : residualSquares(columns, j, others);
        const std::vector<double>& x = columns[j];
        double mean = 0.0;
        for (double v : x) {
            mean += v;
        }
        mean /= static_cast<double>(x.size());
        double total = 0.0;
        for (double v : x) {
            total += (v - mean) * (v - mean);
        }
        double vif = kNone;
        if (total > 0.0) {
            vif = withConstant > total * kDependent ? total / withConstant : kInfinite;
        }
        figures.vif.push_back({table.names[j], vif});
    }
}

}  // namespace

double residualSquares(const std::vector<std::vector<double>>& columns, std::size_t target,
                       const std::vector<std::size_t>& others) {
    std::vector<std::vector<double>> basis;
    for (std::size_t i : others) {
        std::vector<double> q = columns[i];
        const double before = dot(q, q);
        project(q, basis);
        const double after = dot(q, q);
        if (!(before > 0.0) || after <= before * kDependent * kDependent) {
            continue;  // zero, or in the span of the columns before it
        }
        const double norm = std::sqrt(after);
        for (double& v : q) {
            v /= norm;
        }
        basis.push_back(std::move(q));
    }
    std::vector<double> x = columns[target];
    const double before = dot(x, x);
    project(x, basis);
    const double after = dot(x, x);
    return after > before * kDependent * kDependent ? after : 0.0;
}

double RunFigures::largestVif() const {
    double largest = kNone;
    for (const auto& figure : vif) {
        if (!std::isnan(figure.value) && !(figure.value <= largest)) {
            largest = figure.value;
        }
    }
    return largest;
}

double RunFigures::smallestEfficiency() const {
    double smallest = kNone;
    for (const auto& figure : efficiency) {
        if (!(figure.value >= smallest)) {
            smallest = figure.value;
        }
    }
    return smallest;
}

RunFigures computeRunFigures(const DesignTable& table, const DesignTable* motion) {
    RunFigures figures;
    figures.volumes = table.nrOfVolumes();
    figures.predictors = table.nrOfPredictors();
    figures.conditionNumber = checkDesign(table).conditionNumber;
    correlate(table, figures);
    estimability(table, figures);
    for (std::size_t i = 0; i < table.nrOfPredictors(); ++i) {
        if (table.roles[i] != PredictorRole::Constant && zeroThroughout(table.columns[i])) {
            figures.zeroPredictors.push_back(table.names[i]);
        }
    }
    const DesignTable& source = motion != nullptr ? *motion : table;
    if (const auto columns = findMotionColumns(source); columns && source.nrOfVolumes() > 0) {
        std::vector<double> displacement = framewiseDisplacement(source, *columns);
        // A motion file may hold more estimates than the run has volumes; the run takes the first.
        if (displacement.size() > figures.volumes) {
            displacement.resize(figures.volumes);
        }
        figures.displacement = summariseDisplacement(displacement);
    }
    return figures;
}

}  // namespace plot
