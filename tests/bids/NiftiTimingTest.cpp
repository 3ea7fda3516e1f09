// TR and volumes of a BOLD run: NIfTI-1 and NIfTI-2 headers in either byte order, plain or
// gzip-compressed, their time units, what they refuse, and the JSON sidecars beside the file or
// inherited from above.

#include <gtest/gtest.h>
#include <zlib.h>

#include <bit>
#include <cstring>
#include <filesystem>

#include "bids/InputError.h"
#include "bids/NiftiHeader.h"
#include "bids/RunTiming.h"
#include "tests/bids/BidsFixtures.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;
using testsupport::writeFile;

struct HeaderSpec {
    int version = 1;
    bool bigEndian = false;
    std::int64_t dims[5] = {4, 64, 64, 30, 120};
    double timeStep = 2.5;
    int units = 0x0A;  // mm and seconds
};

template <typename Value>
void put(std::string& bytes, std::size_t offset, Value value, bool bigEndian) {
    unsigned char raw[sizeof(Value)];
    std::memcpy(raw, &value, sizeof(Value));
    if (bigEndian != (std::endian::native == std::endian::big)) {
        std::reverse(raw, raw + sizeof(Value));
    }
    bytes.replace(offset, sizeof(Value), reinterpret_cast<const char*>(raw), sizeof(Value));
}

// A header and the four bytes of extension flags, as a .nii file begins.
std::string niftiBytes(const HeaderSpec& spec) {
    const bool one = spec.version == 1;
    std::string bytes(one ? 352 : 544, '\0');
    put<std::int32_t>(bytes, 0, one ? 348 : 540, spec.bigEndian);
    for (std::size_t i = 0; i < 5; ++i) {
        if (one) {
            put(bytes, 40 + 2 * i, static_cast<std::int16_t>(spec.dims[i]), spec.bigEndian);
        } else {
            put(bytes, 16 + 8 * i, spec.dims[i], spec.bigEndian);
        }
    }
    if (one) {
        put(bytes, 76 + 16, static_cast<float>(spec.timeStep), spec.bigEndian);
        bytes[123] = static_cast<char>(spec.units);
        bytes.replace(344, 4, std::string("n+1\0", 4));
    } else {
        put(bytes, 104 + 32, spec.timeStep, spec.bigEndian);
        put<std::int32_t>(bytes, 500, spec.units, spec.bigEndian);
        bytes.replace(4, 8, std::string("n+2\0\r\n\032\n", 8));
    }
    return bytes;
}

void writeGzip(const std::string& path, const std::string& bytes) {
    gzFile file = gzopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size())),
              static_cast<int>(bytes.size()));
    gzclose(file);
}

std::string failureOf(const std::string& path) {
    try {
        std::vector<std::string> notes;
        bids::boldRunTiming(path, notes);
    } catch (const bids::InputError& error) {
        return error.what();
    }
    return "";
}

TEST(NiftiHeader, BothVersionsEitherByteOrderPlainOrCompressed) {
    TempDir dir;
    for (const int version : {1, 2}) {
        for (const bool bigEndian : {false, true}) {
            for (const bool gzip : {false, true}) {
                HeaderSpec spec;
                spec.version = version;
                spec.bigEndian = bigEndian;
                const std::string path = dir.file("run.nii" + std::string(gzip ? ".gz" : ""));
                gzip ? writeGzip(path, niftiBytes(spec)) : writeFile(path, niftiBytes(spec));
                const bids::NiftiHeader header = bids::readNiftiHeader(path);
                SCOPED_TRACE(path + " version " + std::to_string(version) +
                             (bigEndian ? " big-endian" : " little-endian"));
                EXPECT_EQ(header.version, version);
                EXPECT_EQ(header.bigEndian, bigEndian);
                EXPECT_EQ(header.volumes, 120);
                EXPECT_EQ(header.repetitionTime, 2.5);
            }
        }
    }
}

