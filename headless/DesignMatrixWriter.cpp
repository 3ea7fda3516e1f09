#include "headless/DesignMatrixWriter.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace headless {

namespace {

constexpr std::int32_t kConstantColor = 0xFFFFFF;
constexpr std::int32_t kOtherColor = 0x808080;

std::int32_t colorOf(const Predictor& predictor) {
    if (predictor.conditionColor) {
        return *predictor.conditionColor;
    }
    return predictor.name == kConstantName ? kConstantColor : kOtherColor;
}

void appendHeaderLine(std::string& text, const char* key, long value) {
    char line[64];
    std::snprintf(line, sizeof line, "%-25s%ld\n", key, value);
    text += line;
}

}  // namespace

int includesConstant(const std::vector<Predictor>& predictors) {
    if (predictors.empty() || predictors.back().name != kConstantName) {
        return 0;
    }
    const auto& values = predictors.back().values;
    return std::all_of(values.begin(), values.end(), [](float v) { return v == 1.0f; }) ? 1 : 0;
}

std::string formatDesignMatrix(const DesignMatrix& matrix) {
    const auto& predictors = matrix.predictors();
    const auto count = static_cast<long>(predictors.size());
    const int constant = includesConstant(predictors);
    std::string text;
    appendHeaderLine(text, "FileVersion:", 1);
    text += '\n';
    appendHeaderLine(text, "NrOfPredictors:", count);
    appendHeaderLine(text, "NrOfDataPoints:", matrix.nrOfVolumes());
    appendHeaderLine(text, "IncludesConstant:", constant);
    appendHeaderLine(text, "FirstConfoundPredictor:", constant == 1 ? count : count + 1);
    text += '\n';

    char field[64];
    for (std::size_t i = 0; i < predictors.size(); ++i) {
        const std::int32_t color = colorOf(predictors[i]);
        std::snprintf(field, sizeof field, "%s%d %d %d", i == 0 ? "" : "   ", (color >> 16) & 0xFF,
                      (color >> 8) & 0xFF, color & 0xFF);
        text += field;
    }
    text += '\n';
    for (std::size_t i = 0; i < predictors.size(); ++i) {
        text += i == 0 ? "\"" : " \"";
        // A double quote would end the name early when the file is read back.
        std::string name = predictors[i].name;
        std::replace(name.begin(), name.end(), '"', '\'');
        text += name;
        text += '"';
    }
    text += '\n';
    for (int k = 0; k < matrix.nrOfVolumes(); ++k) {
        for (std::size_t i = 0; i < predictors.size(); ++i) {
            std::snprintf(field, sizeof field, "%s%.6f", i == 0 ? "" : " ",
                          static_cast<double>(predictors[i].values[static_cast<std::size_t>(k)]));
            text += field;
        }
        text += '\n';
    }
    return text;
}

bool saveDesignMatrix(const DesignMatrix& matrix, const std::string& path, std::string& error) {
    if (matrix.predictors().empty()) {
        error = "the design matrix has no predictor";
        return false;
    }
    const std::string text = formatDesignMatrix(matrix);
    std::ofstream out(path, std::ios::trunc);
    if (!out) {
        error = "cannot open " + path + " for writing";
        return false;
    }
    out << text;
    out.flush();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace headless
