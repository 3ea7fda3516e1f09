// The sdmweaver program run as a user runs it: options, exit statuses, standard output holding
// the log alone, and the example study.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tests/support/DocumentBytes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ProgramResult;
using testsupport::readText;
using testsupport::runProgram;
using testsupport::TempDir;
using testsupport::writeFile;

constexpr char kStarted[] = "\nsdmweaver (v0.8.4.2)> Started...\n";

ProgramResult sdmweaver(const std::vector<std::string>& arguments,
                        const std::filesystem::path& folder = std::filesystem::current_path()) {
    return runProgram(SDMWEAVER_PROGRAM, arguments, folder);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Program : public testing::Test {
  protected:
    void SetUp() override {
        writeFile(dir_.file("anatomy.vmr"), testsupport::volumeDocumentBytes(8, 8, 8));
    }
    std::string vmr() const { return dir_.file("anatomy.vmr"); }

    TempDir dir_;
};

TEST_F(Program, HelpDocumentsEveryOptionOnStandardOutput) {
    const ProgramResult result = sdmweaver({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    for (const char* option : {"--list FILE", "--vmr FILE", "--hrf NAME", "--value X",
                               "--skip-first", "--z-transform", "--log FILE", "--plugin PATH",
                               "--host-version A.B.C", "--help", "--version", "Examples:"}) {
        EXPECT_TRUE(contains(result.out, option)) << option;
    }
    for (const char* example : {"--list study.txt", "--vmr anatomy.vmr", "--hrf boynton",
                                "--value=-2.5", "--skip-first\n", "--z-transform\n",
                                "--log run.log", "--plugin build/", "--host-version 2.9.8"}) {
        EXPECT_TRUE(contains(result.out, std::string("                       ") + example))
            << "example of " << example;
    }
}

TEST_F(Program, VersionPrintsThePlugInsNameText) {
    const ProgramResult result = sdmweaver({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "sdmweaver (v0.8.4.2)\n");
}

TEST_F(Program, VersionSaysSoWhenThePlugInCannotBeLoaded) {
    writeFile(dir_.file("fake.so"), "not a library");
    for (const std::string& plugin : {dir_.file("fake.so"), std::string(SDMWEAVER_HOST_MODULE)}) {
        const ProgramResult result = sdmweaver({"--version", "--plugin", plugin});
        EXPECT_EQ(result.status, 2) << plugin;
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(contains(result.err, "; its name is unknown")) << result.err;
    }
}

struct UsageCase {
    const char* what;
    std::vector<std::string> arguments;  // "VMR" stands for a valid volume document
    const char* message;
};

void PrintTo(const UsageCase& value, std::ostream* out) {
    *out << value.what;
}

class ProgramUsageError : public Program, public testing::WithParamInterface<UsageCase> {};

TEST_P(ProgramUsageError, EndsWithStatusTwoAndAMessageAndNoLog) {
    writeFile(dir_.file("short.vmr"), testsupport::volumeDocumentBytes(8, 8, 8, 100));
    writeFile(dir_.file("flat.vmr"), testsupport::volumeDocumentBytes(8, 0, 8, 100));
    writeFile(dir_.file("text.so"), "not a library");
    std::vector<std::string> arguments;
    for (const auto& argument : GetParam().arguments) {
        arguments.push_back(argument == "VMR" ? vmr() : argument);
    }
    const ProgramResult result = sdmweaver(arguments, dir_.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("sdmweaver: ")) << result.err;
    EXPECT_TRUE(contains(result.err, GetParam().message)) << result.err;
    EXPECT_TRUE(contains(result.err, "sdmweaver: see sdmweaver --help"));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ProgramUsageError,
    testing::Values(
        UsageCase{"UnknownOption", {"--vmr", "VMR", "--fast"}, "unknown option --fast"},
        UsageCase{"MissingValue", {"--vmr", "VMR", "--list"}, "--list needs a value"},
        UsageCase{"ValueOutOfRange", {"--vmr", "VMR", "--value", "-100.01"}, "lies outside"},
        UsageCase{"MissingVolumeDocument",
                  {"--vmr", "absent.vmr"},
                  "cannot open the volume document absent.vmr"},
        UsageCase{"TruncatedVolumeDocument", {"--vmr", "short.vmr"}, "is too short"},
        UsageCase{"FlatVolumeDocument", {"--vmr", "flat.vmr"}, "each must be at least 1"},
        UsageCase{"MissingList",
                  {"--vmr", "VMR", "--list", "absent.txt"},
                  "the file list absent.txt does not exist"},
        UsageCase{"UnwritableLog",
                  {"--vmr", "VMR", "--log", "no/such/folder/run.log"},
                  "cannot write the log file"},
        UsageCase{"QualityReportFolderThatIsAFile",
                  {"--vmr", "VMR", "--qc", "text.so"},
                  "cannot make the quality report folder text.so"},
        UsageCase{"PlugInThatIsNoLibrary",
                  {"--vmr", "VMR", "--plugin", "text.so"},
                  "cannot load the plug-in text.so"},
        UsageCase{"PlugInWithoutItsExports",
                  {"--vmr", "VMR", "--plugin", SDMWEAVER_HOST_MODULE},
                  "is not a Zemlar plug-in"}),
    [](const testing::TestParamInfo<UsageCase>& testCase) { return testCase.param.what; });

TEST_F(Program, WithoutArgumentsShowsItsUsageAndEndsWithStatusTwo) {
    const ProgramResult result = sdmweaver({});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(
        contains(result.err, "sdmweaver: usage:\nsdmweaver: sdmweaver --list FILE --vmr FILE"))
        << result.err;
    EXPECT_TRUE(contains(result.err, "sdmweaver: commands: check, plot, qc"));
    EXPECT_FALSE(contains(result.err, "message: ")) << "the plug-in is not run";
}

TEST_F(Program, WithoutAVolumeDocumentTheRunFailsWithStatusOne) {
    const ProgramResult result = sdmweaver({"--hrf", "two-gamma"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, std::string(kStarted) + "No VMR present, action cancelled.\n");
    EXPECT_TRUE(contains(result.err,
                         "message: This plugin requires that a VMR document is "
                         "available and selected in Zemlar.\n"));
    EXPECT_TRUE(contains(result.err, "sdmweaver: 0 design matrices saved by the host"));
}

TEST_F(Program, AHostBelowTheVersionGateCannotStartThePlugIn) {
    const ProgramResult result = sdmweaver({"--vmr", vmr(), "--host-version", "2.9.8"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(contains(result.err,
                         "message: Can not execute this plugin - Zemlar version 20 "
                         "or higher required.\n"));
    EXPECT_EQ(sdmweaver({"--vmr", vmr(), "--host-version=2.9.9"}).status, 0);
}

TEST_F(Program, StandardOutputHoldsTheLogAloneAndTheLogFileTheSame) {
    const ProgramResult result =
        sdmweaver({"--vmr", vmr(), "--log", dir_.file("run.log"), "--hrf", "boynton"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with(kStarted)) << result.out;
    EXPECT_TRUE(result.out.ends_with("Finished.\n\n")) << result.out;
    EXPECT_EQ(readText(dir_.file("run.log")), result.out);
    std::istringstream errors(result.err);
    for (std::string line; std::getline(errors, line);) {
        const bool prefixed = line.starts_with("message: ") || line.starts_with("question: ") ||
                              line.starts_with("answer: ") || line.starts_with("input: ") ||
                              line.starts_with("file dialog: ") || line.starts_with("host: ") ||
                              line.starts_with("sdmweaver: ");
        EXPECT_TRUE(prefixed) << line;
        EXPECT_FALSE(contains(result.out, line)) << line;
    }
    EXPECT_TRUE(result.err.ends_with("exit status 0\n")) << result.err;
}

// Waits for the batch run.
TEST_F(Program, OptionsAnswerTheRunsQuestions) {
    const ProgramResult result = sdmweaver(
        {"--vmr", vmr(), "--hrf", "boynton", "--value=-2.5", "--skip-first", "--z-transform"});
    EXPECT_EQ(result.status, 0);
    for (const char* line :
         {"HRF function: Boynton\n", "Predictor value: -2.500000\n",
          "Set to skip first condition: yes\n", "z-transform the confound(s): yes\n",
          "Cancelled further operations.\nFinished.\n\n"}) {
        EXPECT_TRUE(contains(result.out, line)) << line;
    }
    EXPECT_TRUE(contains(result.err, "file dialog: Please select the file list"));
    EXPECT_TRUE(contains(result.err, "answer: no file (no answer given: the dialog was closed)"));
}

// Waits for the batch run.
TEST_F(Program, ACancelledValueEndsTheRunBeforeTheFileDialog) {
    writeFile(dir_.file("list.txt"), "0\n");
    const ProgramResult result =
        sdmweaver({"--vmr", vmr(), "--value", "cancel", "--list", dir_.file("list.txt")});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(contains(result.out, "Predictor value: -101.000000\n"));
    EXPECT_TRUE(contains(result.out, "Cancelled further operations.\n"));
    EXPECT_FALSE(contains(result.err, "file dialog: "));
}

// Waits for the batch run.
TEST_F(Program, AProtocolTheHostCannotFindEndsWithStatusThree) {
    testsupport::TimeCourseSpec spec;
    writeFile(dir_.file("run1.vtc"), testsupport::timeCourseBytes(spec));
    writeFile(dir_.file("list.txt"), "1\nabsent.prt\nrun1.vtc\n");
    const ProgramResult result =
        sdmweaver({"--vmr", vmr(), "--list", dir_.file("list.txt")}, dir_.path());
    EXPECT_EQ(result.status, 3);
    EXPECT_TRUE(contains(result.err, "host: protocol absent.prt not found; looked at:"));
    EXPECT_TRUE(contains(result.err, "1 step(s) refused") || contains(result.err, "2 step(s)"));
}

// The README's first command. A cross build runs the example through the emulator instead and
// compares it with the native run (tests/example): the build machine's cmake is no program of
// the target system.
#if !defined(SDMWEAVER_CROSS_BUILD)
TEST(ExampleStudy, RunsAndWritesTheDesignMatricesOfBothRuns) {
    TempDir dir;
    const std::filesystem::path study = dir.path() / "example";
    const ProgramResult result =
        runProgram(SDMWEAVER_CMAKE,
                   {"-DPROGRAM=" SDMWEAVER_PROGRAM, "-DGENERATOR=" SDMWEAVER_EXAMPLE_GENERATOR,
                    "-DSOURCE=" SDMWEAVER_EXAMPLES_DIR, "-DSTUDY=" + study.string(), "-P",
                    SDMWEAVER_EXAMPLES_DIR "/RunExample.cmake"},
                   dir.path());
    ASSERT_TRUE(std::filesystem::exists(study / "anatomy.vmr")) << result.err;
    ASSERT_TRUE(std::filesystem::exists(study / "run2.vtc")) << result.err;
    EXPECT_EQ(result.status, 0) << result.err;
    // The script shows the log, then the program's standard error, on its standard output.
    EXPECT_TRUE(contains(result.out,
                         "sdmweaver: 2 design matrices saved by the host, 0 step(s) "
                         "refused; exit status 0"))
        << result.out;
    // The first condition (rest, fixation) skipped: two condition predictors and the constant.
    for (const auto& [name, points] :
         {std::pair{"run1_faces_volumes.sdm", "200"}, std::pair{"run2_faces_msec.sdm", "150"}}) {
        const std::string text = readText((study / name).string());
        EXPECT_TRUE(text.starts_with(std::string("FileVersion:             1\n\n"
                                                 "NrOfPredictors:          3\n"
                                                 "NrOfDataPoints:          ") +
                                     points + "\nIncludesConstant:        1\n"))
            << name << ":\n"
            << text.substr(0, 200);
        EXPECT_TRUE(contains(text, "\"Faces\" \"Houses\" \"Constant\"\n")) << name;
        EXPECT_TRUE(contains(result.out, std::string("--   ") + name)) << "listed: " << name;
    }
    // Every merged design matrix the log names is on disk and listed.
    std::istringstream log(result.out);
    for (std::string line; std::getline(log, line);) {
        if (line.starts_with("New filename: ")) {
            const std::string name = line.substr(std::string("New filename: ").size());
            EXPECT_TRUE(std::filesystem::exists(study / name)) << name;
            EXPECT_TRUE(contains(result.out, "--   " + name)) << "listed: " << name;
        }
    }
}

TEST(Install, PutsTheProgramWhereItRunsFromAnyFolder) {
    TempDir prefix;
    TempDir elsewhere;
    const ProgramResult install = runProgram(
        SDMWEAVER_CMAKE, {"--install", SDMWEAVER_BUILD_DIR, "--prefix", prefix.path().string()},
        elsewhere.path());
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    const std::string program = (prefix.path() / "bin" / "sdmweaver").string();
    const ProgramResult version = runProgram(program, {"--version"}, elsewhere.path());
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, "sdmweaver (v0.8.4.2)\n") << "the plug-in is found beside the program";
    writeFile(elsewhere.file("anatomy.vmr"), testsupport::volumeDocumentBytes(8, 8, 8));
    const ProgramResult run = runProgram(program, {"--vmr", "anatomy.vmr"}, elsewhere.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with(kStarted)) << run.out;
}

#endif

}  // namespace
