// Design matrices from events: the host's exact block integration, impulses, exact derivatives,
// the volume times, and how conditions, derivatives, modulations, confounds and the constant are
// put together.

#include <gtest/gtest.h>

#include <cmath>

#include "bids/Design.h"
#include "bids/InputError.h"
#include "bids/Regressors.h"
#include "headless/DesignMatrix.h"
#include "tests/support/TestSupport.h"

namespace {

using response::ResponseFunction;
using testsupport::TempDir;
using testsupport::writeFile;

const std::vector<ResponseFunction> kFunctions = {ResponseFunction::TwoGamma,
                                                  ResponseFunction::Boynton};

TEST(Regressors, BlocksAreConvolvedAsTheHostConvolvesThem) {
    // Sub-TR onsets in milliseconds, overlapping blocks, one before the first volume.
    formats::ProtocolCondition condition;
    condition.starts = {-1500, 3217, 9000, 10250, 41999};
    condition.ends = {2500, 15217, 9750, 22250, 43000};
    std::vector<bids::StimulusEvent> events;
    for (std::size_t i = 0; i < condition.starts.size(); ++i) {
        events.push_back({condition.starts[i] / 1000.0,
                          (condition.ends[i] - condition.starts[i]) / 1000.0, 1.0});
    }
    for (const ResponseFunction function : kFunctions) {
        headless::DesignMatrix host;
        host.reset(60, 2000.0);
        host.addPredictor("c");
        headless::Predictor& predictor = *host.find("c");
        host.fill(predictor,
                  headless::conditionEvents(condition, formats::TimeResolution::Milliseconds,
                                            2000.0, 1.0),
                  0);
        host.convolve(predictor, function);
        const auto ours = bids::eventResponse(function, events, bids::VolumeTimes(60, 2.0, 0, 0.0));
        for (std::size_t k = 0; k < ours.size(); ++k) {
            EXPECT_NEAR(ours[k], static_cast<double>(predictor.values[k]), 1e-6) << "volume " << k;
        }
    }
}

TEST(Regressors, AnImpulseRespondsWithTheKernelTimesItsAmplitude) {
    const bids::VolumeTimes times(30, 1.5, 0, 0.0);
    for (const ResponseFunction function : kFunctions) {
        const auto response = bids::eventResponse(function, {{3.1, 0.0, 2.0}}, times);
        for (std::size_t k = 0; k < response.size(); ++k) {
            EXPECT_DOUBLE_EQ(response[k], 2.0 * response::kernelValue(function, times.at(k) - 3.1));
        }
    }
}

TEST(Regressors, TheSlopeIsTheExactTimeDerivative) {
    const std::vector<bids::StimulusEvent> events = {
        {2.35, 0.0, 1.0}, {7.9, 4.25, -0.5}, {11.0, 0.7, 1.0}};
    constexpr double kStep = 1e-5;  // seconds, as a shift of the sampling
    // (No volume lies where a response ends, 32 s after an event: the kernel stops there.)
    for (const ResponseFunction function : kFunctions) {
        const auto slope =
            bids::eventResponseSlope(function, events, bids::VolumeTimes(40, 1.0, 0, 0.3));
        const auto later =
            bids::eventResponse(function, events, bids::VolumeTimes(40, 1.0, 0, 0.3 + kStep));
        const auto earlier =
            bids::eventResponse(function, events, bids::VolumeTimes(40, 1.0, 0, 0.3 - kStep));
        for (std::size_t k = 0; k < slope.size(); ++k) {
            EXPECT_NEAR(slope[k], (later[k] - earlier[k]) / (2 * kStep), 1e-6) << "volume " << k;
        }
    }
}

TEST(Regressors, VolumeTimesCountEveryVolumeFromTheDummiesAndTheSliceReference) {
    const bids::VolumeTimes times(146, 2.000001, 4, 0.5);
    EXPECT_DOUBLE_EQ(times.at(0), 4.5 * 2.000001);
    EXPECT_DOUBLE_EQ(times.at(145), 149.5 * 2.000001);
    std::vector<double> column = {1.0, 2.0, 3.0};
    bids::orthogonalise(column, {1.0, 0.0, 1.0});
    EXPECT_EQ(column, (std::vector<double>{-1.0, 2.0, 1.0}));
}

class BuiltDesign : public testing::Test {
  protected:
    bids::Design build() { return bids::buildDesign(request_, notes_); }
    std::string failure() {
        try {
            build();
        } catch (const bids::InputError& error) {
            return error.what();
        }
        return "";
    }

