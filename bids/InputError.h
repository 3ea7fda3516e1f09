#pragma once

// The one kind of failure the BIDS commands report: an input that cannot be used, or an output
// that cannot be written. The message names the file and, where there is one, the row and the
// column, so that it can be shown to the user as it stands.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace bids {

class InputError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "FILE: row R (line L)": data row R counted from 1 after the header line, L its line in the
// file.
std::string rowPlace(std::string_view file, std::size_t rowIndex);
// "FILE: row R (line L), column NAME".
std::string cellPlace(std::string_view file, std::size_t rowIndex, std::string_view column);

}  // namespace bids
