// Bad confound files, one kind of fault a row, run through the program with a valid protocol and
// time course: the base design matrix is saved, and the merged one is written only when the
// confound file was read whole and adds something.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "designmatrix/ConfoundReaders.h"
#include "tests/robustness/Study.h"

namespace robustness {
namespace {

enum class Outcome {
    Merged,        // read whole: the merged design matrix is written and reads back whole
    NotRead,       // the reader's failure line, then no merged design matrix
    NoPredictor,   // read, but nothing to add: no merged design matrix
    TooFewPoints,  // fewer data points than the time course: the four-line stub and its line
};

struct ConfoundRow {
    const char* what;
    const char* file;  // the confound file of the study that the row replaces
    std::string content;
    Outcome outcome;
    int mergedPredictors = 0;  // for Merged: the base's three plus what the confound adds
    int points = 0;            // for TooFewPoints: the file's data points
    const char* line = "";     // a line the log must also hold
};

void PrintTo(const ConfoundRow& row, std::ostream* out) {
    *out << row.what;
}

const std::string kHeartRateHeader = "FileVersion: 2\nType: DesignMatrix\n";
const std::string kMotionHeader =
    "FileVersion: 1\n\nNrOfPredictors: 6\nNrOfDataPoints: 6\nIncludesConstant: 0\n"
    "FirstConfoundPredictor: 1\n\n";

std::string heartRate(const std::string& predictors, const std::string& points,
                      const std::string& rest) {
    return kHeartRateHeader + "NrOfPredictors: " + predictors + "\nNrOfDataPoints: " + points +
           "\n" + rest;
}

std::string withValue(const std::string& value) {
    return heartRate("1", "6", "\"HR\"\n70\n71\n" + value + "\n73\n74\n75\n");
}

std::string replaced(std::string text, char from, char to) {
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

// The merged name of each confound file of the study.
std::string mergedName(const std::string& file) {
    if (file == "run1_3DMC.sdm" || file == "run1_3DMC.rtc") {
        return "run1_task_3DMC.sdm";
    }
    return file == "run1_HR.rtc" ? "run1_task_HR.sdm" : "run1_task_RVT.sdm";
}

class BadConfoundFile : public testing::TestWithParam<ConfoundRow> {};

TEST_P(BadConfoundFile, IsReportedAndNeverGivesAMergedFileThatLooksWhole) {
    const ConfoundRow& row = GetParam();
    Study study;
    study.write(row.file, row.content);
    const ProgramResult result =
        study.run(std::string("1\n{dir}/task.prt\n{dir}/run1.vtc\n{dir}/") + row.file + "\n");

    expectSound(study, result);
    // Only a merged design matrix that reads back whole gives the pair all it is due.
    const bool whole = row.outcome == Outcome::Merged;
    EXPECT_EQ(result.status, whole ? 0 : 3) << result.err;
    EXPECT_TRUE(contains(
        result.err, whole ? "report: pair 1 of 1 (list entry 1: " + study.file("task.prt") + ", " +
                                study.file("run1.vtc") + "): ok: "
                          : std::string("): FAILED: ")))
        << result.err;
    EXPECT_TRUE(contains(result.out, "Saving of design matrix succeeded.\n")) << result.out;
    const std::string merged = mergedName(row.file);
    const std::string source = study.file(row.file);
    std::vector<std::string> expectedFiles = {"run1_task.sdm"};
    switch (row.outcome) {
        case Outcome::Merged: {
            expectedFiles.push_back(merged);
            // The merged design matrix reads back whole; its constant is dropped on reading.
            const auto record = designmatrix::readConfoundsSdm(study.file(merged).c_str(),
                                                               designmatrix::kHeartRateKind);
            EXPECT_TRUE(record->readOk);
            EXPECT_EQ(record->nrOfPredictors, row.mergedPredictors - 1);
            EXPECT_EQ(record->nrOfDataPoints, kVolumes);
            break;
        }
        case Outcome::NotRead: {
            EXPECT_TRUE(contains(result.out, row.line)) << result.out;
            const char* failure = contains(row.file, ".rtc")
                                      ? "Problem with reading *.rtc file. Please check results.\n"
                                      : "Problem with reading *.sdm file. Please check results.\n";
            EXPECT_TRUE(contains(result.out, failure)) << result.out;
            EXPECT_TRUE(contains(result.out, "The confound file " + source +
                                                 " could not be read: no merged design matrix is "
                                                 "written for this protocol.\n"))
                << result.out;
            break;
        }
        case Outcome::NoPredictor:
            EXPECT_TRUE(contains(result.out, "The confound file " + source +
                                                 " holds no predictor to add: no merged design "
                                                 "matrix is written for this protocol.\n"))
                << result.out;
            break;
        case Outcome::TooFewPoints: {
            expectedFiles.push_back(merged);
            EXPECT_TRUE(contains(result.out,
                                 "Number of datapoints in *.sdm/*.rtc file(s) not sufficient!\n"))
                << result.out;
            EXPECT_TRUE(contains(result.out, source + " holds " + std::to_string(row.points) +
                                                 " data points; the design matrix has 6.\n"))
                << result.out;
            const std::string stub = study.read(merged);
            EXPECT_EQ(std::count(stub.begin(), stub.end(), '\n'), 4) << stub;
            break;
        }
    }
    std::sort(expectedFiles.begin(), expectedFiles.end());
    EXPECT_EQ(study.newFiles(), expectedFiles);
}

const ConfoundRow kRows[] = {
    // Empty files and binary garbage.
    {"EmptyFile", "run1_HR.rtc", "", Outcome::NotRead},
    {"BinaryGarbage", "run1_HR.rtc", binaryGarbage(), Outcome::NotRead},
    {"MotionEmptyFile", "run1_3DMC.sdm", "", Outcome::NotRead},
    {"MotionBinaryGarbage", "run1_3DMC.sdm", binaryGarbage(), Outcome::NotRead},
    // Truncated at each section.
    {"TruncatedInTheHeader", "run1_HR.rtc", kHeartRateHeader + "NrOfPredictors: 1\n",
     Outcome::NotRead},
    {"TruncatedBeforeTheNames", "run1_HR.rtc", heartRate("1", "6", ""), Outcome::NotRead},
    {"TruncatedInTheRows", "run1_HR.rtc", heartRate("1", "6", "\"HR\"\n70\n71\n72\n"),
     Outcome::NotRead},
    {"MotionTruncatedInTheColours", "run1_3DMC.sdm", kMotionHeader + "255 0 0 0 255\n",
     Outcome::NotRead},
    {"MotionTruncatedInTheNames", "run1_3DMC.sdm",
     kMotionHeader + "255 0 0 0 255 0 0 0 255 255 255 0 255 0 255 0 255 255\n"
                     "\"Translation X [mm]\" \"Transl",
     Outcome::NotRead},
    {"RespirationTruncatedInTheRows", "run1_RVT.sdm",
     validRespirationDesignMatrix().substr(0, validRespirationDesignMatrix().size() - 9),
     Outcome::NotRead},
    // Counts negative, zero, huge.
    {"NegativePredictorCount", "run1_HR.rtc", heartRate("-1", "6", "\"HR\"\n70\n"),
     Outcome::NotRead},
    {"NegativeDataPointCount", "run1_HR.rtc", heartRate("1", "-6", "\"HR\"\n70\n"),
     Outcome::NotRead},
    {"ZeroPredictors", "run1_HR.rtc", heartRate("0", "6", ""), Outcome::NoPredictor},
    {"OnlyAConstant", "run1_RVT.sdm",
     "FileVersion: 1\nNrOfPredictors: 1\nNrOfDataPoints: 6\nIncludesConstant: 1\n"
     "FirstConfoundPredictor: 2\n255 255 255\n\"Constant\"\n1\n1\n1\n1\n1\n1\n",
     Outcome::NoPredictor},
    {"ZeroDataPoints", "run1_HR.rtc", heartRate("1", "0", "\"HR\"\n"), Outcome::TooFewPoints, 0, 0},
    {"FewerDataPoints", "run1_HR.rtc", heartRate("1", "4", "\"HR\"\n70\n71\n72\n73\n"),
     Outcome::TooFewPoints, 0, 4},
    {"HugePredictorCount", "run1_HR.rtc", heartRate("2147483647", "6", "\"HR\"\n70\n"),
     Outcome::NotRead},
    {"HugeDataPointCount", "run1_HR.rtc", heartRate("1", "2000000000", "\"HR\"\n70\n"),
     Outcome::NotRead},
    {"CountBeyondTheIntegerRange", "run1_HR.rtc", heartRate("99999999999", "6", "\"HR\"\n70\n"),
     Outcome::NotRead},
    {"MoreDataPointsThanTheTimeCourse", "run1_HR.rtc",
     heartRate("1", "8", "\"HR\"\n70\n71\n72\n73\n74\n75\n76\n77\n"), Outcome::Merged, 4},
    // Motion files of another width than six (seven with a constant is read, its constant left).
    {"MotionSixAndAConstant", "run1_3DMC.sdm",
     "FileVersion: 1\nNrOfPredictors: 6\nNrOfDataPoints: 6\nIncludesConstant: 1\n"
     "FirstConfoundPredictor: 7\n" +
         validMotionDesignMatrix().substr(validMotionDesignMatrix().find("255 0 0")),
     Outcome::NotRead, 0, 0,
     "Motion estimates need six predictors, and a constant only as a seventh: this file declares "
     "6 predictors with constant 1.\n"},
    {"MotionSevenWithoutAConstant", "run1_3DMC.rtc",
     "FileVersion: 2\nType: DesignMatrix\nNrOfPredictors: 7\nNrOfDataPoints: 6\n"
     "\"a\" \"b\" \"c\" \"d\" \"e\" \"f\" \"g\"\n1 2 3 4 5 6 7\n1 2 3 4 5 6 7\n1 2 3 4 5 6 7\n"
     "1 2 3 4 5 6 7\n1 2 3 4 5 6 7\n1 2 3 4 5 6 7\n",
     Outcome::NotRead, 0, 0,
     "Motion estimates need six predictors, and a constant only as a seventh: this file declares "
     "7 predictors with constant 0.\n"},
    {"MotionSevenWithAConstant", "run1_3DMC.sdm",
     "FileVersion: 1\nNrOfPredictors: 7\nNrOfDataPoints: 6\nIncludesConstant: 1\n"
     "FirstConfoundPredictor: 7\n1 1 1 2 2 2 3 3 3 4 4 4 5 5 5 6 6 6 255 255 255\n"
     "\"X\" \"Y\" \"Z\" \"RX\" \"RY\" \"RZ\" \"Constant\"\n1 2 3 4 5 6 1\n2 3 4 5 6 7 1\n"
     "3 4 5 6 7 8 1\n4 5 6 7 8 9 1\n5 6 7 8 9 10 1\n6 7 8 9 10 11 1\n",
     Outcome::Merged, 9},
    // Tokens that are no number.
    {"NonNumericValue", "run1_HR.rtc", withValue("seventy-two"), Outcome::NotRead},
    {"NaNValue", "run1_HR.rtc", withValue("nan"), Outcome::NotRead},
    {"InfiniteValue", "run1_HR.rtc", withValue("inf"), Outcome::NotRead},
    {"NotAvailableValue", "run1_HR.rtc", withValue("n/a"), Outcome::NotRead},
    {"ValueBeyondTheDoubleRange", "run1_HR.rtc", withValue("1e999"), Outcome::NotRead},
    {"MotionNonNumericColour", "run1_3DMC.sdm",
     kMotionHeader + "red 0 0 0 255 0 0 0 255 255 255 0 255 0 255 0 255 255\n", Outcome::NotRead},
    // Line ends and names.
    {"CarriageReturnOnlyLineEnds", "run1_HR.rtc", replaced(validHeartRateTimeCourse(), '\n', '\r'),
     Outcome::Merged, 4},
    {"MotionCarriageReturnOnlyLineEnds", "run1_3DMC.sdm",
     replaced(validMotionDesignMatrix(), '\n', '\r'), Outcome::Merged, 9},
    {"NameWithBlanks", "run1_HR.rtc",
     heartRate("1", "6", "\"Heart rate\"\n70\n71\n72\n73\n74\n75\n"), Outcome::Merged, 4},
    {"NameWithoutQuotes", "run1_HR.rtc", heartRate("1", "6", "HR\n70\n71\n72\n73\n74\n75\n"),
     Outcome::Merged, 4},
    {"MotionNamesWithBlanks", "run1_3DMC.sdm", validMotionDesignMatrix(), Outcome::Merged, 9},
    {"NameRunningOverALineEnd", "run1_HR.rtc",
     heartRate("1", "6", "\"Heart\nrate\"\n70\n71\n72\n73\n74\n75\n"), Outcome::NotRead},
};

INSTANTIATE_TEST_SUITE_P(Rows, BadConfoundFile, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<ConfoundRow>& row) {
                             return std::string(row.param.what);
                         });

}  // namespace
}  // namespace robustness
