#include "designmatrix/ConfoundDispatch.h"

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

}  // namespace

std::string addConfounds(const std::string& sdmPath, const char* motionPath,
                         const char* heartRatePath, const char* respirationPath, bool zTransform,
                         bool hasMotion, bool hasHeartRate, bool hasRespiration,
                         const paths::FileSet* listFiles) {
    DesignMatrixFilePtr motion;
    DesignMatrixFilePtr heartRate;
    DesignMatrixFilePtr respiration;
    if (hasMotion) {
        motion = readConfound(ConfoundKind::Motion, motionPath);
    }
    if (hasHeartRate) {
        heartRate = readConfound(ConfoundKind::HeartRate, heartRatePath);
    }
    if (hasRespiration) {
        respiration = readConfound(ConfoundKind::Respiration, respirationPath);
    }
    std::string merged;
    if (everyRecordRead({motion.get(), heartRate.get(), respiration.get()})) {
        if (zTransform) {
            zTransformLoaded(motion.get(), heartRate.get(), respiration.get());
        }
        merged = mergeConfounds(sdmPath, motion.get(), heartRate.get(), respiration.get(),
                                hasMotion, hasHeartRate, hasRespiration, listFiles);
    }
    releaseLoaded(std::move(motion), std::move(heartRate), std::move(respiration));
    return merged;
}

std::string addAllConfounds(const std::string& sdmPath, const char* motionPath,
                            const char* heartRatePath, const char* respirationPath, bool zTransform,
                            const paths::FileSet* listFiles) {
    DesignMatrixFilePtr motion = readConfound(ConfoundKind::Motion, motionPath);
    DesignMatrixFilePtr heartRate = readConfound(ConfoundKind::HeartRate, heartRatePath);
    DesignMatrixFilePtr respiration = readConfound(ConfoundKind::Respiration, respirationPath);
    std::string merged;
    if (everyRecordRead({motion.get(), heartRate.get(), respiration.get()})) {
        if (zTransform) {
            zTransformLoaded(motion.get(), heartRate.get(), respiration.get());
        }
        merged = mergeAllConfounds(sdmPath, *motion, *heartRate, *respiration, listFiles);
    }
    releaseLoaded(std::move(motion), std::move(heartRate), std::move(respiration));
    return merged;
}

}  // namespace designmatrix
