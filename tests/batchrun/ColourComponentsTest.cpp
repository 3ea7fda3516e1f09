#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "designmatrix/ColourComponents.h"

namespace {

using designmatrix::hexPairValue;

TEST(HexPairValue, ReadsOnePairOfUpperCaseDigits) {
    struct Case {
        std::string_view text;
        int which;
        int value;
    };
    const Case cases[] = {
        {"FF8000", 1, 255},
        {"FF8000", 2, 128},
        {"FF8000", 3, 0},
        {"FF8000", 4, 0},
        {"FF8000", 0, 0},
        {"FF8000", -1, 0},
        {"0A0B0C", 1, 10},
        {"0A0B0C", 2, 11},
        {"0A0B0C", 3, 12},
        {"9F10A0", 1, 159},
        // Only upper-case digits count; any other character adds nothing.
        {"ff8000", 1, 0},
        {"fF8000", 1, 15},
        {"G1xx00", 1, 1},
        {"G1xx00", 2, 0},
        // A colour above 0xFFFFFF: its first six digits.
        {"1FF8000", 1, 31},
        {"1FF8000", 2, 248},
        {"1FF8000", 3, 0},
        // Shorter texts: missing digits add nothing.
        {"", 1, 0},
        {"F", 1, 240},
        {"FFF", 2, 240},
        {"FFFF", 3, 0},
        {"FFFFF", 3, 240},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hexPairValue(c.text, c.which), c.value) << c.text << " pair " << c.which;
    }
}

TEST(HexPairValue, SplitsPrintedColoursIntoRedGreenAndBlue) {
    for (const unsigned colour : {0x000000u, 0xFFFFFFu, 0x123456u, 0xAB00CDu, 0x0000FFu}) {
        char text[16];
        std::snprintf(text, sizeof text, "%06X", colour);
        EXPECT_EQ(hexPairValue(text, 1), static_cast<int>((colour >> 16) & 0xFFu)) << text;
        EXPECT_EQ(hexPairValue(text, 2), static_cast<int>((colour >> 8) & 0xFFu)) << text;
        EXPECT_EQ(hexPairValue(text, 3), static_cast<int>(colour & 0xFFu)) << text;
    }
}

TEST(HexPairValue, ReadsOnlyTheGivenText) {
    const std::string_view buffer = "FF80FFFF";
    EXPECT_EQ(hexPairValue(buffer.substr(0, 4), 3), 0);
    EXPECT_EQ(hexPairValue(buffer.substr(0, 5), 3), 240);
}

}  // namespace
