#pragma once

// A set of files that outputs must not replace, looked up in constant time: a file is in the set
// when a path to it was added as the same text, the same absolute path once "." and ".." are
// resolved, or, for a file that exists, the same file through symbolic links. (A second hard link
// under another name is not recognised; isSameFile compares two paths fully.) Touches the file
// system only to resolve links.

#include <string>
#include <unordered_set>

namespace paths {

class FileSet {
  public:
    void add(const std::string& path);
    bool contains(const std::string& path) const;

  private:
    std::unordered_set<std::string> keys_;
};

}  // namespace paths
