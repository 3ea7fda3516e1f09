#include "tests/support/BidsTables.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <random>
#include <tuple>

namespace testsupport {

namespace {

using Column = std::pair<std::string, std::vector<std::string>>;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.8g", value);
    return text;
}

// A column with its derivative, square and squared derivative, as fMRIPrep expands it.
void addExpanded(std::vector<Column>& table, const std::string& name,
                 const std::vector<double>& values) {
    Column plain{name, {}};
    Column derivative{name + "_derivative1", {}};
    Column power{name + "_power2", {}};
    Column both{name + "_derivative1_power2", {}};
    for (std::size_t k = 0; k < values.size(); ++k) {
        const double slope = k == 0 ? 0.0 : values[k] - values[k - 1];
        plain.second.push_back(number(values[k]));
        power.second.push_back(number(values[k] * values[k]));
        derivative.second.push_back(k == 0 ? "n/a" : number(slope));
        both.second.push_back(k == 0 ? "n/a" : number(slope * slope));
    }
    table.insert(table.end(), {plain, derivative, power, both});
}

}  // namespace

std::vector<std::string> expandedNames(const std::vector<std::string>& names,
                                       const std::string& expansion) {
    std::vector<std::string> suffixes;
    if (expansion == "derivatives" || expansion == "full") {
        suffixes.push_back("_derivative1");
    }
    if (expansion == "power2" || expansion == "full") {
        suffixes.push_back("_power2");
    }
    if (expansion == "full") {
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

std::string fmriprepConfounds(const ConfoundsSpec& spec) {
    std::mt19937 random(spec.seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    const auto draw = [&] { return std::clamp(normal(random), -2.5, 2.5); };
    const auto in = [](const std::vector<std::size_t>& list, std::size_t k) {
        return std::find(list.begin(), list.end(), k) != list.end();
    };
    const std::size_t n = spec.volumes;
    std::vector<Column> table;
    for (const auto& [name, level, spread] : {std::tuple{"global_signal", 600.0, 4.0},
                                              {"csf", 800.0, 9.0},
                                              {"white_matter", 550.0, 3.0}}) {
        std::vector<double> values(n);
        for (double& value : values) {
            value = level + spread * draw();
        }
        addExpanded(table, name, values);
    }
    // Motion: random walks in mm and radians (0.0003 rad is 0.015 mm at 50 mm), a step of 1.2 mm
    // that stays at each jump.
    std::vector<std::vector<double>> motion(6, std::vector<double>(n, 0.0));
    Column stdDvars{"std_dvars", {"n/a"}};
    Column framewise{"framewise_displacement", {"n/a"}};
    for (std::size_t k = 1; k < n; ++k) {
        double displacement = 0.0;
        for (std::size_t p = 0; p < 6; ++p) {
            motion[p][k] = motion[p][k - 1] + (p < 3 ? 0.02 : 0.0003) * draw() +
                           (p == 0 && in(spec.motionJumps, k) ? 1.2 : 0.0);
            displacement += std::fabs(motion[p][k] - motion[p][k - 1]) * (p < 3 ? 1.0 : 50.0);
        }
        framewise.second.push_back(number(displacement));
        stdDvars.second.push_back(number(in(spec.dvarsSpikes, k) ? 2.4 : 1.0 + 0.1 * draw()));
    }
    table.insert(table.end(), {stdDvars, framewise});
    const auto numbered = [&](const char* prefix, std::size_t count, auto value) {
        for (std::size_t c = 0; c < count; ++c) {
            char name[48];
            std::snprintf(name, sizeof name, "%s%02zu", prefix, c);
            Column column{name, {}};
            for (std::size_t k = 0; k < n; ++k) {
                column.second.push_back(value(c, k));
            }
            table.push_back(column);
        }
    };
    const auto component = [&](std::size_t, std::size_t) { return number(0.1 * draw()); };
    numbered("t_comp_cor_", spec.tCompCor, component);
    numbered("a_comp_cor_", spec.aCompCor, component);
    numbered("cosine", spec.cosines, [n](std::size_t c, std::size_t k) {
        const auto length = static_cast<double>(n);
        return number(std::sqrt(2.0 / length) *
                      std::cos(std::numbers::pi * (static_cast<double>(k) + 0.5) *
                               static_cast<double>(c + 1) / length));
    });
    numbered("non_steady_state_outlier", spec.nonSteady,
             [](std::size_t c, std::size_t k) { return std::string(c == k ? "1" : "0"); });
    const char* motionNames[] = {"trans_x", "trans_y", "trans_z", "rot_x", "rot_y", "rot_z"};
    for (std::size_t p = 0; p < 6; ++p) {
        addExpanded(table, motionNames[p], motion[p]);
    }

    std::string text;
    for (std::size_t row = 0; row <= n; ++row) {
        for (std::size_t c = 0; c < table.size(); ++c) {
            text += (c == 0 ? "" : "\t") + (row == 0 ? table[c].first : table[c].second[row - 1]);
        }
        text += '\n';
    }
    return text;
}

std::string niftiHeaderBytes(long long volumes, double timeStep, int units) {
    std::string bytes(352, '\0');
    const auto put = [&bytes](std::size_t offset, const void* value, std::size_t size) {
        std::memcpy(bytes.data() + offset, value, size);  // little-endian hosts only
    };
    const std::int32_t size = 348;
    put(0, &size, 4);
    const std::int16_t dims[5] = {4, 64, 64, 30, static_cast<std::int16_t>(volumes)};
    put(40, dims, sizeof dims);
    const float step = static_cast<float>(timeStep);
    put(76 + 16, &step, 4);
    const float offset = 352.0F;
    put(108, &offset, 4);
    bytes[123] = static_cast<char>(units);
    bytes.replace(344, 4, std::string("n+1\0", 4));
    return bytes;
}

}  // namespace testsupport
