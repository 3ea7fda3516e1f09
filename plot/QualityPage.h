#pragma once

// The study's quality page: one self-contained HTML document (inline style and script, nothing
// fetched from a network) that opens with a summary, then one table row per run, those that
// stand out first, every column sortable; a row opens the run's picture and figures with a heat
// map of its correlations; a strip shows every design small. The pictures are loaded lazily
// from the folder beside it.

#include <string>

#include "plot/StudyQuality.h"

namespace plot {

// The page; `json` is the study's qc.json, which it carries inside.
std::string qualityPage(const StudyQuality& study, const std::string& json);

}  // namespace plot
