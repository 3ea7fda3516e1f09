#include "bids/Sidecar.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "bids/InputError.h"
#include "bids/TsvTable.h"

namespace bids {

std::optional<double> parseSidecarRepetitionTime(const std::string& text, const std::string& path) {
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& error) {
        // The library's text says where: "... at line 3, column 5: ..."; a number beyond the
        // double range is refused the same way.
        throw InputError(path + ": not valid JSON: " + error.what());
    }
    if (!document.is_object()) {
        throw InputError(path + ": a sidecar holds one JSON object, not " +
                         std::string(document.type_name()));
    }
    const auto found = document.find("RepetitionTime");
    if (found == document.end()) {
        return std::nullopt;
    }
    if (!found->is_number() || !std::isfinite(found->get<double>()) ||
        !(found->get<double>() > 0.0)) {
        throw InputError(path + ": RepetitionTime is " + found->dump() +
                         "; it must be a positive number of seconds");
    }
    return found->get<double>();
}

std::optional<double> sidecarRepetitionTime(const std::string& path) {
    return parseSidecarRepetitionTime(readWholeFile(path), path);
}

}  // namespace bids
