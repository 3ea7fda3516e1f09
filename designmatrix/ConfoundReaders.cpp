#include "designmatrix/ConfoundReaders.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

#include "host/HostOperations.h"
#include "paths/RegularFile.h"
#include "text/DesignFileHeader.h"
#include "text/FormattedText.h"
#include "text/TextScanner.h"

namespace designmatrix {

namespace {

using text::TextScanner;
using Layout = text::DesignFileLayout;
enum class Role { Motion, Predictors };

// How a file is read: its layout, and whether it holds the six motion estimates or heart-rate or
// respiration predictors. Every message a reader logs follows from these two.
struct Reading {
    Layout layout;
    Role role;

    const char* openFailure() const {
        return role == Role::Motion ? "Unable to open the motion estimates file."
                                    : "Unable to open the design matrix file.";
    }
    const char* readFailure() const {
        return layout == Layout::TimeCourse
                   ? "Problem with reading *.rtc file. Please check results."
                   : "Problem with reading *.sdm file. Please check results.";
    }
    const char* colourMessage() const {
        return role == Role::Motion && layout == Layout::TimeCourse ? "Adding colors..."
                                                                    : "Reading colors...";
    }
    const char* valueMessage() const {
        return role == Role::Motion ? "Reading motion estimates..." : "Reading confounds...";
    }
};

using ColourTriple = std::array<std::int32_t, 3>;

// Time-course files carry no colours: motion estimates get these, in predictor order.
constexpr std::array<ColourTriple, kMotionColumnCount> kFixedMotionColours = {{
    {255, 50, 50},
    {50, 255, 50},
    {50, 50, 255},
    {255, 255, 0},
    {255, 0, 255},
    {0, 255, 255},
}};

// Generated colour of the i-th time-course predictor (from 0): (255, 255, 20 x i). The blue is
// not capped at 255; it only stays within the integer's range.
ColourTriple generatedColour(std::int32_t i) {
    const std::int64_t blue =
        std::min<std::int64_t>(std::int64_t{20} * i, std::numeric_limits<std::int32_t>::max());
    return {255, 255, static_cast<std::int32_t>(blue)};
}

// The header's values go into the record as far as they were read.
bool readHeader(TextScanner& reader, Layout layout, DesignMatrixFile& record) {
    text::DesignFileHeader header;
    const bool read = text::readDesignFileHeader(reader, layout, header);
    record.fileVersion = header.fileVersion;
    record.nrOfPredictors = header.nrOfPredictors;
    record.nrOfDataPoints = header.nrOfDataPoints;
    record.includesConstant = header.includesConstant;
    record.firstConfound = header.firstConfound;
    return read;
}

void logHeader(const DesignMatrixFile& record) {
    host::logFormat(
        "Fileversion: %i\nNr of Predictors: %i\nNr of datapoints: %i\nIncludes constant: %i\n"
        "First confound: %i",
        record.fileVersion, record.nrOfPredictors, record.nrOfDataPoints, record.includesConstant,
        record.firstConfound);
}

// Columns a motion file holds: its six estimates, and in the design-matrix layout the constant as a
// seventh when the header declares one. None (0) for any other layout: the values of every row
// would be read six at a time from rows that hold more or fewer, and the columns would shift.
std::int64_t motionColumnsInFile(const Reading& reading, const DesignMatrixFile& record) {
    const std::int64_t six = kMotionColumnCount;
    if (reading.layout == Layout::TimeCourse) {
        return record.nrOfPredictors == six ? six : 0;
    }
    if (record.includesConstant == 0) {
        return record.nrOfPredictors == six ? six : 0;
    }
    return record.nrOfPredictors == six + 1 ? six + 1 : 0;
}

// Predictors that a heart-rate or respiration reader keeps: the constant, always the last
// predictor, is dropped.
std::int32_t keptCount(const DesignMatrixFile& record) {
    return record.includesConstant != 0 ? record.nrOfPredictors - 1 : record.nrOfPredictors;
}

// Entries that the rest of the file has to hold after its header. Each takes at least one
// character (a digit, a quotation mark, a name), so counts that make this larger than the
// characters left cannot be true. Counts are not negative here; the sum fits in 64 bits.
std::int64_t entriesAfterHeader(const Reading& reading, const DesignMatrixFile& record) {
    const std::int64_t predictors = record.nrOfPredictors;
    const std::int64_t dataPoints = record.nrOfDataPoints;
    const bool hasColours = reading.layout == Layout::DesignMatrix;
    if (reading.role == Role::Motion) {
        // A colour triple per column, a quotation mark on each side of every name, a value per
        // column and row.
        const std::int64_t columns = motionColumnsInFile(reading, record);
        return (hasColours ? 3 * columns : 0) + 2 * predictors + columns * dataPoints;
    }
    return (hasColours ? 3 * predictors : 0) + predictors + predictors * dataPoints;
}

// Counts are checked before anything is sized by them: a negative count, a constant without
// predictors, or more entries than the file could still hold, is a failed read.
bool countsArePossible(TextScanner& reader, const Reading& reading,
                       const DesignMatrixFile& record) {
    if (record.nrOfPredictors < 0 || record.nrOfDataPoints < 0) {
        return false;
    }
    if (reading.role == Role::Predictors && keptCount(record) < 0) {
        return false;
    }
    const std::optional<std::int64_t> left = reader.charactersLeft();
    return left.has_value() && entriesAfterHeader(reading, record) <= *left;
}

// A data row stands on one line and holds the declared number of values: value j (from 0) of
// `row` is read only when the line still holds one, and after the last the line must end. A row
// that holds more or fewer values is logged with its number (from 1) and fails the read.
class RowOnItsLine {
  public:
    RowOnItsLine(TextScanner& reader, DesignMatrixFile& record, std::int64_t values)
        : reader_(reader), record_(record), values_(values) {}

