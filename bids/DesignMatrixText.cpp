#include "bids/DesignMatrixText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "bids/InputError.h"

namespace bids {

namespace {

void appendHeaderLine(std::string& text, const char* key, std::size_t value) {
    char line[64];
    std::snprintf(line, sizeof line, "%-25s%zu\n", key, value);
    text += line;
}

// Ten significant digits, shortest form: exact enough to read back for any use of the file, and
// short where the value is short (1, 0.5). The classic '.' whatever the locale.
void appendValue(std::string& text, double value) {
    char field[32];
    const auto result = std::to_chars(field, field + sizeof field, value == 0.0 ? 0.0 : value,
                                      std::chars_format::general, 10);
    text.append(field, result.ptr);
}

// A double quote in a name would end it early when the file is read back.
std::string quotable(const std::string& name) {
    std::string result = name;
    std::replace(result.begin(), result.end(), '"', '\'');
    return result;
}

void appendRows(std::string& text, const Design& design, char separator) {
    for (std::size_t k = 0; k < design.rows; ++k) {
        for (std::size_t p = 0; p < design.predictors.size(); ++p) {
            if (p > 0) {
                text += separator;
            }
            const double value = design.predictors[p].values[k];
            if (!std::isfinite(value)) {
                throw InputError("row " + std::to_string(k + 1) + ", column " +
                                 std::to_string(p + 1) + " (" + design.predictors[p].name +
                                 ") of the design matrix is not a finite number: nothing is "
                                 "written");
            }
            appendValue(text, value);
        }
        text += '\n';
    }
}

}  // namespace

std::string designMatrixText(const Design& design) {
    std::string text;
    text.reserve(64 * design.predictors.size() + 12 * design.rows * design.predictors.size());
    appendHeaderLine(text, "FileVersion:", 1);
    text += '\n';
    appendHeaderLine(text, "NrOfPredictors:", design.predictors.size());
    appendHeaderLine(text, "NrOfDataPoints:", design.rows);
    appendHeaderLine(text, "IncludesConstant:", design.constant ? 1 : 0);
    appendHeaderLine(text, "FirstConfoundPredictor:", design.firstConfound());
    text += '\n';
    char field[48];
    for (std::size_t p = 0; p < design.predictors.size(); ++p) {
        const std::int32_t color = design.predictors[p].color;
        std::snprintf(field, sizeof field, "%s%d %d %d", p == 0 ? "" : "   ", (color >> 16) & 0xFF,
                      (color >> 8) & 0xFF, color & 0xFF);
        text += field;
    }
    text += '\n';
    for (std::size_t p = 0; p < design.predictors.size(); ++p) {
        text += p == 0 ? "\"" : " \"";
        text += quotable(design.predictors[p].name);
        text += '"';
    }
    text += '\n';
    appendRows(text, design, ' ');
    return text;
}

std::string designTableText(const Design& design) {
    std::string text;
    for (std::size_t p = 0; p < design.predictors.size(); ++p) {
        if (p > 0) {
            text += '\t';
        }
        std::string name = design.predictors[p].name;
        std::replace(name.begin(), name.end(), '\t', ' ');
        text += name;
    }
    text += '\n';
    appendRows(text, design, '\t');
    return text;
}

}  // namespace bids
