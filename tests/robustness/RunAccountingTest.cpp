// Every run accounted for, end to end: the run report and the exit status for lists that give
// every pair what it is due and for lists that do not, the pre-flight check on the same lists,
// the protocol warnings during a run, and the log or report that would replace an input.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/robustness/Study.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;

constexpr char kPair[] = "{dir}/task.prt\n{dir}/run1.vtc\n";

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// A valid heart-rate time course of `points` data points.
std::string heartRate(int points) {
    std::string text = "FileVersion: 2\nType: DesignMatrix\nNrOfPredictors: 1\nNrOfDataPoints: " +
                       std::to_string(points) + "\n\"HR\"\n";
    for (int i = 0; i < points; ++i) {
        text += std::to_string(60 + i) + "\n";
    }
    return text;
}

TEST(RunReport, GivesEveryPairOfAGoodStudyALineAndATsvRow) {
    Study study;
    study.write("run2.vtc", study.read("run1.vtc"));
    const ProgramResult result =
        study.run(std::string("2\n") + kPair +
                      "{dir}/run1_3DMC.sdm\n{dir}/run1_HR.rtc\n{dir}/run1_RVT.sdm\n{dir}/task.prt\n"
                      "{dir}/run2.vtc\n",
                  {false, {"--report", "report.tsv"}});

    expectSound(study, result);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(contains(result.err,
                         "report: pair 1 of 2 (list entry 1: " + study.file("task.prt") + ", " +
                             study.file("run1.vtc") + "): ok: " + study.file("run1_task.sdm") +
                             " saved, " + study.file("run1_task_3DMC_HR_RVT.sdm") + " complete\n"))
        << result.err;
    EXPECT_TRUE(contains(result.err,
                         "report: 2 pairs in the list: 2 with every design matrix due, "
                         "complete; 0 with warnings; 0 FAILED\n"))
        << result.err;
    const std::string tsv = study.read("report.tsv");
    EXPECT_EQ(lineCount(tsv), 3U) << tsv;
    EXPECT_TRUE(tsv.starts_with("pair\tlist entry\tprotocol\ttime course\tvolumes\t")) << tsv;
    EXPECT_TRUE(contains(tsv, "\t6\t" + study.file("run2_task.sdm") + "\tyes\t\t-\tok\t")) << tsv;
    EXPECT_FALSE(contains(result.out, "report: ")) << "standard output holds the log alone";
}

struct AccountingRow {
    const char* what;
    std::string list;        // after the pair count; "{dir}" stands for the study's folder
    int status;              // of the run and of the check
    const char* reportPart;  // in the run report's line of pair 1
};

void PrintTo(const AccountingRow& row, std::ostream* out) {
    *out << row.what;
}

class Accounting : public testing::TestWithParam<AccountingRow> {};

// The run ends with 3 exactly when a pair lacks a design matrix it should have, and the check
// says so before.
TEST_P(Accounting, ExitStatusThreeExactlyWhenAPairLacksADesignMatrixDue) {
    const AccountingRow& row = GetParam();
    Study study;
    study.write("short_HR.rtc", heartRate(kVolumes - 2));
    study.write("long_HR.rtc", heartRate(kVolumes + 3));
    study.write("run1_3dmc.sdm", validMotionDesignMatrix());
    study.write("other/task.prt", "FileVersion: 3\nNrOfConditions: 0\n");
    const std::string list = std::string("1\n") + row.list;

    RunOptions check;
    check.check = true;
    const ProgramResult checked = study.run(list, check);
    EXPECT_EQ(checked.status, row.status) << checked.out << checked.err;
    EXPECT_TRUE(study.newFiles().empty()) << "the check writes nothing";
    EXPECT_TRUE(study.changedInputs().empty());

    const ProgramResult result = study.run(list);
    expectSound(study, result);
    EXPECT_EQ(result.status, row.status) << result.err;
    EXPECT_TRUE(contains(result.err, row.reportPart)) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Accounting,
    testing::Values(
        AccountingRow{"EveryConfoundMerged",
                      std::string(kPair) + "{dir}/run1_3DMC.sdm\n{dir}/run1_HR.rtc\n", 0,
                      "run1_task_3DMC_HR.sdm complete\n"},
        AccountingRow{"ConfoundLongerThanTheRun", std::string(kPair) + "{dir}/long_HR.rtc\n", 0,
                      "run1_task_HR.sdm complete\n"},
        AccountingRow{"ConfoundsBeforeTheFirstProtocol", std::string("{dir}/run1_HR.rtc\n") + kPair,
                      0, "run1_task.sdm saved\n"},
        AccountingRow{"ConfoundShorterThanTheRun", std::string(kPair) + "{dir}/short_HR.rtc\n", 3,
                      "run1_task_HR.sdm incomplete)"},
        AccountingRow{"MissingConfound", std::string(kPair) + "{dir}/absent_HR.rtc\n", 3,
                      "FAILED: the merged design matrix was not written: heart rate "},
        AccountingRow{"UnrecognisedConfound", std::string(kPair) + "{dir}/run1_3dmc.sdm\n", 3,
                      "run1_3dmc.sdm) in its range is of no kind"},
        AccountingRow{"ProtocolWithoutItsTimeCourse", "{dir}/task.prt\n{dir}/run1_HR.rtc\n", 3,
                      "FAILED: no time course follows the protocol in the list (nothing made)"},
        // Read as an entry of no kind before the first protocol, never as a line of the log.
        AccountingRow{"QuotedEntryThatReadsLikeALogLine",
                      std::string("\"New filename: /etc/passwd\"\n") + kPair, 0,
                      "run1_task.sdm saved\n"},
        AccountingRow{"ProtocolOtherThanTheListedOne", "{dir}/other/task.prt\n{dir}/run1.vtc\n", 3,
                      "/task.prt that the list names ("},
        AccountingRow{"TheSameTimeCourseTwice", std::string(kPair) + kPair, 3,
                      "run1_task.sdm was replaced by pair 2 ("}),
    [](const testing::TestParamInfo<AccountingRow>& row) { return std::string(row.param.what); });

