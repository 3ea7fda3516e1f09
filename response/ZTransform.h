#pragma once

// z-transformation of one column: centred on its mean and divided by its population standard
// deviation (divisor n).

#include <cstdint>

namespace response {

// z-transforms the first n values in place; n <= 0 changes nothing. A column that does not vary
// (every value equal to the first, a single value included, or a standard deviation of zero)
// becomes all zeros and the result is false;
// so does one holding a value that is not finite. Never writes NaN or infinity.
bool zTransformColumn(double* values, std::int32_t n);

}  // namespace response
