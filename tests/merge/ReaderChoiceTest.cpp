#include <gtest/gtest.h>

#include <string>

#include "designmatrix/ReaderChoice.h"

namespace {

using designmatrix::ConfoundLayout;
using designmatrix::confoundLayoutOf;

TEST(ReaderChoice, TimeCourseLayoutWhereverTheExactTextDotRtcAppears) {
    struct Case {
        const char* path;
        ConfoundLayout layout;
    };
    const Case cases[] = {
        {"run1_RVT.rtc", ConfoundLayout::TimeCourse},
        {"run1_RVT.sdm", ConfoundLayout::DesignMatrix},
        {"run1_3DMC.RTC", ConfoundLayout::DesignMatrix},
        {"scans.rtc/run1_3DMC.sdm", ConfoundLayout::TimeCourse},
        {"C:\\study\\run1.rtc_HR.sdm", ConfoundLayout::TimeCourse},
        {"run1_HR.rt", ConfoundLayout::DesignMatrix},
        {"", ConfoundLayout::DesignMatrix},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(confoundLayoutOf(c.path), c.layout) << c.path;
    }
}

}  // namespace
