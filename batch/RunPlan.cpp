#include "batch/RunPlan.h"

#include <algorithm>
#include <utility>

#include "designmatrix/ProtocolToDesignMatrix.h"

namespace batch {

namespace {

// The pair of the protocol at entry j, whose range ends at `end`; what of its range takes no part
// goes to `idle`.
PlannedPair pairAt(const RunPlan& plan, std::size_t j, std::size_t end, std::size_t index,
                   bool zTransform, std::vector<IdleEntry>& idle) {
    PlannedPair pair;
    pair.protocol = j;
    pair.end = end;
    const std::vector<std::string>& entries = plan.list.entries;
    if (j + 1 >= entries.size() || plan.kinds[j + 1] != TimeCourse) {
        for (std::size_t i = j + 1; i < end; ++i) {
            idle.push_back({i, IdleReason::NoTimeCourse, index, 0});
        }
        return pair;
    }
    pair.timeCourse = j + 1;
    for (std::size_t i = j + 2; i < end; ++i) {
        if (const auto kind = designmatrix::confoundKindOfList(plan.kinds[i])) {
            auto& chosen = pair.chosen[static_cast<std::size_t>(*kind)];
            if (chosen) {
                idle.push_back({*chosen, IdleReason::PassedOver, index, i});
            }
            chosen = i;
            pair.confoundEntries.push_back(i);
        } else if (plan.kinds[i] == TimeCourse) {
            idle.push_back({i, IdleReason::ExtraTimeCourse, index, 0});
        } else {
            idle.push_back({i, IdleReason::NotRecognised, index, 0});
        }
    }
    pair.base = designmatrix::designMatrixPath(entries[j], entries[j + 1]);
    if (pair.hasConfounds()) {
        designmatrix::MergedKinds merged;
        for (std::size_t k = 0; k < designmatrix::kConfoundKinds; ++k) {
            if (pair.chosen[k]) {
                merged[k] = zTransform;
            }
        }
        pair.merged = designmatrix::mergedDesignMatrixName(pair.base, merged);
    }
    return pair;
}

}  // namespace

RunPlan planRun(FileList list, bool zTransform) {
    RunPlan plan;
    plan.list = std::move(list);
    const std::vector<std::string>& entries = plan.list.entries;
    std::vector<std::size_t> protocols;
    plan.kinds.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        plan.kinds.push_back(classifyListEntry(entries[i]));
        if (plan.kinds.back() == Protocol) {
            protocols.push_back(i);
        }
    }
    const std::size_t first = protocols.empty() ? entries.size() : protocols.front();
    for (std::size_t i = 0; i < first; ++i) {
        plan.idle.push_back({i, IdleReason::BeforeFirstProtocol, std::nullopt, 0});
    }
    plan.pairs.reserve(protocols.size());
    for (std::size_t k = 0; k < protocols.size(); ++k) {
        const std::size_t end = k + 1 < protocols.size() ? protocols[k + 1] : entries.size();
        plan.pairs.push_back(pairAt(plan, protocols[k], end, k, zTransform, plan.idle));
    }
    std::stable_sort(plan.idle.begin(), plan.idle.end(),
                     [](const IdleEntry& a, const IdleEntry& b) { return a.entry < b.entry; });
    return plan;
}

}  // namespace batch
