#pragma once

// The plug-in library, loaded by path as the workstation loads it, and its exports by name.
// The platform's part lives in PluginLibraryPosix.cpp and PluginLibraryWindows.cpp.

#include <memory>
#include <string>
#include <utility>

namespace headless {

class PluginLibrary {
  public:
    // Loads the library at path. Empty (false), with `error`, when it cannot be loaded.
    static PluginLibrary open(const std::string& path, std::string& error);

    PluginLibrary() = default;
    PluginLibrary(PluginLibrary&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    PluginLibrary& operator=(PluginLibrary&& other) noexcept {
        if (this != &other) {
            PluginLibrary old(std::move(*this));  // unloads what this held
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    ~PluginLibrary();  // unloads the library

    explicit operator bool() const { return handle_ != nullptr; }

    // Address of the named export; null when the library does not export it.
    void* symbol(const char* name) const;

  private:
    void* handle_ = nullptr;
};

// The plug-in installed beside the running program (sdmweaver.so, or sdmweaver.dll).
std::string defaultPluginPath();

}  // namespace headless
