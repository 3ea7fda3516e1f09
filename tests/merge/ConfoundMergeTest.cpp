#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include "designmatrix/ConfoundMerge.h"
#include "designmatrix/ZTransform.h"
#include "tests/merge/MergeFixtures.h"
#include "tests/support/TestSupport.h"
#include "text/FormattedText.h"

namespace {

using designmatrix::DesignMatrixFile;
using designmatrix::mergeAllConfounds;
using designmatrix::mergeConfounds;
using mergefixtures::golden;
using mergefixtures::textLines;
using testsupport::readFile;
using testsupport::writeFile;

using Entries = std::vector<std::string>;

// The header lines written before the data-point test.
const std::string kFourLines = "FileVersion: 1\n\nNrOfPredictors: %\nNrOfDataPoints: 4\n";

std::string fourLines(int predictors) {
    std::string text = kFourLines;
    text.replace(text.find('%'), 1, std::to_string(predictors));
    return textLines(text);
}

class MergeWriter : public ::testing::Test {
  protected:
    void SetUp() override { writeFile(base, mergefixtures::baseWithConstant()); }

    testsupport::TempDir dir;
    testsupport::CapturedLog log;
    std::string base = dir.file("run1.sdm");
    DesignMatrixFile motion = mergefixtures::motionRecord();
    DesignMatrixFile heartRate = mergefixtures::heartRateRecord();
    DesignMatrixFile respiration = mergefixtures::respirationRecord();
};

// The golden file pins the notations too: base and motion values as 1, 0.5, 0.123457, 1e-05,
// 1.23457e+06; the constant as 1.000000.
TEST_F(MergeWriter, MotionOnlyGoesAheadOfTheConstant) {
    const std::string merged = mergeConfounds(base, &motion, nullptr, nullptr, true, false, false);

    EXPECT_EQ(merged, dir.file("run1_3DMC.sdm"));
    EXPECT_EQ(readFile(merged), golden("motion-only.sdm"));
    EXPECT_EQ(log.entries(), Entries{"New filename: " + merged});
}

TEST_F(MergeWriter, ZTransformedHeartRateAndRespirationCarryTheZSuffixes) {
    designmatrix::zTransformPredictors(heartRate);
    designmatrix::zTransformPredictors(respiration);

    const std::string merged =
        mergeConfounds(base, nullptr, &heartRate, &respiration, false, true, true);

    EXPECT_EQ(merged, dir.file("run1_HR_z_RVT_z.sdm"));
    EXPECT_EQ(readFile(merged), golden("heart-rate-respiration-z.sdm"));
    EXPECT_EQ(log.entries(), Entries{"New filename: " + merged});
}

TEST_F(MergeWriter, AllThreeTakeOneSuffixChosenByTheMotionRecord) {
    struct Case {
        bool zTransform;
        const char* name;
        const char* goldenFile;
    };
    for (const Case& c : {Case{false, "run1_3DMC_HR_RVT.sdm", "all-three.sdm"},
                          Case{true, "run1_3DMC_z_HR_z_RVT_z.sdm", "all-three-z.sdm"}}) {
        SCOPED_TRACE(c.name);
        DesignMatrixFile m = mergefixtures::motionRecord();
        DesignMatrixFile h = mergefixtures::heartRateRecord();
        DesignMatrixFile r = mergefixtures::respirationRecord();
        if (c.zTransform) {
            designmatrix::zTransformMotion(m);
            designmatrix::zTransformPredictors(h);
            designmatrix::zTransformPredictors(r);
        }
        log.clear();
        const std::string merged = mergeAllConfounds(base, m, h, r);

        EXPECT_EQ(merged, dir.file(c.name));
        EXPECT_EQ(readFile(merged), golden(c.goldenFile));
        EXPECT_EQ(log.entries(), Entries{"New filename: " + merged});

        // The subset writer given all three writes the same file under the same name.
        std::filesystem::remove(merged);
        EXPECT_EQ(mergeConfounds(base, &m, &h, &r, true, true, true), merged);
        EXPECT_EQ(readFile(merged), golden(c.goldenFile));
    }
}

TEST_F(MergeWriter, SuffixesFollowEachRecordsOwnFlagInMotionHeartRateRespirationOrder) {
    struct Case {
        bool hasMotion, hasHeartRate, hasRespiration;
        bool zMotion, zHeartRate, zRespiration;
        const char* name;
    };
    const Case cases[] = {
        {true, true, false, true, false, false, "run1_3DMC_z_HR.sdm"},
        {true, false, true, false, false, true, "run1_3DMC_RVT_z.sdm"},
        {true, true, true, false, true, false, "run1_3DMC_HR_z_RVT.sdm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        motion.zTransformed = c.zMotion;
        heartRate.zTransformed = c.zHeartRate;
        respiration.zTransformed = c.zRespiration;
        EXPECT_EQ(mergeConfounds(base, &motion, &heartRate, &respiration, c.hasMotion,
                                 c.hasHeartRate, c.hasRespiration),
                  dir.file(c.name));
    }
    // mergeAllConfounds looks at the motion record's flag alone.
    motion.zTransformed = false;
    heartRate.zTransformed = true;
    respiration.zTransformed = true;
    EXPECT_EQ(mergeAllConfounds(base, motion, heartRate, respiration),
              dir.file("run1_3DMC_HR_RVT.sdm"));
}

TEST_F(MergeWriter, LongerHeartRateRecordGivesItsFirstValuesButStopsTheMergeOfAllThree) {
    const DesignMatrixFile longer = mergefixtures::heartRateRecord(6);

    const std::string merged = mergeConfounds(base, nullptr, &longer, nullptr, false, true, false);
    EXPECT_EQ(readFile(merged), golden("heart-rate-longer.sdm"));
    EXPECT_EQ(log.entries(), Entries{"New filename: " + merged});

    log.clear();
    const std::string all = mergeAllConfounds(base, motion, longer, respiration);
    EXPECT_EQ(readFile(all), fourLines(12));
    EXPECT_EQ(log.entries(),
              (Entries{"New filename: " + all,
                       "Number of datapoints in *.sdm/*.rtc files (3DMC 4, HR 6, RVT 4) differs "
                       "from the design matrix (4)!"}));
}

TEST_F(MergeWriter, ShorterRecordsEachGetTheirMessageNamingThemAndLeaveFourLines) {
    DesignMatrixFile shorter = mergefixtures::respirationRecord(3);
    shorter.sourcePath = "physio/run1_RVT.rtc";
    const std::string merged = mergeConfounds(base, nullptr, nullptr, &shorter, false, false, true);
    EXPECT_EQ(readFile(merged), fourLines(5));
    EXPECT_EQ(log.entries(),
              (Entries{"New filename: " + merged,
                       "Number of datapoints in *.sdm/*.rtc file(s) not sufficient!",
                       "physio/run1_RVT.rtc holds 3 data points; the design matrix has 4."}));

    log.clear();
    motion.nrOfDataPoints = 2;
    const DesignMatrixFile shortHeartRate = mergefixtures::heartRateRecord(3);
    const std::string all =
        mergeConfounds(base, &motion, &shortHeartRate, &shorter, true, true, true);
    EXPECT_EQ(readFile(all), fourLines(12));
    EXPECT_EQ(log.entries().size(), 7U);
    EXPECT_EQ(log.entries()[3], "Number of datapoints in *.sdm/*.rtc file(s) not sufficient!");
    EXPECT_EQ(log.entries()[4],
              "the heart-rate record holds 3 data points; the design matrix has 4.");
}

TEST_F(MergeWriter, BaseWithoutConstantEndsEveryListWithItsSeparator) {
    writeFile(base, mergefixtures::baseWithoutConstant());

    const std::string merged =
        mergeConfounds(base, &motion, &heartRate, nullptr, true, true, false);

    EXPECT_EQ(merged, dir.file("run1_3DMC_HR.sdm"));
    EXPECT_EQ(readFile(merged), golden("no-constant.sdm"));
}

TEST_F(MergeWriter, BaseVersionTwoLeavesAnEmptyFileAndSaysWhy) {
    writeFile(base, mergefixtures::baseWithConstant(2));

    const std::string merged = mergeConfounds(base, &motion, nullptr, nullptr, true, false, false);

    ASSERT_TRUE(std::filesystem::exists(merged));
    EXPECT_EQ(readFile(merged), "");
    EXPECT_EQ(log.entries(), (Entries{"New filename: " + merged,
                                      "Design matrix file version 2 of " + base +
                                          " is not supported: the merged design matrix " + merged +
                                          " is left empty."}));
}

TEST_F(MergeWriter, DecimalPointStaysAPointUnderACommaLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "German"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            switched = true;
            break;
        }
    }
    if (!switched) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const std::string merged =
        mergeConfounds(base, &motion, &heartRate, nullptr, true, true, false);
    std::setlocale(LC_NUMERIC, previous.c_str());

