#pragma once

// The parts of a BIDS file name: key-value entities, a suffix and an extension, as in
// "sub-01_ses-02_task-nback_run-1_bold.nii.gz" (entities sub, ses, task, run; suffix bold;
// extension .nii.gz).

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bids {

struct BidsName {
    std::vector<std::pair<std::string, std::string>> entities;  // in the name's order
    std::string suffix;
    std::string extension;  // from the first '.', which it includes

    // The entity's value; none when the name has no such entity.
    std::optional<std::string> entity(std::string_view key) const;
    // True when every entity of this name is in `other` with the same value.
    bool entitiesWithin(const BidsName& other) const;
};

// The parts of a file name (no folder); none when it is not a BIDS name (a part without '-'
// before the suffix, an empty key or value).
std::optional<BidsName> parseBidsName(std::string_view fileName);

}  // namespace bids
