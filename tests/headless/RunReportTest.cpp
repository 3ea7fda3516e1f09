// The run report's bookkeeping, in-process: steps as the host sees them taken as their pair's,
// every pair accounted for, what the run produced, the list read as the plug-in reads it, and
// which log lines tell why.

#include <gtest/gtest.h>

#include <sstream>

#include "headless/HostExports.h"
#include "headless/HostSession.h"
#include "headless/program/FailureLines.h"
#include "headless/program/ListPlan.h"
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
    Report() { console_.redirect(log_, messages_); }

    std::string d(const std::string& name) const { return dir_.file(name); }
    std::string inFolder(std::string text) const {
        for (std::size_t at = text.find("{d}"); at != std::string::npos; at = text.find("{d}")) {
            text.replace(at, 3, dir_.path().generic_string());
        }
        return text;
    }
    RunReport& start(const std::string& list, bool zTransform = false) {
        testsupport::writeFile(d("list.txt"), inFolder(list));
        report_.emplace(headless::readListPlan(d("list.txt")), zTransform, console_);
        return *report_;
    }
    void log(const std::string& text) { report_->logged(inFolder(text)); }
    // A whole design matrix of `rows` rows at `name`.
    void writeDesign(const std::string& name, std::size_t rows) const {
        testsupport::DesignColumns design{
            {"Task", "HR", "Constant"},
            {},
            {std::vector<double>(rows, 0.5), std::vector<double>(rows, 0.1),
             std::vector<double>(rows, 1.0)}};
        testsupport::writeFile(d(name), testsupport::sdmText(design, 1, 2));
    }
    std::vector<PairOutcome> outcomes() const {
        std::vector<PairOutcome> all;
        report_->evaluate([&](const PairOutcome& outcome) { all.push_back(outcome); });
        return all;
    }

    testsupport::TempDir dir_;
    std::ostringstream log_;
    std::ostringstream messages_;
    headless::Console console_;
    std::optional<RunReport> report_;
};

TEST_F(Report, AccountsForEveryPairInListOrderWithTheReasonTheLogGave) {
    RunReport& report = start(
        "3\n{d}/task.prt {d}/run1.vtc {d}/run1_HR.rtc\n{d}/task.prt {d}/run2.vtc {d}/run2_HR.rtc\n"
        "{d}/rest.prt\n");
    writeDesign("run1_task_HR.sdm", 4);
    testsupport::writeFile(d("run2_task_HR.sdm"),
                           "FileVersion: 1\n\nNrOfPredictors: 3\nNrOfDataPoints: 4\n");
    report.fileChosen(d("list.txt"));
    log("\nLoad {d}/run1.vtc to VMR...");
    report.linked(d("run1.vtc"), 4);
    report.saved(d("run1_task.sdm"));
    log("New filename: {d}/run1_task_HR.sdm");
    log("\nLoad {d}/run2.vtc to VMR...");
    report.linked(d("run2.vtc"), 4);
    report.saved(d("run2_task.sdm"));
    log("New filename: {d}/run2_task_HR.sdm");
    log("Number of datapoints in *.sdm/*.rtc file(s) not sufficient!");
    log("{d}/run2_HR.rtc holds 3 data points; the design matrix has 4.");
    log("No VTC file found for PRT");

    const std::vector<PairOutcome> pairs = outcomes();
    ASSERT_EQ(pairs.size(), 3U);
    EXPECT_TRUE(pairs[0].ok) << pairs[0].reason;
    EXPECT_EQ(pairs[0].baseOutcome, BaseOutcome::Saved);
    EXPECT_EQ(pairs[0].mergedOutcome, MergedOutcome::Complete);
    EXPECT_EQ(pairs[0].merged, d("run1_task_HR.sdm"));

    EXPECT_FALSE(pairs[1].ok);
    EXPECT_EQ(pairs[1].entry, 4U);
    EXPECT_EQ(pairs[1].mergedOutcome, MergedOutcome::Incomplete);
    // The line that names the file is quoted; the one that does not is left out.
    EXPECT_TRUE(contains(pairs[1].reason, inFolder("{d}/run2_HR.rtc holds 3 data points")))
        << pairs[1].reason;
    EXPECT_FALSE(contains(pairs[1].reason, "not sufficient")) << pairs[1].reason;

    EXPECT_FALSE(pairs[2].ok);
    EXPECT_EQ(pairs[2].baseOutcome, BaseOutcome::NoneExpected);
    EXPECT_TRUE(contains(pairs[2].reason, "no time course follows the protocol"))
        << pairs[2].reason;
    EXPECT_EQ(report.evaluate([](const PairOutcome&) {}).failed, 2U);
}

