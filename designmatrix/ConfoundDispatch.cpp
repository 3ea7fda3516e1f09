#include "designmatrix/ConfoundDispatch.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "designmatrix/ConfoundKinds.h"
#include "designmatrix/ConfoundMerge.h"
#include "designmatrix/DesignMatrixFile.h"
#include "designmatrix/ZTransform.h"
#include "host/HostOperations.h"

namespace designmatrix {

namespace {

// True when every loaded record was read and has something to add; logs one line for each that
// has not. A heart-rate or respiration file without a predictor (its only one the constant)
// would give a design matrix named for a confound it does not hold.
bool everyRecordRead(std::initializer_list<const DesignMatrixFile*> records) {
    bool allRead = true;
    for (const DesignMatrixFile* record : records) {
        if (record == nullptr) {
            continue;
        }
        if (!record->readOk) {
            host::logFormat(
                "The confound file %s could not be read: no merged design matrix is written for "
                "this protocol.",
                record->sourcePath.c_str());
            allRead = false;
        } else if (record->kind != kMotionEstimatesKind && record->nrOfPredictors <= 0) {
            host::logFormat(
                "The confound file %s holds no predictor to add: no merged design matrix is "
                "written for this protocol.",
                record->sourcePath.c_str());
            allRead = false;
        }
    }
    return allRead;
}

void zTransformLoaded(DesignMatrixFile* motion, DesignMatrixFile* heartRate,
                      DesignMatrixFile* respiration) {
    host::logText("z-transform predictor...");
    if (motion != nullptr) {
        zTransformMotion(*motion);
    }
    if (heartRate != nullptr) {
        zTransformPredictors(*heartRate);
    }
    if (respiration != nullptr) {
        zTransformPredictors(*respiration);
    }
}

void releaseLoaded(DesignMatrixFilePtr motion, DesignMatrixFilePtr heartRate,
                   DesignMatrixFilePtr respiration) {
    for (DesignMatrixFilePtr* record : {&motion, &heartRate, &respiration}) {
        if (*record != nullptr) {
            release(std::move(*record));
        }
    }
}

// Reads the confounds whose flag is set, in merge order, z-transforms them on request and has
// them merged, by the writer for all three when `all`; releases them.
std::string dispatch(const std::string& sdmPath, const std::array<const char*, 3>& paths,
                     const std::array<bool, 3>& present, bool zTransform, bool all,
                     const paths::FileSet* listFiles) {
    std::array<DesignMatrixFilePtr, kConfoundKinds> records;
    for (std::size_t i = 0; i < kConfoundKinds; ++i) {
        if (present[i]) {
            records[i] = readConfound(static_cast<ConfoundKind>(i), paths[i]);
        }
    }
    auto& [motion, heartRate, respiration] = records;
    std::string merged;
    if (everyRecordRead({motion.get(), heartRate.get(), respiration.get()})) {
        if (zTransform) {
            zTransformLoaded(motion.get(), heartRate.get(), respiration.get());
        }
        merged = all ? mergeAllConfounds(sdmPath, *motion, *heartRate, *respiration, listFiles)
                     : mergeConfounds(sdmPath, motion.get(), heartRate.get(), respiration.get(),
                                      present[0], present[1], present[2], listFiles);
    }
    releaseLoaded(std::move(motion), std::move(heartRate), std::move(respiration));
    return merged;
}

}  // namespace

std::string addConfounds(const std::string& sdmPath, const char* motionPath,
                         const char* heartRatePath, const char* respirationPath, bool zTransform,
                         bool hasMotion, bool hasHeartRate, bool hasRespiration,
                         const paths::FileSet* listFiles) {
    return dispatch(sdmPath, {motionPath, heartRatePath, respirationPath},
                    {hasMotion, hasHeartRate, hasRespiration}, zTransform, false, listFiles);
}

std::string addAllConfounds(const std::string& sdmPath, const char* motionPath,
                            const char* heartRatePath, const char* respirationPath, bool zTransform,
                            const paths::FileSet* listFiles) {
    return dispatch(sdmPath, {motionPath, heartRatePath, respirationPath}, {true, true, true},
                    zTransform, true, listFiles);
}

}  // namespace designmatrix
