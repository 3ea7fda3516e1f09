#include "bench/BenchFiles.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <system_error>

namespace bench {

namespace {

// A writable C file that closes itself; throws when it cannot be opened.
class OutputFile {
  public:
    explicit OutputFile(const std::string& path) : file_(std::fopen(path.c_str(), "w")) {
        if (file_ == nullptr) {
            throw std::runtime_error("cannot write " + path);
        }
    }
    ~OutputFile() { std::fclose(file_); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    std::FILE* get() const { return file_; }

  private:
    std::FILE* file_;
};

void writeHeader(std::FILE* out, std::int32_t predictors, std::int32_t rows, int constant,
                 std::int32_t firstConfound) {
    std::fprintf(out, "%-25s%d\n\n", "FileVersion:", 1);
    std::fprintf(out, "%-25s%d\n", "NrOfPredictors:", predictors);
    std::fprintf(out, "%-25s%d\n", "NrOfDataPoints:", rows);
    std::fprintf(out, "%-25s%d\n", "IncludesConstant:", constant);
    std::fprintf(out, "%-25s%d\n\n", "FirstConfoundPredictor:", firstConfound);
}

void writeTimeCourseHeader(std::FILE* out, std::int32_t predictors, std::int32_t rows) {
    std::fprintf(out, "FileVersion:     2\nType:            DesignMatrix\n");
    std::fprintf(out, "NrOfPredictors:  %d\nNrOfDataPoints:  %d\n", predictors, rows);
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

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ =
            std::filesystem::temp_directory_path() / ("sdmweaver-bench-" + std::to_string(seed()));
        if (std::filesystem::create_directory(path_)) {
            return;
        }
    }
    throw std::runtime_error("no scratch folder could be made");
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::file(const std::string& name) const {
    return (path_ / name).string();
}

void writeBaseDesignMatrix(const std::string& path, std::int32_t rows, std::int32_t predictors) {
    OutputFile file(path);
    std::FILE* out = file.get();
    writeHeader(out, predictors, rows, 1, predictors);
    for (std::int32_t p = 0; p < predictors; ++p) {
        std::fprintf(out, p + 1 < predictors ? "%d %d %d   " : "255 255 255\n", (p * 37) % 256,
                     (p * 91) % 256, (p * 53) % 256);
    }
    for (std::int32_t p = 0; p + 1 < predictors; ++p) {
        std::fprintf(out, "\"Condition %d\" ", p + 1);
    }
    std::fprintf(out, "\"Constant\"\n");
    std::mt19937 engine(1234);
    std::uniform_real_distribution<double> onset(0.0, 1.0);
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t p = 0; p + 1 < predictors; ++p) {
            // Blocks of varying length and their undershoot, as float values like the host's.
            const double phase = std::sin(0.05 * row * (1.0 + 0.1 * p) + p);
            const double value = phase > 0.3 ? 1.2 * phase - 0.1 * onset(engine) : -0.3 * phase;
            std::fprintf(out, "%.6f ", static_cast<double>(static_cast<float>(value)));
        }
        std::fprintf(out, "1.000000\n");
    }
}

void writeMotionFile(const std::string& path, std::int32_t rows, bool timeCourseLayout) {
    OutputFile file(path);
    std::FILE* out = file.get();
    if (timeCourseLayout) {
        writeTimeCourseHeader(out, 6, rows);
    } else {
        writeHeader(out, 6, rows, 0, 1);
        std::fprintf(out, "255 0 0   0 255 0   0 0 255   255 255 0   255 0 255   0 255 255\n");
    }
    std::fprintf(out,
                 "\"Translation X [mm]\" \"Translation Y [mm]\" \"Translation Z [mm]\" "
                 "\"Rotation X [deg]\" \"Rotation Y [deg]\" \"Rotation Z [deg]\"\n");
    std::mt19937 engine(99);
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t column = 0; column < 6; ++column) {
            std::fprintf(out, column == 0 ? "%.6f" : " %.6f", motion(engine, row, column));
        }
        std::fputc('\n', out);
    }
}

void writePhysiologyFile(const std::string& path, std::int32_t rows, std::int32_t predictors,
                         bool timeCourseLayout) {
    OutputFile file(path);
    std::FILE* out = file.get();
    if (timeCourseLayout) {
        writeTimeCourseHeader(out, predictors, rows);
    } else {
        writeHeader(out, predictors + 1, rows, 1, 1);
        for (std::int32_t p = 0; p < predictors; ++p) {
            std::fprintf(out, "255 %d 0   ", (20 * p) % 256);
        }
        std::fprintf(out, "255 255 255\n");
    }
    for (std::int32_t p = 0; p < predictors; ++p) {
        std::fprintf(out, "\"Physio%d\" ", p + 1);
    }
    std::fprintf(out, timeCourseLayout ? "\n" : "\"Constant\"\n");
    std::mt19937 engine(7);
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t p = 0; p < predictors; ++p) {
            std::fprintf(out, p == 0 ? "%.6f" : " %.6f", wave(engine, row, p));
        }
        std::fprintf(out, timeCourseLayout ? "\n" : " 1.000000\n");
    }
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
