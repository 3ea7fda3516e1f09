#include "designmatrix/RecordDescription.h"

namespace designmatrix {

std::string describeRecord(const DesignMatrixFile& record) {
    if (!record.sourcePath.empty()) {
        return record.sourcePath;
    }
    switch (record.kind) {
        case kMotionEstimatesKind:
            return "the motion-estimates record";
        case kHeartRateKind:
            return "the heart-rate record";
        case kRespirationKind:
            return "the respiration record";
        default:
            return "the confound record";
    }
}

}  // namespace designmatrix
