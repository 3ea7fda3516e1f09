// The design command's work in one process: 1,000 design matrices of 300 volumes, each from an
// events file of 5 conditions and an fMRIPrep table from which 24 motion columns are picked
// (trans_*, rot_*: the six estimates, their derivatives, squares and squared derivatives), read,
// computed and written. Twenty different runs are generated (not timed) and taken in turn.
//
//   sdmweaver_design_bench FOLDER [DESIGNS [--derivative]]
//   cmake --build --preset release --target bench_design

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bids/Commands.h"

namespace {

constexpr int kVolumes = 300;
constexpr double kRepetitionTime = 2.0;
constexpr int kRuns = 20;
constexpr int kConditions = 5;
constexpr int kEventsPerCondition = 16;

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Events of five conditions at random onsets (milliseconds apart), blocks and short events.
std::string eventsText(std::mt19937& engine) {
    std::uniform_real_distribution<double> onset(0.0, kVolumes * kRepetitionTime - 40.0);
    std::uniform_int_distribution<int> kind(0, 2);
    std::string text = "onset\tduration\ttrial_type\tresponse_time\n";
    char line[128];
    for (int c = 0; c < kConditions; ++c) {
        for (int e = 0; e < kEventsPerCondition; ++e) {
            const double duration = kind(engine) == 0 ? 0.0 : kind(engine) == 1 ? 1.5 : 12.0;
            std::snprintf(line, sizeof line, "%.3f\t%g\tcondition_%d\t%.3f\n", onset(engine),
                          duration, c + 1, 0.4 + 0.001 * e);
            text += line;
        }
    }
    return text;
}

// An fMRIPrep table in today's names: 24 motion columns and 16 others; n/a in the first row of
// the derivatives, as fMRIPrep writes them.
std::string confoundsText(std::mt19937& engine) {
    std::normal_distribution<double> noise(0.0, 0.02);
    std::vector<std::string> names = {"global_signal", "csf", "white_matter"};
    for (const char* axis : {"trans_x", "trans_y", "trans_z", "rot_x", "rot_y", "rot_z"}) {
        for (const char* form : {"", "_derivative1", "_power2", "_derivative1_power2"}) {
            names.push_back(std::string(axis) + form);
        }
    }
    for (const char* other : {"framewise_displacement", "dvars", "std_dvars"}) {
        names.emplace_back(other);
    }
    for (int i = 0; i < 6; ++i) {
        names.push_back("a_comp_cor_0" + std::to_string(i));
    }
    for (int i = 0; i < 4; ++i) {
        names.push_back("cosine0" + std::to_string(i));
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i ? "\t" : "") + names[i];
    }
    text += '\n';
    char cell[40];
    for (int row = 0; row < kVolumes; ++row) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            const bool derivative = names[i].find("derivative1") != std::string::npos ||
                                    names[i] == "framewise_displacement" || names[i] == "std_dvars";
            if (row == 0 && derivative) {
                std::snprintf(cell, sizeof cell, "%sn/a", i ? "\t" : "");
            } else {
                std::snprintf(cell, sizeof cell, "%s%.17g", i ? "\t" : "", noise(engine));
            }
            text += cell;
        }
        text += '\n';
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: sdmweaver_design_bench FOLDER [DESIGNS [--derivative]]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int designs = argc > 2 ? std::stoi(argv[2]) : 1000;
    const bool derivative = argc > 3 && std::string(argv[3]) == "--derivative";
    std::filesystem::create_directories(folder / "out");
    std::mt19937 engine(2026);
    for (int run = 0; run < kRuns; ++run) {
        const std::string stem = "sub-01_task-bench_run-" + std::to_string(run + 1);
        writeText(folder / (stem + "_events.tsv"), eventsText(engine));
        writeText(folder / (stem + "_desc-confounds_timeseries.tsv"), confoundsText(engine));
    }

    std::vector<std::string> notes;
    const auto wallStart = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < designs; ++i) {
        const std::string stem = "sub-01_task-bench_run-" + std::to_string(i % kRuns + 1);
        bids::DesignCommand command;
        command.design.eventsPath = (folder / (stem + "_events.tsv")).string();
        command.design.confoundsPath =
            (folder / (stem + "_desc-confounds_timeseries.tsv")).string();
        command.design.confoundPatterns = {"trans_*", "rot_*"};
        command.design.derivatives = derivative;
        command.repetitionTime = kRepetitionTime;
        command.volumes = kVolumes;
        command.outputPath = (folder / "out" / (stem + ".sdm")).string();
        notes.clear();
        bids::makeDesign(command, notes);
    }
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf(
        "%d designs (%d volumes, %d conditions%s, 24 confound columns): wall %.3f s, "
        "cpu %.3f s, %.3f ms per design\n",
        designs, kVolumes, kConditions, derivative ? " with derivatives" : "", wall, cpu,
        1000.0 * wall / designs);
    return 0;
}
