#include "text/NumberParsing.h"

#include <array>
#include <charconv>
#include <limits>
#include <system_error>

namespace text {

namespace {

constexpr int kMaxMantissaDigits = 19;                // any 19 digits fit in 64 bits
constexpr std::uint64_t kExactMantissa = 1ull << 53;  // integers a double holds exactly
constexpr std::int64_t kExactPowerOfTen = 22;         // 10^22 is the largest exact power of ten
constexpr std::int64_t kExponentCap = 1000000;        // far beyond any double, either way

constexpr std::array<double, kExactPowerOfTen + 1> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

unsigned digitOf(char c) {
    return static_cast<unsigned>(c - '0');
}

// Decimal place of the first significant digit of a floating-point text: its value is
// 0.d... x 10^(place + exponent).
std::int64_t leadingPlace(const char* p, const char* end) {
    std::int64_t place = 0;
    bool afterPoint = false;
    bool significant = false;
    for (; p != end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            afterPoint = true;
        } else if (isDigit(*p)) {
            significant = significant || *p != '0';
            if (!afterPoint && significant) {
                ++place;
            } else if (afterPoint && !significant) {
                --place;
            }
        }
    }
    return place;
}

// The correctly rounded value of the taken characters, for the texts the exact shortcut does not
// cover. False when the magnitude is beyond the largest double.
bool convertText(const char* first, const char* end, bool negative, std::int64_t exponent,
                 double& value) {
    if (*first == '+') {
        ++first;  // the conversion takes no '+' in front
    }
    const auto [stop, error] = std::from_chars(first, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Far beyond the largest double or far below the smallest: the side shows in where the
        // first significant digit stands.
        if (leadingPlace(first, end) + exponent > 0) {
            value = negative ? std::numeric_limits<double>::lowest()
                             : std::numeric_limits<double>::max();
            return false;
        }
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (error != std::errc() || stop != end) {
        value = 0.0;
        return false;
    }
    return true;
}

}  // namespace

NumberScan scanDouble(const char* first, const char* last, double& value) {
    const char* p = first;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Digits before and after the point. While at most kMaxMantissaDigits of them are
    // significant, the value is mantissa x 10^(exponent - fractionDigits).
    std::uint64_t mantissa = 0;
    int significant = 0;
    const char* wholeStart = p;
    while (p != last && *p == '0') {
        ++p;
    }
    for (; p != last && isDigit(*p); ++p) {
        if (significant < kMaxMantissaDigits) {
            mantissa = mantissa * 10 + digitOf(*p);
        }
        ++significant;
    }
    bool hasDigits = p != wholeStart;
    std::int64_t fractionDigits = 0;
    if (p != last && *p == '.') {
        ++p;
        const char* fractionStart = p;
        if (significant == 0) {
            while (p != last && *p == '0') {
                ++p;
            }
        }
        for (; p != last && isDigit(*p); ++p) {
            if (significant < kMaxMantissaDigits) {
                mantissa = mantissa * 10 + digitOf(*p);
            }
            ++significant;
        }
        fractionDigits = p - fractionStart;
        hasDigits = hasDigits || fractionDigits > 0;
    }
    // An exponent mark counts only after a digit; then digits must follow it (and its sign).
    bool isNumber = hasDigits;
    std::int64_t exponent = 0;
    if (hasDigits && p != last && (*p == 'e' || *p == 'E')) {
        ++p;
        bool exponentNegative = false;
        if (p != last && (*p == '+' || *p == '-')) {
            exponentNegative = *p == '-';
            ++p;
        }
        const char* exponentStart = p;
        for (; p != last && isDigit(*p); ++p) {
            if (exponent < kExponentCap) {
                exponent = exponent * 10 + digitOf(*p);
            }
        }
        isNumber = p != exponentStart;
        if (exponentNegative) {
            exponent = -exponent;
        }
    }

    if (!isNumber) {
        value = 0.0;
        return {p, false};
    }
    if (significant == 0) {
        value = negative ? -0.0 : 0.0;
        return {p, true};
    }
    const std::int64_t scale = exponent - fractionDigits;
    if (significant <= kMaxMantissaDigits && mantissa <= kExactMantissa &&
        scale >= -kExactPowerOfTen && scale <= kExactPowerOfTen) {
        // Both operands are exact, so the one rounding of the division or product is the correct
        // rounding of the decimal value.
        const auto exact = static_cast<double>(mantissa);
        const double magnitude = scale < 0 ? exact / kPowersOfTen[static_cast<std::size_t>(-scale)]
                                           : exact * kPowersOfTen[static_cast<std::size_t>(scale)];
        value = negative ? -magnitude : magnitude;
        return {p, true};
    }
    return {p, convertText(first, p, negative, exponent, value)};
}

NumberScan scanInteger(const char* first, const char* last, std::int32_t& value) {
    const char* p = first;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Accumulated as the magnitude of a 64-bit long, as the stream does before it narrows.
    const std::uint64_t limit = negative ? (1ull << 63) : (1ull << 63) - 1;
    std::uint64_t magnitude = 0;
    bool anyDigit = false;
    bool overflow = false;
    for (; p != last && isDigit(*p); ++p) {
        anyDigit = true;
        const unsigned digit = digitOf(*p);
        if (magnitude > limit / 10 || magnitude * 10 > limit - digit) {
            overflow = true;
        } else {
            magnitude = magnitude * 10 + digit;
        }
    }
    if (!anyDigit) {
        value = 0;
        return {p, false};
    }
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    if (negative) {
        if (overflow || magnitude > static_cast<std::uint64_t>(kMax) + 1) {
            value = kMin;
            return {p, false};
        }
        value = static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
        return {p, true};
    }
    if (overflow || magnitude > static_cast<std::uint64_t>(kMax)) {
        value = kMax;
        return {p, false};
    }
    value = static_cast<std::int32_t>(magnitude);
    return {p, true};
}

}  // namespace text
