#pragma once

// The run report as the user reads it: one line per pair on standard error, and the same as a
// row of tab-separated values.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "headless/Console.h"
#include "headless/program/RunReport.h"

namespace headless {

// "pair 2 of 3 (list entry 7: task.prt, run2.vtc): FAILED: run2_task.sdm saved, ...: why".
std::string reportLine(const PairOutcome& outcome);

// The closing line: how many pairs got every design matrix due, and how many did not.
std::string reportSummaryLine(const ReportSummary& summary);

// The header row of the report's TSV file, and the row of one pair.
std::vector<std::string_view> reportHeader();
std::vector<std::string> reportFields(const PairOutcome& outcome);

// Says one line per pair on the console ("report: ") and the closing line, and writes the same as
// TSV to `tsvPath` when given; `tsvWritten` tells whether that succeeded. Answers the counts.
ReportSummary publishRunReport(const RunReport& report, Console& console,
                               const std::optional<std::string>& tsvPath, bool& tsvWritten);

}  // namespace headless
