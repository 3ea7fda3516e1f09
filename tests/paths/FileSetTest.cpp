#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "paths/FileSet.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(FileSet, KnowsAFileUnderEverySpellingThatResolvesToIt) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("run1_3DMC.sdm"), "motion");
    const std::vector<std::string> entries = {dir.file("run1_3DMC.sdm"), dir.file("task.prt")};
    const paths::FileSet files(dir.file("list.txt"), entries);  // need not exist

    EXPECT_TRUE(files.contains(dir.file("run1_3DMC.sdm")));
    EXPECT_TRUE(files.contains((dir.path() / "." / "x" / ".." / "run1_3DMC.sdm").string()));
    EXPECT_TRUE(files.contains(dir.file("list.txt")));
    EXPECT_TRUE(files.contains(dir.file("task.prt")));
    EXPECT_FALSE(files.contains(dir.file("run1_task_3DMC.sdm")));

    std::error_code error;
    std::filesystem::create_symlink(dir.path() / "run1_3DMC.sdm", dir.path() / "link.sdm", error);
    if (!error) {
        EXPECT_TRUE(files.contains(dir.file("link.sdm")));
    }
}

}  // namespace
