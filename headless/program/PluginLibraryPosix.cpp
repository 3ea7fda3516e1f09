#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>

#include "headless/program/PluginLibrary.h"

namespace headless {

PluginLibrary PluginLibrary::open(const std::string& path, std::string& error) {
    PluginLibrary library;
    // dlopen searches the library path for a name without a slash; a path names a file.
    std::error_code ignored;
    const std::string file = std::filesystem::absolute(path, ignored).string();
    library.handle_ = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle_ == nullptr) {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : "cannot load " + path;
    }
    return library;
}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) {
        ::dlclose(handle_);
    }
}

void* PluginLibrary::symbol(const char* name) const {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

std::string defaultPluginPath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path(".") : program.parent_path();
    return (folder / "sdmweaver.so").string();
}

}  // namespace headless
