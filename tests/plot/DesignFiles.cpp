#include "tests/plot/DesignFiles.h"

#include <cmath>
#include <random>

#include "tests/support/DesignFiles.h"

namespace plottest {

using plot::DesignTable;

DesignTable generatedDesign(std::size_t predictors, std::size_t volumes, unsigned seed,
                            bool constant, int firstConfound) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 0.3);
    DesignTable table;
    table.firstConfound = firstConfound;
    for (std::size_t i = 0; i < predictors; ++i) {
        const bool isConstant = constant && i + 1 == predictors;
        table.names.push_back(isConstant ? "Constant" : "Predictor " + std::to_string(i + 1));
        std::vector<double> column;
        for (std::size_t k = 0; k < volumes; ++k) {
            column.push_back(isConstant ? 1.0
                                        : std::sin(0.05 * static_cast<double>((i + 1) * k)) +
                                              noise(random));
        }
        table.columns.push_back(std::move(column));
        table.roles.push_back(plot::roleOf(i, predictors, constant, firstConfound));
    }
    return table;
}

std::string sdmText(const DesignTable& table, int includesConstant, int firstConfound) {
    return testsupport::sdmText({table.names, {}, table.columns}, includesConstant, firstConfound);
}

std::string rtcText(const DesignTable& table) {
    return testsupport::rtcText({table.names, {}, table.columns});
}

}  // namespace plottest
