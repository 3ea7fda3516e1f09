// The design check against an independent computation: correlations by the textbook sums,
// and the condition number from the eigenvalues of X'X by Jacobi rotations (the check itself
// takes the singular values of X through QR).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plot/DesignCheck.h"
#include "tests/plot/DesignFiles.h"

namespace {

using formats::DesignTable;
using plot::checkDesign;
using plot::describeDesignCheck;

// Pearson's r from n Σxy - Σx Σy over the square roots, in long double.
long double textbookCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
    long double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        sx += x[k];
        sy += y[k];
        sxx += static_cast<long double>(x[k]) * x[k];
        syy += static_cast<long double>(y[k]) * y[k];
        sxy += static_cast<long double>(x[k]) * y[k];
    }
    const auto n = static_cast<long double>(x.size());
    return (n * sxy - sx * sy) / std::sqrt((n * sxx - sx * sx) * (n * syy - sy * sy));
}

// The eigenvalues of a symmetric matrix by cyclic Jacobi rotations.
std::vector<long double> symmetricEigenvalues(std::vector<std::vector<long double>> a) {
    const std::size_t n = a.size();
    for (int sweep = 0; sweep < 100; ++sweep) {
        long double off = 0;
        for (std::size_t p = 0; p < n; ++p) {
            for (std::size_t q = p + 1; q < n; ++q) {
                off += a[p][q] * a[p][q];
            }
        }
        if (off < 1e-40L) {
            break;
        }
        for (std::size_t p = 0; p < n; ++p) {
            for (std::size_t q = p + 1; q < n; ++q) {
                if (a[p][q] == 0) {
                    continue;
                }
                const long double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
                const long double t =
                    (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
                const long double c = 1 / std::sqrt(t * t + 1);
                const long double s = t * c;
                for (std::size_t k = 0; k < n; ++k) {  // columns p and q
                    const long double akp = a[k][p];
                    const long double akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (std::size_t k = 0; k < n; ++k) {  // rows p and q
                    const long double apk = a[p][k];
                    const long double aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
            }
        }
    }
    std::vector<long double> values;
    for (std::size_t i = 0; i < n; ++i) {
        values.push_back(a[i][i]);
    }
    return values;
}

// sqrt(largest / smallest eigenvalue) of the Gram matrix of the unit-length columns.
double conditionFromGram(const DesignTable& table) {
    std::vector<std::vector<long double>> unit;
    for (const auto& column : table.columns) {
        long double norm = 0;
        for (double v : column) {
            norm += static_cast<long double>(v) * v;
        }
        std::vector<long double> u;
        for (double v : column) {
            u.push_back(v / std::sqrt(norm));
        }
        unit.push_back(u);
    }
    const std::size_t n = unit.size();
    std::vector<std::vector<long double>> gram(n, std::vector<long double>(n, 0));
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            for (std::size_t k = 0; k < unit[i].size(); ++k) {
                gram[i][j] += unit[i][k] * unit[j][k];
            }
        }
    }
    const auto values = symmetricEigenvalues(gram);
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return static_cast<double>(std::sqrt(*high / *low));
}

// Makes predictor `to` nearly a copy of predictor `from`.
void correlate(DesignTable& table, std::size_t to, std::size_t from, double leak) {
    for (std::size_t k = 0; k < table.nrOfVolumes(); ++k) {
        table.columns[to][k] = table.columns[from][k] + leak * table.columns[to][k];
    }
}

TEST(DesignCheck, MatchesAnIndependentComputation) {
    struct Case {
        std::size_t predictors;
        std::size_t volumes;
        double leak;  // 0: predictors as generated; else predictor 2 made close to predictor 1
    };
    for (const Case c : {Case{2, 50, 0.0}, Case{3, 200, 0.0}, Case{12, 300, 0.0},
                         Case{12, 300, 0.05}, Case{40, 600, 0.2}, Case{6, 50, 0.002}}) {
        DesignTable table = plottest::generatedDesign(c.predictors, c.volumes, 7);
        if (c.leak > 0.0) {
            correlate(table, 1, 0, c.leak);
        }
        const auto check = checkDesign(table);
        SCOPED_TRACE(std::to_string(c.predictors) + " x " + std::to_string(c.volumes) + ", leak " +
                     std::to_string(c.leak));

        // Every pair of varying predictors: the constant is the last one.
        long double largest = -1;
        std::size_t first = 0;
        std::size_t second = 0;
        for (std::size_t i = 0; i + 1 < c.predictors; ++i) {
            for (std::size_t j = i + 1; j + 1 < c.predictors; ++j) {
                const long double r = textbookCorrelation(table.columns[i], table.columns[j]);
                if (std::fabs(r) > largest) {
                    largest = std::fabs(r);
                    first = i;
                    second = j;
                }
            }
        }
        if (c.predictors < 3) {
            EXPECT_FALSE(check.largestCorrelation);
        } else {
            ASSERT_TRUE(check.largestCorrelation);
            EXPECT_EQ(check.largestCorrelation->first, first);
            EXPECT_EQ(check.largestCorrelation->second, second);
            EXPECT_NEAR(std::abs(check.largestCorrelation->r), static_cast<double>(largest), 1e-9);
        }
        const double expected = conditionFromGram(table);
        EXPECT_NEAR(check.conditionNumber / expected, 1.0, 1e-6)
            << check.conditionNumber << " against " << expected;
    }
}

TEST(DesignCheck, TwoColumnsGiveTheClosedForm) {
    // Unit columns u and v at cosine c: singular values sqrt(1 + c) and sqrt(1 - c).
    DesignTable table = plottest::generatedDesign(2, 80, 3, false);
    double uv = 0, uu = 0, vv = 0;
    for (std::size_t k = 0; k < 80; ++k) {
        uv += table.columns[0][k] * table.columns[1][k];
        uu += table.columns[0][k] * table.columns[0][k];
        vv += table.columns[1][k] * table.columns[1][k];
    }
    const double cosine = std::abs(uv / std::sqrt(uu * vv));
    EXPECT_NEAR(checkDesign(table).conditionNumber, std::sqrt((1.0 + cosine) / (1.0 - cosine)),
                1e-9);
}

TEST(DesignCheck, IsTheSameWhateverTheScaleOfAColumn) {
    DesignTable table = plottest::generatedDesign(5, 120, 11);
    const auto reference = checkDesign(table);
    for (double factor : {1e300, 1e-300, -4.0}) {
        DesignTable scaled = table;
        for (double& v : scaled.columns[1]) {
            v *= factor;
        }
        const auto check = checkDesign(scaled);
        EXPECT_NEAR(check.conditionNumber, reference.conditionNumber,
                    1e-9 * reference.conditionNumber)
            << factor;
        ASSERT_TRUE(check.largestCorrelation);
        EXPECT_NEAR(std::abs(check.largestCorrelation->r),
                    std::abs(reference.largestCorrelation->r), 1e-9)
            << factor;
    }
}

TEST(DesignCheck, DependentColumnsGiveAnInfiniteConditionNumber) {
    const double infinity = std::numeric_limits<double>::infinity();
    DesignTable duplicate = plottest::generatedDesign(4, 100, 5);
    duplicate.columns[2] = duplicate.columns[0];
    DesignTable sum = plottest::generatedDesign(4, 100, 5);
    for (std::size_t k = 0; k < 100; ++k) {
        sum.columns[2][k] = sum.columns[0][k] - 2.5 * sum.columns[1][k];
    }
    DesignTable zero = plottest::generatedDesign(4, 100, 5);
    zero.columns[1].assign(100, 0.0);
    DesignTable short_ = plottest::generatedDesign(6, 5, 5);
    for (const auto* table : {&duplicate, &sum, &zero, &short_}) {
        EXPECT_EQ(checkDesign(*table).conditionNumber, infinity);
    }
    // A duplicate is a perfect correlation.
    ASSERT_TRUE(checkDesign(duplicate).largestCorrelation);
    EXPECT_NEAR(checkDesign(duplicate).largestCorrelation->r, 1.0, 1e-12);
}

TEST(DesignCheck, LeavesConstantColumnsOutOfTheCorrelation) {
    DesignTable table = plottest::generatedDesign(4, 60, 9);
    table.columns[1].assign(60, 3.0);  // constant but not the flagged constant
    const auto check = checkDesign(table);
    ASSERT_TRUE(check.largestCorrelation);
    EXPECT_EQ(check.largestCorrelation->first, 0u);
    EXPECT_EQ(check.largestCorrelation->second, 2u);
    table.columns[2].assign(60, -1.0);
    EXPECT_FALSE(checkDesign(table).largestCorrelation);
}

struct LinesCase {
    const char* what;
    double leak;     // predictor 2 made close to predictor 1 with this much of itself
    bool duplicate;  // predictor 3 a copy of predictor 1
    std::vector<std::string> warnings;  // parts of the warning lines, in order
};

void PrintTo(const LinesCase& value, std::ostream* out) {
    *out << value.what;
}

class DesignCheckLines : public testing::TestWithParam<LinesCase> {};

TEST_P(DesignCheckLines, NameThePairAndWarnAboveTheThresholds) {
    DesignTable table = plottest::generatedDesign(5, 200, 13);
    if (GetParam().leak > 0.0) {
        correlate(table, 1, 0, GetParam().leak);
    }
    if (GetParam().duplicate) {
        table.columns[2] = table.columns[0];
    }
    const auto check = checkDesign(table);
    const auto lines = describeDesignCheck(table, check, "run1.sdm");
    ASSERT_EQ(lines.size(), 2 + GetParam().warnings.size()) << testing::PrintToString(lines);
    const auto& pair = *check.largestCorrelation;
    EXPECT_TRUE(lines[0].starts_with("run1.sdm: largest correlation r = ")) << lines[0];
    EXPECT_TRUE(lines[0].ends_with(" between \"" + table.names[pair.first] + "\" and \"" +
                                   table.names[pair.second] + "\""))
        << lines[0];
    EXPECT_TRUE(lines[1].starts_with("run1.sdm: condition number ")) << lines[1];
    for (std::size_t i = 0; i < GetParam().warnings.size(); ++i) {
        EXPECT_TRUE(lines[2 + i].starts_with("run1.sdm: warning: ")) << lines[2 + i];
        EXPECT_NE(lines[2 + i].find(GetParam().warnings[i]), std::string::npos) << lines[2 + i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Designs, DesignCheckLines,
    testing::Values(LinesCase{"Unremarkable", 0.0, false, {}},
                    LinesCase{"CorrelatedButWellConditioned",
                              0.45,
                              false,
                              {"\"Predictor 1\" and \"Predictor 2\" correlate at r = 0.9"}},
                    LinesCase{"NearlyCollinear",
                              0.0005,
                              false,
                              {"\"Predictor 1\" and \"Predictor 2\" correlate at r = 1.000",
                               "is above 1000: the predictors are nearly collinear"}},
                    LinesCase{"Dependent",
                              0.0,
                              true,
                              {"\"Predictor 1\" and \"Predictor 3\" correlate at r = 1.000",
                               "rank-deficient"}}),
    [](const testing::TestParamInfo<LinesCase>& testCase) { return testCase.param.what; });

TEST(DesignCheckLines, CountThePairsBeyondTheFirstTen) {
    DesignTable table = plottest::generatedDesign(14, 100, 2, false);
    for (std::size_t i = 1; i < 14; ++i) {
        correlate(table, i, 0, 0.01);  // 14 near copies: 91 pairs above 0.9
    }
    const auto lines = describeDesignCheck(table, checkDesign(table), "x.sdm");
    ASSERT_EQ(lines.size(), 2u + 10u + 1u + 1u);
    EXPECT_EQ(lines[12], "x.sdm: warning: 81 more pairs correlate above 0.9");
    EXPECT_EQ(lines[1], "x.sdm: condition number " +
                            plot::conditionText(checkDesign(table).conditionNumber) +
                            " (columns scaled to unit length)");
}

}  // namespace
