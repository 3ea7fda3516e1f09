#pragma once

// The run report's bookkeeping: follows a run through what the host sees (its log, links, saves
// and refusals), takes each step as belonging to the pair of the list being worked on, and
// afterwards accounts for every pair: its design matrix saved or not, its merged design matrix
// written and complete or not, and why. Each step costs a few comparisons, whatever the list's
// length.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "headless/Console.h"
#include "headless/RunObserver.h"
#include "headless/program/ListPlan.h"

namespace headless {

enum class BaseOutcome { NoneExpected, Saved, NotSaved };
enum class MergedOutcome { NoneExpected, Complete, Incomplete, NotWritten };

struct PairOutcome {
    std::size_t pair = 0;         // from 1
    std::size_t pairCount = 0;    // pairs in the list
    std::size_t entry = 0;        // the protocol's place in the list, from 1
    std::string_view protocol;    // as the list names it
    std::string_view timeCourse;  // empty when no time course follows the protocol
    int volumes = -1;             // the linked time course's; -1 when it was not linked
    std::string base;             // the design matrix the host saves; empty when none is due
    BaseOutcome baseOutcome = BaseOutcome::NoneExpected;
    std::string merged;  // the merged design matrix; empty when none is due
    MergedOutcome mergedOutcome = MergedOutcome::NoneExpected;
    bool ok = false;     // every design matrix due is there and complete
    std::string reason;  // why not, when known
    std::string notes;   // warnings that leave the design matrices whole
};

struct ReportSummary {
    std::size_t pairs = 0;
    std::size_t failed = 0;
};

class RunReport final : public RunObserver {
  public:
    // Rows for the plan's pairs; the plan is not needed afterwards. Warnings during the run go
    // to `console`.
    RunReport(const ListPlan& plan, bool zTransform, Console& console);

    void fileChosen(const std::string& path) override;
    void logged(std::string_view text) override;
    void linked(const std::string& path, int volumes) override;
    void protocolLoaded(const std::string& name, const std::string& path,
                        std::string_view where) override;
    void saved(const std::string& path) override;
    void refused(std::string_view why) override;

    // The plug-in was handed the file list (it then read it as the plan did).
    bool listHandedOut() const { return listHandedOut_; }
    // Why the plug-in reads none of the list; empty when it reads it.
    const std::string& unreadable() const { return unreadable_; }

    // Accounts for each pair in list order, reading each merged design matrix the run wrote,
    // and hands it to `each`; answers the counts. Nothing is kept between pairs.
    ReportSummary evaluate(const std::function<void(const PairOutcome&)>& each) const;

    // Every design matrix the run produced (saved by the host, written by the plug-in and not
    // taken back), each file once, in the order produced.
    std::vector<std::string> produced() const;

  private:
    // What a pair rarely has, made when first needed, so that a pair that goes well costs
    // little memory.
    struct RowDetails {
        std::string stray;                  // the first entry of no kind in the range
        std::vector<std::string> failures;  // specific failure lines, in order
        std::vector<std::string> general;   // general failure lines, in order
        std::vector<std::string> notes;
        std::vector<std::string> faults;  // what fails the pair whatever the log says
    };

    // One pair. Its protocol and time course are kept in texts_, one after the other.
    struct Row {
        std::size_t textAt = 0;
        std::uint32_t protocolLength = 0;
        std::uint32_t timeCourseLength = 0;  // 0: none follows the protocol
        std::uint32_t entry = 0;
        std::uint32_t strays = 0;  // entries of no kind in the range
        int volumes = -1;
        std::array<bool, kConfoundSlots> confounds{};
        bool opened = false;           // the run began on this pair
        bool openedByRefusal = false;  // ... with the refusal to make its design matrix
        bool loadSeen = false;         // "Load ... to VMR..." was logged for it
        bool baseSaved = false;
        bool mergedWritten = false;  // named by "New filename: " and not taken back
        bool hostRefused = false;
        std::unique_ptr<RowDetails> details;

        bool hasConfounds() const { return confounds[0] || confounds[1] || confounds[2]; }
        RowDetails& more() {
            if (!details) {
                details = std::make_unique<RowDetails>();
            }
            return *details;
        }
    };

    std::string_view protocolOf(const Row& row) const;
    std::string_view timeCourseOf(const Row& row) const;
    std::string baseOf(const Row& row) const;
    std::string mergedOf(const Row& row) const;
    Row* current();
    // Moves on to the next pair that satisfies `fits`; null when none is left.
    template <typename Fits>
    Row* openNext(Fits fits);
    void noteFailure(std::string_view text, bool specific);
    PairOutcome outcomeOf(std::size_t index) const;

    std::vector<Row> rows_;
    std::string texts_;
    bool zTransform_;
    Console& console_;
    std::string unreadable_;
    std::size_t current_ = 0;  // the pair being worked on, from 1; 0 before the first
    bool listHandedOut_ = false;
    // What the last log entry named with "New filename: ", which the next may take back.
    enum class Pending { None, Row, Unexpected };
    Pending pending_ = Pending::None;
    // Design matrices produced that are not the ones a pair is due: after which pair (from 1).
    std::vector<std::pair<std::size_t, std::string>> unexpected_;
};

}  // namespace headless
