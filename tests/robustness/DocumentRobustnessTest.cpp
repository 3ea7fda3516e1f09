// Bad documents of the headless host run through the program: a protocol or time course it
// refuses ends that pair with the host's message and the plug-in's log line and writes nothing;
// a volume document it refuses ends the program with a usage error before the run.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "tests/robustness/Study.h"
#include "tests/support/DocumentBytes.h"

namespace robustness {
namespace {

struct DocumentRow {
    const char* what;
    std::string content;
    std::string message;  // a fragment of the host's message on standard error
};

void PrintTo(const DocumentRow& row, std::ostream* out) {
    *out << row.what;
}

constexpr char kPairList[] = "1\n{dir}/task.prt\n{dir}/run1.vtc\n{dir}/run1_HR.rtc\n";

std::string replaced(std::string text, char from, char to) {
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

std::string cut(const std::string& text, const std::string& before) {
    return text.substr(0, text.find(before));
}

class BadProtocol : public testing::TestWithParam<DocumentRow> {};

TEST_P(BadProtocol, IsRefusedByTheHostAndNoDesignMatrixIsWritten) {
    Study study;
    study.write("task.prt", GetParam().content);
    const ProgramResult result = study.run(kPairList);

    expectSound(study, result);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(
        contains(result.err, "host: protocol not loaded: " + study.file("task.prt") + ", line "))
        << result.err;
    EXPECT_TRUE(contains(result.err, GetParam().message)) << result.err;
    EXPECT_TRUE(contains(result.out,
                         "The stimulation protocol could not be retrieved.\nPlease load a "
                         "protocol first.\n"))
        << result.out;
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

const std::string kProtocol = validProtocol();

INSTANTIATE_TEST_SUITE_P(
    Rows, BadProtocol,
    testing::Values(
        DocumentRow{"EmptyFile", "", "line 1: the file is empty"},
        DocumentRow{"BinaryGarbage", binaryGarbage(), "line 1: expected a header line"},
        DocumentRow{"TruncatedInTheHeader", cut(kProtocol, "NrOfConditions"),
                    "the file ends where the header line NrOfConditions was expected"},
        DocumentRow{"TruncatedInTheIntervals", cut(kProtocol, "1 3"),
                    "the file ends where interval 1 of 1 of condition 1 of 2 was expected"},
        DocumentRow{"TruncatedBeforeAColour", cut(kProtocol, "Color: 255"),
                    "the file ends where the Color line of condition 2 of 2 was expected"},
        DocumentRow{"TruncatedBeforeACondition", cut(kProtocol, "Task"),
                    "the file ends where the name of condition 2 of 2 was expected"},
        DocumentRow{"NegativeConditionCount", "NrOfConditions: -2\n",
                    "NrOfConditions is -2; it must lie between 0 and 2147483647"},
        DocumentRow{"HugeConditionCount", "NrOfConditions: 2147483647\nA\n0\nColor: 1 2 3\n",
                    "the name of condition 2 of 2147483647"},
        DocumentRow{"CountBeyondTheIntegerRange", "NrOfConditions: 99999999999\n",
                    "expected one whole number for NrOfConditions, found '99999999999'"},
        DocumentRow{"NegativeIntervalCount", "NrOfConditions: 1\nA\n-1\n",
                    "the number of intervals is -1"},
        DocumentRow{"NonNumericInterval", "NrOfConditions: 1\nA\n1\nfirst last\n",
                    "expected interval 1 of 1 of condition 1 of 1"},
        DocumentRow{"NotAvailableInterval", "NrOfConditions: 1\nA\n1\nn/a 4\n",
                    "expected interval 1 of 1 of condition 1 of 1"},
        DocumentRow{"NaNWeight",
                    "FileVersion: 3\nParametricWeights: 1\nNrOfConditions: 1\nA\n1\n1 2 nan\n",
                    "weight 1 of interval 1 of 1 of condition 1 of 1 is not a finite number: "
                    "'nan'"}),
    [](const testing::TestParamInfo<DocumentRow>& row) { return std::string(row.param.what); });

TEST(ProtocolLineEnds, CarriageReturnsAloneReadLikeAnyOtherLineEnd) {
    Study study;
    study.write("task.prt", replaced(validProtocol(), '\n', '\r'));
    const ProgramResult result = study.run(kPairList);

    expectSound(study, result);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(study.newFiles(), (std::vector<std::string>{"run1_task.sdm", "run1_task_HR.sdm"}));
}

class BadTimeCourse : public testing::TestWithParam<DocumentRow> {};

TEST_P(BadTimeCourse, IsRefusedByTheHostAndNoDesignMatrixIsWritten) {
    Study study;
    study.write("run1.vtc", GetParam().content);
    const ProgramResult result = study.run(kPairList);

    expectSound(study, result);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.err, "host: cannot link: the time course " +
                                         study.file("run1.vtc") + " " + GetParam().message))
        << result.err;
    EXPECT_TRUE(contains(result.out, "Did not succeed in linking and generating.\n"));
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

testsupport::TimeCourseSpec timeCourse(void (*change)(testsupport::TimeCourseSpec&)) {
    testsupport::TimeCourseSpec spec;
    spec.volumes = kVolumes;
    change(spec);
    return spec;
}

// One linked protocol, its count changed to -1 (the count stands after the int16 version and
// the source run's name "run1.fmr" with its NUL).
std::string withNegativeProtocolCount() {
    std::string bytes =
        testsupport::timeCourseBytes(timeCourse([](auto& s) { s.protocols.assign(1, "x.prt"); }));
    bytes[11] = '\xff';
    bytes[12] = '\xff';
    return bytes;
}

const std::string kTimeCourse = testsupport::timeCourseBytes(timeCourse([](auto&) {}));

INSTANTIATE_TEST_SUITE_P(
    Rows, BadTimeCourse,
    testing::Values(
        DocumentRow{"EmptyFile", "", "ends inside its header (at the file version)"},
        DocumentRow{"BinaryGarbage", binaryGarbage(), "has file version"},
        DocumentRow{"TruncatedInTheHeader", kTimeCourse.substr(0, 20), "ends inside its header"},
        DocumentRow{"TruncatedInTheVoxels", kTimeCourse.substr(0, kTimeCourse.size() - 1),
                    "is too short: its header calls for 48 bytes of voxel data"},
        DocumentRow{
            "NegativeVolumes",
            testsupport::timeCourseHeaderBytes(timeCourse([](auto& s) { s.volumes = -6; })) +
                std::string(48, '\x01'),
            "has -6 volumes; at least 1 is needed"},
        DocumentRow{"ZeroVolumes",
                    testsupport::timeCourseBytes(timeCourse([](auto& s) { s.volumes = 0; })),
                    "has 0 volumes; at least 1 is needed"},
        DocumentRow{"HugeVoxelBox", testsupport::timeCourseHeaderBytes(timeCourse([](auto& s) {
                        s.resolution = 1;
                        s.box[1] = 32767;
                        s.box[3] = 32767;
                        s.box[5] = 32767;
                    })),
                    "is too short"},
        DocumentRow{"NegativeLinkedProtocolCount", withNegativeProtocolCount(),
                    "declares a negative number of linked protocols"},
        DocumentRow{"NaNRepetitionTime", testsupport::timeCourseBytes(timeCourse([](auto& s) {
                        s.repetitionTimeMs = std::numeric_limits<float>::quiet_NaN();
                    })),
                    "has a repetition time that is not a finite number above 0 ms"},
        DocumentRow{"InfiniteRepetitionTime", testsupport::timeCourseBytes(timeCourse([](auto& s) {
                        s.repetitionTimeMs = std::numeric_limits<float>::infinity();
                    })),
                    "has a repetition time that is not a finite number above 0 ms"}),
    [](const testing::TestParamInfo<DocumentRow>& row) { return std::string(row.param.what); });

class BadVolumeDocument : public testing::TestWithParam<DocumentRow> {};

TEST_P(BadVolumeDocument, EndsTheProgramWithAUsageErrorBeforeTheRun) {
    Study study;
    study.write("anatomy.vmr", GetParam().content);
    const ProgramResult result = study.run(kPairList);

    expectSound(study, result);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_TRUE(contains(result.err, "sdmweaver: the volume document " + study.file("anatomy.vmr") +
                                         " " + GetParam().message))
        << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadVolumeDocument,
    testing::Values(
        DocumentRow{"EmptyFile", "", "ends inside its header (at file version)"},
        DocumentRow{"TruncatedInTheHeader", testsupport::volumeDocumentBytes(8, 8, 8).substr(0, 5),
                    "ends inside its header (at DimY)"},
        DocumentRow{"TruncatedInTheVoxels", testsupport::volumeDocumentBytes(8, 8, 8, 511),
                    "is too short: its dimensions call for 512 voxel bytes"},
        DocumentRow{"NegativeDimension", testsupport::volumeDocumentBytes(8, -8, 8, 512),
                    "has the dimensions 8 x -8 x 8; each must be at least 1"},
        DocumentRow{"HugeDimensions", testsupport::volumeDocumentBytes(32767, 32767, 32767, 64),
                    "is too short: its dimensions call for 35181150961663 voxel bytes"},
        DocumentRow{"BinaryGarbage", binaryGarbage(), ""}),
    [](const testing::TestParamInfo<DocumentRow>& row) { return std::string(row.param.what); });

}  // namespace
}  // namespace robustness
