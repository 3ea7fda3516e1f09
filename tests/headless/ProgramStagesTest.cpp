// The program's two stages as a host program of its own calls them through their exported names:
// what the first hands over, and what the second says for each outcome of the plug-in calls.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "headless/HostSession.h"
#include "headless/program/ProgramStages.h"

namespace {

class ProgramStages : public testing::Test {
  protected:
    void SetUp() override {
        headless::resetHostSession();
        headless::hostSession().console.redirect(out_, err_);
    }
    void TearDown() override {
        headless::resetHostSession();
        headless::hostSession().console.redirect(std::cout, std::cerr);
    }

    // sdmweaverPrepareRun with the program's name before the arguments, as main gets them.
    int prepare(std::vector<std::string> arguments, char* pluginPath, int size) {
        arguments.insert(arguments.begin(), "sdmweaver");
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        return sdmweaverPrepareRun(static_cast<int>(arguments.size()), argv.data(), pluginPath,
                                   size);
    }

    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(ProgramStages, PrepareEndsAUsageErrorAndHandsOverThePluginPathOnlyWhenItFits) {
    char path[64] = "unchanged";
    EXPECT_EQ(prepare({"--no-such-option"}, path, sizeof path), 2);
    EXPECT_STREQ(path, "unchanged");

    EXPECT_EQ(prepare({"--plugin", "/x/y.so"}, path, sizeof path), kSdmweaverReadyToRun);
    EXPECT_STREQ(path, "/x/y.so");

    err_.str("");
    char small[7] = "";  // one byte short of the path and its NUL
    EXPECT_EQ(prepare({"--plugin", "/x/y.so"}, small, sizeof small), 2);
    EXPECT_NE(err_.str().find("sdmweaver: the plug-in's path /x/y.so does not fit"),
              std::string::npos)
        << err_.str();
}

struct OutcomeCase {
    int outcome;
    int refusedSteps;
    int status;
    const char* said;  // the line before the summary, empty when none
};

TEST_F(ProgramStages, FinishSaysWhatEachOutcomeMeansAndEndsWithTheSummary) {
    const OutcomeCase cases[] = {
        {kSdmweaverNoObject, 0, 1, "the plug-in made no plug-in object"},
        {kSdmweaverInitFailed, 0, 1, "the plug-in could not start (initPlugin answered false)"},
        {kSdmweaverRunFailed, 0, 1, "the plug-in's run returned false"},
        {kSdmweaverRunSucceeded, 0, 0, ""},
        {kSdmweaverRunSucceeded, 2, 3, ""},
        {42, 0, 1, "the host program reported an unknown outcome 42"},
    };
    for (const OutcomeCase& outcome : cases) {
        SCOPED_TRACE(outcome.outcome);
        char path[256];
        ASSERT_EQ(prepare({}, path, sizeof path), kSdmweaverReadyToRun);
        headless::hostSession().refusedSteps = outcome.refusedSteps;
        err_.str("");
        EXPECT_EQ(sdmweaverFinishRun(outcome.outcome), outcome.status);
        std::string expected = *outcome.said != '\0'
                                   ? std::string("sdmweaver: ") + outcome.said + "\n"
                                   : std::string();
        expected += "sdmweaver: 0 design matrices saved by the host, " +
                    std::to_string(outcome.refusedSteps) + " step(s) refused; exit status " +
                    std::to_string(outcome.status) + "\n";
        EXPECT_EQ(err_.str(), expected);
    }
    EXPECT_EQ(out_.str(), "");
}

}  // namespace
