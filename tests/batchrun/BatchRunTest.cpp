// Whole batch runs through the scripted host: every question, log line, record exchange and
// failure row, compared with the transcripts kept under transcripts/.

#include "batch/BatchRun.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "plugin/PluginInfo.h"
#include "tests/batchrun/Protocols.h"
#include "tests/batchrun/ScriptedHost.h"
#include "tests/batchrun/Transcripts.h"
#include "tests/support/TestSupport.h"

namespace batchrun {
namespace {

constexpr char kExampleList[] =
    "2\n"
    "{dir}/s1/task1.prt\n"
    "{dir}/s1/run1.vtc\n"
    "{dir}/s1/run1_3DMC.sdm\n"
    "{dir}/s1/run1_HR.rtc\n"
    "{dir}/s1/run1_RVT.rtc\n"
    "{dir}/s1/task2.prt\n"
    "{dir}/s1/run2.vtc\n";

// A study folder with the two protocols the scripted host knows by name.
class StudyFolder {
  public:
    StudyFolder() {
        std::filesystem::create_directories(dir_.path() / "s1");
        std::filesystem::create_directories(dir_.path() / "my study");
    }

    std::string path() const { return dir_.path().string(); }

    // Answers 2-gamma, 1.0, no skip, z-transform; the list is written with "{dir}" filled in.
    HostScript script(const std::string& listText) const {
        HostScript s;
        s.yesNoAnswers = {1, 0, 1};
        s.predictorAnswer = 1.0f;
        s.nrOfVolumes = 6;
        const std::string listPath = dir_.file("list.txt");
        testsupport::writeFile(listPath, withDir(listText, path()));
        s.listPath = listPath;
        s.protocols["task1.prt"] = threeConditionProtocol(path() + "/s1/task1.prt");
        s.protocols["task2.prt"] = msecProtocol(path() + "/s1/task2.prt");
        return s;
    }

