#include "bids/BidsName.h"

#include <algorithm>

namespace bids {

std::optional<std::string> BidsName::entity(std::string_view key) const {
    for (const auto& [name, value] : entities) {
        if (name == key) {
            return value;
        }
    }
    return std::nullopt;
}

bool BidsName::entitiesWithin(const BidsName& other) const {
    return std::all_of(entities.begin(), entities.end(), [&other](const auto& entity) {
        return other.entity(entity.first) == entity.second;
    });
}

std::optional<BidsName> parseBidsName(std::string_view fileName) {
    BidsName name;
    const std::size_t dot = fileName.find('.');
    name.extension =
        std::string(fileName.substr(dot == std::string_view::npos ? fileName.size() : dot));
    std::string_view stem = fileName.substr(0, dot);
    for (;;) {
        const std::size_t underscore = stem.find('_');
        const std::string_view part = stem.substr(0, underscore);
        if (underscore == std::string_view::npos) {
            if (part.empty() || part.find('-') != std::string_view::npos) {
                return std::nullopt;
            }
            name.suffix = std::string(part);
            return name;
        }
        const std::size_t dash = part.find('-');
        if (dash == std::string_view::npos || dash == 0 || dash + 1 == part.size()) {
            return std::nullopt;
        }
        name.entities.emplace_back(std::string(part.substr(0, dash)),
                                   std::string(part.substr(dash + 1)));
        stem.remove_prefix(underscore + 1);
    }
}

}  // namespace bids
