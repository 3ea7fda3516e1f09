// Writes a study of many runs for the batch benchmark, deterministically: a small volume
// document, and per run a time course (TR 2000 ms, eight voxels), its protocol in milliseconds
// (a fixation and four task conditions, twelve intervals each), motion estimates, heart-rate and
// respiration files (the layouts alternate from run to run), and the list study.txt naming them
// all.
//
//   sdmweaver_batch_study FOLDER RUNS [VOLUMES]     (VOLUMES defaults to 300)

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double kRepetitionTimeMs = 2000.0;
constexpr int kTaskConditions = 4;
constexpr int kIntervals = 12;

// Little-endian binary output.
class BinaryFile {
  public:
    explicit BinaryFile(const std::string& path) : out_(path, std::ios::binary | std::ios::trunc) {
        if (!out_) {
            throw std::runtime_error("cannot write " + path);
        }
    }
    void int8(std::int8_t value) { out_.put(static_cast<char>(value)); }
    void int16(std::int16_t value) {
        const auto bits = static_cast<std::uint16_t>(value);
        out_.put(static_cast<char>(bits & 0xFF));
        out_.put(static_cast<char>(bits >> 8));
    }
    void float32(float value) {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            out_.put(static_cast<char>((bits >> shift) & 0xFF));
        }
    }
    void text(const std::string& value) {
        out_.write(value.c_str(), static_cast<std::streamsize>(value.size() + 1));
    }

  private:
    std::ofstream out_;
};