    const std::string text = readFile(merged);
    EXPECT_NE(text.find("\t0.5\t"), std::string::npos);
    EXPECT_NE(text.find("\t1.000000\t"), std::string::npos);
    EXPECT_EQ(text.find(','), std::string::npos);
}

// Names with blanks (or tabs) inside their quotes are read whole and copied unchanged.
TEST_F(MergeWriter, BaseNamesWithBlanksStayWhole) {
    writeFile(base,
              "FileVersion: 1 NrOfPredictors: 2 NrOfDataPoints: 1 IncludesConstant: 1 "
              "FirstConfoundPredictor: 2 1 2 3 4 5 6 \"Left  hand\tpress\" \"The constant\" "
              "7 1");

    const std::string merged =
        mergeConfounds(base, nullptr, &heartRate, nullptr, false, true, false);

    EXPECT_EQ(readFile(merged),
              textLines("FileVersion: 1\n\nNrOfPredictors: 3\nNrOfDataPoints: 1\n"
                        "IncludesConstant: 1\nFirstConfoundPredictor: 2\n\n"
                        "1 2 3 255 255 0 4 5 6 \n"
                        "\"Left  hand\tpress\"\t\"HeartRate\"\t\t\"The constant\"\n"
                        "7\t1.000000\t1.000000\n"));
}

