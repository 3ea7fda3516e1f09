#include "plot/SingularValues.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace plot {

namespace {

using Columns = std::vector<std::vector<double>>;

double dot(const std::vector<double>& a, const std::vector<double>& b, std::size_t from = 0) {
    double sum = 0.0;
    for (std::size_t i = from; i < a.size(); ++i) {
        sum += a[i] * b[i];
    }
    return sum;
}

// Reduces the columns in place to the upper triangle R of A = QR (rows below the diagonal left
// as they fall) and answers R as square columns.
Columns triangularFactor(Columns& a) {
    const std::size_t n = a.size();
    for (std::size_t k = 0; k < n; ++k) {
        std::vector<double> v(a[k].begin() + static_cast<std::ptrdiff_t>(k), a[k].end());
        const double norm = std::sqrt(dot(v, v));
        if (norm == 0.0) {
            continue;
        }
        v[0] += v[0] < 0.0 ? -norm : norm;  // the reflection that avoids cancellation
        const double vv = dot(v, v);
        for (std::size_t j = k; j < n; ++j) {
            double projection = 0.0;
            for (std::size_t i = 0; i < v.size(); ++i) {
                projection += v[i] * a[j][k + i];
            }
            const double factor = 2.0 * projection / vv;
            for (std::size_t i = 0; i < v.size(); ++i) {
                a[j][k + i] -= factor * v[i];
            }
        }
    }
    Columns r(n, std::vector<double>(n, 0.0));
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t i = 0; i <= j; ++i) {
            r[j][i] = a[j][i];
        }
    }
    return r;
}

// One-sided Jacobi: rotates pairs of columns until all are orthogonal; the column lengths are
// then the singular values.
void orthogonalise(Columns& r) {
    constexpr int kMaximumSweeps = 80;
    const double epsilon = std::numeric_limits<double>::epsilon();
    const std::size_t n = r.size();
    for (int sweep = 0; sweep < kMaximumSweeps; ++sweep) {
        bool rotated = false;
        for (std::size_t p = 0; p + 1 < n; ++p) {
            for (std::size_t q = p + 1; q < n; ++q) {
                const double alpha = dot(r[p], r[p]);
                const double beta = dot(r[q], r[q]);
                const double gamma = dot(r[p], r[q]);
                if (std::abs(gamma) <= epsilon * std::sqrt(alpha * beta)) {
                    continue;
                }
                rotated = true;
                const double zeta = (beta - alpha) / (2.0 * gamma);
                const double t =
                    std::copysign(1.0, zeta) / (std::abs(zeta) + std::sqrt(1.0 + zeta * zeta));
                const double c = 1.0 / std::sqrt(1.0 + t * t);
                const double s = c * t;
                for (std::size_t i = 0; i < n; ++i) {
                    const double x = r[p][i];
                    const double y = r[q][i];
                    r[p][i] = c * x - s * y;
                    r[q][i] = s * x + c * y;
                }
            }
        }
        if (!rotated) {
            return;
        }
    }
}

}  // namespace

std::vector<double> singularValues(Columns columns) {
    Columns r = triangularFactor(columns);
    orthogonalise(r);
    std::vector<double> values;
    for (const auto& column : r) {
        values.push_back(std::sqrt(dot(column, column)));
    }
    std::sort(values.begin(), values.end(), std::greater<>());
    return values;
}

}  // namespace plot
