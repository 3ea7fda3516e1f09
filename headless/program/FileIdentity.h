#pragma once

// A set of files that answers "is this one of them?" in one lookup, comparing files rather than
// texts: a relative and an absolute path, "." and "..", and symbolic links all lead to the same
// file. (Two hard links of one file are not found to be the same.)

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>

namespace headless {

// The text two paths of one file share: absolute, links resolved as far as the path exists,
// "." and ".." resolved, '/' between names (and, on Windows, in lower case).
std::string sameFileKey(const std::string& path);

// Tells whether paths lead to one file, `path`: by their text once absolute and normal, by the
// file a symbolic link leads to, and, when `path` exists, by the file system itself. Costs no
// memory whatever the number of paths it is asked about.
class SameFileAs {
  public:
    explicit SameFileAs(const std::string& path);
    bool operator()(const std::string& other) const;

  private:
    std::filesystem::path workingFolder_;
    std::string path_;
    std::filesystem::path lexical_;
    std::filesystem::path resolved_;
    bool exists_ = false;
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
};

}  // namespace headless
