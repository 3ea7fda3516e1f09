#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <new>
#include <string_view>

#include "abi/HostApi.h"
#include "designmatrix/ConfoundReaders.h"
#include "host/HostFunctionTable.h"
#include "tests/readers/ConfoundFileSamples.h"
#include "tests/readers/ReaderTestFixture.h"

namespace {

using namespace designmatrix;
using namespace readertest;

using Log = std::vector<std::string>;

class ReaderFailures : public ReaderTest {};

// What a reader logs when the first entry it cannot read lies in `section` (the counts having
// passed their check).
Log failureLog(const ReaderUnderTest& reader, const std::string& path, Section section,
               const std::string& header) {
    Log log = {"Reading file: " + path};
    if (section != Section::Header) {
        log.push_back(header);
        log.push_back(reader.colourMessage);
    }
    if (section == Section::Values) {
        log.push_back(reader.valueMessage);
    }
    log.push_back(reader.readFailure);
    return log;
}

// When the file is cut after `kept` entries inside a data row: the row's line ("Row R of PATH
// holds N values; the file declares M predictors."); empty when the cut falls elsewhere.
std::string rowCutShort(const SampleFile& file, std::size_t kept, const std::string& path) {
    std::size_t row = 1, held = 0, perRow = 0, rowsSeen = 0;
    for (std::size_t i = 0; i < file.entries().size(); ++i) {
        const auto& entry = file.entries()[i];
        if (entry.section != Section::Values) {
            continue;
        }
        perRow += rowsSeen == 0 ? 1 : 0;
        rowsSeen += entry.endsLine ? 1 : 0;
        held += i < kept ? 1 : 0;
        if (entry.endsLine && i < kept) {
            ++row;
            held = 0;
        }
    }
    return held == 0
               ? ""
               : "Row " + std::to_string(row) + " of " + path + " holds " + std::to_string(held) +
                     " values; the file declares " + std::to_string(perRow) + " predictors.";
}

// A record whose counts were refused holds no colours, names or columns.
void expectNothingSized(const DesignMatrixFile& record) {
    EXPECT_TRUE(record.predictorColors.empty());
    EXPECT_TRUE(record.predictorNames.empty());
    EXPECT_TRUE(record.predictorValues.empty());
    for (const auto& column : record.motionColumns) {
        EXPECT_TRUE(column.empty());
    }
}

TEST_F(ReaderFailures, AMissingFileLogsTheOpenFailureAndHoldsNoData) {
    for (const ReaderUnderTest& reader : allReaders()) {
        SCOPED_TRACE(reader.label);
        clearLog();
        const std::string path = pathOf("missing_HR.rtc");

        const DesignMatrixFilePtr record = reader.read(path.c_str());

        EXPECT_FALSE(record->readOk);
        EXPECT_EQ(record->sourcePath, path);
        EXPECT_EQ(logged(), (Log{"Reading file: " + path, reader.openFailure}));
        EXPECT_EQ(record->fileVersion, 0);
        EXPECT_EQ(record->nrOfPredictors, 0);
        EXPECT_EQ(record->nrOfDataPoints, 0);
        EXPECT_EQ(record->includesConstant, 0);
        EXPECT_EQ(record->firstConfound, 0);
        EXPECT_FALSE(record->zTransformed);
        expectNothingSized(*record);
    }
}

TEST_F(ReaderFailures, TheReadingLineHoldsAPathOfAnyLength) {
    // Well beyond the 256 characters a fixed log line would hold.
    std::filesystem::path folder = pathOf(std::string(200, 'a'));
    folder /= std::string(200, 'b');
    std::filesystem::create_directories(folder);
    const std::string path = (folder / (std::string(150, 'c') + "_HR.rtc")).string();
    testsupport::writeFile(path, rtcFile({2, 1, 1}, {"\"HR\""}, {{"1"}}).text());
    const std::string missing = (folder / "missing_3DMC.sdm").string();

    EXPECT_TRUE(readConfoundsRtc(path.c_str(), kHeartRateKind)->readOk);
    EXPECT_FALSE(readMotionEstimatesSdm(missing.c_str())->readOk);

    ASSERT_GT(path.size(), 550u);
    EXPECT_EQ(logged().front(), "Reading file: " + path);
    EXPECT_TRUE(std::find(logged().begin(), logged().end(), "Reading file: " + missing) !=
                logged().end());
}

TEST_F(ReaderFailures, AFileCutAfterAnyEntryFailsAtThatEntry) {
    for (const ReaderUnderTest& reader : allReaders()) {
        const SampleFile file = completeFile(reader);
        const std::string header = completeFileHeaderLine(reader);
        for (std::size_t kept = 0; kept < file.entries().size(); ++kept) {
            SCOPED_TRACE(std::string(reader.label) + ", cut after entry " + std::to_string(kept));
            const Section missing = file.entries()[kept].section;

            // Cut right after the entry: at the latest the count check sees that the rest cannot
            // be there.
            clearLog();
            const std::string cut = write("cut", file.prefix(kept));
            const DesignMatrixFilePtr record = reader.read(cut.c_str());
            EXPECT_FALSE(record->readOk);
            ASSERT_FALSE(logged().empty());
            EXPECT_EQ(logged().back(), reader.readFailure);
            EXPECT_EQ(std::count(logged().begin(), logged().end(), header),
                      kept >= headerEntryCount(reader) ? 1 : 0);

            // Followed by enough blanks for any count: the missing entry's own read must fail.
            clearLog();
            const std::string padded =
                write("padded", file.prefix(kept) + "\r\n" + std::string(400, ' '));
            EXPECT_FALSE(reader.read(padded.c_str())->readOk);
            Log expected = failureLog(reader, padded, missing, header);
            if (const std::string row = rowCutShort(file, kept, padded); !row.empty()) {
                expected.insert(expected.end() - 1, row);
            }
            EXPECT_EQ(logged(), expected);
        }
    }
}

TEST_F(ReaderFailures, AQuotedNameThatNeverClosesFails) {
    const std::string path = write("open_HR.rtc",
                                   "FileVersion: 2\nType: DesignMatrix\n"
                                   "NrOfPredictors: 1\nNrOfDataPoints: 1\n"
                                   "\"Heart Rate\n1.5\n" +
                                       std::string(100, ' '));
    EXPECT_FALSE(readConfoundsRtc(path.c_str(), kHeartRateKind)->readOk);
    EXPECT_EQ(logged().back(), "Problem with reading *.rtc file. Please check results.");
}

TEST_F(ReaderFailures, AQuotedNameThatRunsOverALineEndFails) {
    for (const char* lineEnd : {"\n", "\r"}) {
        const std::string path =
            write("split_HR.rtc", std::string("FileVersion: 2\nType: DesignMatrix\n"
                                              "NrOfPredictors: 1\nNrOfDataPoints: 1\n"
                                              "\"Heart") +
                                      lineEnd + "Rate\"\n1.5\n" + std::string(100, ' '));
        EXPECT_FALSE(readConfoundsRtc(path.c_str(), kHeartRateKind)->readOk);
        EXPECT_EQ(logged().back(), "Problem with reading *.rtc file. Please check results.");
    }
}

TEST_F(ReaderFailures, NegativeCountsAreRefusedBeforeAnythingIsSized) {
    for (const ReaderUnderTest& reader : allReaders()) {
        for (const bool predictors : {true, false}) {
            SCOPED_TRACE(std::string(reader.label) + (predictors ? ", N" : ", T") + " = -1");
            clearLog();
            const SampleFile file = completeFile(reader).with(
                predictors ? predictorCountEntry(reader) : dataPointCountEntry(reader), "-1");
            const std::string path = write("negative", file.text());

            const DesignMatrixFilePtr record = reader.read(path.c_str());

            EXPECT_FALSE(record->readOk);
            expectNothingSized(*record);
            // A motion file of another width than six is refused by a line of its own first.
            const std::size_t lines = reader.motion && predictors ? 4u : 3u;
            ASSERT_EQ(logged().size(), lines);
            EXPECT_NE(
                logged()[1].find(predictors ? "Nr of Predictors: -1\n" : "Nr of datapoints: -1\n"),
                std::string::npos);
            EXPECT_EQ(logged().back(), reader.readFailure);
        }
    }
}

TEST_F(ReaderFailures, CountsTheRestOfTheFileCannotHoldAreRefused) {
    constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
    struct Counts {
        std::int32_t predictors, dataPoints;
    };
    // Each far beyond what a file of a few hundred bytes holds; 65536 x 65536 values would also
    // overflow a 32-bit product.
    const Counts cases[] = {
        {kLargest, 2}, {6, kLargest}, {kLargest, kLargest}, {65536, 65536}, {1000, 2}, {6, 1000},
    };
    for (const ReaderUnderTest& reader : allReaders()) {
        for (const Counts& counts : cases) {
            SCOPED_TRACE(std::string(reader.label) + ", N = " + std::to_string(counts.predictors) +
                         ", T = " + std::to_string(counts.dataPoints));
            clearLog();
            const SampleFile file =
                completeFile(reader)
                    .with(predictorCountEntry(reader), std::to_string(counts.predictors))
                    .with(dataPointCountEntry(reader), std::to_string(counts.dataPoints));
            const std::string path = write("impossible", file.text());

            const DesignMatrixFilePtr record = reader.read(path.c_str());

            EXPECT_FALSE(record->readOk);
            expectNothingSized(*record);
            const bool otherWidth = reader.motion && counts.predictors != 6;
            ASSERT_EQ(logged().size(), otherWidth ? 4u : 3u);
            EXPECT_EQ(logged().back(), reader.readFailure);
        }
    }
}

TEST_F(ReaderFailures, AConstantWithoutPredictorsIsRefused) {
    const std::string path =
        write("const_HR.sdm", sdmFile({1, 0, 2, 1, 1}, {}, {}, {}).text() + std::string(50, ' '));

    const DesignMatrixFilePtr record = readConfoundsSdm(path.c_str(), kHeartRateKind);

    EXPECT_FALSE(record->readOk);
    expectNothingSized(*record);
    EXPECT_EQ(logged(), (Log{"Reading file: " + path, headerLine(1, 0, 2, 1, 1),
                             "Problem with reading *.sdm file. Please check results."}));
}

TEST_F(ReaderFailures, AnEntryThatIsNoNumberEndsTheReading) {
    for (const ReaderUnderTest& reader : allReaders()) {
        const SampleFile file = completeFile(reader);
        const std::string header = completeFileHeaderLine(reader);
        // A word in place of the first number of each section, and integers out of range.
        std::vector<std::pair<std::size_t, std::string>> changes = {
            {1, "one"},
            {predictorCountEntry(reader), "two"},
            {dataPointCountEntry(reader), "99999999999"},
            {headerEntryCount(reader) - 1, "-2147483649"},
        };
        for (std::size_t i = 0; i < file.entries().size(); ++i) {
            const Section section = file.entries()[i].section;
            if ((section == Section::Colours || section == Section::Values) &&
                (i == 0 || file.entries()[i - 1].section != section)) {
                changes.emplace_back(i, section == Section::Colours ? "red" : "x1.5");
            }
        }
        for (const auto& [index, text] : changes) {
            SCOPED_TRACE(std::string(reader.label) + ", entry " + std::to_string(index) + " '" +
                         text + "'");
            clearLog();
            const std::string path = write("word", file.with(index, text).text());

            EXPECT_FALSE(reader.read(path.c_str())->readOk);
            EXPECT_EQ(logged(), failureLog(reader, path, file.entries()[index].section, header));
        }
    }
}

// Stands in for the host's log: records every entry but throws on one text, as an exhausted
// memory would inside the reader.
class ThrowingLog {
  public:
    explicit ThrowingLog(std::string throwOn) {
        throwOn_() = std::move(throwOn);
        entries_().clear();
        auto& entry = host::hostFunctionTable()[kIndex];
        previous_ = entry;
        host::api::TkLogText* stand = &logText;
        entry = reinterpret_cast<host::HostFunctionAddress>(stand);
    }
    ~ThrowingLog() { host::hostFunctionTable()[kIndex] = previous_; }
    ThrowingLog(const ThrowingLog&) = delete;
    ThrowingLog& operator=(const ThrowingLog&) = delete;