  private:
    testsupport::TempDir dir_;
};

struct RunCase {
    const char* name;  // also the transcript's file name
    const char* list;
    std::function<void(HostScript&, const std::string& dir)> adjust;
    bool result;
    std::vector<std::string> dispatched;  // "{dir}" is the study folder
};

class BatchRun : public testing::TestWithParam<RunCase> {};

TEST_P(BatchRun, PrintsItsTranscriptAndDispatchesItsConfounds) {
    const RunCase& c = GetParam();
    StudyFolder study;
    HostScript s = study.script(c.list);
    if (c.adjust) {
        c.adjust(s, study.path());
    }
    ScriptedHost host(std::move(s));
    RecordingDispatch dispatch;
    EXPECT_EQ(batch::runBatch(kPluginName, dispatch), c.result);
    expectTranscript(c.name, host.transcript(), study.path());
    std::vector<std::string> expected;
    for (const auto& call : c.dispatched) {
        expected.push_back(withDir(call, study.path()));
    }
    EXPECT_EQ(dispatch.calls(), expected);
}

const std::string kAllOfRun1 =
    "addAllConfounds({dir}/s1/run1_task1.sdm, {dir}/s1/run1_3DMC.sdm, {dir}/s1/run1_HR.rtc, "
    "{dir}/s1/run1_RVT.rtc, z=1)";

const RunCase kRunCases[] = {
    // The example list: confounds at positions 2 to 4 for the first protocol, none for the second.
    {"ExampleList", kExampleList, nullptr, true, {kAllOfRun1}},
    {"BoyntonSkippingTheFirstCondition",
     "1 {dir}/s1/task1.prt {dir}/s1/run1.vtc",
     [](HostScript& s, const std::string&) {
         s.yesNoAnswers = {0, 1, 0};
         s.predictorAnswer = 2.5f;
     },
     true,
     {}},
    // Runs that end early or skip a pair: a missing volume document, cancelled dialogs, a
    // declared count that differs, entries out of place.
    {"NoVolumeDocument",
     kExampleList,
     [](HostScript& s, const std::string&) { s.hasVolume = false; },
     false,
     {}},
    {"PredictorDialogCancelled",
     kExampleList,
     [](HostScript& s, const std::string&) { s.predictorAnswer = -101.0f; },
     true,
     {}},
    {"FileDialogCancelled",
     kExampleList,
     [](HostScript& s, const std::string&) { s.listPath.reset(); },
     true,
     {}},
    {"DeclaredCountDiffers",
     "3\n{dir}/s1/task1.prt {dir}/s1/run1.vtc {dir}/s1/task2.prt {dir}/s1/run2.vtc\n",
     nullptr,
     true,
     {}},
    {"ProtocolLast",
     "2\n{dir}/s1/task1.prt {dir}/s1/run1.vtc {dir}/s1/task2.prt\n",
     nullptr,
     true,
     {}},
    {"LinkRefusedForTheLastProtocol",
     kExampleList,
     [](HostScript& s, const std::string& dir) { s.refusedLinks.insert(dir + "/s1/run2.vtc"); },
     true,
     {kAllOfRun1}},
    {"LinkRefusedForTheFirstProtocol",
     kExampleList,
     [](HostScript& s, const std::string& dir) { s.refusedLinks.insert(dir + "/s1/run1.vtc"); },
     true,
     {}},
    {"NoTimeCourseHeader",
     kExampleList,
     [](HostScript& s, const std::string& dir) { s.missingHeaders.insert(dir + "/s1/run1.vtc"); },
     true,
     {}},
    {"SaveRefused",
     kExampleList,
     [](HostScript& s, const std::string& dir) {
         s.refusedSaves.insert(dir + "/s1/run1_task1.sdm");
     },
     true,
     {}},
    {"ProtocolNotAvailable",
     kExampleList,
     [](HostScript& s, const std::string&) { s.protocols.erase("task1.prt"); },
     true,
     {}},
    {"ListCannotBeOpened",
     kExampleList,
     [](HostScript& s, const std::string& dir) { s.listPath = dir + "/missing.txt"; },
     true,
     {}},
    // The list's edge cases.
    {"TwoProtocolsInARow",
     "2\n{dir}/s1/task1.prt {dir}/s1/task2.prt {dir}/s1/run2.vtc\n",
     nullptr,
     true,
     {}},
    {"TimeCourseNotDirectlyAfterItsProtocol",
     "1\n{dir}/s1/task1.prt {dir}/s1/notes.txt {dir}/s1/run1.vtc\n",
     nullptr,
     true,
     {}},
    {"HeadNotANumber", "{dir}/s1/task1.prt {dir}/s1/run1.vtc\n", nullptr, true, {}},
    {"OneCharacterTokenEndsTheList",
     "2\n{dir}/s1/task1.prt {dir}/s1/run1.vtc x {dir}/s1/task2.prt {dir}/s1/run2.vtc\n",
     nullptr,
     true,
     {}},
    {"ConfoundsBeforeTheFirstProtocol",
     "1\n{dir}/s1/run0_3DMC.sdm {dir}/s1/run0_HR.rtc {dir}/s1/task1.prt {dir}/s1/run1.vtc\n",
     nullptr,
     true,
     {}},
    {"TwoMotionFilesForOneProtocol",
     "1\n{dir}/s1/task1.prt {dir}/s1/run1.vtc {dir}/s1/a_3DMC.sdm {dir}/s1/b_3DMC.sdm\n",
     nullptr,
     true,
     {"addConfounds({dir}/s1/run1_task1.sdm, {dir}/s1/b_3DMC.sdm, -, -, z=1)"}},
    {"NoProtocolInTheList", "0\n{dir}/s1/notes.txt\n", nullptr, true, {}},
    {"QuotedEntries",
     "1\n\"{dir}/my study/task1.prt\" \"{dir}/my study/run1.vtc\" {dir}/my study/run1_HR.rtc\n",
     [](HostScript& s, const std::string& dir) {
         s.protocols["task1.prt"].fileName = dir + "/my study/task1.prt";
     },
     true,
     {"addConfounds({dir}/my study/run1_task1.sdm, -, study/run1_HR.rtc, -, z=1)"}},
};

INSTANTIATE_TEST_SUITE_P(Runs, BatchRun, testing::ValuesIn(kRunCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// The dialogs of a run as calls, in order.
std::vector<std::string> dialogs(const ScriptedHost& host) {
    std::vector<std::string> found;
    for (const auto& call : host.calls()) {
        if (call.starts_with("tkYesNo") || call.starts_with("tkGetFloat") ||
            call.starts_with("tkGetOpen") || call.starts_with("tkMessageBox")) {
            found.push_back(call);
        }
    }
    return found;
}

const std::string kHrfQuestion =
    "tkYesNoMessageBox(Would you like to apply the 2-gamma HRF (click 'Yes') or the Boynton HRF "
    "(click 'No')?)";
const std::string kValueDialog =
    "tkGetFloatInput(Please enter the value for the predictor:, 1, -100, 100)";
const std::string kSkipQuestion =
    "tkYesNoMessageBox(Skip first condition of protocol for creation of design matrix (if this is "
    "the fixation condition)?)";
const std::string kZQuestion = "tkYesNoMessageBox(Would you like to z-transform the confound(s)?)";
const std::string kFileDialog =
    "tkGetOpenFileName(Please select the file list, \"\", PRT-VTC(-SDM) file list (*.txt))";

TEST(BatchRunDialogs, AreAskedInOrderWithTheirTexts) {
    StudyFolder study;
    ScriptedHost host(study.script(kExampleList));
    batch::runBatch(kPluginName, RecordingDispatch());
    EXPECT_EQ(dialogs(host), (std::vector<std::string>{kHrfQuestion, kValueDialog, kSkipQuestion,
                                                       kZQuestion, kFileDialog}));
}

TEST(BatchRunDialogs, ACancelledValueStillAsksTheLastTwoQuestionsButShowsNoFileDialog) {
    StudyFolder study;
    HostScript s = study.script(kExampleList);
    s.predictorAnswer = -101.0f;
    ScriptedHost host(std::move(s));
    EXPECT_TRUE(batch::runBatch(kPluginName, RecordingDispatch()));
    EXPECT_EQ(dialogs(host),
              (std::vector<std::string>{kHrfQuestion, kValueDialog, kSkipQuestion, kZQuestion}));
}

TEST(BatchRunDialogs, WithoutAVolumeOnlyTheMessageIsShown) {
    StudyFolder study;
    HostScript s = study.script(kExampleList);
    s.hasVolume = false;
    ScriptedHost host(std::move(s));
    EXPECT_FALSE(batch::runBatch(kPluginName, RecordingDispatch()));
    EXPECT_EQ(dialogs(host),
              std::vector<std::string>{"tkMessageBox(This plugin requires that a VMR document is "
                                       "available and selected in Zemlar.)"});
}

TEST(BatchRunProtocol, IsLinkedNamedInTheHeaderBuiltAndSavedInThatOrder) {
    StudyFolder study;
    ScriptedHost host(study.script(kExampleList));
    batch::runBatch(kPluginName, RecordingDispatch());
    const std::string dir = study.path();
    std::vector<std::string> steps;
    for (const auto& call : host.calls()) {
        if (call.starts_with("tkLink") || call.starts_with("tkGetHeader") ||
            call.starts_with("tkClear") || call.starts_with("tkSetHeader") ||
            call == "tkGetProtocol" || call.starts_with("tkSave")) {
            steps.push_back(call);
        }
    }
    const std::vector<std::string> expected = {
        "tkLinkVTCToCurrentVMR(" + dir + "/s1/run1.vtc, 1)",
        "tkGetHeaderOfVTCOfCurrentVMR",
        "tkClearProtocol(false)",
        "tkClearDesignMatrix",
        "tkSetHeaderOfVTCOfCurrentVMR(task1.prt)",
        "tkGetProtocol",
        "tkClearDesignMatrix",
        "tkSaveSingleStudyGLMDesignMatrix(" + dir + "/s1/run1_task1.sdm)",
        "tkLinkVTCToCurrentVMR(" + dir + "/s1/run2.vtc, 1)",
        "tkGetHeaderOfVTCOfCurrentVMR",
        "tkClearProtocol(false)",
        "tkClearDesignMatrix",
        "tkSetHeaderOfVTCOfCurrentVMR(task2.prt)",
        "tkGetProtocol",
        "tkClearDesignMatrix",
        "tkSaveSingleStudyGLMDesignMatrix(" + dir + "/s1/run2_task2.sdm)",
    };
    EXPECT_EQ(steps, expected);
    EXPECT_FALSE(testsupport::readFile(dir + "/s1/run1_task1.sdm").empty());
    EXPECT_FALSE(testsupport::readFile(dir + "/s1/run2_task2.sdm").empty());
}

TEST(BatchRunProtocol, HandsTheHeaderBackChangedOnlyInTheProtocolName) {
    StudyFolder study;
    ScriptedHost host(study.script(kExampleList));
    batch::runBatch(kPluginName, RecordingDispatch());
    ASSERT_EQ(host.headersSet().size(), 2u);
    host::VtcHeaderRecord expected = ScriptedHost::headerTemplate();
    expected.nrOfVolumes = 6;
    std::memcpy(expected.linkedProtocolName, "task1.prt", sizeof "task1.prt");
    EXPECT_EQ(std::memcmp(&host.headersSet()[0], &expected, sizeof expected), 0);
}

TEST(BatchRunLongTexts, AreCarriedWholeExceptTheNameInTheHeader) {
    StudyFolder study;
    std::string folder = "s1";
    for (int i = 0; i < 12; ++i) {
        folder += "/" + std::string(50, static_cast<char>('a' + i));
    }
    std::filesystem::create_directories(study.path() + "/" + folder);
    const std::string protocolName = std::string(600, 't') + ".prt";
    const std::string vtc = study.path() + "/" + folder + "/run1.vtc";
    HostScript s = study.script("1 {dir}/s1/" + protocolName + " " + vtc + "\n");
    s.protocols[protocolName.substr(0, 511)] = threeConditionProtocol(study.path() + "/s1/t.prt");
    ScriptedHost host(std::move(s));
    batch::runBatch(kPluginName, RecordingDispatch());

    const auto& log = host.log();
    const auto logged = [&](const std::string& line) {
        return std::find(log.begin(), log.end(), line) != log.end();
    };
    EXPECT_TRUE(logged("\nLoad " + vtc + " to VMR..."));
    EXPECT_TRUE(logged("Linking " + protocolName + " to VTC..."));
    const std::string sdm = study.path() + "/" + folder + "/run1_t.sdm";
    EXPECT_TRUE(logged("New SDM name: " + sdm));
    EXPECT_EQ(host.savedPaths(), std::vector<std::string>{sdm});
    ASSERT_EQ(host.headersSet().size(), 1u);
    EXPECT_EQ(std::string(host.headersSet()[0].linkedProtocolName), protocolName.substr(0, 511));
}

}  // namespace
}  // namespace batchrun
