#include "designmatrix/NumberParsing.h"

#include <array>
#include <charconv>
#include <limits>
#include <system_error>

namespace designmatrix {

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

// What a scan of a floating-point text found. While at most kMaxMantissaDigits significant digits
// were seen, the text's value is mantissa x 10^(exponent - fractionDigits).
struct DecimalText {
    bool negative = false;
    bool hasDigits = false;  // a digit before or after the decimal point
    bool exponentMark = false;
    bool exponentDigits = false;
    bool exponentNegative = false;
    std::uint64_t mantissa = 0;
    int significantDigits = 0;  // digits from the first non-zero one on
    std::int64_t fractionDigits = 0;
    // The value is 0.d... x 10^(leadingPlace + exponent), d the first significant digit.
    std::int64_t leadingPlace = 0;
    std::int64_t exponent = 0;  // without its sign, capped

    bool isNumber() const { return hasDigits && (!exponentMark || exponentDigits); }
    std::int64_t signedExponent() const { return exponentNegative ? -exponent : exponent; }
};

void takeMantissaDigit(DecimalText& text, char c, bool afterPoint) {
    text.hasDigits = true;
    if (afterPoint) {
        ++text.fractionDigits;
    }
    if (text.significantDigits == 0 && c == '0') {
        if (afterPoint) {
            --text.leadingPlace;
        }
        return;
    }
    if (!afterPoint) {
        ++text.leadingPlace;
    }
    if (text.significantDigits < kMaxMantissaDigits) {
        text.mantissa = text.mantissa * 10 + digitOf(c);
    }
    ++text.significantDigits;
}

// The correctly rounded value of the taken characters, for the texts the exact shortcut does not
// cover. False when the magnitude is beyond the largest double.
bool convertText(const char* first, const char* end, const DecimalText& text, double& value) {
    if (*first == '+') {
        ++first;  // the conversion takes no '+' in front
    }
    const auto [stop, error] = std::from_chars(first, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (text.leadingPlace + text.signedExponent() > 0) {
            value = text.negative ? std::numeric_limits<double>::lowest()
                                  : std::numeric_limits<double>::max();
            return false;
        }
        value = text.negative ? -0.0 : 0.0;
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
    DecimalText text;
    if (p != last && (*p == '+' || *p == '-')) {
        text.negative = *p == '-';
        ++p;
    }
    bool afterPoint = false;
    while (p != last) {
        const char c = *p;
        if (isDigit(c)) {
            if (text.exponentMark) {
                text.exponentDigits = true;
                if (text.exponent < kExponentCap) {
                    text.exponent = text.exponent * 10 + digitOf(c);
                }
            } else {
                takeMantissaDigit(text, c, afterPoint);
            }
        } else if (c == '.' && !afterPoint && !text.exponentMark) {
            afterPoint = true;
        } else if ((c == 'e' || c == 'E') && !text.exponentMark && text.hasDigits) {
            text.exponentMark = true;
            // A sign right after the mark belongs to the exponent; anything else is looked at
            // afresh.
            if (p + 1 != last && (p[1] == '+' || p[1] == '-')) {
                text.exponentNegative = p[1] == '-';
                ++p;
            }
        } else {
            break;
        }
        ++p;
    }

    if (!text.isNumber()) {
        value = 0.0;
        return {p, false};
    }
    if (text.significantDigits == 0) {
        value = text.negative ? -0.0 : 0.0;
        return {p, true};
    }
    const std::int64_t scale = text.signedExponent() - text.fractionDigits;
    if (text.significantDigits <= kMaxMantissaDigits && text.mantissa <= kExactMantissa &&
        scale >= -kExactPowerOfTen && scale <= kExactPowerOfTen) {
        // Both operands are exact, so the one rounding of the division or product is the correct
        // rounding of the decimal value.
        const auto mantissa = static_cast<double>(text.mantissa);
        const double magnitude = scale < 0
                                     ? mantissa / kPowersOfTen[static_cast<std::size_t>(-scale)]
                                     : mantissa * kPowersOfTen[static_cast<std::size_t>(scale)];
        value = text.negative ? -magnitude : magnitude;
        return {p, true};
    }
    return {p, convertText(first, p, text, value)};
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

}  // namespace designmatrix
