// The option table every command reads its arguments with: values in both forms, the last of a
// repeated option, operands, --help, each usage error; and the help it makes, within 96 columns.

#include <gtest/gtest.h>

#include <sstream>

#include "headless/program/OptionTable.h"

namespace {

using headless::CommandSpec;

struct Given {
    std::string output;
    std::string value;
    bool flag = false;
    std::vector<std::string> operands;
};

CommandSpec specFor(Given& given, bool operands = true) {
    CommandSpec spec{"demo", "sdmweaver demo [FILE...]", "does nothing.", {}, nullptr, "", {}};
    spec.options = {
        {"-o|--output", "DIR", "Where it goes.", "-o out", headless::assign(given.output)},
        {"--value", "X", "A number.", "", headless::assign(given.value)},
        {"--flag", "", "A switch.", "", headless::raise(given.flag)},
        {"--odd", "N", "Refuses every value.", "",
         [](const std::string& v) { return "--odd refuses " + v; }},
    };
    if (operands) {
        spec.takeOperand = [&given](const std::string& operand) {
            given.operands.push_back(operand);
            return std::string();
        };
    }
    return spec;
}

struct ParseCase {
    std::vector<std::string> arguments;
    std::string error;
    std::string output;
    std::string value;
    std::vector<std::string> operands;
};

TEST(OptionTable, ReadsValuesInBothFormsTheLastRepeatedOneAndEachUsageError) {
    const std::vector<ParseCase> cases = {
        {{"--value=-2.5", "a"}, "", "", "-2.5", {"a"}},
        {{"--value", "-2.5", "-", "b"}, "", "", "-2.5", {"-", "b"}},
        {{"-o", "one", "--output=two=2", "--output", "three"}, "", "three", "", {}},
        {{"--fast"}, "unknown option --fast", "", "", {}},
        {{"-o=x"}, "unknown option -o=x", "", "", {}},
        {{"--value"}, "--value needs a value", "", "", {}},
        {{"--value="}, "--value needs a value", "", "", {}},
        {{"-o", ""}, "-o needs a value", "", "", {}},
        {{"--flag=yes"}, "--flag takes no value", "", "", {}},
        {{"--odd", "1", "--fast"}, "--odd refuses 1", "", "", {}},
    };
    for (const ParseCase& c : cases) {
        Given given;
        const auto parsed = headless::parseArguments(specFor(given), c.arguments);
        EXPECT_EQ(parsed.error, c.error) << c.arguments.front();
        EXPECT_EQ(given.output, c.output) << c.arguments.front();
        EXPECT_EQ(given.value, c.value) << c.arguments.front();
        EXPECT_EQ(given.operands, c.operands) << c.arguments.front();
        EXPECT_FALSE(parsed.help);
    }
    Given given;
    const auto parsed = headless::parseArguments(specFor(given), {"--flag", "--help"});
    EXPECT_TRUE(parsed.help && given.flag && parsed.error.empty());
    EXPECT_EQ(headless::parseArguments(specFor(given, false), {"x"}).error,
              "unexpected argument 'x'");
}

TEST(OptionTable, HelpKeepsEveryWordInOrderWithin96Columns) {
    Given given;
    CommandSpec spec = specFor(given);
    std::string words;
    for (std::size_t k = 0; k < 60; ++k) {
        words +=
            (words.empty() ? "" : " ") + std::string(k % 7 + 1, static_cast<char>('a' + k % 26));
    }
    spec.summary = words;
    spec.options[1].help = words;
    spec.options.push_back({"--a-very-long-option-name", "VALUE", words, "", nullptr});
    spec.details = words + "\n\n  kept   as it stands";
    spec.examples = {"sdmweaver demo a \\\n    b"};
    const std::string help = headless::helpText(spec);
    std::istringstream lines(help);
    std::string joined;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 96U) << line;
        joined += line + '\n';
    }
    EXPECT_NE(help.find("sdmweaver demo: " + words.substr(0, 20)), std::string::npos);
    EXPECT_NE(help.find("\n  --value X          " + words.substr(0, 20)), std::string::npos);
    EXPECT_NE(help.find("\n  --a-very-long-option-name VALUE\n                     a "),
              std::string::npos);
    EXPECT_NE(help.find("\n  -o, --output DIR   Where it goes.\n                       -o out\n"),
              std::string::npos);
    EXPECT_NE(help.find("\n  kept   as it stands\n"), std::string::npos);
    EXPECT_TRUE(help.ends_with("\nExample:\n  sdmweaver demo a \\\n      b\n")) << help;
    // The words of each wrapped paragraph, read back, are the words given.
    std::istringstream read(help.substr(help.find("\n\n", help.find("--help")) + 2));
    std::string back;
    for (std::string word; read >> word && word != "kept";) {
        back += (back.empty() ? "" : " ") + word;
    }
    EXPECT_EQ(back, words);
}

}  // namespace
