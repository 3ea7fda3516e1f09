// Reading the file list: the declared count, the tokens, the end of the list and quoted entries.

#include "batch/FileList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/batchrun/ScriptedHost.h"
#include "tests/support/TestSupport.h"

namespace batchrun {
namespace {

struct ListCase {
    const char* name;
    std::string text;
    int declaredCount;
    std::vector<std::string> entries;
    std::string lastTokenLine;  // the last line logged before "Generating SDM(s) from: ..."
};

class ReadFileList : public testing::TestWithParam<ListCase> {};

TEST_P(ReadFileList, ReadsTheCountAndTheEntries) {
    const ListCase& c = GetParam();
    testsupport::TempDir dir;
    const std::string path = dir.file("list.txt");
    testsupport::writeFile(path, c.text);
    ScriptedHost host(HostScript{});
    const auto list = batch::readFileList(path);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->declaredCount, c.declaredCount);
    EXPECT_EQ(list->entries, c.entries);
    const auto& log = host.log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "Number of PRT-VTC pairs: " + std::to_string(c.declaredCount));
    EXPECT_EQ(log[1], "Reading filenames...");
    EXPECT_EQ(log[log.size() - 2], c.lastTokenLine);
    EXPECT_EQ(log.back(), "Generating SDM(s) from: " + path);
}

const ListCase kListCases[] = {
    {"CountThenEntries", "2\na.prt b.vtc\n", 2, {"a.prt", "b.vtc"}, "^"},
    {"EmptyFile", "", 0, {}, "^"},
    {"NegativeCount", "  -1 a.prt", -1, {"a.prt"}, "^"},
    {"SignedCount", "+3 a.prt", 3, {"a.prt"}, "^"},
    {"CountTooLargeSaturates", "99999999999 a.prt", INT_MAX, {"a.prt"}, "^"},
    {"HeadNotANumberIsTheFirstEntry", "a.prt b.vtc", 0, {"a.prt", "b.vtc"}, "^"},
    {"NumberEndsAtTheFirstNonDigit", "2a.prt b.vtc", 2, {"a.prt", "b.vtc"}, "^"},
    {"LoneSignIsNoNumberAndEndsTheList", "- a.prt", 0, {}, "-"},
    {"TabsAndCarriageReturnsSeparate", "1\r\n\ta.prt\r\n\tb.vtc\r\n", 1, {"a.prt", "b.vtc"}, "^"},
    {"OneCharacterTokenEndsTheList", "1 a.prt x b.vtc", 1, {"a.prt"}, "x"},
    {"BlankSplitsAPlainPath", "1 D:/my study/a.prt", 1, {"D:/my", "study/a.prt"}, "^"},
    {"QuotedEntryKeepsItsBlanks",
     "1 \"D:/my study/a.prt\" D:/b.vtc",
     1,
     {"D:/my study/a.prt", "D:/b.vtc"},
     "^"},
    {"QuotedShortEntriesDoNotEndTheList", "1 \"x\" \"\" a.prt", 1, {"x", "", "a.prt"}, "^"},
    {"UnterminatedQuoteEndsTheList",
     "1 a.prt \"D:/my study/b.vtc\n",
     1,
     {"a.prt"},
     "A quoted entry has no closing double quote: the list ends before it."},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadFileList, testing::ValuesIn(kListCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ReadFileListFailure, AListThatCannotBeOpenedIsReportedAndNotRead) {
    testsupport::TempDir dir;
    ScriptedHost host(HostScript{});
    EXPECT_FALSE(batch::readFileList(dir.file("missing.txt")).has_value());
    EXPECT_EQ(host.log(), std::vector<std::string>{"The file list could not be opened: " +
                                                   dir.file("missing.txt")});
}

TEST(ReadFileListFailure, AListHoldingANulByteIsReportedAndNotRead) {
    testsupport::TempDir dir;
    // A list saved as UTF-16: every other byte is NUL.
    constexpr char kUtf16[] = "1\0\n\0t\0a\0s\0k\0.\0p\0r\0t\0";
    const std::string text(kUtf16, sizeof kUtf16 - 1);
    testsupport::writeFile(dir.file("list.txt"), text);
    ScriptedHost host(HostScript{});
    EXPECT_FALSE(batch::readFileList(dir.file("list.txt")).has_value());
    EXPECT_EQ(host.log(), std::vector<std::string>{
                              "The file list " + dir.file("list.txt") +
                              " holds a NUL byte at byte 2: it is not a plain text file (saved as "
                              "UTF-16?), so none of it is read."});
    EXPECT_EQ(testsupport::readFile(dir.file("list.txt")), text);
}

TEST(ReadFileListLongTokens, ATokenOfAnyLengthIsCarriedWhole) {
    testsupport::TempDir dir;
    const std::string longEntry = "D:/" + std::string(2000, 'p') + ".prt";
    testsupport::writeFile(dir.file("list.txt"), "1 " + longEntry);
    ScriptedHost host(HostScript{});
    const auto list = batch::readFileList(dir.file("list.txt"));
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->entries, std::vector<std::string>{longEntry});
    EXPECT_EQ(host.log()[2], longEntry);
}

}  // namespace
}  // namespace batchrun
