// Reading design matrix and reference time-course files for the picture: the layouts as the
// host and the merge writer lay them out, roles from the header, and files that do not hold
// what their header declares.

#include <gtest/gtest.h>

#include "formats/DesignTable.h"
#include "tests/support/TestSupport.h"

namespace {

using formats::PredictorRole;
using formats::readDesignTable;
using testsupport::TempDir;
using testsupport::writeFile;

using Roles = std::vector<PredictorRole>;
constexpr auto kTask = PredictorRole::Task;
constexpr auto kConfound = PredictorRole::Confound;
constexpr auto kConstant = PredictorRole::Constant;

// As the merge writer lays it out: tabs, general notation, an extra tab before the constant.
constexpr char kMerged[] =
    "FileVersion: 1\n\nNrOfPredictors: 4\nNrOfDataPoints: 3\nIncludesConstant: 1\n"
    "FirstConfoundPredictor: 2\n\n"
    "255 0 0 255 50 50 50 255 50 255 255 255 \n"
    "\"Left hand\"\t\"Translation ZM-X [mm]\"\t\"HeartRate\"\t\t\"Constant\"\n"
    "0.5\t1e-05\t66.000000\t1.000000\n"
    "0\t-0.25\t67.5\t1.000000\n"
    "1\t0\t-3E+2\t1.000000\n";

TEST(DesignTable, ReadsTheMergedLayoutWithNamesWholeAndRolesFromTheHeader) {
    TempDir dir;
    writeFile(dir.file("run1_3DMC_HR.sdm"), kMerged);
    const auto read = readDesignTable(dir.file("run1_3DMC_HR.sdm"));
    ASSERT_TRUE(read.table) << read.error;
    const auto& table = *read.table;
    EXPECT_EQ(table.names, (std::vector<std::string>{"Left hand", "Translation ZM-X [mm]",
                                                     "HeartRate", "Constant"}));
    EXPECT_EQ(table.roles, (Roles{kTask, kConfound, kConfound, kConstant}));
    EXPECT_EQ(table.nrOfVolumes(), 3u);
    EXPECT_EQ(table.columns[0], (std::vector<double>{0.5, 0.0, 1.0}));
    EXPECT_EQ(table.columns[1], (std::vector<double>{1e-05, -0.25, 0.0}));
    EXPECT_EQ(table.columns[2], (std::vector<double>{66.0, 67.5, -300.0}));
}

TEST(DesignTable, ReadsATimeCourseAsConfounds) {
    TempDir dir;
    writeFile(dir.file("run1_HR.rtc"),
              "FileVersion: 2\r\nType: DesignMatrix\r\nNrOfPredictors: 2\r\nNrOfDataPoints: 2\r\n"
              "\"Heart rate\" \"RVT\"\r\n1 2\r\n3 4\r\n");
    const auto read = readDesignTable(dir.file("run1_HR.rtc"));
    ASSERT_TRUE(read.table) << read.error;
    EXPECT_EQ(read.table->names, (std::vector<std::string>{"Heart rate", "RVT"}));
    EXPECT_EQ(read.table->roles, (Roles{kConfound, kConfound}));
    EXPECT_EQ(read.table->columns[1], (std::vector<double>{2.0, 4.0}));
}

// The plug-in reads a file in the time-course layout only when its path holds ".rtc" exactly; the
// picture reads every file as the plug-in does, so an upper-case .RTC is a design matrix.
TEST(DesignTable, ReadsAnUpperCaseRtcFileAsADesignMatrixAsThePlugInDoes) {
    TempDir dir;
    writeFile(dir.file("run1_HR.RTC"),
              "FileVersion: 1\nNrOfPredictors: 2\nNrOfDataPoints: 2\nIncludesConstant: 0\n"
              "FirstConfoundPredictor: 1\n255 0 0 0 255 0\n\"Heart rate\" \"RVT\"\n1 2\n3 4\n");
    const auto read = readDesignTable(dir.file("run1_HR.RTC"));
    ASSERT_TRUE(read.table) << read.error;
    EXPECT_EQ(read.table->columns[1], (std::vector<double>{2.0, 4.0}));

    writeFile(
        dir.file("run2_HR.RTC"),
        "FileVersion: 2\nType: DesignMatrix\nNrOfPredictors: 1\nNrOfDataPoints: 1\n\"HR\"\n1\n");
    EXPECT_FALSE(readDesignTable(dir.file("run2_HR.RTC")).table);
}

struct BadFileCase {
    const char* what;
    const char* name;
    const char* text;  // null: the file is not written
    const char* message;
};

void PrintTo(const BadFileCase& value, std::ostream* out) {
    *out << value.what;
}

class DesignTableRefuses : public testing::TestWithParam<BadFileCase> {};

TEST_P(DesignTableRefuses, AFileThatDoesNotHoldWhatItsHeaderDeclares) {
    TempDir dir;
    const std::string path = dir.file(GetParam().name);
    if (GetParam().text != nullptr) {
        writeFile(path, GetParam().text);
    }
    const auto read = readDesignTable(path);
    EXPECT_FALSE(read.table);
    EXPECT_TRUE(read.error.starts_with(path + ": ")) << read.error;
    EXPECT_NE(read.error.find(GetParam().message), std::string::npos) << read.error;
}

#define HEADER(P, T)                                              \
    "FileVersion: 1\nNrOfPredictors: " #P "\nNrOfDataPoints: " #T \
    "\nIncludesConstant: 0\nFirstConfoundPredictor: 3\n"

INSTANTIATE_TEST_SUITE_P(
    Files, DesignTableRefuses,
    testing::Values(
        BadFileCase{"Missing", "absent.sdm", nullptr, "cannot be opened"},
        BadFileCase{"OtherExtension", "run1.txt", HEADER(1, 1) "1 1 1\n\"a\"\n1\n",
                    "neither a design matrix"},
        BadFileCase{"Empty", "run1.sdm", "", "header is incomplete"},
        // What the merge writer leaves when a confound has too few data points.
        BadFileCase{"HeaderCutShort", "run1.sdm",
                    "FileVersion: 1\n\nNrOfPredictors: 9\nNrOfDataPoints: 200\n",
                    "header is incomplete"},
        BadFileCase{"CountNotAWholeNumber", "run1.sdm", "FileVersion: 1\nNrOfPredictors: two\n",
                    "header is incomplete"},
        BadFileCase{"NoPredictors", "run1.sdm", HEADER(0, 5), "declares 0 predictors"},
        BadFileCase{"NegativePredictors", "run1.sdm", HEADER(-3, 5), "declares -3 predictors"},
        BadFileCase{"NoDataPoints", "run1.sdm", HEADER(2, 0), "declares 0 data points"},
        BadFileCase{"ColourNotAnInteger", "run1.sdm", HEADER(2, 1) "1 2 3 4 x 6\n",
                    "colour 2 of 2 is missing"},
        BadFileCase{"NameMissing", "run1.sdm", HEADER(2, 1) "1 2 3 4 5 6\n\"a\"",
                    "name of predictor 2 of 2 is missing"},
        BadFileCase{"NameNeverClosed", "run1.sdm", HEADER(2, 1) "1 2 3 4 5 6\n\"a\" \"b\n1 2\n",
                    "name of predictor 2 of 2 is missing"},
        BadFileCase{"RowsCutShort", "run1.sdm", HEADER(2, 3) "1 2 3 4 5 6\n\"a\" \"b\"\n1 2\n3\n",
                    "row 2 of 3, value 2 of 2 is missing or not a number"},
        BadFileCase{"ValueNotANumber", "run1.sdm", HEADER(2, 1) "1 2 3 4 5 6\n\"a\" \"b\"\n1 nan\n",
                    "row 1 of 1, value 2 of 2"},
        BadFileCase{"ValueTooLarge", "run1.sdm", HEADER(1, 1) "1 2 3\n\"a\"\n1e999\n",
                    "row 1 of 1, value 1 of 1"},
        BadFileCase{"HugeCountWithoutNames", "run1.rtc",
                    "FileVersion: 2\nType: DesignMatrix\nNrOfPredictors: 2000000000\n"
                    "NrOfDataPoints: 2000000000\n\"a\"\n",
                    "name of predictor 2 of 2000000000 is missing"}),
    [](const testing::TestParamInfo<BadFileCase>& testCase) { return testCase.param.what; });

#undef HEADER

}  // namespace
