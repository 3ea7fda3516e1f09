// The volume document and the time-course header: valid files, every truncation, wrong values.

#include <gtest/gtest.h>

#include <limits>

#include "formats/TimeCourse.h"
#include "formats/VolumeDocument.h"
#include "tests/support/DocumentBytes.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;
using testsupport::TimeCourseSpec;
using testsupport::writeFile;

TEST(VolumeDocument, OpensAValidFileWithItsDimensionsAndVoxels) {
    TempDir dir;
    const std::string path = dir.file("anatomy.vmr");
    writeFile(path, testsupport::volumeDocumentBytes(4, 3, 2) + "trailing bytes are not read");
    const auto read = formats::readVolumeDocument(path);
    ASSERT_TRUE(read.document) << read.error;
    EXPECT_EQ(read.document->dimX, 4);
    EXPECT_EQ(read.document->dimY, 3);
    EXPECT_EQ(read.document->dimZ, 2);
    EXPECT_EQ(read.document->voxels.size(), 24u);
    EXPECT_EQ(read.document->voxels.front(), 0x40);
}

TEST(VolumeDocument, RefusesEveryTruncation) {
    TempDir dir;
    const std::string path = dir.file("anatomy.vmr");
    const std::string whole = testsupport::volumeDocumentBytes(4, 3, 2);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        writeFile(path, whole.substr(0, length));
        const auto read = formats::readVolumeDocument(path);
        EXPECT_FALSE(read.document) << length << " bytes";
        const char* expected = length < 8 ? "ends inside its header" : "is too short";
        EXPECT_NE(read.error.find(expected), std::string::npos) << length << ": " << read.error;
    }
}

TEST(VolumeDocument, RefusesADimensionBelowOneAndAMissingFile) {
    TempDir dir;
    const std::string path = dir.file("anatomy.vmr");
    for (const auto& [x, y, z] : {std::tuple{0, 3, 2}, {4, -1, 2}, {4, 3, 0}}) {
        writeFile(path, testsupport::volumeDocumentBytes(x, y, z, 64));
        const auto read = formats::readVolumeDocument(path);
        EXPECT_FALSE(read.document);
        EXPECT_NE(read.error.find("each must be at least 1"), std::string::npos) << read.error;
    }
    EXPECT_EQ(formats::readVolumeDocument(dir.file("absent.vmr")).error,
              "cannot open the volume document " + dir.file("absent.vmr"));
}

TEST(TimeCourseHeader, ReadsEveryFieldOfAValidHeader) {
    TempDir dir;
    const std::string path = dir.file("run1.vtc");
    TimeCourseSpec spec;
    spec.protocols = {"first.prt", "second.prt"};
    spec.currentProtocol = 1;
    spec.volumes = 7;
    spec.repetitionTimeMs = 1500.0f;
    writeFile(path, testsupport::timeCourseBytes(spec));
    const auto read = formats::readTimeCourseHeader(path);
    ASSERT_TRUE(read.header) << read.error;
    const auto& header = *read.header;
    EXPECT_EQ(header.fileVersion, 3);
    EXPECT_EQ(header.sourceRunName, "run1.fmr");
    EXPECT_EQ(header.protocolNames, spec.protocols);
    EXPECT_EQ(header.currentProtocolName(), "second.prt");
    EXPECT_EQ(header.dataType, 2);
    EXPECT_EQ(header.nrOfVolumes, 7);
    EXPECT_EQ(header.resolution, 3);
    EXPECT_EQ(header.xEnd, 6);
    EXPECT_EQ(header.leftRightConvention, 1);
    EXPECT_EQ(header.referenceSpace, 2);
    EXPECT_EQ(header.repetitionTimeMs, 1500.0f);
    EXPECT_EQ(header.voxelCount, 2u);
    EXPECT_EQ(header.headerSize, testsupport::timeCourseHeaderBytes(spec).size());
}

