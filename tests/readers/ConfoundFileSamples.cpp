#include "tests/readers/ConfoundFileSamples.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace readertest {

using namespace designmatrix;

void SampleFile::add(Section section, std::string text, bool endsLine) {
    entries_.push_back({section, std::move(text), endsLine});
}

SampleFile SampleFile::with(std::size_t index, std::string text) const {
    SampleFile changed = *this;
    changed.entries_.at(index).text = std::move(text);
    return changed;
}

std::string SampleFile::text(const std::string& lineEnd) const {
    return prefix(entries_.size(), lineEnd);
}

std::string SampleFile::prefix(std::size_t count, const std::string& lineEnd) const {
    std::string text;
    for (std::size_t i = 0; i < count && i < entries_.size(); ++i) {
        text += entries_[i].text;
        text += entries_[i].endsLine ? lineEnd : " ";
    }
    return text;
}

namespace {

void addHeaderEntry(SampleFile& file, const char* key, std::int32_t value) {
    file.add(Section::Header, key);
    file.add(Section::Header, std::to_string(value), true);
}

void addNamesAndRows(SampleFile& file, const std::vector<std::string>& names, const Rows& rows) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        file.add(Section::Names, names[i], i + 1 == names.size());
    }
    for (const auto& row : rows) {
        for (std::size_t j = 0; j < row.size(); ++j) {
            file.add(Section::Values, row[j], j + 1 == row.size());
        }
    }
}

}  // namespace

SampleFile sdmFile(const SdmHeader& header, const std::vector<Triple>& colours,
                   const std::vector<std::string>& names, const Rows& rows) {
    SampleFile file;
    addHeaderEntry(file, "FileVersion:", header.version);
    addHeaderEntry(file, "NrOfPredictors:", header.predictors);
    addHeaderEntry(file, "NrOfDataPoints:", header.dataPoints);
    addHeaderEntry(file, "IncludesConstant:", header.constant);
    addHeaderEntry(file, "FirstConfoundPredictor:", header.firstConfound);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (std::size_t c = 0; c < 3; ++c) {
            file.add(Section::Colours, std::to_string(colours[i][c]),
                     i + 1 == colours.size() && c == 2);
        }
    }
    addNamesAndRows(file, names, rows);
    return file;
}

SampleFile rtcFile(const RtcHeader& header, const std::vector<std::string>& names,
                   const Rows& rows) {
    SampleFile file;
    addHeaderEntry(file, "FileVersion:", header.version);
    file.add(Section::Header, "Type:");
    file.add(Section::Header, "DesignMatrix", true);
    addHeaderEntry(file, "NrOfPredictors:", header.predictors);
    addHeaderEntry(file, "NrOfDataPoints:", header.dataPoints);
    addNamesAndRows(file, names, rows);
    return file;
}

double value(std::int32_t row, std::int32_t column) {
    // Binary fractions, so that the text and the double agree exactly.
    const double magnitude = row + 0.5 * column + 0.125;
    return column % 2 == 0 ? magnitude : -magnitude;
}

Rows numberedRows(std::int32_t count, std::int32_t columns) {
    Rows rows;
    for (std::int32_t t = 0; t < count; ++t) {
        std::vector<std::string> row;
        for (std::int32_t j = 0; j < columns; ++j) {
            std::ostringstream text;
            text.imbue(std::locale::classic());
            text << std::setprecision(17) << value(t, j);
            row.push_back(text.str());
        }
        rows.push_back(row);
    }
    return rows;
}

std::string headerLine(std::int32_t version, std::int32_t predictors, std::int32_t dataPoints,
                       std::int32_t constant, std::int32_t firstConfound) {
    return "Fileversion: " + std::to_string(version) +
           "\nNr of Predictors: " + std::to_string(predictors) +
           "\nNr of datapoints: " + std::to_string(dataPoints) +
           "\nIncludes constant: " + std::to_string(constant) +
           "\nFirst confound: " + std::to_string(firstConfound);
}

