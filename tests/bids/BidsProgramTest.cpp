// The BIDS commands of the sdmweaver program as a user runs them: help, failures that write
// nothing, a protocol from events through the whole batch against the design made straight from
// the same events, and a dataset listed for the batch and run.

#include <gtest/gtest.h>

#include <filesystem>

#include "plot/DesignTable.h"
#include "tests/support/DocumentBytes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ProgramResult;
using testsupport::TempDir;
using testsupport::writeFile;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class BidsProgram : public testing::Test {
  protected:
    ProgramResult sdmweaver(const std::vector<std::string>& arguments) {
        return testsupport::runProgram(SDMWEAVER_PROGRAM, arguments, dir_.path());
    }
    bool exists(const std::string& name) const {
        return std::filesystem::exists(dir_.path() / name);
    }

    // The predictors of a design matrix file by name.
    std::map<std::string, std::vector<double>> columns(const std::string& name) const {
        const auto read = plot::readDesignTable(dir_.file(name));
        EXPECT_TRUE(read.table.has_value()) << read.error;
        std::map<std::string, std::vector<double>> result;
        for (std::size_t p = 0; read.table && p < read.table->nrOfPredictors(); ++p) {
            result[read.table->names[p]] = read.table->columns[p];
        }
        return result;
    }

    TempDir dir_;
};

TEST_F(BidsProgram, HelpShowsEveryCommandAndOption) {
    const ProgramResult result = sdmweaver({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* text :
         {"sdmweaver events-to-prt EVENTS.tsv", "--min-duration MS", "--fixation NAME",
          "sdmweaver confounds-to-motion CONFOUNDS.tsv", "sdmweaver design --events EVENTS.tsv",
          "--slice-time-ref F", "--columns PATTERNS", "--derivative", "--tsv OUT.tsv",
          "sdmweaver bids-list BIDS_DIR --task T", "--vtc PATTERN"}) {
        EXPECT_TRUE(contains(result.out, text)) << text;
    }
    const ProgramResult design = sdmweaver({"design", "--help"});
    EXPECT_EQ(design.status, 0);
    EXPECT_TRUE(design.out.starts_with("sdmweaver design --events")) << design.out;
}

TEST_F(BidsProgram, FailuresExitWithTwoNameTheFileAndRowAndWriteNothing) {
    writeFile(dir_.file("events.tsv"), "onset\tduration\ttrial_type\n2\t4\tA\n12\tlong\tA\n");
    writeFile(dir_.file("good.tsv"), "onset\tduration\ttrial_type\n2\t4\tA\n");
    writeFile(dir_.file("confounds.tsv"), "trans_x\n0\n0.1\n");
    writeFile(dir_.file("bold.nii"), "not read");
    writeFile(dir_.file("bold.json"), R"({"RepetitionTime": 2})");
    writeFile(
        dir_.file("huge.tsv"),
        "trans_x\ttrans_y\ttrans_z\trot_x\trot_y\trot_z\n0\t0\t0\t0\t0\t0\n0\t0\t0\t1e308\t0\t0\n");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"events-to-prt", "events.tsv", "-o", "out.prt"},
         "events.tsv: row 2 (line 3), column duration: 'long' is not a number"},
        {{"design", "--events", "good.tsv", "--tr", "2", "--volumes", "10", "--confounds",
          "confounds.tsv", "--columns", "trans_x", "-o", "out.sdm", "--tsv", "out.tsv", "--plot",
          "pictures"},
         "confounds.tsv: 2 rows, but the run has 10 volumes"},
        {{"design", "--events", "good.tsv", "--bold", "absent.nii.gz", "-o", "out.sdm"},
         "cannot open the NIfTI file absent.nii.gz"},
        {{"confounds-to-motion", "confounds.tsv", "-o", "out_3DMC.sdm"},
         "confounds.tsv: line 1 (the header) has neither the motion columns"},
        {{"design", "--events", "good.tsv", "--tr", "2", "-o", "out.sdm"},
         "design: design needs --tr and --volumes, or --bold BOLD.nii[.gz]"},
        // Never a value that is not finite; never one condition twice; one table a run.
        {{"confounds-to-motion", "huge.tsv", "-o", "out_3DMC.sdm"},
         "huge.tsv: line 3 (row 2), column rot_x: the motion value is not a finite number in "
         "degrees: nothing is written"},
        {{"events-to-prt", "good.tsv", "-o", "out.prt", "--fixation", "A"},
         "--fixation A is a trial_type of good.tsv: name the fixation condition otherwise"},
        {{"design", "--events", "good.tsv", "--tr", "2", "--volumes", "2", "--confounds",
          "confounds.tsv", "--confounds", "huge.tsv", "--columns", "trans_x", "-o", "out.sdm"},
         "design: two confound tables for one run, confounds.tsv and huge.tsv: name one"},
        {{"design", "--events", "good.tsv", "--bold", "bold.nii", "-o", "out.sdm", "--tsv",
          "bold.json"},
         "the output bold.json is the input "},
        {{"bids-list", ".", "--task", "t", "--derivatives", ".", "--out", "out.prt", "--vtc",
          "out.vtc.d/run-{run}"},
         "bids-list: --vtc out.vtc.d/run-{run} does not end in .vtc"},
    };
    for (const auto& [arguments, message] : cases) {
        const ProgramResult result = sdmweaver(arguments);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(contains(result.err, "sdmweaver: " + message)) << result.err;
    }
    for (const char* output : {"out.prt", "out.sdm", "out.tsv", "out_3DMC.sdm", "pictures"}) {
        EXPECT_FALSE(exists(output)) << output;
    }
}

