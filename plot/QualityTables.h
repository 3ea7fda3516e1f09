#pragma once

// The study's quality figures as data: qc.tsv, one row per run, and qc.json, the same figures
// with the names behind them, the study's medians and spreads, and each run's correlations.

#include <string>
#include <vector>

#include "plot/StudyQuality.h"

namespace plot {

// The columns of qc.tsv, in order.
const std::vector<std::string>& qualityColumns();

// qc.tsv: the header row, then one row per run in the study's order ('\n' line ends).
std::string qualityTsv(const StudyQuality& study);

// qc.json: {"study": {...}, "runs": [...]}, every figure under its qc.tsv column name as a
// number, "inf" for an infinite one and null for none.
std::string qualityJson(const StudyQuality& study);

// The text as a JSON string, quotes included.
std::string jsonString(const std::string& text);

}  // namespace plot
