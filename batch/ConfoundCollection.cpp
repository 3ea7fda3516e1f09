#include "batch/ConfoundCollection.h"

#include "host/HostOperations.h"

namespace batch {

ConfoundMerger::~ConfoundMerger() = default;

void collectConfounds(const RunPlan& plan, const PlannedPair& pair, const std::string& sdmPath,
                      bool zTransform, const ConfoundMerger& merger,
                      const paths::FileSet* listFiles) {
    const std::vector<std::string>& entries = plan.list.entries;
    for (std::size_t i : pair.confoundEntries) {
        host::logFormat("Adding %s for SDM...", entries[i].c_str());
    }
    if (!pair.hasConfounds()) {
        host::logText("No confounds found for this protocol.");
        return;
    }
    using designmatrix::ConfoundKind;
    const auto pathOf = [&](ConfoundKind kind) {
        const auto& chosen = pair.chosen[static_cast<std::size_t>(kind)];
        return chosen ? entries[*chosen] : std::string();
    };
    const std::string motion = pathOf(ConfoundKind::Motion);
    const std::string heartRate = pathOf(ConfoundKind::HeartRate);
    const std::string respiration = pathOf(ConfoundKind::Respiration);
    const bool hasMotion = pair.chosen[0].has_value();
    const bool hasHeartRate = pair.chosen[1].has_value();
    const bool hasRespiration = pair.chosen[2].has_value();
    if (hasMotion && hasHeartRate && hasRespiration) {
        merger.addAllConfounds(sdmPath, motion.c_str(), heartRate.c_str(), respiration.c_str(),
                               zTransform, listFiles);
    } else {
        merger.addConfounds(sdmPath, motion.c_str(), heartRate.c_str(), respiration.c_str(),
                            zTransform, hasMotion, hasHeartRate, hasRespiration, listFiles);
    }
}

}  // namespace batch