    const std::vector<std::string>& entries() const { return entries_(); }

  private:
    static constexpr std::size_t kIndex = host::hostFunctionIndex("tkLogText");
    static std::string& throwOn_() {
        static std::string text;
        return text;
    }
    static std::vector<std::string>& entries_() {
        static std::vector<std::string> entries;
        return entries;
    }
    static int logText(const char* text) {
        if (throwOn_() == text) {
            throw std::bad_alloc();
        }
        entries_().emplace_back(text);
        return 1;
    }

    host::HostFunctionAddress previous_ = nullptr;
};

TEST(ReaderExceptions, AnExceptionInsideTheReaderIsLoggedAsAReadFailure) {
    testsupport::TempDir dir;
    for (const ReaderUnderTest& reader : allReaders()) {
        for (const bool inValues : {false, true}) {
            SCOPED_TRACE(std::string(reader.label) + (inValues ? ", values" : ", colours"));
            const std::string path = dir.file("file");
            testsupport::writeFile(path, completeFile(reader).text());
            const ThrowingLog log(inValues ? reader.valueMessage : reader.colourMessage);

            const DesignMatrixFilePtr record = reader.read(path.c_str());

            EXPECT_FALSE(record->readOk);
            Log expected = {"Reading file: " + path, completeFileHeaderLine(reader)};
            if (inValues) {
                expected.push_back(reader.colourMessage);
            }
            expected.push_back(reader.readFailure);
            EXPECT_EQ(log.entries(), expected);
        }
    }
}

}  // namespace
