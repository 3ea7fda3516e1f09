// The program's two stages as a host program of its own calls them through their exported names:
// what the first hands over, and what the second says for each outcome of the plug-in calls.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "headless/HostSession.h"
#include "headless/program/ProgramStages.h"

namespace {

constexpr char kPlugin[] = SDMWEAVER_PLUGIN_PATH;

class ProgramStages : public testing::Test {
  protected:
    void SetUp() override {
        headless::resetHostSession();
        headless::hostSession().console.redirect(out_, err_);
        // The program's own notes go to standard error itself.
        standardError_ = std::cerr.rdbuf(err_.rdbuf());
    }
    void TearDown() override {
        std::cerr.rdbuf(standardError_);
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
    std::streambuf* standardError_ = nullptr;
};

TEST_F(ProgramStages, PrepareEndsAUsageErrorAndHandsOverThePluginPathOnlyWhenItFits) {
    char path[1024] = "unchanged";
    EXPECT_EQ(prepare({"--no-such-option"}, path, sizeof path), 2);
    EXPECT_EQ(prepare({"--plugin", "/x/y.so"}, path, sizeof path), 2);
    EXPECT_NE(err_.str().find("sdmweaver: cannot load the plug-in /x/y.so"), std::string::npos)
        << err_.str();
    EXPECT_STREQ(path, "unchanged");
    EXPECT_EQ(prepare({"--plugin", kPlugin, "--plot", "pictures"}, path, sizeof path), 2)
        << "pictures are the sdmweaver program's";
    EXPECT_STREQ(path, "unchanged");

    EXPECT_EQ(prepare({"--plugin", kPlugin}, path, sizeof path), kSdmweaverReadyToRun);
    EXPECT_STREQ(path, kPlugin);

    err_.str("");
    std::vector<char> small(std::string(kPlugin).size());  // one byte short of the path's NUL
    EXPECT_EQ(prepare({"--plugin", kPlugin}, small.data(), static_cast<int>(small.size())), 2);
    EXPECT_NE(
        err_.str().find(std::string("sdmweaver: the plug-in's path ") + kPlugin + " does not fit"),
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
        char path[1024];
        ASSERT_EQ(prepare({"--plugin", kPlugin}, path, sizeof path), kSdmweaverReadyToRun);
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
