#include "headless/plot/DesignTable.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "designmatrix/TokenReader.h"

namespace headless::plot {

namespace {

enum class Layout { DesignMatrix, TimeCourse };

std::optional<Layout> layoutOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".sdm") {
        return Layout::DesignMatrix;
    }
    if (extension == ".rtc") {
        return Layout::TimeCourse;
    }
    return std::nullopt;
}

std::string ofCount(std::size_t index, std::size_t count) {
    return std::to_string(index + 1) + " of " + std::to_string(count);
}

// Reads one header entry: its key (not compared: only the order gives it its meaning) and a
// whole number.
bool headerEntry(designmatrix::TokenReader& reader, std::int32_t& value) {
    std::string key;
    return reader.word(key) && reader.integer(value);
}

std::string unquoted(const std::string& name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        return name.substr(1, name.size() - 2);
    }
    return name;
}

struct Header {
    std::int32_t predictors = 0;
    std::int32_t volumes = 0;
    std::int32_t includesConstant = 0;
    std::int32_t firstConfound = 1;
};

// The header entries of the layout; empty `error` when they are all there and usable.
Header readHeader(designmatrix::TokenReader& reader, Layout layout, std::string& error) {
    Header header;
    std::int32_t version = 0;
    std::string typeKey;
    std::string typeValue;
    bool read = headerEntry(reader, version);
    if (layout == Layout::TimeCourse) {
        read = read && reader.word(typeKey) && reader.word(typeValue);
    }
    read = read && headerEntry(reader, header.predictors) && headerEntry(reader, header.volumes);
    if (layout == Layout::DesignMatrix) {
        read = read && headerEntry(reader, header.includesConstant) &&
               headerEntry(reader, header.firstConfound);
    }
    if (!read) {
        error = "its header is incomplete or holds a count that is not a whole number";
    } else if (header.predictors < 1) {
        error = "its header declares " + std::to_string(header.predictors) + " predictors";
    } else if (header.volumes < 1) {
        error = "its header declares " + std::to_string(header.volumes) + " data points";
    }
    return header;
}

}  // namespace

PredictorRole roleOf(std::size_t index, std::size_t count, bool includesConstant,
                     int firstConfound) {
    if (includesConstant && index + 1 == count) {
        return PredictorRole::Constant;
    }
    if (firstConfound >= 1 && index + 1 >= static_cast<std::size_t>(firstConfound)) {
        return PredictorRole::Confound;
    }
    return PredictorRole::Task;
}

DesignTableRead readDesignTable(const std::string& path) {
    DesignTableRead result;
    const auto fail = [&](const std::string& why) {
        result.error = path + ": " + why;
        return result;
    };
    const std::optional<Layout> layout = layoutOf(path);
    if (!layout) {
        return fail("neither a design matrix (*.sdm) nor a reference time course (*.rtc)");
    }
    std::ifstream in(path);
    if (!in) {
        return fail("cannot be opened");
    }
    designmatrix::TokenReader reader(in);
    std::string error;
    const Header header = readHeader(reader, *layout, error);
    if (!error.empty()) {
        return fail(error);
    }
    const auto count = static_cast<std::size_t>(header.predictors);
    const auto volumes = static_cast<std::size_t>(header.volumes);

    if (*layout == Layout::DesignMatrix) {
        for (std::size_t i = 0; i < count; ++i) {
            std::int32_t component = 0;
            if (!(reader.integer(component) && reader.integer(component) &&
                  reader.integer(component))) {
                return fail("colour " + ofCount(i, count) + " is missing or not three integers");
            }
        }
    }

    DesignTable table;
    table.path = path;
    table.firstConfound = header.firstConfound;
    // Names before columns: a count that the file does not back ends here, before anything is
    // sized by it.
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        if (!reader.name(name)) {
            return fail("the name of predictor " + ofCount(i, count) + " is missing");
        }
        table.names.push_back(unquoted(name));
    }
    table.columns.resize(count);
    for (std::size_t row = 0; row < volumes; ++row) {
        for (std::size_t i = 0; i < count; ++i) {
            double value = 0.0;
            if (!reader.number(value)) {
                return fail("row " + ofCount(row, volumes) + ", value " + ofCount(i, count) +
                            " is missing or not a number");
            }
            table.columns[i].push_back(value);
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        table.roles.push_back(roleOf(i, count, header.includesConstant != 0, header.firstConfound));
    }
    result.table = std::move(table);
    return result;
}

}  // namespace headless::plot