TEST(TimeCourseHeader, RefusesEveryTruncationNamingWhereItEnds) {
    TempDir dir;
    const std::string path = dir.file("run1.vtc");
    TimeCourseSpec spec;
    spec.protocols = {"task.prt"};
    const std::string header = testsupport::timeCourseHeaderBytes(spec);
    const std::string whole = testsupport::timeCourseBytes(spec);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        writeFile(path, whole.substr(0, length));
        const auto read = formats::readTimeCourseHeader(path);
        EXPECT_FALSE(read.header) << length << " bytes";
        const char* expected =
            length < header.size() ? "ends inside its header (at the " : "is too short";
        EXPECT_NE(read.error.find(expected), std::string::npos) << length << ": " << read.error;
    }
    // Spot checks of the field named: file version, source run name, repetition time.
    const auto errorAt = [&](std::size_t length) {
        writeFile(path, whole.substr(0, length));
        return formats::readTimeCourseHeader(path).error;
    };
    EXPECT_NE(errorAt(1).find("(at the file version)"), std::string::npos);
    EXPECT_NE(errorAt(5).find("(at the name of the source functional run)"), std::string::npos);
    EXPECT_NE(errorAt(header.size() - 1).find("(at the repetition time)"), std::string::npos);
}

struct BadHeaderCase {
    const char* what;
    TimeCourseSpec spec;
    const char* message;
};

void PrintTo(const BadHeaderCase& value, std::ostream* out) {
    *out << value.what;
}

class BadTimeCourseHeader : public testing::TestWithParam<BadHeaderCase> {};

TEST_P(BadTimeCourseHeader, IsRefusedWithAClearMessage) {
    TempDir dir;
    const std::string path = dir.file("run.vtc");
    writeFile(path, testsupport::timeCourseBytes(GetParam().spec) + std::string(4096, '\0'));
    const auto read = formats::readTimeCourseHeader(path);
    EXPECT_FALSE(read.header);
    EXPECT_NE(read.error.find(GetParam().message), std::string::npos) << read.error;
}

TimeCourseSpec with(void (*change)(TimeCourseSpec&)) {
    TimeCourseSpec spec;
    change(spec);
    return spec;
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadTimeCourseHeader,
    testing::Values(
        BadHeaderCase{"Version2", with([](auto& s) { s.fileVersion = 2; }),
                      "has file version 2; only version 3 is supported"},
        BadHeaderCase{"Version4", with([](auto& s) { s.fileVersion = 4; }), "file version 4"},
        BadHeaderCase{"DataType3", with([](auto& s) { s.dataType = 3; }), "has data type 3"},
        BadHeaderCase{"NoVolumes", with([](auto& s) { s.volumes = 0; }), "has 0 volumes"},
        BadHeaderCase{"ZeroTR", with([](auto& s) { s.repetitionTimeMs = 0.0f; }),
                      "repetition time that is not a finite number above 0 ms"},
        BadHeaderCase{"InfiniteTR", with([](auto& s) {
                          s.repetitionTimeMs = std::numeric_limits<float>::infinity();
                      }),
                      "repetition time that is not a finite number above 0 ms"},
        BadHeaderCase{"ZeroResolution", with([](auto& s) { s.resolution = 0; }),
                      "has the resolution 0"},
        BadHeaderCase{"InvertedBox", with([](auto& s) { s.box[1] = -3; }),
                      "voxel box whose end lies before its start"}),
    [](const testing::TestParamInfo<BadHeaderCase>& testCase) { return testCase.param.what; });

TEST(TimeCourseHeader, SizesIntegerDataByTwoBytesPerValue) {
    TempDir dir;
    const std::string path = dir.file("run.vtc");
    TimeCourseSpec spec;
    spec.dataType = 1;
    writeFile(path, testsupport::timeCourseBytes(spec));
    const auto read = formats::readTimeCourseHeader(path);
    ASSERT_TRUE(read.header) << read.error;
    EXPECT_EQ(read.header->dataSize(), 2u * 10u * 2u);
}

}  // namespace