namespace {

DesignMatrixFilePtr readHeartRateRtc(const char* path) {
    return readConfoundsRtc(path, kHeartRateKind);
}

DesignMatrixFilePtr readRespirationSdm(const char* path) {
    return readConfoundsSdm(path, kRespirationKind);
}

constexpr const char* kRtcFailure = "Problem with reading *.rtc file. Please check results.";
constexpr const char* kSdmFailure = "Problem with reading *.sdm file. Please check results.";
constexpr const char* kMotionOpenFailure = "Unable to open the motion estimates file.";
constexpr const char* kConfoundOpenFailure = "Unable to open the design matrix file.";

}  // namespace

const std::vector<ReaderUnderTest>& allReaders() {
    static const std::vector<ReaderUnderTest> readers = {
        {"MotionEstimatesRtc", &readMotionEstimatesRtc, true, true, "Adding colors...",
         "Reading motion estimates...", kMotionOpenFailure, kRtcFailure},
        {"MotionEstimatesSdm", &readMotionEstimatesSdm, false, true, "Reading colors...",
         "Reading motion estimates...", kMotionOpenFailure, kSdmFailure},
        {"HeartRateRtc", &readHeartRateRtc, true, false, "Reading colors...",
         "Reading confounds...", kConfoundOpenFailure, kRtcFailure},
        {"RespirationSdm", &readRespirationSdm, false, false, "Reading colors...",
         "Reading confounds...", kConfoundOpenFailure, kSdmFailure},
    };
    return readers;
}

const std::vector<std::string>& motionNames() {
    static const std::vector<std::string> names = {
        "\"Translation ZM-X [mm]\"", "\"Translation ZM-Y [mm]\"", "\"Translation ZM-Z [mm]\"",
        "\"Rotation ZM-X [deg]\"",   "\"Rotation ZM-Y [deg]\"",   "\"Rotation ZM-Z [deg]\"",
    };
    return names;
}

namespace {

std::vector<Triple> sampleColours(std::size_t count) {
    std::vector<Triple> colours;
    for (std::size_t i = 0; i < count; ++i) {
        const auto shade = static_cast<std::int32_t>(10 * i);
        colours.push_back({shade, 100 + shade, 200 + shade});
    }
    return colours;
}

}  // namespace

SampleFile completeFile(const ReaderUnderTest& reader, std::int32_t dataPoints) {
    if (reader.motion) {
        return reader.timeCourse
                   ? rtcFile({2, 6, dataPoints}, motionNames(), numberedRows(dataPoints, 6))
                   : sdmFile({1, 6, dataPoints, 0, 1}, sampleColours(6), motionNames(),
                             numberedRows(dataPoints, 6));
    }
    return reader.timeCourse ? rtcFile({2, 2, dataPoints}, {"\"Heart Rate\"", "\"HR Phase\""},
                                       numberedRows(dataPoints, 2))
                             : sdmFile({1, 3, dataPoints, 1, 3}, sampleColours(3),
                                       {"\"Resp Volume\"", "\"Resp Phase\"", "\"Constant\""},
                                       numberedRows(dataPoints, 3));
}

std::string completeFileHeaderLine(const ReaderUnderTest& reader, std::int32_t dataPoints) {
    if (reader.motion) {
        return reader.timeCourse ? headerLine(2, 6, dataPoints, 0, 1)
                                 : headerLine(1, 6, dataPoints, 0, 1);
    }
    return reader.timeCourse ? headerLine(2, 2, dataPoints, 0, 1)
                             : headerLine(1, 3, dataPoints, 1, 3);
}

// Header entries: key and value of the version; for a time course two skipped tokens; then key
// and value of each count.
std::size_t predictorCountEntry(const ReaderUnderTest& reader) {
    return reader.timeCourse ? 5 : 3;
}

std::size_t dataPointCountEntry(const ReaderUnderTest& reader) {
    return reader.timeCourse ? 7 : 5;
}

std::size_t headerEntryCount(const ReaderUnderTest& reader) {
    return reader.timeCourse ? 8 : 10;
}

}  // namespace readertest