    bool value(double& number, std::size_t row, std::size_t j) {
        if (j > 0 && reader_.atLineEnd()) {
            return mismatch(row, static_cast<std::int64_t>(j));
        }
        return reader_.number(number);
    }
    bool ends(std::size_t row) {
        return reader_.atLineEnd() || mismatch(row, values_ + reader_.wordsToLineEnd());
    }

  private:
    bool mismatch(std::size_t row, std::int64_t held) {
        const std::string line =
            text::formatText("Row %d of %s holds %d values; the file declares %d predictors.",
                             static_cast<int>(row + 1), record_.sourcePath.c_str(),
                             static_cast<int>(held), record_.nrOfPredictors);
        host::logText(line);
        if (record_.failure.empty()) {
            record_.failure = line;
        }
        return false;
    }

    TextScanner& reader_;
    DesignMatrixFile& record_;
    std::int64_t values_;
};

// Reads a colour triple into `triple`, or into nothing when it is null.
bool readColour(TextScanner& reader, ColourTriple* triple) {
    ColourTriple skipped{};
    for (std::int32_t& component : triple != nullptr ? *triple : skipped) {
        if (!reader.integer(component)) {
            return false;
        }
    }
    return true;
}

// The six estimates and, when the file holds it as a seventh column, the constant, which is read
// and left out.
bool readMotion(TextScanner& reader, const Reading& reading, DesignMatrixFile& record) {
    const auto columnsInFile = static_cast<std::size_t>(motionColumnsInFile(reading, record));
    host::logText(reading.colourMessage());
    if (reading.layout == Layout::TimeCourse) {
        record.motionColors = kFixedMotionColours;
    } else {
        for (std::size_t j = 0; j < columnsInFile; ++j) {
            if (!readColour(reader, j < kMotionColumnCount ? &record.motionColors[j] : nullptr)) {
                return false;
            }
        }
    }

    // The names are not kept; they may hold blanks, so only their quotation marks are counted.
    if (!reader.skipQuotes(2 * std::int64_t{record.nrOfPredictors})) {
        return false;
    }

    const auto dataPoints = static_cast<std::size_t>(record.nrOfDataPoints);
    for (std::vector<double>& column : record.motionColumns) {
        column.assign(dataPoints, 0.0);
    }
    host::logText(reading.valueMessage());
    RowOnItsLine line(reader, record, static_cast<std::int64_t>(columnsInFile));
    for (std::size_t row = 0; row < dataPoints; ++row) {
        for (std::size_t j = 0; j < columnsInFile; ++j) {
            double constant = 0.0;
            if (!line.value(j < kMotionColumnCount ? record.motionColumns[j][row] : constant, row,
                            j)) {
                return false;
            }
        }
        if (!line.ends(row)) {
            return false;
        }
    }
    return true;
}

bool readPredictors(TextScanner& reader, const Reading& reading, DesignMatrixFile& record) {
    const std::int32_t predictors = record.nrOfPredictors;
    const std::int32_t kept = keptCount(record);

    host::logText(reading.colourMessage());
    record.predictorColors = newIntTable(kept, 3);
    for (std::int32_t i = 0; i < predictors; ++i) {
        ColourTriple triple{};
        if (reading.layout == Layout::TimeCourse) {
            triple = generatedColour(i);
        } else if (!readColour(reader, &triple)) {
            return false;
        }
        if (i < kept) {
            record.predictorColors[static_cast<std::size_t>(i)].assign(triple.begin(),
                                                                       triple.end());
        }
    }

    std::string name;
    for (std::int32_t i = 0; i < predictors; ++i) {
        if (!reader.name(name)) {
            return false;
        }
        if (i < kept) {
            record.predictorNames.push_back(name);
        }
    }

    const auto dataPoints = static_cast<std::size_t>(record.nrOfDataPoints);
    record.predictorValues.resize(static_cast<std::size_t>(kept));
    for (std::vector<double>& column : record.predictorValues) {
        column.assign(dataPoints, 0.0);
    }
    host::logText(reading.valueMessage());
    // Rows without predictors hold nothing to read.
    RowOnItsLine line(reader, record, predictors);
    for (std::size_t row = 0; predictors > 0 && row < dataPoints; ++row) {
        for (std::int32_t j = 0; j < predictors; ++j) {
            double value = 0.0;
            if (!line.value(value, row, static_cast<std::size_t>(j))) {
                return false;
            }
            if (j < kept) {
                record.predictorValues[static_cast<std::size_t>(j)][row] = value;
            }
        }
        if (!line.ends(row)) {
            return false;
        }
    }

    record.nrOfPredictors = kept;
    if (reading.layout == Layout::DesignMatrix) {
        record.includesConstant = 0;
    }
    return true;
}

// Everything after the file was opened. False at the first entry that cannot be read or the
// first count that cannot be true.
bool readContents(std::istream& in, const Reading& reading, DesignMatrixFile& record) {
    TextScanner reader(in);
    if (!readHeader(reader, reading.layout, record)) {
        return false;
    }
    logHeader(record);
    if (reading.role == Role::Motion && motionColumnsInFile(reading, record) == 0) {
        record.failure = text::formatText(
            "Motion estimates need six predictors, and a constant only as a seventh: this file "
            "declares %d predictors with constant %d.",
            record.nrOfPredictors, record.includesConstant);
        host::logText(record.failure);
        return false;
    }
    if (!countsArePossible(reader, reading, record)) {
        return false;
    }
    return reading.role == Role::Motion ? readMotion(reader, reading, record)
                                        : readPredictors(reader, reading, record);
}

// Logs the read failure's line; the record keeps the first line logged about it.
void failed(DesignMatrixFile& record, const char* line) {
    host::logText(line);
    record.readOk = false;
    if (record.failure.empty()) {
        record.failure = line;
    }
}

DesignMatrixFilePtr readFile(const char* path, const Reading& reading, std::int32_t kind) {
    auto record = std::make_unique<DesignMatrixFile>();
    record->kind = kind;
    try {
        if (path != nullptr) {
            record->sourcePath = path;
        }
        // Opened for reading only, so other programs may go on reading and writing the file.
        // Byte for byte: the tokens take a carriage return for white space, and the room left in
        // the file (charactersLeft) is measured in positions that Windows line ends cannot skew.
        const bool irregular = path != nullptr && paths::isIrregularFile(path);
        std::ifstream in;
        if (path != nullptr && !irregular) {
            in.open(path, std::ios::in | std::ios::binary);
        }
        host::logFormat("Reading file: %s", path != nullptr ? path : "");
        if (irregular) {
            record->failure = paths::irregularFileText(path);
            host::logText(record->failure);
            host::logText(reading.readFailure());
            record->readOk = false;
            return record;
        }
        if (!in.is_open()) {
            failed(*record, reading.openFailure());
            return record;
        }
        if (!readContents(in, reading, *record)) {
            failed(*record, reading.readFailure());
        }
    } catch (...) {
        // Exhausted memory or any other failure inside the reader stays inside it.
        failed(*record, reading.readFailure());
    }
    return record;
}

}  // namespace

DesignMatrixFilePtr readMotionEstimatesRtc(const char* path) {
    return readFile(path, {Layout::TimeCourse, Role::Motion}, kMotionEstimatesKind);
}

DesignMatrixFilePtr readMotionEstimatesSdm(const char* path) {
    return readFile(path, {Layout::DesignMatrix, Role::Motion}, kMotionEstimatesKind);
}

DesignMatrixFilePtr readConfoundsRtc(const char* path, std::int32_t kind) {
    return readFile(path, {Layout::TimeCourse, Role::Predictors}, kind);
}

DesignMatrixFilePtr readConfoundsSdm(const char* path, std::int32_t kind) {
    return readFile(path, {Layout::DesignMatrix, Role::Predictors}, kind);
}

}  // namespace designmatrix
