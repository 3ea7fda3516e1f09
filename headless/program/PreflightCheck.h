#pragma once

// The pre-flight check: what a run over the list would find, worked out without the plug-in and
// without writing a file. Per pair the time course, the protocol the host will really use, each
// confound file read with the plug-in's own readers, and the design matrices it would write; then
// every entry that takes no part.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "batch/RunPlan.h"
#include "formats/Protocol.h"

namespace headless {

// In order of weight: a note leaves a pair ready.
enum class Verdict { Note, Ok, Warning, Fail };

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

// The list at `path` as the plug-in reads it, and the plan of a run over it.
struct ListRun {
    std::string path;
    std::optional<std::string> unreadable;  // the line the plug-in logs when it reads none of it
    batch::RunPlan plan;
};
ListRun readListRun(const std::string& path, bool zTransform);

// Why a run over the list fails as a whole: it declares more pairs than it holds, or holds
// none, or cannot be read; none otherwise.
std::optional<std::string> missingPairs(const ListRun& run);

// Why a pair fails whose design matrix (the first replaced, base before merged) a later pair
// replaced.
std::string replacedText(const std::string& designMatrix, std::size_t byPair);

struct CheckOptions {
    bool skipFirst = false;  // the run skips each protocol's first condition
    bool strict = false;     // a warning fails its pair
};

// Checks the list's pairs for a run with the volume document at `volumeDocument`. Reads files,
// writes none.
CheckResult checkList(const ListRun& run, const std::string& volumeDocument,
                      const CheckOptions& options);

// What pair `index` (from 0) itself would find: its time course, protocol and confound files.
PairCheck checkPair(const ListRun& run, std::size_t index, const std::string& volumeDocument,
                    bool skipFirst);

// The note that --skip-first leaves out the protocol's first condition; none without one.
std::optional<std::string> skippedConditionNote(const formats::Protocol& protocol);

// The warning for a repetition time likely given in another unit than milliseconds; none for
// one a run is expected to have.
std::optional<std::string> repetitionTimeWarning(double repetitionTimeMs);

// The repetition times a run is expected to have, in milliseconds; outside them a TR is likely
// given in another unit.
inline constexpr double kShortestRepetitionTimeMs = 100.0;
inline constexpr double kLongestRepetitionTimeMs = 30000.0;

}  // namespace headless
