#pragma once

// The host's abstract plug-in interface. The host creates the plug-in through createPlugin and
// then uses it only through these virtual operations; it deletes it through the destructor.
// Includes no standard header (GCC on Windows aside), so that the class pair compiles alone for
// any target.

#include "abi/PluginExportMacros.h"

#if defined(_WIN32) && !defined(_MSC_VER)
#include <new>
#endif

class SDMWEAVER_API ZMTKPluginInterface {
  public:
    ZMTKPluginInterface();
    ZMTKPluginInterface(const ZMTKPluginInterface& other);
    ZMTKPluginInterface& operator=(const ZMTKPluginInterface& other);

#if defined(_WIN32) && !defined(_MSC_VER)
    // GCC gives a virtual destructor two slots, where the workstation's compiler gives it one, so
    // for GCC on Windows that one slot is declared by hand and the destructor comes last.
    // Slot 1: destroys the whole object, frees it when bit 0 of flags is set; returns the object.
    virtual void* scalarDeletingDestructor(unsigned int flags);
    // Slot 2: runs the plug-in once.
    virtual bool execute() = 0;
    // Slot 3: binds the plug-in to the host; false when it cannot run there.
    virtual bool initPlugin() = 0;
    // Slots 4 and 5, GCC's own destructors.
    virtual ~ZMTKPluginInterface();
    // `delete` goes through slot 1 with bit 0 set, as the workstation's `delete` does.
    static void operator delete(ZMTKPluginInterface* object, std::destroying_delete_t) {
        object->scalarDeletingDestructor(1u);
    }
#else
    // Slot 1: destroys and frees the whole plug-in object.
    virtual ~ZMTKPluginInterface();
    // Slot 2: runs the plug-in once.
    virtual bool execute() = 0;
    // Slot 3: binds the plug-in to the host; false when it cannot run there.
    virtual bool initPlugin() = 0;
#endif
};