// The refusal to make a design matrix that would replace a file of the list may come before or
// after the pair's "Load" line; either way it is that pair's.
TEST_F(Report, ARefusalIsItsPairsWhereverItIsLogged) {
    for (const bool beforeLoad : {true, false}) {
        RunReport& report = start(
            "2\n{d}/task.prt {d}/run1.vtc {d}/run1_3DMC.sdm\n{d}/task.prt {d}/run2.vtc "
            "{d}/run2_3DMC.sdm\n");
        const std::string refusal =
            "The design matrix {d}/run1_task.sdm would replace a file of the list: it is not made.";
        if (beforeLoad) {
            log(refusal);
        } else {
            log("\nLoad {d}/run1.vtc to VMR...");
            log(refusal);
        }
        log("\nLoad {d}/run2.vtc to VMR...");
        report.saved(d("run2_task.sdm"));
        log("New filename: {d}/run2_task_3DMC.sdm");
        log("The merged design matrix {d}/run2_task_3DMC.sdm would replace one of its input files "
            "or a file of the list: nothing is written.");

        const std::vector<PairOutcome> pairs = outcomes();
        ASSERT_EQ(pairs.size(), 2U);
        EXPECT_EQ(pairs[0].baseOutcome, BaseOutcome::NotSaved) << beforeLoad;
        EXPECT_TRUE(contains(pairs[0].reason, "would replace a file of the list")) << beforeLoad;
        EXPECT_EQ(pairs[1].baseOutcome, BaseOutcome::Saved) << beforeLoad;
        EXPECT_EQ(pairs[1].mergedOutcome, MergedOutcome::NotWritten) << beforeLoad;
        EXPECT_TRUE(contains(pairs[1].reason, "nothing is written")) << pairs[1].reason;
        EXPECT_TRUE(report.produced() == Paths{d("run2_task.sdm")}) << beforeLoad;
    }
}

TEST_F(Report, HostRefusalsAndPairsTheRunNeverReachedFail) {
    RunReport& report = start("2\n{d}/task.prt {d}/run1.vtc\n{d}/task.prt {d}/run2.vtc\n");
    log("\nLoad {d}/run1.vtc to VMR...");
    report.refused("protocol task.prt not found; looked at:\n  /a/task.prt\n  /b/task.prt");
    log("The stimulation protocol could not be retrieved.\nPlease load a protocol first.");
    const std::vector<PairOutcome> pairs = outcomes();
    ASSERT_EQ(pairs.size(), 2U);
    EXPECT_TRUE(contains(pairs[0].reason,
                         "host: protocol task.prt not found; looked at: /a/task.prt /b/task.prt "
                         "The stimulation protocol could not be retrieved. Please load"))
        << pairs[0].reason;
    EXPECT_TRUE(contains(pairs[1].reason, "the run did not reach this pair")) << pairs[1].reason;
}

