#pragma once

// The host's abstract plug-in interface. The host creates the plug-in through createPlugin and
// then uses it only through these virtual operations; it deletes it through the destructor.
// Includes no standard header, so that the class pair compiles alone for any target.

#include "abi/PluginExportMacros.h"

class SDMWEAVER_API ZMTKPluginInterface {
  public:
    ZMTKPluginInterface();
    ZMTKPluginInterface(const ZMTKPluginInterface& other);
    ZMTKPluginInterface& operator=(const ZMTKPluginInterface& other);

    // Slot 1: destroys and frees the whole plug-in object.
    virtual ~ZMTKPluginInterface();
    // Slot 2: runs the plug-in once.
    virtual bool execute() = 0;
    // Slot 3: binds the plug-in to the host; false when it cannot run there.
    virtual bool initPlugin() = 0;
};
