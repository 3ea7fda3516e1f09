#include "tests/support/BidsTables.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <random>

namespace testsupport {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.8g", value);
    return text;
}

// A column with its derivative, square and squared derivative.
void addExpanded(std::vector<std::string>& names, std::vector<std::vector<std::string>>& columns,
                 const std::string& name, const std::vector<double>& values) {
    std::vector<std::string> plain;
    std::vector<std::string> derivative;
    std::vector<std::string> power;
    std::vector<std::string> derivativePower;
    for (std::size_t k = 0; k < values.size(); ++k) {
        plain.push_back(number(values[k]));
        power.push_back(number(values[k] * values[k]));
        const double slope = k == 0 ? 0.0 : values[k] - values[k - 1];
        derivative.push_back(k == 0 ? "n/a" : number(slope));
        derivativePower.push_back(k == 0 ? "n/a" : number(slope * slope));
    }
    for (const auto& [suffix, column] :
         {std::pair<const char*, std::vector<std::string>*>{"", &plain},
          {"_derivative1", &derivative},
          {"_power2", &power},
          {"_derivative1_power2", &derivativePower}}) {
        names.push_back(name + suffix);
        columns.push_back(*column);
    }
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
    const std::size_t n = spec.volumes;
    const auto has = [](const std::vector<std::size_t>& list, std::size_t k) {
        return std::find(list.begin(), list.end(), k) != list.end();
    };

    // Motion: slow random walks in mm and radians, a persistent step of 1.2 mm at each jump.
    std::vector<std::vector<double>> motion(6, std::vector<double>(n, 0.0));
    for (std::size_t k = 1; k < n; ++k) {
        for (std::size_t p = 0; p < 6; ++p) {
            const double step = p < 3 ? 0.02 : 0.0003;  // mm; radians (0.015 mm at 50 mm)
            motion[p][k] = motion[p][k - 1] + step * std::clamp(normal(random), -2.5, 2.5);
        }
        if (has(spec.motionJumps, k)) {
            motion[0][k] += 1.2;
        }
    }
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> columns;
    const auto signal = [&](double level, double spread) {
        std::vector<double> values(n);
        for (double& value : values) {
            value = level + spread * normal(random);
        }
        return values;
    };
    addExpanded(names, columns, "global_signal", signal(600.0, 4.0));
    addExpanded(names, columns, "csf", signal(800.0, 9.0));
    addExpanded(names, columns, "white_matter", signal(550.0, 3.0));

    std::vector<std::string> stdDvars;
    std::vector<std::string> dvars;
    std::vector<std::string> framewise;
    std::vector<std::string> rmsd;
    for (std::size_t k = 0; k < n; ++k) {
        if (k == 0) {
            for (auto* column : {&stdDvars, &dvars, &framewise, &rmsd}) {
                column->push_back("n/a");
            }
            continue;
        }
        const double standardised =
            has(spec.dvarsSpikes, k) ? 2.4 : 1.0 + 0.1 * std::clamp(normal(random), -3.0, 3.0);
        stdDvars.push_back(number(standardised));
        dvars.push_back(number(18.0 * standardised));
        double displacement = 0.0;
        for (std::size_t p = 0; p < 6; ++p) {
            displacement += std::fabs(motion[p][k] - motion[p][k - 1]) * (p < 3 ? 1.0 : 50.0);
        }
        framewise.push_back(number(displacement));
        rmsd.push_back(number(0.8 * displacement));
    }
    for (const auto& [name, column] :
         {std::pair<const char*, std::vector<std::string>*>{"std_dvars", &stdDvars},
          {"dvars", &dvars},
          {"framewise_displacement", &framewise},
          {"rmsd", &rmsd}}) {
        names.push_back(name);
        columns.push_back(*column);
    }
    const auto components = [&](const char* prefix, std::size_t count) {
        for (std::size_t c = 0; c < count; ++c) {
            char name[40];
            std::snprintf(name, sizeof name, "%s%02zu", prefix, c);
            names.push_back(name);
            std::vector<std::string> column;
            for (std::size_t k = 0; k < n; ++k) {
                column.push_back(number(0.1 * normal(random)));
            }
            columns.push_back(column);
        }
    };
    components("t_comp_cor_", spec.tCompCor);
    components("a_comp_cor_", spec.aCompCor);
    for (std::size_t c = 0; c < spec.cosines; ++c) {
        char name[32];
        std::snprintf(name, sizeof name, "cosine%02zu", c);
        names.push_back(name);
        std::vector<std::string> column;
        for (std::size_t k = 0; k < n; ++k) {
            column.push_back(number(std::sqrt(2.0 / static_cast<double>(n)) *
                                    std::cos(std::numbers::pi * (static_cast<double>(k) + 0.5) *
                                             static_cast<double>(c + 1) / static_cast<double>(n))));
        }
        columns.push_back(column);
    }
    for (std::size_t c = 0; c < spec.nonSteady; ++c) {
        char name[48];
        std::snprintf(name, sizeof name, "non_steady_state_outlier%02zu", c);
        names.push_back(name);
        std::vector<std::string> column(n, "0");
        column[c] = "1";
        columns.push_back(column);
    }
    const char* motionNames[] = {"trans_x", "trans_y", "trans_z", "rot_x", "rot_y", "rot_z"};
    for (std::size_t p = 0; p < 6; ++p) {
        addExpanded(names, columns, motionNames[p], motion[p]);
    }

    std::string text;
    for (std::size_t c = 0; c < names.size(); ++c) {
        text += (c == 0 ? "" : "\t") + names[c];
    }
    text += '\n';
    for (std::size_t k = 0; k < n; ++k) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            text += (c == 0 ? "" : "\t") + columns[c][k];
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
