// The response-function kernels: shape, scaling, and their running integral.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "response/ResponseFunction.h"

namespace {

using response::ResponseFunction;

constexpr double kStep = 0.001;  // seconds

double timeOfSample(const std::vector<double>& kernel, std::vector<double>::const_iterator it) {
    return static_cast<double>(it - kernel.begin()) * kStep;
}

TEST(ResponseFunction, TwoGammaPeaksNearFiveSecondsWithItsUndershootNearFifteen) {
    const auto kernel = response::sampledKernel(ResponseFunction::TwoGamma, kStep);
    const double peak = timeOfSample(kernel, std::max_element(kernel.begin(), kernel.end()));
    const double undershoot = timeOfSample(kernel, std::min_element(kernel.begin(), kernel.end()));
    EXPECT_GE(peak, 4.8);
    EXPECT_LE(peak, 5.2);
    EXPECT_GE(undershoot, 14.0);
    EXPECT_LE(undershoot, 16.0);
    EXPECT_LT(*std::min_element(kernel.begin(), kernel.end()), 0.0);
}

TEST(ResponseFunction, BoyntonPeaksAtFiveSecondsAndIsZeroBeforeItsDelay) {
    const auto kernel = response::sampledKernel(ResponseFunction::Boynton, kStep);
    const double peak = timeOfSample(kernel, std::max_element(kernel.begin(), kernel.end()));
    EXPECT_NEAR(peak, 5.0, kStep);
    EXPECT_EQ(response::kernelValue(ResponseFunction::Boynton, 2.49), 0.0);
    EXPECT_GT(response::kernelValue(ResponseFunction::Boynton, 2.6), 0.0);
}

class EachResponseFunction : public testing::TestWithParam<ResponseFunction> {};

TEST_P(EachResponseFunction, SampledKernelSumsToOneAtAnyStep) {
    for (double step : {0.001, 0.1, 0.125, 2.0}) {
        const auto kernel = response::sampledKernel(GetParam(), step);
        EXPECT_NEAR(std::accumulate(kernel.begin(), kernel.end(), 0.0), 1.0, 1e-12) << step;
        EXPECT_EQ(kernel.size(), static_cast<std::size_t>(std::lround(32.0 / step)) + 1) << step;
    }
}

TEST_P(EachResponseFunction, RunningIntegralMatchesTheKernelAndReachesOne) {
    const ResponseFunction function = GetParam();
    EXPECT_EQ(response::kernelIntegral(function, -1.0), 0.0);
    EXPECT_EQ(response::kernelIntegral(function, 32.0), 1.0);
    EXPECT_EQ(response::kernelIntegral(function, 50.0), 1.0);
    // The trapezoid rule over the kernel's values follows the closed-form integral.
    double sum = 0.0;
    for (double t = 0.0; t < 32.0 - kStep / 2; t += kStep) {
        sum += (response::kernelValue(function, t) + response::kernelValue(function, t + kStep)) *
               kStep / 2;
        const double end = t + kStep;
        if (std::abs(end - std::round(end)) < kStep / 2 &&
            static_cast<int>(std::round(end)) % 4 == 0) {
            EXPECT_NEAR(sum, response::kernelIntegral(function, end), 1e-6) << end;
        }
    }
    EXPECT_NEAR(sum, 1.0, 1e-6);
}

TEST_P(EachResponseFunction, BlockResponseIsTheDifferenceOfTheRunningIntegral) {
    const ResponseFunction function = GetParam();
    EXPECT_EQ(response::blockResponse(function, 10.0, 14.0, 2.0, 9.0), 0.0);
    EXPECT_DOUBLE_EQ(
        response::blockResponse(function, 10.0, 14.0, 2.0, 20.0),
        2.0 * (response::kernelIntegral(function, 10.0) - response::kernelIntegral(function, 6.0)));
    // Long after the block the response is over, exactly.
    EXPECT_EQ(response::blockResponse(function, 10.0, 14.0, 2.0, 50.0), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Kernels, EachResponseFunction,
                         testing::Values(ResponseFunction::TwoGamma, ResponseFunction::Boynton),
                         [](const testing::TestParamInfo<ResponseFunction>& testCase) {
                             return testCase.param == ResponseFunction::TwoGamma ? "TwoGamma"
                                                                                 : "Boynton";
                         });

}  // namespace
