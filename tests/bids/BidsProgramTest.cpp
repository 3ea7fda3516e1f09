// The BIDS commands of the sdmweaver program as a user runs them: failures that write nothing, a
// protocol from events through the whole batch against the design made straight from the same
// events, and a dataset listed for the batch and run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "formats/DesignTable.h"
#include "tests/bids/BidsFixtures.h"
#include "tests/support/BidsTables.h"
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
        const auto read = formats::readDesignTable(dir_.file(name));
        EXPECT_TRUE(read.table.has_value()) << read.error;
        std::map<std::string, std::vector<double>> result;
        for (std::size_t p = 0; read.table && p < read.table->nrOfPredictors(); ++p) {
            result[read.table->names[p]] = read.table->columns[p];
        }
        return result;
    }

    TempDir dir_;
};

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
        {{"events-to-prt", "good.tsv", "-o", "out.prt", "--min-duration", "4294967396"},
         "events-to-prt: --min-duration 4294967396 is longer than a day"},
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

// How the batch route and design get their timing.
struct RouteCase {
    const char* name;
    const char* hrf;
    std::vector<std::string> timing;  // for events-to-prt and design alike
    std::size_t dummies;
    std::string summary;  // design's timing line
};

void PrintTo(const RouteCase& value, std::ostream* out) {
    *out << value.name;
}

class RoundTrip : public BidsProgram, public testing::WithParamInterface<RouteCase> {};

