// SdmWeaver's members as the plug-in defines them, without their bodies' dependencies: the real
// definitions need the standard library, which the Microsoft target lacks here. What the compiler
// decorates and lays out (names, virtual table, exports) depends on the class alone.

#include "plugin/SdmWeaver.h"

SdmWeaver::SdmWeaver() = default;

SdmWeaver::~SdmWeaver() = default;

bool SdmWeaver::execute() {
    return false;
}

bool SdmWeaver::initPlugin() {
    return false;
}
