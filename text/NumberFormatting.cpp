#include "text/NumberFormatting.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace text {

namespace {

constexpr int kSignificantDigits = 6;
constexpr std::uint64_t kSmallestSixDigits = 100000;
constexpr std::uint64_t kPastSixDigits = 1000000;
constexpr int kFixedDecimals = 6;
constexpr double kFixedScale = 1e6;
constexpr std::uint64_t kFixedUnits = 1000000;
constexpr std::size_t kFixedMinimumWidth = 4;

// 10^k for k from 0 to 22, all exact.
constexpr int kExactPower = 22;
constexpr std::array<double, kExactPower + 1> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

// "00" to "99".
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes the two digits of n (below 100).
char* writePair(char* out, std::uint64_t n) {
    std::memcpy(out, &kDigitPairs[2 * n], 2);
    return out + 2;
}

// Writes the six digits of n (below 10^6), leading zeros included.
char* writeSixDigits(char* out, std::uint64_t n) {
    out = writePair(out, n / 10000);
    out = writePair(out, n / 100 % 100);
    return writePair(out, n % 100);
}

// The six digits of n (below 10^6) at the front of d, leading zeros included; returns how many
// stay once trailing zeros go (at least one when the first digit is not zero).
std::size_t sixDigitsWithoutTrailingZeros(std::array<char, 16>& d, std::uint64_t n) {
    if constexpr (std::endian::native == std::endian::little) {
        // Built in a register, digit i in byte i, and stored at once; '0' gives a zero byte under
        // the mask, so the zero bytes at the top are the trailing zeros.
        const auto pair = [](std::uint64_t k) {
            std::uint16_t bits = 0;
            std::memcpy(&bits, &kDigitPairs[2 * k], sizeof bits);
            return std::uint64_t{bits};
        };
        const std::uint64_t word =
            pair(n / 10000) | pair(n / 100 % 100) << 16 | pair(n % 100) << 32;
        std::memcpy(d.data(), &word, sizeof word);
        const std::uint64_t values = (word ^ 0x303030303030ull) << 16;
        return kSignificantDigits - static_cast<std::size_t>(std::countl_zero(values) / 8);
    } else {
        writeSixDigits(d.data(), n);
        std::size_t kept = kSignificantDigits;
        while (kept > 1 && d[kept - 1] == '0') {
            --kept;
        }
        return kept;
    }
}

// Writes n in decimal without leading zeros.
char* writeUnsigned(char* out, std::uint64_t n) {
    std::array<char, 20> digits{};
    std::size_t at = digits.size();
    do {
        digits[--at] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    const std::size_t count = digits.size() - at;
    std::memcpy(out, digits.data() + at, count);
    return out + count;
}

// The integer nearest to y, ties to even, for 0 <= y < 2^52: adding 2^52 leaves no fraction
// bits, so the addition itself rounds (in the default rounding mode).
double roundToInteger(double y) {
    constexpr double kNoFraction = 4503599627370496.0;  // 2^52
    return (y + kNoFraction) - kNoFraction;
}

// True when y, the rounded result of one multiplication or division whose exact result P is not
// known, rounds to the same integer r as P does: y lies further from the half-way points than
// the error of that one rounding (at most half a unit in the last place, below y x 2^-53).
bool roundsLikeExact(double y, double r) {
    return 0.5 - std::fabs(y - r) > y * 0x1p-52;
}

// magnitude x 10^shift rounded to an integer as formatted printing rounds the exact product;
// false when one exact operand is not at hand or the result is too close to a half-way point.
bool scaledToInteger(double magnitude, int shift, std::uint64_t& integer) {
    if (shift < -kExactPower || shift > kExactPower) {
        return false;
    }
    const double scaled = shift >= 0 ? magnitude * kPowersOfTen[static_cast<std::size_t>(shift)]
                                     : magnitude / kPowersOfTen[static_cast<std::size_t>(-shift)];
    const double rounded = roundToInteger(scaled);
    if (!roundsLikeExact(scaled, rounded)) {
        return false;
    }
    integer = static_cast<std::uint64_t>(rounded);
    return true;
}

// 10^k for k from -20 to 28 (the negative ones rounded), to place a magnitude among them.
constexpr int kLowestPlace = -20;
constexpr std::array<double, 49> kPlaces = {
    1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8,
    1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,   1e2,   1e3,   1e4,  1e5,
    1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,  1e14,  1e15,  1e16,  1e17, 1e18,
    1e19,  1e20,  1e21,  1e22,  1e23,  1e24,  1e25,  1e26,  1e27,  1e28,
};

// Six significant digits of magnitude (positive, normal) and the decimal exponent of the first
// one, rounded as formatted printing rounds; false when this cannot be settled cheaply.
bool sixSignificantDigits(double magnitude, std::uint64_t& digits, int& exponent) {
    // floor(log10(magnitude)): the estimate from the binary exponent, or one more.
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int binaryExponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    int decimal = (binaryExponent * 78913) >> 18;  // floor(binaryExponent x log10(2))
    const int next = decimal + 1 - kLowestPlace;
    if (next < 0 || next >= static_cast<int>(kPlaces.size())) {
        return false;
    }
    if (magnitude >= kPlaces[static_cast<std::size_t>(next)]) {
        decimal += 1;
    }
    if (!scaledToInteger(magnitude, kSignificantDigits - 1 - decimal, digits)) {
        return false;
    }
    if (digits == kPastSixDigits) {
        // 999999.5 and above round up to the next power of ten.
        digits = kSmallestSixDigits;
        decimal += 1;
    }
    exponent = decimal;
    // A magnitude within a rounding of a negative power of ten may be placed one off: then the
    // digits are not six, and the library writes it.
    return digits >= kSmallestSixDigits && digits < kPastSixDigits;
}

// The general conversion of formatted printing at precision 6, by the library.
char* writeGeneralByLibrary(char* out, double value) {
    return std::to_chars(out, out + kNumberTextRoom, value, std::chars_format::general,
                         kSignificantDigits)
        .ptr;
}

}  // namespace

char* writeDefaultNotation(char* out, double value) {
    const double magnitude = std::fabs(value);
    std::uint64_t digits = 0;
    int exponent = 0;
    if (!std::isnormal(magnitude) || !sixSignificantDigits(magnitude, digits, exponent)) {
        return writeGeneralByLibrary(out, value);
    }
    // The six digits, most significant first, then zeros: pieces of it are copied eight
    // characters at a time (the room behind `out` takes the excess), and only the characters
    // that belong to the text are counted.
    std::array<char, 16> d{};
    const std::size_t kept = sixDigitsWithoutTrailingZeros(d, digits);

    *out = '-';
    out += std::signbit(value) ? 1 : 0;
    if (exponent >= 0 && exponent < kSignificantDigits) {
        // ddd.ddd: exponent + 1 digits before the point, the point only when digits follow.
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        std::memcpy(out, d.data(), 8);
        out += whole;
        if (kept > whole) {
            *out = '.';
            std::memcpy(out + 1, d.data() + whole, 8);
            out += 1 + kept - whole;
        }
        return out;
    }
    if (exponent < 0 && exponent >= -4) {
        // 0.000ddd
        std::memcpy(out, "0.000000", 8);
        out += 1 - exponent;
        std::memcpy(out, d.data(), 8);
        return out + kept;
    }
    // d.ddddde+XX
    *out++ = d[0];
    if (kept > 1) {
        *out = '.';
        std::memcpy(out + 1, d.data() + 1, 8);
        out += kept;
    }
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const auto power = static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent);
    if (power >= 100) {
        *out++ = static_cast<char>('0' + power / 100);
    }
    return writePair(out, power % 100);
}