// The batch samples the protocol at k x TR; design samples the events at (k + N + F) x TR. With
// the events moved by -(N + F) x TR the two agree beyond the saved file's six decimals.
TEST_P(RoundTrip, TheBatchOnTheProtocolGivesTheDesignsTaskColumns) {
    const RouteCase& route = GetParam();
    writeFile(dir_.file("events.tsv"), kEvents);
    writeFile(dir_.file("anatomy.vmr"), testsupport::volumeDocumentBytes(8, 8, 8));
    writeFile(dir_.file("sub-01_task-faces_bold.nii"), testsupport::niftiHeaderBytes(64, 2.0));
    writeFile(dir_.file("sub-01_task-faces_bold.json"), R"({"RepetitionTime": 2, "StartTime": 1})");
    testsupport::TimeCourseSpec spec;
    spec.volumes = static_cast<std::int16_t>(64 - route.dummies);
    writeFile(dir_.file("run1.vtc"), testsupport::timeCourseBytes(spec));
    writeFile(dir_.file("study.txt"),
              "1\n" + dir_.file("task.prt") + "\n" + dir_.file("run1.vtc") + "\n");

    std::vector<std::string> toProtocol = {"events-to-prt", "events.tsv", "-o",
                                           "task.prt",      "--fixation", "Rest"};
    toProtocol.insert(toProtocol.end(), route.timing.begin(), route.timing.end());
    const ProgramResult protocol = sdmweaver(toProtocol);
    ASSERT_EQ(protocol.status, 0) << protocol.err;
    // The first event, 4.017 s to 16.017 s, moves before 0 with 3 or 4 dummies.
    EXPECT_EQ(contains(protocol.err,
                       "events.tsv: 1 interval(s) start before the first volume kept "
                       "and keep their negative start; the host integrates them"),
              route.dummies > 0)
        << protocol.err;
    const ProgramResult batch = sdmweaver(
        {"--list", "study.txt", "--vmr", "anatomy.vmr", "--skip-first", "--hrf", route.hrf});
    ASSERT_EQ(batch.status, 0) << batch.err;
    std::vector<std::string> direct = {"design",     "--events", "events.tsv", "--hrf",
                                       route.hrf,    "-o",       "design.sdm", "--tsv",
                                       "design.tsv", "--plot",   "pictures"};
    direct.insert(direct.end(), route.timing.begin(), route.timing.end());
    if (std::find(route.timing.begin(), route.timing.end(), "--bold") == route.timing.end()) {
        direct.insert(direct.end(), {"--volumes", "64"});
    }
    const ProgramResult design = sdmweaver(direct);
    ASSERT_EQ(design.status, 0) << design.err;
    EXPECT_TRUE(design.err.starts_with(route.summary)) << design.err;
    EXPECT_TRUE(contains(design.err, "check: design.sdm: condition number")) << design.err;
    EXPECT_TRUE(exists("pictures/design.sdm.svg"));
    EXPECT_TRUE(
        testsupport::readText(dir_.file("design.tsv")).starts_with("faces\thouses\tConstant\n"));

    const auto host = columns("run1_task.sdm");
    const auto ours = columns("design.sdm");
    EXPECT_EQ(host.size(), 3U);  // faces, houses, Constant
    for (const char* condition : {"faces", "houses"}) {
        ASSERT_EQ(host.count(condition), 1U) << condition;
        ASSERT_EQ(host.at(condition).size(), 64 - route.dummies);
        const std::vector<double>& values = ours.at(condition);
        const double peak = *std::max_element(values.begin(), values.end());
        double largest = 0.0;
        for (std::size_t k = 0; k < values.size(); ++k) {
            largest = std::max(largest, std::fabs(host.at(condition)[k] - values[k]));
        }
        // The host's file holds six decimals: 5e-7 of rounding, then 1e-6 of the peak.
        EXPECT_LE(largest, 5e-7 + 1e-6 * peak) << condition;
        std::printf("%s %s: largest difference %.3g, %.3g of the peak beyond the rounding\n",
                    route.name, condition, largest, std::max(0.0, largest - 5e-7) / peak);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Timings, RoundTrip,
    testing::Values(
        RouteCase{"TwoGamma",
                  "two-gamma",
                  {"--tr", "2"},
                  0,
                  "design: 64 volumes (64 from --volumes), TR 2 s (--tr), slice-time reference 0 "
                  "(default), 0 dummies (default)"},
        RouteCase{"TwoGammaDummiesAndSliceReference",
                  "two-gamma",
                  {"--tr", "2", "--dummy", "3", "--slice-time-ref", "0.5"},
                  3,
                  "design: 61 volumes (64 from --volumes less 3 dummies), TR 2 s (--tr), "
                  "slice-time reference 0.5 (--slice-time-ref), 3 dummies (--dummy)"},
        RouteCase{"BoyntonStartTimeFromTheSidecar",
                  "boynton",
                  {"--bold", "sub-01_task-faces_bold.nii", "--dummy", "4"},
                  4,
                  "design: 60 volumes (64 in sub-01_task-faces_bold.nii less 4 dummies), TR 2 s "
                  "(sub-01_task-faces_bold.json), slice-time reference 0.5 (StartTime 1 s in "
                  "sub-01_task-faces_bold.json), 4 dummies (--dummy)"}),
    [](const testing::TestParamInfo<RouteCase>& param) { return param.param.name; });

TEST_F(BidsProgram, TimingThatCannotBeTrustedIsRefusedNamingItsSourceAndWritesNothing) {
    writeFile(dir_.file("events.tsv"), kEvents);
    writeFile(dir_.file("sub-01_task-a_bold.nii"), testsupport::niftiHeaderBytes(64, 2.5));
    writeFile(dir_.file("sub-01_task-a_bold.json"), R"({"RepetitionTime": 2500})");
    writeFile(dir_.file("sub-01_task-b_bold.nii"), testsupport::niftiHeaderBytes(64, 2500));
    writeFile(dir_.file("sub-01_task-c_bold.nii"), testsupport::niftiHeaderBytes(64, 2.0));
    writeFile(dir_.file("sub-01_task-c_bold.json"), R"({"RepetitionTime": 2, "StartTime": 3})");
    const std::string sidecar =
        "sub-01_task-a_bold.json gives RepetitionTime 2500 s, the NIfTI "
        "header of sub-01_task-a_bold.nii (pixdim[4]) 2.5 s: a factor "
        "near 1000; the sidecar's is likely in milliseconds";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"design", "--events", "events.tsv", "--bold", "sub-01_task-a_bold.nii"}, sidecar},
        {{"events-to-prt", "events.tsv", "--bold", "sub-01_task-a_bold.nii"}, sidecar},
        {{"design", "--events", "events.tsv", "--tr", "2000", "--volumes", "64"},
         "--tr 2000 gives a repetition time of 2000 s, outside the plausible 0.1 to 30 s; it "
         "looks like milliseconds (2 s)"},
        {{"events-to-prt", "events.tsv", "--tr", "2000", "--dummy", "2"},
         "--tr 2000 gives a repetition time of 2000 s"},
        {{"design", "--events", "events.tsv", "--tr", "0.05", "--volumes", "64"},
         "--tr 0.05 gives a repetition time of 0.05 s, outside the plausible 0.1 to 30 s;"},
        {{"design", "--events", "events.tsv", "--bold", "sub-01_task-b_bold.nii"},
         "the NIfTI header of sub-01_task-b_bold.nii (pixdim[4]) gives a repetition time of 2500 "
         "s, outside the plausible 0.1 to 30 s; it looks like milliseconds (2.5 s)"},
        {{"design", "--events", "events.tsv", "--bold", "sub-01_task-c_bold.nii"},
         "sub-01_task-c_bold.json gives StartTime 3 s, beyond the repetition time of 2 s"},
        {{"events-to-prt", "events.tsv", "--dummy", "1"},
         "events-to-prt: --dummy moves the events by a number of volumes: give the TR with --tr "
         "S or --bold BOLD.nii[.gz]"},
        {{"events-to-prt", "events.tsv", "--slice-time-ref", "0.5"},
         "events-to-prt: --slice-time-ref moves the events by a number of volumes"},
    };
    for (auto [arguments, message] : cases) {
        arguments.insert(arguments.end(), {"-o", arguments[0] == "design" ? "out.sdm" : "out.prt"});
        const ProgramResult result = sdmweaver(arguments);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_TRUE(contains(result.err, message)) << result.err;
    }
    EXPECT_FALSE(exists("out.sdm"));
    EXPECT_FALSE(exists("out.prt"));
}

