// The pre-flight check, in-process on a small study written for each test: what it finds about
// time courses, protocols, confound files, outputs and the entries that take no part, and how
// much each weighs.

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "headless/program/PreflightCheck.h"
#include "tests/support/DesignFiles.h"
#include "tests/support/DocumentBytes.h"
#include "tests/support/TestSupport.h"

namespace {

using headless::CheckResult;
using headless::Finding;
using headless::Verdict;

constexpr int kVolumes = 6;

// A path as the host's lookup gives it: normal, with the platform's separators.
std::string native(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

std::string protocolText(const std::string& extra = "", const std::string& interval = "4 6") {
    return "FileVersion: 3\nResolutionOfTime: Volumes\n" + extra +
           "NrOfConditions: 1\n\nTask\n1\n" + interval + "\nColor: 255 0 0\n";
}

std::vector<std::vector<double>> columns(std::size_t count, std::size_t rows) {
    std::vector<std::vector<double>> values;
    for (std::size_t c = 0; c < count; ++c) {
        std::vector<double> column;
        for (std::size_t r = 0; r < rows; ++r) {
            column.push_back(0.1 * static_cast<double>(r + c));
        }
        values.push_back(column);
    }
    return values;
}

testsupport::DesignColumns design(std::size_t predictors, std::size_t rows) {
    testsupport::DesignColumns result;
    for (std::size_t i = 0; i < predictors; ++i) {
        result.names.push_back("P" + std::to_string(i + 1));
    }
    result.values = columns(predictors, rows);
    return result;
}

class Check : public testing::Test {
  protected:
    Check() {
        write("anatomy.vmr", testsupport::volumeDocumentBytes(8, 8, 8));
        timeCourse("run1.vtc", 2000.0f);
        write("task.prt", protocolText());
        write("run1_3DMC.sdm", testsupport::sdmText(design(6, kVolumes), 0, 1));
        write("run1_HR.rtc", testsupport::rtcText(design(1, kVolumes)));
        write("run1_RVT.sdm", testsupport::sdmText(design(1, kVolumes), 0, 1));
    }

    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(dir_.file(name)).parent_path());
        testsupport::writeFile(dir_.file(name), bytes);
    }
    void timeCourse(const std::string& name, float repetitionTimeMs) const {
        testsupport::TimeCourseSpec spec;
        spec.volumes = kVolumes;
        spec.repetitionTimeMs = repetitionTimeMs;
        write(name, testsupport::timeCourseBytes(spec));
    }
    // The check of a list whose entries are names in the study's folder.
    CheckResult check(const std::string& entries, bool zTransform = false,
                      headless::CheckOptions options = {}) const {
        std::string list = "1";
        std::size_t start = 0;
        while (start < entries.size()) {
            const std::size_t end = std::min(entries.find(' ', start), entries.size());
            list += "\n" + dir_.file(entries.substr(start, end - start));
            start = end + 1;
        }
        write("list.txt", list + "\n");
        return checkOf(zTransform, options);
    }
    CheckResult checkOf(bool zTransform = false, headless::CheckOptions options = {}) const {
        return headless::checkList(headless::readListRun(dir_.file("list.txt"), zTransform),
                                   dir_.file("anatomy.vmr"), options);
    }
    // The findings of pair 1 of that weight whose text holds `part`.
    static std::size_t count(const CheckResult& result, Verdict verdict, const std::string& part) {
        std::size_t found = 0;
        for (const auto& pair : result.pairs) {
            for (const Finding& finding : pair.findings) {
                found += finding.verdict == verdict && finding.text.find(part) != std::string::npos
                             ? 1U
                             : 0U;
            }
        }
        return found;
    }
    static std::string all(const CheckResult& result) {
        std::string text;
        for (const auto& pair : result.pairs) {
            for (const Finding& finding : pair.findings) {
                text +=
                    std::to_string(static_cast<int>(finding.verdict)) + " " + finding.text + "\n";
            }
        }
        return text;
    }

    testsupport::TempDir dir_;
};

