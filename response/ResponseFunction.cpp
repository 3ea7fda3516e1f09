#include "response/ResponseFunction.h"

#include <cmath>
#include <numeric>

namespace response {

namespace {

constexpr double kBoyntonOrder = 3.0;     // n
constexpr double kBoyntonTau = 1.25;      // seconds
constexpr double kBoyntonDelay = 2.5;     // d, seconds
constexpr double kUndershootRatio = 6.0;  // the second gamma's weight is 1/6

// Gamma density with integer shape a and scale 1.
double gammaDensity(int shape, double t) {
    if (t <= 0.0) {
        return 0.0;
    }
    return std::exp((shape - 1) * std::log(t) - t - std::lgamma(shape));
}

// Regularized lower incomplete gamma P(a, x) for integer shape a:
// 1 - e^-x sum_{k<a} x^k / k!.
double gammaIntegral(int shape, double x) {
    if (x <= 0.0) {
        return 0.0;
    }
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k < shape; ++k) {
        term *= x / k;
        sum += term;
    }
    return 1.0 - std::exp(-x) * sum;
}

// The kernels before scaling, and their running integrals.
double rawValue(ResponseFunction function, double t) {
    if (function == ResponseFunction::TwoGamma) {
        return gammaDensity(6, t) - gammaDensity(16, t) / kUndershootRatio;
    }
    return gammaDensity(static_cast<int>(kBoyntonOrder), (t - kBoyntonDelay) / kBoyntonTau) /
           kBoyntonTau;
}

// d/dt g(t; a, 1) = g(t; a - 1, 1) - g(t; a, 1).
double gammaSlope(int shape, double t) {
    return gammaDensity(shape - 1, t) - gammaDensity(shape, t);
}

double rawSlope(ResponseFunction function, double t) {
    if (function == ResponseFunction::TwoGamma) {
        return gammaSlope(6, t) - gammaSlope(16, t) / kUndershootRatio;
    }
    return gammaSlope(static_cast<int>(kBoyntonOrder), (t - kBoyntonDelay) / kBoyntonTau) /
           (kBoyntonTau * kBoyntonTau);
}

double rawIntegral(ResponseFunction function, double t) {
    if (function == ResponseFunction::TwoGamma) {
        return gammaIntegral(6, t) - gammaIntegral(16, t) / kUndershootRatio;
    }
    return gammaIntegral(static_cast<int>(kBoyntonOrder), (t - kBoyntonDelay) / kBoyntonTau);
}

// The kernel's raw integral over its 32 s, worked out once per kernel.
double scale(ResponseFunction function) {
    static const double twoGamma = rawIntegral(ResponseFunction::TwoGamma, kKernelSeconds);
    static const double boynton = rawIntegral(ResponseFunction::Boynton, kKernelSeconds);
    return function == ResponseFunction::TwoGamma ? twoGamma : boynton;
}

}  // namespace

double kernelValue(ResponseFunction function, double seconds) {
    if (seconds < 0.0 || seconds > kKernelSeconds) {
        return 0.0;
    }
    return rawValue(function, seconds) / scale(function);
}

double kernelSlope(ResponseFunction function, double seconds) {
    if (seconds <= 0.0 || seconds >= kKernelSeconds) {
        return 0.0;
    }
    return rawSlope(function, seconds) / scale(function);
}

double kernelIntegral(ResponseFunction function, double seconds) {
    if (seconds <= 0.0) {
        return 0.0;
    }
    if (seconds >= kKernelSeconds) {
        return 1.0;
    }
    return rawIntegral(function, seconds) / scale(function);
}

std::vector<double> sampledKernel(ResponseFunction function, double stepSeconds) {
    std::vector<double> samples;
    if (!(stepSeconds > 0.0)) {
        return samples;
    }
    for (std::size_t i = 0;; ++i) {
        const double t = static_cast<double>(i) * stepSeconds;
        if (t > kKernelSeconds + 1e-9) {
            break;
        }
        samples.push_back(rawValue(function, t));
    }
    const double sum = std::accumulate(samples.begin(), samples.end(), 0.0);
    for (double& sample : samples) {
        sample /= sum;
    }
    return samples;
}

double blockResponse(ResponseFunction function, double start, double end, double value, double t) {
    return value * (kernelIntegral(function, t - start) - kernelIntegral(function, t - end));
}

}  // namespace response
