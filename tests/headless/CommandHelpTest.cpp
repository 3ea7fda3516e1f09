// Each command of the sdmweaver program as a user asks it for help: its help alone, with each of
// its options, within 96 columns; and a usage error that points to that help.

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

struct CommandCase {
    std::string name;
    std::vector<std::string> options;  // each option's line in the help, without its indent
};

const std::vector<CommandCase> kCommands = {
    {"plot", {"-o, --output DIR"}},
    {"qc", {"-o, --output DIR"}},
    {"events-to-prt",
     {"-o, --output FILE.prt", "--conditions A,B,...", "--modulation COLUMN", "--fixation NAME",
      "--min-duration MS", "--dummy N", "--slice-time-ref F", "--tr S", "--bold FILE"}},
    {"confounds-to-motion", {"-o, --output FILE_3DMC.sdm", "--dummy N"}},
    {"design",
     {"--events FILE",
      "--tr S",
      "--volumes N",
      "--bold FILE",
      "--confounds TSV",
      "--columns PATTERNS",
      "--strategy simple|scrubbing|compcor",
      "--motion E",
      "--wm-csf E",
      "--global-signal E",
      "--compcor anat_combined|temporal",
      "--n-compcor N|all",
      "--high-pass",
      "--scrub N",
      "--fd-threshold MM",
      "--std-dvars-threshold X",
      "--hrf NAME",
      "--derivative",
      "--modulation COLUMN",
      "--modulation-na mean",
      "--slice-time-ref F",
      "--dummy N",
      "--z-transform",
      "-o, --output OUT.sdm",
      "--tsv OUT.tsv",
      "--plot DIR",
      "--qc DIR"}},
    {"bids-list",
     {"--task T", "--derivatives DIR", "-o, --out DIR", "--vtc PATTERN", "--conditions A,B,...",
      "--modulation COLUMN", "--fixation NAME", "--min-duration MS", "--dummy N",
      "--slice-time-ref F", "--qc DIR"}},
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CommandHelp, EachCommandShowsItsOwnHelpAndPointsToItOnAUsageError) {
    testsupport::TempDir dir;
    for (const CommandCase& command : kCommands) {
        SCOPED_TRACE(command.name);
        const testsupport::ProgramResult help =
            testsupport::runProgram(SDMWEAVER_PROGRAM, {command.name, "--help"}, dir.path());
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.err, "");
        EXPECT_TRUE(contains(help.out, "Usage:\n  sdmweaver " + command.name + " ")) << help.out;
        std::size_t listed = 0;
        std::istringstream lines(help.out);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(line.size(), 96U) << line;
            listed += line.starts_with("  -") && line != "  --help             Shows this text.";
        }
        EXPECT_EQ(listed, command.options.size()) << help.out;
        for (const std::string& option : command.options) {
            EXPECT_TRUE(contains(help.out, "\n  " + option + (option.size() < 18 ? " " : "\n")))
                << option;
        }
        for (const CommandCase& other : kCommands) {
            EXPECT_EQ(contains(help.out, "\n  sdmweaver " + other.name + " "),
                      other.name == command.name)
                << other.name;
        }
        const testsupport::ProgramResult wrong = testsupport::runProgram(
            SDMWEAVER_PROGRAM, {command.name, "--no-such-option"}, dir.path());
        EXPECT_EQ(wrong.status, 2);
        EXPECT_EQ(wrong.out, "");
        EXPECT_TRUE(contains(wrong.err, "unknown option --no-such-option\n")) << wrong.err;
        EXPECT_TRUE(contains(wrong.err, "sdmweaver: see sdmweaver " + command.name + " --help\n"))
            << wrong.err;
    }
}

}  // namespace
