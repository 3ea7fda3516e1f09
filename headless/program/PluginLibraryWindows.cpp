#include <windows.h>

#include <string>

#include "headless/program/PluginLibrary.h"

namespace headless {

PluginLibrary PluginLibrary::open(const std::string& path, std::string& error) {
    PluginLibrary library;
    library.handle_ = ::LoadLibraryA(path.c_str());
    if (library.handle_ == nullptr) {
        error = "cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")";
    }
    return library;
}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(handle_));
    }
}

void* PluginLibrary::symbol(const char* name) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string defaultPluginPath() {
    char program[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder(program, length);
    const std::size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? "." : folder.substr(0, slash);
    return folder + "\\sdmweaver.dll";
}

}  // namespace headless
