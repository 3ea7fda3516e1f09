#include "tests/plot/DesignFiles.h"

#include <cmath>
#include <cstdio>
#include <random>

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

namespace {

std::string quotedNames(const DesignTable& table) {
    std::string text;
    for (const auto& name : table.names) {
        text += (text.empty() ? "\"" : " \"") + name + "\"";
    }
    return text + "\n";
}

std::string rows(const DesignTable& table) {
    std::string text;
    char value[64];
    for (std::size_t k = 0; k < table.nrOfVolumes(); ++k) {
        for (std::size_t i = 0; i < table.nrOfPredictors(); ++i) {
            std::snprintf(value, sizeof value, "%s%.6f", i == 0 ? "" : " ", table.columns[i][k]);
            text += value;
        }
        text += "\n";
    }
    return text;
}

}  // namespace

std::string sdmText(const DesignTable& table, int includesConstant, int firstConfound) {
    std::string text =
        "FileVersion: 1\n\nNrOfPredictors: " + std::to_string(table.nrOfPredictors()) +
        "\nNrOfDataPoints: " + std::to_string(table.nrOfVolumes()) +
        "\nIncludesConstant: " + std::to_string(includesConstant) +
        "\nFirstConfoundPredictor: " + std::to_string(firstConfound) + "\n\n";
    for (std::size_t i = 0; i < table.nrOfPredictors(); ++i) {
        text += "128 128 128 ";
    }
    return text + "\n" + quotedNames(table) + rows(table);
}

std::string rtcText(const DesignTable& table) {
    return "FileVersion: 2\nType: DesignMatrix\nNrOfPredictors: " +
           std::to_string(table.nrOfPredictors()) +
           "\nNrOfDataPoints: " + std::to_string(table.nrOfVolumes()) + "\n" + quotedNames(table) +
           rows(table);
}

}  // namespace plottest
