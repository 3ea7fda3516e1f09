#include "formats/DesignMatrixWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "paths/WholeFile.h"

namespace formats {

namespace {

void appendHeaderLine(std::string& text, const char* key, std::size_t value) {
    char line[64];
    std::snprintf(line, sizeof line, "%-25s%zu\n", key, value);
    text += line;
}

}  // namespace

void appendNumber(std::string& text, double value, NumberFormat format) {
    char field[32];
    if (format == NumberFormat::SixDecimals) {
        const int length = std::snprintf(field, sizeof field, "%.6f", value);
        if (length > 0 && static_cast<std::size_t>(length) < sizeof field) {
            text.append(field, static_cast<std::size_t>(length));
        } else {
            // Beyond 1e24 the field does not hold it: the whole text, grown to fit.
            std::string wide(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
            std::snprintf(wide.data(), wide.size(), "%.6f", value);
            text.append(wide.c_str());
        }
        return;
    }
    const auto result = std::to_chars(field, field + sizeof field, value == 0.0 ? 0.0 : value,
                                      std::chars_format::general, 10);
    text.append(field, result.ptr);
}

std::string formatDesignMatrixFile(std::span<const DesignMatrixColumn> columns,
                                   std::size_t nrOfDataPoints, int includesConstant,
                                   std::size_t firstConfound, NumberFormat format) {
    std::string text;
    text.reserve(64 * columns.size() + 12 * nrOfDataPoints * columns.size());
    appendHeaderLine(text, "FileVersion:", 1);
    text += '\n';
    appendHeaderLine(text, "NrOfPredictors:", columns.size());
    appendHeaderLine(text, "NrOfDataPoints:", nrOfDataPoints);
    appendHeaderLine(text, "IncludesConstant:", static_cast<std::size_t>(includesConstant));
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
    for (std::size_t k = 0; k < nrOfDataPoints; ++k) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) {
                text += ' ';
            }
            appendNumber(text, columns[i].at(k), format);
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

}  // namespace formats
