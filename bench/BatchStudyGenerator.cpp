// Writes a study of many runs for the batch benchmark, deterministically: a small volume
// document, and per run a time course (TR 2000 ms, eight voxels), its protocol in milliseconds
// (a fixation and four task conditions, twelve intervals each), motion estimates, heart-rate and
// respiration files (the layouts alternate from run to run), and the list study.txt naming them
// all.
//
//   sdmweaver_batch_study FOLDER RUNS [VOLUMES]     (VOLUMES defaults to 300)

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/ByteWriter.h"
#include "formats/TimeCourse.h"
#include "formats/VolumeDocument.h"
#include "paths/WholeFile.h"
#include "tests/support/DesignFiles.h"

namespace {

constexpr double kRepetitionTimeMs = 2000.0;
constexpr int kTaskConditions = 4;
constexpr int kIntervals = 12;

void writeBytes(const std::string& path, const std::string& bytes) {
    if (!paths::writeWholeFile(path, bytes, paths::WholeFile::Mode::Binary)) {
        throw std::runtime_error("cannot write " + path);
    }
}

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
    constexpr int kDim = 32;
    formats::VolumeDocument document;
    document.fileVersion = 4;
    document.dimX = kDim;
    document.dimY = kDim;
    document.dimZ = kDim;
    for (int voxel = 0; voxel < kDim * kDim * kDim; ++voxel) {
        document.voxels.push_back(static_cast<unsigned char>(voxel % 100));
    }
    writeBytes(path, formats::volumeDocumentBytes(document));
}

void writeTimeCourse(const std::string& path, int volumes, std::mt19937& engine) {
    formats::TimeCourseHeader header;
    header.fileVersion = 3;
    header.sourceRunName = "run.fmr";
    header.dataType = 2;  // 32-bit floats
    header.nrOfVolumes = static_cast<std::int16_t>(volumes);
    header.resolution = 3;  // 2 x 2 x 2 voxels
    header.xStart = 30;
    header.xEnd = 36;
    header.yStart = 27;
    header.yEnd = 33;
    header.zStart = 24;
    header.zEnd = 30;
    header.leftRightConvention = 1;
    header.referenceSpace = 1;
    header.repetitionTimeMs = static_cast<float>(kRepetitionTimeMs);
    std::string bytes = formats::timeCourseHeaderBytes(header);
    std::normal_distribution<float> noise(900.0f, 6.0f);
    for (int value = 0; value < 8 * volumes; ++value) {
        formats::appendFloat32(bytes, noise(engine));
    }
    writeBytes(path, bytes);
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

void writeMotion(const std::string& path, bool timeCourseLayout, int volumes,
                 std::mt19937& engine) {
    testsupport::DesignColumns design;
    design.names = {"Translation X [mm]", "Translation Y [mm]", "Translation Z [mm]",
                    "Rotation X [deg]",   "Rotation Y [deg]",   "Rotation Z [deg]"};
    design.colours = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                      {255, 255, 0}, {255, 0, 255}, {0, 255, 255}};
    design.values.assign(6, std::vector<double>(static_cast<std::size_t>(volumes)));
    std::normal_distribution<double> step(0.0, 0.02);
    std::vector<double> position(6, 0.0);
    for (std::size_t k = 0; k < static_cast<std::size_t>(volumes); ++k) {
        for (std::size_t j = 0; j < 6; ++j) {
            design.values[j][k] = position[j];
            position[j] = 0.98 * position[j] + step(engine);
        }
    }
    writeBytes(
        path, timeCourseLayout ? testsupport::rtcText(design) : testsupport::sdmText(design, 0, 1));
}

void writePhysiology(const std::string& path, const char* name, double centre, double swing,
                     bool timeCourseLayout, int volumes) {
    testsupport::DesignColumns design;
    design.names = {name};
    design.colours = {{255, 200, 0}};
    design.values.emplace_back();
    for (int k = 0; k < volumes; ++k) {
        design.values[0].push_back(centre + swing * std::sin(0.085 * k) +
                                   0.3 * swing * std::sin(0.37 * k));
    }
    if (timeCourseLayout) {
        writeBytes(path, testsupport::rtcText(design));
        return;
    }
    design.names.push_back("Constant");
    design.colours.push_back({255, 255, 255});
    design.values.emplace_back(static_cast<std::size_t>(volumes), 1.0);
    writeBytes(path, testsupport::sdmText(design, 1, 1));
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
