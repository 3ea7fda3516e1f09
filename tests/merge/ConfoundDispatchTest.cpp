#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "designmatrix/ConfoundDispatch.h"
#include "tests/merge/MergeFixtures.h"
#include "tests/support/TestSupport.h"

namespace {

using designmatrix::addAllConfounds;
using designmatrix::addConfounds;
using mergefixtures::golden;
using mergefixtures::textLines;
using testsupport::readFile;
using testsupport::writeFile;

using Entries = std::vector<std::string>;

// A reference time-course file of the given columns; names may hold blanks.
std::string timeCourseFile(const std::vector<std::string>& names,
                           const std::vector<std::vector<double>>& columns) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text.precision(17);
    text << "FileVersion: 2\nType: DesignMatrix\nNrOfPredictors: " << columns.size()
         << "\nNrOfDataPoints: " << columns.at(0).size() << "\n";
    for (const auto& name : names) {
        text << name << ' ';
    }
    text << '\n';
    for (std::size_t t = 0; t < columns[0].size(); ++t) {
        for (const auto& column : columns) {
            text << column.at(t) << ' ';
        }
        text << '\n';
    }
    return text.str();
}

std::string motionTimeCourse() {
    const auto record = mergefixtures::motionRecord();
    return timeCourseFile({"\"Translation X\"", "\"Translation Y\"", "\"Translation Z\"",
                           "\"Rotation X\"", "\"Rotation Y\"", "\"Rotation Z\""},
                          {record.motionColumns.begin(), record.motionColumns.end()});
}

std::string heartRateTimeCourse() {
    return timeCourseFile({"\"HeartRate\""}, {{1, 2, 3, 4}});
}

std::string respirationTimeCourse() {
    const auto record = mergefixtures::respirationRecord();
    return timeCourseFile(record.predictorNames, record.predictorValues);
}

std::size_t countOf(const Entries& entries, const std::string& entry) {
    return static_cast<std::size_t>(std::count(entries.begin(), entries.end(), entry));
}

class Dispatch : public ::testing::Test {
  protected:
    void SetUp() override {
        writeFile(base, mergefixtures::baseWithConstant());
        writeFile(motion, motionTimeCourse());
        writeFile(heartRate, heartRateTimeCourse());
        writeFile(respiration, respirationTimeCourse());
    }

    testsupport::TempDir dir;
    testsupport::CapturedLog log;
    std::string base = dir.file("run1.sdm");
    std::string motion = dir.file("run1_3DMC.rtc");
    std::string heartRate = dir.file("run1_HR.rtc");
    std::string respiration = dir.file("run1_RVT.rtc");
};

TEST_F(Dispatch, AllThreeTimeCoursesGiveTheGoldenDesignMatrix) {
    const std::string merged =
        addAllConfounds(base, motion.c_str(), heartRate.c_str(), respiration.c_str(), false);
    EXPECT_EQ(merged, dir.file("run1_3DMC_HR_RVT.sdm"));
    EXPECT_EQ(readFile(merged), golden("all-three.sdm"));
    EXPECT_EQ(countOf(log.entries(), "z-transform predictor..."), 0U);

    log.clear();
    const std::string transformed =
        addAllConfounds(base, motion.c_str(), heartRate.c_str(), respiration.c_str(), true);
    EXPECT_EQ(transformed, dir.file("run1_3DMC_z_HR_z_RVT_z.sdm"));
    EXPECT_EQ(readFile(transformed), golden("all-three-z.sdm"));
    EXPECT_EQ(countOf(log.entries(), "z-transform predictor..."), 1U);
}

TEST_F(Dispatch, NamesCarryTheZFormsExactlyWhenAsked) {
    struct Case {
        bool hasMotion, hasHeartRate, hasRespiration, zTransform;
        const char* name;
    };
    const Case cases[] = {
        {true, false, false, false, "run1_3DMC.sdm"},
        {false, true, false, false, "run1_HR.sdm"},
        {false, false, true, false, "run1_RVT.sdm"},
        {true, true, true, false, "run1_3DMC_HR_RVT.sdm"},
        {true, false, false, true, "run1_3DMC_z.sdm"},
        {false, true, true, true, "run1_HR_z_RVT_z.sdm"},
        {true, true, true, true, "run1_3DMC_z_HR_z_RVT_z.sdm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(addConfounds(base, motion.c_str(), heartRate.c_str(), respiration.c_str(),
                               c.zTransform, c.hasMotion, c.hasHeartRate, c.hasRespiration),
                  dir.file(c.name));
    }
    // The z-transformed heart rate and respiration against the golden file.
    EXPECT_EQ(readFile(dir.file("run1_HR_z_RVT_z.sdm")), golden("heart-rate-respiration-z.sdm"));
}