TEST_F(MergeWriter, RecordNotReadOrIncompleteIsNeverMerged) {
    struct Case {
        const char* what;
        void (*spoil)(DesignMatrixFile& m, DesignMatrixFile& h, DesignMatrixFile& r);
        const char* message;
    };
    const Case cases[] = {
        {"motion not read",
         [](DesignMatrixFile& m, DesignMatrixFile&, DesignMatrixFile&) { m.readOk = false; },
         "Confounds from the motion-estimates record were not read completely: no merged design "
         "matrix is written."},
        {"heart-rate column short",
         [](DesignMatrixFile&, DesignMatrixFile& h, DesignMatrixFile&) {
             h.predictorValues[0].pop_back();
         },
         "Confounds from the heart-rate record were not read completely: no merged design "
         "matrix is written."},
        {"respiration names missing",
         [](DesignMatrixFile&, DesignMatrixFile&, DesignMatrixFile& r) {
             r.predictorNames.clear();
             r.sourcePath = "scans/run1_RVT.rtc";
         },
         "Confounds from scans/run1_RVT.rtc were not read completely: no merged design matrix is "
         "written."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DesignMatrixFile m = mergefixtures::motionRecord();
        DesignMatrixFile h = mergefixtures::heartRateRecord();
        DesignMatrixFile r = mergefixtures::respirationRecord();
        c.spoil(m, h, r);
        log.clear();

        EXPECT_EQ(mergeAllConfounds(base, m, h, r), "");
        EXPECT_EQ(mergeConfounds(base, &m, &h, &r, true, true, true), "");

        EXPECT_EQ(log.entries(), (Entries{c.message, c.message}));
        EXPECT_FALSE(std::filesystem::exists(dir.file("run1_3DMC_HR_RVT.sdm")));
    }
    // A flag set for a record that is not there.
    log.clear();
    EXPECT_EQ(mergeConfounds(base, nullptr, nullptr, nullptr, true, false, false), "");
    EXPECT_EQ(log.entries(),
              Entries{"No motion estimates were loaded: no merged design matrix is written."});
}

TEST_F(MergeWriter, BaseThatCannotBeOpenedCreatesNoFile) {
    const std::string missing = dir.file("missing.sdm");

    const std::string merged =
        mergeConfounds(missing, &motion, nullptr, nullptr, true, false, false);

    EXPECT_FALSE(std::filesystem::exists(merged));
    EXPECT_EQ(log.entries(), (Entries{"New filename: " + merged,
                                      "Unable to open the design matrix file " + missing +
                                          ": no merged design matrix is written."}));
}

TEST_F(MergeWriter, BaseThatEndsEarlyOrHoldsNoNumberStopsWithOneLineAndKeepsThePartialFile) {
    const std::string full = mergefixtures::baseWithConstant();
    const std::string header = "FileVersion: 1\n\nNrOfPredictors: 4\nNrOfDataPoints: 4\n";
    const std::string headerEnd = "IncludesConstant: 1\nFirstConfoundPredictor: 3\n\n";
    struct Case {
        std::string baseText;
        std::string written;
        std::string problem;
    };
    const std::string toColours = full.substr(0, full.find("255 255 255"));
    const std::string toNames = full.substr(0, full.find("\"Task B\""));
    const Case cases[] = {
        {"", "", "the file ends before the version entry"},
        {"FileVersion: one", "", "the version entry is not a number"},
        {"FileVersion: 1 NrOfPredictors: 3 NrOfDataPoints:",
         "FileVersion: 1\n\nNrOfPredictors: 4\n", "the file ends before the data-point entry"},
        {toColours, header + headerEnd + "255 0 0 0 255 0 ",
         "the file ends before colour component 1 of predictor 3"},
        {toNames + "\"Task B",
         header + headerEnd + "255 0 0 0 255 0 255 255 0 255 255 255 \n" + "\"Task A\"\t",
         "the file ends before the name of predictor 2"},
        {full.substr(0, full.find("0.0000001")) + "x 1\n",
         header + headerEnd + "255 0 0 0 255 0 255 255 0 255 255 255 \n" +
             "\"Task A\"\t\"Task B\"\t\"HeartRate\"\t\t\"Constant\"\n" +
             "0.123457\t0.5\t1.000000\t1.000000\n1\t0\t2.000000\t1.000000\n-2.5\t",
         "value 2 of row 3 is not a number"},
        {full.substr(0, full.find("0 123456789 1")),
         header + headerEnd + "255 0 0 0 255 0 255 255 0 255 255 255 \n" +
             "\"Task A\"\t\"Task B\"\t\"HeartRate\"\t\t\"Constant\"\n" +
             "0.123457\t0.5\t1.000000\t1.000000\n1\t0\t2.000000\t1.000000\n" +
             "-2.5\t1e-07\t3.000000\t1.000000\n",
         "the file ends before value 1 of row 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        writeFile(base, c.baseText);
        log.clear();

        const std::string merged =
            mergeConfounds(base, nullptr, &heartRate, nullptr, false, true, false);

        EXPECT_EQ(readFile(merged), textLines(c.written));
        EXPECT_EQ(log.entries(), (Entries{"New filename: " + merged,
                                          "Problem with reading " + base + ": " + c.problem +
                                              ". The merged design matrix is left incomplete."}));
    }
}

TEST_F(MergeWriter, ABaseNameThatRunsOverALineEndStopsTheMerge) {
    // Written as read, the line end would split the merged file's name line in two.
    writeFile(base,
              "FileVersion: 1 NrOfPredictors: 2 NrOfDataPoints: 1 IncludesConstant: 1 "
              "FirstConfoundPredictor: 2 1 2 3 4 5 6 \"Task A\" \"Constant\n\"1 1\n");

    const std::string merged =
        mergeConfounds(base, nullptr, &heartRate, nullptr, false, true, false);

    EXPECT_EQ(log.entries().back(),
              "Problem with reading " + base +
                  ": the name of predictor 2 does not close its double quote on its line. The "
                  "merged design matrix is left incomplete.");
    const std::string text = readFile(merged);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << text;
    EXPECT_TRUE(text.ends_with("\n\"Task A\"\t")) << text;
}

TEST_F(MergeWriter, CountsTheMergeCannotUseStopIt) {
    struct Case {
        const char* baseText;
        const char* problem;
    };
    const Case cases[] = {
        {"FileVersion: 1 NrOfPredictors: -2 NrOfDataPoints: 4",
         "the predictor count -2 is negative"},
        {"FileVersion: 1 NrOfPredictors: 2 NrOfDataPoints: -4",
         "the number of data points -4 is negative"},
        {"FileVersion: 1 NrOfPredictors: 0 NrOfDataPoints: 4 IncludesConstant: 1 "
         "FirstConfoundPredictor: 1",
         "it declares a constant but no predictor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        writeFile(base, c.baseText);
        log.clear();
        mergeConfounds(base, nullptr, &heartRate, nullptr, false, true, false);
        ASSERT_EQ(log.entries().size(), 2U);
        EXPECT_EQ(log.entries()[1], "Problem with reading " + base + ": " + c.problem +
                                        ". The merged design matrix is left incomplete.");
    }
}

TEST_F(MergeWriter, NeverReplacesOneOfItsInputs) {
    // A motion file that carries the very name the merge would give its output.
    const std::string motionPath = dir.file("run1_3DMC.sdm");
    writeFile(motionPath, "motion estimates");
    motion.sourcePath = motionPath;

    const std::string merged = mergeConfounds(base, &motion, nullptr, nullptr, true, false, false);

    EXPECT_EQ(merged, motionPath);
    EXPECT_EQ(readFile(motionPath), "motion estimates");
    EXPECT_EQ(log.entries(),
              (Entries{"New filename: " + merged,
                       "The merged design matrix " + merged +
                           " would replace one of its input files or a file of the list: "
                           "nothing is written."}));

    // The same file under another spelling.
    motion.sourcePath = (dir.path() / "." / "run1_3DMC.sdm").string();
    log.clear();
    mergeConfounds(base, &motion, nullptr, nullptr, true, false, false);
    EXPECT_EQ(readFile(motionPath), "motion estimates");
    EXPECT_EQ(log.entries().size(), 2U);

    // No confound at all: the new name is the base's own.
    const std::string baseText = readFile(base);
    log.clear();
    EXPECT_EQ(mergeConfounds(base, nullptr, nullptr, nullptr, false, false, false), base);
    EXPECT_EQ(readFile(base), baseText);
    EXPECT_EQ(log.entries().size(), 2U);
}

TEST_F(MergeWriter, OutputThatCannotBeOpenedIsReported) {
    std::filesystem::create_directory(dir.file("run1_3DMC.sdm"));

    const std::string merged = mergeConfounds(base, &motion, nullptr, nullptr, true, false, false);

    EXPECT_EQ(merged, dir.file("run1_3DMC.sdm"));
    EXPECT_EQ(log.entries(),
              (Entries{"New filename: " + merged, "Unable to open a file for writing."}));
}

TEST_F(MergeWriter, LongValuesAndLongLogLinesAreWrittenWhole) {
    heartRate.predictorValues[0][0] = 1e30;
    heartRate.predictorValues[0][1] = -1e300;
    // A folder deep enough that "New filename: " and the path pass 255 characters.
    std::filesystem::path folder = dir.path();
    for (int i = 0; i < 4; ++i) {
        folder /= std::string(70, static_cast<char>('a' + i));
    }
    std::filesystem::create_directories(folder);
    const std::string deepBase = (folder / "run1.sdm").string();
    writeFile(deepBase, mergefixtures::baseWithConstant());

    const std::string merged =
        mergeConfounds(deepBase, nullptr, &heartRate, nullptr, false, true, false);

    ASSERT_GT(log.entries().at(0).size(), 255U);
    EXPECT_EQ(log.entries(), Entries{"New filename: " + merged});
    const std::string text = readFile(merged);
    EXPECT_NE(text.find("\t1000000000000000019884624838656.000000\t"), std::string::npos);
    const std::string hugeNegative = "\t" + text::formatText("%.6f", -1e300) + "\t";
    EXPECT_EQ(hugeNegative.size(), 2U + 302U + 7U);
    EXPECT_NE(text.find(hugeNegative), std::string::npos);
}

}  // namespace
