// The design matrix under construction: the time model, the convolution with sub-TR onsets,
// and the file the host saves.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "designmatrix/ConfoundReaders.h"
#include "headless/DesignMatrix.h"
#include "headless/DesignMatrixSaving.h"
#include "tests/support/TestSupport.h"

namespace {

using formats::ProtocolCondition;
using formats::TimeResolution;
using headless::DesignMatrix;
using response::ResponseFunction;

constexpr double kTr = 2000.0;  // ms

ProtocolCondition condition(std::vector<std::pair<int, int>> intervals, std::int32_t color = 0) {
    ProtocolCondition result;
    result.name = "Task";
    for (const auto& [start, end] : intervals) {
        result.starts.push_back(start);
        result.ends.push_back(end);
    }
    result.color = color;
    return result;
}

// The predictor of one condition, filled with value and convolved unless `function` is none.
std::vector<float> predictor(const ProtocolCondition& c, TimeResolution resolution, double value,
                             std::optional<ResponseFunction> function, int volumes = 60) {
    DesignMatrix matrix;
    matrix.reset(volumes, kTr);
    matrix.addPredictor("Task");
    headless::Predictor& p = *matrix.find("Task");
    matrix.fill(p, headless::conditionEvents(c, resolution, kTr, value), c.color);
    if (function) {
        matrix.convolve(p, *function);
    }
    return p.values;
}

TEST(DesignMatrix, UnconvolvedVolumeHoldsTheValueWhenItsTimeLiesInAnInterval) {
    using enum TimeResolution;
    // Volume k is sampled at k x 2 s. Volumes [3, 4] covers [4 s, 8 s): volumes 2 and 3.
    const auto volumes = predictor(condition({{3, 4}}), Volumes, 2.5, std::nullopt, 6);
    EXPECT_EQ(volumes, (std::vector<float>{0, 0, 2.5f, 2.5f, 0, 0}));
    // msec [4000, 6000] includes both ends: volumes 2 and 3; [4001, 5999] holds no volume time.
    EXPECT_EQ(predictor(condition({{4000, 6000}}), Milliseconds, 1, std::nullopt, 6),
              (std::vector<float>{0, 0, 1, 1, 0, 0}));
    EXPECT_EQ(predictor(condition({{4001, 5999}}), Milliseconds, 1, std::nullopt, 6),
              (std::vector<float>(6, 0.0f)));
}

class ConvolvedPredictor : public testing::TestWithParam<ResponseFunction> {};

TEST_P(ConvolvedPredictor, AFortySecondBlockSettlesAtItsValue) {
    for (const double value : {1.0, -2.5, 40.0}) {
        // Volumes 1 to 20 at TR 2 s: the block [0 s, 40 s).
        const auto values =
            predictor(condition({{1, 20}}), TimeResolution::Volumes, value, GetParam());
        EXPECT_NEAR(values[19], value, 0.01 * std::abs(value)) << "at 38 s";
        EXPECT_NEAR(values[20], value, 0.01 * std::abs(value)) << "at 40 s";
        EXPECT_EQ(values[0], 0.0f);
    }
}

TEST_P(ConvolvedPredictor, AnOnsetHalfATrLaterShiftsTheRegressor) {
    using enum TimeResolution;
    const auto early = predictor(condition({{10500, 14499}}), Milliseconds, 1, GetParam());
    const auto late = predictor(condition({{11500, 15499}}), Milliseconds, 1, GetParam());
    // Both events hold the same volume times (12 s and 14 s), so a convolution on the volume
    // grid would give the same regressor; the late one must rise later.
    double largest = 0.0;
    for (std::size_t k = 0; k < early.size(); ++k) {
        largest = std::max(largest, static_cast<double>(std::abs(early[k] - late[k])));
    }
    const double peak = *std::max_element(early.begin(), early.end());
    EXPECT_GT(largest, 0.05 * peak);
    EXPECT_GT(early[8], late[8]) << "at 16 s, on the rise";
    // Each is its block's exact response, sampled at the volume times.
    for (int k = 0; k < 60; ++k) {
        const double t = 2.0 * k;
        EXPECT_NEAR(early[static_cast<std::size_t>(k)],
                    response::blockResponse(GetParam(), 10.5, 14.499, 1.0, t), 1e-6);
        EXPECT_NEAR(late[static_cast<std::size_t>(k)],
                    response::blockResponse(GetParam(), 11.5, 15.499, 1.0, t), 1e-6);
    }
}

TEST_P(ConvolvedPredictor, VolumesAndEquivalentMsecProtocolsGiveTheSamePredictor) {
    // Volumes [s, e] covers [(s-1) TR, e TR): the same as msec [(s-1) x 2000, e x 2000].
    const auto volumes =
        predictor(condition({{3, 7}, {21, 21}, {40, 48}}), TimeResolution::Volumes, 3, GetParam());
    const auto msec = predictor(condition({{4000, 14000}, {40000, 42000}, {78000, 96000}}),
                                TimeResolution::Milliseconds, 3, GetParam());
    ASSERT_EQ(volumes.size(), msec.size());
    for (std::size_t k = 0; k < volumes.size(); ++k) {
        EXPECT_NEAR(volumes[k], msec[k], 1e-6) << k;
    }
}

// The response at t to a block from start to end (seconds) of the given value, by Simpson's
// rule over the kernel's values on a grid of about 2.5 ms: a reference that does not use the
// kernel's running integral.
double fineGridResponse(ResponseFunction function, double start, double end, double value,
                        double t) {
    const double from = std::max(start, t - response::kKernelSeconds);
    const double to = std::min(end, t);
    if (to <= from) {
        return 0.0;
    }
    const int steps = 2 * static_cast<int>(std::ceil((to - from) / 0.005));
    const double h = (to - from) / steps;
    double sum =
        response::kernelValue(function, t - from) + response::kernelValue(function, t - to);
    for (int i = 1; i < steps; ++i) {
        sum += (i % 2 == 1 ? 4.0 : 2.0) * response::kernelValue(function, t - (from + i * h));
    }
    return value * sum * h / 3.0;
}

TEST_P(ConvolvedPredictor, MatchesAFineGridConvolutionToAMillionth) {
    // Sub-TR onsets, a 16 ms event, overlapping blocks, a block longer than the kernel, and one
    // that runs past the end of the run (100 volumes, 200 s).
    const std::vector<std::pair<int, int>> intervals = {
        {1234, 1734},   {9999, 10015},    {20100, 52100},
        {51000, 56500}, {101010, 103999}, {150500, 230000},
    };
    const double value = 2.5;
    const auto values =
        predictor(condition(intervals), TimeResolution::Milliseconds, value, GetParam(), 100);
    double largest = 0.0;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const double t = 2.0 * static_cast<double>(k);
        double reference = 0.0;
        for (const auto& [start, end] : intervals) {
            reference += fineGridResponse(GetParam(), start / 1000.0, end / 1000.0, value, t);
        }
        EXPECT_NEAR(values[k], reference, 1e-6) << "at " << t << " s";
        largest = std::max(largest, std::abs(reference));
    }
    EXPECT_GT(largest, 1.0);  // the comparison covered real responses
}

