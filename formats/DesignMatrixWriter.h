#pragma once

// The design matrix file (*.sdm, text, version 1): header, one colour triple per predictor, the
// quoted names (blanks kept) and one row of values per data point. The host saves it with six
// decimals; a design computed outside the host keeps ten significant digits.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace formats {

enum class NumberFormat {
    SixDecimals,           // "%.6f", as the host saves
    TenSignificantDigits,  // shortest form with at most ten significant digits; -0 as 0
};

// One predictor as the file holds it: its values as the host keeps them (float) or as computed
// (double); the other span is empty.
struct DesignMatrixColumn {
    std::string_view name;
    std::int32_t color = 0;  // 0xRRGGBB
    std::span<const float> floats;
    std::span<const double> doubles;

    double at(std::size_t k) const {
        return floats.empty() ? doubles[k] : static_cast<double>(floats[k]);
    }
};

// Appends one value in the given format, the decimal point '.' whatever the locale for
// TenSignificantDigits.
void appendNumber(std::string& text, double value, NumberFormat format);

// The whole file text, with the header's IncludesConstant and FirstConfoundPredictor as given.
// A double quote inside a name is written as an apostrophe, so that it cannot end the name
// early; every column holds at least nrOfDataPoints values.
std::string formatDesignMatrixFile(std::span<const DesignMatrixColumn> columns,
                                   std::size_t nrOfDataPoints, int includesConstant,
                                   std::size_t firstConfound, NumberFormat format);

// Writes the text to path in text mode. False, with `error`, when the file cannot be written.
bool writeDesignMatrixFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace formats
