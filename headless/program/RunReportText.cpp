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
        case MergedOutcome::NoneExpected:
            break;
    }
    return "-";
}

}  // namespace

std::string reportLine(const PairOutcome& outcome) {
    std::string line = "pair " + std::to_string(outcome.pair) + " of " +
                       std::to_string(outcome.pairCount) + " (list entry " +
                       std::to_string(outcome.entry) + ": " + std::string(outcome.protocol);
    if (!outcome.timeCourse.empty()) {
        line += ", " + std::string(outcome.timeCourse);
    }
    line += outcome.ok ? "): ok: " : "): FAILED: ";
    if (outcome.baseOutcome == BaseOutcome::NoneExpected) {
        line += "nothing made";
    } else {
        line += outcome.base + " " + baseWord(outcome.baseOutcome);
    }
    if (outcome.mergedOutcome != MergedOutcome::NoneExpected) {
        line += ", " + outcome.merged + " " + mergedWord(outcome.mergedOutcome);
    }
    if (!outcome.reason.empty()) {
        line += ": " + outcome.reason;
    }
    if (!outcome.notes.empty()) {
        line += " (warning: " + outcome.notes + ")";
    }
    return line;
}

std::string reportSummaryLine(const ReportSummary& summary) {
    return std::to_string(summary.pairs) + (summary.pairs == 1 ? " pair" : " pairs") +
           " in the list: " + std::to_string(summary.pairs - summary.failed) +
           " with every design matrix due, complete; " + std::to_string(summary.failed) + " FAILED";
}

std::vector<std::string_view> reportHeader() {
    return {"pair",  "list entry",           "protocol", "time course", "volumes", "design matrix",
            "saved", "merged design matrix", "merged",   "result",      "reason",  "warnings"};
}

std::vector<std::string> reportFields(const PairOutcome& outcome) {
    return {std::to_string(outcome.pair),
            std::to_string(outcome.entry),
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
            outcome.notes};
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
