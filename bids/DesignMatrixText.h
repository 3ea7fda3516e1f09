#pragma once

// The design matrix as the workstation's design-matrix file (*.sdm, text, version 1) and as a
// tab-separated table with a header row.

#include <string>

#include "bids/Design.h"

namespace bids {

// The *.sdm text: the header (FileVersion 1, NrOfPredictors, NrOfDataPoints, IncludesConstant,
// FirstConfoundPredictor), one colour triple per predictor, the quoted names, one row of values
// per volume, in the layout the host saves (formats/DesignMatrixWriter.h), with ten significant
// digits; line ends '\n' (written in text mode).
std::string designMatrixText(const Design& design);

// A header row of the names, then one row of values per volume, tab-separated.
std::string designTableText(const Design& design);

}  // namespace bids
