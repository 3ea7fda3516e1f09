#pragma once

// The run report's bookkeeping: follows a run through the steps the host takes (links, protocols
// loaded, saves, refusals), takes each step as belonging to the pair of the run's plan being
// worked on, and afterwards accounts for every pair the list declares or holds: its design
// matrix saved or not, its merged design matrix written and complete or not, and why, with the
// warnings that leave the files whole.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "headless/RunObserver.h"
#include "headless/program/PreflightCheck.h"

namespace headless {

enum class BaseOutcome { NoneExpected, Saved, NotSaved };
enum class MergedOutcome { NoneExpected, Complete, Incomplete, NotWritten, Replaced };

struct PairOutcome {
    std::size_t pair = 0;         // from 1
    std::size_t pairCount = 0;    // pairs the list declares or holds, whichever is more
    std::size_t entry = 0;        // the protocol's place in the list, from 1; 0: none
    std::string_view protocol;    // as the list names it
    std::string_view timeCourse;  // empty when no time course follows the protocol
    int volumes = -1;             // the linked time course's; -1 when it was not linked
    std::string base;             // the design matrix the host saves; empty when none is due
    BaseOutcome baseOutcome = BaseOutcome::NoneExpected;
    std::string merged;  // the merged design matrix; empty when none is due
    MergedOutcome mergedOutcome = MergedOutcome::NoneExpected;
    bool ok = false;                    // every design matrix due is there, complete and its own
    std::string reason;                 // why not
    std::vector<std::string> warnings;  // what leaves the design matrices whole but is doubtful
    std::vector<std::string> notes;     // what the user asked for and should know
};

struct ReportSummary {
    std::size_t pairs = 0;
    std::size_t failed = 0;
    std::size_t withWarnings = 0;
};

struct ReportOptions {
    std::string volumeDocument;
    bool skipFirst = false;
    bool strict = false;  // a warning fails its pair
};

class RunReport final : public RunObserver {
  public:
    RunReport(ListRun list, ReportOptions options);

    void fileChosen(const std::string& path) override;
    void linked(const std::string& path, const formats::TimeCourseHeader& header) override;
    void protocolLoaded(const std::string& path, std::string_view where,
                        const formats::Protocol& protocol) override;
    void saved(const std::string& path, const DesignMatrix& matrix) override;
    void refused(std::string_view why) override;
    // The run returned: what the last pair wrote is known.
    void runEnded();

    // The plug-in was handed the file list (it then read it as the plan did).
    bool listHandedOut() const { return listHandedOut_; }
    // What the run was to do with the list.
    const batch::RunPlan& plan() const { return list_.plan; }
    // Why the plug-in reads none of the list.
    const std::optional<std::string>& unreadable() const { return list_.unreadable; }

    // Accounts for each pair in list order, then for each pair the list declares but does not
    // hold, and hands it to `each`; answers the counts.
    ReportSummary evaluate(const std::function<void(const PairOutcome&)>& each) const;

    // Every design matrix the run produced (saved by the host, written by the plug-in), each
    // file once, in the order produced.
    std::vector<std::string> produced() const;

  private:
    // What a file was like when its pair began: written since, when it changed.
    struct FileState {
        bool exists = false;
        std::filesystem::file_time_type time;
        std::uintmax_t size = 0;
        bool operator==(const FileState&) const = default;
    };

    struct Row {
        bool opened = false;  // the run began on this pair
        int volumes = -1;
        double repetitionTimeMs = 0.0;
        bool baseSaved = false;
        bool mergedWritten = false;
        FileState mergedBefore;
        std::optional<std::string> protocolMismatch;
        std::vector<std::string> faults;  // what fails the pair whatever else went well
        std::vector<std::string> refusals;
        std::vector<std::string> warnings;
        std::vector<std::string> notes;
        // The later pair (from 0) that replaced its design matrix, or its merged one.
        std::optional<std::size_t> baseReplacedBy;
        std::optional<std::size_t> mergedReplacedBy;
    };

    static FileState stateOf(const std::string& path);
    Row* current();
    void closeCurrent();
    // The pair `pair` wrote `path`: a pair before it that had written that file loses it.
    void wrote(std::size_t pair, const std::string& path, bool isBase);
    PairOutcome outcomeOf(std::size_t index, std::size_t pairCount) const;

    ListRun list_;
    ReportOptions options_;
    std::vector<Row> rows_;
    std::size_t current_ = 0;  // the pair being worked on, from 1; 0 before the first
    bool listHandedOut_ = false;
    // Each file written, by its identity: the pair that wrote it last and whether as its base.
    std::unordered_map<std::string, std::pair<std::size_t, bool>> writers_;
    // Design matrices saved that are no pair's own: after which pair (from 1).
    std::vector<std::pair<std::size_t, std::string>> unexpected_;
};

}  // namespace headless
