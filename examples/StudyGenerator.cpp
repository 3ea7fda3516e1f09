// Writes the example study's documents, deterministically: the volume document anatomy.vmr and
// the two runs' time courses run1.vtc and run2.vtc (TR 2000 ms, eight voxels each). With --text
// it also writes the confound files the study commits (motion estimates as a slow random walk,
// heart rate and respiration as smooth waves), so that they can be made again.
//
//   sdmweaver_example_generator FOLDER [--text]

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "formats/ByteWriter.h"
#include "formats/DesignMatrixWriter.h"
#include "formats/TimeCourse.h"
#include "formats/VolumeDocument.h"
#include "paths/WholeFile.h"

namespace {

constexpr double kRepetitionTimeMs = 2000.0;
constexpr int kRun1Volumes = 200;
constexpr int kRun2Volumes = 150;

// Every file is written whole, text files with the platform's line ends.
bool writeBytes(const std::string& path, const std::string& bytes) {
    return paths::writeWholeFile(path, bytes, paths::WholeFile::Mode::Binary);
}

bool writeText(const std::string& path, const std::string& text) {
    return paths::writeWholeFile(path, text, paths::WholeFile::Mode::Text);
}

// Normal deviates from a fixed-seed engine whose output the language fixes (the standard
// distributions may differ between libraries).
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : engine_(seed) {}
    double uniform() { return (static_cast<double>(engine_()) + 0.5) / 4294967296.0; }
    double normal() {
        return std::sqrt(-2.0 * std::log(uniform())) * std::cos(2.0 * std::numbers::pi * uniform());
    }

  private:
    std::mt19937 engine_;
};

bool writeVolumeDocument(const std::string& path) {
    constexpr int kDim = 64;
    formats::VolumeDocument document;
    document.fileVersion = 4;
    document.dimX = kDim;
    document.dimY = kDim;
    document.dimZ = kDim;
    // A bright ellipsoid head in a dark field.
    for (int z = 0; z < kDim; ++z) {
        for (int y = 0; y < kDim; ++y) {
            for (int x = 0; x < kDim; ++x) {
                const double dx = (x - 31.5) / 26.0;
                const double dy = (y - 31.5) / 30.0;
                const double dz = (z - 31.5) / 24.0;
                const double r = dx * dx + dy * dy + dz * dz;
                document.voxels.push_back(
                    static_cast<unsigned char>(r < 1.0 ? 90 + 60 * (1.0 - r) : 8));
            }
        }
    }
    return writeBytes(path, formats::volumeDocumentBytes(document));
}

bool writeTimeCourse(const std::string& path, const std::string& sourceRun,
                     const std::vector<std::string>& protocols, int volumes, std::uint32_t seed) {
    formats::TimeCourseHeader header;
    header.fileVersion = 3;
    header.sourceRunName = sourceRun;
    header.protocolNames = protocols;
    header.currentProtocolIndex = 0;
    header.dataType = 2;  // 32-bit floats
    header.nrOfVolumes = static_cast<std::int16_t>(volumes);
    header.resolution = 3;  // 3 mm voxels over the 1 mm volume document: 2 x 2 x 2 voxels
    header.xStart = 30;
    header.xEnd = 36;
    header.yStart = 27;
    header.yEnd = 33;
    header.zStart = 24;
    header.zEnd = 30;
    header.leftRightConvention = 1;  // radiological convention
    header.referenceSpace = 1;       // native space
    header.repetitionTimeMs = static_cast<float>(kRepetitionTimeMs);
    std::string bytes = formats::timeCourseHeaderBytes(header);
    Noise noise(seed);
    for (int voxel = 0; voxel < 8; ++voxel) {
        const double baseline = 900.0 + 40.0 * voxel;
        for (int k = 0; k < volumes; ++k) {
            const double drift = 0.05 * k;
            formats::appendFloat32(bytes,
                                   static_cast<float>(baseline + drift + 6.0 * noise.normal()));
        }
    }
    return writeBytes(path, bytes);
}

// Three translations (mm) and three rotations (degrees) walking slowly from 0.
std::vector<std::vector<double>> motionEstimates(int volumes, std::uint32_t seed) {
    Noise noise(seed);
    std::vector<std::vector<double>> rows;
    std::vector<double> position(6, 0.0);
    for (int k = 0; k < volumes; ++k) {
        rows.push_back(position);
        for (std::size_t j = 0; j < 6; ++j) {
            position[j] = 0.98 * position[j] + (j < 3 ? 0.03 : 0.02) * noise.normal();
        }
    }
    return rows;
}

// Beats per minute around 66, two slow waves.
double heartRate(int k, double phase) {
    const double t = k * kRepetitionTimeMs / 1000.0;
    return 66.0 + 2.5 * std::sin(2.0 * std::numbers::pi * t / 74.0 + phase) +
           1.2 * std::sin(2.0 * std::numbers::pi * t / 29.0 + 2.0 * phase);
}

