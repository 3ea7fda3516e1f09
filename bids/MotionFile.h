#pragma once

// The six motion estimates of an fMRIPrep confound table as the motion file the plug-in reads
// (*_3DMC.sdm): the design-matrix layout with six predictors (translations in mm, rotations in
// degrees) and no constant.

#include <cstddef>
#include <string>
#include <vector>

#include "bids/Design.h"
#include "bids/TsvTable.h"

namespace bids {

// The motion predictors from trans_x trans_y trans_z rot_x rot_y rot_z, or the older X Y Z RotX
// RotY RotZ, rotations from radians to degrees, the first `dummies` rows dropped. n/a in the first
// rows becomes 0 with a note. InputError naming the file for a table with neither set of names,
// and as confoundColumn gives it.
Design motionFromConfounds(const TsvTable& table, std::size_t dummies,
                           std::vector<std::string>& notes);

// The motion file's name beside the confound table: its name without ".tsv" and without the
// fMRIPrep ending ("_desc-confounds_timeseries", "_desc-confounds_regressors", "_timeseries",
// "_regressors", "_confounds"), then "_3DMC.sdm".
std::string motionFileName(const std::string& confoundsPath);

}  // namespace bids
