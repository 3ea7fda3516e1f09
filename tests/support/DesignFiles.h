#pragma once

// Design matrices (*.sdm) and reference time courses (*.rtc) as text, from names and value
// columns, for the tests and the benchmarks.

#include <array>
#include <string>
#include <vector>

namespace testsupport {

struct DesignColumns {
    std::vector<std::string> names;           // without their double quotes
    std::vector<std::array<int, 3>> colours;  // red, green, blue; empty: all grey
    std::vector<std::vector<double>> values;  // one column per predictor
    std::size_t nrOfPredictors() const { return values.size(); }
    std::size_t nrOfDataPoints() const { return values.empty() ? 0 : values.front().size(); }
};

// The design-matrix layout as the host saves it (formats/DesignMatrixWriter.h, six decimals).
std::string sdmText(const DesignColumns& design, int includesConstant, int firstConfound);
// The time-course layout: version 2, "Type: DesignMatrix", the quoted names and the rows.
std::string rtcText(const DesignColumns& design);

}  // namespace testsupport
