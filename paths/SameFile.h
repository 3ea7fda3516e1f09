#pragma once

// The one rule of this product for "are these two paths one file": they resolve to one path
// (symbolic links followed, a path not yet there resolved through its nearest existing folder,
// a dangling link through its target), or they lead to one file on one device (hard links).

#include <cstdint>
#include <optional>
#include <string>

namespace paths {

// The file a path leads to on its device; none when nothing is there.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
    friend auto operator<=>(const FileId&, const FileId&) = default;
};

// Absolute, every symbolic link of the part that exists followed (a dangling one through its
// target), "." and ".." resolved, '/' between names; on Windows in lower case. A path not yet
// there keeps its missing names after its nearest existing folder resolved.
std::string resolvedPath(const std::string& path);

// Device and file number of the file `path` leads to (links followed); none when there is none.
std::optional<FileId> fileIdOf(const std::string& path);

// What a path is known by: both parts of the rule at once.
struct FileIdentity {
    std::string resolved;
    std::optional<FileId> id;

    static FileIdentity of(const std::string& path);
    bool sameAs(const FileIdentity& other) const {
        return resolved == other.resolved || (id && other.id && *id == *other.id);
    }
};

// True when both paths name the same file by the rule above.
bool isSameFile(const std::string& first, const std::string& second);

}  // namespace paths
