#include "batch/ConfoundCollection.h"

#include <algorithm>

#include "host/HostOperations.h"

namespace batch {

namespace {

constexpr char kNoConfounds[] = "No confounds found for this protocol.";

}  // namespace

ConfoundMerger::~ConfoundMerger() = default;

void collectConfounds(const std::vector<std::string>& entries, const std::vector<FileKind>& kinds,
                      std::size_t protocolIndex, std::size_t end, const std::string& sdmPath,
                      bool zTransform, const ConfoundMerger& merger,
                      const paths::FileSet* listFiles) {
    const std::size_t first = protocolIndex + 2;
    const std::size_t last = std::min({end, entries.size(), kinds.size()});
    if (first >= last) {
        host::logText(kNoConfounds);
        return;
    }

    bool hasMotion = false;
    bool hasHeartRate = false;
    bool hasRespiration = false;
    std::string motionPath;
    std::string heartRatePath;
    std::string respirationPath;
    for (std::size_t i = first; i < last; ++i) {
        std::string* path = nullptr;
        switch (kinds[i]) {
            case MotionEstimates:
                hasMotion = true;
                path = &motionPath;
                break;
            case HeartRate:
                hasHeartRate = true;
                path = &heartRatePath;
                break;
            case Respiration:
                hasRespiration = true;
                path = &respirationPath;
                break;
            default:
                // A further time course or an unrecognised entry is passed over.
                continue;
        }
        *path = entries[i];
        host::logFormat("Adding %s for SDM...", entries[i].c_str());
    }

    if (hasMotion && hasHeartRate && hasRespiration) {
        merger.addAllConfounds(sdmPath, motionPath.c_str(), heartRatePath.c_str(),
                               respirationPath.c_str(), zTransform, listFiles);
    } else if (hasMotion || hasHeartRate || hasRespiration) {
        merger.addConfounds(sdmPath, motionPath.c_str(), heartRatePath.c_str(),
                            respirationPath.c_str(), zTransform, hasMotion, hasHeartRate,
                            hasRespiration, listFiles);
    } else {
        host::logText(kNoConfounds);
    }
}

}  // namespace batch
