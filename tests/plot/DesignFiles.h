#pragma once

// Designs for the tests: generated tables of any size, and the text of a design matrix or
// reference time-course file holding them.

#include <cstddef>
#include <string>
#include <vector>

#include "formats/DesignTable.h"

namespace plottest {

// A design of `predictors` columns and `volumes` rows: smooth waves and noise, deterministic
// for a seed; the last column the constant (1 everywhere) when `constant`, the columns from
// `firstConfound` (from 1) on confounds.
formats::DesignTable generatedDesign(std::size_t predictors, std::size_t volumes, unsigned seed,
                                     bool constant = true, int firstConfound = 0);

// One run of a generated study: three task waves (the second leaning on the first by `lean`, the
// third zero throughout when `zero`), six motion estimates as a random walk of `jitter` per volume
// (translations in mm, rotations in degrees), then the constant; 160 volumes. Its path is
// "run<seed>_3DMC.sdm".
formats::DesignTable studyRun(unsigned seed, double lean = 0.0, double jitter = 0.02,
                              bool zero = false);

// The table as a design matrix (*.sdm) with grey colours.
std::string sdmText(const formats::DesignTable& table, int includesConstant, int firstConfound);
// The table as a reference time course (*.rtc).
std::string rtcText(const formats::DesignTable& table);

}  // namespace plottest
