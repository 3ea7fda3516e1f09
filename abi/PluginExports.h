#pragma once

// The seven functions the host looks up by their plain names. Every text is static, owned by the
// module and valid while it is loaded; the host never frees it.

#include "abi/PluginExportMacros.h"

class ZMTKPluginInterface;

extern "C" {
// A new plug-in object, owned by the host, which deletes it through the virtual destructor;
// null when memory is exhausted.
SDMWEAVER_API ZMTKPluginInterface* createPlugin();
SDMWEAVER_API const char* getPluginName();
SDMWEAVER_API const char* getPluginVersion();
SDMWEAVER_API const char* getPluginDescription();
SDMWEAVER_API const char* getAuthor();
// The empty text. getGUIScript is the same function under a second name.
SDMWEAVER_API const char* getHelpFile();
SDMWEAVER_API const char* getGUIScript();
}