// A text file written with the C library's formatted output; closed when the object goes.
class TextFile {
  public:
    explicit TextFile(const std::string& path) : file_(std::fopen(path.c_str(), "w")) {
        if (file_ == nullptr) {
            throw std::runtime_error("cannot write " + path);
        }
    }
    ~TextFile() { std::fclose(file_); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    std::FILE* get() const { return file_; }

  private:
    std::FILE* file_;
};

void writeVolumeDocument(const std::string& path) {
    constexpr std::int16_t kDim = 32;
    BinaryFile out(path);
    out.int16(4);
    for (int axis = 0; axis < 3; ++axis) {
        out.int16(kDim);
    }
    for (int voxel = 0; voxel < kDim * kDim * kDim; ++voxel) {
        out.int8(static_cast<std::int8_t>(voxel % 100));
    }
}

void writeTimeCourse(const std::string& path, int volumes, std::mt19937& engine) {
    BinaryFile out(path);
    out.int16(3);
    out.text("run.fmr");
    out.int16(0);  // no linked protocol yet
    out.int16(0);  // current protocol
    out.int16(2);  // 32-bit floats
    out.int16(static_cast<std::int16_t>(volumes));
    out.int16(3);                                       // resolution
    for (const int bound : {30, 36, 27, 33, 24, 30}) {  // 2 x 2 x 2 voxels
        out.int16(static_cast<std::int16_t>(bound));
    }
    out.int8(1);
    out.int8(1);
    out.float32(static_cast<float>(kRepetitionTimeMs));
    std::normal_distribution<float> noise(900.0f, 6.0f);
    for (int value = 0; value < 8 * volumes; ++value) {
        out.float32(noise(engine));
    }
}

void writeProtocol(const std::string& path, int volumes, std::mt19937& engine) {
    TextFile file(path);
    std::FILE* out = file.get();
    std::fprintf(out, "\nFileVersion:        2\n\nResolutionOfTime:   msec\n\n");
    std::fprintf(out, "Experiment:         Generated study\n\n");
    std::fprintf(out, "BackgroundColor:    0 0 0\nTextColor:          255 255 255\n");
    std::fprintf(out, "TimeCourseColor:    255 255 255\nTimeCourseThick:    3\n");
    std::fprintf(out, "ReferenceFuncColor: 192 192 192\nReferenceFuncThick: 2\n\n");
    std::fprintf(out, "NrOfConditions:     %d\n", kTaskConditions + 1);
    const int runMs = static_cast<int>(volumes * kRepetitionTimeMs);
    std::fprintf(out, "\nFixation\n1\n%7d %7d\nColor: 128 128 128\n", 0, 9999);
    std::uniform_int_distribution<int> jitter(0, 1999);
    const int slot = (runMs - 30000) / (kTaskConditions * kIntervals);
    for (int c = 0; c < kTaskConditions; ++c) {
        std::fprintf(out, "\nTask %d\n%d\n", c + 1, kIntervals);
        for (int i = 0; i < kIntervals; ++i) {
            const int start = 10000 + (i * kTaskConditions + c) * slot + jitter(engine);
            std::fprintf(out, "%7d %7d\n", start, start + slot / 2);
        }
        std::fprintf(out, "Color: %d %d %d\n", 60 * c, 200 - 40 * c, 100);
    }
}

void writeHeader(std::FILE* out, int predictors, int points, int constant) {
    std::fprintf(out, "FileVersion:             1\n\nNrOfPredictors:          %d\n", predictors);
    std::fprintf(out, "NrOfDataPoints:          %d\nIncludesConstant:        %d\n", points,
                 constant);
    std::fprintf(out, "FirstConfoundPredictor:  1\n\n");
}

void writeTimeCourseHeader(std::FILE* out, int predictors, int points) {
    std::fprintf(out, "FileVersion:     2\nType:            DesignMatrix\n");
    std::fprintf(out, "NrOfPredictors:  %d\nNrOfDataPoints:  %d\n", predictors, points);
}

void writeMotion(const std::string& path, bool timeCourseLayout, int volumes,
                 std::mt19937& engine) {
    TextFile file(path);
    std::FILE* out = file.get();
    if (timeCourseLayout) {
        writeTimeCourseHeader(out, 6, volumes);
    } else {
        writeHeader(out, 6, volumes, 0);
        std::fprintf(out, "255 0 0   0 255 0   0 0 255   255 255 0   255 0 255   0 255 255\n");
    }
    std::fprintf(out,
                 "\"Translation X [mm]\" \"Translation Y [mm]\" \"Translation Z [mm]\" "
                 "\"Rotation X [deg]\" \"Rotation Y [deg]\" \"Rotation Z [deg]\"\n");
    std::normal_distribution<double> step(0.0, 0.02);
    std::vector<double> position(6, 0.0);
    for (int k = 0; k < volumes; ++k) {
        for (std::size_t j = 0; j < 6; ++j) {
            std::fprintf(out, j == 0 ? "%.6f" : " %.6f", position[j]);
            position[j] = 0.98 * position[j] + step(engine);
        }
        std::fputc('\n', out);
    }
}

void writePhysiology(const std::string& path, const char* name, double centre, double swing,
                     bool timeCourseLayout, int volumes) {
    TextFile file(path);
    std::FILE* out = file.get();
    if (timeCourseLayout) {
        writeTimeCourseHeader(out, 1, volumes);
        std::fprintf(out, "\"%s\"\n", name);
    } else {
        writeHeader(out, 2, volumes, 1);
        std::fprintf(out, "255 200 0   255 255 255\n\"%s\" \"Constant\"\n", name);
    }
    for (int k = 0; k < volumes; ++k) {
        const double value =
            centre + swing * std::sin(0.085 * k) + 0.3 * swing * std::sin(0.37 * k);
        std::fprintf(out, timeCourseLayout ? "%.6f\n" : "%.6f 1.000000\n", value);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: sdmweaver_batch_study FOLDER RUNS [VOLUMES]\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const int runs = std::atoi(argv[2]);
    const int volumes = argc == 4 ? std::atoi(argv[3]) : 300;
    if (runs < 1 || volumes < 1 || volumes > 32767) {
        std::fprintf(stderr,
                     "sdmweaver_batch_study: RUNS and VOLUMES must be positive "
                     "(VOLUMES at most 32767)\n");
        return 2;
    }
    try {
        std::mt19937 engine(5);
        writeVolumeDocument(folder + "anatomy.vmr");
        TextFile list(folder + "study.txt");
        std::fprintf(list.get(), "%d\n", runs);
        for (int r = 0; r < runs; ++r) {
            char stem[32];
            std::snprintf(stem, sizeof stem, "run%04d", r + 1);
            const std::string run = stem;
            const bool odd = r % 2 == 1;
            const std::string motion = run + (odd ? "_3DMC.rtc" : "_3DMC.sdm");
            const std::string heartRate = run + (odd ? "_HR.sdm" : "_HR.rtc");
            const std::string respiration = run + (odd ? "_RVT.rtc" : "_RVT.sdm");
            writeProtocol(folder + run + "_task.prt", volumes, engine);
            writeTimeCourse(folder + run + ".vtc", volumes, engine);
            writeMotion(folder + motion, odd, volumes, engine);
            writePhysiology(folder + heartRate, "HeartRate", 66.0, 2.5, !odd, volumes);
            writePhysiology(folder + respiration, "RVT", 0.8, 0.12, odd, volumes);
            std::fprintf(list.get(), "%s_task.prt\n%s.vtc\n%s\n%s\n%s\n", run.c_str(), run.c_str(),
                         motion.c_str(), heartRate.c_str(), respiration.c_str());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sdmweaver_batch_study: %s\n", error.what());
        return 1;
    }
    return 0;
}