TEST_F(Dispatch, MotionOnlyWithZTransformReadsNothingElse) {
    const std::string merged = addConfounds(base, motion.c_str(), "absent_HR.rtc", "absent_RVT.rtc",
                                            true, true, false, false);

    EXPECT_EQ(merged, dir.file("run1_3DMC_z.sdm"));
    const Entries& entries = log.entries();
    EXPECT_EQ(countOf(entries, "z-transform predictor..."), 1U);
    EXPECT_EQ(countOf(entries, "Reading file: " + motion), 1U);
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const std::string& e) { return e.rfind("Reading file:", 0) == 0; }),
              1);
    // The third motion column (10, 20, 30, 40) comes out transformed.
    const std::string text = readFile(merged);
    EXPECT_NE(text.find("\t-1.34164\t"), std::string::npos);
    EXPECT_NE(text.find("\t1.34164\t"), std::string::npos);
}

TEST_F(Dispatch, ReaderFollowsDotRtcInTheFileNameOnly) {
    // Design-matrix layouts under names that do or do not hold ".rtc".
    const std::string sdmHeader =
        "FileVersion: 1\nNrOfPredictors: %\nNrOfDataPoints: 4\nIncludesConstant: 0\n"
        "FirstConfoundPredictor: 1\n";
    std::string motionSdm = sdmHeader;
    motionSdm.replace(motionSdm.find('%'), 1, "6");
    motionSdm +=
        "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18\n"
        "\"Translation X\" \"Translation Y\" \"Translation Z\" \"Rotation X\" "
        "\"Rotation Y\" \"Rotation Z\"\n"
        "1 2 3 4 5 6\n2 3 4 5 6 7\n3 4 5 6 7 8\n4 5 6 7 8 9\n";
    std::string respirationSdm = sdmHeader;
    respirationSdm.replace(respirationSdm.find('%'), 1, "1");
    respirationSdm += "7 8 9\n\"RVT\"\n0.5\n0.25\n0.125\n1\n";

    std::filesystem::create_directory(dir.file("scans.rtc"));
    std::filesystem::create_directory(dir.file("physio"));
    const std::string upperCaseMotion = dir.file("run1_3DMC.RTC");
    const std::string motionInRtcFolder = dir.file("scans.rtc/run1_3DMC.sdm");
    const std::string respirationSdmPath = dir.file("physio/run1_RVT.sdm");
    writeFile(upperCaseMotion, motionSdm);
    writeFile(motionInRtcFolder, motionSdm);
    writeFile(respirationSdmPath, respirationSdm);

    // run1_3DMC.RTC: design-matrix layout, colours read from the file.
    std::string merged =
        addConfounds(base, upperCaseMotion.c_str(), nullptr, nullptr, false, true, false, false);
    EXPECT_EQ(countOf(log.entries(), "Reading colors..."), 1U);
    EXPECT_EQ(countOf(log.entries(), "Adding colors..."), 0U);
    EXPECT_NE(readFile(merged).find("255 0 0 0 255 0 1 2 3 4 5 6 "), std::string::npos);

    // scans.rtc/run1_3DMC.sdm: the folder's name does not count, design-matrix layout.
    log.clear();
    std::filesystem::remove(merged);
    merged =
        addConfounds(base, motionInRtcFolder.c_str(), nullptr, nullptr, false, true, false, false);
    EXPECT_EQ(countOf(log.entries(), "Reading colors..."), 1U);
    EXPECT_NE(readFile(merged).find("255 0 0 0 255 0 1 2 3 4 5 6 "), std::string::npos);

    // run1_RVT.rtc: time-course layout (generated colours); run1_RVT.sdm: design-matrix layout.
    log.clear();
    merged = addConfounds(base, nullptr, nullptr, respiration.c_str(), false, false, false, true);
    EXPECT_NE(readFile(merged).find(textLines("255 255 0 255 255 20 255 255 255 \n")),
              std::string::npos);
    log.clear();
    std::filesystem::remove(merged);
    merged =
        addConfounds(base, nullptr, nullptr, respirationSdmPath.c_str(), false, false, false, true);
    EXPECT_EQ(merged, dir.file("run1_RVT.sdm"));
    EXPECT_NE(readFile(merged).find(textLines("255 0 0 0 255 0 7 8 9 255 255 255 \n")),
              std::string::npos);
}

