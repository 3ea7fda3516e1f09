#include "headless/formats/DesignMatrixWriter.h"

#include <algorithm>
#include <cstdio>

#include "paths/WholeFile.h"

namespace headless {

namespace {

void appendHeaderLine(std::string& text, const char* key, long value) {
    char line[64];
    std::snprintf(line, sizeof line, "%-25s%ld\n", key, value);
    text += line;
}

}  // namespace

std::string formatDesignMatrixFile(std::span<const DesignMatrixColumn> columns, int nrOfDataPoints,
                                   int includesConstant, int firstConfound) {
    std::string text;
    appendHeaderLine(text, "FileVersion:", 1);
    text += '\n';
    appendHeaderLine(text, "NrOfPredictors:", static_cast<long>(columns.size()));
    appendHeaderLine(text, "NrOfDataPoints:", nrOfDataPoints);
    appendHeaderLine(text, "IncludesConstant:", includesConstant);
    appendHeaderLine(text, "FirstConfoundPredictor:", firstConfound);
    text += '\n';

    char field[64];
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::int32_t color = columns[i].color;
        std::snprintf(field, sizeof field, "%s%d %d %d", i == 0 ? "" : "   ", (color >> 16) & 0xFF,
                      (color >> 8) & 0xFF, color & 0xFF);
        text += field;
    }
    text += '\n';
    for (std::size_t i = 0; i < columns.size(); ++i) {
        text += i == 0 ? "\"" : " \"";
        const std::size_t start = text.size();
        text += columns[i].name;
        std::replace(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), '"', '\'');
        text += '"';
    }
    text += '\n';
    for (int k = 0; k < nrOfDataPoints; ++k) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            std::snprintf(field, sizeof field, "%s%.6f", i == 0 ? "" : " ",
                          static_cast<double>(columns[i].values[static_cast<std::size_t>(k)]));
            text += field;
        }
        text += '\n';
    }
    return text;
}

bool writeDesignMatrixFile(const std::string& path, const std::string& text, std::string& error) {
    paths::WholeFile file(path);
    if (!file.isOpen()) {
        error = "cannot open " + path + " for writing";
        return false;
    }
    file.stream() << text;
    if (!file.commit()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace headless
