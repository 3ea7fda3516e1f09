// The class pair as the workstation's compiler (Microsoft's) gives it, for the GCC build on
// Windows (MinGW); WorkstationExports.def exports it. GCC gives a virtual destructor two slots,
// so ZMTKPluginInterface.h declares Microsoft's one slot by hand for GCC: its body is here. So are
// the constructors under Microsoft's convention (they answer the object, GCC's answer nothing),
// and the name of the interface's virtual table from its first slot on.

#include <new>

#include "plugin/SdmWeaver.h"

// Microsoft's scalar deleting destructor. The destructor call is virtual: whatever the object's
// class, the whole object is destroyed. `delete` comes here too (ZMTKPluginInterface.h), so the
// memory goes back to the global operator delete directly.
void* ZMTKPluginInterface::scalarDeletingDestructor(unsigned int flags) {
    this->~ZMTKPluginInterface();
    if ((flags & 1u) != 0) {
        ::operator delete(this);
    }
    return this;
}

// This object holds the interface's virtual table (the slot above is its first non-inline
// virtual member); GCC's table starts with two entries of its own before the first slot.
__asm__(
    ".globl workstationInterfaceTable\n"
    ".set workstationInterfaceTable, _ZTV19ZMTKPluginInterface+16\n");

// GCC's constructors of the interface, under their own names: the class is abstract, so no
// new-expression can build one on the caller's storage, but its constructors can.
extern "C" void gccInterfaceConstructor(ZMTKPluginInterface* self) __asm__(
    "_ZN19ZMTKPluginInterfaceC2Ev");
extern "C" void gccInterfaceCopyConstructor(
    ZMTKPluginInterface* self,
    const ZMTKPluginInterface* other) __asm__("_ZN19ZMTKPluginInterfaceC2ERKS_");

extern "C" {

// Constructors as Microsoft's compiler calls them: on the caller's storage, answering it.

void* workstationInterfaceConstructor(ZMTKPluginInterface* self) {
    gccInterfaceConstructor(self);
    return self;
}

void* workstationInterfaceCopyConstructor(ZMTKPluginInterface* self,
                                          const ZMTKPluginInterface* other) {
    gccInterfaceCopyConstructor(self, other);
    return self;
}

void* workstationSdmWeaverConstructor(void* self) {
    return new (self) SdmWeaver();
}

void* workstationSdmWeaverCopyConstructor(void* self, const SdmWeaver* other) {
    return new (self) SdmWeaver(*other);
}

// SdmWeaver's copy assignment is implicit, so GCC emits none to export: this is it.
SdmWeaver* workstationSdmWeaverCopyAssignment(SdmWeaver* self, const SdmWeaver* other) {
    *self = *other;
    return self;
}
}
