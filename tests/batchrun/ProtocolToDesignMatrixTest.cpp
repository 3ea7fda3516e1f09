// The design matrix of one protocol: dumps, predictors, constant and saved path, through the
// scripted host.

#include "designmatrix/ProtocolToDesignMatrix.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/batchrun/Protocols.h"
#include "tests/batchrun/ScriptedHost.h"
#include "tests/batchrun/Transcripts.h"
#include "tests/support/TestSupport.h"

namespace batchrun {
namespace {

constexpr int kVolumes = 6;

class ProtocolToDesignMatrix : public testing::Test {
  protected:
    std::string folder() const { return dir.path().string(); }

    // A script serving threeConditionProtocol as "task.prt" (and in milliseconds as "msec.prt").
    HostScript script() const {
        HostScript s;
        s.nrOfVolumes = kVolumes;
        s.protocols["task.prt"] = threeConditionProtocol(dir.file("task.prt"));
        s.protocols["msec.prt"] = threeConditionProtocol(dir.file("msec.prt"));
        s.protocols["msec.prt"].timeResolution = 2;
        return s;
    }

    // The calls other than logging, in order.
    static std::vector<std::string> hostCalls(const ScriptedHost& host) {
        std::vector<std::string> calls;
        for (const auto& call : host.calls()) {
            if (call != "tkLogText") {
                calls.push_back(call);
            }
        }
        return calls;
    }

    bool build(int hrfKind, bool logProtocol, float value, bool skipFirst,
               const std::string& vtcPath) {
        return designmatrix::buildDesignMatrixFromProtocol(hrfKind, logProtocol, value, skipFirst,
                                                           true, kVolumes, sdmPath, vtcPath);
    }