TEST_F(Dispatch, FileThatCannotBeReadStopsTheMergeWithOneLineNamingIt) {
    const std::string missing = dir.file("run1_HR_missing.rtc");
    const std::string line = "The confound file " + missing +
                             " could not be read: no merged design matrix is written for this "
                             "protocol.";

    EXPECT_EQ(addConfounds(base, motion.c_str(), missing.c_str(), nullptr, true, true, true, false),
              "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("run1_3DMC_z_HR_z.sdm")));
    EXPECT_EQ(countOf(log.entries(), line), 1U);
    EXPECT_EQ(countOf(log.entries(), "z-transform predictor..."), 0U);
    EXPECT_EQ(log.entries().back(), line);

    log.clear();
    EXPECT_EQ(addAllConfounds(base, motion.c_str(), missing.c_str(), respiration.c_str(), false),
              "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("run1_3DMC_HR_RVT.sdm")));
    EXPECT_EQ(log.entries().back(), line);

    // A file that ends inside its rows is not merged either.
    const std::string cut = dir.file("run1_RVT_cut.rtc");
    const std::string full = respirationTimeCourse();
    writeFile(cut, full.substr(0, full.size() - 6));
    log.clear();
    EXPECT_EQ(addConfounds(base, nullptr, nullptr, cut.c_str(), false, false, false, true), "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("run1_RVT.sdm")));
    EXPECT_EQ(log.entries().back(),
              "The confound file " + cut +
                  " could not be read: no merged design matrix is written for this protocol.");
}

TEST_F(Dispatch, FileWithoutAPredictorToAddStopsTheMerge) {
    // A time course of no predictor, and a design matrix whose one predictor is its constant.
    const std::string empty = dir.file("run1_HR_none.rtc");
    writeFile(empty, "FileVersion: 2 Type: DesignMatrix NrOfPredictors: 0 NrOfDataPoints: 4");
    const std::string constantOnly = dir.file("run1_RVT_constant.sdm");
    writeFile(constantOnly,
              "FileVersion: 1 NrOfPredictors: 1 NrOfDataPoints: 4 IncludesConstant: 1 "
              "FirstConfoundPredictor: 2 255 255 255 \"Constant\"\n1\n1\n1\n1\n");
    for (const std::string& file : {empty, constantOnly}) {
        SCOPED_TRACE(file);
        log.clear();
        const bool isHeartRate = file == empty;
        EXPECT_EQ(addConfounds(base, motion.c_str(), isHeartRate ? file.c_str() : nullptr,
                               isHeartRate ? nullptr : file.c_str(), false, true, isHeartRate,
                               !isHeartRate),
                  "");
        EXPECT_EQ(log.entries().back(), "The confound file " + file +
                                            " holds no predictor to add: no merged design matrix "
                                            "is written for this protocol.");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("run1_3DMC_HR.sdm")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("run1_3DMC_RVT.sdm")));
}

TEST_F(Dispatch, FlatConfoundColumnBecomesZerosAndIsReported) {
    writeFile(heartRate, timeCourseFile({"\"HeartRate\""}, {{72, 72, 72, 72}}));

    const std::string merged =
        addConfounds(base, nullptr, heartRate.c_str(), nullptr, true, false, true, false);

    EXPECT_EQ(countOf(log.entries(), "Column 1 of " + heartRate +
                                         " does not vary: its z-transformed values are set to 0."),
              1U);
    const std::string text = readFile(merged);
    EXPECT_NE(text.find("0.5\t0.000000\t1.000000"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
}

TEST_F(Dispatch, ConfoundFileCarryingTheNewNameIsLeftAlone) {
    // A respiration design matrix beside the base whose name is the merge's own output name.
    const std::string clash = dir.file("run1_RVT.sdm");
    writeFile(clash,
              "FileVersion: 1 NrOfPredictors: 1 NrOfDataPoints: 4 IncludesConstant: 0 "
              "FirstConfoundPredictor: 1 7 8 9 \"RVT\"\n1\n2\n3\n4\n");
    const std::string before = readFile(clash);

    addConfounds(base, nullptr, nullptr, clash.c_str(), false, false, false, true);

    EXPECT_EQ(readFile(clash), before);
    EXPECT_EQ(log.entries().back(), "The merged design matrix " + clash +
                                        " would replace one of its input files or a file of "
                                        "the list: nothing is written.");
}

}  // namespace
