// Stand-in for the confound dispatch until the real one is merged: it reads nothing, writes
// nothing, logs nothing and answers that no merged design matrix was formed.

#include "designmatrix/ConfoundDispatch.h"

namespace designmatrix {

std::string addConfounds(const std::string& /*sdmPath*/, const char* /*motionPath*/,
                         const char* /*heartRatePath*/, const char* /*respirationPath*/,
                         bool /*zTransform*/, bool /*hasMotion*/, bool /*hasHeartRate*/,
                         bool /*hasRespiration*/) {
    return {};
}

std::string addAllConfounds(const std::string& /*sdmPath*/, const char* /*motionPath*/,
                            const char* /*heartRatePath*/, const char* /*respirationPath*/,
                            bool /*zTransform*/) {
    return {};
}

}  // namespace designmatrix
