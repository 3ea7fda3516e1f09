#include "batch/BatchRun.h"

#include "host/HostOperations.h"
#include "plugin/PluginInfo.h"

namespace batch {

bool runBatch() {
    host::showLogTab();
    host::logFormat("\n%s> Started...", kPluginName);
    int dimX = 0;
    int dimY = 0;
    int dimZ = 0;
    if (host::getCurrentVMR(dimX, dimY, dimZ) == nullptr) {
        host::messageBox(
            "This plugin requires that a VMR document is available and selected in Zemlar.");
        host::logText("No VMR present, action cancelled.");
        return false;
    }
    host::logText("Finished.\n");
    return true;
}

}  // namespace batch
