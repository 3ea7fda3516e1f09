#pragma once

// The design matrix file as the host saves it (*.sdm, text, version 1): header, one colour
// triple per predictor, the quoted names (blanks kept) and one row of values per data point.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace formats {

// One predictor as the file holds it.
struct DesignMatrixColumn {
    std::string_view name;
    std::int32_t color = 0;         // 0xRRGGBB
    std::span<const float> values;  // at least nrOfDataPoints
};

// The whole file text, with the header's IncludesConstant and FirstConfoundPredictor as given.
// A double quote inside a name is written as an apostrophe, so that it cannot end the name
// early; values with six decimals.
std::string formatDesignMatrixFile(std::span<const DesignMatrixColumn> columns, int nrOfDataPoints,
                                   int includesConstant, int firstConfound);

// Writes the text to path in text mode. False, with `error`, when the file cannot be written.
bool writeDesignMatrixFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace formats
