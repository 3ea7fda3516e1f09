#pragma once

// The picture of a design matrix, as analysis packages draw one: one column per predictor, one
// row per volume, grey levels.

#include <string>

#include "formats/DesignTable.h"
#include "plot/DesignCheck.h"

namespace plot {

using formats::DesignTable;
using formats::PredictorRole;

// The picture as an SVG document (UTF-8). Each column is scaled from its own minimum (black) to
// its maximum (white), a constant column mid-grey; the predictor names stand above the columns
// (turned upright when a column is too narrow for them), volume numbers at the left every 10
// volumes (every 50 above 500 volumes); confound and constant columns are marked and named in a
// colour of their own; `title` (the file name) on top with the design check beneath it. Every
// column is a <g class="column ROLE"> holding one <rect> per volume.
std::string drawDesignPicture(const DesignTable& table, const DesignCheck& check,
                              const std::string& title);

}  // namespace plot
