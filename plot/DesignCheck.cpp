#include "plot/DesignCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "plot/SingularValues.h"

namespace plot {

namespace {

// The column centred and scaled to unit length; empty when it does not vary.
std::vector<double> standardised(const std::vector<double>& values) {
    std::vector<double> x = scaledToUnitPeak(values);
    double mean = 0.0;
    for (double v : x) {
        mean += v;
    }
    mean /= static_cast<double>(x.size());
    double sum = 0.0;
    for (double& v : x) {
        v -= mean;
        sum += v * v;
    }
    if (!(sum > 0.0)) {
        return {};
    }
    const double norm = std::sqrt(sum);
    for (double& v : x) {
        v /= norm;
    }
    return x;
}

bool varies(const std::vector<double>& values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return *low != *high;
}

// Fills the largest correlation and the high ones.
void correlate(const DesignTable& table, DesignCheck& check) {
    std::vector<std::size_t> indices;
    std::vector<std::vector<double>> standard;
    for (std::size_t i = 0; i < table.nrOfPredictors(); ++i) {
        if (!varies(table.columns[i])) {
            continue;
        }
        std::vector<double> x = standardised(table.columns[i]);
        if (!x.empty()) {
            indices.push_back(i);
            standard.push_back(std::move(x));
        }
    }
    auto& largest = check.largestCorrelation;
    for (std::size_t a = 0; a < standard.size(); ++a) {
        for (std::size_t b = a + 1; b < standard.size(); ++b) {
            double r = 0.0;
            for (std::size_t k = 0; k < standard[a].size(); ++k) {
                r += standard[a][k] * standard[b][k];
            }
            r = std::clamp(r, -1.0, 1.0);
            const CorrelatedPair pair{indices[a], indices[b], r};
            if (!largest || std::abs(r) > std::abs(largest->r)) {
                largest = pair;
            }
            if (std::abs(r) > kCorrelationWarning) {
                check.highCorrelations.push_back(pair);
            }
        }
    }
}

double conditionNumber(const DesignTable& table) {
    constexpr double kInfinite = std::numeric_limits<double>::infinity();
    const std::size_t volumes = table.nrOfVolumes();
    const std::size_t count = table.nrOfPredictors();
    if (volumes < count) {
        return kInfinite;
    }
    std::vector<std::vector<double>> scaled;
    for (const auto& column : table.columns) {
        std::vector<double> x = scaledToUnitPeak(column);
        double sum = 0.0;
        for (double v : x) {
            sum += v * v;
        }
        if (!(sum > 0.0)) {
            return kInfinite;  // an all-zero column
        }
        const double norm = std::sqrt(sum);
        for (double& v : x) {
            v /= norm;
        }
        scaled.push_back(std::move(x));
    }
    const std::vector<double> sigma = singularValues(std::move(scaled));
    // Below this the smallest singular value is rounding noise: the columns are dependent.
    const double noise =
        sigma.front() * static_cast<double>(volumes) * std::numeric_limits<double>::epsilon();
    if (!(sigma.back() > noise)) {
        return kInfinite;
    }
    return sigma.front() / sigma.back();
}

std::string correlationText(double r) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", r);
    return text;
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

}  // namespace

std::string conditionText(double condition) {
    if (std::isinf(condition)) {
        return "infinite";
    }
    char text[32];
    if (condition < 1e6) {
        std::snprintf(text, sizeof text, "%.2f", condition);
    } else {
        std::snprintf(text, sizeof text, "%.3e", condition);
    }
    return text;
}

std::vector<double> scaledToUnitPeak(const std::vector<double>& values) {
    double peak = 0.0;
    for (double v : values) {
        peak = std::max(peak, std::abs(v));
    }
    std::vector<double> scaled(values);
    if (peak > 0.0) {
        for (double& v : scaled) {
            v /= peak;
        }
    }
    return scaled;
}

DesignCheck checkDesign(const DesignTable& table) {
    DesignCheck check;
    correlate(table, check);
    check.conditionNumber = conditionNumber(table);
    return check;
}

std::vector<std::string> describeDesignCheck(const DesignTable& table, const DesignCheck& check,
                                             const std::string& label) {
    std::vector<std::string> lines;
    const auto& pair = check.largestCorrelation;
    if (pair) {
        lines.push_back(label + ": largest correlation r = " + correlationText(pair->r) +
                        " between " + quoted(table.names[pair->first]) + " and " +
                        quoted(table.names[pair->second]));
    } else {
        lines.push_back(label +
                        ": largest correlation: none (fewer than two non-constant predictors)");
    }
    const std::string condition = conditionText(check.conditionNumber);
    lines.push_back(label + ": condition number " + condition +
                    (std::isinf(check.conditionNumber) ? " (the columns are linearly dependent)"
                                                       : " (columns scaled to unit length)"));
    const auto& high = check.highCorrelations;
    for (std::size_t i = 0; i < high.size() && i < kMaximumPairWarnings; ++i) {
        lines.push_back(label + ": warning: " + quoted(table.names[high[i].first]) + " and " +
                        quoted(table.names[high[i].second]) +
                        " correlate at r = " + correlationText(high[i].r) + " (|r| above 0.9)");
    }
    if (high.size() > kMaximumPairWarnings) {
        lines.push_back(label + ": warning: " + std::to_string(high.size() - kMaximumPairWarnings) +
                        " more pairs correlate above 0.9");
    }
    if (std::isinf(check.conditionNumber)) {
        lines.push_back(label +
                        ": warning: the design is rank-deficient: its columns are linearly "
                        "dependent");
    } else if (check.conditionNumber > kConditionWarning) {
        lines.push_back(label + ": warning: condition number " + condition +
                        " is above 1000: the predictors are nearly collinear");
    }
    return lines;
}

}  // namespace plot
