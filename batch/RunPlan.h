#pragma once

// What a run does with a file list, worked out before anything is done: the pairs of protocol
// and time course with the confound files each merges and the design matrices each gives, every
// entry that takes no part and why, and how the list ended. The run carries it out; whoever
// accounts for a run reads it.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "batch/FileKind.h"
#include "batch/FileList.h"
#include "designmatrix/ConfoundKinds.h"

namespace batch {

struct PlannedPair {
    std::size_t protocol = 0;               // entry index of the protocol
    std::optional<std::size_t> timeCourse;  // the entry right after it, when it is a time course
    std::size_t end = 0;  // one past the last entry of its range (the next protocol's index)
    // Every confound entry of the range, in list order, and per kind the one merged: the last.
    std::vector<std::size_t> confoundEntries;
    std::array<std::optional<std::size_t>, designmatrix::kConfoundKinds> chosen;
    std::string base;    // the design matrix the host saves; empty without a time course
    std::string merged;  // the merged design matrix; empty without a confound to merge

    bool hasConfounds() const { return !confoundEntries.empty(); }
};

enum class IdleReason {
    BeforeFirstProtocol,  // belongs to no protocol
    NoTimeCourse,         // after a protocol that has no time course: that protocol makes nothing
    NotRecognised,        // of no kind, in a pair's range
    ExtraTimeCourse,      // a further time course in a pair's range
    PassedOver,           // a confound of a kind that a later entry of the range replaces
};

struct IdleEntry {
    std::size_t entry = 0;
    IdleReason reason = IdleReason::BeforeFirstProtocol;
    std::optional<std::size_t> pair;  // the pair in whose range it stands
    std::size_t takenInstead = 0;     // PassedOver: the entry merged instead
};

struct RunPlan {
    FileList list;                   // the declared count, the entries and how the list ended
    std::vector<FileKind> kinds;     // one per entry
    std::vector<PlannedPair> pairs;  // one per protocol entry, in list order
    std::vector<IdleEntry> idle;     // in list order

    // The list declares another number of pairs than it holds.
    bool countDiffers() const {
        return list.declaredCount < 0 ||
               static_cast<std::size_t>(list.declaredCount) != pairs.size();
    }
};

// The plan of a run over `list` whose confounds are z-transformed or not (which names the merged
// design matrices). Touches no file.
RunPlan planRun(FileList list, bool zTransform);

}  // namespace batch
