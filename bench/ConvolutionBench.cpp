// The headless host's convolution: one run of 1,000 volumes at TR 2 s and a protocol in
// milliseconds with 20 conditions of 20 intervals each (sub-TR onsets, events and blocks). One
// iteration builds the whole design matrix: every condition's predictor added, filled from its
// intervals and convolved with the response function.
//
//   cmake --build --preset release --target bench_convolution

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

#include "formats/Protocol.h"
#include "headless/DesignMatrix.h"

namespace {

constexpr int kVolumes = 1000;
constexpr double kRepetitionTimeMs = 2000.0;
constexpr int kConditions = 20;
constexpr int kIntervals = 20;

formats::Protocol benchmarkProtocol() {
    formats::Protocol protocol;
    protocol.resolution = formats::TimeResolution::Milliseconds;
    std::mt19937 engine(2024);
    const auto runMs = static_cast<int>(kVolumes * kRepetitionTimeMs);
    std::uniform_int_distribution<int> onset(0, runMs - 20000);
    std::uniform_int_distribution<int> duration(100, 16000);
    for (int c = 0; c < kConditions; ++c) {
        formats::ProtocolCondition condition;
        condition.name = "Condition " + std::to_string(c + 1);
        std::vector<int> onsets;
        for (int i = 0; i < kIntervals; ++i) {
            onsets.push_back(onset(engine));
        }
        std::sort(onsets.begin(), onsets.end());
        for (int start : onsets) {
            condition.starts.push_back(start);
            condition.ends.push_back(start + duration(engine));
        }
        condition.color = 0x102030 * (c + 1);
        protocol.conditions.push_back(std::move(condition));
    }
    return protocol;
}

void designMatrix(benchmark::State& state, response::ResponseFunction function) {
    const formats::Protocol protocol = benchmarkProtocol();
    headless::DesignMatrix matrix;
    for (auto _ : state) {
        matrix.reset(kVolumes, kRepetitionTimeMs);
        for (const formats::ProtocolCondition& condition : protocol.conditions) {
            matrix.addPredictor(condition.name);
            headless::Predictor& predictor = *matrix.find(condition.name);
            matrix.fill(
                predictor,
                headless::conditionEvents(condition, protocol.resolution, kRepetitionTimeMs, 1.0),
                condition.color);
            matrix.convolve(predictor, function);
        }
        benchmark::DoNotOptimize(matrix.values(0));
    }
    state.counters["predictors"] = kConditions;
}

BENCHMARK_CAPTURE(designMatrix, TwoGamma, response::ResponseFunction::TwoGamma)
    ->Name("Convolution/DesignMatrix/TwoGamma")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(designMatrix, Boynton, response::ResponseFunction::Boynton)
    ->Name("Convolution/DesignMatrix/Boynton")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
