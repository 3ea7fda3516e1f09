#pragma once

// The built plug-in module, loaded by path as a host loads it.

#include <stdexcept>
#include <string>

#include "abi/ZMTKPluginInterface.h"
#include "tests/plugin/LoadedLibrary.h"

class PluginModule {
  public:
    PluginModule() : library_(SDMWEAVER_PLUGIN_PATH) {}

    void* symbol(const char* name) const { return library_.symbol(name); }
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
    LoadedLibrary library_;
};
