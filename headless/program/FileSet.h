#pragma once

// A set of files that answers "is this one of them?" in one lookup, comparing files rather than
// texts: a relative and an absolute path, "." and "..", and symbolic links all lead to the same
// file. (Two hard links of one file are not found to be the same.)

#include <optional>
#include <string>
#include <unordered_map>

namespace headless {

// The text two paths of one file share: absolute, links resolved as far as the path exists,
// "." and ".." resolved, '/' between names (and, on Windows, in lower case).
std::string sameFileKey(const std::string& path);

class FileSet {
  public:
    // Adds the file with what it is ("the volume document", "entry 3 of the list"); a file added
    // before keeps its first description.
    void add(const std::string& path, const std::string& description);
    // The description of the file `path` leads to; none when it is not in the set.
    std::optional<std::string> find(const std::string& path) const;

  private:
    std::unordered_map<std::string, std::string> files_;
};

}  // namespace headless
