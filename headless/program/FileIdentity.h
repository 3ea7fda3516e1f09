#pragma once

// A set of files that answers "is this one of them?" in one lookup, comparing files rather than
// texts by the product's one identity rule (paths/SameFile.h).

#include <map>
#include <optional>
#include <string>
#include <unordered_map>

#include "paths/SameFile.h"

namespace headless {

// The text two paths of one file share (paths::resolvedPath); hard links aside.
std::string sameFileKey(const std::string& path);

// Tells whether paths lead to one file, `path`, by paths::isSameFile, `path` looked up once.
class SameFileAs {
  public:
    explicit SameFileAs(const std::string& path);
    bool operator()(const std::string& other) const;

  private:
    std::string path_;
    paths::FileIdentity identity_;
};

class FileDescriptions {
  public:
    // Adds the file with what it is ("the volume document", "entry 3 of the list"); a file added
    // before keeps its first description.
    void add(const std::string& path, const std::string& description);
    // The description of the file `path` leads to; none when it is not in the set.
    std::optional<std::string> find(const std::string& path) const;

  private:
    std::unordered_map<std::string, std::string> files_;
    std::map<paths::FileId, std::string> byId_;
};

}  // namespace headless
