// Bad file lists run through the program: every one ends with the run's closing lines and a log
// line that says what was wrong, and only the design matrices of pairs that were found are
// written.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/robustness/Study.h"

namespace robustness {
namespace {

struct ListRow {
    const char* what;
    std::string list;                   // "{dir}" stands for the study's folder
    std::vector<std::string> logLines;  // each logged, in this order
    std::vector<std::string> newFiles;  // what the run writes, sorted
    int status = 0;  // 3 when a protocol gets nothing, or the list holds fewer pairs than declared
};

void PrintTo(const ListRow& row, std::ostream* out) {
    *out << row.what;
}

constexpr char kNoProtocol[] = "The file list holds no protocol (*.prt): no design matrix is made.";
constexpr char kWarning[] = "Warning: not all files have been properly read or classified.";
constexpr char kSaved[] = "Saving of design matrix succeeded.";
constexpr char kPair[] = "{dir}/task.prt\n{dir}/run1.vtc\n";

class BadFileList : public testing::TestWithParam<ListRow> {};

TEST_P(BadFileList, EndsTheRunWithALineThatSaysWhat) {
    const ListRow& row = GetParam();
    Study study;
    // For the rows of paths with a blank.
    study.write("my study/task.prt", validProtocol());
    study.write("my study/run1.vtc", study.read("run1.vtc"));
    const ProgramResult result = study.run(row.list);

    expectSound(study, result);
    EXPECT_EQ(result.status, row.status) << result.err;
    EXPECT_TRUE(result.out.ends_with("Finished.\n\n")) << result.out;
    std::size_t from = 0;
    for (const auto& line : row.logLines) {
        const std::string expected = inFolder(line, study.folder().string()) + "\n";
        const std::size_t at = result.out.find(expected, from);
        EXPECT_NE(at, std::string::npos) << "not logged in order: " << expected << result.out;
        from = at == std::string::npos ? from : at + expected.size();
    }
    EXPECT_EQ(study.newFiles(), row.newFiles);
}

std::string replaced(std::string text, char from, char to) {
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

const ListRow kRows[] = {
    {"EmptyFile", "", {"Number of PRT-VTC pairs: 0", "^", kNoProtocol}, {}, 3},
    {"OnlyBlanks", " \n\t\r\n", {"Number of PRT-VTC pairs: 0", "^", kNoProtocol}, {}, 3},
    {"BinaryGarbage",
     std::string("\x89PNG\r\n\x1a\n\x7f\x45LF\x01\x02\xfe\xff garbage \x80\x81"),
     {"Number of PRT-VTC pairs: 0", kNoProtocol},
     {},
     3},
    {"NulByteAsInUtf16",
     std::string("1\0\n\0", 4),
     {"The file list {dir}/list.txt holds a NUL byte at byte 2: it is not a plain text file "
      "(saved as UTF-16?), so none of it is read.",
      "Finished.\n"},
     {},
     3},
    {"CountNegative",
     std::string("-1\n") + kPair,
     {"Number of PRT-VTC pairs: -1", kWarning, kSaved},
     {"run1_task.sdm"}},
    {"CountZero",
     std::string("0\n") + kPair,
     {"Number of PRT-VTC pairs: 0", kWarning, kSaved},
     {"run1_task.sdm"}},
    {"CountHuge",
     std::string("99999999999\n") + kPair,
     {"Number of PRT-VTC pairs: 2147483647", kWarning, kSaved},
     {"run1_task.sdm"},
     3},
    {"CountNotANumber",
     std::string("n/a\n") + kPair,
     {"Number of PRT-VTC pairs: 0", "n/a", kWarning, kSaved},
     {"run1_task.sdm"}},
    {"TruncatedAfterTheCount",
     "1\n",
     {"Number of PRT-VTC pairs: 1", "^", kWarning, kNoProtocol},
     {},
     3},
    {"TruncatedAfterTheProtocol", "1\n{dir}/task.prt\n", {"No VTC file found for PRT"}, {}, 3},
    {"CarriageReturnOnlyLineEnds",
     replaced(std::string("1\n") + kPair + "{dir}/run1_HR.rtc\n", '\n', '\r'),
     {"Number of PRT-VTC pairs: 1", kSaved, "New filename: {dir}/run1_task_HR.sdm"},
     {"run1_task.sdm", "run1_task_HR.sdm"}},
    {"UnquotedPathWithABlank",
     "1\n{dir}/my study/task.prt\n{dir}/my study/run1.vtc\n",
     {"{dir}/my", "study/task.prt", "No VTC file found for PRT"},
     {},
     3},
    {"QuotedPathWithABlank",
     "1\n\"{dir}/my study/task.prt\"\n\"{dir}/my study/run1.vtc\"\n",
     {"{dir}/my study/task.prt", kSaved, "New SDM name: {dir}/my study/run1_task.sdm"},
     {"my study/run1_task.sdm"}},
    {"UnterminatedQuote",
     std::string("1\n") + kPair + "\"{dir}/run1_HR.rtc\n",
     {"A quoted entry has no closing double quote: the list ends before it.", kSaved,
      "No confounds found for this protocol."},
     {"run1_task.sdm"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, BadFileList, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<ListRow>& row) {
                             return std::string(row.param.what);
                         });

// A folder chain under the study whose time-course path has exactly `length` characters; each
// folder name is at most 200 characters long.
std::string timeCourseOfLength(const Study& study, std::size_t length) {
    const std::string stem = study.folder().string() + "/";
    const std::string name = "run1.vtc";
    std::size_t needed = length - stem.size() - name.size();
    std::string folders;
    while (needed > 0) {
        std::size_t part = std::min<std::size_t>(201, needed);  // the name and its '/'
        if (needed - part == 1) {
            --part;  // leaves two characters, one folder name and its '/'
        }
        folders += std::string(part - 1, 'd') + "/";
        needed -= part;
    }
    return stem + folders + name;
}

class LongPath : public testing::TestWithParam<std::size_t> {};

TEST_P(LongPath, IsCarriedWholeIntoEveryNameAndLogLine) {
    Study study;
    const std::string vtc = timeCourseOfLength(study, GetParam());
    ASSERT_EQ(vtc.size(), GetParam());
    const std::filesystem::path folder = std::filesystem::path(vtc).parent_path();
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(study.file("run1.vtc"), vtc);
    std::filesystem::copy_file(study.file("run1_HR.rtc"), folder / "run1_HR.rtc");
    const std::string stem = vtc.substr(0, vtc.size() - 4);

    // The protocol lies beside the volume document, where the host finds it too.
    const ProgramResult result =
        study.run("1\n{dir}/task.prt\n" + vtc + "\n" + (folder / "run1_HR.rtc").string() + "\n");

    expectSound(study, result);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(contains(result.out, "\nLoad " + vtc + " to VMR...\n")) << result.out;
    EXPECT_TRUE(contains(result.out, "New SDM name: " + stem + "_task.sdm\n"))
        << result.out << result.err;
    EXPECT_TRUE(contains(result.out, "New filename: " + stem + "_task_HR.sdm\n"));
    EXPECT_TRUE(std::filesystem::exists(stem + "_task_HR.sdm"));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongPath, testing::Values(511, 512, 1500),
                         [](const testing::TestParamInfo<std::size_t>& length) {
                             return "Of" + std::to_string(length.param) + "Characters";
                         });

TEST(LongPath, OfAProtocolBeyondTheHostsFieldIsReportedAndNamesNoFile) {
    Study study;
    const std::string vtc = timeCourseOfLength(study, 300);
    const std::filesystem::path folder = std::filesystem::path(vtc).parent_path();
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(study.file("run1.vtc"), vtc);
    std::filesystem::copy_file(study.file("task.prt"), folder / "task.prt");

    const ProgramResult result =
        study.run("1\n" + (folder / "task.prt").string() + "\n" + vtc + "\n{dir}/run1_HR.rtc\n");

    expectSound(study, result);
    EXPECT_TRUE(contains(result.out,
                         "The protocol's path fills the host's field of 260 characters and may be "
                         "cut: no design matrix is made from it.\n"))
        << result.out;
    EXPECT_FALSE(contains(result.out, "*.sdm file(s) available in the *.vtc file directory."));
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

TEST(LongPath, OfFiveThousandCharactersIsRefusedByTheSystemAndReported) {
    Study study;
    const std::string vtc = timeCourseOfLength(study, 5000);
    ASSERT_EQ(vtc.size(), 5000U);

    const ProgramResult result = study.run("1\n{dir}/task.prt\n" + vtc + "\n");

    expectSound(study, result);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.out, "\nLoad " + vtc + " to VMR...\n"));
    EXPECT_TRUE(contains(result.out, "Did not succeed in linking and generating.\n"));
    EXPECT_TRUE(contains(result.err, "host: cannot link: cannot open the time course " + vtc));
    EXPECT_EQ(study.newFiles(), std::vector<std::string>{});
}

TEST(LongList, OfAHundredThousandEntriesIsReadLoggedAndMergedOnce) {
    Study study;
    std::string list = std::string("1\n") + kPair;
    constexpr int kConfounds = 100000 - 2;
    for (int i = 0; i < kConfounds; ++i) {
        list += "{dir}/run1_HR.rtc\n";
    }

    const ProgramResult result = study.run(list);

    expectSound(study, result);
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string adding = "Adding " + study.file("run1_HR.rtc") + " for SDM...\n";
    std::size_t count = 0;
    for (std::size_t at = result.out.find(adding); at != std::string::npos;
         at = result.out.find(adding, at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, static_cast<std::size_t>(kConfounds));
    EXPECT_EQ(study.newFiles(), (std::vector<std::string>{"run1_task.sdm", "run1_task_HR.sdm"}));
}

}  // namespace
}  // namespace robustness
