// The protocol reader: the real files of the fixtures folder, the variety of layouts, and
// malformed files whose message names the line.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "formats/ProtocolReader.h"

namespace {

using formats::parseProtocol;
using formats::Protocol;
using formats::TimeResolution;

struct ConditionExpectation {
    const char* name;
    std::size_t intervals;
    std::int32_t firstStart, firstEnd, lastStart, lastEnd;
    std::int32_t color;
};

struct FixtureExpectation {
    const char* file;
    int fileVersion;
    TimeResolution resolution;
    const char* experiment;
    int parametricWeights;
    std::vector<ConditionExpectation> conditions;
};

void PrintTo(const FixtureExpectation& value, std::ostream* out) {
    *out << value.file;
}

const std::vector<FixtureExpectation>& fixtures() {
    using enum TimeResolution;
    static const std::vector<FixtureExpectation> kFixtures = {
        {"sub-test05_v2_msec.prt",
         2,
         Milliseconds,
         "Experiment2",
         0,
         {{"condition1", 38, 40016, 42000, 873995, 875996, 0xFF0000},
          {"condition2", 38, 22009, 24010, -1, -1, 0x0000FF},
          {"condition3", 38, 10004, 12005, 879997, 881998, 0x00AA00},
          {"condition4", 1, 0, 5985, 0, 5985, 0xAAAA7F}}},
        {"sub-test05_v2_vols_deconvolution.prt",
         2,
         Volumes,
         "experiment_deconvolution",
         0,
         {{"condition1", 38, 18, 18, 444, 444, 0xFF0000},
          {"condition2", 38, 12, 12, -1, -1, 0x0000FF},
          {"condition3", 38, 6, 6, -1, -1, 0x00AA00},
          {"condition4", 1, 1, 3, 1, 3, 0xAAAA7F}}},
        {"sub-test05_v3_msec_parametric_weights.prt",
         3,
         Milliseconds,
         "Experiment1",
         1,
         {{"condition1", 38, 34008, 36009, 862001, 863985, 0xFF0000},
          {"condition2", 38, 171998, 173999, -1, -1, 0x0000FF},
          {"condition3", 38, -1, -1, -1, -1, 0x00AA00},
          {"condition4", 1, 0, 5996, 0, 5996, 0xAAAA7F}}},
        {"sub-test05_v3_tabs.prt",
         3,
         Volumes,
         "Faces Houses in LVF, CVF, RVF",
         0,
         {{"Faces_LVF", 3, 4, 11, 196, 203, 0xC82B2B},
          {"Faces_CVF", 3, 36, 43, 228, 235, 0x2BC82B},
          {"Faces_RVF", 3, 68, 75, 260, 267, 0x2B2BC8},
          {"Houses_LVF", 3, 52, 59, 244, 251, 0x2BC8C8},
          {"Houses_CVF", 3, 84, 91, 276, 283, 0xC82BC8},
          {"Houses_RVF", 3, 20, 27, 212, 219, 0xC8C82B}}},
        {"sub-test06.prt",
         2,
         Milliseconds,
         "Exp1_AmbiguousMotion",
         0,
         {{"Fixation", 2, 0, 10335, 661214, 672997, 0x404040},
          {"Baseline", 7, 87903, 103502, 645612, 661214, 0x969696},
          {"Horizontal", 28, 29954, 52253, 631081, 645612, 0xFF0000},
          {"Vertical", 25, 11769, 29954, 622513, 631081, 0x00FF00}}},
    };
    return kFixtures;
}

class FixtureProtocol : public testing::TestWithParam<FixtureExpectation> {};

TEST_P(FixtureProtocol, ParsesWithTheRightCountsNamesIntervalsAndColours) {
    const std::filesystem::path folder(SDMWEAVER_PROTOCOL_FIXTURES);
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "the real protocol files are not here (" << folder.string()
                     << " is absent); a clone without the shared folder skips this test";
    }
    const FixtureExpectation& expected = GetParam();
    const std::string path = (folder / expected.file).string();
    const formats::ProtocolRead read = formats::readProtocolFile(path);
    ASSERT_TRUE(read.protocol) << read.error;
    const Protocol& protocol = *read.protocol;
    EXPECT_EQ(protocol.fileName, path);
    EXPECT_EQ(protocol.fileVersion, expected.fileVersion);
    EXPECT_EQ(protocol.resolution, expected.resolution);
    EXPECT_EQ(protocol.experimentName, expected.experiment);
    EXPECT_EQ(protocol.parametricWeights, expected.parametricWeights);
    EXPECT_EQ(protocol.backgroundColor, 0x000000);
    ASSERT_EQ(protocol.conditions.size(), expected.conditions.size());
    for (std::size_t c = 0; c < expected.conditions.size(); ++c) {
        const auto& want = expected.conditions[c];
        const auto& got = protocol.conditions[c];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(got.name, want.name);
        ASSERT_EQ(got.starts.size(), want.intervals);
        ASSERT_EQ(got.ends.size(), want.intervals);
        EXPECT_EQ(got.weights.size(),
                  want.intervals * static_cast<std::size_t>(expected.parametricWeights));
        EXPECT_EQ(got.color, want.color);
        if (want.firstStart >= 0) {
            EXPECT_EQ(got.starts.front(), want.firstStart);
            EXPECT_EQ(got.ends.front(), want.firstEnd);
        }
        if (want.lastStart >= 0) {
            EXPECT_EQ(got.starts.back(), want.lastStart);
            EXPECT_EQ(got.ends.back(), want.lastEnd);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RealFiles, FixtureProtocol, testing::ValuesIn(fixtures()),
                         [](const testing::TestParamInfo<FixtureExpectation>& testCase) {
                             std::string name;
                             for (const char* c = testCase.param.file; *c != '.'; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : 'X';
                             }
                             return name;
                         });

TEST(ProtocolReader, KeepsIntervalOrderAndWeightsOfParametricFiles) {
    const auto read = parseProtocol(
        "FileVersion: 3\nResolutionOfTime: msec\nParametricWeights: 2\nNrOfConditions: 1\n"
        "Task\n3\n5000 6000 1.5 -2\n1000 2000 0.25 3e-1\n3000 3000 1 1\nColor: 1 2 3\n");
    ASSERT_TRUE(read.protocol) << read.error;
    const auto& condition = read.protocol->conditions.at(0);
    EXPECT_EQ(condition.starts, (std::vector<std::int32_t>{5000, 1000, 3000}));
    EXPECT_EQ(condition.ends, (std::vector<std::int32_t>{6000, 2000, 3000}));
    EXPECT_EQ(condition.weights, (std::vector<double>{1.5, -2, 0.25, 0.3, 1, 1}));
    EXPECT_EQ(condition.color, 0x010203);
}

TEST(ProtocolReader, AcceptsAnyCaseTabsBlanksAndLineEndsAndKeepsBlanksInTexts) {
    const auto read = parseProtocol(
        "\xEF\xBB\xBF\r\n  fileversion :\t2 \r\n\r\nRESOLUTIONOFTIME:msec\r\n"
        "Experiment:   Faces and  houses \t\r\nnrofconditions:\t1\r\n\r\n\r\n"
        "  Left hand press \r\n\r\n 2 \r\n\t10\t20\r\n\r\n30   40\r\ncolor:\t255\t128 0\r\n\r\n");
    ASSERT_TRUE(read.protocol) << read.error;
    const Protocol& protocol = *read.protocol;
    EXPECT_EQ(protocol.resolution, TimeResolution::Milliseconds);
    EXPECT_EQ(protocol.experimentName, "Faces and  houses");
    ASSERT_EQ(protocol.conditions.size(), 1u);
    EXPECT_EQ(protocol.conditions[0].name, "Left hand press");
    EXPECT_EQ(protocol.conditions[0].starts, (std::vector<std::int32_t>{10, 30}));
    EXPECT_EQ(protocol.conditions[0].color, 0xFF8000);
}

TEST(ProtocolReader, ReadsLoneCarriageReturnsAsLineEnds) {
    const std::string lf =
        "FileVersion: 2\nResolutionOfTime: Volumes\n\nNrOfConditions: 1\nRest\n1\n1 4\nColor: 1 2 "
        "3\n";
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    const auto read = parseProtocol(cr);
    ASSERT_TRUE(read.protocol) << read.error;
    ASSERT_EQ(read.protocol->conditions.size(), 1u);
    EXPECT_EQ(read.protocol->conditions[0].name, "Rest");
    EXPECT_EQ(read.protocol->conditions[0].ends, (std::vector<std::int32_t>{4}));
    // Line numbers count a lone CR like any other line end.
    const auto broken = parseProtocol("FileVersion: 2\r\rNrOfConditions: x\r");
    EXPECT_EQ(broken.errorLine, 3) << broken.error;
}

TEST(ProtocolReader, GivesDefaultsForMissingOptionalKeysAndNotesUnknownOnes) {
    const auto read = parseProtocol("Mood: calm\nNrOfConditions: 0\n");
    ASSERT_TRUE(read.protocol) << read.error;
    const Protocol& protocol = *read.protocol;
    EXPECT_EQ(protocol.fileVersion, 1);
    EXPECT_EQ(protocol.resolution, TimeResolution::Volumes);
    EXPECT_EQ(protocol.experimentName, "");
    EXPECT_EQ(protocol.textColor, 0xFFFFFF);
    EXPECT_EQ(protocol.referenceFuncColor, 0xC0C0C0);
    EXPECT_EQ(protocol.timeCourseThick, 3);
    EXPECT_EQ(protocol.referenceFuncThick, 2);
    EXPECT_TRUE(protocol.conditions.empty());
    ASSERT_EQ(read.notes.size(), 1u);
    EXPECT_EQ(read.notes[0], "line 1: unknown key 'Mood' ignored");
}

struct MalformedCase {
    const char* what;
    const char* text;
    int line;
    const char* message;  // a fragment of the message after "line N: "
};

void PrintTo(const MalformedCase& value, std::ostream* out) {
    *out << value.what;
}

class MalformedProtocol : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedProtocol, FailsNamingTheLine) {
    const MalformedCase& c = GetParam();
    const auto read = parseProtocol(c.text);
    EXPECT_FALSE(read.protocol);
    EXPECT_EQ(read.errorLine, c.line);
    EXPECT_TRUE(read.error.starts_with("line " + std::to_string(c.line) + ": ")) << read.error;
    EXPECT_NE(read.error.find(c.message), std::string::npos) << read.error;
}

constexpr char kHead[] = "FileVersion: 2\nResolutionOfTime: Volumes\n";  // lines 1 and 2

INSTANTIATE_TEST_SUITE_P(
    Variants, MalformedProtocol,
    testing::Values(
        MalformedCase{"NoConditionCount", "FileVersion: 2\n\nExperiment: x\n", 3,
                      "the file ends where the header line NrOfConditions was expected"},
        MalformedCase{"ConditionBeforeCount", "FileVersion: 2\nTask\n", 2,
                      "expected a header line 'Key: value'"},
        MalformedCase{"VersionOutOfRange", "FileVersion: 4\nNrOfConditions: 0\n", 1,
                      "FileVersion is 4"},
        MalformedCase{"UnknownResolution", "FileVersion: 2\nResolutionOfTime: seconds\n", 2,
                      "ResolutionOfTime must be Volumes or msec"},
        MalformedCase{"ColourWithTwoNumbers", "TextColor: 1 2\nNrOfConditions: 0\n", 1,
                      "three whole numbers from 0 to 255 for TextColor"},
        MalformedCase{"ColourAbove255", "BackgroundColor: 0 0 256\nNrOfConditions: 0\n", 1,
                      "BackgroundColor"},
        MalformedCase{"CountNotANumber", "FileVersion: 2\nNrOfConditions: two\n", 2,
                      "one whole number for NrOfConditions"},
        MalformedCase{"IntervalCountNotANumber", "NrOfConditions: 1\nTask\nmany\n", 3,
                      "the number of intervals"},
        MalformedCase{"IntervalWithOneNumber",
                      "NrOfConditions: 1\nTask\n2\n1 4\n\n7\nColor: 1 1 1\n", 6,
                      "expected interval 2 of 2 of condition 1 of 1"},
        MalformedCase{"IntervalEndingBeforeItStarts", "NrOfConditions: 1\nTask\n1\n9 4\n", 4,
                      "ends (4) before it starts (9)"},
        MalformedCase{"IntervalWithTooFewWeights",
                      "FileVersion: 3\nParametricWeights: 1\nNrOfConditions: 1\nA\n1\n1 2\n", 6,
                      "and 1 weight(s)"},
        MalformedCase{"WeightNotANumber",
                      "ParametricWeights: 1\nNrOfConditions: 1\nA\n1\n1 2 heavy\n", 5,
                      "weight 1 of interval 1 of 1"},
        MalformedCase{"MissingColour", "NrOfConditions: 2\nA\n1\n1 2\nB\n1\n3 4\n", 5,
                      "expected 'Color: r g b' after the intervals of condition 1 of 2"},
        MalformedCase{"FewerConditionsThanDeclared",
                      "NrOfConditions: 2\nA\n1\n1 2\nColor: 1 1 1\n\n", 6,
                      "the file ends where the name of condition 2 of 2 was expected"},
        MalformedCase{"EmptyFile", "", 1, "the file is empty"},
        MalformedCase{"OnlyBlankLines", " \n\r\n\t\n", 1, "the file is empty"},
        MalformedCase{"WeightNotFinite", "ParametricWeights: 1\nNrOfConditions: 1\nA\n1\n1 2 nan\n",
                      5, "is not a finite number: 'nan'"},
        MalformedCase{"WeightInfinite", "ParametricWeights: 1\nNrOfConditions: 1\nA\n1\n1 2 -inf\n",
                      5, "is not a finite number: '-inf'"},
        MalformedCase{
            "BinaryGarbageShownShortAndEscaped",
            "\x01\x02\xff binary data that goes on for much longer than sixty characters\n", 1,
            "found '\\x01\\x02\\xFF binary data that goes on for much longer than sixty char...'"},
        MalformedCase{"TextAfterTheLastCondition",
                      "NrOfConditions: 1\nA\n1\n1 2\nColor: 1 1 1\n\nB\n1\n", 7,
                      "text after the last of the 1 conditions: 'B'"}),
    [](const testing::TestParamInfo<MalformedCase>& testCase) { return testCase.param.what; });

TEST(ProtocolReader, CountsLinesOfEveryLineEndAndBlankLine) {
    // CR LF line ends and blank lines count as lines; the file ends after line 7.
    const auto read = parseProtocol(std::string(kHead) + "\r\nNrOfConditions: 1\r\n\r\nA\r\n1\n");
    EXPECT_EQ(read.errorLine, 7) << read.error;
    EXPECT_NE(read.error.find("interval 1 of 1 of condition 1 of 1"), std::string::npos);
}

TEST(ProtocolReader, NamesTheFileOfAMissingOrMalformedProtocol) {
    EXPECT_EQ(formats::readProtocolFile("/nonexistent/task.prt").error,
              "cannot open the protocol /nonexistent/task.prt");
}

}  // namespace
