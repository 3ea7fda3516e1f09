// What sits between files: links at output names, inputs that are no regular files, rows that
// are not rows, conditions the host cannot tell apart, temporaries a killed run left. Each case
// runs the check and the run on one study: inputs byte-identical afterwards, the same failure
// named by both, exit status 3.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>

#include "tests/robustness/Study.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;

constexpr char kPair[] = "1\n{dir}/task.prt\n{dir}/run1.vtc\n";

struct HostileCase {
    const char* what;
    std::function<void(Study&)> prepare;
    std::string list;  // "{dir}" stands for the study's folder
    std::string said;  // in both the check's and the run's standard error
};

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.what;
}

class Hostile : public testing::TestWithParam<HostileCase> {};

TEST_P(Hostile, IsNamedByTheCheckAndTheRunAndNoInputChanges) {
    const HostileCase& c = GetParam();
    Study study;
    c.prepare(study);
    const std::string said = inFolder(c.said, study.folder().string());

    RunOptions check;
    check.check = true;
    const ProgramResult checked = study.run(c.list, check);
    EXPECT_EQ(checked.status, 3) << checked.out << checked.err;
    EXPECT_TRUE(contains(checked.out + checked.err, said)) << checked.out << checked.err;
    EXPECT_TRUE(study.changedInputs().empty());

    const ProgramResult result = study.run(c.list);
    expectSound(study, result);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.out + result.err, said)) << result.out << result.err;
    for (const std::string& name : study.newFiles()) {
        EXPECT_EQ(name.find(".partial-"), std::string::npos) << "a temporary was left: " << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, Hostile,
    testing::Values(HostileCase{"DesignMatrixNameIsAHardLinkToAConfound",
                                [](Study& study) {
                                    fs::create_hard_link(study.file("run1_HR.rtc"),
                                                         study.file("run1_task.sdm"));
                                },
                                std::string(kPair) + "{dir}/run1_HR.rtc\n",
                                "run1_task.sdm would replace"},
                    HostileCase{"ConfoundIsAFifo",
                                [](Study& study) {
                                    fs::remove(study.file("run1_HR.rtc"));
                                    ASSERT_EQ(::mkfifo(study.file("run1_HR.rtc").c_str(), 0600), 0);
                                },
                                std::string(kPair) + "{dir}/run1_HR.rtc\n",
                                "{dir}/run1_HR.rtc is not a regular file: it is not read."},
                    HostileCase{"ConfoundRowsOfFiveAndSevenValues",
                                [](Study& study) {
                                    std::string motion = validMotionDesignMatrix();
                                    motion.resize(motion.find('\n', motion.rfind('"')) + 1);
                                    // Row 4 holds five values, row 5 seven: the sum is right, the
                                    // rows not.
                                    for (const char* row :
                                         {"1 2 3 4 5 6", "1 2 3 4 5 6", "1 2 3 4 5 6", "1 2 3 4 5",
                                          "1 2 3 4 5 6 7", "1 2 3 4 5 6"}) {
                                        motion += std::string(row) + "\n";
                                    }
                                    study.write("run1_3DMC.sdm", motion);
                                },
                                std::string(kPair) + "{dir}/run1_3DMC.sdm\n",
                                "Row 4 of {dir}/run1_3DMC.sdm holds 5 values; the file declares 6 "
                                "predictors."},
                    HostileCase{"TwoConditionsOfOneName",
                                [](Study& study) {
                                    std::string protocol = validProtocol();
                                    protocol.replace(protocol.find("Task"), 4, "Rest");
                                    study.write("task.prt", protocol);
                                },
                                kPair, "conditions 1 and 2 of {dir}/task.prt share the name Rest"}),
    [](const testing::TestParamInfo<HostileCase>& c) { return std::string(c.param.what); });

TEST(OutputNames, ThatAreHardLinksOfASnapshotAreReplacedNeverWrittenThrough) {
    // The outputs of an earlier run, with a snapshot of them as `cp -al` makes it.
    Study study;
    fs::create_directory(study.file("snapshot"));
    for (const char* name : {"run1_task.sdm", "run1_task_HR.sdm"}) {
        study.write(name, "earlier run");
        fs::create_hard_link(study.file(name), study.file(std::string("snapshot/") + name));
    }
    const ProgramResult result = study.run(std::string(kPair) + "{dir}/run1_HR.rtc\n");
    EXPECT_EQ(result.status, 0) << result.err;
    for (const char* name : {"run1_task.sdm", "run1_task_HR.sdm"}) {
        EXPECT_EQ(study.read(std::string("snapshot/") + name), "earlier run") << name;
        EXPECT_TRUE(study.read(name).starts_with("FileVersion:")) << name;
    }
}

TEST(Temporaries, ThatAKilledRunLeftAreReportedByTheCheck) {
    Study study;
    study.write("run1_task.sdm.partial-4242-0", "FileVersion: 1\n");
    RunOptions check;
    check.check = true;
    const ProgramResult checked = study.run(kPair, check);
    EXPECT_TRUE(contains(checked.out + checked.err,
                         study.file("run1_task.sdm.partial-4242-0") +
                             " was left by a run that was stopped while writing"))
        << checked.out << checked.err;
}

}  // namespace
}  // namespace robustness
