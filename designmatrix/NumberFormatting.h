#pragma once

// Values written as the design-matrix writer writes them, without a stream or formatted
// printing: the same characters, many times faster.

#include <string>

namespace designmatrix {

// Appends the value as an output stream with its default settings writes it in the classic
// locale: at most six significant digits, trailing zeros dropped, exponent form for magnitudes
// below 1e-4 or from 1e6 on ("%.6g").
void appendDefaultNotation(std::string& text, double value);

// Appends the value as "%4.6lf" writes it in the classic locale: six decimals, at least four
// characters, any magnitude.
void appendSixDecimals(std::string& text, double value);

}  // namespace designmatrix
