#include "plot/StudyQuality.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

#include "plot/DesignCheck.h"

namespace plot {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kMadScale = 1.4826;  // a normal distribution's sigma per MAD
// The least spread counted: 3 of it make a factor of 2 on a log scale, and 0.3 for |r|.
const double kLogFloor = std::log10(2.0) / kScaledDeviations;
constexpr double kCorrelationFloor = 0.1;

enum class Worse { Neither, Higher, Lower };

// A figure of the study: its column, how to read it from a run, which side is worse and on what
// scale it is compared. `floor` is the least spread counted, so that a study whose runs agree to
// the last digit does not single out a run for a difference nobody would care about.
struct StudyFigure {
    const char* column;
    std::function<double(const QualityRun&)> value;
    Worse worse = Worse::Neither;
    bool logScale = false;
    double floor = 0.0;
};

double ofFigures(const QualityRun& run, const std::function<double(const RunFigures&)>& pick) {
    return run.figures ? pick(*run.figures) : kNone;
}

double absoluteR(const std::optional<NamedCorrelation>& pair) {
    return pair ? std::abs(pair->r) : kNone;
}

const std::vector<StudyFigure>& studyFigures() {
    using F = const RunFigures&;
    static const std::vector<StudyFigure> kFigures = {
        {"volumes",
         [](const QualityRun& r) {
             return ofFigures(r, [](F f) { return static_cast<double>(f.volumes); });
         }},
        {"tr", [](const QualityRun& r) { return r.repetitionTimeMs.value_or(kNone); }},
        {"predictors",
         [](const QualityRun& r) {
             return ofFigures(r, [](F f) { return static_cast<double>(f.predictors); });
         }},
        {"condition_number",
         [](const QualityRun& r) { return ofFigures(r, [](F f) { return f.conditionNumber; }); },
         Worse::Higher, true, kLogFloor},
        {"max_r_task",
         [](const QualityRun& r) { return ofFigures(r, [](F f) { return absoluteR(f.maxTask); }); },
         Worse::Higher, false, kCorrelationFloor},
        {"max_r_confound",
         [](const QualityRun& r) {
             return ofFigures(r, [](F f) { return absoluteR(f.maxConfound); });
         },
         Worse::Higher, false, kCorrelationFloor},
        {"vif",
         [](const QualityRun& r) { return ofFigures(r, [](F f) { return f.largestVif(); }); },
         Worse::Higher, true, kLogFloor},
        {"efficiency",
         [](const QualityRun& r) {
             return ofFigures(r, [](F f) { return f.smallestEfficiency(); });
         },
         Worse::Lower, true, kLogFloor},
        {"zero_predictors",
         [](const QualityRun& r) {
             return ofFigures(r, [](F f) { return static_cast<double>(f.zeroPredictors.size()); });
         }},
        {"events_past_end",
         [](const QualityRun& r) {
             return r.eventsPastEnd ? static_cast<double>(*r.eventsPastEnd) : kNone;
         }},
        {"fd_mean",
         [](const QualityRun& r) {
             return ofFigures(r, [](F f) { return f.displacement ? f.displacement->mean : kNone; });
         },
         Worse::Higher, true, kLogFloor},
        {"fd_max",
         [](const QualityRun& r) {
             return ofFigures(r, [](F f) { return f.displacement ? f.displacement->max : kNone; });
         },
         Worse::Higher, true, kLogFloor},
        {"fd_share",
         [](const QualityRun& r) {
             return ofFigures(r,
                              [](F f) { return f.displacement ? f.displacement->share : kNone; });
         }},
    };
    return kFigures;
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

// The reasons of the fixed limits.
void fixedLimits(QualityRun& run) {
    std::vector<StandOut>& why = run.standsOut;
    if (run.result == PairResult::Failed || run.result == PairResult::Warned) {
        std::string line = run.result == PairResult::Failed ? "the pair failed" : "the pair warned";
        for (std::size_t i = 0; i < run.resultReasons.size(); ++i) {
            line += (i == 0 ? ": " : "; ") + run.resultReasons[i];
        }
        why.push_back({run.result == PairResult::Failed ? "failed" : "warned", line});
    }
    if (!run.figures) {
        if (!run.error.empty() && run.result != PairResult::Failed) {
            why.push_back({"no_design", "no design: " + run.error});
        }
        return;
    }
    const RunFigures& f = *run.figures;
    for (const auto* pair : {&f.maxTask, &f.maxConfound}) {
        if (*pair && std::abs((*pair)->r) > kCorrelationWarning) {
            why.push_back({"correlation", "|r| " + figureText(std::abs((*pair)->r)) + " between " +
                                              quoted((*pair)->first) + " and " +
                                              quoted((*pair)->second) + " above 0.9"});
        }
    }
    for (const NamedFigure& vif : f.vif) {
        if (vif.value > kVifLimit) {
            why.push_back(
                {"vif", "VIF " + figureText(vif.value) + " of " + quoted(vif.name) + " above 10"});
        }
    }
    if (f.conditionNumber > kConditionWarning) {
        why.push_back({"condition_number",
                       "condition number " + figureText(f.conditionNumber) + " above 1000"});
    }
    for (const std::string& name : f.zeroPredictors) {
        why.push_back({"zero_predictor", "predictor " + quoted(name) + " is zero throughout"});
    }
    if (f.displacement && f.displacement->share > kDisplacedShareLimit) {
        why.push_back({"motion", "framewise displacement above 0.5 mm in " +
                                     figureText(100.0 * f.displacement->share) +
                                     "% of volumes (more than 20%)"});
    }
}

double onScale(const StudyFigure& figure, double value) {
    return figure.logScale ? std::log10(value) : value;
}

}  // namespace

std::string figureText(double value) {
    if (std::isnan(value)) {
        return "n/a";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

double medianOf(std::vector<double> values) {
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                     values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1) {
        return upper;
    }
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return lower / 2.0 + upper / 2.0;
}

std::size_t StudyQuality::failed() const {
    return static_cast<std::size_t>(std::count_if(runs.begin(), runs.end(), [](const auto& run) {
        return run.result == PairResult::Failed;
    }));
}

std::size_t StudyQuality::standingOut() const {
    return static_cast<std::size_t>(std::count_if(
        runs.begin(), runs.end(), [](const auto& run) { return !run.standsOut.empty(); }));
}

std::vector<std::pair<std::string, std::size_t>> StudyQuality::byReason() const {
    std::vector<std::pair<std::string, std::size_t>> counts;
    for (const QualityRun& run : runs) {
        std::vector<std::string> kinds;
        for (const StandOut& reason : run.standsOut) {
            if (std::find(kinds.begin(), kinds.end(), reason.kind) == kinds.end()) {
                kinds.push_back(reason.kind);
            }
        }
        for (const std::string& kind : kinds) {
            auto at = std::find_if(counts.begin(), counts.end(),
                                   [&](const auto& count) { return count.first == kind; });
            if (at == counts.end()) {
                counts.emplace_back(kind, 1);
            } else {
                ++at->second;
            }
        }
    }
    return counts;
}

void judgeStudy(StudyQuality& study) {
    study.spreads.clear();
    for (QualityRun& run : study.runs) {
        run.standsOut.clear();
        fixedLimits(run);
    }
    for (const StudyFigure& figure : studyFigures()) {
        std::vector<double> values;
        std::vector<double> scaled;
        for (const QualityRun& run : study.runs) {
            const double value = figure.value(run);
            if (std::isfinite(value)) {
                values.push_back(value);
                if (!figure.logScale || value > 0.0) {
                    scaled.push_back(onScale(figure, value));
                }
            }
        }
        if (values.empty()) {
            study.spreads.push_back({figure.column, 0, kNone, kNone});
            continue;
        }
        const double median = medianOf(values);
        std::vector<double> deviations;
        for (double v : values) {
            deviations.push_back(std::abs(v - median));
        }
        study.spreads.push_back(
            {figure.column, values.size(), median, kMadScale * medianOf(deviations)});
        if (figure.worse == Worse::Neither || scaled.size() < kFewestForSpread) {
            continue;
        }
        // The rule compares on the figure's own scale (log for ratios).
        const double centre = medianOf(scaled);
        std::vector<double> away;
        for (double v : scaled) {
            away.push_back(std::abs(v - centre));
        }
        const double limit = kScaledDeviations * std::max(kMadScale * medianOf(away), figure.floor);
        for (QualityRun& run : study.runs) {
            const double value = figure.value(run);
            if (!std::isfinite(value) || (figure.logScale && !(value > 0.0))) {
                continue;
            }
            const double distance = onScale(figure, value) - centre;
            const bool beyond =
                figure.worse == Worse::Higher ? distance > limit : -distance > limit;
            if (beyond) {
                run.standsOut.push_back({std::string("unusual ") + figure.column,
                                         std::string(figure.column) + " " + figureText(value) +
                                             " beyond 3 scaled MADs of the study's median " +
                                             figureText(median)});
            }
        }
    }
}

}  // namespace plot
