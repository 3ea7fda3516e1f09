#pragma once

// Finds a module that is already loaded in this process, by its file name, and looks up exports
// in that module alone. Nothing is ever loaded and no global symbol search takes place.

namespace host {

// An untyped address of a module's export; the caller gives it the type it has.
using ExportAddress = void (*)();

class LoadedModule {
  public:
    LoadedModule() = default;
    LoadedModule(LoadedModule&& other) noexcept;
    LoadedModule& operator=(LoadedModule&& other) noexcept;
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule();

    explicit operator bool() const { return handle_ != nullptr; }

    // Address of the named export of this module, or null when the module does not define it.
    ExportAddress lookup(const char* name) const;

  private:
    friend LoadedModule findLoadedModule(const char* fileName);
    void* handle_ = nullptr;  // the platform's module handle
    void* image_ = nullptr;   // identifies the module's own image (POSIX: its link map)
};

// The loaded module whose file name (without directory) is exactly fileName; empty when none is.
// On POSIX the main program counts under its executable's file name.
LoadedModule findLoadedModule(const char* fileName);

}  // namespace host
