#include <gtest/gtest.h>

#include <string>

#include "text/DesignFileHeader.h"

namespace {

using text::designFileLayoutOf;
using Layout = text::DesignFileLayout;

TEST(DesignFileLayout, TimeCourseLayoutWhereverTheFileNameHoldsDotRtc) {
    struct Case {
        const char* path;
        Layout layout;
    };
    const Case cases[] = {
        {"run1_RVT.rtc", Layout::TimeCourse},
        {"run1_RVT.sdm", Layout::DesignMatrix},
        {"run1_3DMC.RTC", Layout::DesignMatrix},
        {"scans.rtc/run1_3DMC.sdm", Layout::DesignMatrix},
        {"C:\\scans.rtc\\run1_HR.sdm", Layout::DesignMatrix},
        {"C:\\study\\run1.rtc_HR.sdm", Layout::TimeCourse},
        {"run1_HR.rt", Layout::DesignMatrix},
        {"", Layout::DesignMatrix},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(designFileLayoutOf(c.path), c.layout) << c.path;
    }
}

}  // namespace
