// A host program built as the workstation is built: Microsoft's C++ ABI (Clang for
// x86_64-pc-windows-msvc, no exceptions, no run-time type information), no C++ library, linked
// against MinGW's import libraries alone, with the plug-in's shared header included as the
// workstation includes it. It loads sdmweaver.dll from its own folder, as the workstation loads a
// plug-in, and also imports the class pair's members from it through an import library made from
// the module, as a host using the shared class definition would.
//
//   Zemlar.exe --checks     the module as the workstation uses it (WorkstationChecks.cpp); the
//                           program is then the host module itself, under the workstation's name
//   <other name> ARGUMENTS  one run of the sdmweaver program (same arguments, same output): the
//                           host module beside it, ZemlarTK.exe, holds the documents, answers the
//                           dialogs and does every host operation; this program makes the plug-in
//                           calls (createPlugin, initPlugin, execute, delete) itself.

#include "abi/ZMTKPluginInterface.h"
#include "headless/program/ProgramStages.h"
#include "tests/workstation/WorkstationChecks.h"
#include "tests/workstation/WorkstationRuntime.h"

namespace {

using workstation::write;

constexpr int kUsageError = 2;

int runWithTheHostModule(const workstation::Arguments& arguments) {
    const char* hostPath = workstation::besideThisProgram("ZemlarTK.exe");
    void* host = hostPath != nullptr ? LoadLibraryA(hostPath) : nullptr;
    auto* prepare = reinterpret_cast<decltype(&sdmweaverPrepareRun)>(
        host != nullptr ? GetProcAddress(host, "sdmweaverPrepareRun") : nullptr);
    auto* finish = reinterpret_cast<decltype(&sdmweaverFinishRun)>(
        host != nullptr ? GetProcAddress(host, "sdmweaverFinishRun") : nullptr);
    if (prepare == nullptr || finish == nullptr) {
        write(true, "workstation: no host module ZemlarTK.exe with the program's stages beside ",
              "this program\n");
        return kUsageError;
    }

    static char pluginPath[1024];
    const int prepared = prepare(arguments.argc, arguments.argv, pluginPath, sizeof pluginPath);
    if (prepared != kSdmweaverReadyToRun) {
        return prepared;
    }
    void* module = LoadLibraryA(pluginPath);
    auto* create = reinterpret_cast<ZMTKPluginInterface* (*)()>(
        module != nullptr ? GetProcAddress(module, "createPlugin") : nullptr);
    if (create == nullptr) {
        write(true, "workstation: cannot load the plug-in ", pluginPath, "\n");
        return kUsageError;
    }

    ZMTKPluginInterface* plugin = create();
    int outcome = kSdmweaverNoObject;
    if (plugin != nullptr) {
        outcome = !plugin->initPlugin() ? kSdmweaverInitFailed
                  : !plugin->execute()  ? kSdmweaverRunFailed
                                        : kSdmweaverRunSucceeded;
    }
    delete plugin;
    return finish(outcome);
}

}  // namespace

// The entry point (no runtime start-up code runs before it).
extern "C" void workstationMain() {
    const workstation::Arguments arguments = workstation::commandLineArguments();
    const bool checks = arguments.argc == 2 && workstation::sameText(arguments.argv[1], "--checks");
    // Under the workstation's name the plug-in binds this program's operations; a run needs the
    // host module's.
    const bool namedAsTheWorkstation = GetModuleHandleA("Zemlar.exe") == GetModuleHandleA(nullptr);
    if (checks != namedAsTheWorkstation) {
        write(true, "workstation: --checks runs as Zemlar.exe, a run under any other name\n");
        ExitProcess(kUsageError);
    }
    ExitProcess(static_cast<unsigned int>(checks ? workstation::checkTheModule()
                                                 : runWithTheHostModule(arguments)));
}
