#pragma once

// Colours 0xRRGGBB as the protocol dumps show them: split into red, green and blue from their
// six-digit hexadecimal text.

#include <cstdint>
#include <string>
#include <string_view>

namespace designmatrix {

// 16 x first + second upper-case hexadecimal digit of pair `which` (1: characters 0-1, 2: 2-3,
// 3: 4-5); 0 for any other `which`. Characters that are no such digit count 0.
int hexPairValue(std::string_view hexText, int which);

// "Red: %d Green: %d Blue: %d" of the colour, split from its "%06X" text.
std::string colorComponents(std::int32_t color);

}  // namespace designmatrix
