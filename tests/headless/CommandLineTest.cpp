// The sdmweaver command line: values in both forms, and every usage error.

#include <gtest/gtest.h>

#include "headless/program/CommandLine.h"

namespace {

using headless::parseCommandLine;

TEST(CommandLine, TakesValuesAsTheNextArgumentOrAfterAnEqualsSign) {
    const auto separate = parseCommandLine({"--list", "a.txt", "--vmr", "b.vmr", "--hrf", "boynton",
                                            "--value", "-2.5", "--log", "run.log", "--plugin",
                                            "p.so", "--host-version", "2.10.0"});
    ASSERT_EQ(separate.error, "");
    const auto joined =
        parseCommandLine({"--list=a.txt", "--vmr=b.vmr", "--hrf=boynton", "--value=-2.5",
                          "--log=run.log", "--plugin=p.so", "--host-version=2.10.0"});
    ASSERT_EQ(joined.error, "");
    for (const auto* line : {&separate, &joined}) {
        const headless::Options& o = line->options;
        EXPECT_EQ(o.list, "a.txt");
        EXPECT_EQ(o.vmr, "b.vmr");
        EXPECT_EQ(o.hrf, response::ResponseFunction::Boynton);
        EXPECT_FALSE(o.value.cancel);
        EXPECT_EQ(o.value.value, -2.5f);
        EXPECT_EQ(o.log, "run.log");
        EXPECT_EQ(o.plugin, "p.so");
        EXPECT_EQ(o.hostVersion, (std::array<int, 3>{2, 10, 0}));
    }
}

TEST(CommandLine, DefaultsAnswerTwoGammaOneNoAndNoFile) {
    const auto line = parseCommandLine({});
    ASSERT_EQ(line.error, "");
    EXPECT_EQ(line.options.hrf, response::ResponseFunction::TwoGamma);
    EXPECT_EQ(line.options.value.value, 1.0f);
    EXPECT_FALSE(line.options.skipFirst || line.options.zTransform || line.options.help);
    EXPECT_FALSE(line.options.list || line.options.vmr || line.options.hostVersion);
}

TEST(CommandLine, AcceptsTheEndsOfTheValueRangeAndCancel) {
    EXPECT_EQ(parseCommandLine({"--value", "-100"}).options.value.value, -100.0f);
    EXPECT_EQ(parseCommandLine({"--value=100"}).options.value.value, 100.0f);
    EXPECT_EQ(parseCommandLine({"--value=+3e1"}).options.value.value, 30.0f);
    EXPECT_TRUE(parseCommandLine({"--value", "cancel"}).options.value.cancel);
    EXPECT_FALSE(parseCommandLine({"--value=cancel", "--value=2"}).options.value.cancel)
        << "the last of a repeated option counts";
}

struct UsageErrorCase {
    const char* what;
    std::vector<std::string> arguments;
    const char* error;
};

void PrintTo(const UsageErrorCase& value, std::ostream* out) {
    *out << value.what;
}

class UsageError : public testing::TestWithParam<UsageErrorCase> {};

TEST_P(UsageError, IsReportedWithWhatIsWrong) {
    EXPECT_EQ(parseCommandLine(GetParam().arguments).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageError,
    testing::Values(
        UsageErrorCase{"UnknownOption", {"--list", "a", "--verbose"}, "unknown option --verbose"},
        UsageErrorCase{"SingleDash", {"-h"}, "unknown option -h"},
        UsageErrorCase{"Positional", {"study.txt"}, "unexpected argument 'study.txt'"},
        UsageErrorCase{"MissingValueAtTheEnd", {"--vmr"}, "--vmr needs a value"},
        UsageErrorCase{"EmptyValue", {"--list="}, "--list needs a value"},
        UsageErrorCase{"FlagWithValue", {"--skip-first=yes"}, "--skip-first takes no value"},
        UsageErrorCase{
            "ValueAboveRange", {"--value", "100.5"}, "--value 100.5 lies outside -100..100"},
        UsageErrorCase{"ValueBelowRange", {"--value=-101"}, "--value -101 lies outside -100..100"},
        UsageErrorCase{
            "ValueNotANumber", {"--value", "two"}, "--value takes a number or cancel, not 'two'"},
        UsageErrorCase{
            "ValueNotFinite", {"--value", "nan"}, "--value takes a number or cancel, not 'nan'"},
        UsageErrorCase{"ValueWithTrailingText",
                       {"--value", "2x"},
                       "--value takes a number or cancel, not '2x'"},
        UsageErrorCase{"UnknownResponseFunction",
                       {"--hrf", "gamma"},
                       "--hrf takes two-gamma or boynton, not 'gamma'"},
        UsageErrorCase{"VersionWithTwoParts",
                       {"--host-version", "2.9"},
                       "--host-version takes three whole numbers A.B.C, not '2.9'"},
        UsageErrorCase{"VersionNegative",
                       {"--host-version=2.-1.0"},
                       "--host-version takes three whole numbers A.B.C, not '2.-1.0'"}),
    [](const testing::TestParamInfo<UsageErrorCase>& testCase) { return testCase.param.what; });

}  // namespace
