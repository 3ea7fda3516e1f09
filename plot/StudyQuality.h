#pragma once

// The study's quality report: every run's figures beside the study's medians and spreads, and
// the runs that stand out, each with its reasons written out.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plot/RunFigures.h"

namespace plot {

inline constexpr double kVifLimit = 10.0;
inline constexpr double kScaledDeviations = 3.0;    // beyond this many scaled MADs of the median
inline constexpr std::size_t kFewestForSpread = 5;  // runs a figure needs for the MAD rule

enum class PairResult { None, Ok, Warned, Failed };  // None: no run report (files read alone)

// One reason a run stands out: its kind, for the summary ("correlation", "vif",
// "condition_number", "zero_predictor", "motion", "failed", "warned", "no_design" or "unusual
// FIGURE"), and the sentence.
struct StandOut {
    std::string kind;
    std::string text;
};

struct QualityRun {
    std::string name;     // the design matrix it shows, or the pair when it has none
    std::string picture;  // relative to the report folder; empty when there is none
    std::optional<double> repetitionTimeMs;
    std::optional<std::size_t> eventsPastEnd;
    std::optional<RunFigures> figures;  // none when there is no design to compute them from
    std::string error;                  // why there are none
    PairResult result = PairResult::None;
    std::vector<std::string> resultReasons;  // the run report's
    std::vector<StandOut> standsOut;         // why it stands out; empty when it does not
};

// One figure across the study's runs that have it.
struct FigureSpread {
    std::string figure;  // its column name in qc.tsv
    std::size_t runs = 0;
    double median = 0.0;
    double spread = 0.0;  // the median absolute deviation scaled by 1.4826
};

struct StudyQuality {
    std::vector<QualityRun> runs;  // in the order given
    std::vector<FigureSpread> spreads;

    std::size_t failed() const;
    std::size_t standingOut() const;
    // How many runs stand out for each kind of reason, kinds in the order first met.
    std::vector<std::pair<std::string, std::size_t>> byReason() const;
};

// Fills the spreads and every run's reasons to stand out: a fixed limit passed (|r| above 0.9,
// a VIF above 10, a condition number above 1000, a zero predictor, more than 20% of volumes
// above 0.5 mm, a failed or warned pair, no design to judge), or a figure beyond 3 scaled MADs of
// the study's median on its worse side (log scale for the condition number, the largest VIF, the
// smallest efficiency and the displacement; at least kFewestForSpread runs with the figure).
void judgeStudy(StudyQuality& study);

// A figure as every report writes it: six significant digits, "inf", "-inf" or "n/a" (NaN).
std::string figureText(double value);

// The median of a non-empty list.
double medianOf(std::vector<double> values);

}  // namespace plot