INSTANTIATE_TEST_SUITE_P(Kernels, ConvolvedPredictor,
                         testing::Values(ResponseFunction::TwoGamma, ResponseFunction::Boynton),
                         [](const testing::TestParamInfo<ResponseFunction>& testCase) {
                             return testCase.param == ResponseFunction::TwoGamma ? "TwoGamma"
                                                                                 : "Boynton";
                         });

TEST(DesignMatrix, ConvolvesAPredictorWithoutEventsAsOneBlockPerVolume) {
    DesignMatrix matrix;
    matrix.reset(30, kTr);
    matrix.addPredictor("Written");
    float* values = matrix.values(0);
    std::fill(values, values + 10, 1.0f);  // [0 s, 20 s), written through the address
    matrix.convolve(*matrix.find("Written"), ResponseFunction::Boynton);
    for (int k = 0; k < 30; ++k) {
        EXPECT_NEAR(values[k],
                    response::blockResponse(ResponseFunction::Boynton, 0.0, 20.0, 1.0, 2.0 * k),
                    1e-6);
    }
}

TEST(DesignMatrix, FindsTheLastPredictorOfANameAndNoAddressOutOfRange) {
    DesignMatrix matrix;
    matrix.reset(4, kTr);
    matrix.addPredictor("A");
    matrix.addPredictor("A");
    EXPECT_EQ(matrix.find("A"), &matrix.predictors()[1]);
    EXPECT_EQ(matrix.find("B"), nullptr);
    EXPECT_EQ(matrix.values(-1), nullptr);
    EXPECT_EQ(matrix.values(2), nullptr);
    EXPECT_EQ(matrix.values(1), matrix.predictors()[1].values.data());
}

// A matrix of a condition predictor (name with blanks), an unfilled one and the constant.
DesignMatrix savedExample(float constantValue) {
    DesignMatrix matrix;
    matrix.reset(3, kTr);
    matrix.addPredictor("Left hand");
    matrix.fill(*matrix.find("Left hand"),
                headless::conditionEvents(condition({{2, 2}}), TimeResolution::Volumes, kTr, 0.5),
                0xFF8000);
    matrix.addPredictor("Extra");
    matrix.values(1)[2] = -0.1234567f;
    matrix.addPredictor("Constant");
    std::fill(matrix.values(2), matrix.values(2) + 3, 1.0f);
    matrix.values(2)[1] = constantValue;
    return matrix;
}

