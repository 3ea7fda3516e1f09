#include "tests/batchrun/ScriptedHost.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "abi/HostApi.h"
#include "tests/support/DesignFiles.h"
#include "text/FormattedText.h"

namespace batchrun {

struct HostState {
    HostScript script;
    std::vector<std::string> log;
    std::vector<std::string> calls;
    std::vector<host::VtcHeaderRecord> headersSet;
    std::optional<std::string> linkedTimeCourse;
    const ScriptedProtocol* protocol = nullptr;
    std::vector<SavedPredictor> predictors;
    std::vector<std::string> savedPaths;
    std::size_t yesNoAsked = 0;
};

namespace {

HostState* active = nullptr;

HostState& state() {
    if (active == nullptr) {
        throw std::logic_error("a host operation was called with no scripted host installed");
    }
    return *active;
}

void record(const std::string& call) {
    state().calls.push_back(call);
}

std::string text(const char* value) {
    return value == nullptr ? "(null)" : value;
}

// Copies value into a fixed field, cut to what it holds, NUL-terminated.
template <std::size_t Width>
void copyField(char (&field)[Width], const std::string& value) {
    const std::size_t length = std::min(value.size(), Width - 1);
    std::memcpy(field, value.data(), length);
    field[length] = '\0';
}

SavedPredictor* predictorNamed(const char* name) {
    auto& predictors = state().predictors;
    const auto found = std::find_if(predictors.begin(), predictors.end(),
                                    [&](const SavedPredictor& p) { return p.name == name; });
    return found == predictors.end() ? nullptr : &*found;
}

// The design-matrix layout the host saves: header, colours, quoted names, one row per volume.
bool writeDesignMatrix(const std::string& path, const std::vector<SavedPredictor>& predictors,
                       std::int32_t nrOfVolumes) {
    testsupport::DesignColumns design;
    for (const auto& p : predictors) {
        design.names.push_back(p.name);
        design.colours.push_back({(p.color >> 16) & 0xFF, (p.color >> 8) & 0xFF, p.color & 0xFF});
        design.values.emplace_back(
            p.values.begin(),
            p.values.begin() + std::min<std::ptrdiff_t>(nrOfVolumes, std::ssize(p.values)));
    }
    const bool constant = !predictors.empty() && predictors.back().name == "Constant";
    const auto count = static_cast<int>(predictors.size());
    std::ofstream out(path);
    out << testsupport::sdmText(design, constant ? 1 : 0, constant ? count : count + 1);
    return static_cast<bool>(out);
}

extern "C" {

int scriptedShowLogTab() {
    record("tkShowLogTab");
    return 1;
}

int scriptedLogText(const char* value) {
    record("tkLogText");
    state().log.push_back(text(value));
    return 1;
}

int scriptedMessageBox(const char* value) {
    record("tkMessageBox(" + text(value) + ")");
    return 1;
}

int scriptedYesNoMessageBox(const char* question) {
    record("tkYesNoMessageBox(" + text(question) + ")");
    auto& s = state();
    const std::size_t asked = s.yesNoAsked++;
    return asked < s.script.yesNoAnswers.size() ? s.script.yesNoAnswers[asked] : 0;
}

float scriptedGetFloatInput(const char* prompt, float initial, float minimum, float maximum) {
    record(text::formatText("tkGetFloatInput(%s, %g, %g, %g)", text(prompt).c_str(),
                            static_cast<double>(initial), static_cast<double>(minimum),
                            static_cast<double>(maximum)));
    return state().script.predictorAnswer;
}

int scriptedGetOpenFileName(const char* title, const char* directory, const char* filter,
                            char* result) {
    record("tkGetOpenFileName(" + text(title) + ", \"" + text(directory) + "\", " + text(filter) +
           ")");
    const auto& answer = state().script.listPath;
    if (!answer) {
        return 0;
    }
    std::strncpy(result, answer->c_str(), 511);
    result[511] = '\0';
    return 1;
}

unsigned char* scriptedGetCurrentVMR(int* dimX, int* dimY, int* dimZ) {
    record("tkGetCurrentVMR");
    static unsigned char voxels[8] = {};
    if (!state().script.hasVolume) {
        return nullptr;
    }
    *dimX = *dimY = *dimZ = 2;
    return voxels;
}

int scriptedLinkVTCToCurrentVMR(const char* vtcPath, int flag) {
    record("tkLinkVTCToCurrentVMR(" + text(vtcPath) + ", " + std::to_string(flag) + ")");
    auto& s = state();
    if (s.script.refusedLinks.count(text(vtcPath)) != 0) {
        return 0;
    }
    s.linkedTimeCourse = text(vtcPath);
    return 1;
}

int scriptedGetHeaderOfVTCOfCurrentVMR(host::VtcHeaderRecord* header) {
    record("tkGetHeaderOfVTCOfCurrentVMR");
    auto& s = state();
    if (!s.linkedTimeCourse || s.script.missingHeaders.count(*s.linkedTimeCourse) != 0) {
        return 0;
    }
    *header = ScriptedHost::headerTemplate();
    header->nrOfVolumes = s.script.nrOfVolumes;
    return 1;
}

int scriptedSetHeaderOfVTCOfCurrentVMR(host::VtcHeaderRecord* header) {
    auto& s = state();
    const char* field = header->linkedProtocolName;
    const std::string name(field,
                           std::find(field, field + sizeof header->linkedProtocolName, '\0'));
    record("tkSetHeaderOfVTCOfCurrentVMR(" + name + ")");
    s.headersSet.push_back(*header);
    // The host loads the protocol named in the header, when it knows one of that name.
    const auto found = s.script.protocols.find(name);
    s.protocol = found == s.script.protocols.end() ? nullptr : &found->second;
    return 1;
}

int scriptedClearProtocol(bool flag) {
    record(std::string("tkClearProtocol(") + (flag ? "true" : "false") + ")");
    state().protocol = nullptr;
    return 1;
}

int scriptedClearDesignMatrix() {
    record("tkClearDesignMatrix");
    state().predictors.clear();
    return 1;
}

int scriptedGetProtocol(host::ProtocolRecord* record_) {
    record("tkGetProtocol");
    const ScriptedProtocol* p = state().protocol;
    if (p == nullptr) {
        return 0;
    }
    record_->nrOfConditions = static_cast<std::int32_t>(p->conditions.size());
    copyField(record_->fileName, p->fileName);
    copyField(record_->experimentName, p->experimentName);
    record_->timeResolution = p->timeResolution;
    record_->backgroundColor = p->backgroundColor;
    record_->textColor = p->textColor;
    record_->timeCourseColor = p->timeCourseColor;
    record_->timeCoursePenThickness = p->timeCoursePenThickness;
    record_->referenceTimeCourseColor = p->referenceTimeCourseColor;
    record_->referenceTimeCoursePenThickness = p->referenceTimeCoursePenThickness;
    return 1;
}

int scriptedGetProtocolCondition(int index, host::ProtocolConditionRecord* condition) {
    record("tkGetProtocolCondition(" + std::to_string(index) + ")");
    const ScriptedProtocol* p = state().protocol;
    if (p == nullptr || index < 0 || static_cast<std::size_t>(index) >= p->conditions.size()) {
        return 0;
    }
    const ScriptedCondition& c = p->conditions[static_cast<std::size_t>(index)];
    if (!c.delivered) {
        return 0;
    }
    copyField(condition->name, c.name);
    condition->nrOfIntervals = static_cast<std::int32_t>(c.starts.size());
    // The interval arrays stay the host's: they point into the script.
    condition->intervalStarts = const_cast<std::int32_t*>(c.starts.data());
    condition->intervalEnds = const_cast<std::int32_t*>(c.ends.data());
    condition->color = c.color;
    return 1;
}

int scriptedAddPredictor(const char* name) {
    record("tkAddPredictor(" + text(name) + ")");
    auto& s = state();
    SavedPredictor predictor{text(name), text(name) == "Constant" ? 0xFFFFFF : 0x808080,
                             std::vector<float>(static_cast<std::size_t>(s.script.nrOfVolumes))};
    s.predictors.push_back(std::move(predictor));
    return 1;
}

int scriptedSetPredictorValuesFromConditionName(const char* predictorName,
                                                const char* conditionName, float value) {
    record(text::formatText("tkSetPredictorValuesFromConditionName(%s, %s, %f)",
                            text(predictorName).c_str(), text(conditionName).c_str(),
                            static_cast<double>(value)));
    auto& s = state();
    SavedPredictor* predictor = predictorNamed(predictorName);
    if (predictor == nullptr || s.protocol == nullptr) {
        return 0;
    }
    for (const auto& c : s.protocol->conditions) {
        if (c.name != text(conditionName)) {
            continue;
        }
        predictor->color = c.color;
        // Volumes from 1, inclusive; enough for a scripted host.
        for (std::size_t k = 0; k < c.starts.size(); ++k) {
            for (std::int32_t v = c.starts[k]; v <= c.ends[k]; ++v) {
                if (v >= 1 && v <= s.script.nrOfVolumes) {
                    predictor->values[static_cast<std::size_t>(v - 1)] = value;
                }
            }
        }
    }
    return 1;
}

int scriptedApplyTwoGamma(const char* name) {
    record("tkApplyTwoGammaHRFToPredictorWithName(" + text(name) + ")");
    return 1;
}

int scriptedApplyBoynton(const char* name) {
    record("tkApplyBoyntonHRFToPredictorWithName(" + text(name) + ")");
    return 1;
}

float* scriptedGetPredictor(int index) {
    record("tkGetPredictor(" + std::to_string(index) + ")");
    auto& s = state();
    if (!s.script.deliverPredictors || index < 0 ||
        static_cast<std::size_t>(index) >= s.predictors.size()) {
        return nullptr;
    }
    return s.predictors[static_cast<std::size_t>(index)].values.data();
}

int scriptedSaveSingleStudyGLMDesignMatrix(const char* path) {
    record("tkSaveSingleStudyGLMDesignMatrix(" + text(path) + ")");
    auto& s = state();
    if (s.script.refusedSaves.count(text(path)) != 0 || s.predictors.empty() ||
        !writeDesignMatrix(text(path), s.predictors, s.script.nrOfVolumes)) {
        return 0;
    }
    s.savedPaths.push_back(text(path));
    return 1;
}

}  // extern "C"

template <typename Signature>
void install(host::HostFunctionTable& table, std::string_view name, Signature* function) {
    table[host::findHostFunction(name)] = reinterpret_cast<host::HostFunctionAddress>(function);
}

}  // namespace

ScriptedHost::ScriptedHost(HostScript script) : state_(std::make_unique<HostState>()) {
    if (active != nullptr) {
        throw std::logic_error("only one scripted host at a time");
    }
    state_->script = std::move(script);
    active = state_.get();
    auto& table = host::hostFunctionTable();
    previous_ = table;
    namespace api = host::api;
    install<api::TkShowLogTab>(table, "tkShowLogTab", scriptedShowLogTab);
    install<api::TkLogText>(table, "tkLogText", scriptedLogText);
    install<api::TkMessageBox>(table, "tkMessageBox", scriptedMessageBox);
    install<api::TkYesNoMessageBox>(table, "tkYesNoMessageBox", scriptedYesNoMessageBox);
    install<api::TkGetFloatInput>(table, "tkGetFloatInput", scriptedGetFloatInput);
    install<api::TkGetOpenFileName>(table, "tkGetOpenFileName", scriptedGetOpenFileName);
    install<api::TkGetCurrentVMR>(table, "tkGetCurrentVMR", scriptedGetCurrentVMR);
    install<api::TkLinkVTCToCurrentVMR>(table, "tkLinkVTCToCurrentVMR",
                                        scriptedLinkVTCToCurrentVMR);
    install<api::TkGetHeaderOfVTCOfCurrentVMR>(table, "tkGetHeaderOfVTCOfCurrentVMR",
                                               scriptedGetHeaderOfVTCOfCurrentVMR);
    install<api::TkSetHeaderOfVTCOfCurrentVMR>(table, "tkSetHeaderOfVTCOfCurrentVMR",
                                               scriptedSetHeaderOfVTCOfCurrentVMR);
    install<api::TkClearProtocol>(table, "tkClearProtocol", scriptedClearProtocol);
    install<api::TkClearDesignMatrix>(table, "tkClearDesignMatrix", scriptedClearDesignMatrix);
    install<api::TkGetProtocol>(table, "tkGetProtocol", scriptedGetProtocol);
    install<api::TkGetProtocolCondition>(table, "tkGetProtocolCondition",
                                         scriptedGetProtocolCondition);
    install<api::TkAddPredictor>(table, "tkAddPredictor", scriptedAddPredictor);
    install<api::TkSetPredictorValuesFromConditionName>(
        table, "tkSetPredictorValuesFromConditionName",
        scriptedSetPredictorValuesFromConditionName);
    install<api::TkApplyTwoGammaHRFToPredictorWithName>(
        table, "tkApplyTwoGammaHRFToPredictorWithName", scriptedApplyTwoGamma);
    install<api::TkApplyBoyntonHRFToPredictorWithName>(
        table, "tkApplyBoyntonHRFToPredictorWithName", scriptedApplyBoynton);
    install<api::TkGetPredictor>(table, "tkGetPredictor", scriptedGetPredictor);
    install<api::TkSaveSingleStudyGLMDesignMatrix>(table, "tkSaveSingleStudyGLMDesignMatrix",
                                                   scriptedSaveSingleStudyGLMDesignMatrix);
}

ScriptedHost::~ScriptedHost() {
    host::hostFunctionTable() = previous_;
    active = nullptr;
}

const std::vector<std::string>& ScriptedHost::log() const {
    return state_->log;
}

std::string ScriptedHost::transcript() const {
    std::string all;
    for (const auto& entry : state_->log) {
        all += entry;
        all += '\n';
    }
    return all;
}

const std::vector<std::string>& ScriptedHost::calls() const {
    return state_->calls;
}

std::vector<std::string> ScriptedHost::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const auto& call : state_->calls) {
        if (call.starts_with(prefix)) {
            matching.push_back(call);
        }
    }
    return matching;
}