TEST_F(Check, AGoodPairFindsWhatTheRunWillUseAndWrite) {
    for (const bool z : {false, true}) {
        const CheckResult result =
            check("task.prt run1.vtc run1_3DMC.sdm run1_HR.rtc run1_RVT.sdm", z);
        EXPECT_EQ(result.verdict(), Verdict::Ok) << all(result);
        EXPECT_EQ(count(result, Verdict::Ok, "6 volumes, TR 2000 ms"), 1U) << all(result);
        EXPECT_EQ(count(result, Verdict::Ok,
                        native(dir_.file("task.prt")) + ", found beside the time course"),
                  1U);
        EXPECT_EQ(count(result, Verdict::Ok, "6 predictors, 6 data points"), 1U);
        const std::string merged =
            z ? "run1_task_3DMC_z_HR_z_RVT_z.sdm" : "run1_task_3DMC_HR_RVT.sdm";
        EXPECT_EQ(count(result, Verdict::Ok,
                        "writes " + dir_.file("run1_task.sdm") + " and " + dir_.file(merged)),
                  1U)
            << all(result);
    }
}

TEST_F(Check, TimeCoursesTheHostRefusesFailAndUnlikelyRepetitionTimesWarn) {
    timeCourse("seconds.vtc", 2.0f);
    timeCourse("slow.vtc", 40000.0f);
    write("broken.vtc", "not a time course");
    EXPECT_EQ(count(check("task.prt seconds.vtc"), Verdict::Warning, "TR of 2 ms lies outside"),
              1U);
    EXPECT_EQ(count(check("task.prt slow.vtc"), Verdict::Warning, "TR of 40000 ms"), 1U);
    EXPECT_EQ(count(check("task.prt broken.vtc"), Verdict::Fail, "the host will not link"), 1U);
    EXPECT_EQ(count(check("task.prt absent.vtc"), Verdict::Fail, "the host will not link"), 1U);
    EXPECT_EQ(count(check("task.prt"), Verdict::Fail, "no time course (*.vtc) follows"), 1U);
}

TEST_F(Check, TheProtocolIsTheOneTheHostWillReallyUse) {
    // Listed in another folder: the host takes the file of that name beside the time course,
    // which fails the pair unless it holds the same bytes.
    write("elsewhere/task.prt", protocolText("", "4 5"));
    const CheckResult moved = check("elsewhere/task.prt run1.vtc");
    EXPECT_EQ(count(moved, Verdict::Fail,
                    "the host used " + native(dir_.file("task.prt")) + ", not " +
                        dir_.file("elsewhere/task.prt") + " that the list names"),
              1U)
        << all(moved);
    write("elsewhere/task.prt", protocolText());
    EXPECT_EQ(check("elsewhere/task.prt run1.vtc").verdict(), Verdict::Ok);
    const CheckResult absent = check("absent.prt run1.vtc");
    EXPECT_EQ(count(absent, Verdict::Fail, "looked at: " + native(dir_.file("absent.prt"))), 1U)
        << all(absent);
    write("late.prt", protocolText("", "5 9"));
    EXPECT_EQ(count(check("late.prt run1.vtc"), Verdict::Warning,
                    "1 of 1 intervals end after the run's last volume"),
              1U);
    write("weights.prt", protocolText("ParametricWeights: 1\n", "4 6 0.5"));
    EXPECT_EQ(count(check("weights.prt run1.vtc"), Verdict::Warning, "parametric weight"), 1U);
    write("broken.prt", "FileVersion: 3\nNrOfConditions: x\n");
    EXPECT_EQ(count(check("broken.prt run1.vtc"), Verdict::Fail, "the host will not load"), 1U);
}

struct ConfoundCase {
    const char* what;
    const char* name;
    std::string content;
    Verdict verdict;
    const char* finding;
};

void PrintTo(const ConfoundCase& value, std::ostream* out) {
    *out << value.what;
}

class ConfoundCheck : public Check, public testing::WithParamInterface<ConfoundCase> {};

TEST_P(ConfoundCheck, WeighsWhatTheMergeWillMakeOfTheFile) {
    const ConfoundCase& row = GetParam();
    if (!std::string(row.name).starts_with("absent")) {
        write(row.name, row.content);
    }
    const CheckResult result = check(std::string("task.prt run1.vtc ") + row.name);
    EXPECT_EQ(result.verdict(), row.verdict) << all(result);
    EXPECT_EQ(count(result, row.verdict, row.finding), 1U) << all(result);
}