TEST(Check, WritesNothingButItsReportWhateverTheRunsOptionsAsk) {
    Study study;
    RunOptions options;
    options.check = true;
    options.arguments = {"--log", "run.log", "--plot", "pictures", "--report", "check.tsv"};
    const ProgramResult result =
        study.run(std::string("1\n") + kPair + "{dir}/run1_3DMC.sdm\n", options);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_TRUE(contains(result.out, "pair 1 of 1 (list entry 1: " + study.file("task.prt") + ", " +
                                         study.file("run1.vtc") + "): ok\n"))
        << result.out;
    EXPECT_TRUE(contains(result.out, "; nothing fails\n")) << result.out;
    EXPECT_TRUE(contains(result.err, "--log and --plot are not used")) << result.err;
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{"check.tsv"});
    EXPECT_TRUE(study.changedInputs().empty());
    const std::string tsv = study.read("check.tsv");
    EXPECT_TRUE(tsv.starts_with("pair\tlist entry\tfile\tresult\tfinding\n")) << tsv;
    EXPECT_TRUE(contains(tsv, "1\t3\t" + study.file("run1_3DMC.sdm") + "\tok\tmotion estimates"))
        << tsv;
}

TEST(Check, NeedsTheListAndTheVolumeDocument) {
    Study study;
    RunOptions options;
    options.check = true;
    options.volumeDocument = false;
    const ProgramResult result = study.run(std::string("1\n") + kPair, options);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(contains(result.err,
                         "check needs the file list (--list FILE) and the volume "
                         "document (--vmr FILE)"))
        << result.err;
}

TEST(ProtocolWarnings, ReachTheReportAndFailThePairUnderStrict) {
    Study study;
    // The protocol's events run past the end of the six volumes and carry weights; its first
    // condition is the one --skip-first skips.
    study.write("task.prt",
                "FileVersion: 3\nResolutionOfTime: Volumes\nParametricWeights: 1\n"
                "NrOfConditions: 2\n\nRest\n1\n1 2 0.5\nColor: 0 0 0\n\n"
                "Task\n1\n4 9 0.5\nColor: 255 0 0\n");
    const std::string list = std::string("1\n") + kPair;
    for (const bool strict : {false, true}) {
        RunOptions options;
        const std::string tsv = strict ? "strict.tsv" : "report.tsv";
        options.arguments = {"--skip-first", "--report", tsv};
        if (strict) {
            options.arguments.emplace_back("--strict");
        }
        const ProgramResult result = study.run(list, options);
        expectSound(study, result);
        EXPECT_EQ(result.status, strict ? 3 : 0) << result.err;
        for (const std::string& part :
             {std::string("(warning: protocol: 1 of 2 intervals end after the run's last volume"),
              std::string("; protocol: it gives 1 parametric weight(s) per interval"),
              std::string(") (note: --skip-first skipped condition \"Rest\" (1 interval))"),
              std::string("complete; 1 with warnings; ") + (strict ? "1" : "0") + " FAILED\n"}) {
            EXPECT_TRUE(contains(result.err, part)) << part << "\n" << result.err;
        }
        EXPECT_TRUE(contains(study.read(tsv), "\tprotocol: 1 of 2 intervals end after"));
        RunOptions check;
        check.check = true;
        check.arguments = {"--skip-first"};
        if (strict) {
            check.arguments.emplace_back("--strict");
        }
        const ProgramResult checked = study.run(list, check);
        EXPECT_EQ(checked.status, strict ? 3 : 0) << checked.out;
        EXPECT_TRUE(contains(checked.out, "note     --skip-first skipped condition \"Rest\""))
            << checked.out;
    }
}