TEST_F(Report, AProtocolTakenFromAnotherFileThanTheListNamesIsAWarning) {
    RunReport& report = start("1\n{d}/a/task.prt {d}/run1.vtc\n");
    log("\nLoad {d}/run1.vtc to VMR...");
    report.protocolLoaded("task.prt", d("a/task.prt"), "beside the time course");
    EXPECT_EQ(messages_.str(), "");
    report.protocolLoaded("task.prt", d("b/task.prt"), "beside the volume document");
    EXPECT_TRUE(contains(messages_.str(),
                         inFolder("host: protocol task.prt: the list names {d}/a/task.prt, but the "
                                  "host uses {d}/b/task.prt, found beside the volume document")))
        << messages_.str();
    report.saved(d("run1_task.sdm"));
    const std::vector<PairOutcome> pairs = outcomes();
    ASSERT_EQ(pairs.size(), 1U);
    EXPECT_TRUE(pairs[0].ok) << "a warning leaves the design matrix whole";
    EXPECT_TRUE(contains(pairs[0].notes, "the host uses")) << pairs[0].notes;
}

TEST_F(Report, ProducedKeepsSavedAndMergedInOrderEachFileOnce) {
    RunReport& report = start("0\n");
    report.saved("run1_task.sdm");
    log("New SDM name: run1_task.sdm");  // the host's own save counts
    log("Reading file: run1_3DMC.sdm");
    log("New filename: run1_task_3DMC.sdm");
    report.saved("./run1_task.sdm");  // the same file again
    log("New filename: run1_task_3DMC.sdm");
    log("\nNew filename: elsewhere.sdm");  // not a line the plug-in writes
    report.saved("run2_task.sdm");
    EXPECT_EQ(report.produced(), (Paths{"run1_task.sdm", "run1_task_3DMC.sdm", "run2_task.sdm"}));
}

TEST_F(Report, ProducedDropsAMergedFileThatCouldNotBeOpenedForWriting) {
    RunReport& report = start("0\n");
    log("New filename: a_3DMC.sdm");
    log("Unable to open a file for writing.");
    log("New filename: b_3DMC.sdm");
    log("Number of datapoints in *.sdm/*.rtc file(s) not sufficient!");
    log("Unable to open a file for writing.");  // not right after a name
    EXPECT_EQ(report.produced(), (Paths{"b_3DMC.sdm"}));
    // A name met before stays: its earlier file is this run's.
    log("New filename: b_3DMC.sdm");
    log("Unable to open a file for writing.");
    EXPECT_EQ(report.produced(), (Paths{"b_3DMC.sdm"}));
}

TEST_F(Report, FollowsTheRunThroughTheHostOperations) {
    RunReport& report = start("0\n");
    headless::resetHostSession();
    std::ostringstream out;
    std::ostringstream err;
    headless::hostSession().console.redirect(out, err);
    headless::hostSession().observer = &report;
    EXPECT_EQ(tkLogText("New filename: run1_x_HR.sdm"), 1);
    EXPECT_EQ(tkLogText(nullptr), 1);
    EXPECT_EQ(report.produced(), (Paths{"run1_x_HR.sdm"}));
    EXPECT_EQ(out.str(), "New filename: run1_x_HR.sdm\n\n");
    headless::resetHostSession();
    EXPECT_EQ(headless::hostSession().observer, nullptr);
    headless::hostSession().console.redirect(std::cout, std::cerr);
}