char* writeSixDecimals(char* out, double value) {
    const double magnitude = std::fabs(value);
    // Below 1e9 the scaled value stays below 2^50, where the rounding test is sound.
    if (magnitude < 1e9) {
        const double scaled = magnitude * kFixedScale;
        const double rounded = roundToInteger(scaled);
        if (roundsLikeExact(scaled, rounded)) {
            const auto units = static_cast<std::uint64_t>(rounded);
            *out = '-';
            out += std::signbit(value) ? 1 : 0;
            const std::uint64_t whole = units / kFixedUnits;
            if (whole < 10) {
                *out++ = static_cast<char>('0' + whole);
            } else {
                out = writeUnsigned(out, whole);
            }
            *out++ = '.';
            return writeSixDigits(out, units % kFixedUnits);
        }
    }
    // Any other value, by the library, padded to the minimum width.
    std::array<char, kNumberTextRoom> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                            std::chars_format::fixed, kFixedDecimals);
    if (error != std::errc()) {
        return out;
    }
    const auto length = static_cast<std::size_t>(end - text.data());
    for (std::size_t i = length; i < kFixedMinimumWidth; ++i) {
        *out++ = ' ';
    }
    std::memcpy(out, text.data(), length);
    return out + length;
}

bool isDefaultNotation(std::string_view text) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto allDigits = [&](std::string_view digits) {
        for (const char c : digits) {
            if (!isDigit(c)) {
                return false;
            }
        }
        return true;
    };
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    if (text.empty() || !isDigit(text.front())) {
        return false;
    }
    const std::size_t point = text.find('.');
    if (text.front() == '0') {
        // "0", or "0." with at most three zeros and then one to six significant digits.
        if (text.size() == 1) {
            return true;
        }
        if (point != 1) {
            return false;
        }
        const std::string_view fraction = text.substr(2);
        const std::size_t zeros = fraction.find_first_not_of('0');
        if (zeros == std::string_view::npos || zeros > 3) {
            return false;
        }
        const std::size_t significant = fraction.size() - zeros;
        return significant <= kSignificantDigits && allDigits(fraction) && fraction.back() != '0';
    }
    // One to six digits before the point, and together with those after it at most six, the last
    // not a zero.
    if (point == std::string_view::npos) {
        return text.size() <= kSignificantDigits && allDigits(text);
    }
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = text.substr(point + 1);
    return !fraction.empty() && whole.size() + fraction.size() <= kSignificantDigits &&
           allDigits(whole) && allDigits(fraction) && fraction.back() != '0';
}

void appendDefaultNotation(std::string& text, double value) {
    std::array<char, kNumberTextRoom> buffer;  // only what is written is read
    text.append(buffer.data(), writeDefaultNotation(buffer.data(), value));
}

void appendSixDecimals(std::string& text, double value) {
    std::array<char, kNumberTextRoom> buffer;  // only what is written is read
    text.append(buffer.data(), writeSixDecimals(buffer.data(), value));
}

}  // namespace text
