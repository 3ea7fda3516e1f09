#include "abi/PluginExports.h"

#include <new>

#include "plugin/PluginInfo.h"
#include "plugin/SdmWeaver.h"

extern "C" {

ZMTKPluginInterface* createPlugin() {
    return new (std::nothrow) SdmWeaver();
}

const char* getPluginName() {
    return kPluginName;
}

const char* getPluginVersion() {
    return kPluginVersion;
}

const char* getPluginDescription() {
    return kPluginDescription;
}

const char* getAuthor() {
    return kPluginAuthor;
}

const char* getHelpFile() {
    return "";
}

#if defined(_MSC_VER)
#pragma comment(linker, "/EXPORT:getGUIScript=getHelpFile")
#else
// The compiler knows getHelpFile cannot throw; the second name says so too.
const char* getGUIScript() __attribute__((alias("getHelpFile"), nothrow));
#endif
}
