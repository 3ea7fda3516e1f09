#include "bids/MotionFile.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "bids/ConfoundsFile.h"
#include "bids/InputError.h"

namespace bids {

namespace {

constexpr std::array<const char*, 6> kCurrentNames = {"trans_x", "trans_y", "trans_z",
                                                      "rot_x",   "rot_y",   "rot_z"};
constexpr std::array<const char*, 6> kOlderNames = {"X", "Y", "Z", "RotX", "RotY", "RotZ"};
constexpr std::array<const char*, 6> kMotionNames = {
    "Translation ZM-X [mm]", "Translation ZM-Y [mm]", "Translation ZM-Z [mm]",
    "Rotation ZM-X [deg]",   "Rotation ZM-Y [deg]",   "Rotation ZM-Z [deg]"};
// The colours the plug-in gives motion predictors of its own.
constexpr std::array<std::int32_t, 6> kMotionColors = {0xFF3232, 0x32FF32, 0x3232FF,
                                                       0xFFFF00, 0xFF00FF, 0x00FFFF};

std::optional<std::array<std::size_t, 6>> findColumns(const TsvTable& table,
                                                      const std::array<const char*, 6>& names) {
    std::array<std::size_t, 6> columns{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto column = table.column(names[i]);
        if (!column) {
            return std::nullopt;
        }
        columns[i] = *column;
    }
    return columns;
}

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

Design motionFromConfounds(const TsvTable& table, std::size_t dummies,
                           std::vector<std::string>& notes) {
    auto columns = findColumns(table, kCurrentNames);
    if (!columns) {
        columns = findColumns(table, kOlderNames);
    }
    if (!columns) {
        throw InputError(table.path() +
                         ": line 1 (the header) has neither the motion columns trans_x trans_y "
                         "trans_z rot_x rot_y rot_z nor the older X Y Z RotX RotY RotZ");
    }
    if (dummies >= table.rowCount()) {
        throw InputError("--dummy " + std::to_string(dummies) + " leaves none of the " +
                         std::to_string(table.rowCount()) + " rows of " + table.path());
    }
    Design design;
    design.rows = table.rowCount() - dummies;
    design.constant = false;
    std::size_t missing = 0;
    for (std::size_t i = 0; i < 6; ++i) {
        ConfoundColumn column = confoundColumn(table, (*columns)[i], dummies);
        missing += column.leadingMissing;
        for (std::size_t row = 0; row < column.values.size(); ++row) {
            double& value = column.values[row];
            if (i >= 3) {
                value *= 180.0 / std::numbers::pi;
            }
            if (!std::isfinite(value)) {
                throw InputError(table.path() + ": line " + std::to_string(row + dummies + 2) +
                                 " (row " + std::to_string(row + dummies + 1) + "), column " +
                                 std::string(table.header()[(*columns)[i]]) +
                                 ": the motion value is not a finite number" +
                                 (i >= 3 ? " in degrees" : "") + ": nothing is written");
            }
        }
        design.predictors.push_back({kMotionNames[i], kMotionColors[i], std::move(column.values)});
    }
    design.confounds = 6;
    if (missing > 0) {
        notes.push_back(table.path() + ": n/a in the first rows of the motion columns: " +
                        std::to_string(missing) + " cell(s) set to 0");
    }
    return design;
}

std::string motionFileName(const std::string& confoundsPath) {
    std::string stem = confoundsPath;
    if (endsWith(stem, ".tsv")) {
        stem.resize(stem.size() - 4);
    }
    for (const std::string_view ending :
         {"_desc-confounds_timeseries", "_desc-confounds_regressors", "_timeseries", "_regressors",
          "_confounds"}) {
        if (endsWith(stem, ending)) {
            stem.resize(stem.size() - ending.size());
            break;
        }
    }
    return stem + "_3DMC.sdm";
}

}  // namespace bids
