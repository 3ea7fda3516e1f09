#include "tests/text/StreamComparison.h"

#include <bit>
#include <sstream>

#include "tests/support/TokenReader.h"
#include "text/TextScanner.h"

namespace numberstest {

namespace {

// Start values that no read stores by chance, so that an untouched value shows.
constexpr std::int32_t kUntouchedInteger = -424242;
constexpr double kUntouchedNumber = -4242.125;
const char* const kUntouchedToken = "untouched";

template <typename Reader>
Outcome readOnce(Reader& reader, const Step& step) {
    Outcome outcome;
    outcome.token = kUntouchedToken;
    outcome.integer = kUntouchedInteger;
    double number = kUntouchedNumber;
    switch (step.read) {
        case Read::Word:
            outcome.ok = reader.word(outcome.token);
            break;
        case Read::Name:
            outcome.ok = reader.name(outcome.token);
            break;
        case Read::Integer:
            outcome.ok = reader.integer(outcome.integer);
            break;
        case Read::Number:
            outcome.ok = reader.number(number);
            break;
        case Read::SkipQuotes:
            outcome.ok = reader.skipQuotes(step.quotes);
            break;
    }
    outcome.numberBits = std::bit_cast<std::uint64_t>(number);
    outcome.good = reader.good();
    return outcome;
}

// Where the stream stands, also after a failure (its state is put back).
std::int64_t streamPosition(std::istream& in) {
    const std::ios::iostate state = in.rdstate();
    in.clear();
    const std::istream::pos_type here = in.tellg();
    in.setstate(state);
    return static_cast<std::int64_t>(here);
}

std::string pick(std::mt19937& engine, const std::vector<std::string>& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(engine)];
}

int between(std::mt19937& engine, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(engine);
}

std::string digits(std::mt19937& engine, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.push_back(static_cast<char>('0' + between(engine, 0, 9)));
    }
    return text;
}

}  // namespace

std::string describe(const Step& step) {
    switch (step.read) {
        case Read::Word:
            return "word";
        case Read::Name:
            return "name";
        case Read::Integer:
            return "integer";
        case Read::Number:
            return "number";
        case Read::SkipQuotes:
            return "skipQuotes(" + std::to_string(step.quotes) + ")";
    }
    return "?";
}

std::string describe(const Outcome& outcome) {
    std::ostringstream text;
    text << "ok " << outcome.ok << ", token [" << outcome.token << "], integer " << outcome.integer
         << ", number " << std::bit_cast<double>(outcome.numberBits) << " (bits " << std::hex
         << outcome.numberBits << std::dec << "), good " << outcome.good << ", eof " << outcome.eof
         << ", position " << outcome.position;
    return text.str();
}

bool operator==(const Outcome& a, const Outcome& b) {
    return a.ok == b.ok && a.token == b.token && a.integer == b.integer &&
           a.numberBits == b.numberBits && a.good == b.good && a.eof == b.eof &&
           a.position == b.position;
}

std::vector<Outcome> readByStream(std::istream& in, const std::vector<Step>& steps) {
    testsupport::TokenReader reader(in);
    std::vector<Outcome> outcomes;
    for (const Step& step : steps) {
        Outcome outcome = readOnce(reader, step);
        outcome.eof = in.eof();
        outcome.position = streamPosition(in);
        outcomes.push_back(outcome);
    }
    return outcomes;
}

std::vector<Outcome> readByScanner(std::istream& in, const std::vector<Step>& steps,
                                   std::size_t blockSize) {
    text::TextScanner scanner(in, blockSize);
    std::vector<Outcome> outcomes;
    for (const Step& step : steps) {
        Outcome outcome = readOnce(scanner, step);
        outcome.eof = scanner.eof();
        outcome.position = scanner.position();
        outcomes.push_back(outcome);
    }
    return outcomes;
}

std::string randomNumberText(std::mt19937& engine) {
    std::string text = pick(engine, {"", "", "", "-", "+"});
    switch (between(engine, 0, 9)) {
        case 0:  // digits only, sometimes with leading zeros or very many of them
            text += pick(engine, {"", "0", "000"}) + digits(engine, between(engine, 1, 25));
            break;
        case 1:  // a point with nothing before or after it
            text += between(engine, 0, 1) ? digits(engine, between(engine, 1, 4)) + "."
                                          : "." + digits(engine, between(engine, 1, 4));
            break;
        case 2:  // near the ends of the range of doubles
            text += digits(engine, between(engine, 1, 3)) + pick(engine, {"e", "E"}) +
                    pick(engine, {"", "+", "-"}) +
                    pick(engine, {"300", "308", "309", "320", "323", "324", "330", "400",
                                  "99999999999999999999", "0000000000000000000000308"});
            break;
        case 3:  // an exponent mark without digits after it, or a sign without digits
            text += digits(engine, between(engine, 1, 3)) +
                    pick(engine, {"e", "E", "e+", "e-", ".e", ".E+", "e.5", "ee1", "e+-1"});
            break;
        case 4:  // not a number at all
            text = pick(engine, {".", "+", "-", "+.", "-.", "e5", ".e5", "x", "0x1F", "inf", "-nan",
                                 "NaN", "--1", "+-2", ",5", "1,5"});
            break;
        case 5:  // more significant digits than a double holds
            text += digits(engine, between(engine, 15, 40)) + "." +
                    digits(engine, between(engine, 0, 40));
            break;
        default: {  // the common forms: fixed decimals, with or without an exponent
            text += digits(engine, between(engine, 0, 6));
            if (between(engine, 0, 3) != 0) {
                text += "." + digits(engine, between(engine, 0, 9));
            }
            if (between(engine, 0, 2) == 0) {
                text += pick(engine, {"e", "E"}) + pick(engine, {"", "+", "-"}) +
                        digits(engine, between(engine, 1, 3));
            }
            if (text.find_first_of("0123456789") == std::string::npos) {
                text += "7";
            }
            break;
        }
    }
    return text;
}

std::string randomTokenText(std::mt19937& engine) {
    std::string text;
    const int pieces = between(engine, 1, 12);
    for (int i = 0; i < pieces; ++i) {
        switch (between(engine, 0, 7)) {
            case 0:
                text += pick(engine, {"\"a name\"", "\"x\"", "\"\"", "\"unclosed",
                                      "key:", "NrOfPredictors:", "\"two\"\"glued\"", "\xff\x80"});
                break;
            case 1:
                text += std::string(1, pick(engine, {"\"", "a", "Z", "#", ".", "e"})[0]);
                break;
            default:
                text += randomNumberText(engine);
                break;
        }
        // Mostly white space between pieces; sometimes none, so that they are glued.
        text += pick(engine, {" ", " ", "\t", "\n", "\r\n", "  \n\t", "\v\f", "", ""});
    }
    if (between(engine, 0, 3) == 0) {
        text += pick(engine, {" ", "\n", "\r\n"});
    }
    return text;
}

std::vector<Step> randomSteps(std::mt19937& engine, std::size_t count) {
    std::vector<Step> steps;
    for (std::size_t i = 0; i < count; ++i) {
        Step step;
        switch (between(engine, 0, 9)) {
            case 0:
                step.read = Read::Word;
                break;
            case 1:
                step.read = Read::Name;
                break;
            case 2:
                step.read = Read::SkipQuotes;
                step.quotes = between(engine, 0, 3);
                break;
            case 3:
            case 4:
                step.read = Read::Integer;
                break;
            default:
                step.read = Read::Number;
                break;
        }
        steps.push_back(step);
    }
    return steps;
}

}  // namespace numberstest
