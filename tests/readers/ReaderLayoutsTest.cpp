#include <gtest/gtest.h>

#include <limits>

#include "designmatrix/ConfoundReaders.h"
#include "tests/readers/ConfoundFileSamples.h"
#include "tests/readers/ReaderTestFixture.h"

namespace {

using namespace designmatrix;
using namespace readertest;

using Log = std::vector<std::string>;

// Column j holds value(t, j) at every data point t.
void expectNumberedColumns(const std::vector<std::vector<double>>& columns, std::size_t count,
                           std::int32_t dataPoints) {
    ASSERT_EQ(columns.size(), count);
    for (std::size_t j = 0; j < count; ++j) {
        ASSERT_EQ(columns[j].size(), static_cast<std::size_t>(dataPoints)) << "column " << j;
        for (std::int32_t t = 0; t < dataPoints; ++t) {
            EXPECT_EQ(columns[j][static_cast<std::size_t>(t)],
                      value(t, static_cast<std::int32_t>(j)))
                << "column " << j << ", data point " << t;
        }
    }
}

void expectNoMotionData(const DesignMatrixFile& record) {
    for (const auto& column : record.motionColumns) {
        EXPECT_TRUE(column.empty());
    }
    EXPECT_EQ(record.motionColors, (DesignMatrixFile{}.motionColors));
}

void expectNoPredictorData(const DesignMatrixFile& record) {
    EXPECT_TRUE(record.predictorColors.empty());
    EXPECT_TRUE(record.predictorNames.empty());
    EXPECT_TRUE(record.predictorValues.empty());
}

class ConfoundsSdm : public ReaderTest {};
class ConfoundsRtc : public ReaderTest {};
class MotionEstimatesSdm : public ReaderTest {};
class MotionEstimatesRtc : public ReaderTest {};
class AnyReader : public ReaderTest {};

TEST_F(ConfoundsSdm, DropsTheConstantButLogsTheHeaderAsRead) {
    const std::string path = write(
        "run1_HR.sdm", sdmFile({1, 3, 100, 1, 3}, {{255, 0, 0}, {0, 255, 0}, {9, 9, 9}},
                               {"\"HR\"", "\"HR_Phase\"", "\"Constant\""}, numberedRows(100, 3))
                           .text());

    const DesignMatrixFilePtr record = readConfoundsSdm(path.c_str(), kHeartRateKind);

    EXPECT_TRUE(record->readOk);
    EXPECT_EQ(record->sourcePath, path);
    EXPECT_EQ(record->kind, kHeartRateKind);
    EXPECT_EQ(record->fileVersion, 1);
    EXPECT_EQ(record->nrOfPredictors, 2);
    EXPECT_EQ(record->nrOfDataPoints, 100);
    EXPECT_EQ(record->includesConstant, 0);
    EXPECT_EQ(record->firstConfound, 3);
    EXPECT_FALSE(record->zTransformed);
    EXPECT_EQ(record->predictorColors, (IntTable{{255, 0, 0}, {0, 255, 0}}));
    EXPECT_EQ(record->predictorNames, (std::vector<std::string>{"\"HR\"", "\"HR_Phase\""}));
    expectNumberedColumns(record->predictorValues, 2, 100);
    expectNoMotionData(*record);
    EXPECT_EQ(logged(), (Log{"Reading file: " + path, headerLine(1, 3, 100, 1, 3),
                             "Reading colors...", "Reading confounds..."}));
}

TEST_F(ConfoundsSdm, KeepsEveryPredictorWithoutAConstant) {
    const std::string path =
        write("run1_RVT.sdm", sdmFile({1, 2, 5, 0, 1}, {{1, 2, 3}, {4, 5, 6}},
                                      {"\"RVT\"", "\"RVT2\""}, numberedRows(5, 2))
                                  .text());

    const DesignMatrixFilePtr record = readConfoundsSdm(path.c_str(), kRespirationKind);

    EXPECT_TRUE(record->readOk);
    EXPECT_EQ(record->kind, kRespirationKind);
    EXPECT_EQ(record->nrOfPredictors, 2);
    EXPECT_EQ(record->includesConstant, 0);
    EXPECT_EQ(record->firstConfound, 1);
    EXPECT_EQ(record->predictorColors, (IntTable{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(record->predictorNames, (std::vector<std::string>{"\"RVT\"", "\"RVT2\""}));
    expectNumberedColumns(record->predictorValues, 2, 5);
    EXPECT_EQ(logged()[1], headerLine(1, 2, 5, 0, 1));
}

TEST_F(ConfoundsSdm, ReadsQuotedNamesWholeBlanksIncluded) {
    const std::string path =
        write("run1_HR.sdm", sdmFile({1, 3, 4, 1, 3}, {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}},
                                     {"\"Heart Rate\"", "\"Heart\t Rate  Phase \"", "\"Constant\""},
                                     numberedRows(4, 3))
                                 .text());

    const DesignMatrixFilePtr record = readConfoundsSdm(path.c_str(), kHeartRateKind);

    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->predictorNames,
              (std::vector<std::string>{"\"Heart Rate\"", "\"Heart\t Rate  Phase \""}));
    expectNumberedColumns(record->predictorValues, 2, 4);
}

TEST_F(ConfoundsRtc, GeneratesColoursAndKeepsEveryPredictor) {
    const std::string path =
        write("run1_HR.rtc",
              rtcFile({2, 2, 100}, {"\"HR\"", "\"HR_Phase\""}, numberedRows(100, 2)).text());

    const DesignMatrixFilePtr record = readConfoundsRtc(path.c_str(), kHeartRateKind);

    EXPECT_TRUE(record->readOk);
    EXPECT_EQ(record->kind, kHeartRateKind);
    EXPECT_EQ(record->fileVersion, 2);
    EXPECT_EQ(record->nrOfPredictors, 2);
    EXPECT_EQ(record->nrOfDataPoints, 100);
    EXPECT_EQ(record->includesConstant, 0);
    EXPECT_EQ(record->firstConfound, 1);
    EXPECT_EQ(record->predictorColors, (IntTable{{255, 255, 0}, {255, 255, 20}}));
    EXPECT_EQ(record->predictorNames, (std::vector<std::string>{"\"HR\"", "\"HR_Phase\""}));
    expectNumberedColumns(record->predictorValues, 2, 100);
    expectNoMotionData(*record);
    EXPECT_EQ(logged(), (Log{"Reading file: " + path, headerLine(2, 2, 100, 0, 1),
                             "Reading colors...", "Reading confounds..."}));
}

TEST_F(ConfoundsRtc, BlueGrowsByTwentyPerPredictorWithoutACap) {
    std::vector<std::string> names;
    for (int i = 0; i < 14; ++i) {
        names.push_back("\"RVT" + std::to_string(i) + "\"");
    }
    const std::string path =
        write("run1_RVT.rtc", rtcFile({2, 14, 3}, names, numberedRows(3, 14)).text());

    const DesignMatrixFilePtr record = readConfoundsRtc(path.c_str(), kRespirationKind);

    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->kind, kRespirationKind);
    ASSERT_EQ(record->predictorColors.size(), 14u);
    for (std::int32_t i = 0; i < 14; ++i) {
        EXPECT_EQ(record->predictorColors[static_cast<std::size_t>(i)],
                  (std::vector<std::int32_t>{255, 255, 20 * i}));
    }
    EXPECT_EQ(record->predictorColors.back(), (std::vector<std::int32_t>{255, 255, 260}));
    EXPECT_EQ(record->predictorNames, names);
    expectNumberedColumns(record->predictorValues, 14, 3);
}

TEST_F(ConfoundsRtc, ReadsQuotedNamesWholeAndUnquotedNamesAsOneToken) {
    const std::string path = write(
        "run1_HR.rtc",
        rtcFile({2, 3, 3}, {"\"Heart Rate\"", "HR_raw", "\"a b c\""}, numberedRows(3, 3)).text());

    const DesignMatrixFilePtr record = readConfoundsRtc(path.c_str(), kHeartRateKind);

    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->predictorNames,
              (std::vector<std::string>{"\"Heart Rate\"", "HR_raw", "\"a b c\""}));
    expectNumberedColumns(record->predictorValues, 3, 3);
}