const std::vector<host::VtcHeaderRecord>& ScriptedHost::headersSet() const {
    return state_->headersSet;
}

const std::vector<SavedPredictor>& ScriptedHost::designMatrix() const {
    return state_->predictors;
}

const std::vector<std::string>& ScriptedHost::savedPaths() const {
    return state_->savedPaths;
}

void ScriptedHost::loadProtocol(const std::string& name) {
    state_->protocol = &state_->script.protocols.at(name);
}

host::VtcHeaderRecord ScriptedHost::headerTemplate() {
    host::VtcHeaderRecord header{};
    auto* bytes = reinterpret_cast<unsigned char*>(&header);
    for (std::size_t i = 0; i < sizeof header; ++i) {
        bytes[i] = static_cast<unsigned char>(0xA0 + i % 7);
    }
    header.nrOfVolumes = 0;
    copyField(header.linkedProtocolName, "previous.prt");
    return header;
}

std::string RecordingDispatch::addConfounds(const std::string& sdmPath, const char* motionPath,
                                            const char* heartRatePath, const char* respirationPath,
                                            bool zTransform, bool hasMotion, bool hasHeartRate,
                                            bool hasRespiration,
                                            const paths::FileSet* /*listFiles*/) const {
    // A path whose flag is clear must not be read: it is not recorded.
    const auto flagged = [](bool has, const char* path) { return has ? text(path) : "-"; };
    calls_.push_back(text::formatText(
        "addConfounds(%s, %s, %s, %s, z=%d)", sdmPath.c_str(),
        flagged(hasMotion, motionPath).c_str(), flagged(hasHeartRate, heartRatePath).c_str(),
        flagged(hasRespiration, respirationPath).c_str(), zTransform ? 1 : 0));
    return {};
}

std::string RecordingDispatch::addAllConfounds(const std::string& sdmPath, const char* motionPath,
                                               const char* heartRatePath,
                                               const char* respirationPath, bool zTransform,
                                               const paths::FileSet* /*listFiles*/) const {
    calls_.push_back(text::formatText("addAllConfounds(%s, %s, %s, %s, z=%d)", sdmPath.c_str(),
                                      text(motionPath).c_str(), text(heartRatePath).c_str(),
                                      text(respirationPath).c_str(), zTransform ? 1 : 0));
    return {};
}

}  // namespace batchrun
