#include <gtest/gtest.h>

#include <cmath>
#include <locale>
#include <stdexcept>

#include "designmatrix/ConfoundReaders.h"
#include "tests/readers/ConfoundFileSamples.h"
#include "tests/readers/ReaderTestFixture.h"

namespace {

using namespace designmatrix;
using namespace readertest;

class TokenForms : public ReaderTest {
  protected:
    // The heart-rate time course with one predictor and one data point per given value text.
    DesignMatrixFilePtr readValues(const std::vector<std::string>& texts) {
        Rows rows;
        for (const std::string& text : texts) {
            rows.push_back({text});
        }
        const auto count = static_cast<std::int32_t>(texts.size());
        const std::string path =
            write("values_HR.rtc", rtcFile({2, 1, count}, {"\"HR\""}, rows).text());
        return readConfoundsRtc(path.c_str(), kHeartRateKind);
    }
};

TEST_F(TokenForms, HeaderKeysAreSkippedWhateverTheyHold) {
    // Words that look like numbers, like other keys, or like names: only their place counts.
    const std::vector<std::string> words = {"7", "NrOfDataPoints:", "-1.5e3", "\"key\"",
                                            "x", "FileVersion:"};
    for (const ReaderUnderTest& reader : allReaders()) {
        SCOPED_TRACE(reader.label);
        const SampleFile original = completeFile(reader);
        SampleFile renamed = original;
        std::size_t used = 0;
        for (std::size_t i = 0; i < headerEntryCount(reader); ++i) {
            // Keys stand at even places; in a time course so does the skipped word (place 3).
            if (i % 2 == 0 || (reader.timeCourse && i == 3)) {
                renamed = renamed.with(i, words[used++ % words.size()]);
            }
        }
        const DesignMatrixFilePtr expected =
            reader.read(write("original", original.text()).c_str());
        const DesignMatrixFilePtr actual = reader.read(write("renamed", renamed.text()).c_str());
        ASSERT_TRUE(expected->readOk);
        expectSameRecord(*actual, *expected);
    }
}

TEST_F(TokenForms, WhiteSpaceOfAnyKindSeparatesAndOnlyDataRowsKeepToTheirLines) {
    for (const ReaderUnderTest& reader : allReaders()) {
        SCOPED_TRACE(reader.label);
        const SampleFile file = completeFile(reader, 3);
        const DesignMatrixFilePtr expected = reader.read(write("lf", file.text("\n")).c_str());
        ASSERT_TRUE(expected->readOk);
        for (const std::string lineEnd : {"\r\n", "\r\n\r\n\t \n", "\n\f\v"}) {
            const DesignMatrixFilePtr actual =
                reader.read(write("other", "\r\n\t " + file.text(lineEnd)).c_str());
            expectSameRecord(*actual, *expected);
        }
        // Rows run together on one line are no rows.
        for (const std::string lineEnd : {" ", "\t"}) {
            EXPECT_FALSE(reader.read(write("flat", file.text(lineEnd)).c_str())->readOk);
        }
    }
}

TEST_F(TokenForms, ValuesInEveryFormStreamExtractionAccepts) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0", 0.0},         {"-0", -0.0},
        {"42", 42.0},       {"+3", 3.0},
        {"-2", -2.0},       {"4.", 4.0},
        {".5", 0.5},        {"-.25", -0.25},
        {"+.75", 0.75},     {"007.5", 7.5},
        {"1e3", 1000.0},    {"1E3", 1000.0},
        {"2.5e-3", 2.5e-3}, {"-1.5E+2", -150.0},
        {"1e+0", 1.0},      {".5e1", 5.0},
        {"3.e2", 300.0},    {"123456789.125", 123456789.125},
        {"1e-300", 1e-300}, {"1.7976931348623157e308", 1.7976931348623157e308},
        {"0.1", 0.1},       {"-123.456", -123.456},
    };
    std::vector<std::string> texts;
    for (const Case& c : cases) {
        texts.emplace_back(c.text);
    }

    const DesignMatrixFilePtr record = readValues(texts);

    ASSERT_TRUE(record->readOk);
    ASSERT_EQ(record->predictorValues.size(), 1u);
    const std::vector<double>& column = record->predictorValues[0];
    ASSERT_EQ(column.size(), texts.size());
    for (std::size_t t = 0; t < texts.size(); ++t) {
        EXPECT_EQ(column[t], cases[t].value) << cases[t].text;
        EXPECT_EQ(std::signbit(column[t]), std::signbit(cases[t].value)) << cases[t].text;
    }
}