TEST_F(ConfoundsRtc, BothLayoutsStoreTheKindTheyAreGiven) {
    const std::string rtc =
        write("c.rtc", rtcFile({2, 1, 1}, {"\"x\""}, numberedRows(1, 1)).text());
    const std::string sdm =
        write("c.sdm", sdmFile({1, 1, 1, 0, 1}, {{0, 0, 0}}, {"\"x\""}, numberedRows(1, 1)).text());
    for (const std::int32_t kind : {kHeartRateKind, kRespirationKind}) {
        EXPECT_EQ(readConfoundsRtc(rtc.c_str(), kind)->kind, kind);
        EXPECT_EQ(readConfoundsSdm(sdm.c_str(), kind)->kind, kind);
    }
}

TEST_F(MotionEstimatesSdm, ReadsSixColourTriplesAndSixColumns) {
    const std::vector<Triple> colours = {{1, 2, 3},    {4, 5, 6},    {7, 8, 9},
                                         {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
    const std::string path =
        write("run1_3DMC.sdm",
              sdmFile({1, 6, 50, 0, 1}, colours, motionNames(), numberedRows(50, 6)).text());

    const DesignMatrixFilePtr record = readMotionEstimatesSdm(path.c_str());

    EXPECT_TRUE(record->readOk);
    EXPECT_EQ(record->sourcePath, path);
    EXPECT_EQ(record->kind, kMotionEstimatesKind);
    EXPECT_EQ(record->nrOfPredictors, 6);
    EXPECT_EQ(record->nrOfDataPoints, 50);
    EXPECT_EQ(record->includesConstant, 0);
    EXPECT_EQ(record->firstConfound, 1);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        EXPECT_EQ(record->motionColors[i], colours[i]) << "predictor " << i;
    }
    expectNumberedColumns({record->motionColumns.begin(), record->motionColumns.end()}, 6, 50);
    expectNoPredictorData(*record);
    EXPECT_EQ(logged(), (Log{"Reading file: " + path, headerLine(1, 6, 50, 0, 1),
                             "Reading colors...", "Reading motion estimates..."}));
}

TEST_F(MotionEstimatesRtc, AddsTheSixFixedColours) {
    const std::string path =
        write("run1_3DMC.rtc", rtcFile({2, 6, 50}, motionNames(), numberedRows(50, 6)).text());

    const DesignMatrixFilePtr record = readMotionEstimatesRtc(path.c_str());

    EXPECT_TRUE(record->readOk);
    EXPECT_EQ(record->kind, kMotionEstimatesKind);
    EXPECT_EQ(record->nrOfPredictors, 6);
    EXPECT_EQ(record->includesConstant, 0);
    EXPECT_EQ(record->firstConfound, 1);
    const std::array<Triple, 6> fixed = {
        {{255, 50, 50}, {50, 255, 50}, {50, 50, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}}};
    EXPECT_EQ(record->motionColors, fixed);
    expectNumberedColumns({record->motionColumns.begin(), record->motionColumns.end()}, 6, 50);
    expectNoPredictorData(*record);
    EXPECT_EQ(logged(), (Log{"Reading file: " + path, headerLine(2, 6, 50, 0, 1),
                             "Adding colors...", "Reading motion estimates..."}));
}

TEST_F(MotionEstimatesSdm, ReadsSevenColumnsWithAConstantAndKeepsTheFirstSix) {
    std::vector<Triple> colours = {{1, 2, 3},    {4, 5, 6},    {7, 8, 9},      {10, 11, 12},
                                   {13, 14, 15}, {16, 17, 18}, {255, 255, 255}};
    std::vector<std::string> names = motionNames();
    names.push_back("\"Constant\"");
    const std::string path = write(
        "run1_3DMC.sdm", sdmFile({1, 7, 40, 1, 7}, colours, names, numberedRows(40, 7)).text());

    const DesignMatrixFilePtr record = readMotionEstimatesSdm(path.c_str());

    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->nrOfPredictors, 7);
    for (std::size_t i = 0; i < kMotionColumnCount; ++i) {
        EXPECT_EQ(record->motionColors[i], colours[i]) << "predictor " << i;
    }
    expectNumberedColumns({record->motionColumns.begin(), record->motionColumns.end()}, 6, 40);
}

