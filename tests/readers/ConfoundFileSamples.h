#pragma once

// Confound files for the reader tests, built entry by entry so that a test can cut one after any
// entry, and the four readers with the messages each of them logs.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "designmatrix/ConfoundReaders.h"

namespace readertest {

enum class Section { Header, Colours, Names, Values };

struct Entry {
    Section section;
    std::string text;
    bool endsLine;
};

// A file as its entries in file order.
class SampleFile {
  public:
    void add(Section section, std::string text, bool endsLine = false);
    // The first `count` entries (all by default), blank-separated, each line ended by lineEnd.
    std::string text(const std::string& lineEnd = "\n") const;
    std::string prefix(std::size_t count, const std::string& lineEnd = "\n") const;
    const std::vector<Entry>& entries() const { return entries_; }
    // The same file with the text of one entry replaced.
    SampleFile with(std::size_t index, std::string text) const;

  private:
    std::vector<Entry> entries_;
};

using Triple = std::array<std::int32_t, 3>;
using Rows = std::vector<std::vector<std::string>>;

struct SdmHeader {
    std::int32_t version, predictors, dataPoints, constant, firstConfound;
};
struct RtcHeader {
    std::int32_t version, predictors, dataPoints;
};

// Design-matrix layout: header, colour triples, names, rows.
SampleFile sdmFile(const SdmHeader& header, const std::vector<Triple>& colours,
                   const std::vector<std::string>& names, const Rows& rows);
// Time-course layout: header with its two skipped tokens, names, rows.
SampleFile rtcFile(const RtcHeader& header, const std::vector<std::string>& names,
                   const Rows& rows);

// `count` rows of `columns` values; the value of row t, column j is value(t, j).
Rows numberedRows(std::int32_t count, std::int32_t columns);
double value(std::int32_t row, std::int32_t column);

// The header entry a reader logs.
std::string headerLine(std::int32_t version, std::int32_t predictors, std::int32_t dataPoints,
                       std::int32_t constant, std::int32_t firstConfound);

// One of the four readers, with the messages it logs.
struct ReaderUnderTest {
    const char* label;
    designmatrix::DesignMatrixFilePtr (*read)(const char* path);
    bool timeCourse;
    bool motion;
    const char* colourMessage;
    const char* valueMessage;
    const char* openFailure;
    const char* readFailure;
};

const std::vector<ReaderUnderTest>& allReaders();

// The six motion names the merge writer emits: blanks inside the quotes.
const std::vector<std::string>& motionNames();

// A small, complete file of the reader's layout, whose names hold blanks. Motion files hold six
// predictors; heart-rate time courses two; respiration design matrices two and the constant.
SampleFile completeFile(const ReaderUnderTest& reader, std::int32_t dataPoints = 2);
// The header line logged when completeFile is read.
std::string completeFileHeaderLine(const ReaderUnderTest& reader, std::int32_t dataPoints = 2);
// Index of the entry that holds the predictor count (or the data-point count) of completeFile.
std::size_t predictorCountEntry(const ReaderUnderTest& reader);
std::size_t dataPointCountEntry(const ReaderUnderTest& reader);
// Entries of completeFile's header, keys and skipped tokens included.
std::size_t headerEntryCount(const ReaderUnderTest& reader);

}  // namespace readertest