TEST_F(TokenForms, ANumberEndsWhereTheNextCharacterCannotContinueIt) {
    // Two predictors, each row written without a blank between its two values.
    const std::string path = write("packed_HR.rtc",
                                   "FileVersion: 2 Type: DesignMatrix NrOfPredictors: +2 "
                                   "NrOfDataPoints: 003\n\"a\"\"b\"\n1.5-2.5\n2e3-1\n4.+.5\n");

    const DesignMatrixFilePtr record = readConfoundsRtc(path.c_str(), kHeartRateKind);

    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->nrOfPredictors, 2);
    EXPECT_EQ(record->nrOfDataPoints, 3);
    EXPECT_EQ(record->predictorNames, (std::vector<std::string>{"\"a\"", "\"b\""}));
    EXPECT_EQ(record->predictorValues,
              (std::vector<std::vector<double>>{{1.5, 2000.0, 4.0}, {-2.5, -1.0, 0.5}}));
}

TEST_F(TokenForms, IntegersTakeSignsAndLeadingZeros) {
    const std::string path = write("ints_HR.sdm",
                                   "FileVersion: +1 NrOfPredictors: 02 NrOfDataPoints: +0001 "
                                   "IncludesConstant: -0 FirstConfoundPredictor: -7\n"
                                   "+255 -1 007 0 00 +0\n\"a\" \"b\"\n1 2\n");

    const DesignMatrixFilePtr record = readConfoundsSdm(path.c_str(), kHeartRateKind);

    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->fileVersion, 1);
    EXPECT_EQ(record->nrOfPredictors, 2);
    EXPECT_EQ(record->nrOfDataPoints, 1);
    EXPECT_EQ(record->firstConfound, -7);
    EXPECT_EQ(record->predictorColors, (IntTable{{255, -1, 7}, {0, 0, 0}}));
}

// A regional setting that writes 1.234,5: comma decimal point, dot thousands separator.
class CommaDecimal : public std::numpunct<char> {
  protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Makes a locale the process-wide one while alive.
class GlobalLocale {
  public:
    explicit GlobalLocale(const std::locale& locale) : previous_(std::locale::global(locale)) {}
    ~GlobalLocale() { std::locale::global(previous_); }
    GlobalLocale(const GlobalLocale&) = delete;
    GlobalLocale& operator=(const GlobalLocale&) = delete;

  private:
    std::locale previous_;
};

const std::vector<std::string> kDotDecimals = {"1.5", "1.500", "-2.25e1", "1234.5", "0.001"};
const std::vector<double> kDotDecimalValues = {1.5, 1.5, -22.5, 1234.5, 0.001};

TEST_F(TokenForms, TheDecimalPointIsADotUnderACommaDecimalProcessLocale) {
    const GlobalLocale comma(std::locale(std::locale::classic(), new CommaDecimal));

    const DesignMatrixFilePtr record = readValues(kDotDecimals);

    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->predictorValues[0], kDotDecimalValues);
}

TEST_F(TokenForms, TheDecimalPointIsADotUnderAnInstalledCommaDecimalLocale) {
    std::locale installed;
    bool found = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8",
                             "nl_NL.UTF-8", "es_ES.UTF-8", "German_Germany.1252", "de-DE"}) {
        try {
            installed = std::locale(name);
        } catch (const std::runtime_error&) {
            continue;
        }
        if (std::use_facet<std::numpunct<char>>(installed).decimal_point() == ',') {
            found = true;
            break;
        }
    }
    if (!found) {
        GTEST_SKIP() << "No comma-decimal locale is installed (see locale -a); the same reading "
                        "is covered under a comma-decimal locale made by the test itself.";
    }
    const GlobalLocale comma(installed);

    const DesignMatrixFilePtr record = readValues(kDotDecimals);

    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->predictorValues[0], kDotDecimalValues);
}

}  // namespace
