// The run report's bookkeeping, in-process: the host's steps taken as their pair's, every pair the
// list declares or holds accounted for, design matrices a later pair replaced, the protocol the
// host really used, the warnings, and the plan of the run as the plug-in reads the list.

#include <gtest/gtest.h>

#include <filesystem>

#include "designmatrix/ConfoundKinds.h"
#include "headless/program/RunReport.h"
#include "tests/support/DesignFiles.h"
#include "tests/support/TestSupport.h"

namespace {

using headless::BaseOutcome;
using headless::MergedOutcome;
using headless::PairOutcome;
using headless::RunReport;
using Paths = std::vector<std::string>;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A list in a fresh folder ("{d}" stands for it), and a report that follows a run over it.
class Report : public testing::Test {
  protected:
    std::string d(const std::string& name) const { return dir_.file(name); }
    std::string inFolder(std::string text) const {
        for (std::size_t at = text.find("{d}"); at != std::string::npos; at = text.find("{d}")) {
            text.replace(at, 3, dir_.path().generic_string());
        }
        return text;
    }
    RunReport& start(const std::string& list, headless::ReportOptions options = {}) {
        testsupport::writeFile(d("list.txt"), inFolder(list));
        report_.emplace(headless::readListRun(d("list.txt"), false), options);
        report_->fileChosen(d("list.txt"));
        return *report_;
    }
    void link(const std::string& name, float repetitionTimeMs = 2000.0f) {
        formats::TimeCourseHeader header;
        header.nrOfVolumes = 4;
        header.repetitionTimeMs = repetitionTimeMs;
        report_->linked(d(name), header);
    }
    // The host saves the design matrix `name`, whose predictor "Task" holds `task`.
    void save(const std::string& name, float task = 1.0f) {
        headless::DesignMatrix matrix;
        matrix.reset(4, 2000.0);
        matrix.addPredictor("Task");
        matrix.values(0)[2] = task;
        testsupport::writeFile(d(name), "saved");
        report_->saved(d(name), matrix);
    }
    // A whole design matrix of `rows` rows at `name`, as the plug-in writes it.
    void writeDesign(const std::string& name, std::size_t rows) const {
        testsupport::DesignColumns design{
            {"Task", "HR", "Constant"},
            {},
            {std::vector<double>(rows, 0.5), std::vector<double>(rows, 0.1),
             std::vector<double>(rows, 1.0)}};
        testsupport::writeFile(d(name), testsupport::sdmText(design, 1, 2));
    }
    std::vector<PairOutcome> outcomes() {
        report_->runEnded();
        std::vector<PairOutcome> all;
        report_->evaluate([&](const PairOutcome& outcome) { all.push_back(outcome); });
        return all;
    }

