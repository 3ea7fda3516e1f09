#include <dlfcn.h>

#include <stdexcept>

#include "tests/plugin/LoadedLibrary.h"

LoadedLibrary::LoadedLibrary(const std::string& path)
    : handle_(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        throw std::runtime_error("cannot load " + path + ": " + ::dlerror());
    }
}

LoadedLibrary::~LoadedLibrary() {
    ::dlclose(handle_);
}

void* LoadedLibrary::symbol(const char* name) const {
    return ::dlsym(handle_, name);
}
