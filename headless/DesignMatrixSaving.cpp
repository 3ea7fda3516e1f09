#include "headless/DesignMatrixSaving.h"

#include <algorithm>

#include "formats/DesignMatrixWriter.h"

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
    std::vector<formats::DesignMatrixColumn> columns;
    columns.reserve(predictors.size());
    for (const Predictor& predictor : predictors) {
        columns.push_back({predictor.name, colorOf(predictor), predictor.values, {}});
    }
    const int constant = includesConstant(predictors);
    const std::size_t count = predictors.size();
    return formats::formatDesignMatrixFile(
        columns, static_cast<std::size_t>(std::max(matrix.nrOfVolumes(), 0)), constant,
        constant == 1 ? count : count + 1, formats::NumberFormat::SixDecimals);
}

bool saveDesignMatrix(const DesignMatrix& matrix, const std::string& path, std::string& error) {
    if (matrix.predictors().empty()) {
        error = "the design matrix has no predictor";
        return false;
    }
    return formats::writeDesignMatrixFile(path, formatDesignMatrix(matrix), error);
}

}  // namespace headless
