#include "tests/workstation/WorkstationChecks.h"

#include "plugin/PluginInfo.h"
#include "plugin/SdmWeaver.h"
#include "tests/workstation/WorkstationRuntime.h"

// The host operations a run may call, exported by this program as the workstation exports them.
// There is no volume document, so a run stops after its first steps; the operations after those
// are bound but must not be called.
namespace {

int gVersion[3] = {3, 0, 0};
char gFirstLog[1024];
char gLastLog[1024];
int gLogCount = 0;
char gLastMessage[1024];
int gMessageCount = 0;
int gUnexpectedCalls = 0;

void forgetCalls() {
    gLogCount = gMessageCount = gUnexpectedCalls = 0;
    gFirstLog[0] = gLastLog[0] = gLastMessage[0] = '\0';
}

}  // namespace

extern "C" {

__declspec(dllexport) int tkGetVersionOfZemlarTK(int* major, int* minor, int* third) {
    *major = gVersion[0];
    *minor = gVersion[1];
    *third = gVersion[2];
    return 1;
}

__declspec(dllexport) int tkShowLogTab() {
    return 1;
}

__declspec(dllexport) int tkLogText(const char* text) {
    workstation::copyText(gLogCount == 0 ? gFirstLog : gLastLog, sizeof gLastLog, text);
    ++gLogCount;
    return 1;
}

__declspec(dllexport) int tkMessageBox(const char* text) {
    workstation::copyText(gLastMessage, sizeof gLastMessage, text);
    ++gMessageCount;
    return 1;
}

__declspec(dllexport) unsigned char* tkGetCurrentVMR(int*, int*, int*) {
    return nullptr;
}

int hostOperationNotExpected() {
    ++gUnexpectedCalls;
    return 0;
}
}

#pragma comment(linker, "/EXPORT:tkYesNoMessageBox=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkGetFloatInput=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkGetOpenFileName=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkLinkVTCToCurrentVMR=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkGetHeaderOfVTCOfCurrentVMR=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkSetHeaderOfVTCOfCurrentVMR=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkClearProtocol=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkGetProtocol=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkGetProtocolCondition=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkClearDesignMatrix=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkAddPredictor=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkSetPredictorValuesFromConditionName=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkApplyTwoGammaHRFToPredictorWithName=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkApplyBoyntonHRFToPredictorWithName=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkGetPredictor=hostOperationNotExpected")
#pragma comment(linker, "/EXPORT:tkSaveSingleStudyGLMDesignMatrix=hostOperationNotExpected")

