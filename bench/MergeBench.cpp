// The merge of confounds into a base design matrix, against a plain copy of the same bytes in
// the same run: a base of 2,000 rows x 40 predictors (the last the constant) merged with the six
// motion columns, 10 heart-rate and 10 respiration predictors. The figure is the ratio of the
// two rates of input.
//
//   cmake --build --preset release --target bench_merge   (five repetitions, medians)

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchFiles.h"
#include "designmatrix/ConfoundDispatch.h"
#include "designmatrix/ConfoundMerge.h"
#include "text/NumberFormatting.h"
#include "text/NumberParsing.h"

namespace {

constexpr std::int32_t kRows = 2000;
constexpr std::int32_t kBasePredictors = 40;
constexpr std::int32_t kPhysiologyPredictors = 10;

const bench::ScratchFolder& folder() {
    static const bench::ScratchFolder scratch;
    return scratch;
}

const std::string& basePath() {
    static const std::string path = [] {
        const std::string p = folder().file("base.sdm");
        bench::writeBaseDesignMatrix(p, kRows, kBasePredictors);
        return p;
    }();
    return path;
}

// Merges the three records held in memory into the base: the writer alone.
void mergeWriter(benchmark::State& state) {
    const std::string& base = basePath();
    const auto motion = bench::motionRecord(kRows);
    const auto heartRate =
        bench::physiologyRecord(designmatrix::kHeartRateKind, kRows, kPhysiologyPredictors);
    const auto respiration =
        bench::physiologyRecord(designmatrix::kRespirationKind, kRows, kPhysiologyPredictors);
    std::string written;
    for (auto _ : state) {
        written = designmatrix::mergeAllConfounds(base, *motion, *heartRate, *respiration);
        benchmark::DoNotOptimize(written.data());
    }
    state.SetBytesProcessed(state.iterations() * bench::fileBytes(base));
    state.counters["output_bytes"] = static_cast<double>(bench::fileBytes(written));
}

// The whole confound stage of one protocol: the three confound files read (design-matrix
// layout for motion and respiration, time-course layout for heart rate) and merged. Every input
// byte counts.
void readAndMerge(benchmark::State& state) {
    const std::string& base = basePath();
    const std::string motion = folder().file("run_3DMC.sdm");
    const std::string heartRate = folder().file("run_HR.rtc");
    const std::string respiration = folder().file("run_RVT.sdm");
    bench::writeMotionFile(motion, kRows, false);
    bench::writePhysiologyFile(heartRate, kRows, kPhysiologyPredictors, true);
    bench::writePhysiologyFile(respiration, kRows, kPhysiologyPredictors, false);
    for (auto _ : state) {
        const std::string written = designmatrix::addAllConfounds(
            base, motion.c_str(), heartRate.c_str(), respiration.c_str(), false);
        benchmark::DoNotOptimize(written.data());
    }
    state.SetBytesProcessed(state.iterations() *
                            (bench::fileBytes(base) + bench::fileBytes(motion) +
                             bench::fileBytes(heartRate) + bench::fileBytes(respiration)));
}

// The same bytes as the base design matrix, read and written through the same file streams in
// blocks, with nothing parsed: what the merge would cost if reading and writing were free.
void plainCopy(benchmark::State& state) {
    const std::string& base = basePath();
    const std::string copy = folder().file("copy.sdm");
    std::vector<char> block(64 * 1024);
    for (auto _ : state) {
        std::ifstream in(base, std::ios::binary);
        std::ofstream out(copy, std::ios::binary | std::ios::trunc);
        while (in.read(block.data(), static_cast<std::streamsize>(block.size())) ||
               in.gcount() > 0) {
            out.write(block.data(), in.gcount());
        }
        out.close();
        if (!out) {
            throw std::runtime_error("the copy could not be written");
        }
    }
    state.SetBytesProcessed(state.iterations() * bench::fileBytes(base));
}

// Values as the merge meets them: convolved predictors written with six decimals and read
// back, most below one.
std::vector<double> typicalValues() {
    std::mt19937 engine(3);
    std::uniform_real_distribution<double> value(-0.4, 1.3);
    std::vector<double> values(4096);
    for (double& v : values) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6f",
                      static_cast<double>(static_cast<float>(value(engine))));
        v = std::strtod(text, nullptr);
    }
    return values;
}

// The number conversions alone, per value.
void defaultNotation(benchmark::State& state) {
    const std::vector<double> values = typicalValues();
    std::string text;
    for (auto _ : state) {
        text.clear();
        for (const double v : values) {
            text::appendDefaultNotation(text, v);
        }
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

void sixDecimals(benchmark::State& state) {
    const std::vector<double> values = typicalValues();
    std::string text;
    for (auto _ : state) {
        text.clear();
        for (const double v : values) {
            text::appendSixDecimals(text, v);
        }
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

void scanSixDecimals(benchmark::State& state) {
    std::string text;
    for (const double v : typicalValues()) {
        text::appendSixDecimals(text, v);
        text += ' ';
    }
    std::int64_t count = 0;
    for (auto _ : state) {
        const char* p = text.data();
        const char* end = p + text.size();
        double sum = 0.0;
        while (p < end) {
            double v = 0.0;
            p = text::scanDouble(p, end, v).end + 1;
            sum += v;
            ++count;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(count);
}

BENCHMARK(defaultNotation)->Name("Numbers/DefaultNotation");
BENCHMARK(sixDecimals)->Name("Numbers/SixDecimals");
BENCHMARK(scanSixDecimals)->Name("Numbers/ScanDouble");
BENCHMARK(mergeWriter)->Name("Merge/Writer")->Unit(benchmark::kMillisecond);
BENCHMARK(readAndMerge)->Name("Merge/ReadAndMerge")->Unit(benchmark::kMillisecond);
BENCHMARK(plainCopy)->Name("Merge/PlainCopy")->Unit(benchmark::kMillisecond);

// The console report, and then the ratio of the merge's rate to the copy's: of the medians when
// the benchmarks were repeated, else of the last runs.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto rate = run.counters.find("bytes_per_second");
            if (rate == run.counters.end()) {
                continue;
            }
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration) {
                rates_[name] = rate->second.value;
            } else if (run.aggregate_name == "median") {
                medians_[name] = rate->second.value;
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const std::map<std::string, double>& rates = medians_.empty() ? rates_ : medians_;
        const auto copy = rates.find("Merge/PlainCopy");
        if (copy == rates.end()) {
            return;
        }
        for (const char* name : {"Merge/Writer", "Merge/ReadAndMerge"}) {
            const auto merge = rates.find(name);
            if (merge != rates.end() && merge->second > 0.0) {
                std::printf(
                    "%-20s %8.1f MB/s of input; plain copy %8.1f MB/s; copy/merge %.1fx%s\n", name,
                    merge->second / 1e6, copy->second / 1e6, copy->second / merge->second,
                    medians_.empty() ? "" : " (medians)");
            }
        }
    }

  private:
    std::map<std::string, double> rates_;
    std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
