#pragma once

// The singular values of a tall matrix, for the design check's condition number.

#include <vector>

namespace plot {

// The singular values, largest first, of the matrix whose columns are given (all of one length,
// at least as many rows as columns). Householder QR first, then one-sided Jacobi rotations on the
// small triangular factor, so the cost grows with rows x columns^2 and the small values stay
// accurate.
std::vector<double> singularValues(std::vector<std::vector<double>> columns);

}  // namespace plot
