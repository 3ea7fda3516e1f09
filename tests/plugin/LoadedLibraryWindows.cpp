#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "tests/plugin/LoadedLibrary.h"

namespace {

// Library paths from the build may hold forward slashes; the loader wants backslashes.
std::string withBackslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

LoadedLibrary::LoadedLibrary(const std::string& path)
    : handle_(::LoadLibraryA(withBackslashes(path).c_str())) {
    if (handle_ == nullptr) {
        throw std::runtime_error("cannot load " + path + ": Windows error " +
                                 std::to_string(::GetLastError()));
    }
}

LoadedLibrary::~LoadedLibrary() {
    ::FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LoadedLibrary::symbol(const char* name) const {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}
