#include "plot/FramewiseDisplacement.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "text/FileName.h"

namespace plot {

namespace {

std::string lowered(const std::string& text) {
    std::string result = text;
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::optional<std::size_t> indexOf(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return i;
        }
    }
    return std::nullopt;
}

// The columns named exactly by `names`, in that order; none when one is missing.
std::optional<std::array<std::size_t, 6>> named(const std::vector<std::string>& tableNames,
                                                const std::array<const char*, 6>& names) {
    std::array<std::size_t, 6> index{};
    for (std::size_t k = 0; k < names.size(); ++k) {
        const auto at = indexOf(tableNames, names[k]);
        if (!at) {
            return std::nullopt;
        }
        index[k] = *at;
    }
    return index;
}

// "Translation ..." and "Rotation ..." columns, three of each, in table order.
std::optional<MotionColumns> byWords(const DesignTable& table) {
    std::vector<std::size_t> translations;
    std::vector<std::size_t> rotations;
    bool radians = false;
    for (std::size_t i = 0; i < table.names.size(); ++i) {
        const std::string name = lowered(table.names[i]);
        if (name.starts_with("translation")) {
            translations.push_back(i);
        } else if (name.starts_with("rotation")) {
            rotations.push_back(i);
            radians = radians || name.find("[rad]") != std::string::npos;
        }
    }
    if (translations.size() != 3 || rotations.size() != 3) {
        return std::nullopt;
    }
    MotionColumns columns;
    std::copy(translations.begin(), translations.end(), columns.index.begin());
    std::copy(rotations.begin(), rotations.end(), columns.index.begin() + 3);
    columns.rotations = radians ? RotationUnit::Radians : RotationUnit::Degrees;
    return columns;
}

}  // namespace

std::optional<MotionColumns> findMotionColumns(const DesignTable& table) {
    // What the file is, by its name, never by its folders.
    const std::string_view name = text::fileNameOf(table.path);
    if (name.find("_3DMC_z") != std::string_view::npos) {
        return std::nullopt;
    }
    if (auto columns = byWords(table)) {
        return columns;
    }
    for (const auto& names :
         {std::array<const char*, 6>{"trans_x", "trans_y", "trans_z", "rot_x", "rot_y", "rot_z"},
          std::array<const char*, 6>{"X", "Y", "Z", "RotX", "RotY", "RotZ"}}) {
        if (const auto index = named(table.names, names)) {
            return MotionColumns{*index, RotationUnit::Radians};
        }
    }
    std::size_t estimates = 0;
    for (PredictorRole role : table.roles) {
        estimates += role == PredictorRole::Constant ? 0 : 1;
    }
    if (name.find("_3DMC") != std::string_view::npos && estimates == 6 && table.roles.size() >= 6 &&
        table.roles.front() != PredictorRole::Constant) {
        return MotionColumns{{0, 1, 2, 3, 4, 5}, RotationUnit::Degrees};
    }
    return std::nullopt;
}

std::vector<double> framewiseDisplacement(const DesignTable& table, const MotionColumns& columns) {
    const double perUnit = columns.rotations == RotationUnit::Degrees
                               ? kHeadRadiusMm * std::numbers::pi / 180.0
                               : kHeadRadiusMm;
    const std::size_t volumes = table.nrOfVolumes();
    std::vector<double> displacement(volumes, 0.0);
    for (std::size_t v = 1; v < volumes; ++v) {
        double sum = 0.0;
        for (std::size_t k = 0; k < 6; ++k) {
            const auto& column = table.columns[columns.index[k]];
            const double change = std::abs(column[v] - column[v - 1]);
            sum += k < 3 ? change : change * perUnit;
        }
        displacement[v] = sum;
    }
    return displacement;
}

DisplacementSummary summariseDisplacement(const std::vector<double>& displacement) {
    DisplacementSummary summary;
    std::size_t above = 0;
    for (double value : displacement) {
        summary.mean += value;
        summary.max = std::max(summary.max, value);
        above += value > kDisplacementLimitMm ? 1 : 0;
    }
    const auto count = static_cast<double>(displacement.size());
    summary.mean /= count;
    summary.share = static_cast<double>(above) / count;
    return summary;
}

}  // namespace plot
