#include "headless/program/RunReportText.h"

#include "headless/program/TsvFile.h"

namespace headless {

namespace {

const char* baseWord(BaseOutcome outcome) {
    switch (outcome) {
        case BaseOutcome::Saved:
            return "saved";
        case BaseOutcome::NotSaved:
            return "not saved";
        case BaseOutcome::NoneExpected:
            break;
    }
    return "-";
}

const char* mergedWord(MergedOutcome outcome) {
    switch (outcome) {
        case MergedOutcome::Complete:
            return "complete";
        case MergedOutcome::Incomplete:
            return "incomplete";
        case MergedOutcome::NotWritten:
            return "not written";
        case MergedOutcome::Replaced:
            return "replaced";
        case MergedOutcome::NoneExpected:
            break;
    }
    return "-";
}

}  // namespace

namespace {

// "run2_task.sdm saved, run2_task_HR.sdm incomplete", or "nothing made".
std::string filesText(const PairOutcome& outcome) {
    if (outcome.baseOutcome == BaseOutcome::NoneExpected) {
        return "nothing made";
    }
    std::string text = outcome.base + " " + baseWord(outcome.baseOutcome);
    if (outcome.mergedOutcome != MergedOutcome::NoneExpected) {
        text += ", " + outcome.merged + " " + mergedWord(outcome.mergedOutcome);
    }
    return text;
}

// The texts joined by "; ", each after `prefix`.
std::string joined(const std::vector<std::string>& texts, const std::string& prefix = "") {
    std::string text;
    for (const std::string& part : texts) {
        text += (text.empty() ? "" : "; ") + prefix + part;
    }
    return text;
}

// The warnings, then the notes ("note: ..."), as one text.
std::string warningsText(const PairOutcome& outcome) {
    const std::string notes = joined(outcome.notes, "note: ");
    const std::string warnings = joined(outcome.warnings);
    return warnings.empty() || notes.empty() ? warnings + notes : warnings + "; " + notes;
}

}  // namespace

std::string reportLine(const PairOutcome& outcome) {
    std::string line =
        "pair " + std::to_string(outcome.pair) + " of " + std::to_string(outcome.pairCount);
    if (outcome.entry > 0) {
        line +=
            " (list entry " + std::to_string(outcome.entry) + ": " + std::string(outcome.protocol);
        if (!outcome.timeCourse.empty()) {
            line += ", " + std::string(outcome.timeCourse);
        }
        line += ")";
    }
    if (outcome.ok) {
        line += ": ok: " + filesText(outcome);
    } else if (outcome.entry == 0) {
        line += ": FAILED: " + outcome.reason;
    } else {
        line += ": FAILED: " + outcome.reason + " (" + filesText(outcome) + ")";
    }
    if (!outcome.warnings.empty()) {
        line += " (warning: " + joined(outcome.warnings) + ")";
    }
    if (!outcome.notes.empty()) {
        line += " (note: " + joined(outcome.notes) + ")";
    }
    return line;
}

std::string reportSummaryLine(const ReportSummary& summary) {
    return std::to_string(summary.pairs) + (summary.pairs == 1 ? " pair" : " pairs") +
           " in the list: " + std::to_string(summary.pairs - summary.failed) +
           " with every design matrix due, complete; " + std::to_string(summary.withWarnings) +
           " with warnings; " + std::to_string(summary.failed) + " FAILED";
}

std::vector<std::string_view> reportHeader() {
    return {"pair",  "list entry",           "protocol", "time course", "volumes", "design matrix",
            "saved", "merged design matrix", "merged",   "result",      "reason",  "warnings"};
}

std::vector<std::string> reportFields(const PairOutcome& outcome) {
    return {std::to_string(outcome.pair),
            outcome.entry > 0 ? std::to_string(outcome.entry) : "",
            std::string(outcome.protocol),
            std::string(outcome.timeCourse),
            outcome.volumes >= 0 ? std::to_string(outcome.volumes) : "",
            outcome.base,
            outcome.baseOutcome == BaseOutcome::NoneExpected
                ? "-"
                : (outcome.baseOutcome == BaseOutcome::Saved ? "yes" : "no"),
            outcome.merged,
            mergedWord(outcome.mergedOutcome),
            outcome.ok ? "ok" : "failed",
            outcome.reason,
            warningsText(outcome)};
}

ReportSummary publishRunReport(const RunReport& report, Console& console,
                               const std::optional<std::string>& tsvPath, bool& tsvWritten) {
    std::optional<TsvFile> tsv;
    if (tsvPath) {
        tsv.emplace(*tsvPath, reportHeader());
    }
    const ReportSummary summary = report.evaluate([&](const PairOutcome& outcome) {
        console.show("report: ", reportLine(outcome));
        if (tsv) {
            tsv->row(reportFields(outcome));
        }
    });
    console.show("report: ", reportSummaryLine(summary));
    tsvWritten = tsv && tsv->close();
    return summary;
}

}  // namespace headless
