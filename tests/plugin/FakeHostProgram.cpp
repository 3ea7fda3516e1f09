// A host program outside the plug-in: the executable itself is "ZemlarTK.exe" and exports the
// host operations. It loads the plug-in given on its command line, binds it and runs it once.

#include <cstdio>
#include <cstring>
#include <exception>

#include "abi/ZMTKPluginInterface.h"
#include "tests/plugin/LoadedLibrary.h"

extern "C" const char* fakeHostTranscript();

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ZemlarTK.exe PLUGIN\n");
        return 2;
    }
    try {
        const LoadedLibrary module(argv[1]);
        auto* create = reinterpret_cast<ZMTKPluginInterface* (*)()>(module.symbol("createPlugin"));
        ZMTKPluginInterface* plugin = create != nullptr ? create() : nullptr;
        if (plugin == nullptr) {
            std::fprintf(stderr, "no plug-in object\n");
            return 2;
        }
        const bool initialised = plugin->initPlugin();
        const bool executed = plugin->execute();  // no volume document here: answers false
        const bool sawRun =
            std::strstr(fakeHostTranscript(), "No VMR present, action cancelled.") != nullptr;
        delete plugin;
        std::printf("initPlugin=%d execute=%d transcript-ok=%d\n", initialised, executed, sawRun);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
}
