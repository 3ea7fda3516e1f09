#pragma once

// The inheritance principle of BIDS: a metadata or events file applies to a data file when it
// lies in the data file's folder or a folder above it (up to the dataset's root), has the same
// suffix and extension, and every entity it names is one of the data file's with the same value.
// "task-nback_bold.json" at the root applies to every BOLD run of the task.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "bids/BidsName.h"

namespace bids {

// The dataset's root for a file in `folder`: the nearest folder upward (the folder included)
// that holds dataset_description.json; none when no folder does.
std::optional<std::filesystem::path> datasetRoot(const std::filesystem::path& folder);

// The files with `suffix` and `extension` that apply to a data file named `target` in `folder`,
// from the most general to the most specific: folder by folder from `root` (which holds
// `folder`) down to `folder`, and within a folder by the number of entities. Files of another
// name, and `folder`'s that name entities `target` lacks, are left out.
std::vector<std::filesystem::path> applicableFiles(const std::filesystem::path& root,
                                                   const std::filesystem::path& folder,
                                                   const BidsName& target, std::string_view suffix,
                                                   std::string_view extension);

}  // namespace bids
