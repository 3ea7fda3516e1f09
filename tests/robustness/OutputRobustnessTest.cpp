// Outputs that cannot be written as asked: a confound file that carries the merged design
// matrix's own name, a read-only folder, and a full disk (the output name linked to /dev/full,
// where every write fails for want of space). Each is reported, and no input is changed.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/robustness/Study.h"
#include "tests/support/DocumentBytes.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;

constexpr char kPair[] = "1\n{dir}/task.prt\n{dir}/run1.vtc\n";

TEST(OutputName, AConfoundFileThatIsTheMergedOutputIsNeitherReplacedNorMerged) {
    Study study;
    // A heart-rate design matrix whose name is the one the merge would write.
    study.write("run1_task_HR.sdm",
                "FileVersion: 1\nNrOfPredictors: 1\nNrOfDataPoints: 6\nIncludesConstant: 0\n"
                "FirstConfoundPredictor: 1\n255 0 0\n\"HR\"\n1\n2\n3\n4\n5\n6\n");
    const ProgramResult result = study.run(std::string(kPair) + "{dir}/run1_task_HR.sdm\n");

    expectSound(study, result);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.err, "run1_task_HR.sdm not written)")) << result.err;
    EXPECT_TRUE(contains(result.out, "The merged design matrix " + study.file("run1_task_HR.sdm") +
                                         " would replace one of its input files or a file of "
                                         "the list: nothing is written.\n"))
        << result.out;
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{"run1_task.sdm"});
}

TEST(OutputName, ABaseDesignMatrixNameThatIsAConfoundInputIsNotWrittenOver) {
    Study study;
    // The protocol run1_HR's design matrix would be saved as run1_run1_HR.sdm, which the list
    // also names as that protocol's heart-rate file.
    study.write("run1_HR.prt", validProtocol());
    study.write("run1_run1_HR.sdm",
                "FileVersion: 1\nNrOfPredictors: 1\nNrOfDataPoints: 6\n"
                "IncludesConstant: 0\nFirstConfoundPredictor: 1\n255 0 0\n"
                "\"HR\"\n1\n2\n3\n4\n5\n6\n");
    const ProgramResult result =
        study.run("1\n{dir}/run1_HR.prt\n{dir}/run1.vtc\n{dir}/run1_run1_HR.sdm\n");

    expectSound(study, result);
    EXPECT_TRUE(contains(result.out, "The design matrix " + study.file("run1_run1_HR.sdm") +
                                         " would replace a file of the list: it is not made.\n"))
        << result.out;
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

// No design matrix replaces the list or a file it names for another pair: the next pair then
// reads its own file, not the previous pair's output.
TEST(OutputName, AMergedOutputThatIsTheNextPairsMotionFileIsNotWrittenAndThatPairReadsItsOwn) {
    Study study;
    testsupport::TimeCourseSpec spec;
    spec.volumes = kVolumes;
    study.write("run2.vtc", testsupport::timeCourseBytes(spec));
    study.write("run1_task_3DMC.sdm", validMotionDesignMatrix());
    const ProgramResult result = study.run(
        "2\n{dir}/task.prt\n{dir}/run1.vtc\n{dir}/run1_3DMC.sdm\n"
        "{dir}/task.prt\n{dir}/run2.vtc\n{dir}/run1_task_3DMC.sdm\n");

    expectSound(study, result);
    EXPECT_TRUE(contains(result.out, "The merged design matrix " +
                                         study.file("run1_task_3DMC.sdm") +
                                         " would replace one of its input files or a file of "
                                         "the list: nothing is written.\n"))
        << result.out;
    EXPECT_EQ(study.newFiles(),
              (std::vector<std::string>{"run1_task.sdm", "run2_task.sdm", "run2_task_3DMC.sdm"}));
}

TEST(OutputName, ABaseDesignMatrixNameThatIsTheListItselfIsNotMade) {
    Study study;
    study.write("run1_task.sdm", "1\n" + study.file("task.prt") + "\n" + study.file("run1.vtc"));
    const ProgramResult result = study.runOnListFile(study.file("run1_task.sdm"));

    expectSound(study, result);
    EXPECT_TRUE(contains(result.out, "The design matrix " + study.file("run1_task.sdm") +
                                         " would replace a file of the list: it is not made.\n"))
        << result.out;
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

TEST(OutputFolder, ReadOnlyRefusesTheSaveAndNothingIsMerged) {
    if (!canRunWithoutOverride()) {
        GTEST_SKIP() << "running as root without setpriv: permissions cannot be made to apply";
    }
    Study study;
    fs::permissions(study.folder(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    RunOptions options;
    options.withoutOverride = true;
    const ProgramResult result = study.run(std::string(kPair) + "{dir}/run1_HR.rtc\n", options);
    fs::permissions(study.folder(), fs::perms::owner_write, fs::perm_options::add);

    expectSound(study, result);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.err, "host: design matrix not saved to " +
                                         study.file("run1_task.sdm") + ": cannot open"))
        << result.err;
    EXPECT_TRUE(contains(result.out, "Saving of design matrix did not succeed.\n"));
    EXPECT_TRUE(contains(result.out,
                         "The design matrix was not saved: no confounds are merged "
                         "for this protocol.\n"));
    EXPECT_FALSE(contains(result.out, "*.sdm file(s) available in the *.vtc file directory."));
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

TEST(OutputFolder, AReadOnlyMergedFileFromAnEarlierRunIsReportedAndLeftAsItWas) {
    if (!canRunWithoutOverride()) {
        GTEST_SKIP() << "running as root without setpriv: permissions cannot be made to apply";
    }
    Study study;
    study.write("run1_task_HR.sdm", "an earlier run's design matrix\n");
    fs::permissions(study.file("run1_task_HR.sdm"), fs::perms::owner_read);
    RunOptions options;
    options.withoutOverride = true;
    const ProgramResult result = study.run(std::string(kPair) + "{dir}/run1_HR.rtc\n", options);

    expectSound(study, result);
    EXPECT_TRUE(contains(result.out, "New filename: " + study.file("run1_task_HR.sdm") +
                                         "\nUnable to open a file for writing.\n"))
        << result.out;
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{"run1_task.sdm"});
}

TEST(FullDisk, TheHostsSaveFailsAndNothingIsMerged) {
    Study study;
    fs::create_symlink("/dev/full", study.folder() / "run1_task.sdm");
    const ProgramResult result = study.run(std::string(kPair) + "{dir}/run1_HR.rtc\n");

    expectSound(study, result);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.err, "host: design matrix not saved to " +
                                         study.file("run1_task.sdm") + ": cannot write"))
        << result.err;
    EXPECT_TRUE(contains(result.out,
                         "The design matrix was not saved: no confounds are merged "
                         "for this protocol.\n"));
    EXPECT_FALSE(contains(result.out, "*.sdm file(s) available in the *.vtc file directory."));
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

TEST(FullDisk, TheMergedDesignMatrixIsReportedAsNotWritten) {
    Study study;
    fs::create_symlink("/dev/full", study.folder() / "run1_task_HR.sdm");
    const ProgramResult result = study.run(std::string(kPair) + "{dir}/run1_HR.rtc\n");

    expectSound(study, result);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.err, "run1_task_HR.sdm not written)")) << result.err;
    EXPECT_TRUE(contains(result.out, "Problem with writing " + study.file("run1_task_HR.sdm") +
                                         ": the merged design matrix may be incomplete.\n"))
        << result.out;
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{"run1_task.sdm"});
}

}  // namespace
}  // namespace robustness
