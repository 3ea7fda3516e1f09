#include "host/HostFunctionTable.h"

#include "host/ModuleLookup.h"

namespace host {

namespace {

constexpr std::array<const char*, 2> kHostModuleNames = {"Zemlar.exe", "ZemlarTK.exe"};
constexpr std::size_t kVersionIndex = hostFunctionIndex("tkGetVersionOfZemlarTK");

}  // namespace

HostFunctionTable& hostFunctionTable() {
    static HostFunctionTable table{};
    return table;
}

bool resolveHostFunctions() {
    LoadedModule module;
    for (const char* name : kHostModuleNames) {
        module = findLoadedModule(name);
        if (module) {
            break;
        }
    }
    if (!module) {
        return false;
    }

    HostFunctionTable& table = hostFunctionTable();
    table[kVersionIndex] = module.lookup(kHostFunctionNames[kVersionIndex].data());
    if (table[kVersionIndex] == nullptr) {
        return false;
    }
    for (std::size_t i = 0; i < kHostFunctionCount; ++i) {
        if (i != kVersionIndex) {
            table[i] = module.lookup(kHostFunctionNames[i].data());
        }
    }
    return true;
}

}  // namespace host
