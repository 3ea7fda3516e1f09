#pragma once

// A library loaded by path into this process, and the addresses of its exports: what a host does
// with a plug-in, and what the tests do with the fake host modules. Windows loads a library under
// any file name, so a fake host module keeps the host's file name ("ZemlarTK.exe") there too.

#include <string>

class LoadedLibrary {
  public:
    // Loads the library now, resolving every reference; throws std::runtime_error with the
    // system's reason when it cannot. The reference is given back when the object goes.
    explicit LoadedLibrary(const std::string& path);
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    // Address of the named export of this library; null when it has none.
    void* symbol(const char* name) const;

  private:
    void* handle_ = nullptr;
};
