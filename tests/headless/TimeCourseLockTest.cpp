#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "headless/TimeCourseLock.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(TimeCourseLock, ASecondRunWaitsOnceSayingSoAndGoesOnWhenTheFirstLetsGo) {
    testsupport::TempDir dir;
    const std::string path = dir.file("run1.vtc");
    testsupport::writeFile(path, "vtc");
    std::vector<std::string> said;
    auto first = std::make_unique<headless::TimeCourseLock>(
        path, [&](const std::string& file) { said.push_back("first " + file); });
    ASSERT_TRUE(first->held());

    std::atomic<bool> secondHolds{false};
    std::atomic<bool> secondWaits{false};
    std::vector<std::string> secondSaid;  // read once the second is done
    std::thread second([&] {
        headless::TimeCourseLock lock(path, [&](const std::string& file) {
            secondSaid.push_back("waiting for another run on " + file);
            secondWaits = true;
        });
        secondHolds = lock.held();
    });
    // The second must still be waiting while the first holds the file.
    while (!secondWaits) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(secondHolds);
    first.reset();
    second.join();
    EXPECT_TRUE(secondHolds);
    EXPECT_TRUE(said.empty());
    EXPECT_EQ(secondSaid, std::vector<std::string>{"waiting for another run on " + path});

    // A file that is not there is not locked, and nobody waits.
    EXPECT_FALSE(headless::TimeCourseLock(dir.file("missing.vtc"), [](const std::string&) {
                     ADD_FAILURE();
                 }).held());
}

}  // namespace
