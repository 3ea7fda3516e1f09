#include "tests/plot/DesignFiles.h"

#include <cmath>
#include <random>

#include "tests/support/DesignFiles.h"

namespace plottest {

using formats::DesignTable;

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
        table.roles.push_back(formats::roleOf(i, predictors, constant, firstConfound));
    }
    return table;
}

DesignTable studyRun(unsigned seed, double lean, double jitter, bool zero) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    const std::size_t volumes = 160;
    DesignTable table;
    table.path = "run" + std::to_string(seed) + "_3DMC.sdm";
    for (std::size_t c = 0; c < 3; ++c) {
        std::vector<double> column(volumes);
        for (std::size_t v = 0; v < volumes; ++v) {
            const double phase = static_cast<double>(v) / static_cast<double>(7 + 3 * c + seed % 3);
            column[v] = zero && c == 2 ? 0.0 : std::sin(phase) + 0.3 * noise(random);
        }
        if (c == 1) {
            for (std::size_t v = 0; v < volumes; ++v) {
                column[v] = (1.0 - lean) * column[v] + lean * table.columns[0][v];
            }
        }
        table.names.push_back("task" + std::to_string(c + 1));
        table.columns.push_back(column);
        table.roles.push_back(formats::PredictorRole::Task);
    }
    const char* names[] = {"Translation X [mm]", "Translation Y [mm]", "Translation Z [mm]",
                           "Rotation X [deg]",   "Rotation Y [deg]",   "Rotation Z [deg]"};
    for (const char* name : names) {
        std::vector<double> column(volumes);
        double at = 0.0;
        for (double& value : column) {
            at += jitter * noise(random);
            value = at;
        }
        table.names.push_back(name);
        table.columns.push_back(column);
        table.roles.push_back(formats::PredictorRole::Confound);
    }
    table.names.push_back("Constant");
    table.columns.emplace_back(volumes, 1.0);
    table.roles.push_back(formats::PredictorRole::Constant);
    table.firstConfound = 4;
    return table;
}

std::string sdmText(const DesignTable& table, int includesConstant, int firstConfound) {
    return testsupport::sdmText({table.names, {}, table.columns}, includesConstant, firstConfound);
}

std::string rtcText(const DesignTable& table) {
    return testsupport::rtcText({table.names, {}, table.columns});
}

}  // namespace plottest
