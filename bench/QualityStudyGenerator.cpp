// Writes the design matrices of a study for the quality-report benchmark, deterministically: per
// run 300 volumes of four task predictors (blocks at random onsets, smoothed), six motion
// estimates (a random walk; translations in mm, rotations in degrees) and the constant. Every
// 100th run has two task predictors almost alike, so that the page has runs that stand out.
//
//   sdmweaver_quality_study FOLDER RUNS

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/support/DesignFiles.h"

namespace {

constexpr std::size_t kVolumes = 300;
constexpr int kTasks = 4;

std::vector<double> taskColumn(std::mt19937& engine) {
    std::uniform_int_distribution<std::size_t> onset(0, kVolumes - 10);
    std::vector<double> blocks(kVolumes, 0.0);
    for (int b = 0; b < 10; ++b) {
        const std::size_t start = onset(engine);
        for (std::size_t v = start; v < start + 8 && v < kVolumes; ++v) {
            blocks[v] = 1.0;
        }
    }
    std::vector<double> smooth(kVolumes, 0.0);
    for (std::size_t v = 0; v < kVolumes; ++v) {
        for (std::size_t k = 0; k < 8 && k <= v; ++k) {
            smooth[v] += blocks[v - k] * std::exp(-0.5 * static_cast<double>(k));
        }
    }
    return smooth;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sdmweaver_quality_study FOLDER RUNS\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = std::atoi(argv[2]);
    std::mt19937 engine(20261208);
    std::normal_distribution<double> step(0.0, 0.03);
    for (int run = 1; run <= runs; ++run) {
        testsupport::DesignColumns design;
        for (int t = 0; t < kTasks; ++t) {
            design.names.push_back("condition " + std::to_string(t + 1));
            design.values.push_back(taskColumn(engine));
        }
        if (run % 100 == 0) {
            design.values[1] = design.values[0];
            design.values[1][0] += 0.1;
        }
        for (const char* name : {"Translation X [mm]", "Translation Y [mm]", "Translation Z [mm]",
                                 "Rotation X [deg]", "Rotation Y [deg]", "Rotation Z [deg]"}) {
            std::vector<double> walk(kVolumes);
            double at = 0.0;
            for (double& value : walk) {
                at += step(engine);
                value = at;
            }
            design.names.push_back(name);
            design.values.push_back(walk);
        }
        design.names.push_back("Constant");
        design.values.emplace_back(kVolumes, 1.0);
        char name[64];
        std::snprintf(name, sizeof name, "/sub-%04d_task-bench_3DMC.sdm", run);
        std::ofstream out(folder + name, std::ios::binary | std::ios::trunc);
        out << testsupport::sdmText(design, 1, kTasks + 1);
        if (!out) {
            std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