    testsupport::TempDir dir;
    std::optional<std::string> sdmPath;
};

TEST_F(ProtocolToDesignMatrix, TwoGammaOverEveryConditionFillsTheFourthPredictorAsConstant) {
    ScriptedHost host(script());
    host.loadProtocol("task.prt");
    ASSERT_TRUE(build(1, true, 2.5f, false, dir.file("run1.vtc")));

    EXPECT_EQ(sdmPath, dir.file("run1_task.sdm"));
    expectTranscript("ProtocolTwoGammaEveryCondition", host.transcript(), folder());
    const std::vector<std::string> expected = {
        "tkGetProtocol",
        "tkGetProtocolCondition(0)",
        "tkGetProtocolCondition(1)",
        "tkGetProtocolCondition(2)",
        "tkClearDesignMatrix",
        "tkAddPredictor(Rest)",
        "tkSetPredictorValuesFromConditionName(Rest, Rest, 2.500000)",
        "tkApplyTwoGammaHRFToPredictorWithName(Rest)",
        "tkAddPredictor(Faces)",
        "tkSetPredictorValuesFromConditionName(Faces, Faces, 2.500000)",
        "tkApplyTwoGammaHRFToPredictorWithName(Faces)",
        "tkAddPredictor(Houses)",
        "tkSetPredictorValuesFromConditionName(Houses, Houses, 2.500000)",
        "tkApplyTwoGammaHRFToPredictorWithName(Houses)",
        "tkAddPredictor(Constant)",
        "tkGetPredictor(3)",
        "tkSaveSingleStudyGLMDesignMatrix(" + dir.file("run1_task.sdm") + ")",
    };
    EXPECT_EQ(hostCalls(host), expected);
    ASSERT_EQ(host.designMatrix().size(), 4u);
    EXPECT_EQ(host.designMatrix()[1].values, (std::vector<float>{0, 0, 2.5f, 2.5f, 0, 0}));
    EXPECT_EQ(host.designMatrix()[3].values, std::vector<float>(kVolumes, 1.0f));
}

TEST_F(ProtocolToDesignMatrix, BoyntonSkippingTheFirstConditionFillsTheThirdPredictorAsConstant) {
    ScriptedHost host(script());
    host.loadProtocol("msec.prt");
    ASSERT_TRUE(build(0, true, 1.0f, true, dir.file("run1.vtc")));

    expectTranscript("ProtocolBoyntonSkipFirst", host.transcript(), folder());
    EXPECT_EQ(host.callsStartingWith("tkAddPredictor"),
              (std::vector<std::string>{"tkAddPredictor(Faces)", "tkAddPredictor(Houses)",
                                        "tkAddPredictor(Constant)"}));
    EXPECT_EQ(host.callsStartingWith("tkApplyBoynton"),
              (std::vector<std::string>{"tkApplyBoyntonHRFToPredictorWithName(Faces)",
                                        "tkApplyBoyntonHRFToPredictorWithName(Houses)"}));
    EXPECT_TRUE(host.callsStartingWith("tkApplyTwoGamma").empty());
    EXPECT_EQ(host.callsStartingWith("tkGetPredictor"),
              std::vector<std::string>{"tkGetPredictor(2)"});
    EXPECT_EQ(host.designMatrix().back().values, std::vector<float>(kVolumes, 1.0f));
}

TEST_F(ProtocolToDesignMatrix, TimeResolutionOneIsVolumesAndAnyOtherMilliseconds) {
    for (const auto& [resolution, word] :
         std::vector<std::pair<int, std::string>>{{1, "volume"}, {0, "msec"}, {2, "msec"}}) {
        HostScript s = script();
        s.protocols["task.prt"].timeResolution = resolution;
        ScriptedHost host(std::move(s));
        host.loadProtocol("task.prt");
        build(1, true, 1.0f, false, dir.file("run1.vtc"));
        ASSERT_FALSE(host.log().empty());
        EXPECT_NE(host.log()[0].find("\nTime resolution: " + word + "\n"), std::string::npos)
            << "resolution " << resolution;
    }
}

TEST_F(ProtocolToDesignMatrix, WithoutTheDumpsOnlyTheStepLinesAreLogged) {
    ScriptedHost host(script());
    host.loadProtocol("task.prt");
    build(1, false, 1.0f, false, dir.file("run1.vtc"));
    const std::vector<std::string> expected = {
        "Reading protocol conditions...",
        "Applying 2-gamma HRF with predictor value: 1.000000...",
        "Adding constant predictor...",
        "Try to fill predictor number 4 (constant).",
        "Saving of design matrix succeeded.",
    };
    EXPECT_EQ(host.log(), expected);
}

TEST_F(ProtocolToDesignMatrix, WithoutATimeCourseTheDesignMatrixLiesBesideTheProtocol) {
    ScriptedHost host(script());
    host.loadProtocol("task.prt");
    EXPECT_TRUE(build(1, false, 1.0f, false, ""));
    EXPECT_EQ(sdmPath, dir.file("task.sdm"));
}

TEST_F(ProtocolToDesignMatrix, WithoutAProtocolNothingIsBuiltAndNoPathIsHandedBack) {
    ScriptedHost host(script());
    EXPECT_FALSE(build(1, true, 1.0f, false, dir.file("run1.vtc")));
    EXPECT_FALSE(sdmPath.has_value());
    EXPECT_EQ(
        host.log(),
        std::vector<std::string>{
            "The stimulation protocol could not be retrieved.\nPlease load a protocol first."});
    EXPECT_EQ(hostCalls(host), std::vector<std::string>{"tkGetProtocol"});
}

TEST_F(ProtocolToDesignMatrix, APathThatFillsTheHostsFieldIsNotUsedForTheName) {
    HostScript s = script();
    // 260 characters fill the field; the host may have cut a longer path to them.
    const std::string longPath =
        folder() + "/" + std::string(260 - folder().size() - 5, 'p') + ".prt";
    ASSERT_EQ(longPath.size(), 260U);
    s.protocols["long.prt"] = threeConditionProtocol(longPath);
    ScriptedHost host(std::move(s));
    host.loadProtocol("long.prt");
    EXPECT_FALSE(build(1, false, 1.0f, false, dir.file("run1.vtc")));
    EXPECT_FALSE(sdmPath.has_value());
    EXPECT_EQ(host.log().back(),
              "The protocol's path fills the host's field of 260 characters and may be cut: no "
              "design matrix is made from it.");
    EXPECT_EQ(hostCalls(host), std::vector<std::string>{"tkGetProtocol"});
}

TEST_F(ProtocolToDesignMatrix, ARefusedSaveStillHandsThePathBack) {
    HostScript s = script();
    s.refusedSaves.insert(dir.file("run1_task.sdm"));
    ScriptedHost host(std::move(s));
    host.loadProtocol("task.prt");
    EXPECT_FALSE(build(1, true, 1.0f, false, dir.file("run1.vtc")));
    EXPECT_EQ(sdmPath, dir.file("run1_task.sdm"));
    EXPECT_EQ(host.log().back(), "Saving of design matrix did not succeed.");
}

TEST_F(ProtocolToDesignMatrix,
       AnUndeliveredConditionGetsNoPredictorAndTheConstantFollowsThoseMade) {
    HostScript s = script();
    s.protocols["task.prt"].conditions[1].delivered = false;
    ScriptedHost host(std::move(s));
    host.loadProtocol("task.prt");
    ASSERT_TRUE(build(1, true, 1.0f, false, dir.file("run1.vtc")));

    expectTranscript("ProtocolUndeliveredCondition", host.transcript(), folder());
    ASSERT_EQ(host.designMatrix().size(), 3u);
    EXPECT_EQ(host.designMatrix()[1].name, "Houses");
    EXPECT_EQ(host.callsStartingWith("tkGetPredictor"),
              std::vector<std::string>{"tkGetPredictor(2)"});
    EXPECT_EQ(host.designMatrix()[2].values, std::vector<float>(kVolumes, 1.0f));
}

TEST_F(ProtocolToDesignMatrix, AConstantIndexBelowZeroIsNotFilled) {
    HostScript s = script();
    s.protocols["task.prt"].conditions.clear();
    ScriptedHost host(std::move(s));
    host.loadProtocol("task.prt");
    build(1, false, 1.0f, true, dir.file("run1.vtc"));
    const std::vector<std::string> expected = {
        "Reading protocol conditions...",
        "Applying 2-gamma HRF with predictor value: 1.000000...",
        "Adding constant predictor...",
        "Try to fill predictor number 0 (constant).",
        "Constant predictor not filled: its index -1 is below 0.",
        "Saving of design matrix succeeded.",
    };
    EXPECT_EQ(host.log(), expected);
    EXPECT_TRUE(host.callsStartingWith("tkGetPredictor").empty());
}

TEST_F(ProtocolToDesignMatrix, APredictorTheHostDoesNotDeliverIsNotFilled) {
    HostScript s = script();
    s.deliverPredictors = false;
    ScriptedHost host(std::move(s));
    host.loadProtocol("task.prt");
    build(1, false, 1.0f, false, dir.file("run1.vtc"));
    ASSERT_GE(host.log().size(), 2u);
    EXPECT_EQ(host.log()[host.log().size() - 2],
              "Constant predictor not filled: the host delivered no predictor number 4.");
}

}  // namespace
}  // namespace batchrun
