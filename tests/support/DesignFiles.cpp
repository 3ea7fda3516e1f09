#include "tests/support/DesignFiles.h"

#include <cstdio>

#include "formats/DesignMatrixWriter.h"

namespace testsupport {

namespace {

std::string headerLine(const char* key, long long value) {
    char line[64];
    std::snprintf(line, sizeof line, "%-25s%lld\n", key, value);
    return line;
}

long long count(std::size_t value) {
    return static_cast<long long>(value);
}

std::string namesAndRows(const DesignColumns& design) {
    std::string text;
    for (std::size_t i = 0; i < design.names.size(); ++i) {
        text += (i == 0 ? "\"" : " \"") + design.names[i] + "\"";
    }
    text += '\n';
    char value[400];
    for (std::size_t k = 0; k < design.nrOfDataPoints(); ++k) {
        for (std::size_t i = 0; i < design.nrOfPredictors(); ++i) {
            std::snprintf(value, sizeof value, "%s%.6f", i == 0 ? "" : " ", design.values[i][k]);
            text += value;
        }
        text += '\n';
    }
    return text;
}

}  // namespace

std::string sdmText(const DesignColumns& design, int includesConstant, int firstConfound) {
    std::vector<formats::DesignMatrixColumn> columns(design.nrOfPredictors());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::array<int, 3> colour =
            i < design.colours.size() ? design.colours[i] : std::array<int, 3>{128, 128, 128};
        columns[i] = {
            design.names[i], colour[0] << 16 | colour[1] << 8 | colour[2], {}, design.values[i]};
    }
    return formats::formatDesignMatrixFile(columns, design.nrOfDataPoints(), includesConstant,
                                           static_cast<std::size_t>(firstConfound),
                                           formats::NumberFormat::SixDecimals);
}

std::string rtcText(const DesignColumns& design) {
    return "FileVersion:     2\nType:            DesignMatrix\n" +
           headerLine("NrOfPredictors:", count(design.nrOfPredictors())) +
           headerLine("NrOfDataPoints:", count(design.nrOfDataPoints())) + namesAndRows(design);
}

}  // namespace testsupport
