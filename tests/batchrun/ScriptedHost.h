#pragma once

// A host inside the test process: its operations are installed into the host function table,
// answer the dialogs from a script, hold a time course, protocols and a design matrix under
// construction, save design matrices as text files and record every call in order.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "abi/HostRecords.h"
#include "batch/ConfoundCollection.h"
#include "host/HostFunctionTable.h"

namespace batchrun {

struct ScriptedCondition {
    std::string name;
    std::vector<std::int32_t> starts;  // one per interval, from 1, in volumes or msec
    std::vector<std::int32_t> ends;
    std::int32_t color = 0x808080;
    bool delivered = true;  // false: the host answers 0 for this condition
};

struct ScriptedProtocol {
    std::string fileName;  // the path the host says it loaded the protocol from
    std::string experimentName = "Experiment";
    std::int32_t timeResolution = 1;
    std::int32_t backgroundColor = 0x000000;
    std::int32_t textColor = 0xFFFFFF;
    std::int32_t timeCourseColor = 0xFF0000;
    std::int32_t timeCoursePenThickness = 3;
    std::int32_t referenceTimeCourseColor = 0x00FF00;
    std::int32_t referenceTimeCoursePenThickness = 2;
    std::vector<ScriptedCondition> conditions;
};

struct HostScript {
    bool hasVolume = true;
    std::vector<int> yesNoAnswers;  // in the order asked; a question beyond them answers No
    float predictorAnswer = 1.0f;
    std::optional<std::string> listPath;  // the file dialog's answer; none: cancelled
    std::int32_t nrOfVolumes = 6;
    std::set<std::string> refusedLinks;    // time courses the host does not link
    std::set<std::string> missingHeaders;  // linked time courses whose header it cannot give
    std::set<std::string> refusedSaves;    // design-matrix paths it does not save
    bool deliverPredictors = true;         // false: the predictor query answers null
    // Protocols the host loads when their file name is written into the time course's header.
    std::map<std::string, ScriptedProtocol> protocols;
};

struct SavedPredictor {
    std::string name;
    std::int32_t color = 0;
    std::vector<float> values;
};

struct HostState;

class ScriptedHost {
  public:
    explicit ScriptedHost(HostScript script);
    ~ScriptedHost();
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    const std::vector<std::string>& log() const;
    // The log entries, each followed by a line break, as the log pane shows them.
    std::string transcript() const;
    // Every host call with its arguments, in call order; log calls as "tkLogText".
    const std::vector<std::string>& calls() const;
    // The calls whose text starts with prefix.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;
    // Each header record handed back by the plug-in, as it arrived.
    const std::vector<host::VtcHeaderRecord>& headersSet() const;
    // The predictors of the design matrix under construction, as they stand now.
    const std::vector<SavedPredictor>& designMatrix() const;
    const std::vector<std::string>& savedPaths() const;
    // Makes the scripted protocol of that name the current one, as loading it would.
    void loadProtocol(const std::string& name);

    // The record the host hands out for every time course, before it sets the volumes.
    static host::VtcHeaderRecord headerTemplate();

  private:
    std::unique_ptr<HostState> state_;
    host::HostFunctionTable previous_{};
};

// A confound dispatch that only records what it was asked to do.
class RecordingDispatch : public batch::ConfoundMerger {
  public:
    std::string addConfounds(const std::string& sdmPath, const char* motionPath,
                             const char* heartRatePath, const char* respirationPath,
                             bool zTransform, bool hasMotion, bool hasHeartRate,
                             bool hasRespiration, const paths::FileSet* listFiles) const override;
    std::string addAllConfounds(const std::string& sdmPath, const char* motionPath,
                                const char* heartRatePath, const char* respirationPath,
                                bool zTransform, const paths::FileSet* listFiles) const override;

    const std::vector<std::string>& calls() const { return calls_; }

  private:
    mutable std::vector<std::string> calls_;
};

}  // namespace batchrun
