#pragma once

// Shared helpers of the test suite: temporary folders, files, and a log that stands in for the
// host's log pane.

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder, removed with everything in it when the object goes. Its paths use '/' between
// names on every platform (Windows takes it too), so expected texts can be written with '/'.
class TempDir {
  public:
    TempDir();
    // The same inside `base`.
    explicit TempDir(const std::filesystem::path& base);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Path of a file inside the folder, as a text.
    std::string file(const std::string& name) const { return (path_ / name).generic_string(); }

  private:
    std::filesystem::path path_;
};

// Writes the bytes exactly as given (binary mode).
void writeFile(const std::string& path, const std::string& bytes);
// The whole file as bytes; empty when it cannot be read.
std::string readFile(const std::string& path);
// The whole file as text, line ends as '\n': what a program wrote in text mode, Windows' CR LF
// included. Empty when it cannot be read.
std::string readText(const std::string& path);

// While alive, the host function table's log operation appends every entry to entries().
// Restores the previous entry when it goes.
class CapturedLog {
  public:
    CapturedLog();
    ~CapturedLog();
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    const std::vector<std::string>& entries() const;
    // The entries joined, each followed by a line break, as the log pane shows them.
    std::string transcript() const;
    bool contains(const std::string& entry) const;
    void clear();

  private:
    void (*previous_)() = nullptr;
};

}  // namespace testsupport