// Six values a row read from rows of another width would shift every row: such a file is
// refused after its header line, and nothing is merged for its protocol.
TEST_F(AnyReader, MotionFilesOfAnyOtherWidthAreRefused) {
    struct Case {
        const char* what;
        bool timeCourse;
        std::int32_t predictors, constant, columns;
    };
    const Case cases[] = {
        {"six and a constant", false, 6, 1, 6},
        {"seven, no constant", false, 7, 0, 7},
        {"five", false, 5, 0, 5},
        {"eight with a constant", false, 8, 1, 8},
        {"time course of seven", true, 7, 0, 7},
        {"time course of two", true, 2, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clearLog();
        std::vector<std::string> names(static_cast<std::size_t>(c.predictors), "\"m\"");
        const std::vector<Triple> colours(static_cast<std::size_t>(c.predictors), {1, 2, 3});
        const Rows rows = numberedRows(4, c.columns);
        const std::string path =
            c.timeCourse
                ? write("run1_3DMC.rtc", rtcFile({2, c.predictors, 4}, names, rows).text())
                : write("run1_3DMC.sdm",
                        sdmFile({1, c.predictors, 4, c.constant, 1}, colours, names, rows).text());

        const DesignMatrixFilePtr record = c.timeCourse ? readMotionEstimatesRtc(path.c_str())
                                                        : readMotionEstimatesSdm(path.c_str());

        EXPECT_FALSE(record->readOk);
        const std::string rule =
            "Motion estimates need six predictors, and a constant only as a "
            "seventh: this file declares " +
            std::to_string(c.predictors) + " predictors with constant " +
            std::to_string(c.timeCourse ? 0 : c.constant) + ".";
        ASSERT_EQ(logged().size(), 4u);
        EXPECT_EQ(logged()[2], rule);
        EXPECT_EQ(logged()[3], c.timeCourse
                                   ? "Problem with reading *.rtc file. Please check results."
                                   : "Problem with reading *.sdm file. Please check results.");
    }
}

TEST_F(AnyReader, ZeroDataPointsGiveEmptyColumns) {
    for (const ReaderUnderTest& reader : allReaders()) {
        SCOPED_TRACE(reader.label);
        clearLog();
        const std::string path = write("zero", completeFile(reader, 0).text());

        const DesignMatrixFilePtr record = reader.read(path.c_str());

        EXPECT_TRUE(record->readOk);
        EXPECT_EQ(record->nrOfDataPoints, 0);
        if (reader.motion) {
            expectNumberedColumns({record->motionColumns.begin(), record->motionColumns.end()}, 6,
                                  0);
        } else {
            expectNumberedColumns(record->predictorValues, 2, 0);
            EXPECT_EQ(record->predictorNames.size(), 2u);
        }
        EXPECT_EQ(logged(), (Log{"Reading file: " + path, completeFileHeaderLine(reader, 0),
                                 reader.colourMessage, reader.valueMessage}));
    }
}

TEST_F(AnyReader, AFileWithoutPredictorsReadsEmpty) {
    // Rows without predictors hold nothing, so any number of them fits in the file; nothing
    // is sized by that number.
    constexpr std::int32_t kManyRows = std::numeric_limits<std::int32_t>::max();
    const std::string rtc = write("none.rtc", rtcFile({2, 0, kManyRows}, {}, {}).text());
    const std::string sdm = write("none.sdm", sdmFile({1, 0, kManyRows, 0, 1}, {}, {}, {}).text());
    for (const DesignMatrixFilePtr& record : {readConfoundsRtc(rtc.c_str(), kHeartRateKind),
                                              readConfoundsSdm(sdm.c_str(), kRespirationKind)}) {
        EXPECT_TRUE(record->readOk);
        EXPECT_EQ(record->nrOfPredictors, 0);
        EXPECT_EQ(record->nrOfDataPoints, kManyRows);
        expectNoPredictorData(*record);
    }
}

}  // namespace
