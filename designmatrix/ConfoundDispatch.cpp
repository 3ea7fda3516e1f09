#include "designmatrix/ConfoundDispatch.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "designmatrix/ConfoundMerge.h"
#include "designmatrix/ConfoundReaders.h"
#include "designmatrix/DesignMatrixFile.h"
#include "designmatrix/ZTransform.h"
#include "host/HostOperations.h"
#include "text/DesignFileHeader.h"

namespace designmatrix {

namespace {

// Reads the confound file of `kind` with the reader its path calls for; the record remembers the
// path so that later messages can name the file.
DesignMatrixFilePtr loadConfound(const char* path, std::int32_t kind) {
    const char* file = path != nullptr ? path : "";
    const bool timeCourse = text::designFileLayoutOf(file) == text::DesignFileLayout::TimeCourse;
    DesignMatrixFilePtr record;
    if (kind == kMotionEstimatesKind) {
        record = timeCourse ? readMotionEstimatesRtc(file) : readMotionEstimatesSdm(file);
    } else {
        record = timeCourse ? readConfoundsRtc(file, kind) : readConfoundsSdm(file, kind);
    }
    return record;
}

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
        motion = loadConfound(motionPath, kMotionEstimatesKind);
    }
    if (hasHeartRate) {
        heartRate = loadConfound(heartRatePath, kHeartRateKind);
    }
    if (hasRespiration) {
        respiration = loadConfound(respirationPath, kRespirationKind);
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
    DesignMatrixFilePtr motion = loadConfound(motionPath, kMotionEstimatesKind);
    DesignMatrixFilePtr heartRate = loadConfound(heartRatePath, kHeartRateKind);
    DesignMatrixFilePtr respiration = loadConfound(respirationPath, kRespirationKind);
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