// Respiration volume per time, around 0.8, a breathing envelope over slow waves.
double respiration(int k, double phase) {
    const double t = k * kRepetitionTimeMs / 1000.0;
    return 0.8 + 0.12 * std::sin(2.0 * std::numbers::pi * t / 52.0 + phase) +
           0.05 * std::sin(2.0 * std::numbers::pi * t / 17.0 + 3.0 * phase);
}

// The header of a reference time course (*.rtc).
std::string timeCourseHeader(int predictors, int points) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "FileVersion:     2\nType:            DesignMatrix\nNrOfPredictors:  %d\n"
                  "NrOfDataPoints:  %d\n",
                  predictors, points);
    return text;
}

constexpr std::array<const char*, 6> kMotionNames = {"Translation X [mm]", "Translation Y [mm]",
                                                     "Translation Z [mm]", "Rotation X [deg]",
                                                     "Rotation Y [deg]",   "Rotation Z [deg]"};
constexpr std::array<std::int32_t, 6> kMotionColors = {0xFF0000, 0x00FF00, 0x0000FF,
                                                       0xFFFF00, 0xFF00FF, 0x00FFFF};

// A design matrix file as the host saves it, six decimals.
bool writeDesignMatrix(const std::string& path,
                       const std::vector<formats::DesignMatrixColumn>& columns, int volumes,
                       int constant) {
    return writeText(
        path, formats::formatDesignMatrixFile(columns, static_cast<std::size_t>(volumes), constant,
                                              1, formats::NumberFormat::SixDecimals));
}

bool writeMotion(const std::string& path, bool timeCourseLayout, int volumes, std::uint32_t seed) {
    const std::vector<std::vector<double>> rows = motionEstimates(volumes, seed);
    if (!timeCourseLayout) {
        std::vector<std::vector<double>> values(6);
        for (const auto& row : rows) {
            for (std::size_t j = 0; j < 6; ++j) {
                values[j].push_back(row[j]);
            }
        }
        std::vector<formats::DesignMatrixColumn> columns;
        for (std::size_t j = 0; j < 6; ++j) {
            columns.push_back({kMotionNames[j], kMotionColors[j], {}, values[j]});
        }
        return writeDesignMatrix(path, columns, volumes, 0);
    }
    std::string text = timeCourseHeader(6, volumes);
    for (std::size_t j = 0; j < 6; ++j) {
        text += (j == 0 ? "\"" : " \"") + std::string(kMotionNames[j]) + '"';
    }
    text += '\n';
    char field[64];
    for (const auto& row : rows) {
        for (std::size_t j = 0; j < row.size(); ++j) {
            std::snprintf(field, sizeof field, "%s%.6f", j == 0 ? "" : " ", row[j]);
            text += field;
        }
        text += '\n';
    }
    return writeText(path, text);
}

// One physiological predictor: in the time-course layout, or in the design-matrix layout with
// a constant predictor after it.
bool writePhysiology(const std::string& path, const char* name, double (*wave)(int, double),
                     double phase, bool timeCourseLayout, int volumes) {
    std::vector<double> values;
    for (int k = 0; k < volumes; ++k) {
        values.push_back(wave(k, phase));
    }
    if (!timeCourseLayout) {
        const std::vector<double> ones(values.size(), 1.0);
        return writeDesignMatrix(
            path, {{name, 0xFFC800, {}, values}, {"Constant", 0xFFFFFF, {}, ones}}, volumes, 1);
    }
    std::string text = timeCourseHeader(1, volumes) + '"' + name + "\"\n";
    char field[64];
    for (const double value : values) {
        std::snprintf(field, sizeof field, "%.6f\n", value);
        text += field;
    }
    return writeText(path, text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "--text")) {
        std::fprintf(stderr, "usage: sdmweaver_example_generator FOLDER [--text]\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    bool ok =
        writeVolumeDocument(folder + "anatomy.vmr") &&
        writeTimeCourse(folder + "run1.vtc", "run1.fmr", {"faces_volumes.prt"}, kRun1Volumes, 11) &&
        writeTimeCourse(folder + "run2.vtc", "run2.fmr", {}, kRun2Volumes, 12);
    if (ok && argc == 3) {
        ok = writeMotion(folder + "run1_3DMC.sdm", false, kRun1Volumes, 21) &&
             writeMotion(folder + "run2_3DMC.rtc", true, kRun2Volumes, 22) &&
             writePhysiology(folder + "run1_HR.rtc", "HeartRate", heartRate, 0.0, true,
                             kRun1Volumes) &&
             writePhysiology(folder + "run1_RVT.sdm", "RVT", respiration, 0.0, false,
                             kRun1Volumes) &&
             writePhysiology(folder + "run2_HR.sdm", "HeartRate", heartRate, 1.3, false,
                             kRun2Volumes) &&
             writePhysiology(folder + "run2_RVT.rtc", "RVT", respiration, 0.7, true, kRun2Volumes);
    }
    if (!ok) {
        std::fprintf(stderr, "sdmweaver_example_generator: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
