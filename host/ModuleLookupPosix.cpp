#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <utility>

#include "host/ModuleLookup.h"

namespace host {

namespace {

std::string_view fileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string executablePath() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return path;
}

}  // namespace

LoadedModule::LoadedModule(LoadedModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      image_(std::exchange(other.image_, nullptr)) {}

LoadedModule& LoadedModule::operator=(LoadedModule&& other) noexcept {
    if (this != &other) {
        LoadedModule old(std::move(*this));
        handle_ = std::exchange(other.handle_, nullptr);
        image_ = std::exchange(other.image_, nullptr);
    }
    return *this;
}

LoadedModule::~LoadedModule() {
    if (handle_ != nullptr) {
        ::dlclose(handle_);  // drops only the reference taken by findLoadedModule
    }
}

ExportAddress LoadedModule::lookup(const char* name) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    void* address = ::dlsym(handle_, name);
    if (address == nullptr) {
        return nullptr;
    }
    // dlsym also searches the module's dependencies (or, for the main program, the whole
    // process); keep the address only when it lies in the module itself.
    Dl_info info{};
    link_map* owner = nullptr;
    if (::dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 ||
        owner != image_) {
        return nullptr;
    }
    return reinterpret_cast<ExportAddress>(address);
}

LoadedModule findLoadedModule(const char* fileName) {
    LoadedModule module;
    if (fileName == nullptr || *fileName == '\0') {
        return module;
    }
    void* self = ::dlopen(nullptr, RTLD_LAZY);
    link_map* first = nullptr;
    if (self == nullptr || ::dlinfo(self, RTLD_DI_LINKMAP, &first) != 0) {
        if (self != nullptr) {
            ::dlclose(self);
        }
        return module;
    }
    for (link_map* map = first; map != nullptr; map = map->l_next) {
        const bool isMainProgram = map == first;
        const std::string path = isMainProgram ? executablePath() : std::string(map->l_name);
        if (fileNameOf(path) != fileName) {
            continue;
        }
        void* handle = isMainProgram ? ::dlopen(nullptr, RTLD_LAZY)
                                     : ::dlopen(map->l_name, RTLD_LAZY | RTLD_NOLOAD);
        if (handle != nullptr) {
            module.handle_ = handle;
            module.image_ = map;
            break;
        }
    }
    ::dlclose(self);
    return module;
}

}  // namespace host