TEST(NiftiHeader, TimeUnitsAndThreeDimensionalFiles) {
    HeaderSpec spec;
    spec.timeStep = 2500;
    spec.units = 0x10 | 0x02;  // ms
    EXPECT_DOUBLE_EQ(*bids::parseNiftiHeader(niftiBytes(spec), "f").repetitionTime, 2.5);
    spec.units = 0;  // unknown: seconds assumed, and said
    spec.timeStep = 1.5;
    const auto unknown = bids::parseNiftiHeader(niftiBytes(spec), "f");
    EXPECT_EQ(unknown.repetitionTime, 1.5);
    EXPECT_TRUE(unknown.timeUnitAssumed);
    spec.units = 0x20;  // Hz: not a time step
    EXPECT_FALSE(bids::parseNiftiHeader(niftiBytes(spec), "f").repetitionTime.has_value());
    HeaderSpec tiny;  // microseconds of a step too small to be any time in seconds
    tiny.version = 2;
    tiny.units = 0x18;
    tiny.timeStep = 5e-324;
    EXPECT_FALSE(bids::parseNiftiHeader(niftiBytes(tiny), "f").repetitionTime.has_value());
    spec.dims[0] = 3;
    EXPECT_EQ(bids::parseNiftiHeader(niftiBytes(spec), "f").volumes, 1);
}

TEST(NiftiHeader, RefusesWhatIsNoHeaderNamingTheFile) {
    TempDir dir;
    HeaderSpec spec;
    const std::string whole = niftiBytes(spec);
    std::string badMagic = whole;
    badMagic[345] = 'x';
    std::string noDimensions = whole;
    noDimensions[40] = 0;
    HeaderSpec huge;
    huge.version = 2;
    huge.dims[4] = std::int64_t{1} << 40;
    HeaderSpec justOver = huge;
    justOver.dims[4] = 1'000'001;
    const std::vector<std::pair<std::string, std::string>> cases = {
        // Refused before anything is sized by the count.
        {niftiBytes(huge),
         ": the NIfTI-2 header's dim[4] (volumes) is 1099511627776; more than "
         "1000000 volumes are not read"},
        {niftiBytes(justOver),
         ": the NIfTI-2 header's dim[4] (volumes) is 1000001; more than "
         "1000000 volumes are not read"},
        {whole.substr(0, 300),
         ": the file ends after 300 bytes, inside the NIfTI header (348 bytes at least)"},
        {std::string(400, 'x'), ": not a NIfTI-1 or NIfTI-2 file"},
        {badMagic, ": the NIfTI-1 header has no valid magic text"},
        {noDimensions, ": the NIfTI-1 header's dim[0] is 0; it must lie between 1 and 7"},
    };
    for (const auto& [bytes, message] : cases) {
        writeFile(dir.file("bad.nii"), bytes);
        EXPECT_EQ(failureOf(dir.file("bad.nii")).rfind(dir.file("bad.nii") + message, 0), 0U)
            << failureOf(dir.file("bad.nii"));
    }
    // A compressed file cut short.
    writeGzip(dir.file("cut.nii.gz"), whole);
    writeFile(dir.file("cut.nii.gz"), testsupport::readFile(dir.file("cut.nii.gz")).substr(0, 40));
    EXPECT_EQ(failureOf(dir.file("cut.nii.gz")).rfind(dir.file("cut.nii.gz") + ": ", 0), 0U);
    EXPECT_NE(failureOf(dir.file("cut.nii.gz")).find("NIfTI header"), std::string::npos);
    EXPECT_EQ(failureOf(dir.file("absent.nii")),
              "cannot open the NIfTI file " + dir.file("absent.nii"));
}

class Sidecars : public testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.path() / "sub-01" / "func");
        writeFile(dir_.file("dataset_description.json"),
                  R"({"Name": "x", "BIDSVersion": "1.8.0"})");
        writeFile(bold_, niftiBytes(HeaderSpec{}));
    }
    bids::RunTiming timing() { return bids::boldRunTiming(bold_, notes_); }

    TempDir dir_;
    std::string bold_ = dir_.file("sub-01/func/sub-01_task-nback_run-1_bold.nii");
    std::vector<std::string> notes_;
};

