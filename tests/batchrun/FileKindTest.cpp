#include <gtest/gtest.h>

#include <string_view>

#include "batch/FileKind.h"

namespace {

using batch::classifyListEntry;
using batch::FileKind;

TEST(FileKind, FirstMatchingFragmentInFixedOrderDecides) {
    struct Case {
        std::string_view entry;
        FileKind kind;
    };
    const Case cases[] = {
        // One fragment each.
        {"C:\\data\\task.prt", batch::Protocol},
        {"D:/s1/run1.vtc", batch::TimeCourse},
        {"D:/s1/run1_3DMC.sdm", batch::MotionEstimates},
        {"D:/s1/run1_HR.rtc", batch::HeartRate},
        {"D:/s1/run1_RVT.rtc", batch::Respiration},
        {"D:/s1/notes.txt", batch::Unrecognised},
        // Case-sensitive.
        {"RUN1.PRT", batch::Unrecognised},
        {"run1.Vtc", batch::Unrecognised},
        {"run1_3dmc.sdm", batch::Unrecognised},
        {"run1_hr.rtc", batch::Unrecognised},
        {"run1_rvt.rtc", batch::Unrecognised},
        // Anywhere in the file name, not only at the end; the folders never count, whichever
        // separator ends them.
        {"task.prt.bak", batch::Protocol},
        {"D:/x.vtc.d/s_HR.rtc", batch::HeartRate},
        {"D:/x.prt/run1.vtc", batch::TimeCourse},
        {"D:/scans_HR/run1_3DMC.sdm", batch::MotionEstimates},
        {"D:/scans_RVT/run1.txt", batch::Unrecognised},
        {"/home/study_HRF/run1_RVT.rtc", batch::Respiration},
        {"out.vtc.d/run1_3DMC.sdm", batch::MotionEstimates},
        {"C:\\study_HR\\run1.txt", batch::Unrecognised},
        {"D:/a\\b_HR/run1_RVT.rtc", batch::Respiration},
        {"D:/study/", batch::Unrecognised},
        // Several fragments: the earliest rule wins, wherever the fragments stand.
        {"s1_RVT_HR.rtc", batch::HeartRate},
        {"s1_3DMC_HR.sdm", batch::MotionEstimates},
        {"s1_HR_3DMC.sdm", batch::MotionEstimates},
        {"s1_3DMC.vtc", batch::TimeCourse},
        {"s1.vtc_x.prt", batch::Protocol},
        // Fragments alone and near misses.
        {".prt", batch::Protocol},
        {"_HR", batch::HeartRate},
        {"_RVT", batch::Respiration},
        {"prt", batch::Unrecognised},
        {".pr", batch::Unrecognised},
        {"_3DM", batch::Unrecognised},
        {"_H", batch::Unrecognised},
        {"HR", batch::Unrecognised},
        {"", batch::Unrecognised},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classifyListEntry(c.entry), c.kind) << '"' << c.entry << '"';
    }
}

TEST(FileKind, LooksOnlyAtTheGivenText) {
    // A fragment that would only be completed by characters past the entry's end never counts.
    const std::string_view buffer = "run1.prt_HR";
    EXPECT_EQ(classifyListEntry(buffer.substr(0, 7)), batch::Unrecognised);  // "run1.pr"
    EXPECT_EQ(classifyListEntry(buffer.substr(0, 8)), batch::Protocol);
    EXPECT_EQ(classifyListEntry(buffer.substr(9, 1)), batch::Unrecognised);  // "H"
    EXPECT_EQ(classifyListEntry(buffer.substr(8)), batch::HeartRate);
}

}  // namespace
