#include "formats/DesignTable.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "paths/RegularFile.h"
#include "text/DesignFileHeader.h"
#include "text/TextScanner.h"

namespace formats {

namespace {

using text::DesignFileLayout;

// Only design matrices and reference time courses are drawn, whatever the case of their
// extension; which of the two layouts a file is read in is the plug-in's rule.
bool isDesignFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".sdm" || extension == ".rtc";
}

std::string ofCount(std::size_t index, std::size_t count) {
    return std::to_string(index + 1) + " of " + std::to_string(count);
}

std::string unquoted(const std::string& name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        return name.substr(1, name.size() - 2);
    }
    return name;
}

// Why the header cannot be drawn from; empty when it can.
std::string headerProblem(bool read, const text::DesignFileHeader& header) {
    if (!read) {
        return "its header is incomplete or holds a count that is not a whole number";
    }
    if (header.nrOfPredictors < 1) {
        return "its header declares " + std::to_string(header.nrOfPredictors) + " predictors";
    }
    if (header.nrOfDataPoints < 1) {
        return "its header declares " + std::to_string(header.nrOfDataPoints) + " data points";
    }
    return {};
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
    if (!isDesignFile(path)) {
        return fail("neither a design matrix (*.sdm) nor a reference time course (*.rtc)");
    }
    if (paths::isIrregularFile(path)) {
        result.error = paths::irregularFileText(path);
        return result;
    }
    // Byte for byte: the scanner takes a carriage return for white space.
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in) {
        return fail("cannot be opened");
    }
    text::TextScanner reader(in);
    const DesignFileLayout layout = text::designFileLayoutOf(path);
    text::DesignFileHeader header;
    const bool headerRead = text::readDesignFileHeader(reader, layout, header);
    if (const std::string problem = headerProblem(headerRead, header); !problem.empty()) {
        return fail(problem);
    }
    const auto count = static_cast<std::size_t>(header.nrOfPredictors);
    const auto volumes = static_cast<std::size_t>(header.nrOfDataPoints);

    if (layout == DesignFileLayout::DesignMatrix) {
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

}  // namespace formats