TEST(DesignMatrixFile, IsWrittenInTheHostsLayout) {
    EXPECT_EQ(headless::formatDesignMatrix(savedExample(1.0f)),
              "FileVersion:             1\n"
              "\n"
              "NrOfPredictors:          3\n"
              "NrOfDataPoints:          3\n"
              "IncludesConstant:        1\n"
              "FirstConfoundPredictor:  3\n"
              "\n"
              "255 128 0   128 128 128   255 255 255\n"
              "\"Left hand\" \"Extra\" \"Constant\"\n"
              "0.000000 0.000000 1.000000\n"
              "0.500000 0.000000 1.000000\n"
              "0.000000 -0.123457 1.000000\n");
}

TEST(DesignMatrixFile, HasNoConstantUnlessTheLastPredictorIsConstantAndAllOnes) {
    const std::string notAllOnes = headless::formatDesignMatrix(savedExample(0.5f));
    EXPECT_NE(notAllOnes.find("IncludesConstant:        0\n"), std::string::npos);
    EXPECT_NE(notAllOnes.find("FirstConfoundPredictor:  4\n"), std::string::npos);
    EXPECT_NE(notAllOnes.find("255 255 255\n"), std::string::npos) << "white by its name";

    DesignMatrix matrix = savedExample(1.0f);
    matrix.addPredictor("Constant after all");
    EXPECT_EQ(headless::includesConstant(matrix.predictors()), 0);
}

TEST(DesignMatrixFile, SavesToAPathAndRefusesAnEmptyMatrixOrAnUnwritablePath) {
    testsupport::TempDir dir;
    std::string error;
    const std::string path = dir.file("run1_task.sdm");
    ASSERT_TRUE(headless::saveDesignMatrix(savedExample(1.0f), path, error)) << error;
    EXPECT_EQ(testsupport::readText(path), headless::formatDesignMatrix(savedExample(1.0f)));

    DesignMatrix empty;
    empty.reset(3, kTr);
    EXPECT_FALSE(headless::saveDesignMatrix(empty, dir.file("empty.sdm"), error));
    EXPECT_EQ(error, "the design matrix has no predictor");
    EXPECT_FALSE(std::filesystem::exists(dir.file("empty.sdm")));
    EXPECT_FALSE(headless::saveDesignMatrix(savedExample(1.0f), dir.file("no/such/x.sdm"), error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

TEST(DesignMatrixFile, ReadsBackWithThePlugInsOwnReaders) {
    testsupport::TempDir dir;
    testsupport::CapturedLog log;  // the readers report to the host's log
    std::string error;

    // A saved base design matrix, read as predictors with a constant: the constant is dropped.
    DesignMatrix matrix = savedExample(1.0f);
    matrix.convolve(*matrix.find("Left hand"), ResponseFunction::TwoGamma);
    const std::string base = dir.file("run1_task.sdm");
    ASSERT_TRUE(headless::saveDesignMatrix(matrix, base, error)) << error;
    const auto predictors =
        designmatrix::readConfoundsSdm(base.c_str(), designmatrix::kHeartRateKind);
    ASSERT_TRUE(predictors->readOk) << log.transcript();
    EXPECT_EQ(predictors->fileVersion, 1);
    EXPECT_EQ(predictors->nrOfPredictors, 2);
    EXPECT_EQ(predictors->nrOfDataPoints, 3);
    EXPECT_EQ(predictors->firstConfound, 3);
    EXPECT_EQ(predictors->predictorNames, (std::vector<std::string>{"\"Left hand\"", "\"Extra\""}));
    EXPECT_EQ(predictors->predictorColors,
              (designmatrix::IntTable{{255, 128, 0}, {128, 128, 128}}));
    for (std::size_t i = 0; i < 2; ++i) {
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_NEAR(predictors->predictorValues[i][k], matrix.predictors()[i].values[k], 1e-6);
        }
    }

    // Six predictors without a constant read back as motion estimates.
    DesignMatrix motion;
    motion.reset(4, kTr);
    for (int j = 0; j < 6; ++j) {
        motion.addPredictor("Estimate " + std::to_string(j + 1));
        for (int k = 0; k < 4; ++k) {
            motion.values(j)[k] = 0.01f * static_cast<float>(j * 10 + k) - 0.2f;
        }
    }
    const std::string motionPath = dir.file("run1_3DMC.sdm");
    ASSERT_TRUE(headless::saveDesignMatrix(motion, motionPath, error)) << error;
    const auto estimates = designmatrix::readMotionEstimatesSdm(motionPath.c_str());
    ASSERT_TRUE(estimates->readOk) << log.transcript();
    EXPECT_EQ(estimates->includesConstant, 0);
    EXPECT_EQ(estimates->firstConfound, 7);
    for (std::size_t j = 0; j < 6; ++j) {
        EXPECT_EQ(estimates->motionColors[j], (std::array<std::int32_t, 3>{128, 128, 128}));
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_NEAR(estimates->motionColumns[j][k], motion.predictors()[j].values[k], 1e-6);
        }
    }
}

}  // namespace
