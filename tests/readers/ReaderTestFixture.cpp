#include "tests/readers/ReaderTestFixture.h"

namespace readertest {

void expectSameRecord(const designmatrix::DesignMatrixFile& actual,
                      const designmatrix::DesignMatrixFile& expected) {
    EXPECT_EQ(actual.readOk, expected.readOk);
    EXPECT_EQ(actual.fileVersion, expected.fileVersion);
    EXPECT_EQ(actual.nrOfPredictors, expected.nrOfPredictors);
    EXPECT_EQ(actual.nrOfDataPoints, expected.nrOfDataPoints);
    EXPECT_EQ(actual.includesConstant, expected.includesConstant);
    EXPECT_EQ(actual.firstConfound, expected.firstConfound);
    EXPECT_EQ(actual.zTransformed, expected.zTransformed);
    EXPECT_EQ(actual.kind, expected.kind);
    EXPECT_EQ(actual.motionColors, expected.motionColors);
    EXPECT_EQ(actual.motionColumns, expected.motionColumns);
    EXPECT_EQ(actual.predictorColors, expected.predictorColors);
    EXPECT_EQ(actual.predictorNames, expected.predictorNames);
    EXPECT_EQ(actual.predictorValues, expected.predictorValues);
}

}  // namespace readertest