TEST_F(Sidecars, TheHeaderAloneGivesTheTimingWithoutASidecar) {
    EXPECT_EQ(timing().repetitionTime, 2.5);
    EXPECT_EQ(timing().volumes, 120);
    EXPECT_TRUE(notes_.empty());
}

TEST_F(Sidecars, AnInheritedSidecarWinsOverTheHeaderWithAWarning) {
    writeFile(dir_.file("task-nback_bold.json"), R"({"RepetitionTime": 2.0})");
    writeFile(dir_.file("task-other_bold.json"), R"({"RepetitionTime": 9.0})");
    EXPECT_EQ(timing().repetitionTime, 2.0);
    ASSERT_EQ(notes_.size(), 1U);
    EXPECT_EQ(notes_[0], "warning: " + dir_.file("task-nback_bold.json") +
                             " gives RepetitionTime 2 s, the NIfTI header of " + bold_ +
                             " 2.5 s; the sidecar's is used");
}

TEST_F(Sidecars, TheSidecarBesideTheFileWinsOverAnInheritedOne) {
    writeFile(dir_.file("task-nback_bold.json"), R"({"RepetitionTime": 2.0})");
    writeFile(dir_.file("sub-01/func/sub-01_task-nback_run-1_bold.json"),
              R"({"RepetitionTime": 2.5, "TaskName": "n-back"})");
    EXPECT_EQ(timing().repetitionTime, 2.5);
    EXPECT_TRUE(notes_.empty());
}

TEST_F(Sidecars, StartTimeAndASidecarSavedOnWindowsAreRead) {
    const std::string sidecar = dir_.file("sub-01/func/sub-01_task-nback_run-1_bold.json");
    writeFile(sidecar,
              "\xEF\xBB\xBF{\r\n \"RepetitionTime\": 2.5,\r\n \"StartTime\": 1.25\r\n}\r\n");
    EXPECT_EQ(timing().startTime, 1.25);
    EXPECT_EQ(notes_.front(),
              sidecar + ": read past a UTF-8 byte-order mark and with CR LF line ends");
    EXPECT_EQ(bids::sliceReferenceOf(timing(), std::nullopt, notes_), 0.5);
    EXPECT_EQ(bids::sliceReferenceOf(timing(), 0.0, notes_), 0.0);  // given: it wins
}

TEST_F(Sidecars, ASidecarThatIsNotJsonIsNamedWithItsPlace) {
    writeFile(dir_.file("task-nback_bold.json"), "{\n  \"RepetitionTime\": 2.0,\n}");
    const std::string message = failureOf(bold_);
    EXPECT_EQ(message.rfind(dir_.file("task-nback_bold.json") + ": not valid JSON: ", 0), 0U);
    EXPECT_NE(message.find("line 3"), std::string::npos) << message;
    // A number beyond the double range is refused as JSON the library cannot hold.
    writeFile(dir_.file("task-nback_bold.json"), R"({"RepetitionTime": 7e777})");
    EXPECT_EQ(failureOf(bold_).rfind(dir_.file("task-nback_bold.json") + ": not valid JSON: ", 0),
              0U);
    writeFile(dir_.file("task-nback_bold.json"), R"({"RepetitionTime": "2s"})");
    EXPECT_EQ(failureOf(bold_), dir_.file("task-nback_bold.json") +
                                    ": RepetitionTime is \"2s\"; it must be a positive number "
                                    "of seconds");
}

TEST(RealBoldRun, SyntheticHeaderAndTaskSidecar) {
    SKIP_WITHOUT_BIDS_FIXTURES();
    std::vector<std::string> notes;
    const bids::RunTiming timing = bids::boldRunTiming(
        bidstest::fixture("synthetic/sub-01_ses-01_task-nback_run-01_bold.nii"), notes);
    EXPECT_EQ(timing.repetitionTime, 2.5);
    EXPECT_EQ(timing.volumes, 64);
    EXPECT_TRUE(notes.empty()) << notes.front();
}

}  // namespace
