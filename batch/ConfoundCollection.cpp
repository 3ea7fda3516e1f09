#include "batch/ConfoundCollection.h"

#include <array>

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
    std::array<std::string, designmatrix::kConfoundKinds> paths;
    std::array<bool, designmatrix::kConfoundKinds> present{};
    for (std::size_t k = 0; k < paths.size(); ++k) {
        present[k] = pair.chosen[k].has_value();
        paths[k] = present[k] ? entries[*pair.chosen[k]] : std::string();
    }
    if (present[0] && present[1] && present[2]) {
        merger.addAllConfounds(sdmPath, paths[0].c_str(), paths[1].c_str(), paths[2].c_str(),
                               zTransform, listFiles);
    } else {
        merger.addConfounds(sdmPath, paths[0].c_str(), paths[1].c_str(), paths[2].c_str(),
                            zTransform, present[0], present[1], present[2], listFiles);
    }
}

}  // namespace batch
