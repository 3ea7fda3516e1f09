#pragma once

// The files of a run that no output may replace, the list and every file it names, looked up in
// constant memory per file: a path is one of them when it is the same absolute path once "." and
// ".." are resolved, or, for a file that exists, the same file through symbolic links. (A second
// hard link under another name is not recognised; isSameFile compares two paths fully.) Touches
// the file system only to resolve paths.

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

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
    std::vector<std::pair<std::uint64_t, std::uint32_t>> hashes_;  // of each file's key, sorted
};

}  // namespace paths
