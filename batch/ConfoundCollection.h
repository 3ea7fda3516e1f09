#pragma once

// The confound stage of one protocol: the confound entries between its time course and the next
// protocol, handed to the dispatch that merges them into the protocol's design matrix.

#include <cstddef>
#include <string>
#include <vector>

#include "batch/RunPlan.h"
#include "designmatrix/ConfoundDispatch.h"
#include "paths/FileSet.h"

namespace batch {

// What the stage hands a protocol's confound files to: by default the two operations of the
// confound dispatch; tests put a recorder in its place.
class ConfoundMerger {
  public:
    // Defined in ConfoundCollection.cpp, so that the class's type information lives there alone:
    // a MinGW build would otherwise export it from the plug-in module beside the class pair.
    virtual ~ConfoundMerger();
    virtual std::string addConfounds(const std::string& sdmPath, const char* motionPath,
                                     const char* heartRatePath, const char* respirationPath,
                                     bool zTransform, bool hasMotion, bool hasHeartRate,
                                     bool hasRespiration, const paths::FileSet* listFiles) const {
        return designmatrix::addConfounds(sdmPath, motionPath, heartRatePath, respirationPath,
                                          zTransform, hasMotion, hasHeartRate, hasRespiration,
                                          listFiles);
    }
    virtual std::string addAllConfounds(const std::string& sdmPath, const char* motionPath,
                                        const char* heartRatePath, const char* respirationPath,
                                        bool zTransform, const paths::FileSet* listFiles) const {
        return designmatrix::addAllConfounds(sdmPath, motionPath, heartRatePath, respirationPath,
                                             zTransform, listFiles);
    }
};

// Logs each confound entry of the plan's pair and dispatches the one chosen of each kind for
// sdmPath: all three together, any other non-empty set with its flags, none with "No confounds
// found for this protocol.". The merged design matrix replaces no file of `listFiles` (when
// given).
void collectConfounds(const RunPlan& plan, const PlannedPair& pair, const std::string& sdmPath,
                      bool zTransform, const ConfoundMerger& merger = ConfoundMerger(),
                      const paths::FileSet* listFiles = nullptr);

}  // namespace batch
