#include "designmatrix/NumberFormatting.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace designmatrix {

namespace {

constexpr int kSignificantDigits = 6;
constexpr std::uint64_t kSmallestSixDigits = 100000;
constexpr std::uint64_t kPastSixDigits = 1000000;
constexpr int kFixedDecimals = 6;
constexpr double kFixedScale = 1e6;
constexpr std::size_t kFixedMinimumWidth = 4;

// 10^k for k from 0 to 22, all exact.
constexpr std::array<double, 23> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};
constexpr int kExactPower = 22;

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

// Appends the general conversion of formatted printing at precision 6, by the library.
void appendGeneralByLibrary(std::string& text, double value) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::general, kSignificantDigits);
    if (error == std::errc()) {
        text.append(buffer.data(), end);
    }
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

// Six significant digits of magnitude (positive, normal) and the decimal exponent of the first
// one, rounded as formatted printing rounds; false when this cannot be settled cheaply.
bool sixSignificantDigits(double magnitude, std::uint64_t& digits, int& exponent) {
    // floor(log10(magnitude)) is the estimate from the binary exponent or one more.
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int binaryExponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    int decimal = (binaryExponent * 78913) >> 18;  // floor(binaryExponent x log10(2))
    if (!scaledToInteger(magnitude, kSignificantDigits - 1 - decimal, digits)) {
        return false;
    }
    if (digits > kPastSixDigits) {
        // Seven digits: the estimate was one too small.
        decimal += 1;
        if (!scaledToInteger(magnitude, kSignificantDigits - 1 - decimal, digits)) {
            return false;
        }
    }
    if (digits == kPastSixDigits) {
        // 999999.5 and above round up to the next power of ten.
        digits = kSmallestSixDigits;
        decimal += 1;
    }
    exponent = decimal;
    return digits >= kSmallestSixDigits && digits < kPastSixDigits;
}

}  // namespace

void appendDefaultNotation(std::string& text, double value) {
    const double magnitude = std::fabs(value);
    std::uint64_t digits = 0;
    int exponent = 0;
    if (!std::isnormal(magnitude) || !sixSignificantDigits(magnitude, digits, exponent)) {
        appendGeneralByLibrary(text, value);
        return;
    }
    // The six digits, most significant first, and how many stay once trailing zeros go.
    std::array<char, kSignificantDigits> d{};
    for (int i = kSignificantDigits - 1; i >= 0; --i) {
        d[static_cast<std::size_t>(i)] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int kept = kSignificantDigits;
    while (kept > 1 && d[static_cast<std::size_t>(kept - 1)] == '0') {
        --kept;
    }

    std::array<char, 32> out{};
    std::size_t n = 0;
    if (std::signbit(value)) {
        out[n++] = '-';
    }
    if (exponent < -4 || exponent >= kSignificantDigits) {
        // d.ddddde+XX
        out[n++] = d[0];
        if (kept > 1) {
            out[n++] = '.';
            for (int i = 1; i < kept; ++i) {
                out[n++] = d[static_cast<std::size_t>(i)];
            }
        }
        out[n++] = 'e';
        out[n++] = exponent < 0 ? '-' : '+';
        const int power = exponent < 0 ? -exponent : exponent;
        if (power >= 100) {
            out[n++] = static_cast<char>('0' + power / 100);
        }
        out[n++] = static_cast<char>('0' + power / 10 % 10);
        out[n++] = static_cast<char>('0' + power % 10);
    } else if (exponent >= 0) {
        // ddd.ddd: the first exponent + 1 digits before the point.
        const int whole = exponent + 1;
        for (int i = 0; i < whole; ++i) {
            out[n++] = d[static_cast<std::size_t>(i)];
        }
        if (kept > whole) {
            out[n++] = '.';
            for (int i = whole; i < kept; ++i) {
                out[n++] = d[static_cast<std::size_t>(i)];
            }
        }
    } else {
        // 0.000ddd
        out[n++] = '0';
        out[n++] = '.';
        for (int i = -1; i > exponent; --i) {
            out[n++] = '0';
        }
        for (int i = 0; i < kept; ++i) {
            out[n++] = d[static_cast<std::size_t>(i)];
        }
    }
    text.append(out.data(), n);
}

void appendSixDecimals(std::string& text, double value) {
    const double magnitude = std::fabs(value);
    // Below 1e9 the scaled value stays below 2^50, where the rounding test is sound.
    if (magnitude < 1e9) {
        const double scaled = magnitude * kFixedScale;
        const double rounded = roundToInteger(scaled);
        if (roundsLikeExact(scaled, rounded)) {
            const auto units = static_cast<std::uint64_t>(rounded);
            std::array<char, 32> out{};
            std::size_t n = 0;
            if (std::signbit(value)) {
                out[n++] = '-';
            }
            const auto whole = units / static_cast<std::uint64_t>(kFixedScale);
            auto fraction = units % static_cast<std::uint64_t>(kFixedScale);
            n = static_cast<std::size_t>(
                std::to_chars(out.data() + n, out.data() + out.size(), whole).ptr - out.data());
            out[n++] = '.';
            for (int i = kFixedDecimals - 1; i >= 0; --i) {
                out[n + static_cast<std::size_t>(i)] = static_cast<char>('0' + fraction % 10);
                fraction /= 10;
            }
            n += kFixedDecimals;
            text.append(out.data(), n);
            return;
        }
    }
    // Any other value, by the library: the text grows to fit the largest magnitudes.
    std::string printed(32, '\0');
    for (;;) {
        const auto [end, error] = std::to_chars(printed.data(), printed.data() + printed.size(),
                                                value, std::chars_format::fixed, kFixedDecimals);
        if (error == std::errc()) {
            printed.resize(static_cast<std::size_t>(end - printed.data()));
            break;
        }
        printed.resize(printed.size() * 2);
    }
    if (printed.size() < kFixedMinimumWidth) {
        text.append(kFixedMinimumWidth - printed.size(), ' ');
    }
    text += printed;
}

}  // namespace designmatrix
