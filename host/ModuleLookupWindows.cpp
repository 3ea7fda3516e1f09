#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <utility>

#include "host/ModuleLookup.h"

namespace host {

LoadedModule::LoadedModule(LoadedModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      image_(std::exchange(other.image_, nullptr)) {}

LoadedModule& LoadedModule::operator=(LoadedModule&& other) noexcept {
    handle_ = std::exchange(other.handle_, nullptr);
    image_ = std::exchange(other.image_, nullptr);
    return *this;
}

// GetModuleHandleA takes no reference, so there is nothing to give back.
LoadedModule::~LoadedModule() = default;

ExportAddress LoadedModule::lookup(const char* name) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<ExportAddress>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

LoadedModule findLoadedModule(const char* fileName) {
    LoadedModule module;
    if (fileName != nullptr && *fileName != '\0') {
        module.handle_ = ::GetModuleHandleA(fileName);
        module.image_ = module.handle_;
    }
    return module;
}

}  // namespace host
