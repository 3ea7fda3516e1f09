#pragma once

// The built plug-in module, loaded by path as a host loads it.

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "plugin/ZMTKPluginInterface.h"

class PluginModule {
  public:
    PluginModule() : handle_(::dlopen(SDMWEAVER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL)) {
        if (handle_ == nullptr) {
            throw std::runtime_error(std::string("cannot load the plug-in: ") + ::dlerror());
        }
    }
    ~PluginModule() { ::dlclose(handle_); }
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    void* symbol(const char* name) const { return ::dlsym(handle_, name); }
    std::string text(const char* exportName) const {
        auto* function = reinterpret_cast<const char* (*)()>(symbol(exportName));
        if (function == nullptr) {
            throw std::runtime_error(std::string("missing export ") + exportName);
        }
        const char* value = function();
        if (value == nullptr) {
            throw std::runtime_error(std::string(exportName) + " returned null");
        }
        return value;
    }
    ZMTKPluginInterface* createPlugin() const {
        auto* function = reinterpret_cast<ZMTKPluginInterface* (*)()>(symbol("createPlugin"));
        return function != nullptr ? function() : nullptr;
    }

  private:
    void* handle_;
};
