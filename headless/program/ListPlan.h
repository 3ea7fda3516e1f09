#pragma once

// The file list as the plug-in will read it (its own list reading and classification, linked
// into the program): the pairs of protocol and time course with their confound files and the
// design matrices each will give, and every entry that takes no part.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "batch/FileKind.h"

namespace headless {

// The three confound kinds, in the order they are merged.
enum ConfoundSlot : std::size_t { kMotionSlot = 0, kHeartRateSlot = 1, kRespirationSlot = 2 };
inline constexpr std::size_t kConfoundSlots = 3;

struct ListPair {
    std::size_t protocol = 0;               // entry index of the protocol
    std::optional<std::size_t> timeCourse;  // the entry right after it, when it is a time course
    std::size_t end = 0;  // one past the last entry of the pair's range (the next protocol)
    // Per kind, the entry whose file is merged: the last of that kind in the range.
    std::array<std::optional<std::size_t>, kConfoundSlots> confounds;
    std::vector<std::size_t> notRecognised;  // entries of the range of no kind

    bool hasConfounds() const { return confounds[0] || confounds[1] || confounds[2]; }
};

enum class UnusedReason {
    BeforeFirstProtocol,  // belongs to no protocol
    NoTimeCourse,         // after a protocol that has no time course: the protocol makes nothing
    NotRecognised,        // of no kind, in a pair's range
    ExtraTimeCourse,      // a further time course in a pair's range
    Replaced,             // an earlier confound of a kind that a later one replaces
};

struct UnusedEntry {
    std::size_t entry = 0;
    UnusedReason reason = UnusedReason::BeforeFirstProtocol;
    std::optional<std::size_t> pair;  // the pair in whose range it stands
    std::size_t replacedBy = 0;       // Replaced: the entry taken instead
};

struct ListPlan {
    std::string path;                       // as given
    std::optional<std::string> unreadable;  // why the plug-in reads none of it (its log line)
    int declaredCount = 0;
    std::vector<std::string> entries;
    std::vector<batch::FileKind> kinds;
    std::vector<ListPair> pairs;      // one per protocol entry, in list order
    std::vector<UnusedEntry> unused;  // in list order
    // The last word the reading logged: "^" when it read to the end of the file, else the
    // one-character word or the line about an unclosed quote that ended it early.
    std::string endedBy;

    bool endedEarly() const { return endedBy != "^"; }
};

// Reads and classifies the list exactly as the plug-in does; what its reading logs is kept
// from the console. A list the plug-in cannot read gives no pairs and says why in `unreadable`.
ListPlan readListPlan(const std::string& listPath);

// The design matrix the host saves for the pair (which must have a time course).
std::string baseDesignMatrixOf(const ListPlan& plan, const ListPair& pair);
// The merged design matrix the plug-in writes for the pair; none without confounds.
std::optional<std::string> mergedDesignMatrixOf(const ListPlan& plan, const ListPair& pair,
                                                bool zTransform);
// The merged name of `base` with the confounds present: one suffix per kind ("_3DMC", "_HR",
// "_RVT", each with "_z" when z-transformed), or one for all three together.
std::string mergedDesignMatrixPath(const std::string& base,
                                   const std::array<bool, kConfoundSlots>& present,
                                   bool zTransform);

}  // namespace headless
