#include "plot/QualityTables.h"

#include <cmath>
#include <cstdio>

namespace plot {

namespace {

const char* resultText(PairResult result) {
    switch (result) {
        case PairResult::Ok:
            return "ok";
        case PairResult::Warned:
            return "warned";
        case PairResult::Failed:
            return "failed";
        case PairResult::None:
            break;
    }
    return "n/a";
}

// A cell holds no tab and no line break.
std::string cell(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

std::string pairs(const std::vector<NamedFigure>& figures) {
    std::string text;
    for (const NamedFigure& figure : figures) {
        text += (text.empty() ? "" : ";") + figure.name + "=" + figureText(figure.value);
    }
    return text.empty() ? "n/a" : text;
}

std::string count(std::size_t value) {
    return figureText(static_cast<double>(value));
}

double absoluteR(const std::optional<NamedCorrelation>& pair) {
    return pair ? std::abs(pair->r) : std::nan("");
}

// The figures of one run as texts, in the columns' order but the run's name and the last two.
std::vector<std::string> figureCells(const QualityRun& run) {
    const double none = std::nan("");
    const RunFigures* f = run.figures ? &*run.figures : nullptr;
    const auto displacement = [&](double DisplacementSummary::*member) {
        return f && f->displacement ? figureText((*f->displacement).*member) : "n/a";
    };
    return {
        f ? count(f->volumes) : "n/a",
        figureText(run.repetitionTimeMs.value_or(none)),
        f ? count(f->predictors) : "n/a",
        figureText(f ? f->conditionNumber : none),
        figureText(f ? absoluteR(f->maxTask) : none),
        figureText(f ? absoluteR(f->maxConfound) : none),
        f ? pairs(f->vif) : "n/a",
        f ? pairs(f->efficiency) : "n/a",
        f ? count(f->zeroPredictors.size()) : "n/a",
        run.eventsPastEnd ? count(*run.eventsPastEnd) : "n/a",
        displacement(&DisplacementSummary::mean),
        displacement(&DisplacementSummary::max),
        displacement(&DisplacementSummary::share),
    };
}

std::string reasonsText(const QualityRun& run) {
    std::string text;
    for (const StandOut& reason : run.standsOut) {
        text += (text.empty() ? "" : "; ") + reason.text;
    }
    if (text.empty() && !run.error.empty()) {
        text = run.error;
    }
    return text;
}

std::string jsonNumber(double value) {
    if (std::isnan(value)) {
        return "null";
    }
    if (std::isinf(value)) {
        return value > 0 ? "\"inf\"" : "\"-inf\"";
    }
    return figureText(value);
}

std::string jsonNumber(const std::optional<double>& value) {
    return value ? jsonNumber(*value) : "null";
}

std::string jsonNames(const std::vector<std::string>& names) {
    std::string text = "[";
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : ",") + jsonString(names[i]);
    }
    return text + "]";
}

std::string jsonFigures(const std::vector<NamedFigure>& figures) {
    std::string text = "[";
    for (std::size_t i = 0; i < figures.size(); ++i) {
        text += std::string(i == 0 ? "" : ",") + "{\"name\":" + jsonString(figures[i].name) +
                ",\"value\":" + jsonNumber(figures[i].value) + "}";
    }
    return text + "]";
}

std::string jsonPair(const std::optional<NamedCorrelation>& pair) {
    if (!pair) {
        return "null";
    }
    return "{\"r\":" + jsonNumber(pair->r) + ",\"first\":" + jsonString(pair->first) +
           ",\"second\":" + jsonString(pair->second) + "}";
}

// The correlations rounded to two decimals: enough for a heat map, and small.
std::string jsonHeat(const RunFigures& f) {
    std::string text = "{\"names\":" + jsonNames(f.correlationNames) + ",\"r\":[";
    for (std::size_t i = 0; i < f.correlations.size(); ++i) {
        const double r = f.correlations[i];
        char value[16] = "null";
        if (!std::isnan(r)) {
            std::snprintf(value, sizeof value, "%.2f", r);
        }
        text += std::string(i == 0 ? "" : ",") + value;
    }
    return text + "]}";
}

std::string jsonRun(const QualityRun& run) {
    const std::vector<std::string> cells = figureCells(run);
    const RunFigures* f = run.figures ? &*run.figures : nullptr;
    const auto number = [&](std::size_t value) { return jsonNumber(static_cast<double>(value)); };
    const double none = std::nan("");
    std::string text = "{\"run\":" + jsonString(run.name);
    text += ",\"picture\":" + (run.picture.empty() ? "null" : jsonString(run.picture));
    text += ",\"result\":" + jsonString(resultText(run.result));
    text += ",\"result_reasons\":" + jsonNames(run.resultReasons);
    text += ",\"error\":" + (run.error.empty() ? "null" : jsonString(run.error));
    text += ",\"volumes\":" + (f ? number(f->volumes) : "null");
    text += ",\"tr\":" + jsonNumber(run.repetitionTimeMs);
    text += ",\"predictors\":" + (f ? number(f->predictors) : "null");
    text += ",\"condition_number\":" + jsonNumber(f ? f->conditionNumber : none);
    text += ",\"max_r_task\":" + jsonNumber(f ? absoluteR(f->maxTask) : none);
    text += ",\"max_r_task_pair\":" + (f ? jsonPair(f->maxTask) : "null");
    text += ",\"max_r_confound\":" + jsonNumber(f ? absoluteR(f->maxConfound) : none);
    text += ",\"max_r_confound_pair\":" + (f ? jsonPair(f->maxConfound) : "null");
    text += ",\"vif\":" + (f ? jsonFigures(f->vif) : "null");
    text += ",\"efficiency\":" + (f ? jsonFigures(f->efficiency) : "null");
    text += ",\"zero_predictors\":" + (f ? number(f->zeroPredictors.size()) : "null");
    text += ",\"zero_predictor_names\":" + (f ? jsonNames(f->zeroPredictors) : "null");
    text += ",\"events_past_end\":" +
            (run.eventsPastEnd ? number(*run.eventsPastEnd) : std::string("null"));
    const auto displacement = [&](double DisplacementSummary::*member) {
        return f && f->displacement ? jsonNumber((*f->displacement).*member) : "null";
    };
    text += ",\"fd_mean\":" + displacement(&DisplacementSummary::mean);
    text += ",\"fd_max\":" + displacement(&DisplacementSummary::max);
    text += ",\"fd_share\":" + displacement(&DisplacementSummary::share);
    text += std::string(",\"stands_out\":") + (run.standsOut.empty() ? "false" : "true");
    text += ",\"reasons\":[";
    for (std::size_t i = 0; i < run.standsOut.size(); ++i) {
        text += std::string(i == 0 ? "" : ",") + "{\"kind\":" + jsonString(run.standsOut[i].kind) +
                ",\"text\":" + jsonString(run.standsOut[i].text) + "}";
    }
    text += "]";
    text += ",\"heat\":" + (f ? jsonHeat(*f) : "null");
    return text + "}";
}

}  // namespace

