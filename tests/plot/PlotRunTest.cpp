// Drawing a list of files into a folder: picture names, the lines said for each file, and what
// happens to a file that cannot be read or a picture that cannot be written.

#include <gtest/gtest.h>

#include "plot/PlotRun.h"
#include "tests/plot/DesignFiles.h"
#include "tests/support/TestSupport.h"

namespace {

using plot::pictureNames;
using plot::plotDesignMatrices;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

struct Said {
    std::vector<std::string> lines;
    plot::Say say() {
        return [this](std::string_view prefix, std::string_view text) {
            lines.push_back(std::string(prefix) + std::string(text));
        };
    }
};

TEST(PictureNames, AppendSvgAndNumberAFileNameMetAgain) {
    const std::vector<std::string> paths = {"s1/run1_task.sdm", "s2/run1_task.sdm", "run1_HR.rtc",
                                            "S3/RUN1_TASK.sdm", "run1_HR.sdm"};
    std::vector<std::string> names;
    for (const auto& name : pictureNames(paths, "pics")) {
        names.push_back(name.generic_string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"pics/run1_task.sdm.svg", "pics/run1_task.sdm-2.svg",
                                               "pics/run1_HR.rtc.svg", "pics/RUN1_TASK.sdm-3.svg",
                                               "pics/run1_HR.sdm.svg"}));
}

TEST(PlotRun, DrawsEachFileAndSaysItsCheckAndWhereThePictureWent) {
    TempDir dir;
    const auto table = plottest::generatedDesign(4, 60, 3, true, 3);
    writeFile(dir.file("run1.sdm"), plottest::sdmText(table, 1, 3));
    writeFile(dir.file("run1_HR.rtc"),
              plottest::rtcText(plottest::generatedDesign(2, 60, 4, false)));
    writeFile(dir.file("cut.sdm"), "FileVersion: 1\n\nNrOfPredictors: 9\nNrOfDataPoints: 60\n");
    const std::string pictures = dir.file("pictures");
    std::filesystem::create_directory(pictures);
    Said said;
    const auto outcome = plotDesignMatrices({dir.file("run1.sdm"), dir.file("cut.sdm"),
                                             dir.file("absent.sdm"), dir.file("run1_HR.rtc")},
                                            pictures, said.say());
    EXPECT_EQ(outcome.drawn, 2u);
    EXPECT_EQ(outcome.failed, 2u);
    EXPECT_TRUE(readFile(dir.file("pictures/run1.sdm.svg")).starts_with("<?xml"));
    EXPECT_TRUE(readFile(dir.file("pictures/run1_HR.rtc.svg")).starts_with("<?xml"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("pictures/cut.sdm.svg")));
    ASSERT_EQ(said.lines.size(), 2u + 1u + 1u + 1u + 2u + 1u);
    EXPECT_TRUE(
        said.lines[0].starts_with("check: " + dir.file("run1.sdm") + ": largest correlation r = "))
        << said.lines[0];
    EXPECT_EQ(said.lines[2], "sdmweaver: picture of " + dir.file("run1.sdm") + ": " +
                                 (std::filesystem::path(pictures) / "run1.sdm.svg").string());
    EXPECT_EQ(said.lines[3], "sdmweaver: no picture of " + dir.file("cut.sdm") + ": " +
                                 dir.file("cut.sdm") +
                                 ": its header is incomplete or holds a count that is not a whole "
                                 "number");
    EXPECT_EQ(said.lines[4], "sdmweaver: no picture of " + dir.file("absent.sdm") + ": " +
                                 dir.file("absent.sdm") + ": cannot be opened");
}

TEST(PlotRun, SaysWhenAPictureCannotBeWritten) {
    TempDir dir;
    writeFile(dir.file("run1.sdm"), plottest::sdmText(plottest::generatedDesign(2, 50, 1), 1, 2));
    Said said;
    const auto outcome =
        plotDesignMatrices({dir.file("run1.sdm")}, dir.file("no/such/folder"), said.say());
    EXPECT_EQ(outcome.drawn, 0u);
    EXPECT_EQ(outcome.failed, 1u);
    ASSERT_FALSE(said.lines.empty());
    EXPECT_TRUE(said.lines.back().starts_with("sdmweaver: no picture of " + dir.file("run1.sdm") +
                                              ": cannot open "))
        << said.lines.back();
}

TEST(PlotRun, APictureNameThatIsAnInputIsRefusedAndTheInputKept) {
    TempDir dir;
    const std::string input = dir.file("run1.sdm");
    writeFile(input, plottest::sdmText(plottest::generatedDesign(2, 50, 1), 1, 2));
    const std::string before = readFile(input);
    std::filesystem::create_directory(dir.file("pictures"));
    std::error_code error;
    std::filesystem::create_hard_link(input, dir.file("pictures/run1.sdm.svg"), error);
    if (error) {
        GTEST_SKIP() << "no hard links here: " << error.message();
    }
    Said said;
    const auto outcome = plotDesignMatrices({input}, dir.file("pictures"), said.say());
    EXPECT_EQ(outcome.failed, 1u);
    EXPECT_EQ(readFile(input), before);
    ASSERT_FALSE(said.lines.empty());
    EXPECT_EQ(said.lines.back(),
              "sdmweaver: no picture of " + input + ": " +
                  (std::filesystem::path(dir.file("pictures")) / "run1.sdm.svg").string() + " is " +
                  input + ", which it would replace");
}

}  // namespace
