#include "bids/ConfoundStrategy.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "bids/InputError.h"
#include "bids/Sidecar.h"

namespace bids {

namespace {

const char* expansionName(Expansion expansion) {
    switch (expansion) {
        case Expansion::Basic:
            return "basic";
        case Expansion::Power2:
            return "power2";
        case Expansion::Derivatives:
            return "derivatives";
        case Expansion::Full:
            return "full";
    }
    return "";
}

// The names an expansion gives: the columns, then each column's expansions.
std::vector<std::string> expanded(const std::vector<std::string>& names, Expansion expansion) {
    std::vector<std::string> suffixes;
    if (expansion == Expansion::Derivatives || expansion == Expansion::Full) {
        suffixes.push_back("_derivative1");
    }
    if (expansion == Expansion::Power2 || expansion == Expansion::Full) {
        suffixes.push_back("_power2");
    }
    if (expansion == Expansion::Full) {
        suffixes.push_back("_derivative1_power2");
    }
    std::vector<std::string> result = names;
    for (const std::string& name : names) {
        for (const std::string& suffix : suffixes) {
            result.push_back(name + suffix);
        }
    }
    return result;
}

class Picker {
  public:
    Picker(const TsvTable& table, StrategyColumns& picked) : table_(table), picked_(picked) {}

    void take(std::size_t column) {
        if (std::find(picked_.columns.begin(), picked_.columns.end(), column) ==
            picked_.columns.end()) {
            picked_.columns.push_back(column);
        }
    }
    void takeNamed(const std::vector<std::string>& names, const std::string& option) {
        for (const std::string& name : names) {
            const std::optional<std::size_t> column = table_.column(name);
            if (!column) {
                throw InputError(table_.path() + ": line 1 (the header) has no column " + name +
                                 ", which " + option + " needs");
            }
            take(*column);
        }
    }
    // Every column whose name begins with `prefix`; how many.
    std::size_t takeBeginning(std::string_view prefix) {
        std::size_t count = 0;
        for (std::size_t c = 0; c < table_.columnCount(); ++c) {
            if (table_.header()[c].starts_with(prefix)) {
                take(c);
                ++count;
            }
        }
        return count;
    }

