#pragma once

// The haemodynamic response functions the host convolves predictors with. Each kernel is 32 s
// long (t in seconds from 0) and scaled so that its integral over those 32 s is 1: a long
// enough block settles at the predictor's value.

#include <vector>

namespace response {

enum class ResponseFunction {
    TwoGamma,  // g(t; 6, 1) - g(t; 16, 1) / 6, g the gamma density with shape a and scale b
    Boynton,   // ((t-d)/tau)^(n-1) e^(-(t-d)/tau) / (tau (n-1)!) for t >= d; n 3, tau 1.25, d 2.5
};

inline constexpr double kKernelSeconds = 32.0;

// The scaled kernel at t seconds; 0 outside [0, 32].
double kernelValue(ResponseFunction function, double seconds);

// Time derivative of the scaled kernel at t seconds; 0 outside (0, 32).
double kernelSlope(ResponseFunction function, double seconds);

// Integral of the scaled kernel from 0 to t seconds: 0 for t <= 0, 1 for t >= 32.
double kernelIntegral(ResponseFunction function, double seconds);

// The kernel sampled every stepSeconds from 0 to 32 s inclusive, scaled so the samples sum to 1.
std::vector<double> sampledKernel(ResponseFunction function, double stepSeconds);

// Response at time t (seconds) to a block of value v from `start` to `end` (seconds), exactly:
// v x (H(t - start) - H(t - end)), H the kernel's running integral.
double blockResponse(ResponseFunction function, double start, double end, double value, double t);

}  // namespace response
