#pragma once

// Token reading of the design-matrix and time-course text layouts: formatted stream extraction
// in the classic locale (white space of any kind separates, '.' is the decimal point whatever
// the process locale). Every read reports whether it succeeded; after a failure every later read
// fails too.

#include <cstdint>
#include <istream>
#include <string>

namespace testsupport {

class TokenReader {
  public:
    // Reads from `in`, whose locale is set to the classic one.
    explicit TokenReader(std::istream& in);

    // The next white-space-delimited token.
    bool word(std::string& token);
    // A predictor name: when it begins with a double quote, everything up to and including the
    // next double quote on the same line (blanks included; a line end first is a failure);
    // otherwise one white-space-delimited token.
    bool name(std::string& token);
    // A signed decimal 32-bit integer, as stream extraction reads one.
    bool integer(std::int32_t& value);
    // A floating-point number, as stream extraction of a double reads one.
    bool number(double& value);
    // Reads single characters, skipping white space, until `count` double quotes have passed.
    // False when the input ends first.
    bool skipQuotes(std::int64_t count);

    bool good() const { return !in_.fail(); }

  private:
    std::istream& in_;
};

}  // namespace testsupport