namespace workstation {

namespace {

constexpr char kTooOld[] = "Can not execute this plugin - Zemlar version 20 or higher required.";
constexpr char kFirstLogLine[] = "\nsdmweaver (v0.8.4.2)> Started...";
constexpr char kNoVolume[] =
    "This plugin requires that a VMR document is available and selected in Zemlar.";
constexpr char kLastLogLine[] = "No VMR present, action cancelled.";

int gFailures = 0;

void expect(bool ok, const char* what) {
    write(false, ok ? "ok: " : "FAILED: ", what, "\n");
    gFailures += ok ? 0 : 1;
}

// The module and its exports by name, as the workstation finds them.
struct Module {
    void* handle = nullptr;
    void* find(const char* name) const { return GetProcAddress(handle, name); }
    template <typename Function>
    Function function(const char* name) const {
        return reinterpret_cast<Function>(find(name));
    }
    const char* text(const char* name) const {
        auto* answer = function<const char* (*)()>(name);
        const char* value = answer != nullptr ? answer() : nullptr;
        return value != nullptr ? value : "(none)";
    }
    ZMTKPluginInterface* create() const {
        auto* createPlugin = function<ZMTKPluginInterface* (*)()>("createPlugin");
        return createPlugin != nullptr ? createPlugin() : nullptr;
    }
};

void* tableOf(const void* object) {
    return *static_cast<void* const*>(object);
}

// Hides where an object came from, so that the compiler calls its members through its table.
ZMTKPluginInterface* throughTheTable(ZMTKPluginInterface* object) {
    static ZMTKPluginInterface* volatile held;
    held = object;
    return held;
}

void checkTexts(const Module& module) {
    expect(sameText(module.text("getPluginName"), "sdmweaver (v0.8.4.2)"),
           "getPluginName answers \"sdmweaver (v0.8.4.2)\"");
    expect(sameText(module.text("getPluginVersion"), "0.8.4"),
           "getPluginVersion answers \"0.8.4\"");
    // The description and the author's line, byte for byte as the plug-in's sources hold them.
    expect(sameText(module.text("getPluginDescription"), kPluginDescription) &&
               !holdsLineBreak(kPluginDescription),
           "getPluginDescription answers the description, on one line");
    expect(sameText(module.text("getAuthor"), kPluginAuthor) && startsWith(kPluginAuthor, "<i>") &&
               endsWith(kPluginAuthor, ", 2008-2016</i>"),
           "getAuthor answers \"<i>..., 2008-2016</i>\"");
    expect(sameText(module.text("getHelpFile"), "") && sameText(module.text("getGUIScript"), "") &&
               module.find("getHelpFile") == module.find("getGUIScript"),
           "getHelpFile and getGUIScript are one function answering the empty text");
}

void checkVersionGate(const Module& module) {
    struct Case {
        int major, minor, third;
        bool passes;
        const char* what;
    };
    const Case cases[] = {
        {2, 9, 8, false, "on a 2.9.8 host initPlugin shows the message and answers false"},
        {2, 9, 9, true, "on a 2.9.9 host initPlugin answers true"},
        {3, 0, 0, true, "on a 3.0.0 host initPlugin answers true"},
    };
    for (const Case& gate : cases) {
        gVersion[0] = gate.major;
        gVersion[1] = gate.minor;
        gVersion[2] = gate.third;
        forgetCalls();
        ZMTKPluginInterface* plugin = module.create();
        const bool passed = plugin != nullptr && plugin->initPlugin();
        const bool messageRight = gate.passes
                                      ? gMessageCount == 0
                                      : gMessageCount == 1 && sameText(gLastMessage, kTooOld);
        expect(plugin != nullptr && passed == gate.passes && messageRight, gate.what);
        delete plugin;
    }
    gVersion[0] = 3;
    gVersion[1] = gVersion[2] = 0;
}

// A run without a volume document: its first log line, the message, the last log line, false.
void checkRunStopsAtTheVolumeDocument(ZMTKPluginInterface* plugin, const char* what) {
    forgetCalls();
    const bool ran = plugin->execute();
    expect(!ran && gLogCount == 2 && sameText(gFirstLog, kFirstLogLine) &&
               sameText(gLastMessage, kNoVolume) && sameText(gLastLog, kLastLogLine) &&
               gUnexpectedCalls == 0,
           what);
}

void checkTheObject(const Module& module) {
    ZMTKPluginInterface* plugin = module.create();
    ZMTKPluginInterface* other = module.create();
    expect(plugin != nullptr && other != nullptr && plugin != other,
           "createPlugin answers a new object each time");
    if (plugin == nullptr || other == nullptr) {
        return;
    }
    expect(tableOf(plugin) == module.find("??_7SdmWeaver@@6B@"),
           "the object's virtual table is the one exported as ??_7SdmWeaver@@6B@");
    expect(plugin->initPlugin(), "initPlugin binds this program's operations");
    checkRunStopsAtTheVolumeDocument(
        plugin, "execute runs: its first log line, then no volume document, and false");
    delete plugin;
    expect(true, "delete through the virtual destructor returns");
    // What `delete` calls, called by hand: slot 1 with bit 0 set frees and answers the object.
    auto* deleting = reinterpret_cast<void* (*)(ZMTKPluginInterface*, unsigned int)>(
        static_cast<void**>(tableOf(other))[0]);
    expect(deleting(other, 1) == other,
           "slot 1 with flags 1 destroys, frees and answers the object");
}

// A class of the host's own on the shared interface: its constructors, assignment and
// destructor call the module's, imported through the import library.
struct HostPlugin : ZMTKPluginInterface {
    bool execute() override { return true; }
    bool initPlugin() override { return marker == 7; }
    int marker = 7;
};

void checkTheMembers(const Module& module) {
    // An SdmWeaver built through the imported constructor, run, and deleted.
    ZMTKPluginInterface* weaver = throughTheTable(new SdmWeaver());
    expect(weaver != nullptr && tableOf(weaver) == module.find("??_7SdmWeaver@@6B@"),
           "new SdmWeaver builds the object through the exported constructor");
    if (weaver != nullptr) {
        expect(weaver->initPlugin(), "its initPlugin binds this program's operations");
        checkRunStopsAtTheVolumeDocument(weaver, "its execute runs up to the volume document");
        delete weaver;
    }
    HostPlugin first;
    HostPlugin second(first);
    second = first;
    expect(throughTheTable(&second)->initPlugin() && throughTheTable(&second)->execute(),
           "a host class built on the interface constructs, copies, assigns and runs");

    // Each member by its decorated name, called as Microsoft's compiler calls it.
    using Construct = void* (*)(void*);
    using Copy = void* (*)(void*, const void*);
    using Destroy = void (*)(void*);
    using Run = bool (*)(void*);
    void* storage[2] = {};
    void* copy[2] = {};
    const void* interfaceTable = module.find("??_7ZMTKPluginInterface@@6B@");
    auto* construct = module.function<Construct>("??0ZMTKPluginInterface@@QEAA@XZ");
    auto* copyConstruct = module.function<Copy>("??0ZMTKPluginInterface@@QEAA@AEBV0@@Z");
    auto* assign = module.function<Copy>("??4ZMTKPluginInterface@@QEAAAEAV0@AEBV0@@Z");
    auto* destroy = module.function<Destroy>("??1ZMTKPluginInterface@@UEAA@XZ");
    expect(interfaceTable != nullptr && static_cast<void* const*>(interfaceTable)[0] != nullptr &&
               construct != nullptr && construct(storage) == storage &&
               tableOf(storage) == interfaceTable && copyConstruct != nullptr &&
               copyConstruct(copy, storage) == copy && tableOf(copy) == interfaceTable &&
               assign != nullptr && assign(copy, storage) == copy && destroy != nullptr,
           "ZMTKPluginInterface's constructors set its exported table and answer the object, "
           "its assignment answers the object");
    if (destroy != nullptr) {
        destroy(copy);
        destroy(storage);
    }

    const void* weaverTable = module.find("??_7SdmWeaver@@6B@");
    construct = module.function<Construct>("??0SdmWeaver@@QEAA@XZ");
    copyConstruct = module.function<Copy>("??0SdmWeaver@@QEAA@AEBV0@@Z");
    assign = module.function<Copy>("??4SdmWeaver@@QEAAAEAV0@AEBV0@@Z");
    destroy = module.function<Destroy>("??1SdmWeaver@@UEAA@XZ");
    auto* initPlugin = module.function<Run>("?initPlugin@SdmWeaver@@UEAA_NXZ");
    auto* execute = module.function<Run>("?execute@SdmWeaver@@UEAA_NXZ");
    const bool built = weaverTable != nullptr && construct != nullptr &&
                       construct(storage) == storage && tableOf(storage) == weaverTable;
    expect(built && copyConstruct != nullptr && copyConstruct(copy, storage) == copy &&
               tableOf(copy) == weaverTable && assign != nullptr && assign(copy, storage) == copy &&
               destroy != nullptr,
           "SdmWeaver's constructors set its exported table and answer the object, its "
           "assignment answers the object");
    if (!built || initPlugin == nullptr || execute == nullptr || destroy == nullptr) {
        expect(false, "SdmWeaver's initPlugin, execute and destructor are exported");
        return;
    }
    forgetCalls();
    expect(initPlugin(storage) && !execute(storage) && sameText(gFirstLog, kFirstLogLine),
           "?initPlugin@SdmWeaver@@UEAA_NXZ and ?execute@SdmWeaver@@UEAA_NXZ run on the object");
    // Slot 1 with bit 0 clear destroys the object in place and keeps its storage.
    auto* deleting =
        reinterpret_cast<void* (*)(void*, unsigned int)>(static_cast<void* const*>(weaverTable)[0]);
    expect(deleting(storage, 0) == storage, "slot 1 with flags 0 destroys and answers the object");
    destroy(copy);
}

}  // namespace

int checkTheModule() {
    const char* path = besideThisProgram("sdmweaver.dll");
    Module module;
    module.handle = path != nullptr ? LoadLibraryA(path) : nullptr;
    if (module.handle == nullptr) {
        write(false, "FAILED: cannot load ", path != nullptr ? path : "sdmweaver.dll", "\n");
        return 1;
    }
    checkTexts(module);
    checkVersionGate(module);
    checkTheObject(module);
    checkTheMembers(module);
    write(false, gFailures == 0 ? "every check passed\n" : "some checks FAILED\n");
    return gFailures == 0 ? 0 : 1;
}

}  // namespace workstation
