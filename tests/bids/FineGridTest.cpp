// The design's predictors against Python (numpy, scipy) computing the same events on a 1 ms grid,
// independently: every condition within 0.5% of its peak, every derivative within 1% of the
// numerical derivative, one row per volume even for a TR of 2.000001 s.

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <optional>

#include "bids/Commands.h"
#include "bids/EventsFile.h"
#include "bids/Regressors.h"
#include "tests/support/TestSupport.h"

namespace {

using response::ResponseFunction;
using testsupport::TempDir;

// A Python 3 that imports numpy and scipy: Debian's first (the one on PATH may lack them).
std::optional<std::string> pythonWithNumpy() {
#if defined(_WIN32) || defined(SDMWEAVER_CROSS_BUILD)
    return std::nullopt;
#else
    for (const char* candidate : {"/usr/bin/python3", "python3"}) {
        const std::string command =
            std::string(candidate) + " -c 'import numpy, scipy' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
#endif
}

struct GridCase {
    const char* name;
    ResponseFunction function;
    double repetitionTime;
    std::int64_t volumes;
    std::size_t dummies;
    double sliceReference;
};

void PrintTo(const GridCase& value, std::ostream* out) {
    *out << value.name;
}

// Blocks with onsets between the volumes, a block before the first volume, overlapping blocks,
// impulses (zero and n/a durations) and short events.
const char kEvents[] =
    "onset\tduration\ttrial_type\n"
    "-1.5\t4\tblock\n3.217\t12\tblock\n9.8\t0\timpulse\n20.1234\tn/a\timpulse\n"
    "24.05\t6.5\tblock\n27.5\t9\tblock\n33.333\t0.5\tshort\n41.9\t0.25\tshort\n"
    "55.001\t0\timpulse\n60.6\t15\tblock\n78.2\t0.75\tshort\n101.7\t0\timpulse\n";

class FineGrid : public testing::TestWithParam<GridCase> {};

TEST_P(FineGrid, PredictorsAndDerivativesAgreeWithPython) {
    const std::optional<std::string> python = pythonWithNumpy();
    if (!python) {
        GTEST_SKIP() << "no Python 3 with numpy and scipy (Debian: python3-numpy, python3-scipy; "
                        "not looked for in a Windows build): the fine-grid comparison is skipped";
    }
    const GridCase& grid = GetParam();
    TempDir dir;
    testsupport::writeFile(dir.file("events.tsv"), kEvents);
    bids::DesignCommand command;
    command.design.eventsPath = dir.file("events.tsv");
    command.design.function = grid.function;
    command.design.derivatives = true;
    command.design.dummies = grid.dummies;
    command.design.sliceReference = grid.sliceReference;
    command.repetitionTime = grid.repetitionTime;
    command.volumes = grid.volumes;
    command.outputPath = dir.file("design.sdm");
    command.tablePath = dir.file("design.tsv");
    std::vector<std::string> notes;
    bids::makeDesign(command, notes);

    // The exact derivatives before orthogonalisation, one column per condition.
    const bids::EventsFile events = bids::readEventsFile(command.design.eventsPath);
    const bids::VolumeTimes times(static_cast<std::size_t>(grid.volumes) - grid.dummies,
                                  grid.repetitionTime, grid.dummies, grid.sliceReference);
    std::vector<std::vector<double>> slopes;
    std::string table;
    for (const std::string& condition : events.conditions) {
        std::vector<bids::StimulusEvent> stimuli;
        for (const bids::Event& event : events.events) {
            if (event.condition == condition) {
                stimuli.push_back({event.onset, event.duration.value_or(0.0), 1.0});
            }
        }
        slopes.push_back(bids::eventResponseSlope(grid.function, stimuli, times));
        table += (table.empty() ? "" : "\t") + condition;
    }
    table += '\n';
    for (std::size_t k = 0; k < times.count(); ++k) {
        for (std::size_t c = 0; c < slopes.size(); ++c) {
            char value[40];
            std::snprintf(value, sizeof value, "%s%.17g", c == 0 ? "" : "\t", slopes[c][k]);
            table += value;
        }
        table += '\n';
    }
    testsupport::writeFile(dir.file("slopes.tsv"), table);

    char arguments[256];
    std::snprintf(arguments, sizeof arguments, " %.9g %lld %zu %.9g %s", grid.repetitionTime,
                  static_cast<long long>(grid.volumes), grid.dummies, grid.sliceReference,
                  grid.function == ResponseFunction::TwoGamma ? "two-gamma" : "boynton");
    const std::string command_line = *python + " '" SDMWEAVER_FINE_GRID_SCRIPT "' '" +
                                     dir.file("events.tsv") + "'" + arguments + " '" +
                                     dir.file("design.tsv") + "' '" + dir.file("slopes.tsv") +
                                     "' >'" + dir.file("python.txt") + "' 2>&1";
    const int status = std::system(command_line.c_str());
    const std::string report = testsupport::readText(dir.file("python.txt"));
    std::cout << report;  // the largest differences, for the record
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("largest difference"), std::string::npos) << report;
}

INSTANTIATE_TEST_SUITE_P(
    Designs, FineGrid,
    testing::Values(
        GridCase{"TwoGammaTr2", ResponseFunction::TwoGamma, 2.0, 70, 0, 0.0},
        GridCase{"BoyntonTr2_5DummiesSliceReference", ResponseFunction::Boynton, 2.5, 60, 3, 0.5},
        GridCase{"TwoGammaTr2_000001", ResponseFunction::TwoGamma, 2.000001, 150, 0, 0.0}),
    [](const testing::TestParamInfo<GridCase>& param) { return param.param.name; });

}  // namespace