    TempDir dir_;
    bids::DesignRequest request_ = [this] {
        bids::DesignRequest request;
        request.eventsPath = dir_.file("events.tsv");
        request.timing = {2.0, 40};
        writeFile(request.eventsPath,
                  "onset\tduration\ttrial_type\tgain\n2\t3\tA\t1\n10.5\t0\tB\tn/a\n20\t3\tA\t4\n"
                  "30\tn/a\tB\tn/a\n");
        return request;
    }();
    std::vector<std::string> notes_;
};

TEST_F(BuiltDesign, RowsAreTheVolumesWhateverTheDigitsOfTheTr) {
    request_.timing = {2.000001, 150};
    EXPECT_EQ(build().rows, 150U);
    request_.dummies = 4;
    EXPECT_EQ(build().predictors.front().values.size(), 146U);
    request_.dummies = 150;
    EXPECT_EQ(failure(), "--dummy 150 leaves none of the run's 150 volumes");
}

TEST_F(BuiltDesign, ConditionsDerivativesModulationsConfoundsThenTheConstant) {
    std::string table = "csf\ttrans_x\tframewise_displacement\n";
    for (int k = 0; k < 40; ++k) {
        table += std::to_string(k % 7) + "\t" + std::to_string(0.1 * k) + "\t" +
                 (k < 1 ? "n/a" : std::to_string(k % 3)) + "\n";
    }
    writeFile(dir_.file("confounds.tsv"), table);
    request_.confoundsPath = dir_.file("confounds.tsv");
    request_.confoundPatterns = {"framewise_*", "*"};
    request_.derivatives = true;
    request_.modulation = "gain";
    const bids::Design design = build();
    std::vector<std::string> names;
    for (const auto& predictor : design.predictors) {
        names.push_back(predictor.name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"A", "B", "A derivative", "B derivative", "A x gain",
                                        "framewise_displacement", "csf", "trans_x", "Constant"}));
    EXPECT_EQ(design.firstConfound(), 6U);
    // The derivative is orthogonal to its condition; the modulation's events carry the gains less
    // their mean (1 and 4: -1.5 and +1.5).
    double product = 0.0;
    for (std::size_t k = 0; k < design.rows; ++k) {
        product += design.predictors[0].values[k] * design.predictors[2].values[k];
    }
    EXPECT_NEAR(product, 0.0, 1e-12);
    const auto modulated =
        bids::eventResponse(ResponseFunction::TwoGamma, {{2.0, 3.0, -1.5}, {20.0, 3.0, 1.5}},
                            bids::VolumeTimes(40, 2.0, 0, 0.0));
    EXPECT_EQ(design.predictors[4].values, modulated);
    EXPECT_EQ(design.predictors[5].values[0], 0.0);  // n/a in the first row
    EXPECT_EQ(notes_,
              (std::vector<std::string>{
                  request_.eventsPath + ": 1 event has a duration of n/a, taken as an impulse",
                  "no modulation of B: its events have n/a in gain",
                  dir_.file("confounds.tsv") +
                      ": n/a in the first rows of 1 confound column: 1 cell set to 0"}));
}

TEST_F(BuiltDesign, ConfoundTablesMustHaveARowPerVolume) {
    writeFile(dir_.file("confounds.tsv"), "csf\n1\n2\n3\n");
    request_.confoundsPath = dir_.file("confounds.tsv");
    request_.confoundPatterns = {"csf"};
    request_.dummies = 2;
    EXPECT_EQ(failure(), dir_.file("confounds.tsv") +
                             ": 3 rows, but the run has 40 volumes (1 against 38 after the 2 "
                             "dummies dropped); the table needs one row per volume");
}

TEST_F(BuiltDesign, AModulationWithNaBesideValuesInOneConditionIsRefused) {
    writeFile(request_.eventsPath,
              "onset\tduration\ttrial_type\tgain\n2\t3\tA\t1\n20\t3\tA\tn/a\n");
    request_.modulation = "gain";
    EXPECT_EQ(failure(), request_.eventsPath +
                             ": row 2 (line 3), column gain: n/a for an event of A, whose other "
                             "events have values (give --modulation-na mean to give such events "
                             "the condition's mean)");
}

TEST_F(BuiltDesign, ModulationNaMeanGivesTheEventTheConditionsMeanAndKeepsItsPlace) {
    writeFile(request_.eventsPath,
              "onset\tduration\ttrial_type\tgain\n2\t3\tA\t1\n11\t3\tA\tn/a\n20\t3\tA\t4\n"
              "29\t3\tA\tn/a\n");
    request_.modulation = "gain";
    request_.modulationNaMean = true;
    const bids::Design design = build();
    // Centred on the mean of 1 and 4: the n/a events add 0; the task column keeps all four.
    EXPECT_EQ(design.predictors[1].values,
              bids::eventResponse(ResponseFunction::TwoGamma, {{2, 3, -1.5}, {20, 3, 1.5}},
                                  bids::VolumeTimes(40, 2.0, 0, 0.0)));
    EXPECT_EQ(design.predictors[0].values,
              bids::eventResponse(ResponseFunction::TwoGamma, {{2, 3}, {11, 3}, {20, 3}, {29, 3}},
                                  bids::VolumeTimes(40, 2.0, 0, 0.0)));
    EXPECT_EQ(
        notes_,
        (std::vector<std::string>{request_.eventsPath +
                                  ": 2 events of A with n/a in gain given the condition's mean "
                                  "(--modulation-na mean)"}));
}

TEST_F(BuiltDesign, EventsPastTheRunsEndAndEmptyConditionsAreWarnedOf) {
    // 40 volumes of 2 s end at 80 s: the events at 80 s and after add nothing.
    writeFile(request_.eventsPath,
              "onset\tduration\ttrial_type\n2\t3\tA\n79.9\t3\tA\n80\t3\tB\n150\t3\tB\n");
    build();
    EXPECT_EQ(notes_,
              (std::vector<std::string>{
                  "warning: " + request_.eventsPath +
                      ": 2 event(s) start at or after the run's end (40 volumes x 2 s = 80 s); "
                      "the first at row 3 (line 4): they add nothing to the run's predictors",
                  "warning: condition B has no response within the run's volumes"}));
}

}  // namespace
