#include "plugin/SdmWeaver.h"

#include "batch/BatchRun.h"
#include "host/HostFunctionTable.h"
#include "host/HostOperations.h"
#include "plugin/PluginInfo.h"
#include "plugin/VersionGate.h"

SdmWeaver::SdmWeaver() = default;

SdmWeaver::~SdmWeaver() = default;

bool SdmWeaver::initPlugin() {
    if (!host::resolveHostFunctions()) {
        return false;
    }
    int major = 0;
    int minor = 0;
    int third = 0;
    host::getVersionOfZemlarTK(major, minor, third);
    if (isVersionAtLeast(major, minor, third, kMinimumHostMajor, kMinimumHostMinor,
                         kMinimumHostThird)) {
        return true;
    }
    // The workstation's own text, kept word for word although the gate is the triple 2.9.9.
    host::messageBox("Can not execute this plugin - Zemlar version 20 or higher required.");
    return false;
}

bool SdmWeaver::execute() {
    return batch::runBatch(kPluginName);
}

#if defined(_WIN32) && !defined(_MSC_VER)
// This object holds SdmWeaver's virtual table (its destructor is the first non-inline virtual
// member). WorkstationExports.def exports it from its first slot on, as Microsoft's compiler
// names the table; GCC's table starts with two entries of its own before that slot.
__asm__(
    ".globl workstationSdmWeaverTable\n"
    ".set workstationSdmWeaverTable, _ZTV9SdmWeaver+16\n");
#endif
