// Any bytes as the base design matrix, merged with confound records made from the input's last
// bytes. Whatever the base holds: the base and the confound files are left as they were, no file
// is written over an input, and a merge whose log says nothing but its new name has written a
// complete design matrix: its header count equals the colours, names and values on every line,
// and it has as many rows as its data-point count.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "designmatrix/ConfoundMerge.h"
#include "designmatrix/DesignMatrixFile.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/TokenReader.h"

namespace {

using designmatrix::DesignMatrixFile;

// How the input's last bytes shape one merge.
struct MergeSetup {
    bool all = false;  // mergeAllConfounds
    bool hasMotion = false;
    bool hasHeartRate = false;
    bool hasRespiration = false;
    DesignMatrixFile motion;
    DesignMatrixFile heartRate;
    DesignMatrixFile respiration;
};

std::vector<double> column(FuzzedDataProvider& provider, std::int32_t points) {
    std::vector<double> values(static_cast<std::size_t>(points));
    for (double& value : values) {
        value = provider.ConsumeFloatingPointInRange<double>(-1e6, 1e6);
    }
    return values;
}

void fillPredictors(FuzzedDataProvider& provider, DesignMatrixFile& record, std::int32_t kind,
                    const char* stem) {
    record.kind = kind;
    record.readOk = provider.ConsumeIntegralInRange<int>(0, 15) != 0;
    record.zTransformed = provider.ConsumeBool();
    record.nrOfDataPoints = provider.ConsumeIntegralInRange<std::int32_t>(0, 8);
    record.nrOfPredictors = provider.ConsumeIntegralInRange<std::int32_t>(0, 3);
    for (std::int32_t j = 0; j < record.nrOfPredictors; ++j) {
        record.predictorColors.push_back({255, 255, 20 * j});
        record.predictorNames.push_back("\"" + std::string(stem) + std::to_string(j + 1) + "\"");
        record.predictorValues.push_back(column(provider, record.nrOfDataPoints));
    }
}

MergeSetup setupFrom(FuzzedDataProvider& provider) {
    MergeSetup setup;
    setup.all = provider.ConsumeBool();
    setup.hasMotion = setup.all || provider.ConsumeBool();
    setup.hasHeartRate = setup.all || provider.ConsumeBool();
    setup.hasRespiration = setup.all || provider.ConsumeBool();
    // The confound stage merges only when it found at least one confound.
    if (!setup.hasMotion && !setup.hasRespiration) {
        setup.hasHeartRate = true;
    }

    DesignMatrixFile& motion = setup.motion;
    motion.kind = designmatrix::kMotionEstimatesKind;
    motion.readOk = provider.ConsumeIntegralInRange<int>(0, 15) != 0;
    motion.zTransformed = provider.ConsumeBool();
    motion.nrOfPredictors = provider.ConsumeIntegralInRange<std::int32_t>(0, 8);
    motion.nrOfDataPoints = provider.ConsumeIntegralInRange<std::int32_t>(0, 8);
    for (auto& colour : motion.motionColors) {
        colour = {provider.ConsumeIntegral<std::uint8_t>(), 50, 50};
    }
    for (auto& values : motion.motionColumns) {
        values = column(provider, motion.nrOfDataPoints);
    }
    fillPredictors(provider, setup.heartRate, designmatrix::kHeartRateKind, "HR");
    fillPredictors(provider, setup.respiration, designmatrix::kRespirationKind, "RVT");
    return setup;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Entries of one line read as the readers read them.
template <typename Read>
std::size_t countEntries(const std::string& line, Read read) {
    std::istringstream in(line);
    testsupport::TokenReader tokens(in);
    std::size_t count = 0;
    while (read(tokens)) {
        ++count;
    }
    FUZZ_CHECK((in >> std::ws).eof(), "a line holds an entry of the wrong kind: " + line);
    return count;
}

// The header of a complete merge, its line structure, and every count.
void checkComplete(const std::string& text) {
    const std::vector<std::string> lines = linesOf(text);
    FUZZ_CHECK(lines.size() >= 9, "a complete merge has fewer than nine lines");
    FUZZ_CHECK(lines[1].empty() && lines[6].empty(), "the header's empty lines are missing");
    std::int32_t header[5] = {};
    const std::size_t headerLines[5] = {0, 2, 3, 4, 5};
    for (std::size_t i = 0; i < 5; ++i) {
        std::istringstream in(lines[headerLines[i]]);
        testsupport::TokenReader tokens(in);
        std::string key;
        FUZZ_CHECK(tokens.word(key) && tokens.integer(header[i]) && (in >> std::ws).eof(),
                   "a header line is not a key and a number: " + lines[headerLines[i]]);
    }
    FUZZ_CHECK(header[0] <= 1, "a merged design matrix of a version above 1");
    const std::int32_t predictors = header[1];
    const std::int32_t points = header[2];
    FUZZ_CHECK(predictors >= 0 && points >= 0, "a negative count in a complete merge");
    const auto count = static_cast<std::size_t>(predictors);
    FUZZ_CHECK(lines.size() == 9 + static_cast<std::size_t>(points),
               "rows differ from the data-point count");
    FUZZ_CHECK(countEntries(lines[7],
                            [](testsupport::TokenReader& t) {
                                std::int32_t v = 0;
                                return t.integer(v);
                            }) == 3 * count,
               "colour components differ from three per predictor");
    FUZZ_CHECK(countEntries(lines[8],
                            [](testsupport::TokenReader& t) {
                                std::string name;
                                return t.name(name);
                            }) == count,
               "names differ from the predictor count");
    for (std::size_t row = 9; row < lines.size(); ++row) {
        FUZZ_CHECK(countEntries(lines[row],
                                [](testsupport::TokenReader& t) {
                                    double v = 0.0;
                                    return t.number(v) && std::isfinite(v);
                                }) == count,
                   "values differ from the predictor count in row " + std::to_string(row - 8));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    fuzzsupport::startCapturedLog();
    FuzzedDataProvider provider(data, size);
    MergeSetup setup = setupFrom(provider);
    const std::string base = provider.ConsumeRemainingBytesAsString();

    const std::string folder = fuzzsupport::scratchFolder();
    for (const auto& entry : fs::directory_iterator(folder)) {
        fs::remove(entry.path());
    }
    const std::string basePath = fuzzsupport::scratchFile("run1_task.sdm");
    fuzzsupport::writeBytes(basePath, base);
    // A confound file that stands where the merge would write.
    const std::string confoundPath = fuzzsupport::scratchFile("run1_task_3DMC.sdm");
    const std::string confoundBytes = "a confound file\n";
    fuzzsupport::writeBytes(confoundPath, confoundBytes);
    setup.motion.sourcePath = confoundPath;

    const std::string newPath =
        setup.all ? designmatrix::mergeAllConfounds(basePath, setup.motion, setup.heartRate,
                                                    setup.respiration)
                  : designmatrix::mergeConfounds(basePath, &setup.motion, &setup.heartRate,
                                                 &setup.respiration, setup.hasMotion,
                                                 setup.hasHeartRate, setup.hasRespiration);

    const auto& log = fuzzsupport::loggedEntries();
    FUZZ_CHECK(fuzzsupport::readBytes(basePath) == base, "the merge changed the base file");
    FUZZ_CHECK(fuzzsupport::readBytes(confoundPath) == confoundBytes,
               "the merge wrote over a confound file");
    if (newPath.empty()) {
        FUZZ_CHECK(!log.empty(), "no merge and no word why");
        return 0;
    }
    FUZZ_CHECK(newPath != basePath, "the new name is the base's");
    FUZZ_CHECK(!log.empty() && log.front() == "New filename: " + newPath,
               "the new name is not logged first");
    if (log.size() == 1) {
        // Nothing but the name was logged: the merge claims success.
        FUZZ_CHECK(fs::exists(newPath), "a merge that reports nothing wrote no file");
        checkComplete(fuzzsupport::readBytes(newPath));
    }
    return 0;
}