  private:
    const TsvTable& table_;
    StrategyColumns& picked_;
};

void pickCompCor(const TsvTable& table, const ConfoundStrategy& strategy, Picker& picker,
                 std::vector<std::string>& notes) {
    std::filesystem::path sidecar = table.path();
    sidecar.replace_extension(".json");
    const std::string sidecarPath = sidecar.generic_string();
    std::error_code code;
    if (!std::filesystem::is_regular_file(sidecar, code)) {
        throw InputError(table.path() + ": --compcor takes the components from the table's " +
                         "sidecar " + sidecarPath + ", which is not there");
    }
    std::optional<std::string> readingNote;
    const std::vector<ComponentEntry> entries = confoundComponents(sidecarPath, readingNote);
    if (readingNote) {
        notes.push_back(*readingNote);
    }
    const bool temporal = strategy.compCor == CompCorKind::Temporal;
    std::size_t taken = 0;
    for (const ComponentEntry& entry : entries) {
        const bool ofKind = temporal ? entry.method == "tCompCor"
                                     : entry.method == "aCompCor" && entry.mask == "combined";
        if (!ofKind || !entry.retained || !table.column(entry.column)) {
            continue;
        }
        if (strategy.compCorCount && taken == *strategy.compCorCount) {
            break;
        }
        picker.take(*table.column(entry.column));
        ++taken;
    }
    const std::string kind = temporal ? "temporal" : "anat_combined";
    if (taken == 0) {
        notes.push_back("warning: " + sidecarPath + " names no retained " + kind +
                        " component that the table holds: --compcor adds none");
    } else if (strategy.compCorCount && taken < *strategy.compCorCount) {
        notes.push_back(sidecarPath + ": " + std::to_string(taken) + " " + kind +
                        " component(s), fewer than --n-compcor " +
                        std::to_string(*strategy.compCorCount));
    }
}

std::vector<std::optional<double>> optionalColumn(const TsvTable& table, const std::string& name,
                                                  std::size_t firstRow, const std::string& option) {
    const std::optional<std::size_t> column = table.column(name);
    if (!column) {
        throw InputError(table.path() + ": line 1 (the header) has no column " + name + ", which " +
                         option + " needs");
    }
    std::vector<std::optional<double>> values;
    for (std::size_t row = firstRow; row < table.rowCount(); ++row) {
        values.push_back(table.optionalNumber(row, *column));
    }
    return values;
}

}  // namespace

std::optional<ConfoundStrategy> strategyPreset(std::string_view name) {
    ConfoundStrategy strategy;
    strategy.motion = Expansion::Full;
    strategy.highPass = true;
    if (name == "simple") {
        strategy.wmCsf = Expansion::Basic;
    } else if (name == "scrubbing") {
        strategy.wmCsf = Expansion::Full;
        strategy.scrub = 5;
    } else if (name == "compcor") {
        strategy.compCor = CompCorKind::AnatomicalCombined;
    } else {
        return std::nullopt;
    }
    return strategy;
}

std::string spikeColumnName(std::size_t index) {
    char name[40];
    std::snprintf(name, sizeof name, "motion_outlier_%02zu", index);
    return name;
}

std::vector<std::size_t> censoredVolumes(const std::vector<std::optional<double>>& framewise,
                                         const std::vector<std::optional<double>>& stdDvars,
                                         const ConfoundStrategy& strategy) {
    const std::size_t volumes = framewise.size();
    std::vector<bool> censored(volumes, false);
    bool any = false;
    for (std::size_t k = 0; k < volumes; ++k) {
        censored[k] = (framewise[k] && *framewise[k] > strategy.fdThreshold) ||
                      (stdDvars[k] && *stdDvars[k] > strategy.stdDvarsThreshold);
        any = any || censored[k];
    }
    // Stretches of kept volumes shorter than the minimum, bounded by a censored volume on at
    // least one side (the run's start and end bound the others).
    const std::size_t minimum = strategy.scrub.value_or(0);
    for (std::size_t k = 0; any && k < volumes;) {
        if (censored[k]) {
            ++k;
            continue;
        }
        std::size_t end = k;
        while (end < volumes && !censored[end]) {
            ++end;
        }
        if (end - k < minimum) {
            std::fill(censored.begin() + static_cast<std::ptrdiff_t>(k),
                      censored.begin() + static_cast<std::ptrdiff_t>(end), true);
        }
        k = end;
    }
    std::vector<std::size_t> result;
    for (std::size_t k = 0; k < volumes; ++k) {
        if (censored[k]) {
            result.push_back(k);
        }
    }
    return result;
}

StrategyColumns strategyColumns(const TsvTable& table, const ConfoundStrategy& strategy,
                                std::size_t firstRow, std::vector<std::string>& notes) {
    StrategyColumns picked;
    if (!strategy.any()) {
        return picked;
    }
    Picker picker(table, picked);
    if (strategy.motion) {
        picker.takeNamed(expanded({"trans_x", "trans_y", "trans_z", "rot_x", "rot_y", "rot_z"},
                                  *strategy.motion),
                         std::string("--motion ") + expansionName(*strategy.motion));
    }
    if (strategy.wmCsf) {
        picker.takeNamed(expanded({"csf", "white_matter"}, *strategy.wmCsf),
                         std::string("--wm-csf ") + expansionName(*strategy.wmCsf));
    }
    if (strategy.globalSignal) {
        picker.takeNamed(expanded({"global_signal"}, *strategy.globalSignal),
                         std::string("--global-signal ") + expansionName(*strategy.globalSignal));
    }
    if (strategy.compCor) {
        pickCompCor(table, strategy, picker, notes);
    }
    if (strategy.highPass && picker.takeBeginning("cosine") == 0) {
        notes.push_back("warning: " + table.path() +
                        " has no cosine column: --high-pass adds none");
    }
    // The volumes fMRIPrep flagged as not yet steady; a column that is 0 in every volume kept
    // (its volumes dropped as dummies) would only make the design singular.
    const std::size_t before = picked.columns.size();
    picker.takeBeginning("non_steady_state_outlier");
    for (std::size_t i = before; i < picked.columns.size();) {
        const std::size_t column = picked.columns[i];
        bool zero = true;
        for (std::size_t row = firstRow; row < table.rowCount() && zero; ++row) {
            zero = table.cell(row, column) == kMissing || table.number(row, column) == 0.0;
        }
        if (zero) {
            notes.push_back(table.path() + ": " + std::string(table.header()[column]) +
                            " is 0 in every volume kept and is left out");
            picked.columns.erase(picked.columns.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    if (strategy.scrub) {
        const std::string option = "--scrub";
        picked.censored =
            censoredVolumes(optionalColumn(table, "framewise_displacement", firstRow, option),
                            optionalColumn(table, "std_dvars", firstRow, option), strategy);
        char text[160];
        std::snprintf(text, sizeof text,
                      ": %zu of %zu volumes censored (framewise displacement over %g mm or "
                      "std_dvars over %g, and stretches of fewer than %zu kept volumes)",
                      picked.censored.size(),
                      table.rowCount() - std::min(firstRow, table.rowCount()), strategy.fdThreshold,
                      strategy.stdDvarsThreshold, *strategy.scrub);
        notes.push_back(table.path() + text);
    }
    return picked;
}

}  // namespace bids
