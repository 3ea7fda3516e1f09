#pragma once

// Denoising strategies over an fMRIPrep confound table, with the column choices of nilearn's
// load_confounds: motion, white matter and CSF, global signal with their expansions, CompCor
// components from the table's JSON sidecar, the cosine high-pass basis, and scrubbing into spike
// columns; the table's non-steady-state columns come with any of them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bids/TsvTable.h"

namespace bids {

// basic: the columns; power2: and their squares; derivatives: and their first differences;
// full: all four (the columns, _derivative1, _power2, _derivative1_power2).
enum class Expansion { Basic, Power2, Derivatives, Full };
enum class CompCorKind { AnatomicalCombined, Temporal };

struct ConfoundStrategy {
    std::optional<Expansion> motion;        // trans_x ... rot_z
    std::optional<Expansion> wmCsf;         // csf, white_matter
    std::optional<Expansion> globalSignal;  // global_signal
    std::optional<CompCorKind> compCor;
    std::optional<std::size_t> compCorCount;  // none: all
    bool highPass = false;                    // the cosine* columns
    // Scrubbing: volumes over either threshold are censored, then every stretch of fewer than
    // this many kept volumes next to a censored one or the run's start or end.
    std::optional<std::size_t> scrub;
    double fdThreshold = 0.5;        // mm of framewise_displacement
    double stdDvarsThreshold = 1.5;  // std_dvars

    bool any() const { return motion || wmCsf || globalSignal || compCor || highPass || scrub; }
};

// The presets by name (simple, scrubbing, compcor); none for another name.
std::optional<ConfoundStrategy> strategyPreset(std::string_view name);

struct StrategyColumns {
    std::vector<std::size_t> columns;   // of the table, in the strategy's order
    std::vector<std::size_t> censored;  // volumes (of those kept, from 0) that get a spike column
};

// The table's columns the strategy picks, and the volumes it censors, over the rows from
// `firstRow` on. Notes for what a choice left out. InputError naming the file and the column
// for a column the strategy needs and the table lacks, and for a CompCor choice without the
// table's sidecar (the table's name with .json for .tsv).
StrategyColumns strategyColumns(const TsvTable& table, const ConfoundStrategy& strategy,
                                std::size_t firstRow, std::vector<std::string>& notes);

// The volumes scrubbing censors: over a threshold (n/a is not), then the short stretches.
std::vector<std::size_t> censoredVolumes(const std::vector<std::optional<double>>& framewise,
                                         const std::vector<std::optional<double>>& stdDvars,
                                         const ConfoundStrategy& strategy);

// "motion_outlier_03": the spike column of the `index`-th censored volume (from 0).
std::string spikeColumnName(std::size_t index);

}  // namespace bids
