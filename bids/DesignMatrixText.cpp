#include "bids/DesignMatrixText.h"

#include <algorithm>
#include <vector>

#include "formats/DesignMatrixWriter.h"

namespace bids {

namespace {

constexpr auto kFormat = formats::NumberFormat::TenSignificantDigits;

}  // namespace

std::string designMatrixText(const Design& design) {
    std::vector<formats::DesignMatrixColumn> columns;
    columns.reserve(design.predictors.size());
    for (const DesignPredictor& predictor : design.predictors) {
        columns.push_back({predictor.name, predictor.color, {}, predictor.values});
    }
    return formats::formatDesignMatrixFile(columns, design.rows, design.constant ? 1 : 0,
                                           design.firstConfound(), kFormat);
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