testsupport::DesignColumns withConstant(std::size_t predictors) {
    testsupport::DesignColumns result = design(predictors, kVolumes);
    result.names.back() = "Constant";
    result.values.back().assign(kVolumes, 1.0);
    return result;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfoundCheck,
    testing::Values(
        ConfoundCase{"MotionOfSevenWithoutAConstant", "m_3DMC.sdm",
                     testsupport::sdmText(design(7, kVolumes), 0, 1), Verdict::Fail,
                     "Motion estimates need six predictors, and a constant only as a seventh: "
                     "this file declares 7 predictors with constant 0."},
        ConfoundCase{"MotionOfSixAndAConstant", "m_3DMC.sdm",
                     testsupport::sdmText(withConstant(7), 1, 7), Verdict::Ok,
                     "6 predictors, 6 data points"},
        ConfoundCase{"MotionOfSevenInTheTimeCourseLayout", "m_3DMC.rtc",
                     testsupport::rtcText(design(7, kVolumes)), Verdict::Fail,
                     "this file declares 7 predictors with constant 0."},
        ConfoundCase{"FewerDataPointsThanVolumes", "x_HR.rtc",
                     testsupport::rtcText(design(1, kVolumes - 2)), Verdict::Fail,
                     "4 data points, fewer than the time course's 6 volumes"},
        ConfoundCase{"MoreDataPointsThanVolumes", "x_HR.rtc",
                     testsupport::rtcText(design(1, kVolumes + 2)), Verdict::Warning,
                     "only the first 6 are merged"},
        ConfoundCase{"OnlyAConstant", "x_RVT.sdm", testsupport::sdmText(withConstant(1), 1, 1),
                     Verdict::Fail, "holds no predictor to add"},
        ConfoundCase{"TruncatedInTheRows", "x_HR.rtc",
                     testsupport::rtcText(design(2, kVolumes)).substr(0, 120), Verdict::Fail,
                     "the plug-in cannot read it"},
        ConfoundCase{"Missing", "absent_HR.rtc", "", Verdict::Fail,
                     "the file does not exist or cannot be opened"}),
    [](const testing::TestParamInfo<ConfoundCase>& row) { return row.param.what; });

TEST_F(Check, WithAllThreeConfoundsEachMustHoldExactlyAsManyDataPoints) {
    write("long_HR.rtc", testsupport::rtcText(design(1, kVolumes + 1)));
    const CheckResult result = check("task.prt run1.vtc run1_3DMC.sdm long_HR.rtc run1_RVT.sdm");
    EXPECT_EQ(count(result, Verdict::Fail, "with all three confounds each must hold exactly"), 1U)
        << all(result);
}

TEST_F(Check, AnOutputThatWouldReplaceAnInputOrAnotherPairsOutputFails) {
    // Pair 1's merged design matrix is the motion file pair 2 reads.
    timeCourse("run2.vtc", 2000.0f);
    write("run1_task_HR.sdm", testsupport::sdmText(design(6, kVolumes), 0, 1));
    write("list.txt", "2\n" + dir_.file("task.prt") + " " + dir_.file("run1.vtc") + " " +
                          dir_.file("run1_HR.rtc") + "\n" + dir_.file("task.prt") + " " +
                          dir_.file("run2.vtc") + " " + dir_.file("run1_task_HR.sdm") + "\n" +
                          dir_.file("task.prt") + " " + dir_.file("run2.vtc") + "\n");
    const CheckResult result = checkOf();
    ASSERT_EQ(result.pairs.size(), 3U);
    EXPECT_EQ(result.pairs[0].verdict(), Verdict::Fail) << all(result);
    EXPECT_EQ(count(result, Verdict::Fail,
                    "would replace entry 6 of the list (" + dir_.file("run1_task_HR.sdm") + ")"),
              1U)
        << all(result);
    // Pairs 2 and 3 write the same design matrix: the earlier fails, as the run's report has it.
    EXPECT_EQ(result.pairs[1].verdict(), Verdict::Fail);
    EXPECT_EQ(count(result, Verdict::Fail,
                    "its design matrix " + dir_.file("run2_task.sdm") + " was replaced by pair 3"),
              1U)
        << all(result);
    EXPECT_EQ(result.pairs[2].verdict(), Verdict::Ok) << all(result);
}

