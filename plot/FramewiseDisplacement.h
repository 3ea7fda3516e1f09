#pragma once

// Framewise displacement of a run from its six motion estimates: how far the head moved from one
// volume to the next, translations and rotations in one measure.

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "formats/DesignTable.h"

namespace plot {

using formats::DesignTable;
using formats::PredictorRole;

inline constexpr double kHeadRadiusMm = 50.0;        // rotations as arc length on this sphere
inline constexpr double kDisplacementLimitMm = 0.5;  // a volume moved more than this
inline constexpr double kDisplacedShareLimit = 0.2;  // a run with more such volumes stands out

enum class RotationUnit { Degrees, Radians };

// Where the motion estimates stand in a design: translations X, Y, Z (mm), then rotations X, Y, Z.
struct MotionColumns {
    std::array<std::size_t, 6> index{};
    RotationUnit rotations = RotationUnit::Degrees;
};

// The motion columns of a table, by their names: "Translation ... " and "Rotation ..." (degrees,
// unless the name says "[rad]"), or fMRIPrep's trans_x ... rot_z and X Y Z RotX RotY RotZ
// (radians); a motion file (a file name holding "_3DMC") of six estimates without such names
// holds them in that order, rotations in degrees. None when the table lacks one of the six, or
// when its file name says the estimates were z-transformed ("_3DMC_z"): those are no longer
// distances. Folders never count.
std::optional<MotionColumns> findMotionColumns(const DesignTable& table);

// Per volume: the sum of the absolute changes from the volume before of the three translations
// and of the three rotations as arc length on a sphere of kHeadRadiusMm; 0 for the first volume.
std::vector<double> framewiseDisplacement(const DesignTable& table, const MotionColumns& columns);

struct DisplacementSummary {
    double mean = 0.0;
    double max = 0.0;
    double share = 0.0;  // of the volumes above kDisplacementLimitMm
};

// The summary of a non-empty series.
DisplacementSummary summariseDisplacement(const std::vector<double>& displacement);

}  // namespace plot
