// The block scanner reads what the stream reader reads: token strings of every number form,
// random texts and generated files, read by read, with blocks from one character up.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/TestSupport.h"
#include "tests/text/StreamComparison.h"
#include "text/TextScanner.h"

namespace {

using namespace numberstest;

// Printable form of a text for failure messages.
std::string shown(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out;
}

testing::AssertionResult sameOutcomes(const std::vector<Step>& steps,
                                      const std::vector<Outcome>& expected,
                                      const std::vector<Outcome>& actual) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (!(expected[i] == actual[i])) {
            return testing::AssertionFailure() << "read " << i + 1 << " (" << describe(steps[i])
                                               << ")\n  stream:  " << describe(expected[i])
                                               << "\n  scanner: " << describe(actual[i]);
        }
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult readsTheSame(const std::string& text, const std::vector<Step>& steps,
                                      std::size_t blockSize) {
    std::istringstream reference(text);
    std::istringstream scanned(text);
    testing::AssertionResult result = sameOutcomes(steps, readByStream(reference, steps),
                                                   readByScanner(scanned, steps, blockSize));
    if (!result) {
        result << "\n  text [" << shown(text) << "], block " << blockSize;
    }
    return result;
}

std::vector<Step> repeated(Read read, std::size_t count) {
    return std::vector<Step>(count, Step{read, 0});
}

constexpr std::size_t kBlockSizes[] = {1, 2, 3, 7, text::TextScanner::kDefaultBlockSize};

TEST(ScannerAgainstStream, EveryNumberFormTheStreamTakesOrRefuses) {
    const char* texts[] = {
        // taken
        "0",
        "-0",
        "+0",
        "42",
        "+3",
        "-2",
        "4.",
        ".5",
        "-.25",
        "+.75",
        "007.5",
        "0000",
        "1e3",
        "1E3",
        "2.5e-3",
        "-1.5E+2",
        "1e+0",
        ".5e1",
        "3.e2",
        "123456789.125",
        "0.1",
        "1e-300",
        "1.7976931348623157e308",
        "4.9406564584124654e-324",
        "2.4703282292062328e-324",
        "12345678901234567890123",
        "0.000000000000000000000000000123",
        "9007199254740993",
        "1e22",
        "1e23",
        "123456789012345678e-5",
        "00.5e-0",
        // beyond the largest or below the smallest double
        "1e309",
        "-1e309",
        "1.7976931348623159e308",
        "1e99999999999999999999",
        "1e-400",
        "-1e-400",
        "2.4703282292062327e-324",
        "1e-99999999999999999999",
        "0e999999999999",
        // refused, or taken only in part
        ".",
        "+",
        "-",
        "+.",
        "-.",
        "e5",
        ".e5",
        "1e",
        "1E+",
        "1e-",
        "1e+-5",
        "1ee5",
        "--1",
        "+-1",
        "0x1F",
        "inf",
        "-inf",
        "nan",
        "1,5",
        "2147483647",
        "2147483648",
        "-2147483648",
        "-2147483649",
        "9223372036854775807",
        "9223372036854775808",
        "-9223372036854775809",
        "99999999999999999999999",
        // glued where a number cannot go on
        "1.5-2.5",
        "2e3-1",
        "4.+.5",
        "1.2.3",
        "1e5.5",
        "1e5e5",
        "-3\"name\"",
        "7x8",
        "5-",
        "0.5e",
        "1e+5+5",
        "12\t\r\n\v\f-.5",
    };
    for (const char* text : texts) {
        for (const std::size_t block : kBlockSizes) {
            EXPECT_TRUE(readsTheSame(text, repeated(Read::Number, 4), block));
            EXPECT_TRUE(readsTheSame(text, repeated(Read::Integer, 4), block));
            EXPECT_TRUE(
                readsTheSame(std::string(" \n") + text + "\n", repeated(Read::Number, 4), block));
        }
    }
}

TEST(ScannerAgainstStream, WordsNamesAndQuotesEndWhereTheStreamsDo) {
    const char* texts[] = {
        "\"a name\" \"b\"",
        "\"unclosed name",
        "\"\"",
        "plain \"quoted one\" word",
        "\"x\"\"y\"",
        "\"a\"1.5",
        "  \t\r\n",
        "",
        "\"",
        "key: 12 \"n m\" 1.5 2.5",
        "\"two\nlines\" tail",
    };
    const std::vector<std::vector<Step>> scripts = {
        repeated(Read::Word, 5),
        repeated(Read::Name, 5),
        {{Read::SkipQuotes, 2}, {Read::Number, 0}, {Read::Word, 0}},
        {{Read::SkipQuotes, 3}, {Read::SkipQuotes, 1}, {Read::Name, 0}},
        {{Read::Word, 0},
         {Read::Integer, 0},
         {Read::Name, 0},
         {Read::Number, 0},
         {Read::Number, 0}},
    };
    for (const char* text : texts) {
        for (const auto& steps : scripts) {
            for (const std::size_t block : kBlockSizes) {
                EXPECT_TRUE(readsTheSame(text, steps, block));
            }
        }
    }
}

TEST(ScannerAgainstStream, RandomTextsReadTheSame) {
    std::mt19937 engine(20240611);
    constexpr int kTexts = 6000;
    int failures = 0;
    for (int i = 0; i < kTexts && failures < 5; ++i) {
        const std::string text = randomTokenText(engine);
        const std::vector<Step> steps = randomSteps(engine, 1 + engine() % 14);
        const std::size_t block = kBlockSizes[engine() % std::size(kBlockSizes)];
        const testing::AssertionResult result = readsTheSame(text, steps, block);
        if (!result) {
            ++failures;
            ADD_FAILURE() << result.message();
        }
    }
}

// A design-matrix or time-course file with values in the many forms other programs write, and
// the reads a reader makes of it.
struct GeneratedFile {
    std::string text;
    std::vector<Step> steps;
};

// The value in one of the forms of the workstation, of the physiology tools, and of hand edits.
std::string writtenInSomeForm(double value, unsigned form) {
    char field[64];
    switch (form) {
        case 0:
            std::snprintf(field, sizeof field, "%.6f", value);
            break;
        case 1:
            std::snprintf(field, sizeof field, "%g", value);
            break;
        case 2:
            std::snprintf(field, sizeof field, "%.17g", value);
            break;
        case 3:
            std::snprintf(field, sizeof field, "%e", value);
            break;
        case 4:
            std::snprintf(field, sizeof field, "%+.3E", value);
            break;
        case 5:
            std::snprintf(field, sizeof field, "%010.4f", value);
            break;
        case 6:
            std::snprintf(field, sizeof field, "%.0f", value);
            break;
        default:
            std::snprintf(field, sizeof field, "%.9f", value);
            break;
    }
    return field;
}

GeneratedFile generatedFile(std::mt19937& engine) {
    GeneratedFile file;
    const bool timeCourse = engine() % 2 == 0;
    const int predictors = 1 + static_cast<int>(engine() % 12);
    const int rows = static_cast<int>(engine() % 300);
    const char* lineEnd = engine() % 3 == 0 ? "\r\n" : "\n";
    std::string& text = file.text;
    auto entry = [&](const char* key, int value) {
        text += std::string(key) + " " + std::to_string(value) + lineEnd;
        file.steps.push_back({Read::Word, 0});
        file.steps.push_back({Read::Integer, 0});
    };
    entry("FileVersion:", timeCourse ? 2 : 1);
    if (timeCourse) {
        text += std::string("Type: DesignMatrix") + lineEnd;
        file.steps.push_back({Read::Word, 0});
        file.steps.push_back({Read::Word, 0});
    }
    entry("NrOfPredictors:", predictors);
    entry("NrOfDataPoints:", rows);
    if (!timeCourse) {
        entry("IncludesConstant:", 1);
        entry("FirstConfoundPredictor:", 1);
        for (int p = 0; p < predictors; ++p) {
            text += std::to_string(engine() % 256) + " " + std::to_string(engine() % 256) + " " +
                    std::to_string(engine() % 256) + "   ";
            for (int c = 0; c < 3; ++c) {
                file.steps.push_back({Read::Integer, 0});
            }
        }
        text += lineEnd;
    }
    const bool motionLike = engine() % 2 == 0;
    for (int p = 0; p < predictors; ++p) {
        text += "\"Predictor " + std::to_string(p + 1) + " [mm]\" ";
        if (!motionLike) {
            file.steps.push_back({Read::Name, 0});
        }
    }
    if (motionLike) {
        file.steps.push_back({Read::SkipQuotes, 2 * predictors});
    }
    text += lineEnd;
    std::uniform_real_distribution<double> spread(-3.0, 3.0);
    for (int r = 0; r < rows; ++r) {
        for (int p = 0; p < predictors; ++p) {
            const double value =
                spread(engine) * std::pow(10.0, static_cast<int>(engine() % 9) - 4);
            const std::string field = writtenInSomeForm(value, engine() % 8);
            text += field;
            // Values glued where the next one starts with a sign.
            text += engine() % 5 == 0 ? "" : (engine() % 2 ? "\t" : " ");
            file.steps.push_back({Read::Number, 0});
        }
        text += lineEnd;
    }
    // Sometimes the file ends early or with something that is not a number.
    if (engine() % 4 == 0 && text.size() > 10) {
        text.resize(text.size() - engine() % 10);
    } else if (engine() % 4 == 0) {
        text += "1e";
        file.steps.push_back({Read::Number, 0});
    }
    file.steps.push_back({Read::Number, 0});  // past the end
    return file;
}

TEST(ScannerAgainstStream, GeneratedFilesReadTheSameFromDisk) {
    testsupport::TempDir folder;
    std::mt19937 engine(77);
    for (int i = 0; i < 60; ++i) {
        const GeneratedFile file = generatedFile(engine);
        const std::string path = folder.file("generated.sdm");
        testsupport::writeFile(path, file.text);
        for (const std::size_t block :
             {std::size_t{5}, std::size_t{4096}, text::TextScanner::kDefaultBlockSize}) {
            std::ifstream reference(path, std::ios::binary);
            std::ifstream scanned(path, std::ios::binary);
            const testing::AssertionResult result =
                sameOutcomes(file.steps, readByStream(reference, file.steps),
                             readByScanner(scanned, file.steps, block));
            ASSERT_TRUE(result) << "file " << i << ", block " << block << ":\n"
                                << shown(file.text.substr(0, 600));
        }
    }
}

TEST(ScannerAgainstStream, CharactersLeftCountsWhatTheFileStillHolds) {
    testsupport::TempDir folder;
    const std::string path = folder.file("left.rtc");
    const std::string text = "FileVersion: 2\nType: DesignMatrix\n1.5 2.5 3.5\n";
    testsupport::writeFile(path, text);
    for (const std::size_t block : {std::size_t{4}, text::TextScanner::kDefaultBlockSize}) {
        std::ifstream in(path, std::ios::binary);
        text::TextScanner scanner(in, block);
        std::string word;
        ASSERT_TRUE(scanner.word(word));
        EXPECT_EQ(scanner.charactersLeft(), static_cast<std::int64_t>(text.size()) - 12);
        double value = 0.0;
        while (scanner.word(word)) {
        }
        EXPECT_FALSE(scanner.number(value));
        EXPECT_EQ(scanner.charactersLeft(), 0);
    }
}

}  // namespace