// Events with onsets on the millisecond, as a protocol holds them exactly.
const char kEvents[] =
    "onset\tduration\ttrial_type\tgain\n"
    "4.017\t12\tfaces\t1\n20.5\t1.5\thouses\t2\n31.25\t12\tfaces\t3\n50.003\t2\thouses\t1\n"
    "70\t8.75\tfaces\t2\n95.5\t3\thouses\t4\n";

class RoundTrip : public BidsProgram, public testing::WithParamInterface<const char*> {};

TEST_P(RoundTrip, TheBatchOnTheProtocolGivesTheDesignsTaskColumns) {
    const std::string hrf = GetParam();
    writeFile(dir_.file("events.tsv"), kEvents);
    writeFile(dir_.file("anatomy.vmr"), testsupport::volumeDocumentBytes(8, 8, 8));
    testsupport::TimeCourseSpec spec;
    spec.volumes = 64;
    writeFile(dir_.file("run1.vtc"), testsupport::timeCourseBytes(spec));
    writeFile(dir_.file("study.txt"),
              "1\n" + dir_.file("task.prt") + "\n" + dir_.file("run1.vtc") + "\n");

    ASSERT_EQ(
        sdmweaver({"events-to-prt", "events.tsv", "-o", "task.prt", "--fixation", "Rest"}).status,
        0);
    const ProgramResult batch =
        sdmweaver({"--list", "study.txt", "--vmr", "anatomy.vmr", "--skip-first", "--hrf", hrf});
    ASSERT_EQ(batch.status, 0) << batch.err;
    const ProgramResult design =
        sdmweaver({"design", "--events", "events.tsv", "--tr", "2", "--volumes", "64", "--hrf", hrf,
                   "-o", "design.sdm", "--tsv", "design.tsv", "--plot", "pictures"});
    ASSERT_EQ(design.status, 0) << design.err;
    EXPECT_TRUE(contains(design.err, "check: design.sdm: condition number")) << design.err;
    EXPECT_TRUE(exists("pictures/design.sdm.svg"));
    EXPECT_TRUE(
        testsupport::readText(dir_.file("design.tsv")).starts_with("faces\thouses\tConstant\n"));

    const auto host = columns("run1_task.sdm");
    const auto direct = columns("design.sdm");
    EXPECT_EQ(host.size(), 3U);  // faces, houses, Constant
    for (const char* condition : {"faces", "houses"}) {
        ASSERT_EQ(host.count(condition), 1U) << condition;
        ASSERT_EQ(host.at(condition).size(), 64U);
        for (std::size_t k = 0; k < 64; ++k) {
            EXPECT_NEAR(host.at(condition)[k], direct.at(condition)[k], 1e-6)
                << condition << ", volume " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ResponseFunctions, RoundTrip, testing::Values("two-gamma", "boynton"),
                         [](const testing::TestParamInfo<const char*>& param) {
                             return std::string(param.param) == "two-gamma" ? "TwoGamma"
                                                                            : "Boynton";
                         });

TEST_F(BidsProgram, ADatasetListedForTheBatchRunsThroughIt) {
    namespace fs = std::filesystem;
    const fs::path raw = dir_.path() / "raw";
    const fs::path derived = raw / "derivatives" / "fmriprep";
    fs::create_directories(raw);
    writeFile((raw / "dataset_description.json").string(), R"({"Name": "t"})");
    writeFile((raw / "task-faces_events.tsv").string(), kEvents);  // inherited by every run
    std::string confounds = "trans_x\ttrans_y\ttrans_z\trot_x\trot_y\trot_z\tcsf\n";
    for (int k = 0; k < 40; ++k) {
        confounds += std::to_string(0.01 * k) + "\t0\t0\t0.001\t0\t0\t1\n";
    }
    for (const char* run : {"1", "2"}) {
        fs::create_directories(derived / "sub-01" / "func");
        writeFile((derived / "sub-01" / "func" /
                   ("sub-01_task-faces_run-" + std::string(run) + "_desc-confounds_timeseries.tsv"))
                      .string(),
                  confounds);
    }
    // Two confound tables for one run: which one holds is not known, so the run is skipped.
    const fs::path two = derived / "sub-01" / "func" / "sub-01_task-faces_run-3_desc-confounds_";
    for (const char* suffix : {"timeseries.tsv", "regressors.tsv"}) {
        writeFile(two.string() + suffix, confounds);
    }
    fs::create_directories(raw / "sub-02" / "func");  // no confounds: skipped
    writeFile((raw / "sub-02" / "func" / "sub-02_task-faces_run-1_bold.nii").string(), "");

    const ProgramResult list =
        sdmweaver({"bids-list", "raw", "--task", "faces", "--derivatives", derived.string(),
                   "--out", "batch", "--vtc", dir_.file("batch/sub-{sub}_run-{run}.vtc"), "--dummy",
                   "2", "--fixation", "Rest"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_TRUE(contains(list.err, "sdmweaver: skipped sub-02_task-faces_run-1: no confound table"))
        << list.err;
    EXPECT_TRUE(contains(list.err,
                         "sdmweaver: skipped sub-01_task-faces_run-3: two confound "
                         "tables, " +
                             two.generic_string() + "regressors.tsv and " + two.generic_string() +
                             "timeseries.tsv: keep one"))
        << list.err;
    EXPECT_FALSE(contains(list.err, "warning")) << list.err;
    const std::string listed = testsupport::readText(dir_.file("batch/task-faces_list.txt"));
    const std::string batch = (fs::absolute(dir_.path() / "batch")).generic_string() + "/";
    EXPECT_EQ(listed, "2\n" + batch + "sub-01_task-faces_run-1.prt\n" + batch +
                          "sub-01_run-1.vtc\n" + batch + "sub-01_task-faces_run-1_3DMC.sdm\n" +
                          batch + "sub-01_task-faces_run-2.prt\n" + batch + "sub-01_run-2.vtc\n" +
                          batch + "sub-01_task-faces_run-2_3DMC.sdm\n");

    // The workstation makes the time courses from the 38 volumes kept, beside the protocols; here
    // they are written.
    writeFile(dir_.file("anatomy.vmr"), testsupport::volumeDocumentBytes(8, 8, 8));
    testsupport::TimeCourseSpec spec;
    spec.volumes = 38;
    for (const char* run : {"1", "2"}) {
        writeFile(dir_.file("batch/sub-01_run-" + std::string(run) + ".vtc"),
                  testsupport::timeCourseBytes(spec));
    }
    const ProgramResult run =
        sdmweaver({"--list", "batch/task-faces_list.txt", "--vmr", "anatomy.vmr", "--skip-first"});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto merged = columns("batch/sub-01_run-2_sub-01_task-faces_run-2_3DMC.sdm");
    ASSERT_EQ(merged.count("Translation ZM-X [mm]"), 1U);
    EXPECT_DOUBLE_EQ(merged.at("Translation ZM-X [mm]")[1], 0.03);
    EXPECT_EQ(merged.count("faces"), 1U);
}

}  // namespace
