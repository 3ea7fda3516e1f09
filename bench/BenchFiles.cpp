#include "bench/BenchFiles.h"

#include <cmath>
#include <filesystem>
#include <random>

#include "tests/support/DesignFiles.h"
#include "tests/support/TestSupport.h"

namespace bench {

namespace {

void writeText(const std::string& path, const std::string& text) {
    testsupport::writeFile(path, text);
}

// A slow wave with noise, as physiological recordings and motion estimates look.
double wave(std::mt19937& engine, std::int32_t row, std::int32_t column) {
    std::uniform_real_distribution<double> noise(-0.05, 0.05);
    return 60.0 * std::sin(0.01 * row + column) + noise(engine) + (column % 3 == 0 ? 70.0 : 0.0);
}

double motion(std::mt19937& engine, std::int32_t row, std::int32_t column) {
    std::uniform_real_distribution<double> noise(-0.02, 0.02);
    return 0.3 * std::sin(0.003 * row + column) + noise(engine);
}

}  // namespace

void writeBaseDesignMatrix(const std::string& path, std::int32_t rows, std::int32_t predictors) {
    testsupport::DesignColumns design;
    std::mt19937 engine(1234);
    std::uniform_real_distribution<double> onset(0.0, 1.0);
    for (std::int32_t p = 0; p + 1 < predictors; ++p) {
        design.names.push_back("Condition " + std::to_string(p + 1));
        design.colours.push_back({(p * 37) % 256, (p * 91) % 256, (p * 53) % 256});
        design.values.emplace_back(static_cast<std::size_t>(rows));
    }
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t p = 0; p + 1 < predictors; ++p) {
            // Blocks of varying length and their undershoot, as float values like the host's.
            const double phase = std::sin(0.05 * row * (1.0 + 0.1 * p) + p);
            const double value = phase > 0.3 ? 1.2 * phase - 0.1 * onset(engine) : -0.3 * phase;
            design.values[static_cast<std::size_t>(p)][static_cast<std::size_t>(row)] =
                static_cast<double>(static_cast<float>(value));
        }
    }
    design.names.push_back("Constant");
    design.colours.push_back({255, 255, 255});
    design.values.emplace_back(static_cast<std::size_t>(rows), 1.0);
    writeText(path, testsupport::sdmText(design, 1, predictors));
}

void writeMotionFile(const std::string& path, std::int32_t rows, bool timeCourseLayout) {
    testsupport::DesignColumns design;
    design.names = {"Translation X [mm]", "Translation Y [mm]", "Translation Z [mm]",
                    "Rotation X [deg]",   "Rotation Y [deg]",   "Rotation Z [deg]"};
    design.colours = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                      {255, 255, 0}, {255, 0, 255}, {0, 255, 255}};
    design.values.assign(6, std::vector<double>(static_cast<std::size_t>(rows)));
    std::mt19937 engine(99);
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t column = 0; column < 6; ++column) {
            design.values[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] =
                motion(engine, row, column);
        }
    }
    writeText(path,
              timeCourseLayout ? testsupport::rtcText(design) : testsupport::sdmText(design, 0, 1));
}

void writePhysiologyFile(const std::string& path, std::int32_t rows, std::int32_t predictors,
                         bool timeCourseLayout) {
    testsupport::DesignColumns design;
    design.values.assign(static_cast<std::size_t>(predictors),
                         std::vector<double>(static_cast<std::size_t>(rows)));
    for (std::int32_t p = 0; p < predictors; ++p) {
        design.names.push_back("Physio" + std::to_string(p + 1));
        design.colours.push_back({255, (20 * p) % 256, 0});
    }
    std::mt19937 engine(7);
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t p = 0; p < predictors; ++p) {
            design.values[static_cast<std::size_t>(p)][static_cast<std::size_t>(row)] =
                wave(engine, row, p);
        }
    }
    if (timeCourseLayout) {
        writeText(path, testsupport::rtcText(design));
        return;
    }
    design.names.push_back("Constant");
    design.colours.push_back({255, 255, 255});
    design.values.emplace_back(static_cast<std::size_t>(rows), 1.0);
    writeText(path, testsupport::sdmText(design, 1, 1));
}

designmatrix::DesignMatrixFilePtr motionRecord(std::int32_t rows) {
    auto record = std::make_unique<designmatrix::DesignMatrixFile>();
    record->kind = designmatrix::kMotionEstimatesKind;
    record->fileVersion = 2;
    record->nrOfPredictors = 6;
    record->nrOfDataPoints = rows;
    record->firstConfound = 1;
    record->motionColors = {
        {{255, 50, 50}, {50, 255, 50}, {50, 50, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}}};
    std::mt19937 engine(99);
    for (std::int32_t column = 0; column < 6; ++column) {
        auto& values = record->motionColumns[static_cast<std::size_t>(column)];
        for (std::int32_t row = 0; row < rows; ++row) {
            values.push_back(motion(engine, row, column));
        }
    }
    return record;
}

designmatrix::DesignMatrixFilePtr physiologyRecord(std::int32_t kind, std::int32_t rows,
                                                   std::int32_t predictors) {
    auto record = std::make_unique<designmatrix::DesignMatrixFile>();
    record->kind = kind;
    record->fileVersion = 2;
    record->nrOfPredictors = predictors;
    record->nrOfDataPoints = rows;
    record->firstConfound = 1;
    std::mt19937 engine(static_cast<std::uint32_t>(kind));
    for (std::int32_t p = 0; p < predictors; ++p) {
        record->predictorColors.push_back({255, 255, 20 * p});
        record->predictorNames.push_back("\"Physio" + std::to_string(p + 1) + "\"");
        std::vector<double> values;
        for (std::int32_t row = 0; row < rows; ++row) {
            values.push_back(wave(engine, row, p));
        }
        record->predictorValues.push_back(std::move(values));
    }
    return record;
}

std::int64_t fileBytes(const std::string& path) {
    return static_cast<std::int64_t>(std::filesystem::file_size(path));
}

}  // namespace bench