TEST_F(BidsProgram, ABomAndCrLfCopyOfARealEventsFileGivesTheSameProtocolAndDesign) {
    SKIP_WITHOUT_BIDS_FIXTURES();
    const std::string name = "sub-01_task-balloonanalogrisktask_run-01_events.tsv";
    const std::string original = testsupport::readFile(bidstest::fixture("ds000001/" + name));
    std::string saved = "\xEF\xBB\xBF";
    for (const char c : original) {
        saved += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    std::filesystem::create_directories(dir_.path() / "plain");
    std::filesystem::create_directories(dir_.path() / "saved");
    writeFile(dir_.file("plain/" + name), original);
    writeFile(dir_.file("saved/" + name), saved);
    for (const char* folder : {"plain", "saved"}) {
        const std::string events = std::string(folder) + "/" + name;
        const ProgramResult protocol =
            sdmweaver({"events-to-prt", events, "-o", std::string(folder) + ".prt",
                       "--min-duration", "100", "--modulation", "pumps_demean"});
        ASSERT_EQ(protocol.status, 0) << protocol.err;
        const ProgramResult design =
            sdmweaver({"design", "--events", events, "--tr", "2", "--volumes", "300",
                       "--modulation", "pumps_demean", "-o", std::string(folder) + ".sdm"});
        ASSERT_EQ(design.status, 0) << design.err;
        EXPECT_EQ(contains(design.err, "sdmweaver: " + events +
                                           ": read past a UTF-8 byte-order mark and with CR LF "
                                           "line ends\n"),
                  std::string(folder) == "saved")
            << design.err;
    }
    EXPECT_EQ(testsupport::readFile(dir_.file("plain.prt")),
              testsupport::readFile(dir_.file("saved.prt")));
    EXPECT_EQ(testsupport::readFile(dir_.file("plain.sdm")),
              testsupport::readFile(dir_.file("saved.sdm")));
}

TEST_F(BidsProgram, ADatasetListedForTheBatchRunsThroughIt) {
    namespace fs = std::filesystem;
    const fs::path raw = dir_.path() / "raw";
    const fs::path derived = raw / "derivatives" / "fmriprep";
    fs::create_directories(raw);
    writeFile((raw / "dataset_description.json").string(), R"({"Name": "t"})");
    writeFile((raw / "task-faces_events.tsv").string(), kEvents);  // inherited by every run
    writeFile((raw / "task-faces_bold.json").string(), R"({"RepetitionTime": 2})");
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
    // The last event, at 95.5 s, lies past the 40 volumes of 2 s.
    EXPECT_TRUE(contains(list.err,
                         "task-faces_events.tsv: 1 event(s) start at or after the run's "
                         "end (40 volumes x 2 s = 80 s); the first at row 6 (line 7)"))
        << list.err;
    EXPECT_TRUE(contains(list.err,
                         "sdmweaver: skipped sub-01_task-faces_run-3: two confound "
                         "tables, " +
                             two.generic_string() + "regressors.tsv and " + two.generic_string() +
                             "timeseries.tsv: keep one"))
        << list.err;
    EXPECT_FALSE(contains(list.err, "warning: the time course")) << list.err;
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

// Two runs with a bad file, one without a TR to move its events, one with a Windows-saved events
// file, and runs whose events name the conditions in other orders; the TR from the raw sidecar,
// StartTime from fMRIPrep's.
TEST_F(BidsProgram, BidsListNamesEveryBadFileWritesTheGoodRunsAndEndsWithThree) {
    namespace fs = std::filesystem;
    const fs::path raw = dir_.path() / "raw";
    const fs::path func = raw / "sub-01" / "func";
    const fs::path derived = dir_.path() / "fmriprep" / "sub-01" / "func";
    fs::create_directories(func);
    fs::create_directories(derived);
    writeFile((raw / "dataset_description.json").string(), R"({"Name": "t"})");
    writeFile((raw / "sub-01" / "sub-01_task-faces_bold.json").string(),
              R"({"RepetitionTime": 2.5})");
    fs::create_directories(raw / "sub-02" / "func");
    writeFile((raw / "sub-02" / "func" / "sub-02_task-faces_events.tsv").string(), kEvents);
    writeFile(dir_.file("fmriprep/sub-02_task-faces_desc-confounds_timeseries.tsv"),
              testsupport::fmriprepConfounds({.volumes = 40}));
    const auto run = [](int r, const std::string& suffix) {
        return "sub-01_task-faces_run-" + std::to_string(r) + suffix;
    };
    const std::string header = "onset\tduration\ttrial_type\n";
    const std::string events[] = {
        header + "10\t5\thouses\n30\t5\tfaces\n",
        header + "10\t5\tfaces\n30\tlong\tfaces\n",  // row 2: not a number
        header + "10\t5\tfaces\n30\t5\tchairs\n",
        "\xEF\xBB\xBFonset\tduration\ttrial_type\r\n12.5\t5\tchairs\r\n",
    };
    for (int r = 1; r <= 4; ++r) {
        writeFile((func / run(r, "_events.tsv")).string(), events[r - 1]);
        std::string table = testsupport::fmriprepConfounds({.volumes = 40});
        if (r == 3) {  // the last row's trans_z is not a number
            table = "trans_x\ttrans_y\ttrans_z\trot_x\trot_y\trot_z\n";
            for (int k = 0; k < 40; ++k) {
                table += k < 39 ? "0\t0\t0.1\t0\t0\t0\n" : "0\t0\tx\t0\t0\t0\n";
            }
        }
        writeFile((derived / run(r, "_desc-confounds_timeseries.tsv")).string(), table);
        writeFile((derived / run(r, "_space-MNI152NLin2009cAsym_desc-preproc_bold.json")).string(),
                  R"({"RepetitionTime": 2.5, "StartTime": 1.25})");
    }
    writeFile((func / run(1, "_bold.nii")).string(), "");  // not fetched: the sidecars serve
    const ProgramResult list =
        sdmweaver({"bids-list", "raw", "--task", "faces", "--derivatives", "fmriprep", "--out",
                   "batch", "--vtc", dir_.file("batch/{run}.vtc"), "--dummy", "2"});
    EXPECT_EQ(list.status, 3) << list.err;
    EXPECT_TRUE(contains(list.err, "sdmweaver: error: skipped " + run(2, "") +
                                       ": raw/sub-01/func/" + run(2, "_events.tsv") +
                                       ": row 2 (line 3), column duration: 'long' is not a number"))
        << list.err;
    EXPECT_TRUE(contains(list.err, "sdmweaver: error: skipped " + run(3, "") +
                                       ": fmriprep/sub-01/func/" +
                                       run(3, "_desc-confounds_timeseries.tsv") +
                                       ": row 40 (line 41), column trans_z: 'x' is not a number"))
        << list.err;
    EXPECT_TRUE(contains(list.err, "raw/sub-01/func/" + run(4, "_events.tsv") +
                                       ": read past a UTF-8 byte-order mark and with CR LF line "
                                       "ends"))
        << list.err;
    EXPECT_TRUE(contains(list.err, "2 run(s) listed in")) << list.err;
    EXPECT_TRUE(contains(list.err,
                         "sdmweaver: error: skipped sub-02_task-faces: no repetition "
                         "time for sub-02_task-faces: no BOLD file or sidecar gives one, "
                         "and --dummy or the slice-time reference moves its events"))
        << list.err;
    EXPECT_TRUE(contains(list.err, "; the timing of " + run(1, "") + " comes from its sidecars"))
        << list.err;
    EXPECT_TRUE(contains(list.err, "3 skipped (3 for a file that cannot be used)")) << list.err;
    EXPECT_FALSE(exists("batch/" + run(2, ".prt")));
    EXPECT_FALSE(exists("batch/" + run(3, "_3DMC.sdm")));
    // One order for the task: houses, faces (run 1), chairs (run 3, read though left out). Every
    // event moves by (2 dummies + 1.25 s / 2.5 s) x 2.5 s = 6.25 s.
    const std::string first = testsupport::readText(dir_.file("batch/" + run(1, ".prt")));
    const std::string fourth = testsupport::readText(dir_.file("batch/" + run(4, ".prt")));
    for (const std::string& protocol : {first, fourth}) {
        EXPECT_LT(protocol.find("\nhouses\n"), protocol.find("\nfaces\n")) << protocol;
        EXPECT_LT(protocol.find("\nfaces\n"), protocol.find("\nchairs\n")) << protocol;
    }
    EXPECT_TRUE(contains(fourth, "\nfaces\n0\n")) << fourth;  // empty in run 4
    EXPECT_TRUE(contains(first, "\n    3750     8750\n")) << first;
    EXPECT_TRUE(contains(fourth, "\n    6250    11250\n")) << fourth;
}

TEST_F(BidsProgram, ConfoundStrategiesFromTheCommandLine) {
    writeFile(dir_.file("events.tsv"),
              "onset\tduration\ttrial_type\tgain\n4\t10\tA\t1\n40\t10\tA\tn/a\n");
    writeFile(dir_.file("confounds.tsv"),
              testsupport::fmriprepConfounds({.volumes = 60, .motionJumps = {30}}));
    const auto design = [&](std::vector<std::string> more) {
        more.insert(more.begin(), {"design", "--events", "events.tsv", "--tr", "2", "--volumes",
                                   "60", "--confounds", "confounds.tsv", "-o", "out.sdm"});
        return sdmweaver(more);
    };
    // The preset with --wm-csf over it: A, 24 motion, 2 wm-csf, 3 cosines, the spike at volume
    // 30, the constant.
    const ProgramResult scrubbing = design({"--strategy", "scrubbing", "--wm-csf", "basic",
                                            "--modulation", "gain", "--modulation-na", "mean"});
    ASSERT_EQ(scrubbing.status, 0) << scrubbing.err;
    const auto picked = columns("out.sdm");
    EXPECT_EQ(picked.size(), 1U + 24 + 2 + 3 + 1 + 1);
    EXPECT_EQ(picked.count("csf"), 1U);
    EXPECT_EQ(picked.at("motion_outlier_00")[30], 1.0);
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--n-compcor", "3", "--motion", "basic"}, "--n-compcor needs --compcor"},
        {{"--strategy", "aroma"}, "--strategy takes simple, scrubbing or compcor, not 'aroma'"},
        {{"--hrf", "gamma"}, "--hrf takes two-gamma or boynton, not 'gamma'"},
        {{"--compcor", "temporal", "--n-compcor", "0"},
         "--n-compcor takes a whole number from 1, not '0' (or all)"},
        {{"--fd-threshold", "0.3", "--motion", "all"},
         "--motion takes basic, power2, derivatives or full, not 'all'"},
        {{}, "--confounds needs --columns PATTERNS or a strategy"},
        {{"--modulation", "gain", "--high-pass"}, "(give --modulation-na mean"},
    };
    for (const auto& [more, message] : refused) {
        const ProgramResult result = design(more);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_TRUE(contains(result.err, message)) << result.err;
    }
}

}  // namespace
