// The study's quality figures: each run's figures against numpy, the rules by which a run stands
// out, and the tables that carry them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "plot/QualityTables.h"
#include "plot/RunFigures.h"
#include "plot/StudyQuality.h"
#include "tests/plot/DesignFiles.h"
#include "tests/support/TestSupport.h"

namespace {

using formats::DesignTable;
using formats::PredictorRole;

using plottest::studyRun;

std::optional<std::string> pythonWithNumpy() {
#if defined(_WIN32) || defined(SDMWEAVER_CROSS_BUILD)
    return std::nullopt;
#else
    for (const char* candidate : {"/usr/bin/python3", "python3"}) {
        if (std::system((std::string(candidate) + " -c 'import numpy' >/dev/null 2>&1").c_str()) ==
            0) {
            return candidate;
        }
    }
    return std::nullopt;
#endif
}

void expectClose(double ours, double theirs, const std::string& what) {
    if (std::isnan(theirs)) {
        EXPECT_TRUE(std::isnan(ours)) << what;
        return;
    }
    EXPECT_NEAR(ours, theirs, 1e-3 * std::abs(theirs) + 1e-12) << what;
}

struct FigureCase {
    const char* what;
    DesignTable table;
    const char* unit;  // of the rotations, for numpy
};

TEST(RunFigures, AgreeWithNumpy) {
    const auto python = pythonWithNumpy();
    if (!python) {
        GTEST_SKIP() << "no Python 3 with numpy (Debian: python3-numpy): figures not compared";
    }
    std::vector<FigureCase> cases = {
        {"independent waves", studyRun(1), "deg"},
        {"two waves leaning together (r about 0.95)", studyRun(2, 0.85), "deg"},
        {"large motion", studyRun(3, 0.0, 0.4), "deg"},
    };
    // fMRIPrep's names: rotations in radians; no constant column (the VIF adds one).
    DesignTable radians = studyRun(4, 0.3, 0.004);
    const char* fmriprep[] = {"trans_x", "trans_y", "trans_z", "rot_x", "rot_y", "rot_z"};
    for (std::size_t k = 0; k < 6; ++k) {
        radians.names[3 + k] = fmriprep[k];
    }
    radians.names.pop_back();
    radians.columns.pop_back();
    radians.roles.pop_back();
    cases.push_back({"fMRIPrep motion in radians, no constant", radians, "rad"});

    testsupport::TempDir dir;
    std::ostringstream designs;
    for (const FigureCase& c : cases) {
        std::string roles;
        for (PredictorRole role : c.table.roles) {
            roles += role == PredictorRole::Task       ? 'T'
                     : role == PredictorRole::Confound ? 'C'
                                                       : 'K';
        }
        designs << "design " << roles << " 3,4,5,6,7,8 " << c.unit << '\n';
        designs.precision(17);
        for (std::size_t v = 0; v < c.table.nrOfVolumes(); ++v) {
            for (const auto& column : c.table.columns) {
                designs << column[v] << ' ';
            }
            designs << '\n';
        }
    }
    testsupport::writeFile(dir.file("designs.txt"), designs.str());
    const std::string command = *python + " '" SDMWEAVER_QUALITY_SCRIPT "' '" +
                                dir.file("designs.txt") + "' >'" + dir.file("numpy.txt") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::istringstream numpy(testsupport::readFile(dir.file("numpy.txt")));
    for (const FigureCase& c : cases) {
        SCOPED_TRACE(c.what);
        const plot::RunFigures ours = plot::computeRunFigures(c.table);
        std::string line;
        ASSERT_TRUE(std::getline(numpy, line));
        std::istringstream theirs(line);
        const auto next = [&] {
            std::string word;
            theirs >> word;
            return std::stod(word);
        };
        expectClose(ours.conditionNumber, next(), "condition number");
        ASSERT_EQ(ours.vif.size(), 3u);
        for (const auto& vif : ours.vif) {
            expectClose(vif.value, next(), "VIF of " + vif.name);
        }
        for (const auto& efficiency : ours.efficiency) {
            expectClose(efficiency.value, next(), "efficiency of " + efficiency.name);
        }
        ASSERT_TRUE(ours.displacement);
        expectClose(ours.displacement->mean, next(), "FD mean");
        expectClose(ours.displacement->max, next(), "FD max");
        expectClose(ours.displacement->share, next(), "FD share");
    }
}

TEST(RunFigures, DegenerateColumnsGiveInfiniteOrNoFigures) {
    // A predictor zero throughout: no VIF of its own, none estimable, the design rank-deficient.
    const plot::RunFigures zero = plot::computeRunFigures(studyRun(5, 0.0, 0.02, true));
    EXPECT_EQ(zero.zeroPredictors, std::vector<std::string>{"task3"});
    EXPECT_TRUE(std::isnan(zero.vif[2].value));
    EXPECT_EQ(zero.efficiency[2].value, 0.0);
    EXPECT_TRUE(std::isinf(zero.conditionNumber));
    EXPECT_LT(zero.vif[0].value, 10.0);  // the other predictors keep their figures
    // Two equal predictors: each lies in the other's span.
    DesignTable twins = studyRun(6);
    twins.columns[1] = twins.columns[0];
    const plot::RunFigures same = plot::computeRunFigures(twins);
    EXPECT_TRUE(std::isinf(same.vif[0].value));
    EXPECT_EQ(same.maxTask->r, 1.0);
    // z-transformed motion is no distance: no displacement.
    DesignTable scored = studyRun(7);
    scored.path = "run7_task_3DMC_z.sdm";
    EXPECT_FALSE(plot::computeRunFigures(scored).displacement);
}

// A study of clean runs with three planted odd ones.
plot::StudyQuality plantedStudy() {
    plot::StudyQuality study;
    for (unsigned seed = 10; seed < 30; ++seed) {
        const bool collinear = seed == 14;
        const bool zero = seed == 19;
        const bool moving = seed == 25;
        plot::QualityRun run;
        run.name = "run" + std::to_string(seed);
        run.figures = plot::computeRunFigures(
            studyRun(seed, collinear ? 0.97 : 0.0, moving ? 0.5 : 0.02, zero));
        run.result = plot::PairResult::Ok;
        study.runs.push_back(std::move(run));
    }
    study.runs[2].result = plot::PairResult::Failed;
    study.runs[2].resultReasons = {"no design matrix"};
    plot::judgeStudy(study);
    return study;
}

std::vector<std::string> kindsOf(const plot::QualityRun& run) {
    std::vector<std::string> kinds;
    for (const auto& reason : run.standsOut) {
        kinds.push_back(reason.kind);
    }
    return kinds;
}

bool has(const std::vector<std::string>& kinds, const std::string& kind) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

TEST(StudyQuality, PlantedRunsStandOutForTheirReasonsAndNoCleanRunDoes) {
    const plot::StudyQuality study = plantedStudy();
    for (const plot::QualityRun& run : study.runs) {
        const auto kinds = kindsOf(run);
        SCOPED_TRACE(run.name + ": " + testing::PrintToString(kinds));
        if (run.name == "run14") {
            EXPECT_TRUE(has(kinds, "correlation"));
            EXPECT_TRUE(has(kinds, "vif"));
        } else if (run.name == "run19") {
            EXPECT_TRUE(has(kinds, "zero_predictor"));
        } else if (run.name == "run25") {
            EXPECT_TRUE(has(kinds, "motion"));
        } else if (run.name == "run12") {
            EXPECT_EQ(kinds, std::vector<std::string>{"failed"});
            EXPECT_EQ(run.standsOut[0].text, "the pair failed: no design matrix");
        } else {
            EXPECT_TRUE(kinds.empty());
        }
    }
    EXPECT_EQ(study.standingOut(), 4u);
    EXPECT_EQ(study.failed(), 1u);
}

TEST(StudyQuality, FigureBeyondThreeScaledDeviationsStandsOutOnItsWorseSideOnly) {
    plot::StudyQuality study;
    for (unsigned i = 0; i < 9; ++i) {
        plot::QualityRun run;
        run.name = std::to_string(i);
        run.figures = plot::computeRunFigures(studyRun(40 + i));
        run.figures->displacement = plot::DisplacementSummary{0.1 + 0.002 * i, 0.3, 0.0};
        study.runs.push_back(run);
    }
    study.runs[3].figures->displacement->mean = 0.3;   // worse: stands out
    study.runs[5].figures->displacement->mean = 0.01;  // better: does not
    plot::judgeStudy(study);
    EXPECT_EQ(kindsOf(study.runs[3]), std::vector<std::string>{"unusual fd_mean"});
    EXPECT_TRUE(study.runs[5].standsOut.empty());
    const auto& spread = study.spreads[10];
    EXPECT_EQ(spread.figure, "fd_mean");
    EXPECT_EQ(spread.runs, 9u);
    EXPECT_DOUBLE_EQ(spread.median, 0.108);
}

TEST(QualityTables, OneRowPerRunUnderTheColumnsWithSixSignificantDigits) {
    const plot::StudyQuality study = plantedStudy();
    const std::string tsv = plot::qualityTsv(study);
    std::istringstream in(tsv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line,
              "run\tvolumes\ttr\tpredictors\tcondition_number\tmax_r_task\tmax_r_confound\tvif\t"
              "efficiency\tzero_predictors\tevents_past_end\tfd_mean\tfd_max\tfd_share\t"
              "stands_out\treasons");
    std::size_t rows = 0;
    while (std::getline(in, line)) {
        ++rows;
        std::vector<std::string> cells(1);
        for (char c : line) {
            if (c == '\t') {
                cells.emplace_back();
            } else {
                cells.back().push_back(c);
            }
        }
        ASSERT_EQ(cells.size(), 16u) << line;
        EXPECT_EQ(cells[2], "n/a");  // no time course: no TR
        if (cells[0] == "run19") {
            EXPECT_EQ(cells[4], "inf");
            EXPECT_EQ(cells[9], "1");
            EXPECT_NE(cells[7].find(";task3=n/a"), std::string::npos) << cells[7];
            EXPECT_EQ(cells[14], "yes");
        }
    }
    EXPECT_EQ(rows, study.runs.size());
    EXPECT_EQ(plot::figureText(1234567.0), "1.23457e+06");
    EXPECT_EQ(plot::figureText(0.000123456789), "0.000123457");
    EXPECT_EQ(plot::jsonString("a\"</script>\n"), "\"a\\\"\\u003c/script>\\n\"");
}

}  // namespace
