#include "abi/ZMTKPluginInterface.h"

// The interface holds nothing but its dispatch; its members are defined here so that the
// module exports them (and the virtual table) for the host.

ZMTKPluginInterface::ZMTKPluginInterface() = default;

ZMTKPluginInterface::ZMTKPluginInterface(const ZMTKPluginInterface&) = default;

ZMTKPluginInterface& ZMTKPluginInterface::operator=(const ZMTKPluginInterface&) = default;

ZMTKPluginInterface::~ZMTKPluginInterface() = default;
