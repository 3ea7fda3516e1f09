#include "headless/program/ListPlan.h"

#include <algorithm>
#include <utility>

#include "batch/FileList.h"
#include "designmatrix/ProtocolToDesignMatrix.h"
#include "headless/program/LogCapture.h"
#include "paths/PathOperations.h"

namespace headless {

namespace {

std::optional<std::size_t> slotOf(batch::FileKind kind) {
    switch (kind) {
        case batch::MotionEstimates:
            return kMotionSlot;
        case batch::HeartRate:
            return kHeartRateSlot;
        case batch::Respiration:
            return kRespirationSlot;
        default:
            return std::nullopt;
    }
}

// The pair of the protocol at entry j, whose range ends at `end`; what takes no part of its
// range goes to `unused`.
ListPair pairAt(const ListPlan& plan, std::size_t j, std::size_t end, std::size_t pairIndex,
                std::vector<UnusedEntry>& unused) {
    ListPair pair;
    pair.protocol = j;
    pair.end = end;
    if (j + 1 >= plan.entries.size() || plan.kinds[j + 1] != batch::TimeCourse) {
        for (std::size_t i = j + 1; i < end; ++i) {
            unused.push_back({i, UnusedReason::NoTimeCourse, pairIndex, 0});
        }
        return pair;
    }
    pair.timeCourse = j + 1;
    for (std::size_t i = j + 2; i < end; ++i) {
        const batch::FileKind kind = plan.kinds[i];
        if (const auto slot = slotOf(kind)) {
            if (const auto earlier = pair.confounds[*slot]) {
                unused.push_back({*earlier, UnusedReason::Replaced, pairIndex, i});
            }
            pair.confounds[*slot] = i;
        } else if (kind == batch::TimeCourse) {
            unused.push_back({i, UnusedReason::ExtraTimeCourse, pairIndex, 0});
        } else {
            pair.notRecognised.push_back(i);
            unused.push_back({i, UnusedReason::NotRecognised, pairIndex, 0});
        }
    }
    return pair;
}

}  // namespace

ListPlan readListPlan(const std::string& listPath) {
    ListPlan plan;
    plan.path = listPath;
    std::optional<batch::FileList> list;
    {
        // The reading logs every word; only its last two lines tell how it ended.
        LogCapture capture(2);
        list = batch::readFileList(listPath);
        const auto& lines = capture.entries();
        if (!list) {
            plan.unreadable = lines.empty() ? "the file list cannot be read" : lines.back();
            return plan;
        }
        plan.endedBy = lines.size() == 2 ? lines.front() : "^";
    }
    plan.declaredCount = list->declaredCount;
    plan.entries = std::move(list->entries);
    plan.kinds.reserve(plan.entries.size());
    std::vector<std::size_t> protocols;
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        plan.kinds.push_back(batch::classifyListEntry(plan.entries[i]));
        if (plan.kinds.back() == batch::Protocol) {
            protocols.push_back(i);
        }
    }
    const std::size_t first = protocols.empty() ? plan.entries.size() : protocols.front();
    for (std::size_t i = 0; i < first; ++i) {
        plan.unused.push_back({i, UnusedReason::BeforeFirstProtocol, std::nullopt, 0});
    }
    plan.pairs.reserve(protocols.size());
    for (std::size_t k = 0; k < protocols.size(); ++k) {
        const std::size_t end = k + 1 < protocols.size() ? protocols[k + 1] : plan.entries.size();
        plan.pairs.push_back(pairAt(plan, protocols[k], end, k, plan.unused));
    }
    std::stable_sort(plan.unused.begin(), plan.unused.end(),
                     [](const UnusedEntry& a, const UnusedEntry& b) { return a.entry < b.entry; });
    return plan;
}

std::string baseDesignMatrixOf(const ListPlan& plan, const ListPair& pair) {
    return designmatrix::designMatrixPath(plan.entries[pair.protocol],
                                          plan.entries[pair.timeCourse.value_or(pair.protocol)]);
}

std::optional<std::string> mergedDesignMatrixOf(const ListPlan& plan, const ListPair& pair,
                                                bool zTransform) {
    if (!pair.timeCourse || !pair.hasConfounds()) {
        return std::nullopt;
    }
    return mergedDesignMatrixPath(baseDesignMatrixOf(plan, pair),
                                  {pair.confounds[0].has_value(), pair.confounds[1].has_value(),
                                   pair.confounds[2].has_value()},
                                  zTransform);
}

std::string mergedDesignMatrixPath(const std::string& base,
                                   const std::array<bool, kConfoundSlots>& present,
                                   bool zTransform) {
    if (present[kMotionSlot] && present[kHeartRateSlot] && present[kRespirationSlot]) {
        return paths::insertBeforeExtension(base,
                                            zTransform ? "_3DMC_z_HR_z_RVT_z" : "_3DMC_HR_RVT");
    }
    static constexpr std::array<std::pair<const char*, const char*>, kConfoundSlots> kSuffixes = {
        {{"_3DMC", "_3DMC_z"}, {"_HR", "_HR_z"}, {"_RVT", "_RVT_z"}}};
    std::string name = base;
    for (std::size_t slot = 0; slot < kConfoundSlots; ++slot) {
        if (present[slot]) {
            name = paths::insertBeforeExtension(
                name, zTransform ? kSuffixes[slot].second : kSuffixes[slot].first);
        }
    }
    return name;
}

}  // namespace headless
