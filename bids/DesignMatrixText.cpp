#include "bids/DesignMatrixText.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bids/InputError.h"
#include "formats/DesignMatrixWriter.h"

namespace bids {

namespace {

constexpr auto kFormat = formats::NumberFormat::TenSignificantDigits;

// Every value finite, or an InputError naming the first that is not.
void refuseNonFinite(const Design& design) {
    for (std::size_t p = 0; p < design.predictors.size(); ++p) {
        const std::vector<double>& values = design.predictors[p].values;
        for (std::size_t k = 0; k < design.rows; ++k) {
            if (!std::isfinite(values[k])) {
                throw InputError("row " + std::to_string(k + 1) + ", column " +
                                 std::to_string(p + 1) + " (" + design.predictors[p].name +
                                 ") of the design matrix is not a finite number: nothing is "
                                 "written");
            }
        }
    }
}

}  // namespace

std::string designMatrixText(const Design& design) {
    refuseNonFinite(design);
    std::vector<formats::DesignMatrixColumn> columns;
    columns.reserve(design.predictors.size());
    for (const DesignPredictor& predictor : design.predictors) {
        columns.push_back({predictor.name, predictor.color, {}, predictor.values});
    }
    return formats::formatDesignMatrixFile(columns, design.rows, design.constant ? 1 : 0,
                                           design.firstConfound(), kFormat);
}

std::string designTableText(const Design& design) {
    refuseNonFinite(design);
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
    for (std::size_t k = 0; k < design.rows; ++k) {
        for (std::size_t p = 0; p < design.predictors.size(); ++p) {
            if (p > 0) {
                text += '\t';
            }
            formats::appendNumber(text, design.predictors[p].values[k], kFormat);
        }
        text += '\n';
    }
    return text;
}

}  // namespace bids
