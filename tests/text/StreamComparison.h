#pragma once

// Runs the same reads through the stream reader (TokenReader, the reference) and the block
// scanner over the same text, and compares every outcome.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <random>
#include <string>
#include <vector>

namespace numberstest {

enum class Read { Word, Name, Integer, Number, SkipQuotes };

struct Step {
    Read read = Read::Word;
    std::int64_t quotes = 0;  // SkipQuotes only
};

// What one read did: its result, the value it stored (or the untouched start value), and the
// reader's state after it.
struct Outcome {
    bool ok = false;
    std::string token;
    std::int32_t integer = 0;
    std::uint64_t numberBits = 0;
    bool good = false;
    bool eof = false;
    std::int64_t position = 0;
};

std::string describe(const Step& step);
std::string describe(const Outcome& outcome);
bool operator==(const Outcome& a, const Outcome& b);

// The outcomes of the steps, one by one, from TokenReader over `in`.
std::vector<Outcome> readByStream(std::istream& in, const std::vector<Step>& steps);
// The same from the block scanner over `in`, reading blockSize characters at a time.
std::vector<Outcome> readByScanner(std::istream& in, const std::vector<Step>& steps,
                                   std::size_t blockSize);

// Text with numbers in every form the readers may meet, and some that are not numbers, glued or
// separated by white space of every kind.
std::string randomTokenText(std::mt19937& engine);
// One of the number texts that randomTokenText glues together.
std::string randomNumberText(std::mt19937& engine);
// A sequence of reads of every kind.
std::vector<Step> randomSteps(std::mt19937& engine, std::size_t count);

}  // namespace numberstest