    testsupport::TempDir dir_;
    std::optional<RunReport> report_;
};

TEST_F(Report, AccountsForEveryPairInListOrderFromWhatTheRunLeft) {
    writeDesign("run3_task_HR.sdm", 4);  // from an earlier run: not this run's
    start(
        "4\n{d}/task.prt {d}/run1.vtc {d}/run1_HR.rtc\n{d}/task.prt {d}/run2.vtc {d}/run2_HR.rtc\n"
        "{d}/rest.prt\n{d}/task.prt {d}/run3.vtc {d}/run3_HR.rtc\n");
    link("run1.vtc");
    save("run1_task.sdm");
    writeDesign("run1_task_HR.sdm", 4);
    link("run2.vtc");
    save("run2_task.sdm");
    testsupport::writeFile(d("run2_task_HR.sdm"),
                           "FileVersion: 1\n\nNrOfPredictors: 3\nNrOfDataPoints: 4\n");
    link("run3.vtc");
    save("run3_task.sdm");

    const std::vector<PairOutcome> pairs = outcomes();
    ASSERT_EQ(pairs.size(), 4U);
    EXPECT_TRUE(pairs[0].ok) << pairs[0].reason;
    EXPECT_EQ(pairs[0].mergedOutcome, MergedOutcome::Complete);
    EXPECT_EQ(pairs[0].merged, d("run1_task_HR.sdm"));
    EXPECT_EQ(pairs[1].entry, 4U);
    EXPECT_EQ(pairs[1].mergedOutcome, MergedOutcome::Incomplete);
    // The pair's own files tell why: its heart-rate file is missing.
    EXPECT_TRUE(contains(pairs[1].reason, "the file does not exist")) << pairs[1].reason;
    EXPECT_TRUE(contains(pairs[2].reason, "no time course follows the protocol"));
    EXPECT_EQ(pairs[3].mergedOutcome, MergedOutcome::NotWritten) << pairs[3].reason;
    EXPECT_EQ(report_->produced(),
              (Paths{d("run1_task.sdm"), d("run1_task_HR.sdm"), d("run2_task.sdm"),
                     d("run2_task_HR.sdm"), d("run3_task.sdm")}));
}

TEST_F(Report, ThePairsAListDeclaresButDoesNotHoldFailOneRowEach) {
    start("3\n{d}/task.prt {d}/run1.vtc\n{d}/task.prt {d}/run2.vtc\n");
    link("run1.vtc");
    save("run1_task.sdm");
    link("run2.vtc");
    save("run2_task.sdm");
    std::vector<PairOutcome> pairs = outcomes();
    ASSERT_EQ(pairs.size(), 3U);
    EXPECT_TRUE(pairs[1].ok);
    EXPECT_FALSE(pairs[2].ok);
    EXPECT_EQ(pairs[2].pairCount, 3U);
    EXPECT_EQ(pairs[2].reason, "the list declares 3 pairs and holds 2");
    // No pair at all, a comment for a head, a list that is no text: one row of the count read.
    for (const std::string& list : {std::string("# run one\n{d}/task.prt {d}/run1.vtc\n"),
                                    std::string("2\n{d}/run1.vtc\n"), std::string("1\0\n", 3)}) {
        start(list);
        pairs = outcomes();
        const std::string declared = list.starts_with("2") ? "2" : "0";
        ASSERT_EQ(pairs.size(), list.starts_with("2") ? 2U : 1U) << list;
        EXPECT_EQ(pairs[0].reason, "the list declares " + declared + " pairs and holds 0");
    }
    // More pairs than declared end as they always did.
    start("1\n{d}/task.prt {d}/run1.vtc\n{d}/task.prt {d}/run2.vtc\n");
    link("run1.vtc");
    save("run1_task.sdm");
    link("run2.vtc");
    save("run2_task.sdm");
    pairs = outcomes();
    ASSERT_EQ(pairs.size(), 2U);
    EXPECT_TRUE(pairs[0].ok && pairs[1].ok);
}

TEST_F(Report, APairWhoseDesignMatrixALaterPairReplacesFails) {
    // The same time course twice: pair 2 saves pair 1's design matrix again.
    start("2\n{d}/task.prt {d}/run1.vtc\n{d}/task.prt {d}/run1.vtc\n");
    link("run1.vtc");
    save("run1_task.sdm");
    link("run1.vtc");
    save("run1_task.sdm");
    std::vector<PairOutcome> pairs = outcomes();
    ASSERT_EQ(pairs.size(), 2U);
    EXPECT_EQ(pairs[0].reason,
              "its design matrix " + d("run1_task.sdm") + " was replaced by pair 2");
    EXPECT_TRUE(pairs[1].ok) << pairs[1].reason;
    // A protocol named task_3DMC.prt: its design matrix is the merged one of the pair before.
    start("2\n{d}/task.prt {d}/run1.vtc {d}/run1_3DMC.sdm\n{d}/task_3DMC.prt {d}/run1.vtc\n");
    link("run1.vtc");
    save("run1_task.sdm");
    writeDesign("run1_task_3DMC.sdm", 4);
    link("run1.vtc");
    save("run1_task_3DMC.sdm");
    pairs = outcomes();
    EXPECT_EQ(pairs[0].reason,
              "its design matrix " + d("run1_task_3DMC.sdm") + " was replaced by pair 2");
    EXPECT_EQ(pairs[0].mergedOutcome, MergedOutcome::Replaced);
}

TEST_F(Report, AProtocolOtherThanTheListedOneFailsItsPair) {
    for (const char* folder : {"a", "b", "c"}) {
        std::filesystem::create_directories(d(folder));
    }
    testsupport::writeFile(d("a/task.prt"), "one");
    testsupport::writeFile(d("b/task.prt"), "one");
    testsupport::writeFile(d("c/task.prt"), "two");
    const formats::Protocol protocol;
    const auto runWith = [&](const std::string& listed, const std::string& used) {
        start("1\n" + listed + " {d}/run1.vtc\n");
        link("run1.vtc");
        report_->protocolLoaded(d(used), "beside the time course", protocol);
        save("run1_task.sdm");
        return outcomes().front();
    };
    EXPECT_TRUE(runWith("{d}/a/task.prt", "a/task.prt").ok);
    EXPECT_TRUE(runWith("{d}/a/task.prt", "b/task.prt").ok) << "the same bytes";
    EXPECT_EQ(
        runWith("{d}/a/task.prt", "c/task.prt").reason,
        "the host used " + d("c/task.prt") + ", not " + d("a/task.prt") + " that the list names");
    EXPECT_FALSE(runWith("{d}/absent/task.prt", "a/task.prt").ok);
}

TEST_F(Report, WarningsAndTheSkippedConditionReachThePairAndStrictFailsIt) {
    formats::Protocol protocol;
    protocol.conditions.push_back({"Fixation", {1, 2}, {1, 3}, {}, 0});
    protocol.conditions.push_back({"Task", {3}, {30}, {}, 0});
    for (const bool strict : {false, true}) {
        start("1\n{d}/task.prt {d}/run1.vtc\n", {"", true, strict});
        link("run1.vtc", 1.5f);
        save("run1_task.sdm", 0.0f);
        const PairOutcome pair = outcomes().front();
        EXPECT_EQ(pair.ok, !strict) << pair.reason;
        ASSERT_EQ(pair.warnings.size(), 2U);
        EXPECT_TRUE(contains(pair.warnings[0], "TR of 1.5 ms lies outside")) << pair.warnings[0];
        EXPECT_EQ(pair.warnings[1], "the saved predictor \"Task\" is zero throughout");
        EXPECT_EQ(report_->evaluate([](const PairOutcome&) {}).withWarnings, 1U);
    }
    start("1\n{d}/task.prt {d}/run1.vtc\n", {"", true, false});
    link("run1.vtc");
    report_->protocolLoaded(d("task.prt"), "beside the time course", protocol);
    save("run1_task.sdm");
    const PairOutcome pair = outcomes().front();
    EXPECT_TRUE(pair.ok);
    EXPECT_EQ(pair.notes, Paths{"--skip-first skipped condition \"Fixation\" (2 intervals)"});
    ASSERT_EQ(pair.warnings.size(), 1U);
    EXPECT_TRUE(contains(pair.warnings[0], "1 of 3 intervals end after the run's last volume"));
}

TEST(RunPlan, PairsEntriesThatTakeNoPartAndHowTheListEnded) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("list.txt"),
                           "2 notes.txt a_3DMC.sdm\ntask.prt run1.vtc x_3DMC.sdm run1_3dmc.sdm "
                           "run1_3DMC.sdm run9.vtc\nrest.prt a_HR.rtc\n\"my task.prt\" run2.vtc "
                           "\"New filename: /etc/passwd\" x y.sdm");
    const headless::ListRun run = headless::readListRun(dir.file("list.txt"), true);
    const batch::RunPlan& plan = run.plan;
    ASSERT_FALSE(run.unreadable);
    EXPECT_EQ(plan.list.declaredCount, 2);
    EXPECT_EQ(plan.list.end, batch::ListEnd::ShortWord);
    EXPECT_EQ(plan.list.endedBy, "x");
    ASSERT_EQ(plan.pairs.size(), 3U);
    EXPECT_EQ(plan.pairs[0].timeCourse, 3U);
    EXPECT_EQ(plan.pairs[0].chosen[0], 6U) << "the last of a kind";
    EXPECT_EQ(plan.pairs[0].confoundEntries, (std::vector<std::size_t>{4, 6}));
    EXPECT_EQ(plan.pairs[0].base, "run1_task.sdm");
    EXPECT_EQ(plan.pairs[0].merged, "run1_task_3DMC_z.sdm");
    EXPECT_FALSE(plan.pairs[1].timeCourse);
    EXPECT_EQ(plan.list.entries[plan.pairs[2].protocol], "my task.prt");
    using batch::IdleReason;
    std::vector<std::pair<std::size_t, IdleReason>> idle;
    for (const auto& entry : plan.idle) {
        idle.emplace_back(entry.entry, entry.reason);
    }
    EXPECT_EQ(idle,
              (std::vector<std::pair<std::size_t, IdleReason>>{{0, IdleReason::BeforeFirstProtocol},
                                                               {1, IdleReason::BeforeFirstProtocol},
                                                               {4, IdleReason::PassedOver},
                                                               {5, IdleReason::NotRecognised},
                                                               {7, IdleReason::ExtraTimeCourse},
                                                               {9, IdleReason::NoTimeCourse},
                                                               {12, IdleReason::NotRecognised}}));
}

TEST(MergedName, OneSuffixPerKindInMergeOrder) {
    using designmatrix::mergedDesignMatrixName;
    EXPECT_EQ(mergedDesignMatrixName("r_t.sdm", {false, std::nullopt, false}), "r_t_3DMC_RVT.sdm");
    EXPECT_EQ(mergedDesignMatrixName("r_t.sdm", {std::nullopt, true, true}), "r_t_HR_z_RVT_z.sdm");
    EXPECT_EQ(mergedDesignMatrixName("r_t.sdm", {false, false, false}), "r_t_3DMC_HR_RVT.sdm");
    EXPECT_EQ(mergedDesignMatrixName("r_t.sdm", {true, true, true}), "r_t_3DMC_z_HR_z_RVT_z.sdm");
}

}  // namespace
