#pragma once

// The pre-flight check: what a run over the list would find, worked out without the plug-in and
// without writing a file. Per pair the time course, the protocol the host will really use, each
// confound file read with the plug-in's own readers, and the design matrices it would write; then
// every entry that takes no part.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "headless/program/ListPlan.h"

namespace headless {

enum class Verdict { Ok, Warning, Fail };  // in order of weight

struct Finding {
    Verdict verdict = Verdict::Ok;
    std::optional<std::size_t> entry;  // the list entry it is about, from 1
    std::string file;                  // the file it is about; empty for the list as a whole
    std::string text;
};

struct PairCheck {
    std::size_t pair = 0;   // from 1
    std::size_t entry = 0;  // the protocol's, from 1
    std::string protocol;
    std::string timeCourse;  // empty when none follows the protocol
    std::vector<Finding> findings;

    Verdict verdict() const;
};

struct CheckResult {
    std::vector<Finding> list;  // about the list as a whole
    std::vector<PairCheck> pairs;
    // Entries that take no part, each with the pair in whose range it stands (none before the
    // first protocol).
    std::vector<std::pair<std::optional<std::size_t>, Finding>> unused;

    Verdict verdict() const;
};

// Checks the plan's pairs for a run with the volume document at `volumeDocument` and the
// confounds z-transformed or not (which changes the merged names). Reads files, writes none.
CheckResult checkList(const ListPlan& plan, const std::string& volumeDocument, bool zTransform);

// The repetition times a run is expected to have, in milliseconds; outside them a TR is likely
// given in another unit.
inline constexpr double kShortestRepetitionTimeMs = 100.0;
inline constexpr double kLongestRepetitionTimeMs = 30000.0;

}  // namespace headless