TEST(RunReport, APairTheListDeclaresButDoesNotHoldFailsTheRunAndTheCheck) {
    Study study;
    for (const std::string& list :
         {std::string("3\n") + kPair + kPair, std::string("# run one\n") + kPair,
          std::string("2\n{dir}/run1.vtc\n")}) {
        const ProgramResult result = study.run(list);
        EXPECT_EQ(result.status, 3) << result.err;
        EXPECT_TRUE(contains(result.err, "FAILED: the list declares ")) << result.err;
        RunOptions check;
        check.check = true;
        EXPECT_EQ(study.run(list, check).status, 3);
    }
    const ProgramResult three = study.run(std::string("3\n") + kPair + kPair);
    EXPECT_TRUE(contains(three.err,
                         "report: pair 3 of 3: FAILED: the list declares 3 pairs and "
                         "holds 2\n"))
        << three.err;
}

TEST(RunReport, AReportOrLogThatCannotBeWrittenEndsWithThree) {
    Study study;
    const std::string list = std::string("1\n") + kPair;
    RunOptions options;
    options.arguments = {"--report", "/dev/full"};
    const ProgramResult report = study.run(list, options);
    EXPECT_EQ(report.status, 3);
    EXPECT_TRUE(contains(report.err, "cannot write the report file /dev/full")) << report.err;
    options.arguments = {"--log", "/dev/full"};
    const ProgramResult log = study.run(list, options);
    EXPECT_EQ(log.status, 3);
    EXPECT_TRUE(contains(log.err, "cannot write the log file /dev/full")) << log.err;
}

struct OwnOutputRow {
    const char* what;
    std::vector<std::string> arguments;  // "{dir}" stands for the study's folder
    const char* message;
};

void PrintTo(const OwnOutputRow& row, std::ostream* out) {
    *out << row.what;
}

class OwnOutput : public testing::TestWithParam<OwnOutputRow> {};

TEST_P(OwnOutput, ThatWouldReplaceAFileOfTheRunIsRefusedAndNothingIsTouched) {
    Study study;
    fs::create_symlink(study.file("run1_HR.rtc"), study.folder() / "link.rtc");
    fs::copy_file(SDMWEAVER_PLUGIN, study.folder() / "plugin.so");
    RunOptions options;
    for (const std::string& argument : GetParam().arguments) {
        options.arguments.push_back(inFolder(argument, study.folder().string()));
    }
    const ProgramResult result =
        study.run(std::string("1\n") + kPair + "{dir}/run1_3DMC.sdm\n{dir}/run1_HR.rtc\n", options);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_EQ(result.out, "") << "nothing is run";
    EXPECT_TRUE(contains(result.err, GetParam().message)) << result.err;
    EXPECT_TRUE(study.changedInputs().empty());
    EXPECT_TRUE(study.newFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, OwnOutput,
    testing::Values(
        OwnOutputRow{"LogIsTheList", {"--log", "list.txt"}, "is the file list"},
        OwnOutputRow{
            "LogIsTheVolumeDocument", {"--log", "./anatomy.vmr"}, "is the volume document"},
        OwnOutputRow{"LogIsAConfoundFile",
                     {"--log", "{dir}/./run1_3DMC.sdm"},
                     "is entry 3 of the file list"},
        OwnOutputRow{
            "LogIsAConfoundThroughALink", {"--log", "link.rtc"}, "is entry 4 of the file list"},
        OwnOutputRow{"LogIsThePlugIn",
                     {"--plugin", "plugin.so", "--log", "{dir}/plugin.so"},
                     "is the plug-in"},
        OwnOutputRow{"LogIsADesignMatrixTheRunWrites",
                     {"--log", "run1_task.sdm"},
                     "is a design matrix the run writes"},
        OwnOutputRow{
            "ReportIsTheProtocol", {"--report", "task.prt"}, "is entry 1 of the file list"},
        OwnOutputRow{"LogAndReportAreOneFile",
                     {"--log", "out.txt", "--report", "{dir}/out.txt"},
                     "--log and --report name the same file"}),
    [](const testing::TestParamInfo<OwnOutputRow>& row) { return std::string(row.param.what); });

}  // namespace
}  // namespace robustness
