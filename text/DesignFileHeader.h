#pragma once

// The two text layouts that hold predictors over data points, the design matrix (*.sdm) and the
// reference time course (*.rtc): which one a file is in, and its header. Reads only; says
// nothing: the callers word their own messages.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/TextScanner.h"

namespace text {

enum class DesignFileLayout { DesignMatrix, TimeCourse };

// TimeCourse when the file name (text::fileNameOf) contains ".rtc" anywhere (case-sensitive),
// else DesignMatrix.
DesignFileLayout designFileLayoutOf(std::string_view path);

// The header entries of the design-matrix layout, in file order. A time course holds the first
// three, with a key and one word skipped after the version.
enum class HeaderEntry : int {
    FileVersion,
    NrOfPredictors,
    NrOfDataPoints,
    IncludesConstant,
    FirstConfound,
};
inline constexpr int kHeaderEntryCount = 5;

struct DesignFileHeader {
    std::int32_t fileVersion = 0;
    std::int32_t nrOfPredictors = 0;
    std::int32_t nrOfDataPoints = 0;
    std::int32_t includesConstant = 0;  // a time course: 0
    std::int32_t firstConfound = 0;     // a time course: 1, every predictor being a confound
    // The key token of each entry as read; the keys are never compared, only their order counts.
    std::array<std::string, kHeaderEntryCount> keys;
    // Entries read whole (key and integer), in file order; the fields of the others keep their
    // defaults.
    int entriesRead = 0;

    bool has(HeaderEntry entry) const { return entriesRead > static_cast<int>(entry); }
};

// Reads the header of `layout` from the scanner's position. True when every entry of the layout
// was read; false at the first one that was not (scanner.eof() tells whether the text ended
// there). Reads no further than the header.
bool readDesignFileHeader(TextScanner& scanner, DesignFileLayout layout, DesignFileHeader& header);

}  // namespace text