TEST(ListPlan, ReadsPairsAndEveryEntryThatTakesNoPartAsThePlugInDoes) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("list.txt"),
                           "2 notes.txt a_3DMC.sdm\ntask.prt run1.vtc x_3DMC.sdm run1_3dmc.sdm "
                           "run1_3DMC.sdm run9.vtc\nrest.prt a_HR.rtc\n\"my task.prt\" run2.vtc "
                           "x y.sdm");
    const headless::ListPlan plan = headless::readListPlan(dir.file("list.txt"));
    ASSERT_FALSE(plan.unreadable);
    EXPECT_EQ(plan.declaredCount, 2);
    EXPECT_EQ(plan.endedBy, "x");
    ASSERT_EQ(plan.pairs.size(), 3U);
    EXPECT_EQ(plan.pairs[0].timeCourse, 3U);
    EXPECT_EQ(plan.pairs[0].confounds[headless::kMotionSlot], 6U) << "the last of a kind";
    EXPECT_EQ(plan.pairs[0].notRecognised, std::vector<std::size_t>{5});
    EXPECT_FALSE(plan.pairs[1].timeCourse);
    EXPECT_EQ(plan.entries[plan.pairs[2].protocol], "my task.prt");
    using headless::UnusedReason;
    std::vector<std::pair<std::size_t, UnusedReason>> unused;
    for (const auto& entry : plan.unused) {
        unused.emplace_back(entry.entry, entry.reason);
    }
    EXPECT_EQ(unused, (std::vector<std::pair<std::size_t, UnusedReason>>{
                          {0, UnusedReason::BeforeFirstProtocol},
                          {1, UnusedReason::BeforeFirstProtocol},
                          {4, UnusedReason::Replaced},
                          {5, UnusedReason::NotRecognised},
                          {7, UnusedReason::ExtraTimeCourse},
                          {9, UnusedReason::NoTimeCourse}}));
}

TEST(ListPlan, AListThePlugInCannotReadHasNoPairsAndSaysWhy) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("list.txt"), std::string("1\0\n", 3));
    const headless::ListPlan plan = headless::readListPlan(dir.file("list.txt"));
    EXPECT_TRUE(plan.pairs.empty());
    ASSERT_TRUE(plan.unreadable);
    EXPECT_TRUE(contains(*plan.unreadable, "holds a NUL byte")) << *plan.unreadable;
}

TEST(MergedName, OneSuffixPerKindInMergeOrderOrOneForAllThree) {
    using headless::mergedDesignMatrixPath;
    EXPECT_EQ(mergedDesignMatrixPath("r_t.sdm", {true, false, true}, false), "r_t_3DMC_RVT.sdm");
    EXPECT_EQ(mergedDesignMatrixPath("r_t.sdm", {false, true, true}, true), "r_t_HR_z_RVT_z.sdm");
    EXPECT_EQ(mergedDesignMatrixPath("r_t.sdm", {true, true, true}, false), "r_t_3DMC_HR_RVT.sdm");
    EXPECT_EQ(mergedDesignMatrixPath("r_t.sdm", {true, true, true}, true),
              "r_t_3DMC_z_HR_z_RVT_z.sdm");
}

TEST(FailureLines, TellFailuresThatNameTheirCauseFromThoseThatDoNot) {
    using headless::FailureLine;
    using headless::failureLine;
    EXPECT_EQ(failureLine("Problem with reading *.rtc file. Please check results."),
              FailureLine::General);
    EXPECT_EQ(failureLine("Unable to open a file for writing."), FailureLine::General);
    EXPECT_EQ(failureLine("Problem with reading b.sdm: value 2 of row 3 is not a number. The "
                          "merged design matrix is left incomplete."),
              FailureLine::Specific);
    EXPECT_EQ(failureLine("Motion estimates need six predictors, and a constant only as a "
                          "seventh: this file declares 7 predictors with constant 0."),
              FailureLine::Specific);
    EXPECT_EQ(failureLine("x_HR.rtc holds 3 data points; the design matrix has 4."),
              FailureLine::Specific);
    EXPECT_EQ(failureLine("The design matrix was not saved: no confounds are merged for this "
                          "protocol."),
              FailureLine::Specific);
    for (const char* progress :
         {"New filename: a.sdm", "No confounds found for this protocol.", "Reading file: a.sdm",
          "Column 2 of a.rtc does not vary: its z-transformed values are set to 0.",
          "Saving of design matrix succeeded."}) {
        EXPECT_EQ(failureLine(progress), FailureLine::None) << progress;
    }
}

}  // namespace
