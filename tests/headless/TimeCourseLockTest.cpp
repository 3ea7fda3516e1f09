#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "headless/TimeCourseLock.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(TimeCourseLock, ASecondRunWaitsOnceSayingSoAndGoesOnWhenTheFirstLetsGo) {
    testsupport::TempDir dir;
    const std::string path = dir.file("run1.vtc");
    testsupport::writeFile(path, "vtc");
    const auto never = [](const std::string&) { ADD_FAILURE() << "waited"; };
    auto first = std::make_unique<headless::TimeCourseLock>(path, never);
    ASSERT_TRUE(first->held());

    std::atomic<int> waits{0};
    std::atomic<bool> secondHolds{false};
    std::string said;  // read once the second is done
    std::thread second([&] {
        const headless::TimeCourseLock lock(path, [&](const std::string& file) {
            said = "waiting for another run on " + file;
            ++waits;
        });
        secondHolds = lock.held();
    });
    while (waits == 0) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(secondHolds) << "the second must wait while the first holds the file";
    first.reset();
    second.join();
    EXPECT_TRUE(secondHolds);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(said, "waiting for another run on " + path);
    EXPECT_FALSE(headless::TimeCourseLock(dir.file("missing.vtc"), never).held());
}

}  // namespace
