// The confound stage of one protocol: which entries it logs and what it dispatches.

#include "batch/ConfoundCollection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/batchrun/ScriptedHost.h"

namespace batchrun {
namespace {

constexpr char kSdm[] = "D:/s1/run1_task1.sdm";
constexpr char kNone[] = "No confounds found for this protocol.";

struct CollectCase {
    const char* name;
    std::vector<std::string> entries;  // the protocol at 0, its time course at 1
    std::size_t end;                   // 0: the number of entries; else the next protocol's
    bool zTransform;
    std::vector<std::string> log;
    std::vector<std::string> dispatched;
};

class CollectConfounds : public testing::TestWithParam<CollectCase> {};

TEST_P(CollectConfounds, LogsAndDispatchesTheProtocolsConfounds) {
    const CollectCase& c = GetParam();
    batch::FileList list;
    list.entries = c.entries;
    const batch::RunPlan plan = batch::planRun(list, c.zTransform);
    ScriptedHost host(HostScript{});
    RecordingDispatch dispatch;
    batch::collectConfounds(plan, plan.pairs.front(), kSdm, c.zTransform, dispatch);
    EXPECT_EQ(plan.pairs.front().end, c.end == 0 ? c.entries.size() : c.end);
    EXPECT_EQ(host.log(), c.log);
    EXPECT_EQ(dispatch.calls(), c.dispatched);
}

const CollectCase kCollectCases[] = {
    {"OnlyTheTimeCourse", {"D:/s1/task1.prt", "D:/s1/run1.vtc"}, 0, false, {kNone}, {}},
    {"OnlyAnUnrecognisedEntry",
     {"D:/s1/task1.prt", "D:/s1/run1.vtc", "D:/s1/notes.txt"},
     0,
     false,
     {kNone},
     {}},
    {"MotionAndHeartRate",
     {"D:/s1/task1.prt", "D:/s1/run1.vtc", "D:/s1/run1_3DMC.sdm", "D:/s1/run1_HR.rtc"},
     0,
     true,
     {"Adding D:/s1/run1_3DMC.sdm for SDM...", "Adding D:/s1/run1_HR.rtc for SDM..."},
     {"addConfounds(D:/s1/run1_task1.sdm, D:/s1/run1_3DMC.sdm, D:/s1/run1_HR.rtc, -, z=1)"}},
    {"AllThreeInAnyOrder",
     {"D:/s1/task1.prt", "D:/s1/run1.vtc", "D:/s1/run1_RVT.rtc", "D:/s1/run1_HR.sdm",
      "D:/s1/run1_3DMC.rtc"},
     0,
     false,
     {"Adding D:/s1/run1_RVT.rtc for SDM...", "Adding D:/s1/run1_HR.sdm for SDM...",
      "Adding D:/s1/run1_3DMC.rtc for SDM..."},
     {"addAllConfounds(D:/s1/run1_task1.sdm, D:/s1/run1_3DMC.rtc, D:/s1/run1_HR.sdm, "
      "D:/s1/run1_RVT.rtc, z=0)"}},
    {"TwoMotionEntriesTheLaterIsUsed",
     {"D:/s1/task1.prt", "D:/s1/run1.vtc", "D:/s1/a_3DMC.sdm", "D:/s1/b_3DMC.sdm"},
     0,
     false,
     {"Adding D:/s1/a_3DMC.sdm for SDM...", "Adding D:/s1/b_3DMC.sdm for SDM..."},
     {"addConfounds(D:/s1/run1_task1.sdm, D:/s1/b_3DMC.sdm, -, -, z=0)"}},
    {"ASecondTimeCourseIsPassedOver",
     {"D:/s1/task1.prt", "D:/s1/run1.vtc", "D:/s1/run9.vtc", "D:/s1/run1_RVT.rtc"},
     0,
     false,
     {"Adding D:/s1/run1_RVT.rtc for SDM..."},
     {"addConfounds(D:/s1/run1_task1.sdm, -, -, D:/s1/run1_RVT.rtc, z=0)"}},
    {"TheRangeEndsAtTheNextProtocol",
     {"D:/s1/task1.prt", "D:/s1/run1.vtc", "D:/s1/run1_3DMC.sdm", "D:/s1/task2.prt",
      "D:/s1/run2.vtc", "D:/s1/run2_HR.rtc"},
     3,
     false,
     {"Adding D:/s1/run1_3DMC.sdm for SDM..."},
     {"addConfounds(D:/s1/run1_task1.sdm, D:/s1/run1_3DMC.sdm, -, -, z=0)"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CollectConfounds, testing::ValuesIn(kCollectCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace batchrun
