// The host operations, called in-process through their exported names, as the plug-in calls
// them: dialogs and log, documents, the protocol lookup and records, the design matrix.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "headless/HostExports.h"
#include "headless/HostSession.h"
#include "headless/program/CommandLine.h"
#include "tests/support/DocumentBytes.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;
using testsupport::writeFile;

// A path as the host reports the files it found or looked for: normalised, in the platform's own
// form (on Windows with '\\' between names).
std::string hostForm(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

constexpr char kProtocol[] =
    "FileVersion: 2\nResolutionOfTime: Volumes\nExperiment: Two tasks\n"
    "BackgroundColor: 10 20 30\nNrOfConditions: 3\n\n"
    "Rest\n2\n1 5\n11 15\nColor: 100 100 100\n\n"
    "Left hand\n1\n6 10\nColor: 255 128 0\n\n"
    "Right\n1\n16 20\nColor: 0 0 255\n";

class HostOperations : public testing::Test {
  protected:
    void SetUp() override {
        headless::resetHostSession();
        session().console.redirect(out_, err_);
    }
    void TearDown() override {
        headless::resetHostSession();
        session().console.redirect(std::cout, std::cerr);
    }

    static headless::HostSession& session() { return headless::hostSession(); }
    std::string out() const { return out_.str(); }
    std::string err() const { return err_.str(); }
    bool errorSays(const std::string& text) const { return err().find(text) != std::string::npos; }

    // A study folder with a volume document (opened) and a 20-volume time course.
    void openStudy(const std::vector<std::string>& linkedProtocols = {}) {
        writeFile(dir_.file("anatomy.vmr"), testsupport::volumeDocumentBytes(8, 8, 8));
        std::string error;
        ASSERT_TRUE(session().openVolumeDocument(dir_.file("anatomy.vmr"), error)) << error;
        testsupport::TimeCourseSpec spec;
        spec.volumes = 20;
        spec.protocols = linkedProtocols;
        writeFile(dir_.file("run1.vtc"), testsupport::timeCourseBytes(spec));
    }
    // Links run1.vtc and names `protocol` in its header, as the plug-in does.
    int linkAndName(const std::string& protocol) {
        if (tkLinkVTCToCurrentVMR(dir_.file("run1.vtc").c_str(), 1) != 1) {
            return -1;
        }
        host::VtcHeaderRecord header;
        EXPECT_EQ(tkGetHeaderOfVTCOfCurrentVMR(&header), 1);
        std::strcpy(header.linkedProtocolName, protocol.c_str());
        return tkSetHeaderOfVTCOfCurrentVMR(&header);
    }

    TempDir dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

struct DialogCase {
    const char* what;
    std::vector<std::string> arguments;
    int hrf;
    float value;
    int skip;
    int zTransform;
    const char* list;  // null: the file dialog answers no file
};

void PrintTo(const DialogCase& value, std::ostream* out) {
    *out << value.what;
}

class DialogsAnsweredFromOptions : public HostOperations,
                                   public testing::WithParamInterface<DialogCase> {};

TEST_P(DialogsAnsweredFromOptions, InTheOrderThePlugInAsks) {
    const DialogCase& c = GetParam();
    const auto commandLine = headless::parseCommandLine(c.arguments);
    ASSERT_EQ(commandLine.error, "");
    headless::addDialogAnswers(commandLine.options, session().answers);

    EXPECT_EQ(tkYesNoMessageBox("Which response function?"), c.hrf);
    EXPECT_EQ(tkGetFloatInput("Value?", 1.0f, -100.0f, 100.0f), c.value);
    EXPECT_EQ(tkYesNoMessageBox("Skip?"), c.skip);
    EXPECT_EQ(tkYesNoMessageBox("z-transform?"), c.zTransform);
    char path[512] = "untouched";
    EXPECT_EQ(tkGetOpenFileName("List", "", "*.txt", path), c.list != nullptr ? 1 : 0);
    EXPECT_STREQ(path, c.list != nullptr ? c.list : "untouched");

    // Any further dialog answers as one the user closed.
    EXPECT_EQ(tkYesNoMessageBox("More?"), 0);
    EXPECT_EQ(tkGetFloatInput("More?", 0.0f, 5.0f, 10.0f), 4.0f);
    EXPECT_EQ(tkGetOpenFileName("More", "", "", path), 0);
    EXPECT_TRUE(errorSays("question: Which response function?\nanswer: "));
    EXPECT_TRUE(errorSays("answer: No (no answer given: the dialog was closed)"));
    EXPECT_EQ(out(), "") << "dialogs never reach the log";
}

INSTANTIATE_TEST_SUITE_P(
    Options, DialogsAnsweredFromOptions,
    testing::Values(
        DialogCase{"Defaults", {}, 1, 1.0f, 0, 0, nullptr},
        DialogCase{"EveryOption",
                   {"--hrf", "boynton", "--value=-2.5", "--skip-first", "--z-transform", "--list",
                    "/data/study list.txt"},
                   0,
                   -2.5f,
                   1,
                   1,
                   "/data/study list.txt"},
        DialogCase{
            "TwoGammaExplicitly", {"--hrf=two-gamma", "--value", "100"}, 1, 100.0f, 0, 0, nullptr},
        DialogCase{
            "CancelledValue", {"--value", "cancel", "--list", "l.txt"}, 1, -101.0f, 0, 0, "l.txt"}),
    [](const testing::TestParamInfo<DialogCase>& testCase) { return testCase.param.what; });

TEST_F(HostOperations, NumberOutsideTheDialogsRangeAnswersAsClosed) {
    session().answers.addNumber({false, 50.0f});
    EXPECT_EQ(tkGetFloatInput("Value?", 1.0f, -10.0f, 10.0f), -11.0f);
    EXPECT_TRUE(errorSays("lies outside the dialog's range"));
}

TEST_F(HostOperations, LogGoesToStandardOutputAloneEachEntryFollowedByOneLineBreak) {
    const std::string logPath = dir_.file("run.log");
    ASSERT_TRUE(session().console.openLogFile(logPath));
    tkShowLogTab();
    tkLogText("\nsdmweaver (v0.8.4.2)> Started...");
    tkMessageBox("Two\nlines");
    tkLogText("Protocol file name: a\nExperiment name: b\n");
    tkLogText("Finished.\n");
    const std::string expected =
        "\nsdmweaver (v0.8.4.2)> Started...\nProtocol file name: a\nExperiment name: b\n\n"
        "Finished.\n\n";
    EXPECT_EQ(out(), expected);
    EXPECT_EQ(err(), "message: Two\nmessage: lines\n");
    headless::resetHostSession();
    session().console.openLogFile(dir_.file("other.log"));  // closes run.log
    EXPECT_EQ(testsupport::readText(logPath), expected);
}

TEST_F(HostOperations, ReportsTheDefaultVersionOrTheOneSet) {
    int version[3] = {};
    EXPECT_EQ(tkGetVersionOfZemlarTK(&version[0], &version[1], &version[2]), 1);
    EXPECT_EQ(std::vector<int>(version, version + 3), (std::vector<int>{3, 0, 0}));
    session().version = {2, 9, 8};
    tkGetVersionOfZemlarTK(&version[0], &version[1], &version[2]);
    EXPECT_EQ(std::vector<int>(version, version + 3), (std::vector<int>{2, 9, 8}));
}

TEST_F(HostOperations, VolumeDocumentQueryAnswersItsDimensionsWhileOneIsOpen) {
    int dims[3] = {-1, -1, -1};
    EXPECT_EQ(tkGetCurrentVMR(&dims[0], &dims[1], &dims[2]), nullptr);
    openStudy();
    EXPECT_NE(tkGetCurrentVMR(&dims[0], &dims[1], &dims[2]), nullptr);
    EXPECT_EQ(std::vector<int>(dims, dims + 3), (std::vector<int>{8, 8, 8}));
}

TEST_F(HostOperations, LinkingNeedsAVolumeDocumentAndAValidTimeCourse) {
    testsupport::TimeCourseSpec spec;
    writeFile(dir_.file("run1.vtc"), testsupport::timeCourseBytes(spec));
    EXPECT_EQ(tkLinkVTCToCurrentVMR(dir_.file("run1.vtc").c_str(), 1), 0);
    EXPECT_TRUE(errorSays("no volume document is open"));
    openStudy();
    spec.fileVersion = 2;
    writeFile(dir_.file("old.vtc"), testsupport::timeCourseBytes(spec));
    EXPECT_EQ(tkLinkVTCToCurrentVMR(dir_.file("old.vtc").c_str(), 1), 0);
    EXPECT_TRUE(errorSays("has file version 2; only version 3 is supported"));
    host::VtcHeaderRecord header{};
    EXPECT_EQ(tkGetHeaderOfVTCOfCurrentVMR(&header), 0);
    EXPECT_EQ(session().refusedSteps, 3);
}

TEST_F(HostOperations, HeaderRecordCarriesTheVolumesAndTheLinkedProtocolName) {
    openStudy({"linked.prt"});
    ASSERT_EQ(tkLinkVTCToCurrentVMR(dir_.file("run1.vtc").c_str(), 1), 1);
    host::VtcHeaderRecord header;
    std::memset(&header, 0x5A, sizeof header);
    ASSERT_EQ(tkGetHeaderOfVTCOfCurrentVMR(&header), 1);
    EXPECT_EQ(header.nrOfVolumes, 20);
    EXPECT_STREQ(header.linkedProtocolName, "linked.prt");
    EXPECT_EQ(session().refusedSteps, 0);
}

TEST_F(HostOperations, FindsTheNamedProtocolBesideTheTimeCourse) {
    openStudy();
    writeFile(dir_.file("task.prt"), kProtocol);
    ASSERT_EQ(linkAndName("task.prt"), 1) << err();
    host::ProtocolRecord record;
    ASSERT_EQ(tkGetProtocol(&record), 1);
    EXPECT_EQ(record.fileName, hostForm(dir_.file("task.prt")));
    EXPECT_TRUE(errorSays("protocol task.prt found beside the time course: "));
    // The header now carries the name the plug-in gave.
    host::VtcHeaderRecord header;
    tkGetHeaderOfVTCOfCurrentVMR(&header);
    EXPECT_STREQ(header.linkedProtocolName, "task.prt");
}

TEST_F(HostOperations, FindsTheProtocolBesideTheVolumeDocumentOrAsGivenWhenAbsolute) {
    std::filesystem::create_directory(dir_.path() / "runs");
    openStudy();
    std::filesystem::rename(dir_.file("run1.vtc"), dir_.path() / "runs" / "run1.vtc");
    writeFile(dir_.file("task.prt"), kProtocol);
    ASSERT_EQ(tkLinkVTCToCurrentVMR((dir_.path() / "runs" / "run1.vtc").string().c_str(), 1), 1);
    host::VtcHeaderRecord header;
    tkGetHeaderOfVTCOfCurrentVMR(&header);
    std::strcpy(header.linkedProtocolName, "task.prt");
    EXPECT_EQ(tkSetHeaderOfVTCOfCurrentVMR(&header), 1);
    EXPECT_TRUE(errorSays("found beside the volume document"));

    const std::string absolute = (dir_.path() / "elsewhere.prt").string();
    writeFile(absolute, kProtocol);
    tkClearProtocol(false);
    std::strcpy(header.linkedProtocolName, absolute.c_str());
    EXPECT_EQ(tkSetHeaderOfVTCOfCurrentVMR(&header), 1);
    EXPECT_TRUE(errorSays("found as given"));
    EXPECT_EQ(session().protocol->fileName, hostForm(absolute));
}

TEST_F(HostOperations, AMissingOrMalformedProtocolLeavesNoCurrentProtocol) {
    openStudy();
    EXPECT_EQ(linkAndName("absent.prt"), 0);
    EXPECT_TRUE(errorSays("host: protocol absent.prt not found; looked at:\nhost:   " +
                          hostForm(dir_.file("absent.prt"))));
    host::ProtocolRecord record;
    EXPECT_EQ(tkGetProtocol(&record), 0);

    writeFile(dir_.file("broken.prt"), "FileVersion: 2\nNrOfConditions: 1\nTask\nthree\n");
    EXPECT_EQ(linkAndName("broken.prt"), 0);
    EXPECT_TRUE(
        errorSays("broken.prt, line 4: expected one whole number for the number of "
                  "intervals"));
    EXPECT_FALSE(session().protocol);
    EXPECT_EQ(session().refusedSteps, 3);
}

TEST_F(HostOperations, RefusesAHeaderWhoseHostBytesThePlugInChanged) {
    openStudy();
    writeFile(dir_.file("task.prt"), kProtocol);
    ASSERT_EQ(tkLinkVTCToCurrentVMR(dir_.file("run1.vtc").c_str(), 1), 1);
    host::VtcHeaderRecord header;
    tkGetHeaderOfVTCOfCurrentVMR(&header);
    std::strcpy(header.linkedProtocolName, "task.prt");
    header.hostBytesBeforeName[10] ^= 1;
    EXPECT_EQ(tkSetHeaderOfVTCOfCurrentVMR(&header), 0);
    EXPECT_TRUE(errorSays("bytes changed that are not the protocol name"));
    header.hostBytesBeforeName[10] ^= 1;
    header.nrOfVolumes = 99;
    EXPECT_EQ(tkSetHeaderOfVTCOfCurrentVMR(&header), 0);
    header.nrOfVolumes = 20;
    std::memset(header.linkedProtocolName, 'x', sizeof header.linkedProtocolName);
    EXPECT_EQ(tkSetHeaderOfVTCOfCurrentVMR(&header), 0);
    EXPECT_TRUE(errorSays("no terminating NUL"));
    // A name padded with zeros to the end of its field is fine.
    std::memset(header.linkedProtocolName, 0, sizeof header.linkedProtocolName);
    std::strcpy(header.linkedProtocolName, "task.prt");
    EXPECT_EQ(tkSetHeaderOfVTCOfCurrentVMR(&header), 1);
    EXPECT_TRUE(session().protocol);
}

TEST_F(HostOperations, ProtocolRecordsCarryTheProtocolAndHostOwnedIntervals) {
    openStudy();
    writeFile(dir_.file("task.prt"), kProtocol);
    ASSERT_EQ(linkAndName("task.prt"), 1);
    host::ProtocolRecord record;
    ASSERT_EQ(tkGetProtocol(&record), 1);
    EXPECT_EQ(record.nrOfConditions, 3);
    EXPECT_STREQ(record.experimentName, "Two tasks");
    EXPECT_EQ(record.timeResolution, 1);
    EXPECT_EQ(record.backgroundColor, 0x0A141E);
    EXPECT_EQ(record.referenceTimeCourseColor, 0xC0C0C0);
    EXPECT_EQ(record.referenceTimeCoursePenThickness, 2);

    host::ProtocolConditionRecord condition;
    ASSERT_EQ(tkGetProtocolCondition(0, &condition), 1);
    EXPECT_STREQ(condition.name, "Rest");
    ASSERT_EQ(condition.nrOfIntervals, 2);
    EXPECT_EQ(condition.intervalStarts[1], 11);
    EXPECT_EQ(condition.intervalEnds[1], 15);
    EXPECT_EQ(condition.color, 0x646464);
    ASSERT_EQ(tkGetProtocolCondition(1, &condition), 1);
    EXPECT_STREQ(condition.name, "Left hand");
    EXPECT_EQ(tkGetProtocolCondition(3, &condition), 0);
    EXPECT_EQ(tkGetProtocolCondition(-1, &condition), 0);
}

TEST_F(HostOperations, TextsLongerThanTheirFieldAreCutAndNeverSpill) {
    openStudy();
    const std::string experiment(400, 'e');
    const std::string name(300, 'n');
    writeFile(dir_.file("long.prt"), "Experiment: " + experiment + "\nNrOfConditions: 1\n" + name +
                                         "\n1\n1 4\nColor: 1 2 3\n");
    ASSERT_EQ(linkAndName("long.prt"), 1) << err();
    host::ProtocolRecord record;
    std::memset(&record, 0x7F, sizeof record);
    ASSERT_EQ(tkGetProtocol(&record), 1);
    EXPECT_EQ(std::string(record.experimentName), experiment.substr(0, 302));
    EXPECT_EQ(record.timeResolution, 1) << "the next field is intact";
    EXPECT_TRUE(
        errorSays("the protocol's experiment name has 400 characters; the record holds "
                  "its first 302"));
    host::ProtocolConditionRecord condition;
    std::memset(&condition, 0x7F, sizeof condition);
    ASSERT_EQ(tkGetProtocolCondition(0, &condition), 1);
    EXPECT_EQ(std::string(condition.name), name.substr(0, 255));
    EXPECT_EQ(condition.nrOfIntervals, 1);
    // The plug-in works on with the name as the record holds it.
    EXPECT_EQ(tkAddPredictor(condition.name), 1);
    EXPECT_EQ(tkSetPredictorValuesFromConditionName(condition.name, condition.name, 1.0f), 1);
    EXPECT_EQ(session().refusedSteps, 0);
}

TEST_F(HostOperations, BuildAndSaveADesignMatrixAsThePlugInDrivesIt) {
    openStudy();
    writeFile(dir_.file("task.prt"), kProtocol);
    ASSERT_EQ(linkAndName("task.prt"), 1);
    EXPECT_EQ(tkClearDesignMatrix(), 1);
    for (const char* name : {"Left hand", "Right"}) {  // the first condition skipped
        EXPECT_EQ(tkAddPredictor(name), 1);
        EXPECT_EQ(tkSetPredictorValuesFromConditionName(name, name, 2.0f), 1);
        EXPECT_EQ(tkApplyBoyntonHRFToPredictorWithName(name), 1);
    }
    EXPECT_EQ(tkAddPredictor("Constant"), 1);
    float* constant = tkGetPredictor(2);
    ASSERT_NE(constant, nullptr);
    std::fill(constant, constant + 20, 1.0f);
    EXPECT_EQ(tkGetPredictor(3), nullptr);

    const std::string path = dir_.file("run1_task.sdm");
    ASSERT_EQ(tkSaveSingleStudyGLMDesignMatrix(path.c_str()), 1);
    const std::string text = testsupport::readText(path);
    EXPECT_TRUE(
        text.starts_with("FileVersion:             1\n\nNrOfPredictors:          3\n"
                         "NrOfDataPoints:          20\nIncludesConstant:        1\n"
                         "FirstConfoundPredictor:  3\n\n"
                         "255 128 0   0 0 255   255 255 255\n"
                         "\"Left hand\" \"Right\" \"Constant\"\n"))
        << text;
    EXPECT_EQ(session().savedDesignMatrices, std::vector<std::string>{path});
    EXPECT_EQ(session().refusedSteps, 0);
    EXPECT_TRUE(errorSays("saved design matrix " + path + " (3 predictors, 20 data points)"));
}

TEST_F(HostOperations, RefusesDesignMatrixStepsItCannotTake) {
    EXPECT_EQ(tkAddPredictor("A"), 0);
    EXPECT_TRUE(errorSays("predictor 'A' not added: no time course is linked"));
    openStudy();
    writeFile(dir_.file("task.prt"), kProtocol);
    ASSERT_EQ(linkAndName("task.prt"), 1);
    EXPECT_EQ(tkSaveSingleStudyGLMDesignMatrix(dir_.file("empty.sdm").c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("empty.sdm")));
    EXPECT_EQ(tkSetPredictorValuesFromConditionName("Rest", "Rest", 1.0f), 0);
    tkAddPredictor("Rest");
    EXPECT_EQ(tkSetPredictorValuesFromConditionName("Rest", "Sleep", 1.0f), 0);
    EXPECT_EQ(tkApplyTwoGammaHRFToPredictorWithName("Sleep"), 0);
    EXPECT_EQ(tkSaveSingleStudyGLMDesignMatrix(dir_.file("no/such/folder.sdm").c_str()), 0);
    EXPECT_EQ(session().refusedSteps, 6);
    EXPECT_TRUE(session().savedDesignMatrices.empty());
}

}  // namespace