TEST_F(Check, AListThatDeclaresMorePairsThanItHoldsOrNoneFails) {
    const std::string pair = dir_.file("task.prt") + " " + dir_.file("run1.vtc") + "\n";
    for (const auto& [list, verdict, text] :
         std::vector<std::tuple<std::string, Verdict, std::string>>{
             {"3\n" + pair + pair, Verdict::Fail, "the list declares 3 pairs and holds 2"},
             {"# run one\n" + pair, Verdict::Fail, "the list declares 0 pairs and holds 0"},
             {"1\n" + pair + pair, Verdict::Warning, "the list declares 1 pairs but holds 2"}}) {
        write("list.txt", list);
        const CheckResult result = checkOf();
        ASSERT_FALSE(result.list.empty()) << list;
        EXPECT_EQ(result.list[0].verdict, verdict) << list;
        EXPECT_TRUE(result.list[0].text.starts_with(text)) << result.list[0].text;
    }
}

TEST_F(Check, SkipFirstNamesTheConditionAndStrictFailsAWarning) {
    write("late.prt", protocolText("", "5 9"));
    const CheckResult plain = check("late.prt run1.vtc", false, {true, false});
    EXPECT_EQ(plain.pairs[0].verdict(), Verdict::Warning) << all(plain);
    EXPECT_EQ(count(plain, Verdict::Note, "--skip-first skipped condition \"Task\" (1 interval)"),
              1U)
        << all(plain);
    const CheckResult strict = check("late.prt run1.vtc", false, {true, true});
    EXPECT_EQ(strict.verdict(), Verdict::Fail) << all(strict);
    EXPECT_EQ(check("task.prt run1.vtc", false, {true, true}).verdict(), Verdict::Ok)
        << "a note is no warning";
}

TEST_F(Check, EntriesThatTakeNoPartSayWhy) {
    write("my study/run1_HR.rtc", testsupport::rtcText(design(1, kVolumes)));
    write("list.txt", "1\n// comment here\n" + dir_.file("task.prt") + " " + dir_.file("run1.vtc") +
                          " " + dir_.file("run1_3dmc.sdm") + " " +
                          dir_.file("my study/run1_HR.rtc") + "\n");
    const CheckResult result = checkOf();
    std::vector<std::pair<Verdict, std::string>> unused;
    for (const auto& [pair, finding] : result.unused) {
        unused.emplace_back(finding.verdict, finding.text);
    }
    ASSERT_EQ(unused.size(), 5U);
    EXPECT_EQ(unused[0].first, Verdict::Warning);
    EXPECT_NE(unused[0].second.find("before the first protocol"), std::string::npos);
    EXPECT_NE(unused[1].second.find("a word of a comment?"), std::string::npos) << unused[1].second;
    EXPECT_EQ(unused[3].first, Verdict::Fail);
    EXPECT_NE(unused[3].second.find("its name holds \"_3dmc\""), std::string::npos)
        << unused[3].second;
    EXPECT_NE(unused[4].second.find("part of the path \"" + dir_.file("my study/run1_HR.rtc")),
              std::string::npos)
        << unused[4].second;
    EXPECT_EQ(result.verdict(), Verdict::Fail);
}

TEST(CheckOfAList, ThatThePlugInCannotReadFails) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("list.txt"), std::string("1\0\n", 3));
    const CheckResult result = headless::checkList(
        headless::readListRun(dir.file("list.txt"), false), dir.file("a.vmr"), {});
    EXPECT_EQ(result.verdict(), Verdict::Fail);
    ASSERT_EQ(result.list.size(), 2U);
    EXPECT_NE(result.list[0].text.find("holds a NUL byte"), std::string::npos);
    EXPECT_EQ(result.list[1].text, "the list declares 0 pairs and holds 0");
}

}  // namespace
