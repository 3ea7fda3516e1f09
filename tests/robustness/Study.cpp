#include "tests/robustness/Study.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/DocumentBytes.h"

namespace robustness {

namespace fs = std::filesystem;

namespace {

// Values of one predictor over the study's volumes: start, start + step, ...
std::string rows(int columns, double start) {
    std::string text;
    for (int row = 0; row < kVolumes; ++row) {
        for (int column = 0; column < columns; ++column) {
            text +=
                std::to_string(start + row * 0.5 + column) + (column + 1 < columns ? " " : "\n");
        }
    }
    return text;
}

}  // namespace

std::string validProtocol() {
    return "FileVersion: 2\nResolutionOfTime: Volumes\nExperiment: Blocks\n\nNrOfConditions: 2\n\n"
           "Rest\n1\n1 3\nColor: 100 100 100\n\nTask\n1\n4 6\nColor: 255 0 0\n";
}

std::string validMotionDesignMatrix() {
    return "FileVersion: 1\n\nNrOfPredictors: 6\nNrOfDataPoints: 6\nIncludesConstant: 0\n"
           "FirstConfoundPredictor: 1\n\n255 0 0 0 255 0 0 0 255 255 255 0 255 0 255 0 255 255\n"
           "\"Translation X [mm]\" \"Translation Y [mm]\" \"Translation Z [mm]\" "
           "\"Rotation X [deg]\" \"Rotation Y [deg]\" \"Rotation Z [deg]\"\n" +
           rows(6, 0.25);
}

std::string validHeartRateTimeCourse() {
    return "FileVersion: 2\nType: DesignMatrix\nNrOfPredictors: 1\nNrOfDataPoints: 6\n\"HR\"\n" +
           rows(1, 70.0);
}

std::string validRespirationDesignMatrix() {
    std::string values;
    for (int row = 0; row < kVolumes; ++row) {
        values += std::to_string(0.1 * row) + " 1\n";
    }
    return "FileVersion: 1\n\nNrOfPredictors: 2\nNrOfDataPoints: 6\nIncludesConstant: 1\n"
           "FirstConfoundPredictor: 2\n\n0 0 255 255 255 255\n\"RVT\" \"Constant\"\n" +
           values;
}

Study::Study() {
    write("anatomy.vmr", testsupport::volumeDocumentBytes(8, 8, 8));
    testsupport::TimeCourseSpec spec;
    spec.volumes = kVolumes;
    write("run1.vtc", testsupport::timeCourseBytes(spec));
    write("task.prt", validProtocol());
    write("run1_3DMC.sdm", validMotionDesignMatrix());
    write("run1_HR.rtc", validHeartRateTimeCourse());
    write("run1_RVT.sdm", validRespirationDesignMatrix());
}

void Study::write(const std::string& name, const std::string& bytes) const {
    const fs::path path = dir_.path() / name;
    fs::create_directories(path.parent_path());
    testsupport::writeFile(path.string(), bytes);
}

std::string Study::read(const std::string& name) const {
    return testsupport::readFile(file(name));
}

bool Study::exists(const std::string& name) const {
    std::error_code ignored;
    return fs::exists(dir_.path() / name, ignored);
}

std::map<std::string, std::string> Study::snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) {
        // Symbolic links (stand-ins for a full disk) are not followed.
        if (entry.is_regular_file() && !entry.is_symlink()) {
            files[fs::relative(entry.path(), dir_.path()).string()] =
                testsupport::readFile(entry.path().string());
        }
    }
    return files;
}

ProgramResult Study::run(const std::string& listText, const RunOptions& options) {
    write("list.txt", inFolder(listText, dir_.path().string()));
    return runOnListFile(file("list.txt"), options);
}

ProgramResult Study::runOnListFile(const std::string& listPath, const RunOptions& options) {
    before_ = snapshot();
    std::vector<std::string> arguments = {"--list", listPath};
    if (options.volumeDocument) {
        arguments.insert(arguments.end(), {"--vmr", file("anatomy.vmr")});
    }
    arguments.insert(arguments.end(), options.arguments.begin(), options.arguments.end());
    std::vector<std::string> wrapper;
    if (options.withoutOverride && ::geteuid() == 0) {
        wrapper = {"setpriv", "--bounding-set=-dac_override,-dac_read_search"};
    }
    return testsupport::runProgram(SDMWEAVER_PROGRAM, arguments, dir_.path(), wrapper);
}

std::vector<std::string> Study::changedInputs() const {
    std::vector<std::string> changed;
    const auto now = snapshot();
    for (const auto& [name, bytes] : before_) {
        const auto it = now.find(name);
        if (it == now.end() || it->second != bytes) {
            changed.push_back(name);
        }
    }
    return changed;
}

std::vector<std::string> Study::newFiles() const {
    std::vector<std::string> created;
    for (const auto& [name, bytes] : snapshot()) {
        if (!before_.contains(name)) {
            created.push_back(name);
        }
    }
    return created;
}

void expectSound(const Study& study, const ProgramResult& result) {
    EXPECT_TRUE(result.exited) << "the program ended on a signal\n" << result.err;
    EXPECT_LE(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.err, "sdmweaver: ")) << result.err;
    for (const auto& name : study.changedInputs()) {
        ADD_FAILURE() << "the run changed its input " << name;
    }
}

std::string binaryGarbage() {
    std::string bytes;
    for (unsigned i = 0; i < 600; ++i) {
        bytes.push_back(static_cast<char>((i * 37U + 11U) % 256U));
    }
    return bytes;
}

std::string inFolder(const std::string& text, const std::string& folder) {
    std::string result = text;
    for (std::size_t at = result.find("{dir}"); at != std::string::npos;
         at = result.find("{dir}", at + folder.size())) {
        result.replace(at, 5, folder);
    }
    return result;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool canRunWithoutOverride() {
    return ::geteuid() != 0 || std::system("setpriv --version >/dev/null 2>&1") == 0;
}

}  // namespace robustness
