#pragma once

// Numbers scanned from text exactly as formatted stream extraction in the classic locale scans
// them (the design-matrix and time-course files are read that way), without a stream: the same
// characters are taken, the same texts are refused, and the same value is stored, on success as
// on failure.

#include <cstdint>

namespace text {

// How a scan ended. A scan that stops at `last` wanted to look at the character there: when more
// text follows, scan again over the longer text.
struct NumberScan {
    const char* end = nullptr;  // the first character not taken
    bool ok = false;            // false: the characters taken are not a number; extraction fails
};

// A floating-point number at `first` (white space is not skipped): optional sign, digits with at
// most one '.', optional exponent ('e' or 'E', optional sign, digits). `value` is set as stream
// extraction sets it: the nearest double; 0 for a text that is not a number; the largest finite
// magnitude, with the scan failed, for a magnitude beyond it; zero for one below the smallest.
NumberScan scanDouble(const char* first, const char* last, double& value);

// A signed decimal integer at `first`, read as a long and narrowed to 32 bits as stream
// extraction of an int does: 0 for a text that is not a number; the nearest 32-bit limit, with the
// scan failed, for a value beyond it.
NumberScan scanInteger(const char* first, const char* last, std::int32_t& value);

}  // namespace text
