#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "paths/PathOperations.h"

namespace {

using paths::appendNameToStem;
using paths::extractFileName;
using paths::insertBeforeExtension;
using paths::stripExtension;

TEST(ExtractFileName, TakesTheNamePartAfterTheChosenSeparator) {
    struct Case {
        const char* path;
        bool dropExtension;
        bool appendDash;
        std::string name;
    };
    const Case cases[] = {
        {"C:\\data\\task.prt", false, false, "task.prt"},
        {"C:\\data\\task.prt", true, false, "task"},
        {"C:\\data\\task.prt", true, true, "task-"},
        {"C:\\data\\task.prt", false, true, "task.prt-"},
        // Dots in directory names are never taken for the extension.
        {"D:/study/run.1/x.prt", true, false, "x"},
        {"D:/study/run.1/x", true, false, "x"},
        // The last dot of the name part starts the extension.
        {"D:/s1/task.v2.prt", true, false, "task.v2"},
        // The first character is never examined: a leading separator stays.
        {"/x.prt", false, false, "/x.prt"},
        {"/x.prt", true, false, "/x"},
        {"\\x.prt", false, false, "\\x.prt"},
        // '/' anywhere makes '\' an ordinary character.
        {"a/b\\c.prt", false, false, "b\\c.prt"},
        {"a\\b/c.prt", false, false, "c.prt"},
        {"\\\\server\\share\\f.prt", false, false, "f.prt"},
        // Ends in its separator: an empty name.
        {"D:/data/", false, false, ""},
        {"D:/data/", false, true, "-"},
        // No separator: the whole path is the name.
        {"task.prt", false, false, "task.prt"},
        {"task.prt", true, false, "task"},
        // A name without a dot keeps its whole text when the extension is to be dropped.
        {"D:/data/task", true, false, "task"},
        {"task", true, true, "task-"},
        // A dot at the first character is never examined either.
        {".prt", true, false, ".prt"},
        {"a/.prt", true, false, ""},
        // Shortest inputs.
        {"x", false, false, "x"},
        {"x", true, true, "x-"},
        {"/", false, false, "/"},
        {".", true, false, "."},
        {"a/", false, false, ""},
        {"/a", false, false, "/a"},
        {"ab", true, false, "ab"},
        {"a.", true, false, "a"},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> name =
            extractFileName(c.path, c.dropExtension, c.appendDash);
        ASSERT_TRUE(name.has_value()) << c.path;
        EXPECT_EQ(*name, c.name) << c.path << " drop=" << c.dropExtension
                                 << " dash=" << c.appendDash;
    }
}

TEST(ExtractFileName, GivesNoTextForAnAbsentOrEmptyPath) {
    for (const bool drop : {false, true}) {
        for (const bool dash : {false, true}) {
            EXPECT_FALSE(extractFileName(nullptr, drop, dash).has_value());
            EXPECT_FALSE(extractFileName("", drop, dash).has_value());
        }
    }
}

TEST(StripExtension, CutsAtTheLastDotAnywhereInThePath) {
    struct Case {
        const char* path;
        std::string stem;
    };
    const Case cases[] = {
        {"D:/s1/run1.vtc", "D:/s1/run1"},
        {"D:/s1/run1.x.vtc", "D:/s1/run1.x"},
        {"D:/study.2/run1", "D:/study"},
        {"run1", ""},
        {".vtc", ""},
        {".", ""},
        {"x", ""},
        {"a.", "a"},
        {"..", "."},
        {nullptr, "''"},
        {"", "''"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stripExtension(c.path), c.stem) << (c.path != nullptr ? c.path : "(null)");
    }
}

TEST(AppendNameToStem, JoinsStemSeparatorNameAndTheLastThreeCharacters) {
    struct Case {
        std::string_view base;
        std::string_view name;
        char separator;
        std::string result;
    };
    const Case cases[] = {
        {"D:/s1/run1.vtc", "task", '_', "D:/s1/run1_task.vtc"},
        {"C:\\s1\\run1.vtc", "task-a", '-', "C:\\s1\\run1-task-a.vtc"},
        {"D:/s1/run1.vtc", "", '_', "D:/s1/run1_.vtc"},
        // The extension is the last three characters, wherever the last dot stands.
        {"D:/s1/run1.gz", "task", '_', "D:/s1/run1_task..gz"},
        {"D:/s1/run1.nifti", "task", '_', "D:/s1/run1_task.fti"},
        {"D:/s1.d/run1", "task", '_', "D:/s1_task.un1"},
        // Bases shorter than three characters lend all they have.
        {"abc", "t", '_', "_t.abc"},
        {"a.", "t", '_', "a_t.a."},
        {"ab", "t", '_', "_t.ab"},
        {"", "t", '_', "''_t."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(appendNameToStem(c.base, c.name, c.separator), c.result) << c.base;
    }
}

TEST(AppendNameToStem, ReadsOnlyTheGivenBase) {
    const std::string_view buffer = "D:/s1/run1.vtc.bak";
    EXPECT_EQ(appendNameToStem(buffer.substr(0, 14), "task", '_'), "D:/s1/run1_task.vtc");
}

TEST(InsertBeforeExtension, InsertsInFrontOfTheLastFourCharacters) {
    struct Case {
        std::string_view path;
        std::string_view infix;
        std::string result;
    };
    const Case cases[] = {
        {"D:/s1/run1_task.sdm", "_3DMC_HR_RVT", "D:/s1/run1_task_3DMC_HR_RVT.sdm"},
        {"D:/s1/run1_task.sdm", "_3DMC_z_HR_z_RVT_z", "D:/s1/run1_task_3DMC_z_HR_z_RVT_z.sdm"},
        {"D:/s1/run1.sdm", "", "D:/s1/run1.sdm"},
        // Characters are counted; the dot is not looked for.
        {"D:/s1/run1.gz", "_HR", "D:/s1/run_HR1.gz"},
        {"D:/s1/run1", "_HR", "D:/s1/_HRrun1"},
        // Four characters or fewer: all of it is the extension.
        {"a.sd", "_HR", "_HRa.sd"},
        {".sd", "_HR", "_HR.sd"},
        {"x", "_HR", "_HRx"},
        {"", "_HR", "_HR"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(insertBeforeExtension(c.path, c.infix), c.result) << c.path;
    }
}

TEST(InsertBeforeExtension, SuccessiveMarksFollowOneAnotherInFrontOfTheExtension) {
    std::string path = "D:/s1/run1.sdm";
    for (const char* mark : {"_3DMC_z", "_HR_z", "_RVT_z"}) {
        path = insertBeforeExtension(path, mark);
    }
    EXPECT_EQ(path, "D:/s1/run1_3DMC_z_HR_z_RVT_z.sdm");
}

TEST(InsertBeforeExtension, ReadsOnlyTheGivenPath) {
    const std::string_view buffer = "run1.sdm.bak";
    EXPECT_EQ(insertBeforeExtension(buffer.substr(0, 8), "_HR"), "run1_HR.sdm");
    EXPECT_EQ(insertBeforeExtension(buffer.substr(0, 2), "_HR"), "_HRru");
}

}  // namespace
