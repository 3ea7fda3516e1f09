#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "designmatrix/ZTransform.h"
#include "response/ZTransform.h"
#include "tests/merge/MergeFixtures.h"
#include "tests/support/TestSupport.h"
#include "text/FormattedText.h"

namespace {

using designmatrix::DesignMatrixFile;
using response::zTransformColumn;

using Entries = std::vector<std::string>;

// Each value to six decimals, as the log and the merged file show them.
std::vector<std::string> sixDecimals(const std::vector<double>& values) {
    std::vector<std::string> texts;
    for (const double v : values) {
        texts.push_back(text::formatText("%.6f", v));
    }
    return texts;
}

TEST(ZTransformColumn, CentresAndScalesByThePopulationDeviation) {
    std::vector<double> values = {1, 2, 3, 4};
    EXPECT_TRUE(zTransformColumn(values.data(), 4));
    EXPECT_EQ(sixDecimals(values),
              (std::vector<std::string>{"-1.341641", "-0.447214", "0.447214", "1.341641"}));

    // Only the first n values take part.
    std::vector<double> partial = {1, 2, 3, 4, 100};
    EXPECT_TRUE(zTransformColumn(partial.data(), 4));
    EXPECT_EQ(partial[4], 100.0);
    EXPECT_EQ(sixDecimals(partial)[0], "-1.341641");
}

TEST(ZTransformColumn, NoValuesChangeNothing) {
    std::vector<double> values = {5, 7};
    EXPECT_TRUE(zTransformColumn(values.data(), 0));
    EXPECT_TRUE(zTransformColumn(values.data(), -3));
    EXPECT_EQ(values, (std::vector<double>{5, 7}));
}

TEST(ZTransformColumn, ColumnWithoutSpreadBecomesZerosInsteadOfNaN) {
    struct Case {
        const char* what;
        std::vector<double> values;
    };
    const Case cases[] = {
        {"all equal", {2.5, 2.5, 2.5}},
        // Their mean rounds a little off 0.1: without the equality test each came out as -1.
        {"equal, mean not exact", std::vector<double>(200, 0.1)},
        {"one data point", {-7}},
        {"all zero", {0, 0}},
        {"not finite", {1, INFINITY, 3}},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(zTransformColumn(c.values.data(), static_cast<std::int32_t>(c.values.size())));
        for (const double v : c.values) {
            EXPECT_EQ(v, 0.0);
        }
    }
}

TEST(ZTransformColumn, HugeMagnitudesStayFinite) {
    std::vector<double> opposite = {1e308, -1e308};
    EXPECT_TRUE(zTransformColumn(opposite.data(), 2));
    EXPECT_EQ(sixDecimals(opposite), (std::vector<std::string>{"1.000000", "-1.000000"}));

    std::vector<double> overflowingSum = {1e308, 1e308, 0};
    EXPECT_TRUE(zTransformColumn(overflowingSum.data(), 3));
    EXPECT_EQ(sixDecimals(overflowingSum),
              (std::vector<std::string>{"0.707107", "0.707107", "-1.414214"}));
}

TEST(ZTransformRecord, MotionTransformsAllSixColumnsAndNamesTheFileOfAFlatOne) {
    testsupport::CapturedLog log;
    DesignMatrixFile record = mergefixtures::motionRecord();
    record.motionColumns[4] = {3, 3, 3, 3};
    record.sourcePath = "scans/run1_3DMC.rtc";

    designmatrix::zTransformMotion(record);

    EXPECT_TRUE(record.zTransformed);
    EXPECT_EQ(sixDecimals(record.motionColumns[2]),
              (std::vector<std::string>{"-1.341641", "-0.447214", "0.447214", "1.341641"}));
    EXPECT_EQ(record.motionColumns[4], (std::vector<double>{0, 0, 0, 0}));
    for (const auto& column : record.motionColumns) {
        double sum = 0;
        for (const double v : column) {
            sum += v;
        }
        EXPECT_NEAR(sum, 0.0, 1e-12);
    }
    EXPECT_EQ(log.entries(), Entries{"Column 5 of scans/run1_3DMC.rtc does not vary: its "
                                     "z-transformed values are set to 0."});
}

TEST(ZTransformRecord, PredictorsUseNrOfDataPointsAndNeverReadPastAColumn) {
    testsupport::CapturedLog log;
    DesignMatrixFile record = mergefixtures::respirationRecord();
    record.predictorValues[1] = {1, 3};  // shorter than its four data points

    designmatrix::zTransformPredictors(record);

    EXPECT_TRUE(record.zTransformed);
    EXPECT_EQ(sixDecimals(record.predictorValues[0]),
              (std::vector<std::string>{"1.102646", "-1.611559", "0.424094", "0.084819"}));
    EXPECT_EQ(record.predictorValues[1], (std::vector<double>{-1, 1}));
    EXPECT_TRUE(log.entries().empty());
}

TEST(ZTransformRecord, PredictorsFlagARecordWithoutColumnsAndReportFlatOnes) {
    testsupport::CapturedLog log;
    DesignMatrixFile empty;
    empty.kind = designmatrix::kHeartRateKind;
    designmatrix::zTransformPredictors(empty);
    EXPECT_TRUE(empty.zTransformed);

    DesignMatrixFile single = mergefixtures::heartRateRecord(1);
    designmatrix::zTransformPredictors(single);
    EXPECT_EQ(single.predictorValues[0], (std::vector<double>{0}));
    EXPECT_EQ(log.entries(), Entries{"Column 1 of the heart-rate record does not vary: its "
                                     "z-transformed values are set to 0."});
}

}  // namespace