const std::vector<std::string>& qualityColumns() {
    static const std::vector<std::string> kColumns = {"run",
                                                      "volumes",
                                                      "tr",
                                                      "predictors",
                                                      "condition_number",
                                                      "max_r_task",
                                                      "max_r_confound",
                                                      "vif",
                                                      "efficiency",
                                                      "zero_predictors",
                                                      "events_past_end",
                                                      "fd_mean",
                                                      "fd_max",
                                                      "fd_share",
                                                      "stands_out",
                                                      "reasons"};
    return kColumns;
}

std::string qualityTsv(const StudyQuality& study) {
    std::string text;
    for (std::size_t i = 0; i < qualityColumns().size(); ++i) {
        text += (i == 0 ? "" : "\t") + qualityColumns()[i];
    }
    text += '\n';
    for (const QualityRun& run : study.runs) {
        text += cell(run.name);
        for (const std::string& figure : figureCells(run)) {
            text += '\t' + cell(figure);
        }
        text += std::string("\t") + (run.standsOut.empty() ? "no" : "yes");
        text += '\t' + cell(reasonsText(run)) + '\n';
    }
    return text;
}

std::string qualityJson(const StudyQuality& study) {
    std::string text = "{\"study\":{\"runs\":" + count(study.runs.size()) +
                       ",\"failed\":" + count(study.failed()) +
                       ",\"standing_out\":" + count(study.standingOut()) + ",\"by_reason\":{";
    const auto reasons = study.byReason();
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        text += std::string(i == 0 ? "" : ",") + jsonString(reasons[i].first) + ":" +
                count(reasons[i].second);
    }
    text += "},\"figures\":{";
    for (std::size_t i = 0; i < study.spreads.size(); ++i) {
        const FigureSpread& spread = study.spreads[i];
        text += std::string(i == 0 ? "" : ",") + jsonString(spread.figure) +
                ":{\"runs\":" + count(spread.runs) + ",\"median\":" + jsonNumber(spread.median) +
                ",\"spread\":" + jsonNumber(spread.spread) + "}";
    }
    text += "}},\n\"runs\":[\n";
    for (std::size_t i = 0; i < study.runs.size(); ++i) {
        text += (i == 0 ? "" : ",\n") + jsonRun(study.runs[i]);
    }
    return text + "\n]}\n";
}

std::string jsonString(const std::string& text) {
    std::string result = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                result += "\\\"";
                break;
            case '\\':
                result += "\\\\";
                break;
            case '\n':
                result += "\\n";
                break;
            case '\t':
                result += "\\t";
                break;
            case '\r':
                result += "\\r";
                break;
            case '<':
                result += "\\u003c";  // the text may stand inside an HTML script element
                break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    result += escaped;
                } else {
                    result += c;
                }
        }
    }
    return result + "\"";
}

}  // namespace plot
