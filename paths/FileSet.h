#pragma once

// The files of a run that no output may replace, the list and every file it names, looked up in
// constant memory per file: a path is one of them when isSameFile would say so. Touches the file
// system only to resolve paths.

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "paths/SameFile.h"

namespace paths {

class FileSet {
  public:
    // The list at `listPath` and the files `entries` names; `entries` must outlive the set.
    FileSet(std::string listPath, std::span<const std::string> entries);
    bool contains(const std::string& path) const;

  private:
    // The path of file i: the list for the last index, else an entry.
    const std::string& pathAt(std::size_t i) const;

    std::string listPath_;
    std::span<const std::string> entries_;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> hashes_;  // of each resolved path, sorted
    std::vector<FileId> ids_;                                      // of the files there, sorted
};

}  // namespace paths
