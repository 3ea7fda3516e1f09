#pragma once

// BIDS and fMRIPrep files as the tests need them: confound tables with realistic motion (random
// walks, their expansions, framewise displacement as fMRIPrep computes it), and the header of a
// BOLD run.

#include <cstddef>
#include <string>
#include <vector>

namespace testsupport {

struct ConfoundsSpec {
    std::size_t volumes = 100;
    unsigned seed = 1;
    std::vector<std::size_t> motionJumps{};  // volumes whose framewise displacement is over 1 mm
    std::vector<std::size_t> dvarsSpikes{};  // volumes whose std_dvars is over 2
    std::size_t nonSteady = 0;  // non_steady_state_outlierNN columns, the NN-th marking volume NN
    std::size_t aCompCor = 6;   // a_comp_cor_NN columns
    std::size_t tCompCor = 3;   // t_comp_cor_NN columns
    std::size_t cosines = 3;    // cosineNN columns
};

// The table in today's column names: global_signal csf white_matter (each with its three
// expansions), std_dvars framewise_displacement, the CompCor and cosine columns,
// the non-steady-state columns, then the motion with its expansions; n/a in the first row of
// derivatives, framewise displacement and std_dvars. Apart from the jumps, framewise
// displacement stays under 0.3 mm and std_dvars under 1.3.
std::string fmriprepConfounds(const ConfoundsSpec& spec);

// The names a --motion, --wm-csf or --global-signal expansion picks ("basic", "power2",
// "derivatives", "full") of the given columns, in the order the design takes them.
std::vector<std::string> expandedNames(const std::vector<std::string>& names,
                                       const std::string& expansion);

// A NIfTI-1 file's first 352 bytes, little-endian: 64 x 64 x 30 voxels, `volumes` volumes,
// pixdim[4] = `timeStep` in the unit of `units` (0x0A: mm and s).
std::string niftiHeaderBytes(long long volumes, double timeStep, int units = 0x0A);

}  // namespace testsupport
