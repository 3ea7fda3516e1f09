// The four confound readers, each on a file of 2,000 rows: the motion estimates (six columns)
// in both layouts, and 10 physiological predictors in the time-course layout and in the
// design-matrix layout with a constant. Rates are of the file's bytes.
//
//   cmake --build --preset release --target bench_readers

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "bench/BenchFiles.h"
#include "designmatrix/ConfoundReaders.h"

namespace {

constexpr std::int32_t kRows = 2000;
constexpr std::int32_t kPhysiologyPredictors = 10;

const bench::ScratchFolder& folder() {
    static const bench::ScratchFolder scratch;
    return scratch;
}

void runReader(benchmark::State& state, const std::string& path,
               const std::function<designmatrix::DesignMatrixFilePtr(const char*)>& reader) {
    for (auto _ : state) {
        designmatrix::DesignMatrixFilePtr record = reader(path.c_str());
        if (!record->readOk) {
            state.SkipWithError("the file was not read");
            break;
        }
        benchmark::DoNotOptimize(record.get());
    }
    state.SetBytesProcessed(state.iterations() * bench::fileBytes(path));
}

void motionRtc(benchmark::State& state) {
    const std::string path = folder().file("run_3DMC.rtc");
    bench::writeMotionFile(path, kRows, true);
    runReader(state, path, designmatrix::readMotionEstimatesRtc);
}

void motionSdm(benchmark::State& state) {
    const std::string path = folder().file("run_3DMC.sdm");
    bench::writeMotionFile(path, kRows, false);
    runReader(state, path, designmatrix::readMotionEstimatesSdm);
}

void confoundsRtc(benchmark::State& state) {
    const std::string path = folder().file("run_HR.rtc");
    bench::writePhysiologyFile(path, kRows, kPhysiologyPredictors, true);
    runReader(state, path, [](const char* p) {
        return designmatrix::readConfoundsRtc(p, designmatrix::kHeartRateKind);
    });
}

void confoundsSdm(benchmark::State& state) {
    const std::string path = folder().file("run_HR.sdm");
    bench::writePhysiologyFile(path, kRows, kPhysiologyPredictors, false);
    runReader(state, path, [](const char* p) {
        return designmatrix::readConfoundsSdm(p, designmatrix::kHeartRateKind);
    });
}

BENCHMARK(motionRtc)->Name("Readers/readMotionEstimatesRtc")->Unit(benchmark::kMicrosecond);
BENCHMARK(motionSdm)->Name("Readers/readMotionEstimatesSdm")->Unit(benchmark::kMicrosecond);
BENCHMARK(confoundsRtc)->Name("Readers/readConfoundsRtc")->Unit(benchmark::kMicrosecond);
BENCHMARK(confoundsSdm)->Name("Readers/readConfoundsSdm")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
